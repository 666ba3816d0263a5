// File > Save picture..., Record clip... and Stop recording: the display as shown, written
// through the safe replacement.
#include <png.h>

#include <filesystem>
#include <vector>

#include "front_end_fixture.h"
#include "gif_frames.h"

namespace pellark {
namespace {

// Draws the sprite at 300 at (0, 0): pixel (0, 0) lit, (1, 1) dark.
constexpr std::initializer_list<int> kDrawSprite = {
    0xA3, 0x00,  // 200: I = 300
    0xD0, 0x02,  // 202: draw 2 rows at (V0, V0)
    0x12, 0x04,  // 204: jump 204
};

struct RgbPicture {
  int width = 0;
  int height = 0;
  std::vector<png_byte> pixels;

  Colour At(int x, int y) const {
    const std::size_t at = 3 * static_cast<std::size_t>(y * width + x);
    return RGB(pixels[at], pixels[at + 1], pixels[at + 2]);
  }
};

RgbPicture ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  RgbPicture picture;
  if (png_image_begin_read_from_file(&image, path.c_str()) == 0) {
    ADD_FAILURE() << "cannot read " << path << ": " << image.message;
    return picture;
  }
  image.format = PNG_FORMAT_RGB;
  picture.width = static_cast<int>(image.width);
  picture.height = static_cast<int>(image.height);
  picture.pixels.resize(PNG_IMAGE_SIZE(image));
  png_image_finish_read(&image, nullptr, picture.pixels.data(), 0, nullptr);
  return picture;
}

class PictureCommandsTest : public StartedFrontEndTest {
 protected:
  void DrawSprite() {
    StartProgram(kDrawSprite);
    machine().SetCell(0x300, ToHexByte(0x80));
    machine().SetCell(0x301, ToHexByte(0x00));
    for (int pass = 0; pass < 3; ++pass) frontEnd.RunPass();
  }
  const std::string& LastMessage() const { return window.Messages().back().text; }
};

TEST_F(PictureCommandsTest, SavePictureWritesTheDisplayAtItsMagnificationAndColours) {
  Select(MenuId::Scale3);
  Select(MenuId::InvertColors);
  DrawSprite();
  const std::string path = (folder / "shown.png").string();
  window.QueueSaveAnswer(path);
  Select(MenuId::SavePicture);
  EXPECT_EQ(window.SaveDialogs().back().title, "Save picture");
  EXPECT_EQ(window.SaveDialogs().back().pattern, "PNG picture|*.png");
  const RgbPicture picture = ReadPng(path);
  ASSERT_EQ(picture.width, 64 * 3);
  ASSERT_EQ(picture.height, 32 * 3);
  // Inverted: the lit pixel is black, the dark one white; each a 3 × 3 square.
  EXPECT_EQ(picture.At(0, 0), Black);
  EXPECT_EQ(picture.At(2, 2), Black);
  EXPECT_EQ(picture.At(3, 3), White);
  EXPECT_EQ(picture.At(5, 5), White);
  EXPECT_EQ(picture.At(191, 95), White);
  EXPECT_TRUE(window.Messages().empty());
}

TEST_F(PictureCommandsTest, InFullScreenThePictureHasTheMagnificationShown) {
  window.SetScreenSize({640, 480});
  Select(MenuId::FullScreen);
  const std::string path = (folder / "full.png").string();
  window.QueueSaveAnswer(path);
  Select(MenuId::SavePicture);
  const RgbPicture picture = ReadPng(path);
  EXPECT_EQ(picture.width, 640);
  EXPECT_EQ(picture.height, 320);
}

TEST_F(PictureCommandsTest, AFailedPictureSaysWhyAndACancelledOneSaysNothing) {
  window.QueueSaveAnswer("");
  Select(MenuId::SavePicture);
  EXPECT_TRUE(window.Messages().empty());
  window.QueueSaveAnswer("/dev/full");
  Select(MenuId::SavePicture);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(LastMessage(), "Error: Can't write the file: No space left on device");
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

TEST_F(PictureCommandsTest, ARecordedClipShowsTheDisplayedFramesUntilStopped) {
  const std::string path = (folder / "clip.gif").string();
  window.QueueSaveAnswer(path);
  Select(MenuId::RecordClip);
  EXPECT_EQ(window.SaveDialogs().back().title, "Record clip");
  EXPECT_TRUE(Marked(MenuId::RecordClip));
  EXPECT_FALSE(std::filesystem::exists(path)) << "the file appears once the clip is finished";
  DrawSprite();
  Select(MenuId::StopRecording);
  EXPECT_FALSE(Marked(MenuId::RecordClip));
  EXPECT_TRUE(window.Messages().empty());
  const GifFrames frames = ReadGif(path);
  EXPECT_EQ(frames.width, 64 * 2);
  EXPECT_EQ(frames.height, 32 * 2);
  ASSERT_FALSE(frames.pictures.empty());
  const Image& last = frames.pictures.back();
  EXPECT_EQ(last.ReadPixel(1, 1), White);
  EXPECT_EQ(last.ReadPixel(2, 2), Black);
}

TEST_F(PictureCommandsTest, SelectingTheMarkedRecordItemStopsTheClip) {
  const std::string path = (folder / "toggled.gif").string();
  window.QueueSaveAnswer(path);
  Select(MenuId::RecordClip);
  Select(MenuId::RecordClip);
  EXPECT_FALSE(Marked(MenuId::RecordClip));
  EXPECT_TRUE(std::filesystem::exists(path));
  EXPECT_EQ(window.SaveDialogs().size(), 1u);
  Select(MenuId::StopRecording);
  EXPECT_TRUE(window.Messages().empty()) << "nothing to stop";
}

TEST_F(PictureCommandsTest, AClipThatCannotBeWrittenSaysWhyAndKeepsTheOlderFile) {
  window.QueueSaveAnswer((folder / "no-such-folder" / "clip.gif").string());
  Select(MenuId::RecordClip);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(LastMessage(), "Error: Can't write the file: No such file or directory");
  EXPECT_FALSE(Marked(MenuId::RecordClip));

  window.QueueSaveAnswer("/dev/full");
  Select(MenuId::RecordClip);
  DrawSprite();
  Select(MenuId::StopRecording);
  ASSERT_EQ(window.Messages().size(), 2u);
  EXPECT_EQ(LastMessage(), "Error: Can't write the file: No space left on device");
}

}  // namespace
}  // namespace pellark
