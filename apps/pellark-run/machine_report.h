#pragma once

#include <string>

#include "core/machine.h"
#include "pellark-run/run_options.h"

namespace pellark {

// The end-of-run views of the machine, as pellark-run prints them.

// "PC=%03X I=%03X SP=%d DT=%d ST=%d V=" and V0 to VF as two-digit hexadecimal values.
std::string StateLine(const Machine& machine);
// The cells' texts separated by single spaces, "_" for an empty cell.
std::string MemoryLine(const Machine& machine, const MemoryRange& range);
// One line per display row, "#" for a lit pixel and "." for a dark one, each ending in "\n".
std::string ScreenText(const Machine& machine);

}  // namespace pellark
