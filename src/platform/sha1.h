#pragma once

#include <cstdint>
#include <span>
#include <string>

namespace pellark {

// The SHA-1 digest of the bytes as 40 lower-case hexadecimal digits.
std::string Sha1Hex(std::span<const std::uint8_t> bytes);

}  // namespace pellark
