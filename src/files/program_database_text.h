#pragma once

#include <string_view>

namespace pellark {

// The text of programs.tsv, built into the program.
extern const std::string_view kProgramDatabaseText;

}  // namespace pellark
