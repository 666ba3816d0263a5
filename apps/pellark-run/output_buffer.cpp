#include "pellark-run/output_buffer.h"

#include <unistd.h>

#include <cerrno>

namespace pellark {

OutputBuffer::OutputBuffer(int fileDescriptor, std::size_t capacity)
    : fileDescriptor_(fileDescriptor), buffer_(capacity) {}

void OutputBuffer::Flush() {
  WriteAll({buffer_.data(), used_});
  used_ = 0;
}

void OutputBuffer::WriteAll(std::string_view text) {
  while (!failed_ && !text.empty()) {
    const ssize_t written = ::write(fileDescriptor_, text.data(), text.size());
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      failed_ = true;
      error_ = written < 0 ? errno : EIO;
      break;
    }
    text.remove_prefix(static_cast<std::size_t>(written));
  }
}

}  // namespace pellark
