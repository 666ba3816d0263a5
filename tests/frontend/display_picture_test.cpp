// The colours the front end paints the display's bits in.
#include <gtest/gtest.h>

#include "frontend/display_picture.h"

namespace pellark {
namespace {

TEST(DisplayPictureTest, LitIsWhiteAndDarkBlackUnlessInvertedAndChangesReachThePicture) {
  DisplayPlane display;
  display.Resize(64, 32);
  display.Toggle(5, 6);
  DisplayPicture picture;
  const struct {
    bool inverted;
    Colour lit, dark;
  } cases[] = {{false, White, Black}, {true, Black, White}, {false, White, Black}};
  for (const auto& [inverted, lit, dark] : cases) {
    const Image& image = picture.Paint(display, inverted);
    EXPECT_EQ(image.Width(), 64);
    EXPECT_EQ(image.ReadPixel(5, 6), lit) << inverted;
    EXPECT_EQ(image.ReadPixel(0, 0), dark) << inverted;
  }
  display.Toggle(5, 6);
  display.Toggle(63, 31);
  const Image& image = picture.Paint(display, false);
  EXPECT_EQ(image.ReadPixel(5, 6), Black);
  EXPECT_EQ(image.ReadPixel(63, 31), White);
  display.Resize(128, 64);
  EXPECT_EQ(picture.Paint(display, true).ReadPixel(127, 63), White);
}

}  // namespace
}  // namespace pellark
