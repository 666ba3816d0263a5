#include "platform/working_folder.h"

#include <system_error>

#include "platform/byte_file.h"

namespace pellark {

std::filesystem::path WorkingFolder() {
  std::error_code error;
  const std::filesystem::path folder = std::filesystem::current_path(error);
  return error ? ProgramFolder() : folder;
}

std::string FromWorkingFolder(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

}  // namespace pellark
