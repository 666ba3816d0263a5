// Jumps, calls, returns, skips and the end of a program.
#include "core/instruction.h"
#include "core/machine.h"
#include "core/machine_host.h"

namespace pellark {
namespace {

// The stack pointer moves without bound on runaway calls or returns; wrap instead of
// overflowing.
std::int32_t Wrapped(std::int64_t value) {
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

Machine::CycleEnd Machine::SkipIf(const Instruction& in, bool condition) {
  // A comparing skip shows its line even when it is itself skipped, and then only clears the
  // pending skip.
  Trace(in, in.operation);
  SkipNext = condition && SkipNext == 0 ? 1 : 0;
  return CycleEnd::Advance;
}

Machine::CycleEnd Machine::Jump(const Instruction& in, std::int32_t target) {
  Trace(in, in.operation);
  PC = target;
  return CycleEnd::Transfer;
}

Machine::CycleEnd Machine::RunUnknownGroupZero(const Instruction& in) {
  if (!Rules.platformGroupZero) return CycleEnd::KeepStep;
  // The platforms run 00FD as the end of the program and pass over every other 0nnn.
  if (ConsumeSkip()) return CycleEnd::Advance;
  return in.EndsProgram() ? EndProgram() : CycleEnd::Advance;
}

Machine::CycleEnd Machine::EndProgram() {
  Running = 0;
  host_->ProgramEnded();
  // PC stays on the instruction: run again, the program ends again.
  return CycleEnd::Transfer;
}

Machine::CycleEnd Machine::Return(const Instruction& in) {
  Trace(in, Operation::Rts);
  // Past either end of the stack there is no slot to read; such a return continues at 0, as
  // the empty slots 0 and 16 do.
  const bool inStack =
      StackPointer >= 0 && StackPointer < static_cast<std::int32_t>(CallStack.size());
  PC = inStack ? CallStack[static_cast<std::size_t>(StackPointer)] : 0;
  StackPointer = Wrapped(std::int64_t{StackPointer} - 1);
  return CycleEnd::Transfer;
}

Machine::CycleEnd Machine::Call(const Instruction& in) {
  StackPointer = Wrapped(std::int64_t{StackPointer} + 1);
  // Slots 1 to 15 hold calls; a deeper call stores nothing. Slot 0 is reached only after an
  // underflow.
  if (StackPointer >= 0 && StackPointer < 16) {
    CallStack[static_cast<std::size_t>(StackPointer)] = PC + in.length;
  }
  Trace(in, Operation::Jsr);
  PC = in.nnn;
  return CycleEnd::Transfer;
}

}  // namespace pellark
