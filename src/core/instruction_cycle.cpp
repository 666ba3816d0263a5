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
  ResetMark = 0;
  InstructionCount += 1;
  PC = NextFetchAddress();
  const Instruction instruction(Cell(PC), Cell(PC + 1));
  ReadKeypad();
  const CycleEnd end = RunHandler(instruction);
  // A reset inside the key wait has set PC and PcStep for the next fetch itself.
  if (ResetMark == 1) return;
  switch (end) {
    case CycleEnd::Advance: PcStep = 2; break;
    case CycleEnd::Transfer: PcStep = 0; break;
    case CycleEnd::KeepStep: break;
  }
}

Machine::CycleEnd Machine::RunHandler(const Instruction& in) {
  if (in.A.Text() == "0") return RunGroupZero(in);
  const std::string_view group = in.G();
  if (group.empty()) return CycleEnd::KeepStep;
  auto& vx = Registers[static_cast<std::size_t>(in.x)];
  const std::int32_t vy = Registers[static_cast<std::size_t>(in.y)];
  switch (group[0]) {
    case '1':
      if (ConsumeSkip()) return CycleEnd::Advance;
      Trace(in, Mnemonic::Jmp);
      PC = in.nnn;
      return CycleEnd::Transfer;
    case '2':
      if (ConsumeSkip()) return CycleEnd::Advance;
      Call(in);
      return CycleEnd::Transfer;
    case '3': return SkipIf(in, Mnemonic::Skeq, vx == in.kk);
    case '4': return SkipIf(in, Mnemonic::Skne, vx != in.kk);
    case '5': return SkipIf(in, Mnemonic::Skeqr, vx == vy);
    case '6':
      if (ConsumeSkip()) return CycleEnd::Advance;
      vx = in.kk;
      Trace(in, Mnemonic::MovByte);
      return CycleEnd::Advance;
    case '7':
      if (ConsumeSkip()) return CycleEnd::Advance;
      vx = LowByte(vx + in.kk);
      Trace(in, Mnemonic::AddByte, in.kk);
      return CycleEnd::Advance;
    case '8': return RunGroupEight(in);
    case '9': return SkipIf(in, Mnemonic::SkneRegister, vx != vy);
    case 'A':
      if (ConsumeSkip()) return CycleEnd::Advance;
      I = in.nnn;
      Trace(in, Mnemonic::Mvi);
      return CycleEnd::Advance;
    case 'B':
      if (ConsumeSkip()) return CycleEnd::Advance;
      Trace(in, Mnemonic::Jmi);
      PC = in.nnn + Registers[static_cast<std::size_t>(Rules.switches.jump ? in.x : 0)];
      return CycleEnd::Transfer;
    case 'C':
      if (ConsumeSkip()) return CycleEnd::Advance;
      vx = Rules.randomByteMasked ? Random.RandomUpTo(255) & in.kk : Random.RandomUpTo(in.kk);
      Trace(in, Mnemonic::Rnd);
      return CycleEnd::Advance;
    case 'D':
      if (ConsumeSkip()) return CycleEnd::Advance;
      DrawSprite(in);
      return CycleEnd::Advance;
    case 'E': return RunGroupE(in);
    case 'F': return RunGroupF(in);
    default: return CycleEnd::KeepStep;
  }
}

Machine::CycleEnd Machine::SkipIf(const Instruction& in, Mnemonic mnemonic, bool condition) {
  // A comparing skip shows its line even when it is itself skipped, and then only clears the
  // pending skip.
  Trace(in, mnemonic);
  SkipNext = condition && SkipNext == 0 ? 1 : 0;
  return CycleEnd::Advance;
}

Machine::CycleEnd Machine::RunGroupZero(const Instruction& in) {
  const std::string_view b = in.B.Text();
  if (b == "0" || b == "1") {
    if (ConsumeSkip()) return CycleEnd::Advance;
    // On the platforms 0000 is no instruction: it only passes.
    if (!Rules.platformGroupZero) ScrollScreen(0, -6);
    Trace(in, Mnemonic::Nop);
    return CycleEnd::Advance;
  }
  if (LeftPart(in.B2.Text(), 1) == "C") {
    if (ConsumeSkip()) return CycleEnd::Advance;
    ScrollScreen(0, in.n);
    Trace(in, Mnemonic::Scdown);
    return CycleEnd::Advance;
  }
  if (b == "EE") {
    if (ConsumeSkip()) return CycleEnd::Advance;
    Return(in);
    return CycleEnd::Transfer;
  }
  if (b != "E0" && b != "FB" && b != "FC" && b != "FE" && b != "FF") {
    if (!Rules.platformGroupZero) return CycleEnd::KeepStep;
    // The platforms run 00FD as the end of the program and pass over every other 0nnn.
    if (ConsumeSkip()) return CycleEnd::Advance;
    return b == "FD" ? EndProgram() : CycleEnd::Advance;
  }
  if (ConsumeSkip()) return CycleEnd::Advance;
  if (b == "E0") {
    ClearScreen();
    Trace(in, Mnemonic::Cls);
  } else if (b == "FB") {
    ScrollScreen(4, 0);
    Trace(in, Mnemonic::Scright);
  } else if (b == "FC") {
    ScrollScreen(-4, 0);
    Trace(in, Mnemonic::Scleft);
  } else if (b == "FE") {
    SetResolution(64, 32);
    Trace(in, Mnemonic::Low);
  } else {
    SetResolution(128, 64);
    Trace(in, Mnemonic::High);
  }
  return CycleEnd::Advance;
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

Machine::CycleEnd Machine::RunGroupEight(const Instruction& in) {
  const std::string_view operation = in.SubOperation();
  if (operation.empty()) return CycleEnd::Advance;
  auto& vx = Registers[static_cast<std::size_t>(in.x)];
  auto& vy = Registers[static_cast<std::size_t>(in.y)];
  auto& vf = Registers[15];
  const auto runs = [this] { return !ConsumeSkip(); };
  // The logic switch clears the flag after Or, And and Xor.
  const auto logicFlag = [this, &vf] {
    if (Rules.switches.logic) vf = 0;
  };
  // The register a shift reads: Vx itself, or Vy without the shift switch. Read when the
  // result is computed, so in the designed order a flag register operand is the new flag.
  const auto shifted = [this, &vx, &vy]() -> const std::int32_t& {
    return Rules.switches.shift ? vx : vy;
  };
  switch (operation[0]) {
    case '0':
      if (runs()) {
        vx = vy;
        Trace(in, Mnemonic::MovRegister);
      }
      break;
    case '1':
      if (runs()) {
        vx = vx | vy;
        logicFlag();
        Trace(in, Mnemonic::Or);
      }
      break;
    case '2':
      if (runs()) {
        vx = vx & vy;
        logicFlag();
        Trace(in, Mnemonic::And);
      }
      break;
    case '3':
      if (runs()) {
        vx = vx ^ vy;
        logicFlag();
        Trace(in, Mnemonic::Xor);
      }
      break;
    case '4':
      if (runs()) {
        // The flag is written after the sum, and always: a sum that fits clears it.
        const std::int32_t sum = vx + vy;
        vx = LowByte(sum);
        vf = sum > 255 ? 1 : 0;
        Trace(in, Mnemonic::AddRegister);
      }
      break;
    case '5':
      if (runs()) {
        WriteResultAndFlag(in.x, vx >= vy ? 1 : 0, [&] { return LowByte(vx - vy); });
        Trace(in, Mnemonic::Sub);
      }
      break;
    case '6':
      if (runs()) {
        WriteResultAndFlag(in.x, shifted() & 1, [&] { return shifted() >> 1; });
        Trace(in, Mnemonic::Shr);
      }
      break;
    case '7':
      if (runs()) {
        WriteResultAndFlag(in.x, vy >= vx ? 1 : 0, [&] { return LowByte(vy - vx); });
        Trace(in, Mnemonic::Rsb);
      }
      break;
    case 'E':
      if (runs()) {
        WriteResultAndFlag(in.x, shifted() >> 7 & 1, [&] { return LowByte(shifted() * 2); });
        Trace(in, Mnemonic::Shl);
      }
      break;
    default: break;
  }
  return CycleEnd::Advance;
}

}  // namespace pellark
