// The desktop program heard through a sound server: the CHIP-8 test suite's beep test, which
// beeps SOS by itself, recorded from the server's sink.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>
#include <vector>

#include "pulse_session.h"
#include "x11_session.h"

namespace pellark {
namespace {

constexpr int kRate = 48000;
// A millisecond of samples: a 500 Hz wave is never quiet for that long while it sounds.
constexpr int kBlock = kRate / 1000;
constexpr int kLoud = 1000;

const std::string kBeepTest = std::string(PELLARK_SHARED_DIR) + "/timendus/bin/7-beep.ch8";

struct Tone {
  std::size_t begin = 0;
  std::size_t end = 0;
  double Milliseconds() const { return 1000.0 * static_cast<double>(end - begin) / kRate; }
};

bool LoudBlock(const std::vector<std::int16_t>& samples, std::size_t block) {
  const auto begin = samples.begin() + static_cast<std::ptrdiff_t>(block * kBlock);
  return std::any_of(begin, begin + kBlock, [](std::int16_t s) { return std::abs(s) > kLoud; });
}

// The tones that have ended: loud milliseconds followed by 20 quiet ones.
std::vector<Tone> CompleteTones(const std::vector<std::int16_t>& samples) {
  std::vector<Tone> tones;
  const std::size_t blocks = samples.size() / kBlock;
  std::size_t block = 0;
  while (true) {
    while (block < blocks && !LoudBlock(samples, block)) ++block;
    const std::size_t begin = block;
    std::size_t quiet = 0;
    for (; block < blocks && quiet < 20; ++block) quiet = LoudBlock(samples, block) ? 0 : quiet + 1;
    if (begin == blocks || quiet < 20) return tones;
    tones.push_back(Tone{begin * kBlock, (block - quiet) * kBlock});
  }
}

std::string Runs(const std::vector<std::int16_t>& samples) {
  std::string text;
  bool loud = false;
  int length = 0;
  for (std::size_t b = 0; b < samples.size() / kBlock; ++b) {
    if (LoudBlock(samples, b) == loud) {
      ++length;
      continue;
    }
    text += (loud ? "T" : "q") + std::to_string(length) + " ";
    loud = !loud;
    length = 1;
  }
  return text;
}

// From the commonest period, so that a sample or two lost in a busy moment does not count.
double Frequency(const std::vector<std::int16_t>& samples, const Tone& tone) {
  std::vector<std::size_t> periods;
  std::size_t lastRise = 0;
  for (std::size_t i = tone.begin + 1; i < tone.end; ++i) {
    if (samples[i - 1] >= 0 || samples[i] < 0) continue;
    if (lastRise != 0) periods.push_back(i - lastRise);
    lastRise = i;
  }
  if (periods.empty()) return 0;
  std::nth_element(periods.begin(), periods.begin() + periods.size() / 2, periods.end());
  return static_cast<double>(kRate) / static_cast<double>(periods[periods.size() / 2]);
}

class DesktopSound : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!x11.Ready()) GTEST_SKIP() << "no Xvfb to run the desktop program on";
    ASSERT_TRUE(pulse.Ready()) << "the test's PulseAudio server did not start (pulseaudio and "
                                  "pulseaudio-utils installed?)";
    ASSERT_TRUE(recorder.Started());
    // The recording has begun once the monitor's silence comes in.
    const auto deadline = std::chrono::steady_clock::now() + kEventLimit;
    while (recorder.Samples().empty() && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_FALSE(recorder.Samples().empty()) << "the recorder recorded nothing";
  }
  std::unique_ptr<ChildProcess> StartPellark(const std::vector<std::string>& options) {
    std::vector<std::string> argv{PELLARK_PATH};
    argv.insert(argv.end(), options.begin(), options.end());
    argv.push_back(kBeepTest);
    auto pellark = std::make_unique<ChildProcess>(
        argv, std::vector<std::string>{"DISPLAY=" + x11.Display(), "QT_QPA_PLATFORM=xcb",
                                       pulse.ClientEnvironment()});
    EXPECT_FALSE(x11.WaitForWindow("Pellark").empty()) << "the Pellark window did not appear";
    return pellark;
  }

  X11Session x11;
  PulseSession pulse;
  SinkRecorder recorder{pulse};
};

TEST_F(DesktopSound, PlaysTheBeepTestsDotsAt500Hz) {
  const auto pellark = StartPellark({});
  // The three dots of SOS; a busy start-up may break the first.
  const auto deadline = std::chrono::steady_clock::now() + kEventLimit;
  while (CompleteTones(recorder.Samples()).size() < 3 &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const std::vector<std::int16_t>& samples = recorder.Samples();
  const std::vector<Tone> tones = CompleteTones(samples);
  ASSERT_GE(tones.size(), 3u) << "tones and quiet, in ms: " << Runs(samples);
  // A dot: the sound timer at 10, ten frames of 1/60 s.
  const auto dot = std::find_if(tones.begin(), tones.begin() + 3, [](const Tone& tone) {
    return std::abs(tone.Milliseconds() - 1000.0 * 10 / 60) < 40;
  });
  ASSERT_NE(dot, tones.begin() + 3) << "no dot among the first tones: " << Runs(samples);
  EXPECT_NEAR(Frequency(samples, *dot), 500, 5);
}

TEST_F(DesktopSound, StopSilencesItAndRunSoundsAgain) {
  const auto pellark = StartPellark({});
  const auto tonesAtLeast = [&](std::size_t count) {
    const auto deadline = std::chrono::steady_clock::now() + kEventLimit;
    while (CompleteTones(recorder.Samples()).size() < count &&
           std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return CompleteTones(recorder.Samples()).size() >= count;
  };
  ASSERT_TRUE(tonesAtLeast(1)) << Runs(recorder.Samples());
  x11.Command("xdotool search --name '^Pellark$' windowfocus --sync key F6");
  // What was played before the stop may still be on its way to the recorder for a moment.
  std::this_thread::sleep_for(std::chrono::seconds(1));
  const std::size_t tonesBefore = CompleteTones(recorder.Samples()).size();
  const std::size_t settled = recorder.Samples().size();
  // SOS would go on within half a second; stopped, nothing more sounds.
  std::this_thread::sleep_for(std::chrono::milliseconds(1500));
  const std::vector<std::int16_t>& samples = recorder.Samples();
  EXPECT_TRUE(std::none_of(samples.begin() + static_cast<std::ptrdiff_t>(settled), samples.end(),
                           [](std::int16_t s) { return std::abs(s) > kLoud; }))
      << Runs(samples);
  EXPECT_EQ(CompleteTones(samples).size(), tonesBefore);
  x11.Command("xdotool search --name '^Pellark$' windowfocus --sync key F5");
  EXPECT_TRUE(tonesAtLeast(tonesBefore + 1)) << "no tone after Run: " << Runs(recorder.Samples());
}

TEST_F(DesktopSound, WithSoundOffRecordsSilence) {
  const auto pellark = StartPellark({"--mute"});
  // The test beeps within its first second: three seconds recorded hold several beeps.
  const std::size_t start = recorder.Samples().size();
  const auto deadline = std::chrono::steady_clock::now() + kEventLimit;
  while (recorder.Samples().size() < start + 3 * kRate &&
         std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  const std::vector<std::int16_t>& samples = recorder.Samples();
  ASSERT_GE(samples.size(), start + 3 * kRate);
  EXPECT_TRUE(CompleteTones(samples).empty());
  EXPECT_TRUE(std::none_of(samples.begin(), samples.end(),
                           [](std::int16_t s) { return std::abs(s) > kLoud; }));
}

}  // namespace
}  // namespace pellark
