#pragma once

#include <cstdio>
#include <filesystem>
#include <functional>

namespace pellark {

// Writes a file so that it is never left half written: write fills a new file in the same
// folder, which goes to the disk and then takes path's place in one rename. On any failure,
// write's own included (it returns false), the new file is removed, path keeps what it held
// and the result is false. An existing file keeps its permissions; a symbolic link stays a link
// to the new contents. A plain or relative name is taken beside the program, as every file is.
bool WriteFileSafely(const std::filesystem::path& path,
                     const std::function<bool(std::FILE* file)>& write);

}  // namespace pellark
