#include "platform/line_store.h"

namespace pellark {

void LineStore::Append(std::string_view line) {
  if (chunks_.empty() || chunks_.back().ends.size() == kChunkLines) {
    chunks_.emplace_back();
    chunks_.back().ends.reserve(kChunkLines);
  }
  Chunk& chunk = chunks_.back();
  line = line.substr(0, kMaxLineLength);
  chunk.text.insert(chunk.text.end(), line.begin(), line.end());
  chunk.ends.push_back(static_cast<std::uint32_t>(chunk.text.size()));
  if (size_ < kCapacity) {
    ++size_;
    return;
  }
  ++dropped_;
  if (++firstLine_ < kChunkLines) return;
  chunks_.pop_front();
  firstLine_ = 0;
}

void LineStore::RemoveLast() {
  if (size_ == 0) return;
  Chunk& chunk = chunks_.back();
  chunk.ends.pop_back();
  chunk.text.resize(chunk.ends.empty() ? 0 : chunk.ends.back());
  // A chunk left empty holds no dropped lines either: those are only ever before a held one.
  if (chunk.ends.empty()) chunks_.pop_back();
  --size_;
}

std::string_view LineStore::Line(std::size_t index) const {
  if (index >= size_) return {};
  const std::size_t position = firstLine_ + index;
  const Chunk& chunk = chunks_[position / kChunkLines];
  const std::size_t line = position % kChunkLines;
  const std::uint32_t begin = line == 0 ? 0 : chunk.ends[line - 1];
  return {chunk.text.data() + begin, chunk.ends[line] - begin};
}

}  // namespace pellark
