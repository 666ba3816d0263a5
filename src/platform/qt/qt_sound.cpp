#include "platform/qt/qt_sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QtGlobal>
#include <algorithm>

#include "core/sound.h"

namespace pellark {
namespace {

constexpr qsizetype kFrameBytes = kSoundSamplesPerFrame * sizeof(std::int16_t);
// Three frames: a frame leaves at most 50 ms after the machine made it, and a frame that comes
// a little late finds two still queued.
constexpr qsizetype kBufferBytes = 3 * kFrameBytes;

class QtSound final : public SoundService {
 public:
  QtSound() {
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) return;
    QAudioFormat format;
    format.setSampleRate(kSoundSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format)) return;
    sink_ = std::make_unique<QAudioSink>(device, format);
    sink_->setBufferSize(kBufferBytes);
  }

  bool Available() const override { return sink_ != nullptr; }

  void PlayFrame(std::span<const std::int16_t> samples) override {
    if (!sink_) return;
    const bool tone = std::any_of(samples.begin(), samples.end(), [](auto s) { return s != 0; });
    if (output_ == nullptr) {
      // Nothing to start for: silence before the first tone is what the device plays anyway.
      if (!tone) return;
      output_ = sink_->start();
      if (output_ == nullptr) return;
      // One frame of silence ahead, so the next frame may come a little late unheard.
      static constexpr FrameSamples kLeadIn{};
      Write(kLeadIn);
    } else if (sink_->state() == QAudio::IdleState && sink_->error() == QAudio::UnderrunError &&
               toneQueued_) {
      ++underruns_;
    }
    Write(samples);
    toneQueued_ = tone;
  }

  void Silence() override {
    if (!sink_ || output_ == nullptr) return;
    sink_->reset();
    output_ = nullptr;
    toneQueued_ = false;
  }

  std::uint64_t Underruns() const override { return underruns_; }

 private:
  // What does not fit is dropped: a frame is never played later than the buffer allows.
  void Write(std::span<const std::int16_t> samples) {
    const qint64 bytes = std::min<qint64>(sink_->bytesFree(), samples.size_bytes()) & ~qint64{1};
    if (bytes > 0) output_->write(reinterpret_cast<const char*>(samples.data()), bytes);
  }

  std::unique_ptr<QAudioSink> sink_;
  // Where frames are written while the sink plays; null while it is stopped.
  QIODevice* output_ = nullptr;
  bool toneQueued_ = false;
  std::uint64_t underruns_ = 0;
};

}  // namespace

std::unique_ptr<SoundService> CreateQtSound() {
  // Looking for a device without a sound server makes Qt Multimedia complain on the console;
  // the disabled "Sound" item is what tells the user.
  const QtMessageHandler previous =
      qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
  auto sound = std::make_unique<QtSound>();
  qInstallMessageHandler(previous);
  if (sound->Available()) return sound;
  return std::make_unique<NoSound>();
}

}  // namespace pellark
