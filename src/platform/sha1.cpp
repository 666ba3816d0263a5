#include "platform/sha1.h"

#include <nettle/sha1.h>

#include <array>

namespace pellark {

std::string Sha1Hex(std::span<const std::uint8_t> bytes) {
  sha1_ctx context;
  sha1_init(&context);
  sha1_update(&context, bytes.size(), bytes.data());
  std::array<std::uint8_t, SHA1_DIGEST_SIZE> digest{};
  sha1_digest(&context, digest.size(), digest.data());
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string text;
  text.reserve(2 * digest.size());
  for (const std::uint8_t byte : digest) {
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0xF];
  }
  return text;
}

}  // namespace pellark
