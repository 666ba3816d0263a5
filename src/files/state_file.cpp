#include "files/state_file.h"

#include <charconv>

#include "platform/byte_file.h"
#include "platform/sha1.h"

namespace pellark {
namespace {

constexpr std::string_view kMagic = "Pellark state ";
constexpr std::string_view kProgramKey = "program ";
constexpr std::string_view kSnapshotKey = "snapshot ";
constexpr std::string_view kBootProgram = "none";
// Far above the largest snapshot (XO-CHIP's 64 KiB of cells and two 128 × 64 planes).
constexpr std::size_t kLargestStateFile = 1 << 20;

// Reads the header's lines one by one; each ends with a newline.
class HeaderLines {
 public:
  explicit HeaderLines(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  // The next line's value after key; false when the line is missing or has another key.
  bool Next(std::string_view key, std::string_view& value) {
    const std::string_view rest(reinterpret_cast<const char*>(bytes_.data()) + position_,
                                bytes_.size() - position_);
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos || !rest.starts_with(key)) return false;
    value = rest.substr(key.size(), end - key.size());
    position_ += end + 1;
    return true;
  }
  std::span<const std::uint8_t> Rest() const { return bytes_.subspan(position_); }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t position_ = 0;
};

bool IsSha1(std::string_view text) {
  return text.size() == 40 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

}  // namespace

std::vector<std::uint8_t> StateFileBytes(std::string_view programSha1, const Snapshot& snapshot) {
  const std::string header = std::string(kMagic) + std::to_string(kStateFormatVersion) + "\n" +
                             std::string(kProgramKey) +
                             std::string(programSha1.empty() ? kBootProgram : programSha1) + "\n" +
                             std::string(kSnapshotKey) + Sha1Hex(snapshot) + "\n";
  std::vector<std::uint8_t> bytes(header.begin(), header.end());
  bytes.insert(bytes.end(), snapshot.begin(), snapshot.end());
  return bytes;
}

StateFileRead ParseStateFile(std::span<const std::uint8_t> bytes) {
  StateFileRead read;
  HeaderLines lines(bytes);
  std::string_view version;
  if (!lines.Next(kMagic, version)) {
    read.fault = StateFault::NotAState;
    return read;
  }
  int number = 0;
  const auto [end, error] =
      std::from_chars(version.data(), version.data() + version.size(), number);
  if (error != std::errc() || end != version.data() + version.size() || number < 1) {
    read.fault = StateFault::Damaged;
    return read;
  }
  if (number > kStateFormatVersion) {
    read.fault = StateFault::NewerFormat;
    return read;
  }
  std::string_view program;
  std::string_view snapshotSha1;
  if (!lines.Next(kProgramKey, program) || (program != kBootProgram && !IsSha1(program)) ||
      !lines.Next(kSnapshotKey, snapshotSha1) || Sha1Hex(lines.Rest()) != snapshotSha1) {
    read.fault = StateFault::Damaged;
    return read;
  }
  read.programSha1 = program == kBootProgram ? std::string() : std::string(program);
  read.snapshot.assign(lines.Rest().begin(), lines.Rest().end());
  return read;
}

StateFileRead ReadStateFile(const std::string& path) {
  std::vector<int> bytes;
  StateFileRead read;
  if (!ReadFileBytes(path, kLargestStateFile, bytes, read.reason)) {
    read.fault = StateFault::CannotRead;
    return read;
  }
  const std::vector<std::uint8_t> unsignedBytes(bytes.begin(), bytes.end());
  return ParseStateFile(unsignedBytes);
}

bool WriteStateFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    std::string& reason) {
  ByteFile file;
  if (file.CreateFileForWriting(path)) {
    for (const std::uint8_t byte : bytes) file.WriteFileByte(byte);
    if (file.CloseFileSlot()) return true;
  }
  reason = file.FailureReason();
  return false;
}

}  // namespace pellark
