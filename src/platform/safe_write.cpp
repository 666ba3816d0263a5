#include "platform/safe_write.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <string>

#include "platform/byte_file.h"

namespace pellark {
namespace {

// A new file beside target that no one else uses; -1 when none can be created.
int CreateTemporaryBeside(const std::filesystem::path& target, std::string& name) {
  static int serial = 0;
  const std::string stem = (target.parent_path() / ("." + target.filename().string())).string();
  for (int attempt = 0; attempt < 100; ++attempt) {
    name = stem + "." + std::to_string(getpid()) + "-" + std::to_string(++serial) + ".part";
    // The umask gives the new file the permissions any new file of the user gets.
    const int descriptor = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (descriptor >= 0 || errno != EEXIST) return descriptor;
  }
  return -1;
}

// Makes the rename itself survive a crash; a folder that cannot be synced changes nothing.
void SyncFolder(const std::filesystem::path& folder) {
  const int descriptor = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (descriptor < 0) return;
  fsync(descriptor);
  close(descriptor);
}

}  // namespace

bool WriteFileSafely(const std::filesystem::path& path,
                     const std::function<bool(std::FILE* file)>& write) {
  std::error_code error;
  std::filesystem::path target = ResolveBesideProgram(path.string());
  if (std::filesystem::is_symlink(target, error)) {
    target = std::filesystem::weakly_canonical(target, error);
    if (error) return false;
  }
  std::string temporary;
  const int descriptor = CreateTemporaryBeside(target, temporary);
  if (descriptor < 0) return false;
  if (struct stat old{}; stat(target.c_str(), &old) == 0) fchmod(descriptor, old.st_mode & 07777);
  std::FILE* file = fdopen(descriptor, "wb");
  if (file == nullptr) {
    close(descriptor);
    unlink(temporary.c_str());
    return false;
  }
  bool written = write(file);
  written = std::fflush(file) == 0 && written;
  written = fsync(fileno(file)) == 0 && written;
  written = std::fclose(file) == 0 && written;
  written = written && std::rename(temporary.c_str(), target.c_str()) == 0;
  if (!written) {
    unlink(temporary.c_str());
    return false;
  }
  SyncFolder(target.parent_path());
  return true;
}

}  // namespace pellark
