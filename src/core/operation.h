#pragma once

#include <cstdint>

namespace pellark {

// The instruction set: every operation a decoded instruction can name. Each has its handler in
// the instruction cycle's dispatch and its text in the trace; both switch over this enum
// without a default, so the compiler names every place a new operation must reach. Operations
// that share a mnemonic but differ in operands ("Mov V0,$5" and "Mov V0,V1") have one entry each.
enum class Operation : std::uint8_t {
  Nop,
  Scdown,
  Cls,
  Rts,
  Scright,
  Scleft,
  Low,
  High,
  Jmp,
  Jsr,
  Skeq,
  Skne,
  Skeqr,
  MovByte,
  AddByte,
  MovRegister,
  Or,
  And,
  Xor,
  AddRegister,
  Sub,
  Shr,
  Rsb,
  Shl,
  SkneRegister,
  Mvi,
  Jmi,
  Rnd,
  XDrw,
  Drw,
  Skpr,
  Skup,
  GDelay,
  Key,
  SDelay,
  SSound,
  Addi,
  Font,
  Xfont,
  Bcd,
  Str,
  Ldr,
  LdRVx,
  LdVxR,
  // XO-CHIP's own.
  LongMvi,
  SaveRange,
  LoadRange,
  Plane,
  Audio,
  Pitch,
  Scup,
};

}  // namespace pellark
