#include "files/program_file.h"

#include "platform/byte_file.h"
#include "platform/data_file.h"

namespace pellark {
namespace {

FileBytes ReadAtMost(const std::string& path, std::size_t limit) {
  FileBytes read;
  std::vector<int> bytes;
  if (!ReadFileBytes(path, limit, bytes, read.reason)) {
    read.failure = ReadFailure::CannotRead;
    return read;
  }
  read.bytes.reserve(bytes.size());
  for (const int byte : bytes) read.bytes.push_back(static_cast<std::uint8_t>(byte));
  return read;
}

}  // namespace

FileBytes ReadProgramFile(const std::string& path, std::int32_t capacity) {
  // One byte past the capacity tells a program that fits from one that does not.
  const auto limit = static_cast<std::size_t>(capacity);
  FileBytes read = ReadAtMost(path, limit + 1);
  if (read.bytes.size() > limit) {
    read.bytes.clear();
    read.failure = ReadFailure::TooLarge;
  }
  return read;
}

std::filesystem::path DefaultBootImagePath() {
  return FindDataFile("Chip8.rom");
}

FileBytes ReadBootImage(const std::filesystem::path& path, std::size_t memoryCells) {
  return ReadAtMost(path.string(), memoryCells);
}

bool WriteProgramFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  ByteFile file;
  if (!file.CreateFileForWriting(path)) return false;
  for (const std::uint8_t byte : bytes) file.WriteFileByte(byte);
  return file.CloseFileSlot();
}

}  // namespace pellark
