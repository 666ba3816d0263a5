// The animated GIF of the pictures shown: timing in hundredths, only changes encoded, blocks.
#include "platform/gif_clip.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "gif_frames.h"

namespace pellark {
namespace {

Image Picture(int width, int height, int litX) {
  Image picture;
  picture.NewImage(width, height);
  picture.PutPixel(litX, 0, White);
  return picture;
}

class GifClipTest : public ::testing::Test {
 protected:
  GifClipTest() { std::filesystem::create_directories(folder_); }
  ~GifClipTest() override { std::filesystem::remove_all(folder_); }
  std::string Path(const std::string& name) const { return (folder_ / name).string(); }

 private:
  std::filesystem::path folder_ =
      std::filesystem::temp_directory_path() / ("pellark-gif-clip-" + std::to_string(::getpid()));
};

TEST_F(GifClipTest, EachPixelIsABlockAndOnlyTheChangeIsEncoded) {
  GifClip clip;
  ASSERT_EQ(clip.Start(Path("blocks.gif"), Picture(8, 4, 0), 3, 0), "");
  clip.AddPicture(Picture(8, 4, 5), 100);
  ASSERT_EQ(clip.Finish(200), "");
  const GifFrames frames = ReadGif(Path("blocks.gif"));
  EXPECT_EQ(frames.width, 24);
  EXPECT_EQ(frames.height, 12);
  EXPECT_TRUE(frames.loops);
  ASSERT_EQ(frames.pictures.size(), 2u);
  EXPECT_EQ(frames.pictures[0].ReadPixel(2, 2), White);
  EXPECT_EQ(frames.pictures[0].ReadPixel(3, 0), Black);
  EXPECT_EQ(frames.pictures[1].ReadPixel(2, 2), Black);
  EXPECT_EQ(frames.pictures[1].ReadPixel(15, 0), White);
  EXPECT_EQ(frames.pictures[1].ReadPixel(17, 2), White);
  EXPECT_EQ(frames.pictures[1].ReadPixel(18, 0), Black);
  EXPECT_EQ(frames.delays, (std::vector<int>{10, 10}));
}

// Times in milliseconds at which pictures that alternate arrive, and the delays the clip gives
// them: never under two hundredths, always adding up to the time that passed.
struct TimingCase {
  const char* name;
  std::vector<std::uint64_t> times;
  std::uint64_t end;
  std::vector<int> delays;
};

class GifClipTimingTest : public GifClipTest, public ::testing::WithParamInterface<TimingCase> {};

TEST_P(GifClipTimingTest, KeepsTheRealTimeInPicturesOfAtLeastTwoHundredths) {
  const TimingCase& timing = GetParam();
  GifClip clip;
  ASSERT_EQ(clip.Start(Path("timing.gif"), Picture(4, 2, 0), 1, timing.times.front()), "");
  for (std::size_t i = 1; i < timing.times.size(); ++i)
    clip.AddPicture(Picture(4, 2, static_cast<int>(i % 4)), timing.times[i]);
  ASSERT_EQ(clip.Finish(timing.end), "");
  const GifFrames frames = ReadGif(Path("timing.gif"));
  EXPECT_EQ(frames.delays, timing.delays);
}

INSTANTIATE_TEST_SUITE_P(
    Rates, GifClipTimingTest,
    ::testing::Values(TimingCase{"Sixty", {0, 17, 33, 50, 67, 83}, 100, {2, 3, 2, 3}},
                      TimingCase{"Twenty", {1000, 1050, 1100}, 1150, {5, 5, 5}},
                      TimingCase{"OneAtTheEnd", {0}, 0, {2}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(GifClipTest, AnUnchangedPictureOnlyLengthensTheOneBefore) {
  GifClip clip;
  ASSERT_EQ(clip.Start(Path("same.gif"), Picture(4, 2, 0), 1, 0), "");
  for (std::uint64_t t = 17; t < 500; t += 17) clip.AddPicture(Picture(4, 2, 0), t);
  ASSERT_EQ(clip.Finish(500), "");
  EXPECT_EQ(ReadGif(Path("same.gif")).delays, std::vector<int>{50});
}

TEST_F(GifClipTest, APictureOfAnotherSizeIsFittedToTheClip) {
  GifClip clip;
  ASSERT_EQ(clip.Start(Path("fit.gif"), Picture(4, 2, 0), 2, 0), "");
  clip.AddPicture(Picture(8, 4, 6), 100);
  ASSERT_EQ(clip.Finish(200), "");
  const GifFrames frames = ReadGif(Path("fit.gif"));
  EXPECT_EQ(frames.width, 8);
  ASSERT_EQ(frames.pictures.size(), 2u);
  // Every other column and row of the larger picture lands on the clip's.
  EXPECT_EQ(frames.pictures[1].ReadPixel(6, 1), White);
  EXPECT_EQ(frames.pictures[1].ReadPixel(0, 0), Black);
}

TEST_F(GifClipTest, AFailedClipKeepsTheOlderFileAndSaysWhy) {
  const std::string old = Path("old.gif");
  std::ofstream(old) << "old";
  GifClip clip;
  EXPECT_EQ(clip.Start(Path("missing/new.gif"), Picture(4, 2, 0), 1, 0),
            "No such file or directory");
  EXPECT_FALSE(clip.Recording());

  ASSERT_EQ(clip.Start("/dev/full", Picture(4, 2, 0), 1, 0), "");
  clip.AddPicture(Picture(4, 2, 1), 100);
  EXPECT_EQ(clip.Finish(200), "No space left on device");
  EXPECT_FALSE(clip.Recording());

  // Abandoned, a clip leaves the file it would have replaced as it was, and nothing else.
  {
    GifClip abandoned;
    ASSERT_EQ(abandoned.Start(old, Picture(4, 2, 0), 1, 0), "");
    abandoned.AddPicture(Picture(4, 2, 1), 100);
  }
  std::ifstream kept(old);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
  EXPECT_EQ(std::distance(
                std::filesystem::directory_iterator(std::filesystem::path(old).parent_path()), {}),
            1);
}

}  // namespace
}  // namespace pellark
