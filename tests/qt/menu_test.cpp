#include <QKeySequence>
#include <QMenu>
#include <QStringList>

#include <span>
#include <vector>

#include "desktop_fixture.h"
#include "frontend/menu_tree.h"

namespace pellark {
namespace {

using MenuTest = DesktopTest;

// One line per entry, indented by depth: "-" for a separator, "[ ]" for a checkable item.
void Describe(const QList<QAction*>& actions, int depth, QStringList& lines) {
  const QString indent(depth * 2, QLatin1Char(' '));
  for (const QAction* action : actions) {
    if (action->isSeparator()) {
      lines << indent + "-";
      continue;
    }
    lines << indent + (action->isCheckable() ? "[ ] " : "") + action->text();
    if (action->menu() != nullptr) Describe(action->menu()->actions(), depth + 1, lines);
  }
}

// The same description of the program's menu table.
QStringList Describe(std::span<const MenuEntry> entries) {
  QStringList lines;
  int depth = 0;
  for (const MenuEntry& entry : entries) {
    const QString indent(depth * 2, QLatin1Char(' '));
    const QString label = QString::fromUtf8(entry.label.data(), entry.label.size());
    switch (entry.kind) {
      case MenuEntry::Kind::Title:
        lines << label;
        depth = 1;
        break;
      case MenuEntry::Kind::Submenu:
        lines << indent + label;
        ++depth;
        break;
      case MenuEntry::Kind::EndSubmenu: --depth; break;
      case MenuEntry::Kind::Item: lines << indent + label; break;
      case MenuEntry::Kind::CheckItem: lines << indent + "[ ] " + label; break;
      case MenuEntry::Kind::Separator: lines << indent + "-"; break;
    }
  }
  return lines;
}

TEST_F(MenuTest, BuildsTheProgramsTreeInOrder) {
  QStringList lines;
  Describe(MenuBar().actions(), 0, lines);
  EXPECT_EQ(lines, Describe(kMenuTree));
}

TEST_F(MenuTest, EveryItemReportsItsId) {
  std::vector<int> ids;
  for (const MenuEntry& entry : kMenuTree) {
    if (entry.kind != MenuEntry::Kind::Item && entry.kind != MenuEntry::Kind::CheckItem) continue;
    FindAction(QString::fromUtf8(entry.label.data(), entry.label.size()))->trigger();
    ids.push_back(static_cast<int>(entry.id));
  }
  for (const int id : ids) EXPECT_EQ(Desktop().PollWindowEvent(), MenuSelection(id));
}

TEST_F(MenuTest, MarksAreSetOnlyByTheProgram) {
  EXPECT_FALSE(Desktop().GetItemCheck(10));
  Desktop().SetItemCheck(10, true);
  EXPECT_TRUE(Desktop().GetItemCheck(10));
  EXPECT_TRUE(FindAction("Debugger")->isChecked());

  FindAction("Debugger")->trigger();
  FindAction("Antiflicker (F11)")->trigger();
  EXPECT_EQ(NextEvent(), MenuSelection(10));
  EXPECT_EQ(NextEvent(), MenuSelection(15));
  EXPECT_TRUE(Desktop().GetItemCheck(10));
  EXPECT_TRUE(FindAction("Debugger")->isChecked());
  EXPECT_FALSE(Desktop().GetItemCheck(15));
  EXPECT_FALSE(FindAction("Antiflicker (F11)")->isChecked());

  Desktop().SetItemCheck(10, false);
  EXPECT_FALSE(Desktop().GetItemCheck(10));
  EXPECT_FALSE(FindAction("Debugger")->isChecked());
}

TEST_F(MenuTest, MarksOfUnknownItemsAreIgnored) {
  Desktop().SetItemCheck(99, true);
  EXPECT_FALSE(Desktop().GetItemCheck(99));
}

TEST_F(MenuTest, ANewMenuBarStartsEmpty) {
  Desktop().SetItemCheck(12, true);
  Desktop().CreateMenuBar();
  EXPECT_TRUE(MenuBar().actions().isEmpty());
  EXPECT_FALSE(Desktop().GetItemCheck(12));
}

TEST_F(MenuTest, LabelsShowNoShortcutTextAndGetNoMnemonic) {
  Desktop().AddMenuTitle("Tools & More");
  Desktop().AddMenuItem(30, "Save & Quit", MenuItemKind::Plain);
  for (const QAction* action : MenuBar().findChildren<QAction*>()) {
    EXPECT_TRUE(action->shortcut().isEmpty()) << action->text().toStdString();
    EXPECT_FALSE(action->text().contains(QLatin1Char('\t')));
    EXPECT_TRUE(QKeySequence::mnemonic(action->text()).isEmpty()) << action->text().toStdString();
  }
  EXPECT_NE(FindAction("Tools & More"), nullptr);
  EXPECT_NE(FindAction("Save & Quit"), nullptr);
}

}  // namespace
}  // namespace pellark
