#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <chrono>

#include "desktop_fixture.h"
#include "platform/image.h"

namespace pellark {
namespace {

using std::chrono::milliseconds;

// Distinct colours in every channel, so that a swapped channel or a shifted pixel shows.
Colour PatternColour(int x, int y) {
  return RGB(x * 4 + 1, y * 8 + 2, (x * 7 + y * 3) % 256);
}

Image PatternImage() {
  Image image;
  image.NewImage(64, 32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 64; ++x) image.PutPixel(x, y, PatternColour(x, y));
  }
  return image;
}

Colour ColourAt(const QImage& image, int x, int y) {
  const QRgb pixel = image.pixel(x, y);
  return RGB(qRed(pixel), qGreen(pixel), qBlue(pixel));
}

class PictureTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    // Room right of and below a 192 × 96 picture.
    Desktop().SetClientSize(200, 100 + Desktop().GetMenuHeight());
  }

  static QImage Shown() { return PictureArea().grab().toImage(); }

  // What has reached the window's surface, not what a repaint would paint now.
  static QImage OnScreen() {
    const QImage window = QGuiApplication::primaryScreen()->grabWindow(Window().winId()).toImage();
    return window.copy(PictureArea().geometry());
  }

  // Pixels of text drawn in green on black, smoothed edges included.
  static int CountGreenish(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        count += qGreen(pixel) >= 64 && qRed(pixel) < 32 && qBlue(pixel) < 32 ? 1 : 0;
      }
    }
    return count;
  }
};

TEST_F(PictureTest, EveryImagePixelBecomesASolidBlock) {
  Desktop().DrawPicture(PatternImage(), 192, 96);
  const QImage shown = Shown();
  for (int y = 0; y < 96; ++y) {
    for (int x = 0; x < 192; ++x) {
      ASSERT_EQ(ColourAt(shown, x, y), PatternColour(x / 3, y / 3)) << x << "," << y;
    }
  }
}

TEST_F(PictureTest, LeavesTheRestOfTheAreaAlone) {
  const Colour background = RGB(PictureArea().palette().window().color().red(),
                                PictureArea().palette().window().color().green(),
                                PictureArea().palette().window().color().blue());
  Desktop().DrawPicture(PatternImage(), 192, 96);
  const QImage shown = Shown();
  for (int y = 0; y < 100; ++y) {
    for (int x = 192; x < 200; ++x) ASSERT_EQ(ColourAt(shown, x, y), background) << x << "," << y;
  }
  for (int x = 0; x < 200; ++x) ASSERT_EQ(ColourAt(shown, x, 96), background) << x;
}

TEST_F(PictureTest, ShowsTheImageAsItWasWhenDrawn) {
  Image image = PatternImage();
  Desktop().DrawPicture(image, 192, 96);
  image.FillBox(0, 0, 64, 32, White);
  EXPECT_EQ(ColourAt(Shown(), 0, 0), PatternColour(0, 0));
}

TEST_F(PictureTest, TheLastPictureReachesTheScreenSoon) {
  Image black;
  black.NewImage(64, 32);
  Image white;
  white.NewImage(64, 32);
  white.FillBox(0, 0, 64, 32, White);
  // Far more pictures than frames: only the last one has to be seen.
  for (int i = 0; i < 20000; ++i) Desktop().DrawPicture(i % 2 == 0 ? white : black, 128, 64);
  Desktop().DrawPicture(PatternImage(), 192, 96);
  const auto patternShown = [] {
    const QImage screen = OnScreen();
    return ColourAt(screen, 0, 0) == PatternColour(0, 0) &&
           ColourAt(screen, 191, 95) == PatternColour(63, 31);
  };
  PollUntil(patternShown);
  const QImage screen = OnScreen();
  EXPECT_EQ(ColourAt(screen, 0, 0), PatternColour(0, 0));
  EXPECT_EQ(ColourAt(screen, 191, 95), PatternColour(63, 31));
}

TEST_F(PictureTest, TextStaysUntilTheNextPicture) {
  Image black;
  black.NewImage(64, 32);
  Desktop().DrawPicture(black, 128, 64);
  Desktop().DrawText(1, 1, "Speed: 75%", RGB(0, 255, 0));
  const QImage withText = Shown();
  EXPECT_GT(CountGreenish(withText), 40);
  const int textBottom = 1 + PictureArea().fontMetrics().height();
  EXPECT_EQ(CountGreenish(withText.copy(0, textBottom, 200, 100)), 0);

  Desktop().DrawPicture(black, 128, 64);
  EXPECT_EQ(CountGreenish(Shown()), 0);
}

TEST_F(PictureTest, TextHasATransparentBackground) {
  Desktop().DrawPicture(PatternImage(), 192, 96);
  Desktop().DrawText(0, 0, "Speed: 75%", Black);
  const QImage shown = Shown();
  int unchanged = 0;
  for (int y = 0; y < PictureArea().fontMetrics().height(); ++y) {
    for (int x = 0; x < 40; ++x) unchanged += ColourAt(shown, x, y) == PatternColour(x / 3, y / 3);
  }
  EXPECT_GT(unchanged, 40 * PictureArea().fontMetrics().height() / 2);
}

}  // namespace
}  // namespace pellark
