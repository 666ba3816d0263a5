#include "platform/line_store.h"

namespace pellark {

bool LineStore::Append(std::string_view line) {
  if (ends_.size() >= kCapacity) return false;
  line = line.substr(0, kMaxLineLength);
  text_.insert(text_.end(), line.begin(), line.end());
  ends_.push_back(static_cast<std::uint32_t>(text_.size()));
  return true;
}

void LineStore::RemoveLast() {
  if (ends_.empty()) return;
  ends_.pop_back();
  text_.resize(ends_.empty() ? 0 : ends_.back());
}

std::string_view LineStore::Line(std::size_t index) const {
  if (index >= ends_.size()) return {};
  const std::uint32_t begin = index == 0 ? 0 : ends_[index - 1];
  return {text_.data() + begin, ends_[index] - begin};
}

}  // namespace pellark
