#pragma once

#include <string_view>

namespace pellark {

// Where executed instructions' trace lines go: the trace list of the window, or an output
// stream of the runner.
class TraceLog {
 public:
  virtual ~TraceLog() = default;
  virtual void AddTraceLine(std::string_view line) = 0;
};

}  // namespace pellark
