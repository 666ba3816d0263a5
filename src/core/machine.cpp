#include "core/machine.h"

#include "core/instruction.h"
#include "core/machine_host.h"
#include "platform/byte_file.h"
#include "trace/trace_log.h"

namespace pellark {

Machine::Machine(MachineHost& host, KeyboardService& keyboard, TraceLog& trace)
    : host_(host), keyboard_(keyboard), trace_(trace) {}

void Machine::StartUp() {
  ScreenWidth = 64;
  ScreenHeight = 32;
  Random.SeedRandom(1);
  ScreenImage.NewImage(ScreenWidth, ScreenHeight);
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
  ScreenWidth = 64;
  ScreenHeight = 32;
  // Ends a key wait in progress, and makes the cycle in progress fetch next at the new PC.
  PendingKey = 16;
  ResetMark = 1;
  if (ResetAddress == kBootStart) {
    MemoryCells.fill(HexByte());
    LoadBootImage();
  }
  host_.LayOutWindow();
  ClearScreen();
  host_.RefreshWindow();
  Registers.fill(0);
  PC = ResetAddress;
  Running = 1;
}

void Machine::LoadBootImage() {
  ByteFile file;
  if (!file.OpenFileForReading(BootImageName)) {
    host_.ShowMessageBox("Pellark", "Error: Can't read the rom file");
    return;
  }
  // A longer image keeps only what fits in memory.
  for (std::int32_t address = 0; address <= kLastCell && !file.AtEndOfFile(); ++address) {
    SetCell(address, ToHexByte(file.ReadFileByte()));
  }
  file.CloseFileSlot();
}

bool Machine::ConsumeSkip() {
  if (SkipNext == 0) return false;
  SkipNext = 0;
  return true;
}

void Machine::Trace(const Instruction& instruction, Mnemonic mnemonic, std::int32_t value) {
  if (TraceEnabled != 1) return;
  trace_.AddTraceLine(TraceLine(PC, mnemonic, instruction.Operands(value)).View());
}

}  // namespace pellark
