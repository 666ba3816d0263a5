#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>
#include <vector>

namespace pellark {

// Text written to a file descriptor through one large buffer, so that millions of short
// trace lines cost few system calls.
class OutputBuffer {
 public:
  explicit OutputBuffer(int fileDescriptor, std::size_t capacity = 64 * 1024);
  OutputBuffer(const OutputBuffer&) = delete;
  OutputBuffer& operator=(const OutputBuffer&) = delete;
  ~OutputBuffer() { Flush(); }

  void Write(std::string_view text) {
    if (text.size() > buffer_.size() - used_) {
      Flush();
      if (text.size() > buffer_.size()) {
        WriteAll(text);
        return;
      }
    }
    std::memcpy(buffer_.data() + used_, text.data(), text.size());
    used_ += text.size();
  }

  // The text followed by a line end.
  void WriteLine(std::string_view text) {
    if (text.size() + 1 > buffer_.size() - used_) {
      Write(text);
      Write("\n");
      return;
    }
    std::memcpy(buffer_.data() + used_, text.data(), text.size());
    used_ += text.size();
    buffer_[used_++] = '\n';
  }

  void Flush();
  // True once a write has failed; later output is dropped.
  bool Failed() const { return failed_; }
  // The errno of the failed write.
  int Error() const { return error_; }

 private:
  void WriteAll(std::string_view text);

  int fileDescriptor_;
  std::vector<char> buffer_;
  std::size_t used_ = 0;
  bool failed_ = false;
  int error_ = 0;
};

}  // namespace pellark
