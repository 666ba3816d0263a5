// The display as bits: XOR drawing with collisions, clearing and scrolling.
#include <gtest/gtest.h>

#include "core/display_plane.h"

namespace pellark {
namespace {

TEST(DisplayPlaneTest, ToggleFlipsAPixelAndSaysWhenItWasLit) {
  DisplayPlane display;
  display.Resize(64, 32);
  EXPECT_FALSE(display.Toggle(3, 4));
  EXPECT_TRUE(display.IsLit(3, 4));
  EXPECT_TRUE(display.Toggle(3, 4));
  EXPECT_FALSE(display.IsLit(3, 4));
  // Off the display nothing is lit.
  EXPECT_FALSE(display.IsLit(64, 0));
  EXPECT_FALSE(display.IsLit(0, 32));
  EXPECT_FALSE(display.IsLit(-1, 0));
}

TEST(DisplayPlaneTest, ScrollsMoveThePictureAndLeaveTheUncoveredBandDark) {
  const struct {
    int dx, dy;
    int litX, litY;  // where the pixel lit at (10, 10) goes
  } cases[] = {{4, 0, 14, 10}, {-4, 0, 6, 10}, {0, 3, 10, 13}, {0, -6, 10, 4}, {0, 0, 10, 10}};
  for (const auto& [dx, dy, litX, litY] : cases) {
    DisplayPlane display;
    display.Resize(64, 32);
    display.Toggle(10, 10);
    display.Toggle(63, 31);  // moved off the display by any scroll right or down
    display.Scroll(dx, dy);
    EXPECT_TRUE(display.IsLit(litX, litY)) << dx << "," << dy;
    int lit = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 64; ++x) lit += display.IsLit(x, y) ? 1 : 0;
    EXPECT_EQ(lit, dx > 0 || dy > 0 ? 1 : 2) << dx << "," << dy;
  }
}

TEST(DisplayPlaneTest, ResizeAndClearDarkenEveryPixel) {
  DisplayPlane display;
  display.Resize(64, 32);
  display.Toggle(1, 1);
  display.Clear();
  EXPECT_FALSE(display.IsLit(1, 1));
  display.Toggle(1, 1);
  display.Resize(128, 64);
  EXPECT_EQ(display.Width(), 128);
  EXPECT_FALSE(display.IsLit(1, 1));
}

}  // namespace
}  // namespace pellark
