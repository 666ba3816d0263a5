#include "desktop_fixture.h"

#include <QApplication>
#include <QMenu>
#include <ostream>
#include <string_view>

#include "frontend/menu_tree.h"

namespace pellark {
namespace {

using std::chrono::steady_clock;

QAction* FindActionIn(const QList<QAction*>& actions, const QString& label) {
  for (QAction* action : actions) {
    if (QString(action->text()).replace(QLatin1String("&&"), QLatin1String("&")) == label) {
      return action;
    }
    if (action->menu() != nullptr) {
      if (QAction* found = FindActionIn(action->menu()->actions(), label)) return found;
    }
  }
  return nullptr;
}

}  // namespace

QtDesktop* DesktopTest::desktop_ = nullptr;

void DesktopTest::SetUp() {
  ASSERT_NE(desktop_, nullptr);
  ASSERT_TRUE(Desktop().OpenMainWindow(130, 130, 128, 64, "Pellark"));
  Desktop().CreateMenuBar();
  BuildMenuTree(Desktop());
  BindFunctionKeys(Desktop());
  Desktop().SetClientSize(128, 64 + Desktop().GetMenuHeight());
  // What opening the window itself reports is not the concern of the tests.
  EventsWithin(std::chrono::milliseconds(20));
}

void DesktopTest::TearDown() {
  Desktop().FreeControl();
  EventsWithin(std::chrono::milliseconds(5));
}

QWidget& DesktopTest::PictureArea() {
  for (QWidget* widget : QApplication::allWidgets()) {
    if (widget->objectName() == QLatin1String("pictureArea")) return *widget;
  }
  ADD_FAILURE() << "no picture area";
  std::abort();
}

QMenuBar& DesktopTest::MenuBar() {
  return *Window().findChild<QMenuBar*>();
}

QAbstractItemView* DesktopTest::List() {
  return PictureArea().findChild<QAbstractItemView*>();
}

QAction* DesktopTest::FindAction(const QString& label) {
  return FindActionIn(MenuBar().actions(), label);
}

WindowEvent DesktopTest::NextEvent(std::chrono::milliseconds timeout) {
  const auto end = steady_clock::now() + timeout;
  do {
    const WindowEvent event = Desktop().PollWindowEvent();
    if (event.kind != WindowEvent::Kind::None) return event;
  } while (steady_clock::now() < end);
  return {};
}

bool DesktopTest::PollUntil(const std::function<bool()>& done) {
  const auto end = steady_clock::now() + kEventLimit;
  while (!done()) {
    if (steady_clock::now() >= end) return false;
    Desktop().PollWindowEvent();
  }
  return true;
}

std::vector<WindowEvent> DesktopTest::EventsWithin(std::chrono::milliseconds time) {
  std::vector<WindowEvent> events;
  const auto end = steady_clock::now() + time;
  while (steady_clock::now() < end) {
    const WindowEvent event = Desktop().PollWindowEvent();
    if (event.kind != WindowEvent::Kind::None) events.push_back(event);
  }
  return events;
}

bool operator==(const WindowEvent& left, const WindowEvent& right) {
  return left.kind == right.kind && left.menuId == right.menuId && left.path == right.path &&
         left.address == right.address && left.follow == right.follow && left.text == right.text;
}

void PrintTo(const WindowEvent& event, std::ostream* out) {
  constexpr const char* kNames[] = {
      "None",         "MenuSelection",    "CloseRequest",     "RepaintRequest",   "FileDrop",
      "InspectorDue", "InspectorClosed",  "BreakpointToggle", "BreakpointRemove", "MemoryGoTo",
      "FollowPc",     "WatchpointToggle", "WatchpointRemove"};
  *out << kNames[static_cast<int>(event.kind)] << "(" << event.menuId << ", " << event.path << ", "
       << event.address << ", " << event.follow << ", " << event.text << ")";
}

}  // namespace pellark
