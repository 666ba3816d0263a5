#include <algorithm>
#include <array>

#include "core/instruction.h"
#include "core/keypad_map.h"
#include "core/machine.h"
#include "core/machine_host.h"
#include "platform/keyboard.h"

namespace pellark {

void Machine::ReadKeypad() {
  keyboard_->SnapshotKeyboard();
  // The keypad states follow from the snapshot alone: read it again only when it changed.
  if (keyboard_->SnapshotGeneration() != keypadGeneration_) {
    keypadGeneration_ = keyboard_->SnapshotGeneration();
    highestKeyHeld_ = -1;
    for (const auto& entry : kKeypadMap) {
      const bool held = keyboard_->IsKeyHeld(entry.scanCode) != 0;
      KeyStates[static_cast<std::size_t>(entry.key)] = held ? 1 : 0;
      if (held && entry.key > highestKeyHeld_) highestKeyHeld_ = entry.key;
    }
    // A keypad key is held when any PC key for it is.
    for (const auto& entry : extraKeys_) {
      if (keyboard_->IsKeyHeld(entry.scanCode) == 0) continue;
      KeyStates[static_cast<std::size_t>(entry.key)] = 1;
      highestKeyHeld_ = std::max(highestKeyHeld_, entry.key);
    }
  }
  // The highest key held wins; with none held the last value stays.
  if (highestKeyHeld_ >= 0) PendingKey = highestKeyHeld_ + 1;
}

void Machine::SetExtraKeys(std::span<const KeypadKey> keys) {
  extraKeys_.assign(keys.begin(), keys.end());
  // The keypad is read anew with them at its next reading.
  ForgetKeypadReading();
}

void Machine::UseKeyboard(KeyboardService& keyboard) {
  keyboard_ = &keyboard;
  ForgetKeypadReading();
}

void Machine::ForgetKeypadReading() {
  keypadGeneration_ = keyboard_->SnapshotGeneration() - 1;
}

bool Machine::IsKeypadKeyHeld(std::int32_t key) const {
  // The keypad has no key above F.
  return key >= 0 && key < 16 && KeyStates[static_cast<std::size_t>(key)] == 1;
}

void Machine::BeginKeyWait(const Instruction& in) {
  PendingKey = 0;
  Trace(in, Operation::Key);
  KeyWaitRegister = in.x;
  keyWaitLength_ = in.length;
  keyWaitInterrupted_ = false;
}

bool Machine::KeyWaitAwaitsRelease() const {
  return Rules.keyWaitForRelease && !keyWaitInterrupted_ && IsKeypadKeyHeld(PendingKey - 1);
}

bool Machine::ContinueKeyWait() {
  ReadKeypad();
  if (PendingKey == 0 || KeyWaitAwaitsRelease()) {
    // With frame timing the wait sleeps to the next frame, and the timers go on counting.
    if (Rules.frameTiming) EndFrame(FramePacing::RealTime);
    return false;
  }
  PendingKey = PendingKey - 1;
  Registers[static_cast<std::size_t>(KeyWaitRegister)] = PendingKey;
  KeyWaitRegister = kNoKeyWait;
  if (keyWaitLength_ != 0) SettleStep(CycleEnd::Advance, keyWaitLength_);
  return true;
}

void Machine::InterruptKeyWait() {
  // The highest keypad value + 1 is 16: the wait ends as if key F were pressed, unless a key
  // is held when it next reads the keypad; not even a key yet to be let go holds it up.
  PendingKey = 16;
  keyWaitInterrupted_ = true;
}

std::int32_t Machine::LargeDigitAddress(std::int32_t digit) const {
  return digit < 8 ? kLowLargeDigits + 10 * digit : 10 * digit;
}

void Machine::AdvanceIAfterTransfer(std::int32_t x) {
  // Without the memory switch I ends past the last register moved, or on it with increment
  // (the HP48's CHIP-48 and SUPER-CHIP 1.0); I is 16 bits wide there.
  if (Rules.switches.memory) return;
  I = (I + x + (Rules.switches.increment ? 0 : 1)) & 0xFFFF;
}

void Machine::SaveFlags(std::int32_t x) {
  // Without a flag store (the designed machine) the instruction only shows its line.
  const std::int32_t count = std::min(x + 1, Rules.flagRegisterCount);
  for (std::int32_t k = 0; k < count; ++k) {
    FlagRegisters[static_cast<std::size_t>(k)] = Registers[static_cast<std::size_t>(k)];
  }
}

void Machine::RestoreFlags(std::int32_t x) {
  const std::int32_t count = std::min(x + 1, Rules.flagRegisterCount);
  for (std::int32_t k = 0; k < count; ++k) {
    Registers[static_cast<std::size_t>(k)] = FlagRegisters[static_cast<std::size_t>(k)];
  }
}

Machine::CycleEnd Machine::SkipIfKey(const Instruction& in, bool condition) {
  SkipNext = condition ? 1 : 0;
  Trace(in, in.operation, PendingKey);
  return CycleEnd::Advance;
}

void Machine::AddToI(std::int32_t value) {
  I += value;
  if (Rules.xoChip) {
    I &= kXoChipMemoryCells - 1;
    return;
  }
  // Wraps by one less than the last cell: the last cell itself stays, one past it becomes 2.
  if (I > LastCell()) I -= LastCell() - 1;
}

void Machine::SaveRange(const Instruction& in) {
  const int step = in.x <= in.y ? 1 : -1;
  for (int k = 0, v = in.x;; ++k, v += step) {
    SetCell(I + k, ToHexByte(Registers[static_cast<std::size_t>(v)]));
    if (v == in.y) break;
  }
}

void Machine::LoadRange(const Instruction& in) {
  const int step = in.x <= in.y ? 1 : -1;
  for (int k = 0, v = in.x;; ++k, v += step) {
    Registers[static_cast<std::size_t>(v)] = CellValue(I + k);
    if (v == in.y) break;
  }
}

void Machine::CopyAudioPattern() {
  // A copy: later writes to the cells leave the pattern as it is.
  for (std::size_t k = 0; k < AudioPattern.size(); ++k)
    AudioPattern[k] = static_cast<std::uint8_t>(CellValue(I + static_cast<std::int32_t>(k)));
}

void Machine::StoreDecimalDigits(std::int32_t value) {
  SetCell(I, ToHexByte(value / 100));
  SetCell(I + 1, ToHexByte(value / 10 % 10));
  SetCell(I + 2, ToHexByte(value % 10));
}

void Machine::StoreRegisters(std::int32_t x) {
  for (std::int32_t k = 0; k <= x; ++k) {
    SetCell(I + k, ToHexByte(Registers[static_cast<std::size_t>(k)]));
  }
  AdvanceIAfterTransfer(x);
}

void Machine::LoadRegisters(std::int32_t x) {
  for (std::int32_t k = 0; k <= x; ++k) {
    Registers[static_cast<std::size_t>(k)] = HexToNumber(Cell(I + k).Text());
  }
  AdvanceIAfterTransfer(x);
}

}  // namespace pellark
