#include "platform/byte_file.h"

#include <system_error>

namespace pellark {

const std::filesystem::path& ProgramFolder() {
  static const std::filesystem::path folder = [] {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::filesystem::current_path() : executable.parent_path();
  }();
  return folder;
}

std::filesystem::path ResolveBesideProgram(const std::string& name) {
  const std::filesystem::path path(name);
  return path.is_absolute() ? path : ProgramFolder() / path;
}

ByteFile::~ByteFile() {
  CloseFileSlot();
}

bool ByteFile::OpenFileForReading(const std::string& name) {
  CloseFileSlot();
  if (name.empty()) return false;
  const auto path = ResolveBesideProgram(name);
  std::error_code error;
  // fopen succeeds on a folder; reading one is not a file.
  if (std::filesystem::is_directory(path, error)) return false;
  file_ = std::fopen(path.c_str(), "rb");
  return file_ != nullptr;
}

bool ByteFile::CreateFileForWriting(const std::string& name) {
  CloseFileSlot();
  if (name.empty()) return false;
  file_ = std::fopen(ResolveBesideProgram(name).c_str(), "wb");
  writeFailed_ = false;
  return file_ != nullptr;
}

bool ByteFile::AtEndOfFile() {
  if (file_ == nullptr) return true;
  const int byte = std::getc(file_);
  if (byte == EOF) return true;
  std::ungetc(byte, file_);
  return false;
}

int ByteFile::ReadFileByte() {
  const int byte = file_ == nullptr ? EOF : std::getc(file_);
  if (byte == EOF) return 0;
  return static_cast<signed char>(static_cast<unsigned char>(byte));
}

void ByteFile::WriteFileByte(int value) {
  if (file_ == nullptr || std::putc(value & 0xFF, file_) == EOF) writeFailed_ = true;
}

bool ByteFile::CloseFileSlot() {
  if (file_ == nullptr) return true;
  const bool closed = std::fclose(file_) == 0;
  file_ = nullptr;
  const bool succeeded = closed && !writeFailed_;
  writeFailed_ = false;
  return succeeded;
}

}  // namespace pellark
