#include "platform/data_file.h"

#include <cstdlib>
#include <system_error>

#include "platform/byte_file.h"

namespace pellark {

std::filesystem::path FindDataFile(const std::string& name) {
  const std::filesystem::path path(name);
  if (path.is_absolute()) return path;
  const std::filesystem::path beside = ProgramFolder() / path;
  const std::filesystem::path installed = ProgramFolder() / ".." / "share" / "pellark" / path;
  std::error_code error;
  if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error)) {
    return installed.lexically_normal();
  }
  return beside;
}

std::filesystem::path UserDataFolder() {
  // The XDG base directories ask that a relative value be ignored.
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  if (dataHome != nullptr && std::filesystem::path(dataHome).is_absolute())
    return std::filesystem::path(dataHome) / "pellark";
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') return {};
  return std::filesystem::path(home) / ".local" / "share" / "pellark";
}

}  // namespace pellark
