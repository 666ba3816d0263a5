#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <algorithm>

#include "core/text_memory.h"
#include "platform/qt/state_view.h"

#include "desktop_fixture.h"
#include "platform/qt/memory_view.h"

namespace pellark {
namespace {

// A snapshot with the designed machine's memory, every cell empty.
InspectorSnapshot DesignedSnapshot() {
  InspectorSnapshot snapshot;
  snapshot.memory.resize(kDesignedMemoryCells);
  return snapshot;
}

using Kind = WindowEvent::Kind;
using std::chrono::milliseconds;

class InspectorWindowTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    Desktop().OpenInspector();
  }
  void TearDown() override {
    Desktop().CloseInspector();
    DesktopTest::TearDown();
  }

  static QWidget& Inspector() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
      if (widget->windowTitle() == QLatin1String("Pellark Inspector")) return *widget;
    }
    ADD_FAILURE() << "no Inspector";
    std::abort();
  }
  template <typename Widget>
  static Widget& Child(const char* name) {
    return *Inspector().findChild<Widget*>(QLatin1String(name));
  }
  // What the user's actions made of the events, without the Inspector's own requests.
  static std::vector<WindowEvent> UserEvents() {
    std::vector<WindowEvent> events = EventsWithin(milliseconds(40));
    std::erase_if(events,
                  [](const WindowEvent& event) { return event.kind == Kind::InspectorDue; });
    return events;
  }
};

TEST_F(InspectorWindowTest, AsksForSnapshotsAndShowsTheState) {
  EXPECT_TRUE(Inspector().isVisible());
  EXPECT_EQ(NextEvent().kind, Kind::InspectorDue);
  InspectorSnapshot snapshot = DesignedSnapshot();
  snapshot.registers[0xA] = 0x2B;
  Desktop().ShowInspector(snapshot);
  EXPECT_EQ(Child<StateView>("machineState").Text() + "\n",
            QString::fromStdString(StateText(snapshot)));
}

TEST_F(InspectorWindowTest, DoubleClickingACellTogglesItsBreakpoint) {
  InspectorSnapshot snapshot = DesignedSnapshot();
  snapshot.followPc = false;
  snapshot.goTo = 0x200;
  Desktop().ShowInspector(snapshot);
  MemoryView& memory = Child<MemoryView>("memory");
  const int character = memory.fontMetrics().horizontalAdvance(QLatin1Char('0'));
  // Inside the text of cell 3 of the second row shown, 0x213.
  const QPoint cell((MemoryCellColumn(3) + 1) * character, memory.fontMetrics().height() * 3 / 2);
  QTest::mouseDClick(memory.viewport(), Qt::LeftButton, Qt::NoModifier, cell);
  EXPECT_EQ(UserEvents(), (std::vector<WindowEvent>{{Kind::BreakpointToggle, 0, 0x213}}));
}

TEST_F(InspectorWindowTest, TypedAddressesGoToMemoryAndToggleBreakpoints) {
  Desktop().ShowInspector(DesignedSnapshot());
  QLineEdit& goTo = Child<QLineEdit>("goTo");
  QTest::keyClicks(&goTo, "$2A0");
  QTest::keyClick(&goTo, Qt::Key_Return);
  QLineEdit& breakpoint = Child<QLineEdit>("breakpointAddress");
  QTest::keyClicks(&breakpoint, "10000");
  QTest::keyClick(&breakpoint, Qt::Key_Return);
  // Refused, the text stays for correcting.
  EXPECT_EQ(breakpoint.text(), "10000");
  breakpoint.clear();
  QTest::keyClicks(&breakpoint, "0x300");
  QTest::keyClick(&breakpoint, Qt::Key_Return);
  EXPECT_EQ(UserEvents(), (std::vector<WindowEvent>{{Kind::MemoryGoTo, 0, 0x2A0},
                                                    {Kind::BreakpointToggle, 0, 0x300}}));
}

TEST_F(InspectorWindowTest, TypedWatchpointsGoToTheProgramAndTheListRemovesThem) {
  InspectorSnapshot snapshot = DesignedSnapshot();
  snapshot.watchpoints = {"$300:4", "V3"};
  Desktop().ShowInspector(snapshot);
  QLineEdit& watchpoint = Child<QLineEdit>("watchpoint");
  QTest::keyClicks(&watchpoint, " v3 ");
  QTest::keyClick(&watchpoint, Qt::Key_Return);
  EXPECT_EQ(watchpoint.text(), "");
  auto& list = Child<QListWidget>("watchpoints");
  ASSERT_EQ(list.count(), 2);
  list.setCurrentRow(1);
  QTest::mouseClick(&Child<QPushButton>("removeWatchpoint"), Qt::LeftButton);
  EXPECT_EQ(UserEvents(),
            (std::vector<WindowEvent>{{.kind = Kind::WatchpointToggle, .text = "v3"},
                                      {.kind = Kind::WatchpointRemove, .text = "V3"}}));
}

TEST_F(InspectorWindowTest, ItsCloseBoxHidesItAndSaysSo) {
  Inspector().close();
  EXPECT_FALSE(Inspector().isVisible());
  EXPECT_EQ(UserEvents(), (std::vector<WindowEvent>{{Kind::InspectorClosed}}));
}

}  // namespace
}  // namespace pellark
