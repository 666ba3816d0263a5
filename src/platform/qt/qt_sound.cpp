#include "platform/qt/qt_sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QtGlobal>
#include <algorithm>
#include <vector>

#include "core/sound.h"

namespace pellark {
namespace {

constexpr qsizetype kFrameBytes = kSoundSamplesPerFrame * sizeof(std::int16_t);
// What the device holds: two frames, so that a frame that comes a little late finds one still
// playing.
constexpr qsizetype kDeviceBufferBytes = 2 * kFrameBytes;
// Samples waiting for room in the device, at most a frame: older ones are dropped first, so
// that a frame leaves at most 50 ms (three frames) after the machine made it.
constexpr std::size_t kMostWaitingSamples = kSoundSamplesPerFrame;

bool HasTone(std::span<const std::int16_t> samples) {
  return std::any_of(samples.begin(), samples.end(), [](std::int16_t s) { return s != 0; });
}

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
    sink_->setBufferSize(kDeviceBufferBytes);
    // Started at once, so that the first tone does not wait for the device to start.
    output_ = sink_->start();
    if (output_ == nullptr || sink_->error() == QAudio::OpenError) sink_.reset();
  }

  bool Available() const override { return sink_ != nullptr; }

  void PlayFrame(std::span<const std::int16_t> samples) override {
    if (!sink_) return;
    // A device that ran dry during a tone has been heard to break it.
    if (toneQueued_ && waiting_.empty() && sink_->state() == QAudio::IdleState) ++underruns_;
    waiting_.insert(waiting_.end(), samples.begin(), samples.end());
    if (waiting_.size() > kMostWaitingSamples)
      waiting_.erase(waiting_.begin(), waiting_.end() - kMostWaitingSamples);
    const qint64 room = sink_->bytesFree() / static_cast<qint64>(sizeof(std::int16_t));
    const auto count =
        std::min(static_cast<std::size_t>(std::max<qint64>(room, 0)), waiting_.size());
    if (count > 0) {
      const qint64 written = output_->write(reinterpret_cast<const char*>(waiting_.data()),
                                            static_cast<qint64>(count * sizeof(std::int16_t)));
      const auto samplesWritten =
          static_cast<std::ptrdiff_t>(std::max<qint64>(written, 0) / sizeof(std::int16_t));
      waiting_.erase(waiting_.begin(), waiting_.begin() + samplesWritten);
    }
    toneQueued_ = HasTone(samples);
  }

  void Silence() override {
    if (!sink_) return;
    waiting_.clear();
    toneQueued_ = false;
    // Drops what the device still holds; it starts again for the next frame.
    sink_->reset();
    output_ = sink_->start();
  }

  std::uint64_t Underruns() const override { return underruns_; }

 private:
  std::unique_ptr<QAudioSink> sink_;
  // Where frames are written for the device to play.
  QIODevice* output_ = nullptr;
  std::vector<std::int16_t> waiting_;
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
