#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace pellark {

// The text form of one memory byte: the empty text (a cell never written since the last full
// reset), or one or two upper-case hexadecimal characters without a leading zero ("0", "A",
// "A2"). Held inline, so memory cells and instruction decoding never touch the heap.
class HexByte {
 public:
  constexpr HexByte() = default;
  // Keeps at most the first two characters of text.
  constexpr explicit HexByte(std::string_view text)
      : length_(static_cast<std::uint8_t>(text.size() < 2 ? text.size() : 2)) {
    for (std::uint8_t i = 0; i < length_; ++i) chars_[i] = text[i];
  }

  constexpr std::string_view Text() const { return {chars_, length_}; }
  constexpr bool IsEmpty() const { return length_ == 0; }
  constexpr bool operator==(const HexByte&) const = default;

 private:
  // Unused characters stay zero, so the defaulted comparison compares texts.
  char chars_[2] = {};
  std::uint8_t length_ = 0;
};

// The cell text of a value: its 32 bits as unsigned upper-case hexadecimal without leading
// zeros, cut to the last two characters. 0 to 255 give the byte's text; -1 gives "FF" and -128
// "80"; 256 gives "00".
HexByte ToHexByte(std::int32_t value);

namespace hex_detail {

constexpr std::array<std::int8_t, 256> MakeDigitTable() {
  std::array<std::int8_t, 256> table{};
  for (auto& entry : table) entry = -1;
  for (int digit = 0; digit < 10; ++digit) table['0' + digit] = static_cast<std::int8_t>(digit);
  for (int letter = 0; letter < 6; ++letter) {
    table['A' + letter] = static_cast<std::int8_t>(10 + letter);
    table['a' + letter] = static_cast<std::int8_t>(10 + letter);
  }
  return table;
}

inline constexpr std::array<std::int8_t, 256> kDigitValue = MakeDigitTable();

}  // namespace hex_detail

// The number a hexadecimal text spells, upper or lower case. A character that is no
// hexadecimal digit repeats the nearest digit to its left (or counts 0 when there is none), so
// "1G" gives 0x11 and "G1" gives 1. The empty text gives 0. Inline: the decoder calls it several
// times per instruction.
constexpr std::int32_t HexToNumber(std::string_view text) {
  // Each character adds its digit times 16 to the power of the characters after it; summing
  // left to right by multiplying by 16 gives the same value.
  std::uint32_t result = 0;
  std::uint32_t digit = 0;
  for (const char character : text) {
    const int value = hex_detail::kDigitValue[static_cast<unsigned char>(character)];
    if (value >= 0) digit = static_cast<std::uint32_t>(value);
    result = result * 16 + digit;
  }
  return static_cast<std::int32_t>(result);
}

}  // namespace pellark
