// Group 8: register to register arithmetic and logic, with VF as the flag.
#include "core/instruction.h"
#include "core/low_byte.h"
#include "core/machine.h"

namespace pellark {

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

Machine::CycleEnd Machine::Logic(const Instruction& in, std::int32_t result) {
  Registers[in.x] = result;
  // The logic switch clears the flag after Or, And and Xor.
  if (Rules.switches.logic) Registers[15] = 0;
  return Traced(in);
}

Machine::CycleEnd Machine::AddRegisters(const Instruction& in) {
  // The flag is written after the sum, and always: a sum that fits clears it.
  const std::int32_t sum = Registers[in.x] + Registers[in.y];
  Registers[in.x] = LowByte(sum);
  Registers[15] = sum > 255 ? 1 : 0;
  return Traced(in);
}

Machine::CycleEnd Machine::Subtract(const Instruction& in, const std::int32_t& minuend,
                                    const std::int32_t& subtrahend) {
  // References: in the designed order a flag register operand is read as the new flag.
  WriteResultAndFlag(in.x, minuend >= subtrahend ? 1 : 0,
                     [&] { return LowByte(minuend - subtrahend); });
  return Traced(in);
}

const std::int32_t& Machine::ShiftedRegister(const Instruction& in) const {
  // Vx itself, or Vy without the shift switch. Read when the result is computed, so in the
  // designed order a flag register operand is the new flag.
  return Registers[Rules.switches.shift ? in.x : in.y];
}

Machine::CycleEnd Machine::ShiftRight(const Instruction& in) {
  const std::int32_t& shifted = ShiftedRegister(in);
  WriteResultAndFlag(in.x, shifted & 1, [&] { return shifted >> 1; });
  return Traced(in);
}

Machine::CycleEnd Machine::ShiftLeft(const Instruction& in) {
  const std::int32_t& shifted = ShiftedRegister(in);
  WriteResultAndFlag(in.x, shifted >> 7 & 1, [&] { return LowByte(shifted * 2); });
  return Traced(in);
}

}  // namespace pellark
