#include "platform/data_file.h"

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

}  // namespace pellark
