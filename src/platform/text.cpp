#include "platform/text.h"

#include <charconv>

namespace pellark {

int FormatHex(std::uint32_t value, char* out) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  char reversed[8];
  int count = 0;
  do {
    reversed[count++] = kDigits[value & 0xF];
    value >>= 4;
  } while (value != 0);
  for (int i = 0; i < count; ++i) out[i] = reversed[count - 1 - i];
  return count;
}

int FormatDecimal(std::int32_t value, char* out) {
  int length = 0;
  // Work on the magnitude as unsigned so that the most negative value is formatted correctly.
  std::uint32_t magnitude = static_cast<std::uint32_t>(value);
  if (value < 0) {
    out[length++] = '-';
    magnitude = 0u - magnitude;
  }
  char reversed[10];
  int count = 0;
  do {
    reversed[count++] = static_cast<char>('0' + magnitude % 10);
    magnitude /= 10;
  } while (magnitude != 0);
  for (int i = 0; i < count; ++i) out[length++] = reversed[count - 1 - i];
  return length;
}

std::string HexText(std::int32_t value) {
  char digits[8];
  return std::string(
      digits, static_cast<std::size_t>(FormatHex(static_cast<std::uint32_t>(value), digits)));
}

std::string DecimalText(std::int32_t value) {
  char digits[11];
  return std::string(digits, static_cast<std::size_t>(FormatDecimal(value, digits)));
}

std::optional<std::uint32_t> ParseHexDigits(std::string_view text) {
  std::uint32_t value = 0;
  if (text.empty() || text.size() > 8) return std::nullopt;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

std::optional<std::int32_t> ParseAddress(std::string_view text, std::int32_t highest) {
  if (text.starts_with('$')) {
    text.remove_prefix(1);
  } else if (text.starts_with("0x") || text.starts_with("0X")) {
    text.remove_prefix(2);
  }
  const std::optional<std::uint32_t> address = ParseHexDigits(text);
  if (!address || *address > static_cast<std::uint32_t>(highest)) return std::nullopt;
  return static_cast<std::int32_t>(*address);
}

}  // namespace pellark
