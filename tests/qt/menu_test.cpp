#include <QKeySequence>
#include <QMenu>
#include <QStringList>

#include "desktop_fixture.h"

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

TEST_F(MenuTest, BuildsTheTreeInOrder) {
  QStringList lines;
  Describe(MenuBar().actions(), 0, lines);
  const QStringList expected = {
      "File",
      "  Load...",
      "    Load (F1)",
      "    Reload (F2)",
      "  Reset...",
      "    Reset (F10)",
      "    Reset at 200h (F9)",
      "  Save program",
      "  -",
      "  About...",
      "  -",
      "  Quit",
      "Emulation",
      "  [ ] Run (F5)",
      "  [ ] Stop (F6)",
      "  -",
      "  [ ] Debugger",
      "  -",
      "  Video",
      "    Screen Size",
      "      [ ] x1",
      "      [ ] x2",
      "      [ ] x3",
      "      [ ] x4",
      "    [ ] Antiflicker (F11)",
      "    [ ] Invert Colors (F12)",
      "  -",
      "  Speed",
      "    Predefined",
      "      25%",
      "      50%",
      "      75%",
      "      100%",
      "    Decrement 5% (F7)",
      "    Increment 5% (F8)",
  };
  EXPECT_EQ(lines, expected);
}

TEST_F(MenuTest, EveryItemReportsItsId) {
  const char* const labels[] = {"Load (F1)",
                                "Reload (F2)",
                                "Reset (F10)",
                                "Reset at 200h (F9)",
                                "Save program",
                                "About...",
                                "Quit",
                                "Run (F5)",
                                "Stop (F6)",
                                "Debugger",
                                "x1",
                                "x2",
                                "x3",
                                "x4",
                                "Antiflicker (F11)",
                                "Invert Colors (F12)",
                                "25%",
                                "50%",
                                "75%",
                                "100%",
                                "Decrement 5% (F7)",
                                "Increment 5% (F8)"};
  for (const char* label : labels) FindAction(label)->trigger();
  for (int id = 1; id <= 22; ++id) EXPECT_EQ(Desktop().PollWindowEvent(), MenuSelection(id));
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
