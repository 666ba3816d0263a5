#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QTest>

#include "desktop_fixture.h"

namespace pellark {
namespace {

using FunctionKeyTest = DesktopTest;

// Counts the key presses that reach a widget.
class KeyPressCounter : public QObject {
 public:
  int presses = 0;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::KeyPress) ++presses;
    return false;
  }
};

TEST_F(FunctionKeyTest, SelectTheBoundItemsWhateverTheMenuOrder) {
  QTest::keyClick(&PictureArea(), Qt::Key_F9);
  QTest::keyClick(&PictureArea(), Qt::Key_F10);
  QTest::keyClick(&PictureArea(), Qt::Key_F12);
  EXPECT_EQ(NextEvent(), MenuSelection(4));
  EXPECT_EQ(NextEvent(), MenuSelection(3));
  EXPECT_EQ(NextEvent(), MenuSelection(16));
}

TEST_F(FunctionKeyTest, WorkInTheListWithoutReachingIt) {
  Desktop().CreateListBox(0, 66, 128, 64);
  Desktop().AddListItem("$200: Cls");
  NextEvent(std::chrono::milliseconds(50));
  QAbstractItemView& list = *List();
  list.setFocus();
  KeyPressCounter counter;
  list.installEventFilter(&counter);
  QTest::keyClick(&list, Qt::Key_F2);
  EXPECT_EQ(NextEvent(), MenuSelection(2));
  EXPECT_EQ(counter.presses, 0);
  QTest::keyClick(&list, Qt::Key_Down);
  EXPECT_EQ(counter.presses, 1);
}

TEST_F(FunctionKeyTest, WorkInAnOpenMenu) {
  QMenu& file = *FindAction("File")->menu();
  file.popup(Window().mapToGlobal(QPoint(0, 0)));
  QTest::keyClick(&file, Qt::Key_F1);
  file.close();
  EXPECT_EQ(NextEvent(), MenuSelection(1));
}

TEST_F(FunctionKeyTest, RepeatWhileHeld) {
  for (const bool autoRepeat : {false, true, true}) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_F8, Qt::NoModifier, QString(), autoRepeat);
    QApplication::sendEvent(&PictureArea(), &press);
  }
  EXPECT_EQ(EventsWithin(std::chrono::milliseconds(20)),
            std::vector<WindowEvent>(3, MenuSelection(22)));
}

TEST_F(FunctionKeyTest, WithAModifierSelectNothing) {
  QTest::keyClick(&PictureArea(), Qt::Key_F5, Qt::ShiftModifier);
  QTest::keyClick(&PictureArea(), Qt::Key_F5, Qt::ControlModifier);
  EXPECT_TRUE(EventsWithin(std::chrono::milliseconds(20)).empty());
}

TEST_F(FunctionKeyTest, WithExactlyTheirModifierSelectTheirOwnItems) {
  Desktop().BindModifiedShortcutKey(1, KeyModifier::Shift, 69);
  Desktop().BindModifiedShortcutKey(1, KeyModifier::Control, 71);
  QTest::keyClick(&PictureArea(), Qt::Key_F1, Qt::ShiftModifier);
  QTest::keyClick(&PictureArea(), Qt::Key_F1, Qt::ControlModifier);
  QTest::keyClick(&PictureArea(), Qt::Key_F1);
  // Two modifiers are neither binding.
  QTest::keyClick(&PictureArea(), Qt::Key_F1, Qt::ShiftModifier | Qt::ControlModifier);
  EXPECT_EQ(EventsWithin(std::chrono::milliseconds(20)),
            (std::vector<WindowEvent>{MenuSelection(69), MenuSelection(71), MenuSelection(1)}));
}

TEST_F(FunctionKeyTest, ASecondBindingReplacesTheFirst) {
  Desktop().BindShortcutKey(3, 5);
  Desktop().BindShortcutKey(3, 7);
  QTest::keyClick(&PictureArea(), Qt::Key_F3);
  EXPECT_EQ(EventsWithin(std::chrono::milliseconds(20)),
            std::vector<WindowEvent>{MenuSelection(7)});
}

TEST_F(FunctionKeyTest, UnboundKeysSelectNothing) {
  QTest::keyClick(&PictureArea(), Qt::Key_F13);
  EXPECT_TRUE(EventsWithin(std::chrono::milliseconds(20)).empty());
}

}  // namespace
}  // namespace pellark
