// Full screen: the largest whole magnification that fits, kept through resolution switches;
// Alt+Return enters and leaves it, Esc leaves it, and leaving gives the designed window back.
#include "front_end_fixture.h"

namespace pellark {
namespace {

class FullScreenTest : public StartedFrontEndTest {
 protected:
  int AltReturn() const { return window.CommandKeyId(CommandKey::AltReturn); }
  int Escape() const { return window.CommandKeyId(CommandKey::Escape); }
};

TEST_F(FullScreenTest, AltReturnEntersAndEscOnlyLeaves) {
  EXPECT_EQ(AltReturn(), static_cast<int>(MenuId::FullScreen));
  EXPECT_EQ(Escape(), 0) << "Esc is the keyboard's outside full screen";
  Select(MenuId::FullScreen);
  EXPECT_TRUE(window.FullScreen());
  EXPECT_TRUE(Marked(MenuId::FullScreen));
  EXPECT_EQ(Escape(), static_cast<int>(MenuId::FullScreen));
  Select(MenuId::FullScreen);
  EXPECT_FALSE(window.FullScreen());
  EXPECT_FALSE(Marked(MenuId::FullScreen));
  EXPECT_EQ(Escape(), 0);
}

// The screen, and the magnification of each resolution: the high resolution's largest that
// fits, doubled for the low one, so that the picture keeps its size.
struct ScreenCase {
  ScreenSize screen;
  int lowScale;
  int highScale;
};

class FullScreenScaleTest : public FullScreenTest,
                            public ::testing::WithParamInterface<ScreenCase> {};

TEST_P(FullScreenScaleTest, FillsTheScreenAtTheLargestWholeMagnification) {
  const ScreenCase& screen = GetParam();
  window.SetScreenSize(screen.screen);
  Select(MenuId::Scale3);
  const int clientWidth = window.ClientWidth();
  const int clientHeight = window.ClientHeight();
  Select(MenuId::FullScreen);
  EXPECT_EQ(window.Picture().Width(), 64 * screen.lowScale);
  EXPECT_EQ(window.Picture().Height(), 32 * screen.lowScale);
  EXPECT_EQ(window.Background(), Black);

  // High resolution inside full screen: the same picture size, a finer magnification.
  StartProgram({0x00, 0xFF, 0x12, 0x02});
  frontEnd.RunPass();
  ASSERT_EQ(machine().ScreenWidth(), 128);
  EXPECT_EQ(window.Picture().Width(), 128 * screen.highScale);
  EXPECT_EQ(window.Picture().Width(), 64 * screen.lowScale);

  // Leaving restores the designed window for the display it now shows.
  Select(MenuId::FullScreen);
  EXPECT_EQ(window.Picture().Width(), 128 * 3);
  EXPECT_EQ(window.ClientWidth(), 128 * 3);
  EXPECT_EQ(window.ClientHeight(), 64 * 3 + HeadlessWindowSystem::kMenuHeight);
  EXPECT_NE(window.ClientWidth(), clientWidth);
  EXPECT_NE(window.ClientHeight(), clientHeight);
}

INSTANTIATE_TEST_SUITE_P(Screens, FullScreenScaleTest,
                         ::testing::Values(ScreenCase{{1920, 1080}, 30, 15},
                                           ScreenCase{{1024, 768}, 16, 8},
                                           ScreenCase{{1366, 768}, 20, 10},
                                           ScreenCase{{100, 50}, 2, 1}));

TEST_F(FullScreenTest, TheBackgroundIsTheDarkColour) {
  Select(MenuId::FullScreen);
  Select(MenuId::InvertColors);
  EXPECT_EQ(window.Background(), White);
}

}  // namespace
}  // namespace pellark
