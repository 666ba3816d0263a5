#pragma once

#include <filesystem>
#include <string>

namespace pellark {

// The folder the process was started in (the executable's folder when it cannot be read).
std::filesystem::path WorkingFolder();

// A path given on a command line, taken from the working folder as the user meant it, made
// absolute: the file service would look for a plain name beside the program. Left as it is
// when it cannot be made absolute.
std::string FromWorkingFolder(const std::string& path);

}  // namespace pellark
