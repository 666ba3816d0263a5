#include "core/instruction.h"
#include "core/machine.h"
#include "core/machine_host.h"

namespace pellark {
namespace {

// Keeps the low 8 bits, as the round trip through a two-character cell text does.
std::int32_t LowByte(std::int32_t value) {
  return value & 0xFF;
}

// The stack pointer moves without bound on runaway calls or returns; wrap instead of
// overflowing.
std::int32_t Wrapped(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

void Machine::ExecuteInstruction() {
  InstructionCount += 1;
  PC = NextFetchAddress();
  // A copy: the handler may write the cells it came from.
  const Instruction instruction = MemoryCells.InstructionAt(PC);
  ReadKeypad();
  SettleStep(RunHandler(instruction));
}

void Machine::SettleStep(CycleEnd end) {
  switch (end) {
    case CycleEnd::Advance: PcStep = 2; break;
    case CycleEnd::Transfer: PcStep = 0; break;
    case CycleEnd::KeepStep: break;
  }
}

Machine::CycleEnd Machine::RunHandler(const Instruction& in) {
  switch (in.kind) {
    case Instruction::Kind::NoHandler: return CycleEnd::KeepStep;
    case Instruction::Kind::NoRow: return CycleEnd::Advance;
    case Instruction::Kind::UnknownGroupZero: return RunUnknownGroupZero(in);
    case Instruction::Kind::Handler: break;
  }
  auto& vx = Registers[in.x];
  const std::int32_t vy = Registers[in.y];
  // Every handler but the comparing skips, when it is the one skipped, only clears the skip.
  if (!in.comparingSkip && ConsumeSkip()) return CycleEnd::Advance;
  switch (in.handler) {
    case Mnemonic::Skeq: return SkipIf(in, Mnemonic::Skeq, vx == in.kk);
    case Mnemonic::Skne: return SkipIf(in, Mnemonic::Skne, vx != in.kk);
    case Mnemonic::Skeqr: return SkipIf(in, Mnemonic::Skeqr, vx == vy);
    case Mnemonic::SkneRegister: return SkipIf(in, Mnemonic::SkneRegister, vx != vy);
    case Mnemonic::Jmp:
      Trace(in, Mnemonic::Jmp);
      PC = in.nnn;
      return CycleEnd::Transfer;
    case Mnemonic::Jsr: Call(in); return CycleEnd::Transfer;
    case Mnemonic::Rts: Return(in); return CycleEnd::Transfer;
    case Mnemonic::MovByte:
      vx = in.kk;
      Trace(in, Mnemonic::MovByte);
      return CycleEnd::Advance;
    case Mnemonic::AddByte:
      vx = LowByte(vx + in.kk);
      Trace(in, Mnemonic::AddByte, in.kk);
      return CycleEnd::Advance;
    case Mnemonic::Mvi:
      I = in.nnn;
      Trace(in, Mnemonic::Mvi);
      return CycleEnd::Advance;
    case Mnemonic::Jmi:
      Trace(in, Mnemonic::Jmi);
      PC = in.nnn + Registers[Rules.switches.jump ? in.x : 0];
      return CycleEnd::Transfer;
    case Mnemonic::Rnd:
      vx = Rules.randomByteMasked ? Random.RandomUpTo(255) & in.kk : Random.RandomUpTo(in.kk);
      Trace(in, Mnemonic::Rnd);
      return CycleEnd::Advance;
    case Mnemonic::MovRegister:
    case Mnemonic::Or:
    case Mnemonic::And:
    case Mnemonic::Xor:
    case Mnemonic::AddRegister:
    case Mnemonic::Sub:
    case Mnemonic::Shr:
    case Mnemonic::Rsb:
    case Mnemonic::Shl: RunArithmetic(in); return CycleEnd::Advance;
    case Mnemonic::Nop:
    case Mnemonic::Scdown:
    case Mnemonic::Cls:
    case Mnemonic::Scright:
    case Mnemonic::Scleft:
    case Mnemonic::Low:
    case Mnemonic::High:
    case Mnemonic::Drw:
    case Mnemonic::XDrw: RunDisplayInstruction(in); return CycleEnd::Advance;
    // The step is settled when the wait ends.
    case Mnemonic::Key: BeginKeyWait(in); return CycleEnd::KeepStep;
    default: RunKeypadTimerOrMemoryInstruction(in); return CycleEnd::Advance;
  }
}

Machine::CycleEnd Machine::SkipIf(const Instruction& in, Mnemonic mnemonic, bool condition) {
  // A comparing skip shows its line even when it is itself skipped, and then only clears the
  // pending skip.
  Trace(in, mnemonic);
  SkipNext = condition && SkipNext == 0 ? 1 : 0;
  return CycleEnd::Advance;
}

Machine::CycleEnd Machine::RunUnknownGroupZero(const Instruction& in) {
  if (!Rules.platformGroupZero) return CycleEnd::KeepStep;
  // The platforms run 00FD as the end of the program and pass over every other 0nnn.
  if (ConsumeSkip()) return CycleEnd::Advance;
  return in.EndsProgram() ? EndProgram() : CycleEnd::Advance;
}

Machine::CycleEnd Machine::EndProgram() {
  Running = 0;
  host_.ProgramEnded();
  // PC stays on the instruction: run again, the program ends again.
  return CycleEnd::Transfer;
}

void Machine::Return(const Instruction& in) {
  Trace(in, Mnemonic::Rts);
  // Past either end of the stack there is no slot to read; such a return continues at 0, as
  // the empty slots 0 and 16 do.
  const bool inStack =
      StackPointer >= 0 && StackPointer < static_cast<std::int32_t>(CallStack.size());
  PC = inStack ? CallStack[static_cast<std::size_t>(StackPointer)] : 0;
  StackPointer = Wrapped(std::int64_t{StackPointer} - 1);
}

void Machine::Call(const Instruction& in) {
  StackPointer = Wrapped(std::int64_t{StackPointer} + 1);
  // Slots 1 to 15 hold calls; a deeper call stores nothing. Slot 0 is reached only after an
  // underflow.
  if (StackPointer >= 0 && StackPointer < 16) {
    CallStack[static_cast<std::size_t>(StackPointer)] = PC + 2;
  }
  Trace(in, Mnemonic::Jsr);
  PC = in.nnn;
}

template <typename ComputeResult>
void Machine::WriteResultAndFlag(std::int32_t x, std::int32_t flag, ComputeResult computeResult) {
  auto& vx = Registers[static_cast<std::size_t>(x)];
  auto& vf = Registers[15];
  if (Rules.flagWrittenLast) {
    vx = computeResult();
    vf = flag;
  } else {
    vf = flag;
    vx = computeResult();
  }
}

void Machine::RunArithmetic(const Instruction& in) {
  auto& vx = Registers[in.x];
  auto& vy = Registers[in.y];
  auto& vf = Registers[15];
  // The logic switch clears the flag after Or, And and Xor.
  const auto logicFlag = [this, &vf] {
    if (Rules.switches.logic) vf = 0;
  };
  // The register a shift reads: Vx itself, or Vy without the shift switch. Read when the
  // result is computed, so in the designed order a flag register operand is the new flag.
  const auto shifted = [this, &vx, &vy]() -> const std::int32_t& {
    return Rules.switches.shift ? vx : vy;
  };
  switch (in.handler) {
    case Mnemonic::MovRegister: vx = vy; break;
    case Mnemonic::Or:
      vx = vx | vy;
      logicFlag();
      break;
    case Mnemonic::And:
      vx = vx & vy;
      logicFlag();
      break;
    case Mnemonic::Xor:
      vx = vx ^ vy;
      logicFlag();
      break;
    case Mnemonic::AddRegister: {
      // The flag is written after the sum, and always: a sum that fits clears it.
      const std::int32_t sum = vx + vy;
      vx = LowByte(sum);
      vf = sum > 255 ? 1 : 0;
      break;
    }
    case Mnemonic::Sub:
      WriteResultAndFlag(in.x, vx >= vy ? 1 : 0, [&] { return LowByte(vx - vy); });
      break;
    case Mnemonic::Shr:
      WriteResultAndFlag(in.x, shifted() & 1, [&] { return shifted() >> 1; });
      break;
    case Mnemonic::Rsb:
      WriteResultAndFlag(in.x, vy >= vx ? 1 : 0, [&] { return LowByte(vy - vx); });
      break;
    case Mnemonic::Shl:
      WriteResultAndFlag(in.x, shifted() >> 7 & 1, [&] { return LowByte(shifted() * 2); });
      break;
    default: return;
  }
  Trace(in, in.handler);
}

}  // namespace pellark
