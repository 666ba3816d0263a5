#include "frontend/trace_buffer.h"

namespace pellark {

void TraceBuffer::Restart() {
  lines_ = LineStore();
  listExists_ = true;
}

void TraceBuffer::Append(std::string_view line) {
  if (listExists_) lines_.Append(line);
}

}  // namespace pellark
