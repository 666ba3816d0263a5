#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "core/machine.h"

namespace pellark {

// The most bytes of a program that fit in the machine's memory from 0x200 to the last cell.
inline std::int32_t ProgramCapacity(const Machine& machine) {
  return machine.LastCell() + 1 - kProgramStart;
}
// The most any profile's memory takes: XO-CHIP's. A program is read up to this, so that the
// rules it is recognised by decide whether it fits.
inline constexpr std::int32_t kLargestProgramCapacity = kXoChipMemoryCells - kProgramStart;

enum class ReadFailure {
  None,
  CannotRead,  // missing, not a regular file, a read failed, or the name is empty
  TooLarge,    // a program longer than the capacity asked for
};

// A file's bytes, or why they could not be read; no bytes at all after a failure.
struct FileBytes {
  std::vector<std::uint8_t> bytes;
  ReadFailure failure = ReadFailure::None;
  // Why the file could not be read, in the system's words.
  std::string reason;

  bool Read() const { return failure == ReadFailure::None; }
};

// The bytes of a program file, to be stored from 0x200; at most capacity bytes are accepted.
FileBytes ReadProgramFile(const std::string& path, std::int32_t capacity);

// Where the boot image is when no other is named: beside the executable, or installed with it.
std::filesystem::path DefaultBootImagePath();
// The bytes of a boot image, to be stored from address 0: a longer image keeps what fits in
// a memory of memoryCells cells.
FileBytes ReadBootImage(const std::filesystem::path& path, std::size_t memoryCells);

// Writes the bytes to a new file or in place of an existing one; false when it cannot be
// created or written, which leaves an existing file as it was.
bool WriteProgramFile(const std::string& path, std::span<const std::uint8_t> bytes);

}  // namespace pellark
