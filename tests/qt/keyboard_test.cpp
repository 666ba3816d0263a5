#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <string_view>

#include "desktop_fixture.h"
#include "platform/qt/scan_code.h"

namespace pellark {
namespace {

QKeyEvent KeyPress(int key, quint32 nativeScanCode) {
  return QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, nativeScanCode, 0, 0);
}

TEST(ScanCodeTest, XKeycodesGiveThePositionWhateverTheLayout) {
  // X key code 38 is the key right of Caps Lock: A on QWERTY, Q on AZERTY.
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_Q, 38), true), 0x1E);
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_A, 38), true), 0x1E);
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_1, 10), true), 0x02);
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_V, 55), true), 0x2F);
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_Escape, 9), true), 0x01);
}

TEST(ScanCodeTest, WithoutNativeCodesLettersAndDigitsAreNamed) {
  constexpr std::string_view kKeys = "1234QWERASDFZXCV";
  constexpr int kCodes[] = {0x02, 0x03, 0x04, 0x05, 0x10, 0x11, 0x12, 0x13,
                            0x1E, 0x1F, 0x20, 0x21, 0x2C, 0x2D, 0x2E, 0x2F};
  for (std::size_t i = 0; i < kKeys.size(); ++i) {
    const int key = kKeys[i];
    EXPECT_EQ(ScanCodeOf(KeyPress(key, 0), true), kCodes[i]) << kKeys[i];
    EXPECT_EQ(ScanCodeOf(KeyPress(key, 38), false), kCodes[i]) << kKeys[i];
  }
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_0, 0), true), 0x0B);
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_G, 0), true), 0x22);
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_M, 0), true), 0x32);
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_Escape, 0), true), -1);
  EXPECT_EQ(ScanCodeOf(KeyPress(Qt::Key_Adiaeresis, 0), true), -1);
}

using KeyboardTest = DesktopTest;

TEST_F(KeyboardTest, SnapshotHoldsTheKeysDownAtThatMoment) {
  ASSERT_TRUE(Desktop().OpenKeyboardDevice());
  QTest::keyPress(&PictureArea(), Qt::Key_W);
  EXPECT_EQ(Desktop().IsKeyHeld(0x11), 0);
  ASSERT_TRUE(Desktop().SnapshotKeyboard());
  EXPECT_EQ(Desktop().IsKeyHeld(0x11), 128);
  EXPECT_EQ(Desktop().IsKeyHeld(0x10), 0);
  QTest::keyRelease(&PictureArea(), Qt::Key_W);
  EXPECT_EQ(Desktop().IsKeyHeld(0x11), 128);
  Desktop().SnapshotKeyboard();
  EXPECT_EQ(Desktop().IsKeyHeld(0x11), 0);
}

TEST_F(KeyboardTest, KeysCountWhicheverWidgetHasTheFocus) {
  Desktop().CreateListBox(0, 66, 128, 64);
  List()->setFocus();
  QTest::keyPress(List(), Qt::Key_C);
  QTest::keyPress(&MenuBar(), Qt::Key_4);
  Desktop().SnapshotKeyboard();
  EXPECT_EQ(Desktop().IsKeyHeld(0x2E), 128);
  EXPECT_EQ(Desktop().IsKeyHeld(0x05), 128);
  QTest::keyRelease(List(), Qt::Key_C);
  QTest::keyRelease(&MenuBar(), Qt::Key_4);
}

TEST_F(KeyboardTest, AutoRepeatDoesNotReleaseAKey) {
  QTest::keyPress(&PictureArea(), Qt::Key_S);
  QKeyEvent repeatRelease(QEvent::KeyRelease, Qt::Key_S, Qt::NoModifier, QString(), true);
  QApplication::sendEvent(&PictureArea(), &repeatRelease);
  Desktop().SnapshotKeyboard();
  EXPECT_EQ(Desktop().IsKeyHeld(0x1F), 128);
  QTest::keyRelease(&PictureArea(), Qt::Key_S);
  Desktop().SnapshotKeyboard();
  EXPECT_EQ(Desktop().IsKeyHeld(0x1F), 0);
}

TEST_F(KeyboardTest, LeavingTheApplicationReleasesEveryKey) {
  QTest::keyPress(&PictureArea(), Qt::Key_Z);
  QTest::keyPress(&PictureArea(), Qt::Key_1);
  QEvent deactivation(QEvent::ApplicationDeactivate);
  QApplication::sendEvent(qApp, &deactivation);
  Desktop().SnapshotKeyboard();
  EXPECT_EQ(Desktop().IsKeyHeld(0x2C), 0);
  EXPECT_EQ(Desktop().IsKeyHeld(0x02), 0);
}

}  // namespace
}  // namespace pellark
