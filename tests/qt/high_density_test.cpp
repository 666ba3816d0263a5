// Run on a screen of two device pixels per window pixel, as a high-density desktop is. That
// machine pixels stay sharp squares there is seen on the X server (program_argument_test).
#include <QFontMetrics>
#include <QImage>
#include <QPixmap>
#include <QToolButton>
#include <QWindow>
#include <chrono>

#include "desktop_fixture.h"

namespace pellark {
namespace {

using std::chrono::milliseconds;

constexpr int kRatio = 2;

// The widget as it paints itself on the window's surface, in device pixels.
QImage Painted(QWidget& widget) {
  return widget.grab().toImage();
}

// The height in device pixels of the rows that hold dark text on a light background.
int InkHeight(const QImage& image, const QRect& area) {
  int top = -1;
  int bottom = -1;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 100) {
        if (top < 0) top = y;
        bottom = y;
        break;
      }
    }
  }
  return top < 0 ? 0 : bottom - top + 1;
}

using HighDensityTest = DesktopTest;

TEST_F(HighDensityTest, RunsAtTwoDevicePixelsPerWindowPixel) {
  EXPECT_EQ(Window().windowHandle()->devicePixelRatio(), kRatio);
}

TEST_F(HighDensityTest, MenuBarAndTraceListTextStayReadableAtX1) {
  // x1 with the trace: a 64 × 32 display, the gap, and a 64 × 32 list.
  Desktop().SetClientSize(64, 66 + Desktop().GetMenuHeight());
  Desktop().CreateListBox(0, 34, 64, 32);
  Desktop().AddListItem("$200: Cls");
  EventsWithin(milliseconds(60));

  // The menu bar is as high as the toolkit asks for at this width; the File title fits and
  // the rest is reached through the bar's extension button.
  QMenuBar& bar = MenuBar();
  EXPECT_EQ(Desktop().GetMenuHeight(), bar.heightForWidth(64));
  EXPECT_EQ(bar.geometry(), QRect(0, 0, 64, Desktop().GetMenuHeight()));
  const QRect file = bar.actionGeometry(FindAction("File"));
  EXPECT_TRUE(bar.rect().contains(file)) << file.x() << "," << file.y() << " " << file.width();
  const auto* extension = bar.findChild<QToolButton*>();
  ASSERT_NE(extension, nullptr);
  EXPECT_TRUE(extension->isVisible());

  // Text is drawn at the screen's density: twice as many device rows as the font's letters
  // are high in window pixels, not squeezed into one device row per window pixel.
  const int capHeight = QFontMetrics(bar.font()).capHeight();
  EXPECT_GE(InkHeight(Painted(bar), QRect(file.topLeft() * kRatio, file.size() * kRatio)),
            capHeight * 3 / 2 + 1);
  QAbstractItemView& list = *List();
  const QRect row = list.visualRect(list.model()->index(0, 0));
  EXPECT_LE(row.height(), list.viewport()->height()) << "no whole line fits in the list";
  const QImage listShown = Painted(*list.viewport());
  EXPECT_GE(InkHeight(listShown, QRect(QPoint(0, 0), row.size() * kRatio) & listShown.rect()),
            QFontMetrics(list.font()).capHeight() * 3 / 2 + 1);
}

}  // namespace
}  // namespace pellark
