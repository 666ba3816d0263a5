#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace pellark {

// The lines of a list control, packed into one growing buffer so that millions of them cost
// little more than their characters. Past its capacity new lines are dropped, as a full list
// control refuses items.
class LineStore {
 public:
  // Room for a million lines of up to 64 bytes.
  static constexpr std::size_t kCapacity = 1'000'000;
  static constexpr std::size_t kMaxLineLength = 64;

  // Appends a line, cut to kMaxLineLength; false when the store is full and the line is dropped.
  bool Append(std::string_view line);

  // Removes the last line; nothing happens when there is none.
  void RemoveLast();

  std::size_t Size() const { return ends_.size(); }
  std::string_view Line(std::size_t index) const;

 private:
  std::vector<char> text_;
  std::vector<std::uint32_t> ends_;
};

}  // namespace pellark
