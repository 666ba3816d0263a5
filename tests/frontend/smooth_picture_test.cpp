// Smooth: pixels turned off fade over the next two displayed frames; only the picture changes.
#include "frontend/smooth_picture.h"

#include <gtest/gtest.h>

#include "front_end_fixture.h"

namespace pellark {
namespace {

Image OnePixel(Colour colour) {
  Image picture;
  picture.NewImage(2, 1);
  picture.PutPixel(0, 0, colour);
  return picture;
}

// The frames shown one after another, and the colour pixel (0, 0) shows in each.
struct FadeCase {
  const char* name;
  std::vector<Colour> frames;
  std::vector<Colour> shown;
};

class SmoothFadeTest : public ::testing::TestWithParam<FadeCase> {};

TEST_P(SmoothFadeTest, ShowsEachFrame) {
  SmoothPicture smooth;
  const FadeCase& fade = GetParam();
  for (std::size_t i = 0; i < fade.frames.size(); ++i) {
    const Image frame = OnePixel(fade.frames[i]);
    smooth.NextFrame(frame, Black);
    const Image& shown = smooth.Compose(frame, Black);
    EXPECT_EQ(shown.ReadPixel(0, 0), fade.shown[i]) << "frame " << i;
    EXPECT_EQ(shown.ReadPixel(1, 0), Black) << "a pixel never lit stays dark";
  }
}

constexpr Colour kGreen = RGB(30, 240, 90);

INSTANTIATE_TEST_SUITE_P(
    Frames, SmoothFadeTest,
    ::testing::Values(FadeCase{"FadesOverTwoFrames",
                               {White, Black, Black, Black},
                               {White, RGB(170, 170, 170), RGB(85, 85, 85), Black}},
                      FadeCase{"ARedrawnPixelIsLitEveryFrame",
                               {White, Black, White, Black, White},
                               {White, RGB(170, 170, 170), White, RGB(170, 170, 170), White}},
                      FadeCase{
                          "FadesFromItsOwnColour", {kGreen, Black}, {kGreen, RGB(20, 160, 60)}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SmoothPictureTest, BetweenFramesTheFadeStandsAndAResizeStartsAfresh) {
  SmoothPicture smooth;
  smooth.NextFrame(OnePixel(White), Black);
  smooth.NextFrame(OnePixel(Black), Black);
  // Other refreshes compose without moving the fade on.
  EXPECT_EQ(smooth.Compose(OnePixel(Black), Black).ReadPixel(0, 0), RGB(170, 170, 170));
  EXPECT_EQ(smooth.Compose(OnePixel(Black), Black).ReadPixel(0, 0), RGB(170, 170, 170));
  Image larger;
  larger.NewImage(4, 2);
  smooth.NextFrame(larger, Black);
  EXPECT_EQ(smooth.Compose(larger, Black).ReadPixel(0, 0), Black);
  smooth.Clear();
  EXPECT_EQ(smooth.Compose(larger, Black).ReadPixel(0, 0), Black);
}

// A CHIP-8 program that erases and redraws a sprite each frame: with the vblank rule every
// draw ends a frame, so half the displayed frames catch the sprite erased.
class SmoothFrontEndTest : public StartedFrontEndTest {
 protected:
  // The colour of pixel (0, 0) in each displayed frame of 40 passes.
  std::vector<Colour> ShownFrames() {
    Select(MenuId::ProfileChip8);
    StartProgram({
        0xA3, 0x00,  // 200: I = 300
        0xD0, 0x11,  // 202: draw at (0, 0)
        0xD0, 0x11,  // 204: erase it
        0x12, 0x02,  // 206: jump 202
    });
    machine().SetCell(0x300, ToHexByte(0x80));
    std::vector<Colour> shown;
    for (int pass = 0; pass < 40; ++pass) {
      const int pictures = window.PictureCount();
      frontEnd.RunPass();
      if (window.PictureCount() != pictures) shown.push_back(window.Picture().ReadPixel(0, 0));
    }
    return shown;
  }
};

TEST_F(SmoothFrontEndTest, WithoutSmoothTheSpriteFlickers) {
  const std::vector<Colour> shown = ShownFrames();
  ASSERT_GE(shown.size(), 10u);
  EXPECT_NE(std::count(shown.begin(), shown.end(), Black), 0);
}

TEST_F(SmoothFrontEndTest, SmoothShowsTheSpriteLitInEveryDisplayedFrame) {
  Select(MenuId::Smooth);
  EXPECT_TRUE(Marked(MenuId::Smooth));
  const std::vector<Colour> shown = ShownFrames();
  ASSERT_GE(shown.size(), 10u);
  for (const Colour colour : shown) EXPECT_NE(colour, Black);
  // The machine's own pixels and collisions are untouched.
  EXPECT_FALSE(machine().Display.IsLit(0, 0));
  EXPECT_EQ(machine().Registers[0xF], 1);
}

}  // namespace
}  // namespace pellark
