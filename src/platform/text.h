#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pellark {

// Upper-case hexadecimal digits of the value's 32 bits read as unsigned, no padding: -1 is
// "FFFFFFFF". Writes into out (at least 8 characters) and returns the number written.
int FormatHex(std::uint32_t value, char* out);

// Signed decimal digits with a leading "-" for negative values. Writes into out (at least 11
// characters) and returns the number written.
int FormatDecimal(std::int32_t value, char* out);

std::string HexText(std::int32_t value);
std::string DecimalText(std::int32_t value);

// One to eight hexadecimal digits, upper or lower case, and nothing else; none otherwise.
std::optional<std::uint32_t> ParseHexDigits(std::string_view text);

// An address typed as the trace writes it ("$2A4"), in C notation ("0x2A4") or as bare
// hexadecimal digits ("2a4"), one to eight of them, from 0 to highest; none for anything else.
std::optional<std::int32_t> ParseAddress(std::string_view text, std::int32_t highest);

// The text up to the next separator, or all of it; text keeps what follows the separator.
constexpr std::string_view NextPart(std::string_view& text, char separator) {
  const std::size_t end = text.find(separator);
  const std::string_view part = text.substr(0, end);
  text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
  return part;
}

// The first n characters; the whole text when it is shorter; empty when n <= 0.
constexpr std::string_view LeftPart(std::string_view text, int n) {
  if (n <= 0) return {};
  return text.substr(0, static_cast<std::size_t>(n));
}

// The last n characters; the whole text when it is shorter; empty when n <= 0.
constexpr std::string_view RightPart(std::string_view text, int n) {
  if (n <= 0) return {};
  const auto count = static_cast<std::size_t>(n);
  return count >= text.size() ? text : text.substr(text.size() - count);
}

}  // namespace pellark
