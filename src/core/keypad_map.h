#pragma once

#include <array>

namespace pellark {

struct KeypadKey {
  int scanCode;
  int key;
};

// The block 1-2-3-4 / Q-W-E-R / A-S-D-F / Z-X-C-V, by key position, stands for the keypad rows
// 1 2 3 C / 4 5 6 D / 7 8 9 E / A 0 B F. No other PC key reaches the keypad.
inline constexpr std::array<KeypadKey, 16> kKeypadMap{{
    {0x02, 0x1},
    {0x03, 0x2},
    {0x04, 0x3},
    {0x05, 0xC},
    {0x10, 0x4},
    {0x11, 0x5},
    {0x12, 0x6},
    {0x13, 0xD},
    {0x1E, 0x7},
    {0x1F, 0x8},
    {0x20, 0x9},
    {0x21, 0xE},
    {0x2C, 0xA},
    {0x2D, 0x0},
    {0x2E, 0xB},
    {0x2F, 0xF},
}};

// The scan code of the PC key that stands for keypad key 0 to F.
constexpr int ScanCodeOfKeypadKey(int key) {
  for (const KeypadKey& entry : kKeypadMap) {
    if (entry.key == key) return entry.scanCode;
  }
  return -1;
}

// The PC keys that press the keypad keys a program names for up, down, left, right, a and b:
// the arrow keys, Space and Left Shift, by their Linux scan codes.
inline constexpr std::array<int, 6> kProgramKeyScanCodes{0x67, 0x6C, 0x69, 0x6A, 0x39, 0x2A};

}  // namespace pellark
