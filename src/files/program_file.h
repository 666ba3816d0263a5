#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/machine.h"

namespace pellark {

// The most bytes of a program that fit in memory from 0x200 to the last cell.
inline constexpr std::int32_t kProgramCapacity = kLastCell + 1 - kProgramStart;

enum class LoadResult {
  Loaded,
  CannotRead,  // missing, not a regular file, a read failed, or the name is empty: nothing stored
  TooLarge,    // longer than kProgramCapacity: nothing of it is stored
};

struct ProgramLoad {
  LoadResult result = LoadResult::Loaded;
  // Why the file could not be read, in the system's words.
  std::string reason;
  // What was stored from 0x200, once loaded.
  std::vector<std::uint8_t> bytes;
};

// Copies a program file's bytes into the cells from 0x200 as their hexadecimal texts, and
// leaves PC at 0x200 whatever happens. Cells beyond the end of the program keep their texts.
ProgramLoad LoadProgramFile(Machine& machine, const std::string& path);

// Writes V4 bytes, the values of the cells from 0x200, to a new file or in place of an existing
// one; false when it cannot be created or written, which leaves an existing file as it was.
bool SaveProgramFile(const Machine& machine, const std::string& path);

}  // namespace pellark
