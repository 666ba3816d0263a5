#include "platform/data_file.h"

#include <system_error>

namespace pellark {

std::filesystem::path FindDataFile(const std::string& name,
                                   const std::filesystem::path& programFolder) {
  const std::filesystem::path path(name);
  if (path.is_absolute()) return path;
  const std::filesystem::path beside = programFolder / path;
  const std::filesystem::path installed = programFolder / ".." / "share" / "pellark" / path;
  std::error_code error;
  if (!std::filesystem::exists(beside, error) && std::filesystem::exists(installed, error)) {
    return installed.lexically_normal();
  }
  return beside;
}

}  // namespace pellark
