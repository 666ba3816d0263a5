#include <QApplication>
#include <QExposeEvent>
#include <QWindow>
#include <chrono>

#include "desktop_fixture.h"
#include "platform/image.h"

namespace pellark {
namespace {

using std::chrono::milliseconds;
using WindowTest = DesktopTest;

TEST_F(WindowTest, HasTitleCloseBoxAndNoResizingAtTheGivenPosition) {
  QWidget& window = Window();
  EXPECT_TRUE(window.isVisible());
  EXPECT_EQ(window.windowTitle(), "Pellark");
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_TRUE(flags.testFlags(Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint));
  EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
  EXPECT_EQ(window.minimumSize(), window.maximumSize());
  EXPECT_EQ(window.frameGeometry().topLeft(), QPoint(130, 130));
}

TEST_F(WindowTest, ClientSizeCountsOneMenuBarLine) {
  const int menuHeight = Desktop().GetMenuHeight();
  ASSERT_GT(menuHeight, 0);
  struct Area {
    int width;
    int height;
  };
  // Scale 2 low resolution; scale 4 high resolution with the list; scale 1, where the menu
  // titles do not fit in one line.
  for (const Area area : {Area{128, 64}, Area{512, 514}, Area{64, 32}}) {
    Desktop().SetClientSize(area.width, area.height + menuHeight);
    EventsWithin(milliseconds(5));
    EXPECT_EQ(Window().size(), QSize(area.width, area.height + menuHeight));
    EXPECT_EQ(MenuBar().geometry(), QRect(0, 0, area.width, menuHeight));
    EXPECT_EQ(PictureArea().geometry(), QRect(0, menuHeight, area.width, area.height))
        << area.width << " x " << area.height;
    EXPECT_EQ(Window().frameGeometry().topLeft(), QPoint(130, 130));
  }
}

TEST_F(WindowTest, MenuHeightHoldsTheTitlesInOneLine) {
  Desktop().SetClientSize(512, 256 + Desktop().GetMenuHeight());
  const QRect file = MenuBar().actionGeometry(FindAction("File"));
  const QRect emulation = MenuBar().actionGeometry(FindAction("Emulation"));
  EXPECT_EQ(file.top(), emulation.top());
  EXPECT_LE(file.bottom(), Desktop().GetMenuHeight());
  EXPECT_EQ(Desktop().GetMenuHeight(), MenuBar().sizeHint().height());
}

TEST_F(WindowTest, CloseBoxAsksAndLeavesTheWindowOpen) {
  Window().windowHandle()->close();
  EXPECT_EQ(NextEvent(), WindowEvent{WindowEvent::Kind::CloseRequest});
  EXPECT_TRUE(Window().isVisible());
}

TEST_F(WindowTest, PollTakesOneEventAtATime) {
  FindAction("Quit")->trigger();
  FindAction("About...")->trigger();
  EXPECT_EQ(Desktop().PollWindowEvent(), MenuSelection(7));
  EXPECT_EQ(Desktop().PollWindowEvent(), MenuSelection(6));
  EXPECT_EQ(Desktop().PollWindowEvent(), WindowEvent{});
}

TEST_F(WindowTest, ExposureAsksForARepaint) {
  QExposeEvent expose(QRegion(0, 0, 128, 64));
  QCoreApplication::sendEvent(Window().windowHandle(), &expose);
  EXPECT_EQ(NextEvent(), WindowEvent{WindowEvent::Kind::RepaintRequest});
}

TEST_F(WindowTest, ExposuresWaitingTogetherAskOnce) {
  QExposeEvent first(QRegion(0, 0, 64, 64));
  QExposeEvent second(QRegion(64, 0, 64, 64));
  QCoreApplication::sendEvent(Window().windowHandle(), &first);
  QCoreApplication::sendEvent(Window().windowHandle(), &second);
  EXPECT_EQ(EventsWithin(milliseconds(20)),
            std::vector<WindowEvent>{WindowEvent{WindowEvent::Kind::RepaintRequest}});
}

TEST_F(WindowTest, OwnDrawingDoesNotAskForARepaint) {
  Image picture;
  picture.NewImage(64, 32);
  for (int frame = 0; frame < 5; ++frame) {
    Desktop().DrawPicture(picture, 128, 64);
    Desktop().DrawText(0, 0, "Speed: 75%", RGB(0, 255, 0));
    EXPECT_TRUE(EventsWithin(milliseconds(40)).empty());
  }
}

}  // namespace
}  // namespace pellark
