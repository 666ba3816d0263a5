// --gif: the run's displayed frames as an animated GIF at the machine's frame rate.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <tuple>

#include "gif_frames.h"
#include "pellark_process.h"

namespace pellark {
namespace {

// Moves a one-pixel sprite right by one pixel a frame: erased, then drawn one further on.
const std::initializer_list<std::uint8_t> kMovingPixel = {
    0xA2, 0x0C,  // 200: I = 20C
    0xD0, 0x11,  // 202: draw at (V0, V1)
    0xD0, 0x11,  // 204: erase it
    0x70, 0x01,  // 206: V0 += 1
    0x12, 0x02,  // 208: jump 202
    0x00, 0x00,
    0x80,  // 20C: one pixel
};

TEST(Gif, HoldsTheFramesAtTheMachinesRateEachPixelAFourByFourBlock) {
  const ScratchFolder folder;
  const std::string gif = (folder.Path() / "run.gif").string();
  // With the vblank rule each draw ends a frame: 60 frames, a second, 100 hundredths.
  const RunResult result = RunPellark(
      {"--profile", "chip8", "-n", "121", "--gif", gif, folder.WriteProgram(kMovingPixel)});
  ASSERT_EQ(result.status, 0) << result.err;
  const GifFrames frames = ReadGif(gif);
  EXPECT_EQ(frames.width, 256);
  EXPECT_EQ(frames.height, 128);
  EXPECT_TRUE(frames.loops);
  ASSERT_GE(frames.pictures.size(), 20u);
  EXPECT_NEAR(frames.TotalDelay(), 100, 3);
  for (const int delay : frames.delays) EXPECT_GE(delay, 2);
  // The frames show the pixel as the machine did, lit in one frame and erased in the next,
  // moving right.
  int shownAt = -1;
  int darkPictures = 0;
  for (const Image& picture : frames.pictures) {
    int lit = -1;
    for (int x = 0; x < 64; ++x) {
      if (picture.ReadPixel(4 * x + 3, 3) == White) lit = x;
    }
    if (lit < 0) {
      ++darkPictures;
      continue;
    }
    EXPECT_GT(lit, shownAt);
    shownAt = lit;
  }
  EXPECT_GT(shownAt, 20);
  EXPECT_GT(darkPictures, 0);
}

TEST(Gif, ThatCannotBeWrittenSaysWhyAndLeavesWhatWasThere) {
  const ScratchFolder folder;
  const std::string old = folder.WriteFile("old.gif", {'o', 'l', 'd'});
  const std::string program = folder.WriteProgram(kMovingPixel);
  const std::string missing = (folder.Path() / "no-such-folder" / "run.gif").string();
  // Under the file-size limit, in a folder that is not there, and on a full device.
  RunSetting limited;
  limited.fileSizeLimit = 1024;
  const std::tuple<std::string, RunSetting, std::string> failures[] = {
      {old, limited, "File too large"},
      {missing, {}, "No such file or directory"},
      {"/dev/full", {}, "No space left on device"},
  };
  for (const auto& [path, setting, why] : failures) {
    const RunResult result =
        RunPellark({"--profile", "chip8", "-n", "400", "--gif", path, program}, setting);
    EXPECT_EQ(result.status, 1);
    EXPECT_THAT(result.err,
                ::testing::EndsWith("pellark-run: cannot write " + path + ": " + why + "\n"));
  }
  std::ifstream kept(old, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
}

}  // namespace
}  // namespace pellark
