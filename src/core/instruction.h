#pragma once

#include <cstdint>
#include <string_view>

#include "core/hex_byte.h"
#include "platform/text.h"
#include "trace/trace_line.h"

namespace pellark {

// One instruction taken apart as text: the fields are cut from the texts of its two cells, not
// computed from byte values, so a one-character first cell such as "6" acts as 0x66 would.
class Instruction {
 public:
  Instruction(HexByte first, HexByte second) : A(first), B(second), B2(PadSecondByte(second)) {
    const std::string_view lastOfA = RightPart(A.Text(), 1);
    const std::string_view b2 = B2.Text();
    nnnLength_ = lastOfA.copy(nnnText_, 1);
    nnnLength_ += b2.copy(nnnText_ + nnnLength_, 2);
    x = HexToNumber(lastOfA);
    y = HexToNumber(LeftPart(b2, 1));
    n = HexToNumber(RightPart(B.Text(), 1));
    kk = HexToNumber(B.Text());
    nnn = HexToNumber(NnnText());
  }

  // The group character: the first character of the first cell.
  std::string_view G() const { return LeftPart(A.Text(), 1); }
  // Selects the operation within group 8: the last character of the second cell.
  std::string_view SubOperation() const { return RightPart(B.Text(), 1); }

  TraceOperands Operands(std::int32_t value) const {
    return {RightPart(A.Text(), 1),
            LeftPart(B2.Text(), 1),
            B.Text(),
            NnnText(),
            RightPart(B.Text(), 1),
            value};
  }

  const HexByte A;
  const HexByte B;
  // The second byte with its high digit: B, or "0" followed by B when B is shorter.
  const HexByte B2;
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::int32_t n = 0;
  std::int32_t kk = 0;
  std::int32_t nnn = 0;

 private:
  static HexByte PadSecondByte(HexByte second) {
    if (second.Text().size() == 2) return second;
    const char padded[2] = {'0', second.IsEmpty() ? '\0' : second.Text()[0]};
    return HexByte(std::string_view(padded, second.IsEmpty() ? 1 : 2));
  }
  std::string_view NnnText() const { return {nnnText_, nnnLength_}; }

  // The last character of the first cell followed by B2.
  char nnnText_[3] = {};
  std::size_t nnnLength_ = 0;
};

}  // namespace pellark
