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
    const Image& image = picture.Paint(display, nullptr, colours);
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.ReadPixel(5, 6), colours.lit);
    EXPECT_EQ(image.ReadPixel(0, 0), colours.dark);
  }
  display.Toggle(5, 6);
  display.Toggle(63, 31);
  const Image& image = picture.Paint(display, nullptr, {});
  EXPECT_EQ(image.ReadPixel(5, 6), Black);
  EXPECT_EQ(image.ReadPixel(63, 31), White);
  display.Resize(128, 64);
  EXPECT_EQ(picture.Paint(display, nullptr, {.dark = White, .lit = Black}).ReadPixel(127, 63), White);
}

TEST(DisplayPictureTest, TwoPlanesShowFourColoursAndEitherPlanesChangesReachThePicture) {
  DisplayPlane first;
  DisplayPlane second;
  first.Resize(64, 32);
  second.Resize(64, 32);
  first.Toggle(1, 0);
  second.Toggle(2, 0);
  first.Toggle(3, 0);
  second.Toggle(3, 0);
  DisplayPicture picture;
  const DisplayColours colours;
  const Image* image = &picture.Paint(first, &second, colours);
  EXPECT_EQ(image->ReadPixel(0, 0), colours.dark);
  EXPECT_EQ(image->ReadPixel(1, 0), colours.lit);
  EXPECT_EQ(image->ReadPixel(2, 0), colours.second);
  EXPECT_EQ(image->ReadPixel(3, 0), colours.both);
  second.Toggle(1, 0);
  image = &picture.Paint(first, &second, colours);
  EXPECT_EQ(image->ReadPixel(1, 0), colours.both);
  // Inverted, each colour shows its complement.
  image = &picture.Paint(first, &second, Complemented(colours));
  EXPECT_EQ(image->ReadPixel(0, 0), White);
  EXPECT_EQ(image->ReadPixel(2, 0), RGB(85, 85, 85));
}

}  // namespace
}  // namespace pellark
