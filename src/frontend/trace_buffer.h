#pragma once

#include <string_view>

#include "platform/line_store.h"

namespace pellark {

// The front end's own copy of the trace list's lines, which Save trace writes. It follows the
// list control: a new list starts empty, lines with no list go nowhere, and past the list's
// capacity the oldest lines are dropped as the list drops them.
class TraceBuffer {
 public:
  // A new list replaced the old one.
  void Restart();
  void Append(std::string_view line);
  void RemoveLast() { lines_.RemoveLast(); }
  const LineStore& Lines() const { return lines_; }

 private:
  LineStore lines_;
  bool listExists_ = false;
};

}  // namespace pellark
