#include "core/instruction.h"
#include "core/keypad_map.h"
#include "core/machine.h"
#include "core/machine_host.h"
#include "platform/keyboard.h"

namespace pellark {

void Machine::ReadKeypad() {
  keyboard_.SnapshotKeyboard();
  std::int32_t highestHeld = -1;
  for (const auto& entry : kKeypadMap) {
    const bool held = keyboard_.IsKeyHeld(entry.scanCode) != 0;
    KeyStates[static_cast<std::size_t>(entry.key)] = held ? 1 : 0;
    if (held && entry.key > highestHeld) highestHeld = entry.key;
  }
  // The highest key held wins; with none held the last value stays.
  if (highestHeld >= 0) PendingKey = highestHeld + 1;
}

bool Machine::IsKeypadKeyHeld(std::int32_t key) const {
  // The keypad has no key above F.
  return key >= 0 && key < 16 && KeyStates[static_cast<std::size_t>(key)] == 1;
}

Machine::CycleEnd Machine::RunGroupE(const Instruction& in) {
  const std::string_view b = in.B.Text();
  if (b != "9E" && b != "A1") return CycleEnd::Advance;
  if (ConsumeSkip()) return CycleEnd::Advance;
  const bool held = IsKeypadKeyHeld(Registers[static_cast<std::size_t>(in.x)]);
  if (b == "9E") {
    SkipNext = held ? 1 : 0;
    Trace(in, Mnemonic::Skpr, PendingKey);
  } else {
    SkipNext = held ? 0 : 1;
    Trace(in, Mnemonic::Skup, PendingKey);
  }
  return CycleEnd::Advance;
}

void Machine::WaitForKey(const Instruction& in) {
  PendingKey = 0;
  Trace(in, Mnemonic::Key);
  // Menu commands run inside the wait; Quit and every reset end it by setting PendingKey to 16.
  do {
    host_.PollEvents();
    ReadKeypad();
  } while (PendingKey == 0);
  PendingKey = PendingKey - 1;
  Registers[static_cast<std::size_t>(in.x)] = PendingKey;
}

Machine::CycleEnd Machine::RunGroupF(const Instruction& in) {
  enum class Operation { None, GDelay, Key, SDelay, SSound, Addi, Font, Xfont, Bcd, Str, Ldr, LdRVx, LdVxR };
  const std::string_view b = in.B.Text();
  Operation operation = Operation::None;
  if (b == "7") operation = Operation::GDelay;
  else if (b == "A") operation = Operation::Key;
  else if (b == "15") operation = Operation::SDelay;
  else if (b == "18") operation = Operation::SSound;
  else if (b == "1E") operation = Operation::Addi;
  else if (b == "29") operation = Operation::Font;
  else if (b == "30") operation = Operation::Xfont;
  else if (b == "33") operation = Operation::Bcd;
  else if (b == "55") operation = Operation::Str;
  else if (b == "65") operation = Operation::Ldr;
  else if (b == "75") operation = Operation::LdRVx;
  else if (b == "85") operation = Operation::LdVxR;
  if (operation == Operation::None) return CycleEnd::Advance;
  if (ConsumeSkip()) return CycleEnd::Advance;

  auto& vx = Registers[static_cast<std::size_t>(in.x)];
  switch (operation) {
    case Operation::GDelay:
      vx = DelayTimer;
      Trace(in, Mnemonic::GDelay);
      break;
    case Operation::Key: WaitForKey(in); break;
    case Operation::SDelay:
      DelayTimer = vx;
      Trace(in, Mnemonic::SDelay);
      break;
    case Operation::SSound:
      SoundTimer = vx;
      Trace(in, Mnemonic::SSound, SoundTimer);
      break;
    case Operation::Addi:
      I += vx;
      // Wraps by 0xFFF, not 0x1000: 0x1000 itself stays, 0x1001 becomes 2.
      if (I > kLastCell) I -= 0xFFF;
      Trace(in, Mnemonic::Addi);
      break;
    case Operation::Font:
      I = 5 * vx;
      Trace(in, Mnemonic::Font);
      break;
    case Operation::Xfont:
      I = 10 * vx;
      Trace(in, Mnemonic::Xfont);
      break;
    case Operation::Bcd:
      SetCell(I, ToHexByte(vx / 100));
      SetCell(I + 1, ToHexByte(vx / 10 % 10));
      SetCell(I + 2, ToHexByte(vx % 10));
      Trace(in, Mnemonic::Bcd);
      break;
    case Operation::Str:
      for (std::int32_t k = 0; k <= in.x; ++k) SetCell(I + k, ToHexByte(Registers[static_cast<std::size_t>(k)]));
      Trace(in, Mnemonic::Str);
      break;
    case Operation::Ldr:
      for (std::int32_t k = 0; k <= in.x; ++k) Registers[static_cast<std::size_t>(k)] = HexToNumber(Cell(I + k).Text());
      Trace(in, Mnemonic::Ldr);
      break;
    case Operation::LdRVx: Trace(in, Mnemonic::LdRVx); break;
    case Operation::LdVxR: Trace(in, Mnemonic::LdVxR); break;
    case Operation::None: break;
  }
  return CycleEnd::Advance;
}

}  // namespace pellark
