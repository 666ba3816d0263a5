#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string_view>
#include <vector>

namespace pellark {

// The lines of a list control, packed into buffers of many lines each so that millions of them
// cost little more than their characters. Past its capacity every new line drops the oldest one,
// so the newest lines always show; the store counts what it dropped.
class LineStore {
 public:
  // Room for a million lines of up to 64 bytes.
  static constexpr std::size_t kCapacity = 1'000'000;
  static constexpr std::size_t kMaxLineLength = 64;

  // Appends a line, cut to kMaxLineLength; when the store is full the oldest line goes.
  void Append(std::string_view line);

  // Removes the newest line; nothing happens when there is none.
  void RemoveLast();

  std::size_t Size() const { return size_; }
  // Line 0 is the oldest line held.
  std::string_view Line(std::size_t index) const;
  // How many lines were dropped to make room since the store was created.
  std::size_t Dropped() const { return dropped_; }

 private:
  // Lines are dropped a chunk's buffers at a time, so dropping costs nothing per line.
  static constexpr std::size_t kChunkLines = 4096;
  struct Chunk {
    std::vector<char> text;
    std::vector<std::uint32_t> ends;
  };

  std::deque<Chunk> chunks_;
  // The lines of the first chunk already dropped.
  std::size_t firstLine_ = 0;
  std::size_t size_ = 0;
  std::size_t dropped_ = 0;
};

}  // namespace pellark
