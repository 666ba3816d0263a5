#include "platform/qt/scan_code.h"

#include <string_view>

namespace pellark {
namespace {

constexpr int kXKeycodeOffset = 8;
constexpr int kScanCodeCount = 256;

// The letter and digit rows of a US keyboard, each with the scan code of its first key: a key
// event's name gives its position when the event carries no native code.
struct KeyRow {
  std::string_view legends;
  int firstScanCode;
};
constexpr KeyRow kKeyRows[] = {
    {"1234567890", 0x02},
    {"QWERTYUIOP", 0x10},
    {"ASDFGHJKL", 0x1E},
    {"ZXCVBNM", 0x2C},
};

// Keys without a legend letter: the arrow keys, Space and Left Shift, which the programs the
// database knows may take, and Backspace, which rewinds.
struct NamedKey {
  int key;
  int scanCode;
};
constexpr NamedKey kNamedKeys[] = {
    {Qt::Key_Up, 0x67},    {Qt::Key_Down, 0x6C},  {Qt::Key_Left, 0x69},      {Qt::Key_Right, 0x6A},
    {Qt::Key_Space, 0x39}, {Qt::Key_Shift, 0x2A}, {Qt::Key_Backspace, 0x0E},
};

int ScanCodeOfLegend(int key) {
  for (const NamedKey& named : kNamedKeys) {
    if (named.key == key) return named.scanCode;
  }
  // Qt names the letter and digit keys by their upper-case ASCII codes.
  if (key <= 0 || key >= 0x80) return -1;
  for (const KeyRow& row : kKeyRows) {
    const std::size_t column = row.legends.find(static_cast<char>(key));
    if (column != std::string_view::npos) return row.firstScanCode + static_cast<int>(column);
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
  return ScanCodeOfLegend(event.key());
}

}  // namespace pellark
