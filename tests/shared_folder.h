#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

namespace pellark {

// A file or folder of the shared folder beside the project (the test programs in roms/, the
// conformance suite in timendus/, the CHIP-8 database); a test that needs a missing one fails
// saying where it looked.
inline std::filesystem::path SharedPath(std::string_view relative) {
  const std::filesystem::path path = std::filesystem::path(PELLARK_SHARED_DIR) / relative;
  std::error_code error;
  if (!std::filesystem::exists(path, error)) {
    ADD_FAILURE() << "The shared folder has no " << relative << ": looked for " << path
                  << ". Configure with -DPELLARK_SHARED_DIR=FOLDER where it is.";
  }
  return path;
}

}  // namespace pellark
