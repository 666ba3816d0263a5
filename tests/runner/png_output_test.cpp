// The display written as a PNG: 4 × 4 pixels for each display pixel, lit white, dark black.
#include <gtest/gtest.h>
#include <png.h>

#include <fstream>
#include <tuple>
#include <vector>

#include "pellark_process.h"

namespace pellark {
namespace {

struct GreyPicture {
  int width = 0;
  int height = 0;
  std::vector<png_byte> pixels;

  int At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

GreyPicture ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  GreyPicture picture;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
    ADD_FAILURE() << "cannot read " << path << ": " << image.message;
    return picture;
  }
  image.format = PNG_FORMAT_GRAY;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.pixels.resize(PNG_IMAGE_SIZE(image));
  if (png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr) == 0) {
    ADD_FAILURE() << "cannot decode " << path << ": " << image.message;
    picture = {};
  }
  return picture;
}

// Draws the pixels (0, 0) and (63, 31), the corners of the low-resolution display.
const std::initializer_list<std::uint8_t> kCorners = {
    0xA2, 0x0E,  // 200: I = 20E
    0xD0, 0x01,  // 202: draw 1 row at (V0, V0) = (0, 0)
    0x61, 0x3F,  // 204: V1 = 63
    0x62, 0x1F,  // 206: V2 = 31
    0xD1, 0x21,  // 208: draw 1 row at (63, 31)
    0x12, 0x0A,  // 20A: jump 20A
    0x00, 0x00,
    0x80,  // 20E: one pixel
};

TEST(Png, ShowsEachPixelAsAFourByFourBlock) {
  const ScratchFolder folder;
  const std::string png = (folder.Path() / "screen.png").string();
  const RunResult result = RunPellark({"-n", "6", "--png", png, folder.WriteProgram(kCorners)});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "");
  const GreyPicture picture = ReadPng(png);
  ASSERT_EQ(picture.width, 256);
  ASSERT_EQ(picture.height, 128);
  for (int offset = 0; offset < 4; ++offset) {
    EXPECT_EQ(picture.At(offset, 3 - offset), 255);
    EXPECT_EQ(picture.At(255 - offset, 124 + offset), 255);
  }
  EXPECT_EQ(picture.At(4, 0), 0);
  EXPECT_EQ(picture.At(0, 4), 0);
  EXPECT_EQ(picture.At(251, 127), 0);
  EXPECT_EQ(picture.At(128, 64), 0);
}

TEST(Png, FollowsTheHighResolution) {
  const ScratchFolder folder;
  const std::string png = (folder.Path() / "high.png").string();
  const RunResult result = RunPellark({"-n", "1", "--png", png, folder.WriteProgram({0x00, 0xFF})});
  ASSERT_EQ(result.status, 0) << result.err;
  const GreyPicture picture = ReadPng(png);
  EXPECT_EQ(picture.width, 512);
  EXPECT_EQ(picture.height, 256);
}

// Under the file-size limit, and on a full device, which stays a device.
TEST(Png, ThatCannotBeWrittenLeavesWhatWasThereAndNothingElse) {
  const ScratchFolder folder;
  const std::string old = folder.WriteFile("old.png", {'o', 'l', 'd'});
  const std::string noise = folder.WriteProgram({
      0x00, 0xFF,  // 200: high resolution
      0xC0, 0xFF,  // 202: V0 = random
      0xC1, 0xFF,  // 204: V1 = random
      0xD0, 0x1F,  // 206: draw 15 rows of the program at (V0, V1)
      0x12, 0x02,  // 208: jump 202
  });
  const std::tuple<std::string, RunSetting, std::string> failures[] = {
      {old, {0, 1024}, "File too large"},
      {"/dev/full", {}, "No space left on device"},
  };
  for (const auto& [path, setting, why] : failures) {
    const RunResult result = RunPellark({"-n", "4000", "--png", path, noise}, setting);
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "pellark-run: cannot write " + path + ": " + why + "\n");
  }
  std::ifstream kept(old, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

}  // namespace
}  // namespace pellark
