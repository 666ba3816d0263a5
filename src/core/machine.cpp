#include "core/machine.h"

#include "core/instruction.h"
#include "core/machine_host.h"
#include "trace/trace_log.h"

namespace pellark {

Machine::Machine(MachineHost& host, KeyboardService& keyboard)
    : host_(&host), keyboard_(&keyboard) {}

void Machine::StartUp() {
  Random.SeedRandom(1);
  ResetAddress = kBootStart;
  ResetMachine();
}

void Machine::ResetMachine() {
  PcStep = 0;
  SkipNext = 0;
  I = 1;
  StackPointer = 0;
  DelayTimer = 0;
  SoundTimer = 0;
  TimerTick = 0;
  FrameCycle = 0;
  FrameEndRequested = 0;
  InstructionCount = 0;
  QuitRequested = 0;
  Display.Resize(64, 32);
  SecondPlane.Resize(64, 32);
  PlaneMask = 1;
  AudioPattern.fill(kResetPatternByte);
  Pitch = kResetPitch;
  PatternPosition = 0;
  // Ends a key wait in progress; the next fetch is at the new PC, whatever the wait writes.
  InterruptKeyWait();
  keyWaitLength_ = 0;
  if (ResetAddress == kBootStart) {
    MemoryCells.Clear();
    StoreBootImage();
  }
  host_->LayOutWindow();
  ClearScreen();
  host_->RefreshWindow();
  Registers.fill(0);
  PC = ResetAddress;
  Running = 1;
}

void Machine::UseRules(const MachineRules& rules) {
  Rules = rules;
  const std::size_t cells = rules.xoChip ? kXoChipMemoryCells : kDesignedMemoryCells;
  if (MemoryCells.Size() != cells || MemoryCells.XoChip() != rules.xoChip)
    MemoryCells.Reshape(cells, rules.xoChip);
  addressMask_ = rules.xoChip ? kXoChipMemoryCells - 1 : -1;
}

void Machine::StoreBootImage() {
  if (!BootImage) {
    host_->BootImageUnreadable();
    return;
  }
  // A longer image keeps only what fits in memory.
  std::int32_t address = 0;
  for (const std::uint8_t byte : *BootImage) SetCell(address++, ToHexByte(byte));
}

void Machine::LoadProgram(std::span<const std::uint8_t> bytes) {
  PC = kProgramStart;
  std::int32_t address = kProgramStart;
  for (const std::uint8_t byte : bytes) SetCell(address++, ToHexByte(byte));
}

void Machine::AddTraceLine(const Instruction& instruction, Operation operation,
                           std::int32_t value) {
  trace_->AddTraceLine(TraceLine(PC, operation, instruction.Operands(value)).View());
}

}  // namespace pellark
