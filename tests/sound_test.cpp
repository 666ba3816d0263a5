#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "core/instruction_pass.h"
#include "core/sound.h"
#include "machine_fixture.h"

namespace pellark {
namespace {

using Samples = std::vector<std::int16_t>;

// Frames of the pattern played from its first bit, one after the other.
Samples Play(const AudioPatternBytes& pattern, std::int32_t pitch, int frames) {
  Samples samples;
  double position = 0;
  FrameSamples frame;
  for (int f = 0; f < frames; ++f) {
    PlayPattern(pattern, pitch, position, frame);
    samples.insert(samples.end(), frame.begin(), frame.end());
  }
  return samples;
}

// The times, in samples, at which the wave rises through 0, between samples by interpolation.
std::vector<double> RisingCrossings(const Samples& samples) {
  std::vector<double> crossings;
  for (std::size_t i = 1; i < samples.size(); ++i) {
    const double before = samples[i - 1];
    const double after = samples[i];
    if (before < 0 && after >= 0)
      crossings.push_back(static_cast<double>(i - 1) + -before / (after - before));
  }
  return crossings;
}

double MeasuredFrequency(const Samples& samples) {
  const std::vector<double> crossings = RisingCrossings(samples);
  if (crossings.size() < 2) return 0;
  return kSoundSampleRate * static_cast<double>(crossings.size() - 1) /
         (crossings.back() - crossings.front());
}

double RootMeanSquare(const Samples& samples) {
  const double sum = std::accumulate(samples.begin(), samples.end(), 0.0,
                                     [](double total, double s) { return total + s * s; });
  return std::sqrt(sum / static_cast<double>(samples.size()));
}

AudioPatternBytes Filled(std::uint8_t byte) {
  AudioPatternBytes pattern;
  pattern.fill(byte);
  return pattern;
}

struct ToneCase {
  const char* name;
  AudioPatternBytes pattern;
  std::int32_t pitch;
  // Bits in one period of the pattern.
  int periodBits;
};

void PrintTo(const ToneCase& c, std::ostream* os) {
  *os << c.name;
}

class Tone : public ::testing::TestWithParam<ToneCase> {};

TEST_P(Tone, HasTheFrequencyOfItsBitRate) {
  const ToneCase& c = GetParam();
  const double expected = 4000.0 * std::exp2((c.pitch - 64) / 48.0) / c.periodBits;
  // A second of sound.
  EXPECT_NEAR(MeasuredFrequency(Play(c.pattern, c.pitch, kSoundFramesPerSecond)), expected,
              expected / 100);
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, Tone,
    ::testing::Values(ToneCase{"reset pattern and pitch: 500 Hz", Filled(0xF0), 64, 8},
                      ToneCase{"XO-CHIP pattern at pitch 100", Filled(0xCC), 100, 4},
                      ToneCase{"XO-CHIP pattern at pitch 20", Filled(0xCC), 20, 4},
                      ToneCase{
                          "bytes alternating FF and 00 at pitch 77",
                          {0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0, 0xFF, 0},
                          77,
                          16}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST(ToneShape, IsASquareWaveOfTheToneLevelBelowTheSampleRate) {
  const Samples samples = Play(Filled(0xF0), kResetPitch, 1);
  // 4000 bits a second: 12 samples a bit, 48 up then 48 down from the first bit.
  for (int i = 0; i < 48; ++i) EXPECT_EQ(samples[static_cast<std::size_t>(i)], kToneLevel) << i;
  for (int i = 48; i < 96; ++i) EXPECT_EQ(samples[static_cast<std::size_t>(i)], -kToneLevel) << i;
}

TEST(ToneShape, CarriesItsPositionFromFrameToFrame) {
  // At pitch 70 a frame holds no whole number of periods: a tone that began each frame anew
  // would shift the wave by 8 samples at every frame's start.
  const Samples samples = Play(Filled(0xF0), 70, 10);
  const std::vector<double> crossings = RisingCrossings(samples);
  const double period = kSoundSampleRate / (PatternBitRate(70) / 8);
  for (std::size_t i = 1; i < crossings.size(); ++i)
    ASSERT_NEAR(crossings[i] - crossings[i - 1], period, 0.5) << "at sample " << crossings[i];
}

TEST(ToneShape, BoxFiltersBitRatesAboveTheSampleRate) {
  // At pitch 255 alternate bits make a wave of 31.7 kHz, above what 48 000 samples a second can
  // hold: sampled point by point it would come back at full level as a 16 kHz alias. The box
  // over 1.3 bits leaves about 0.38 of it.
  ASSERT_GT(PatternBitRate(255), kSoundSampleRate);
  EXPECT_LT(RootMeanSquare(Play(Filled(0xAA), 255, 10)), 0.5 * kToneLevel);
  // A level that does not change passes unchanged.
  for (const std::int16_t sample : Play(Filled(0xFF), 255, 2)) ASSERT_EQ(sample, kToneLevel);
  for (const std::int16_t sample : Play(Filled(0x00), 255, 2)) ASSERT_EQ(sample, -kToneLevel);
}

// The sound of a machine that runs frames of one instruction each.
class MachineSound : public MachineTest {
 protected:
  void UseProfile(Profile profile, std::int32_t cyclesPerFrame = 1) {
    MachineRules rules = EntryOf(profile).rules;
    rules.cyclesPerFrame = cyclesPerFrame;
    machine.UseRules(rules);
  }
  void RunPasses(int passes) {
    for (int i = 0; i < passes; ++i) RunInstructionPass(machine, kNoPacing, FramePacing::Immediate);
  }
  // Which frames sounded.
  std::vector<bool> Sounding() const {
    std::vector<bool> sounding;
    for (const auto& frame : host.soundFrames) {
      EXPECT_EQ(frame.size(), static_cast<std::size_t>(kSoundSamplesPerFrame));
      sounding.push_back(std::any_of(frame.begin(), frame.end(), [](auto s) { return s != 0; }));
    }
    return sounding;
  }
};

TEST_F(MachineSound, SoundsFromTheFrameThatSetsTheTimerForItsCountOfFrames) {
  UseProfile(Profile::Chip8);
  // V0 = 3, ST = V0, then a jump to itself.
  Store(0x200, {0x60, 0x03, 0xF0, 0x18, 0x12, 0x04});
  RunPasses(7);
  EXPECT_EQ(Sounding(), (std::vector<bool>{false, true, true, true, false, false, false}));
}

TEST_F(MachineSound, StartsEachToneAtThePatternsFirstBitAndCarriesOnWithinIt) {
  UseProfile(Profile::XoChip);
  machine.Pitch = 70;
  // ST = 2, then ST = 2 again one silent frame later: V0 = 2, ST, ST = 0 twice, ST.
  Store(0x200, {0x60, 0x02, 0xF0, 0x18, 0x12, 0x04});
  RunPasses(3);  // V0 = 2; ST = 2, sounding; the jump, sounding
  machine.SoundTimer = 0;
  RunPasses(1);  // silent
  machine.SoundTimer = 1;
  RunPasses(1);
  ASSERT_EQ(host.soundFrames.size(), 5u);
  EXPECT_EQ(Sounding(), (std::vector<bool>{false, true, true, false, true}));
  // The second frame goes on where the first stopped; the later tone starts over.
  EXPECT_NE(host.soundFrames[2], host.soundFrames[1]);
  EXPECT_EQ(host.soundFrames[4], host.soundFrames[1]);
}

TEST_F(MachineSound, AsDesignedIsSilentAtEveryTimerStep) {
  machine.SoundTimer = 200;
  Store(0x200, {0x12, 0x00});
  RunPasses(100);
  // A frame of sound for each timer step, every 25 instructions.
  EXPECT_EQ(host.soundFrames.size(), 4u);
  EXPECT_EQ(Sounding(), std::vector<bool>(4, false));
  EXPECT_GT(machine.SoundTimer, 0);
}

}  // namespace
}  // namespace pellark
