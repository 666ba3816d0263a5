#include "core/hex_byte.h"

namespace pellark {
HexByte ToHexByte(std::int32_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  const auto bits = static_cast<std::uint32_t>(value);
  if (bits < 16) return HexByte(std::string_view(&kDigits[bits], 1));
  // Any wider value keeps exactly its last two hexadecimal digits, a leading zero included.
  const char lastTwo[2] = {kDigits[bits >> 4 & 0xF], kDigits[bits & 0xF]};
  return HexByte(std::string_view(lastTwo, 2));
}

}  // namespace pellark
