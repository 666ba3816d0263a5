#pragma once

#include <cstdint>
#include <string_view>

#include "core/hex_byte.h"
#include "core/operation.h"
#include "platform/text.h"
#include "trace/trace_line.h"

namespace pellark {

// The most bytes one instruction reads from memory: XO-CHIP's F000 nnnn.
inline constexpr std::size_t kLongestInstructionLength = 4;

// One instruction taken apart as text: the fields are cut from the texts of its two cells, not
// computed from byte values, so a one-character first cell such as "6" acts as 0x66 would; and
// the handler is chosen by comparing those texts. Decoding looks only at the two texts, so the
// result holds for as long as neither cell is written.
class Instruction {
 public:
  // What the texts select.
  enum class Kind : std::uint8_t {
    NoHandler,         // an empty first cell: the step stays as it was
    NoRow,             // group 8, E or F without the operation: a step of 2, a skip stays
    UnknownGroupZero,  // 00 with a second byte no designed handler takes (00FD among them)
    Handler,           // the handler of `operation`
  };

  Instruction() : Instruction(HexByte(), HexByte()) {}
  Instruction(HexByte first, HexByte second);
  // With XO-CHIP's instructions beside the others; third and fourth are the cells after the
  // two, which only F000 nnnn reads.
  static Instruction XoChip(HexByte first, HexByte second, HexByte third, HexByte fourth);

  TraceOperands Operands(std::int32_t value) const {
    return {RightPart(A.Text(), 1),
            LeftPart(B2.Text(), 1),
            B.Text(),
            NnnText(),
            RightPart(B.Text(), 1),
            value};
  }
  // 00FD: the end of a program on the platforms.
  bool EndsProgram() const { return B.Text() == "FD"; }

  HexByte A;
  HexByte B;
  // The second byte with its high digit: B, or "0" followed by B when B is shorter.
  HexByte B2;
  Kind kind = Kind::NoHandler;
  Operation operation = Operation::Nop;
  // Bytes from the instruction's address to the next instruction's.
  std::uint8_t length = 2;
  // 3xkk, 4xkk, 5xy0 and 9xy0 run, and show their line, even when they are the one skipped.
  bool comparingSkip = false;
  std::uint8_t x = 0;
  std::uint8_t y = 0;
  std::uint8_t n = 0;
  std::uint8_t kk = 0;
  std::uint16_t nnn = 0;
  // F000 nnnn's address.
  std::uint16_t nnnn = 0;

 private:
  std::string_view NnnText() const { return {nnnText_, nnnLength_}; }

  // The last character of the first cell followed by B2.
  char nnnText_[3] = {};
  std::uint8_t nnnLength_ = 0;
};

}  // namespace pellark
