#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "core/operation.h"

namespace pellark {

// The operands of one instruction as its trace line shows them, cut from its memory cells.
struct TraceOperands {
  std::string_view x;    // last character of the first cell: the register digit
  std::string_view y;    // first digit of the second byte, "0" when it is below 10 hex
  std::string_view kk;   // the second cell's text, without leading zero
  std::string_view nnn;  // last character of the first cell, then the second byte in two digits
  std::string_view n;    // last character of the second cell
  std::int32_t value;    // rows drawn, PendingKey, the sound timer value, the added byte, or
                         // XO-CHIP's 16-bit address
};

// One trace line, built in place without allocating: "$", the address in hexadecimal, ": ",
// then the instruction text.
class TraceLine {
 public:
  TraceLine(std::int32_t address, Operation operation, const TraceOperands& operands);

  std::string_view View() const { return {buffer_.data(), length_}; }

 private:
  TraceLine& Append(std::string_view text);
  TraceLine& AppendHex(std::int32_t value);
  // Zero-padded to at least digits digits.
  TraceLine& AppendHexDigits(std::int32_t value, int digits);
  TraceLine& AppendDecimal(std::int32_t value);

  std::array<char, 64> buffer_;
  std::size_t length_ = 0;
};

}  // namespace pellark
