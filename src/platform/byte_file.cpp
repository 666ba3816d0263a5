#include "platform/byte_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>
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

void ReportWriteFailuresAsErrors() {
  std::signal(SIGPIPE, SIG_IGN);
  std::signal(SIGXFSZ, SIG_IGN);
}

namespace {

// A new hidden file beside target, created with the usual permissions less the umask; -1 on
// failure with errno set.
int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temporary) {
  static unsigned serial = 0;
  std::string prefix = ".";
  prefix += target.filename().string();
  prefix += '.';
  prefix += std::to_string(::getpid());
  for (int attempt = 0; attempt < 100; ++attempt) {
    temporary = target.parent_path() / (prefix + '-' + std::to_string(++serial) + ".tmp");
    const int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;
}

// Makes a rename durable; a folder that cannot be synced still holds the renamed file.
void SyncFolder(const std::filesystem::path& folder) {
  const int descriptor = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

}  // namespace

ByteFile::~ByteFile() {
  if (temporary_.empty()) {
    CloseFileSlot();
  } else {
    Abandon();
  }
}

bool ByteFile::Fail(const std::string& reason) {
  failureReason_ = reason;
  return false;
}

bool ByteFile::FailWithError() {
  return Fail(std::strerror(errno));
}

bool ByteFile::OpenFileForReading(const std::string& name) {
  CloseFileSlot();
  readFailed_ = false;
  failureReason_.clear();
  if (name.empty()) return Fail("No file name");
  // Without blocking, so that a FIFO does not wait for a writer in open, and special files
  // that honour it fail a read rather than wait in it.
  const int descriptor =
      ::open(ResolveBesideProgram(name).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return FailWithError();
  struct stat status {};
  std::string refusal;
  if (::fstat(descriptor, &status) != 0) {
    refusal = std::strerror(errno);
  } else if (S_ISDIR(status.st_mode)) {
    refusal = std::strerror(EISDIR);
  } else if (!S_ISREG(status.st_mode)) {
    refusal = "Not a regular file";
  }
  if (!refusal.empty()) {
    ::close(descriptor);
    return Fail(refusal);
  }
  file_ = ::fdopen(descriptor, "rb");
  if (file_ == nullptr) {
    ::close(descriptor);
    return FailWithError();
  }
  return true;
}

bool ByteFile::CreateFileForWriting(const std::string& name) {
  CloseFileSlot();
  writeFailed_ = false;
  failureReason_.clear();
  if (name.empty()) return Fail("No file name");
  std::error_code error;
  const auto named = ResolveBesideProgram(name);
  const auto resolved = std::filesystem::weakly_canonical(named, error);
  const auto& target = error ? named : resolved;
  struct stat status {};
  if (::stat(target.c_str(), &status) != 0) {
    if (errno != ENOENT) return FailWithError();
    return OpenReplacement(target, nullptr);
  }
  if (S_ISDIR(status.st_mode)) return Fail(std::strerror(EISDIR));
  if (!S_ISREG(status.st_mode)) return OpenInPlace(target);
  // A rename would replace a file that may not be written, too.
  if (::access(target.c_str(), W_OK) != 0) return FailWithError();
  const Permissions kept{status.st_mode & 07777u, status.st_uid, status.st_gid};
  return OpenReplacement(target, &kept);
}

bool ByteFile::OpenInPlace(const std::filesystem::path& path) {
  // A FIFO with no reader fails here instead of waiting; the writes themselves may wait.
  const int descriptor = ::open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) return FailWithError();
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  file_ = ::fdopen(descriptor, "wb");
  if (file_ == nullptr) {
    ::close(descriptor);
    return FailWithError();
  }
  return true;
}

bool ByteFile::OpenReplacement(const std::filesystem::path& target, const Permissions* kept) {
  std::filesystem::path temporary;
  const int descriptor = CreateTemporaryBeside(target, temporary);
  if (descriptor < 0) return FailWithError();
  if (kept != nullptr) {
    // The owner can be kept only by root; the mode after it, since a change of owner may clear
    // the set-user-id bits.
    [[maybe_unused]] const int owned = ::fchown(descriptor, kept->owner, kept->group);
    ::fchmod(descriptor, kept->mode);
  }
  file_ = ::fdopen(descriptor, "wb");
  if (file_ == nullptr) {
    const int error = errno;
    ::close(descriptor);
    ::unlink(temporary.c_str());
    return Fail(std::strerror(error));
  }
  temporary_ = temporary;
  target_ = target;
  return true;
}

int ByteFile::NextByte() {
  if (file_ == nullptr) return EOF;
  const int byte = std::getc(file_);
  if (byte == EOF && std::ferror(file_) != 0 && !readFailed_) {
    readFailed_ = true;
    FailWithError();
  }
  return byte;
}

bool ByteFile::AtEndOfFile() {
  const int byte = NextByte();
  if (byte == EOF) return true;
  std::ungetc(byte, file_);
  return false;
}

int ByteFile::ReadFileByte() {
  const int byte = NextByte();
  if (byte == EOF) return 0;
  return static_cast<signed char>(static_cast<unsigned char>(byte));
}

void ByteFile::WriteFileByte(int value) {
  if (writeFailed_) return;
  if (file_ == nullptr || std::putc(value & 0xFF, file_) == EOF) {
    writeFailed_ = true;
    if (file_ != nullptr) FailWithError();
  }
}

void ByteFile::WriteText(std::string_view text) {
  if (writeFailed_) return;
  if (file_ == nullptr || std::fwrite(text.data(), 1, text.size(), file_) != text.size()) {
    writeFailed_ = true;
    if (file_ != nullptr) FailWithError();
  }
}

bool ByteFile::CloseFileSlot() {
  if (file_ == nullptr) return true;
  if (!temporary_.empty()) return CloseReplacement();
  bool succeeded = !writeFailed_;
  if (std::fclose(file_) != 0 && succeeded) succeeded = FailWithError();
  file_ = nullptr;
  writeFailed_ = false;
  return succeeded;
}

bool ByteFile::CloseReplacement() {
  bool succeeded = !writeFailed_;
  if (succeeded && (std::fflush(file_) != 0 || ::fsync(::fileno(file_)) != 0))
    succeeded = FailWithError();
  if (std::fclose(file_) != 0 && succeeded) succeeded = FailWithError();
  file_ = nullptr;
  if (succeeded && std::rename(temporary_.c_str(), target_.c_str()) != 0)
    succeeded = FailWithError();
  if (succeeded) {
    SyncFolder(target_.parent_path());
  } else {
    ::unlink(temporary_.c_str());
  }
  temporary_.clear();
  target_.clear();
  writeFailed_ = false;
  return succeeded;
}

void ByteFile::Abandon() {
  std::fclose(file_);
  file_ = nullptr;
  ::unlink(temporary_.c_str());
  temporary_.clear();
  target_.clear();
}

bool ReadFileBytes(const std::string& name, std::size_t limit, std::vector<int>& bytes,
                   std::string& reason) {
  bytes.clear();
  ByteFile file;
  if (!file.OpenFileForReading(name)) {
    reason = file.FailureReason();
    return false;
  }
  while (bytes.size() < limit && !file.AtEndOfFile()) bytes.push_back(file.ReadFileByte());
  file.CloseFileSlot();
  if (file.ReadFailed()) {
    bytes.clear();
    reason = file.FailureReason();
    return false;
  }
  return true;
}

}  // namespace pellark
