#include "desktop_fixture.h"

#include <QApplication>
#include <QMenu>
#include <ostream>
#include <string_view>

namespace pellark {
namespace {

using std::chrono::steady_clock;

struct MenuEntry {
  enum Step { Title, Submenu, End, Item, Check, Separator } step;
  std::string_view label = {};
  int id = 0;
};

// The program's menu tree.
constexpr MenuEntry kProgramMenu[] = {
    {MenuEntry::Title, "File"},
    {MenuEntry::Submenu, "Load..."},
    {MenuEntry::Item, "Load (F1)", 1},
    {MenuEntry::Item, "Reload (F2)", 2},
    {MenuEntry::End},
    {MenuEntry::Submenu, "Reset..."},
    {MenuEntry::Item, "Reset (F10)", 3},
    {MenuEntry::Item, "Reset at 200h (F9)", 4},
    {MenuEntry::End},
    {MenuEntry::Item, "Save program", 5},
    {MenuEntry::Separator},
    {MenuEntry::Item, "About...", 6},
    {MenuEntry::Separator},
    {MenuEntry::Item, "Quit", 7},
    {MenuEntry::Title, "Emulation"},
    {MenuEntry::Check, "Run (F5)", 8},
    {MenuEntry::Check, "Stop (F6)", 9},
    {MenuEntry::Separator},
    {MenuEntry::Check, "Debugger", 10},
    {MenuEntry::Separator},
    {MenuEntry::Submenu, "Video"},
    {MenuEntry::Submenu, "Screen Size"},
    {MenuEntry::Check, "x1", 11},
    {MenuEntry::Check, "x2", 12},
    {MenuEntry::Check, "x3", 13},
    {MenuEntry::Check, "x4", 14},
    {MenuEntry::End},
    {MenuEntry::Check, "Antiflicker (F11)", 15},
    {MenuEntry::Check, "Invert Colors (F12)", 16},
    {MenuEntry::End},
    {MenuEntry::Separator},
    {MenuEntry::Submenu, "Speed"},
    {MenuEntry::Submenu, "Predefined"},
    {MenuEntry::Item, "25%", 17},
    {MenuEntry::Item, "50%", 18},
    {MenuEntry::Item, "75%", 19},
    {MenuEntry::Item, "100%", 20},
    {MenuEntry::End},
    {MenuEntry::Item, "Decrement 5% (F7)", 21},
    {MenuEntry::Item, "Increment 5% (F8)", 22},
};

// Function key and menu id, in the order the program binds them.
constexpr int kProgramShortcuts[][2] = {{1, 1}, {2, 2},  {10, 3}, {9, 4},   {5, 8},
                                        {6, 9}, {7, 21}, {8, 22}, {11, 15}, {12, 16}};

void BuildProgramMenu(WindowSystem& desktop) {
  desktop.CreateMenuBar();
  for (const MenuEntry& entry : kProgramMenu) {
    switch (entry.step) {
      case MenuEntry::Title: desktop.AddMenuTitle(entry.label); break;
      case MenuEntry::Submenu: desktop.BeginSubmenu(entry.label); break;
      case MenuEntry::End: desktop.EndSubmenu(); break;
      case MenuEntry::Item: desktop.AddMenuItem(entry.id, entry.label, MenuItemKind::Plain); break;
      case MenuEntry::Check:
        desktop.AddMenuItem(entry.id, entry.label, MenuItemKind::Checkable);
        break;
      case MenuEntry::Separator: desktop.AddMenuSeparator(); break;
    }
  }
}

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

WindowSystem* DesktopTest::desktop_ = nullptr;

void DesktopTest::SetUp() {
  ASSERT_NE(desktop_, nullptr);
  ASSERT_TRUE(Desktop().OpenMainWindow(130, 130, 128, 64, "Pellark"));
  BuildProgramMenu(Desktop());
  for (const auto& [functionKey, id] : kProgramShortcuts)
    Desktop().BindShortcutKey(functionKey, id);
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
  return left.kind == right.kind && left.menuId == right.menuId;
}

void PrintTo(const WindowEvent& event, std::ostream* out) {
  constexpr const char* kNames[] = {"None", "MenuSelection", "CloseRequest", "RepaintRequest"};
  *out << kNames[static_cast<int>(event.kind)];
  if (event.kind == WindowEvent::Kind::MenuSelection) *out << "(" << event.menuId << ")";
}

}  // namespace pellark
