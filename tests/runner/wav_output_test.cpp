// The run's sound written as a WAV: 16-bit mono at 48 000 Hz, 800 samples for each frame.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <vector>

#include "pellark_process.h"

namespace pellark {
namespace {

constexpr int kFrame = 800;
constexpr std::int16_t kLevel = 8192;

struct Sound {
  SF_INFO info{};
  std::vector<std::int16_t> samples;
  bool Frame(int frame) const {
    const auto begin = samples.begin() + frame * kFrame;
    return std::any_of(begin, begin + kFrame, [](std::int16_t s) { return s != 0; });
  }
};

Sound ReadWav(const std::string& path) {
  Sound sound;
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &sound.info);
  if (file == nullptr) {
    ADD_FAILURE() << "cannot read " << path << ": " << sf_strerror(nullptr);
    return sound;
  }
  sound.samples.resize(static_cast<std::size_t>(sound.info.frames));
  sf_read_short(file, sound.samples.data(), sound.info.frames);
  sf_close(file);
  return sound;
}

// V0 = 3, ST = V0, then a jump to itself.
const std::initializer_list<std::uint8_t> kBeep = {0x60, 0x03, 0xF0, 0x18, 0x12, 0x04};

TEST(Wav, HoldsEveryFrameOfTheRunAndTheToneWhileTheTimerRuns) {
  const ScratchFolder folder;
  const std::string wav = (folder.Path() / "beep.wav").string();
  const RunResult result = RunPellark({"-n", "8", "--profile", "chip8", "--cycles-per-frame", "1",
                                       "--wav", wav, folder.WriteProgram(kBeep)});
  ASSERT_EQ(result.status, 0) << result.err;
  const Sound sound = ReadWav(wav);
  EXPECT_EQ(sound.info.samplerate, 48000);
  EXPECT_EQ(sound.info.channels, 1);
  EXPECT_EQ(sound.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_16);
  ASSERT_EQ(sound.info.frames, 8 * kFrame);
  // The timer set by the second instruction sounds in its frame and the two after it.
  for (int frame = 0; frame < 8; ++frame)
    EXPECT_EQ(sound.Frame(frame), frame >= 1 && frame <= 3) << frame;
  // 500 Hz from the pattern's first bit: a millisecond up, then one down.
  EXPECT_EQ(sound.samples[kFrame], kLevel);
  EXPECT_EQ(sound.samples[kFrame + 48], -kLevel);
}

TEST(Wav, IsSilenceOfTheRunsLengthAsDesigned) {
  const ScratchFolder folder;
  const std::string wav = (folder.Path() / "designed.wav").string();
  const RunResult result =
      RunPellark({"-n", "100", "--profile", "designed", "--wav", wav, folder.WriteProgram(kBeep)});
  ASSERT_EQ(result.status, 0) << result.err;
  const Sound sound = ReadWav(wav);
  // A frame at each timer step, every 25 instructions.
  ASSERT_EQ(sound.info.frames, 4 * kFrame);
  EXPECT_TRUE(
      std::all_of(sound.samples.begin(), sound.samples.end(), [](auto s) { return s == 0; }));
}

TEST(Wav, ThatCannotBeWrittenFailsTheRunSayingWhy) {
  const ScratchFolder folder;
  const std::string wav = (folder.Path() / "no such folder" / "beep.wav").string();
  const RunResult result = RunPellark({"-n", "8", "--wav", wav, folder.WriteProgram(kBeep)});
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.err.find("pellark-run: cannot write " + wav + ": "), std::string::npos)
      << result.err;
}

}  // namespace
}  // namespace pellark
