#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pellark {

// What went wrong, and on which line of the listing (counting from 1).
struct ListingError {
  int line = 0;
  std::string message;
};

// The bytes of an assembled listing from address 0, and the address of every label.
struct AssembledImage {
  std::vector<std::uint8_t> bytes;
  std::map<std::string, int, std::less<>> labels;
  std::optional<ListingError> error;
};

// Assembles a byte listing. Each line holds, in this order and each optional: a label
// "name:", then either "org HHH" (continue at hexadecimal address HHH, filling the gap with
// zeros) or a series of items, then a comment from ";" to the end of the line. Items:
//   HH        one byte in hexadecimal
//   HHHH      a two-byte instruction word, high byte first
//   ##..#...  one byte drawn as eight pixels, "#" a set bit, most significant bit first
//   Xnnn name an instruction word with the hexadecimal digit X on top of a label's address
// Labels may be used before they are defined. The image must end before address limit; the
// first error found stops the assembly.
AssembledImage AssembleListing(std::string_view listing, int limit);

}  // namespace pellark
