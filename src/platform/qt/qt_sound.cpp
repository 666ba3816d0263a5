#include "platform/qt/qt_sound.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>
#include <QtGlobal>
#include <algorithm>
#include <chrono>

#include "core/sound.h"

namespace pellark {
namespace {

constexpr qint64 kSampleBytes = sizeof(std::int16_t);
// What the device holds: three frames, so that a frame leaves at most 50 ms after the machine
// made it, and one that comes a frame late still finds two playing.
constexpr qsizetype kDeviceBufferBytes = 3 * kSoundSamplesPerFrame * kSampleBytes;

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
    CountUnderrun();
    // What does not fit is dropped: a frame is never heard later than the buffer allows.
    const qint64 bytes = std::min(sink_->bytesFree(), static_cast<qint64>(samples.size_bytes()));
    const qint64 written = bytes < kSampleBytes
                               ? 0
                               : output_->write(reinterpret_cast<const char*>(samples.data()),
                                                bytes - bytes % kSampleBytes);
    Queue(std::max<qint64>(written, 0));
    toneQueued_ = HasTone(samples);
  }

  void Silence() override {
    if (!sink_) return;
    toneQueued_ = false;
    // Drops what the device still holds; it starts again for the next frame.
    sink_->reset();
    output_ = sink_->start();
    starting_ = true;
    startingBytes_ = 0;
  }

  std::uint64_t Underruns() const override { return underruns_; }

 private:
  using Clock = std::chrono::steady_clock;

  // The device plays what it holds in real time, from the moment its buffer first fills (and
  // fills again after running dry): when the frame before a tone's next one has all been
  // played by now, the device has run dry and the tone has broken.
  void CountUnderrun() {
    if (starting_ || Clock::now() <= queuedUntil_) return;
    if (toneQueued_) ++underruns_;
    starting_ = true;
    startingBytes_ = 0;
  }
  void Queue(qint64 bytes) {
    const auto duration =
        std::chrono::microseconds(bytes / kSampleBytes * 1'000'000 / kSoundSampleRate);
    if (!starting_) {
      queuedUntil_ += duration;
      return;
    }
    startingBytes_ += bytes;
    if (startingBytes_ < kDeviceBufferBytes) return;
    starting_ = false;
    queuedUntil_ = Clock::now() + std::chrono::microseconds(startingBytes_ / kSampleBytes *
                                                            1'000'000 / kSoundSampleRate);
  }

  std::unique_ptr<QAudioSink> sink_;
  // Where frames are written for the device to play.
  QIODevice* output_ = nullptr;
  // When the device will have played everything written to it, as the wall clock keeps it;
  // while starting, it waits for a full buffer before it plays.
  Clock::time_point queuedUntil_{};
  bool starting_ = true;
  qint64 startingBytes_ = 0;
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
