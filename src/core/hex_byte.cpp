#include "core/hex_byte.h"

#include <array>

namespace pellark {
namespace {

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

constexpr std::array<std::int8_t, 256> kDigitValue = MakeDigitTable();

}  // namespace

HexByte ToHexByte(std::int32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto bits = static_cast<std::uint32_t>(value);
  if (bits < 16) return HexByte(std::string_view(&kDigits[bits], 1));
  // Any wider value keeps exactly its last two hexadecimal digits, a leading zero included.
  const char lastTwo[2] = {kDigits[bits >> 4 & 0xF], kDigits[bits & 0xF]};
  return HexByte(std::string_view(lastTwo, 2));
}

std::int32_t HexToNumber(std::string_view text) {
  // Each character adds its digit times 16 to the power of the characters after it; summing
  // left to right by multiplying by 16 gives the same value.
  std::uint32_t result = 0;
  std::uint32_t digit = 0;
  for (const char character : text) {
    const int value = kDigitValue[static_cast<unsigned char>(character)];
    if (value >= 0) digit = static_cast<std::uint32_t>(value);
    result = result * 16 + digit;
  }
  return static_cast<std::int32_t>(result);
}

}  // namespace pellark
