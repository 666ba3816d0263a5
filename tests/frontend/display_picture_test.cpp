// The colours the front end paints the display's bits in.
#include <gtest/gtest.h>

#include "frontend/display_picture.h"

namespace pellark {
namespace {

TEST(DisplayPictureTest, EveryChangeOfColoursRepaintsAndChangedBitsReachThePicture) {
  DisplayPlane display;
  display.Resize(64, 32);
  display.Toggle(5, 6);
  DisplayPicture picture;
  const Colour amber = RGB(0xFF, 0xAA, 0x00);
  const DisplayColours cases[] = {
      {}, {.dark = White, .lit = Black}, {.dark = amber, .lit = White}, {}};
  for (const DisplayColours& colours : cases) {
    const Image& image = picture.Paint(display, colours);
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.ReadPixel(5, 6), colours.lit);
    EXPECT_EQ(image.ReadPixel(0, 0), colours.dark);
  }
  display.Toggle(5, 6);
  display.Toggle(63, 31);
  const Image& image = picture.Paint(display, {});
  EXPECT_EQ(image.ReadPixel(5, 6), Black);
  EXPECT_EQ(image.ReadPixel(63, 31), White);
  display.Resize(128, 64);
  EXPECT_EQ(picture.Paint(display, {.dark = White, .lit = Black}).ReadPixel(127, 63), White);
}

}  // namespace
}  // namespace pellark
