#include "core/instruction.h"
#include "core/low_byte.h"
#include "core/machine.h"

namespace pellark {
void Machine::ExecuteInstruction() {
  InstructionCount += 1;
  PC = NextFetchAddress();
  // A copy: the handler may write the cells it came from.
  const Instruction instruction = MemoryCells.InstructionAt(PC);
  ReadKeypad();
  SettleStep(RunHandler(instruction), instruction.length);
}

void Machine::TryNextInstruction(Machine& trial, MachineHost& host, TraceLog& trace,
                                 std::vector<std::int32_t>& cellWrites) const {
  trial = *this;
  trial.host_ = &host;
  trial.trace_ = &trace;
  cellWrites.clear();
  trial.cellWrites_ = &cellWrites;
  trial.ExecuteInstruction();
  trial.cellWrites_ = nullptr;
}

void Machine::SettleStep(CycleEnd end, std::int32_t length) {
  switch (end) {
    case CycleEnd::Advance: PcStep = length; break;
    case CycleEnd::Transfer: PcStep = 0; break;
    case CycleEnd::KeepStep: break;
  }
}

// The one dispatch of the instruction set: every operation is a case, and there is no default,
// so an operation added to the set does not compile until it has its handler here.
Machine::CycleEnd Machine::RunHandler(const Instruction& in) {
  switch (in.kind) {
    case Instruction::Kind::NoHandler: return CycleEnd::KeepStep;
    case Instruction::Kind::NoRow: return CycleEnd::Advance;
    case Instruction::Kind::UnknownGroupZero: return RunUnknownGroupZero(in);
    case Instruction::Kind::Handler: break;
  }
  auto& vx = Registers[in.x];
  auto& vy = Registers[in.y];
  // Every handler but the comparing skips, when it is the one skipped, only clears the skip.
  if (!in.comparingSkip && ConsumeSkip()) return CycleEnd::Advance;
  switch (in.operation) {
    // Flow: jumps, calls and skips.
    case Operation::Skeq: return SkipIf(in, vx == in.kk);
    case Operation::Skne: return SkipIf(in, vx != in.kk);
    case Operation::Skeqr: return SkipIf(in, vx == vy);
    case Operation::SkneRegister: return SkipIf(in, vx != vy);
    case Operation::Jmp: return Jump(in, in.nnn);
    case Operation::Jmi: return Jump(in, in.nnn + Registers[Rules.switches.jump ? in.x : 0]);
    case Operation::Jsr: return Call(in);
    case Operation::Rts: return Return(in);
    // Registers and arithmetic.
    case Operation::MovByte: vx = in.kk; return Traced(in);
    case Operation::AddByte: vx = LowByte(vx + in.kk); return Traced(in, in.kk);
    case Operation::Mvi: I = in.nnn; return Traced(in);
    case Operation::Rnd:
      vx = Rules.randomByteMasked ? Random.RandomUpTo(255) & in.kk : Random.RandomUpTo(in.kk);
      return Traced(in);
    case Operation::MovRegister: vx = vy; return Traced(in);
    case Operation::Or: return Logic(in, vx | vy);
    case Operation::And: return Logic(in, vx & vy);
    case Operation::Xor: return Logic(in, vx ^ vy);
    case Operation::AddRegister: return AddRegisters(in);
    case Operation::Sub: return Subtract(in, vx, vy);
    case Operation::Rsb: return Subtract(in, vy, vx);
    case Operation::Shr: return ShiftRight(in);
    case Operation::Shl: return ShiftLeft(in);
    // Display.
    case Operation::Nop:
      // On the platforms 0000 is no instruction: it only passes.
      if (!Rules.platformGroupZero) ScrollScreen(0, -6);
      return Traced(in);
    case Operation::Scdown: ScrollScreen(0, in.n); return Traced(in);
    case Operation::Cls: ClearScreen(); return Traced(in);
    case Operation::Scright: ScrollScreen(4, 0); return Traced(in);
    case Operation::Scleft: ScrollScreen(-4, 0); return Traced(in);
    case Operation::Low: SetResolution(64, 32); return Traced(in);
    case Operation::High: SetResolution(128, 64); return Traced(in);
    case Operation::Drw:
    case Operation::XDrw: DrawSprite(in); return CycleEnd::Advance;
    // Keypad, timers and memory.
    case Operation::Skpr: return SkipIfKey(in, IsKeypadKeyHeld(vx));
    case Operation::Skup: return SkipIfKey(in, !IsKeypadKeyHeld(vx));
    // The step is settled when the wait ends.
    case Operation::Key: BeginKeyWait(in); return CycleEnd::KeepStep;
    case Operation::GDelay: vx = DelayTimer; return Traced(in);
    case Operation::SDelay: DelayTimer = vx; return Traced(in);
    // Its line shows the value just loaded.
    case Operation::SSound: SoundTimer = vx; return Traced(in, SoundTimer);
    case Operation::Addi: AddToI(vx); return Traced(in);
    case Operation::Font: I = 5 * (Rules.completeFonts ? vx & 0xF : vx); return Traced(in);
    case Operation::Xfont:
      I = Rules.completeFonts ? LargeDigitAddress(vx & 0xF) : 10 * vx;
      return Traced(in);
    case Operation::Bcd: StoreDecimalDigits(vx); return Traced(in);
    case Operation::Str: StoreRegisters(in.x); return Traced(in);
    case Operation::Ldr: LoadRegisters(in.x); return Traced(in);
    case Operation::LdRVx: SaveFlags(in.x); return Traced(in);
    case Operation::LdVxR: RestoreFlags(in.x); return Traced(in);
    // XO-CHIP.
    case Operation::LongMvi: I = in.nnnn; return Traced(in, in.nnnn);
    case Operation::SaveRange: SaveRange(in); return Traced(in);
    case Operation::LoadRange: LoadRange(in); return Traced(in);
    case Operation::Plane: PlaneMask = in.x & 3; return Traced(in);
    case Operation::Audio: CopyAudioPattern(); return Traced(in);
    case Operation::Pitch: Pitch = vx; return Traced(in);
    case Operation::Scup: ScrollScreen(0, -in.n); return Traced(in);
  }
  return CycleEnd::Advance;
}

}  // namespace pellark
