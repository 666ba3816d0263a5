#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/machine.h"

namespace pellark {

// The most bytes of a program that fit in memory from 0x200 to the last cell.
inline constexpr std::int32_t kProgramCapacity = kLastCell + 1 - kProgramStart;

enum class ReadFailure {
  None,
  CannotRead,  // missing, not a regular file, a read failed, or the name is empty
  TooLarge,    // a program longer than kProgramCapacity
};

// A file's bytes, or why they could not be read; no bytes at all after a failure.
struct FileBytes {
  std::vector<std::uint8_t> bytes;
  ReadFailure failure = ReadFailure::None;
  // Why the file could not be read, in the system's words.
  std::string reason;

  bool Read() const { return failure == ReadFailure::None; }
};

// The bytes of a program file, to be stored from 0x200.
FileBytes ReadProgramFile(const std::string& path);

// Where the boot image is when no other is named: beside the executable, or installed with it.
std::filesystem::path DefaultBootImagePath();
// The bytes of a boot image, to be stored from address 0: a longer image keeps what fits in
// memory.
FileBytes ReadBootImage(const std::filesystem::path& path);

// Writes the bytes to a new file or in place of an existing one; false when it cannot be
// created or written, which leaves an existing file as it was.
bool WriteProgramFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace pellark
