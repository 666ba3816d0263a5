#pragma once

#include <filesystem>
#include <string>

namespace pellark {

// Where both programs find the files they come with, the boot image among them: beside the
// executable (the build tree), else in ../share/pellark/ relative to it (an installed copy).
// When neither holds the file the path beside the executable is given, so that opening it fails
// as a missing file does. An absolute name is used as it is.
std::filesystem::path FindDataFile(const std::string& name);

// The user's own folder of Pellark's data: $XDG_DATA_HOME/pellark, by default
// ~/.local/share/pellark. Empty when neither variable is set.
std::filesystem::path UserDataFolder();

}  // namespace pellark
