#include <algorithm>
#include <array>

#include "core/instruction.h"
#include "core/keypad_map.h"
#include "core/machine.h"
#include "core/machine_host.h"
#include "platform/keyboard.h"

namespace pellark {

void Machine::ReadKeypad() {
  keyboard_.SnapshotKeyboard();
  // The keypad states follow from the snapshot alone: read it again only when it changed.
  if (keyboard_.SnapshotGeneration() != keypadGeneration_) {
    keypadGeneration_ = keyboard_.SnapshotGeneration();
    highestKeyHeld_ = -1;
    for (const auto& entry : kKeypadMap) {
      const bool held = keyboard_.IsKeyHeld(entry.scanCode) != 0;
      KeyStates[static_cast<std::size_t>(entry.key)] = held ? 1 : 0;
      if (held && entry.key > highestKeyHeld_) highestKeyHeld_ = entry.key;
    }
  }
  // The highest key held wins; with none held the last value stays.
  if (highestKeyHeld_ >= 0) PendingKey = highestKeyHeld_ + 1;
}

bool Machine::IsKeypadKeyHeld(std::int32_t key) const {
  // The keypad has no key above F.
  return key >= 0 && key < 16 && KeyStates[static_cast<std::size_t>(key)] == 1;
}

void Machine::BeginKeyWait(const Instruction& in) {
  PendingKey = 0;
  Trace(in, Mnemonic::Key);
  KeyWaitRegister = in.x;
  keyWaitSettlesStep_ = true;
}

bool Machine::ContinueKeyWait() {
  ReadKeypad();
  if (PendingKey == 0) {
    // With frame timing the wait sleeps to the next frame, and the timers go on counting.
    if (Rules.frameTiming) EndFrame(FramePacing::RealTime);
    return false;
  }
  PendingKey = PendingKey - 1;
  Registers[static_cast<std::size_t>(KeyWaitRegister)] = PendingKey;
  KeyWaitRegister = kNoKeyWait;
  if (keyWaitSettlesStep_) SettleStep(CycleEnd::Advance);
  return true;
}

void Machine::InterruptKeyWait() {
  // The highest keypad value + 1 is 16: the wait ends as if key F were pressed, unless a key
  // is held when it next reads the keypad.
  PendingKey = 16;
}

std::int32_t Machine::LargeDigitAddress(std::int32_t digit) const {
  return digit < 8 ? kLowLargeDigits + 10 * digit : 10 * digit;
}

void Machine::AdvanceIAfterTransfer(std::int32_t x) {
  // Without the memory switch I ends past the last register moved; I is 16 bits wide there.
  if (!Rules.switches.memory) I = (I + x + 1) & 0xFFFF;
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

void Machine::RunKeypadTimerOrMemoryInstruction(const Instruction& in) {
  auto& vx = Registers[in.x];
  switch (in.handler) {
    case Mnemonic::Skpr:
      SkipNext = IsKeypadKeyHeld(vx) ? 1 : 0;
      Trace(in, Mnemonic::Skpr, PendingKey);
      return;
    case Mnemonic::Skup:
      SkipNext = IsKeypadKeyHeld(vx) ? 0 : 1;
      Trace(in, Mnemonic::Skup, PendingKey);
      return;
    case Mnemonic::GDelay: vx = DelayTimer; break;
    case Mnemonic::SDelay: DelayTimer = vx; break;
    case Mnemonic::SSound: SoundTimer = vx; break;
    case Mnemonic::Addi:
      I += vx;
      // Wraps by 0xFFF, not 0x1000: 0x1000 itself stays, 0x1001 becomes 2.
      if (I > kLastCell) I -= 0xFFF;
      break;
    case Mnemonic::Font: I = 5 * (Rules.completeFonts ? vx & 0xF : vx); break;
    case Mnemonic::Xfont: I = Rules.completeFonts ? LargeDigitAddress(vx & 0xF) : 10 * vx; break;
    case Mnemonic::Bcd:
      SetCell(I, ToHexByte(vx / 100));
      SetCell(I + 1, ToHexByte(vx / 10 % 10));
      SetCell(I + 2, ToHexByte(vx % 10));
      break;
    case Mnemonic::Str:
      for (std::int32_t k = 0; k <= in.x; ++k) {
        SetCell(I + k, ToHexByte(Registers[static_cast<std::size_t>(k)]));
      }
      AdvanceIAfterTransfer(in.x);
      break;
    case Mnemonic::Ldr:
      for (std::int32_t k = 0; k <= in.x; ++k) {
        Registers[static_cast<std::size_t>(k)] = HexToNumber(Cell(I + k).Text());
      }
      AdvanceIAfterTransfer(in.x);
      break;
    case Mnemonic::LdRVx: SaveFlags(in.x); break;
    case Mnemonic::LdVxR: RestoreFlags(in.x); break;
    default: break;
  }
  // Of these lines only the sound timer's shows a value: the one just loaded.
  Trace(in, in.handler, SoundTimer);
}

}  // namespace pellark
