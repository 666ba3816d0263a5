#include "platform/qt/scan_code.h"

namespace pellark {
namespace {

constexpr int kXKeycodeOffset = 8;
constexpr int kScanCodeCount = 256;

struct KeypadKey {
  int key;
  int scanCode;
};

constexpr KeypadKey kKeypadKeys[] = {
    {Qt::Key_1, 0x02}, {Qt::Key_2, 0x03}, {Qt::Key_3, 0x04}, {Qt::Key_4, 0x05},
    {Qt::Key_Q, 0x10}, {Qt::Key_W, 0x11}, {Qt::Key_E, 0x12}, {Qt::Key_R, 0x13},
    {Qt::Key_A, 0x1E}, {Qt::Key_S, 0x1F}, {Qt::Key_D, 0x20}, {Qt::Key_F, 0x21},
    {Qt::Key_Z, 0x2C}, {Qt::Key_X, 0x2D}, {Qt::Key_C, 0x2E}, {Qt::Key_V, 0x2F},
};

int ScanCodeOfKeypadKey(int key) {
  for (const KeypadKey& keypadKey : kKeypadKeys) {
    if (keypadKey.key == key) return keypadKey.scanCode;
  }
  return -1;
}

}  // namespace

int ScanCodeOf(const QKeyEvent& event, bool nativeCodesAreXKeycodes) {
  const auto native = static_cast<int>(event.nativeScanCode());
  if (nativeCodesAreXKeycodes && native >= kXKeycodeOffset) {
    const int code = native - kXKeycodeOffset;
    return code < kScanCodeCount ? code : -1;
  }
  return ScanCodeOfKeypadKey(event.key());
}

}  // namespace pellark
