#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/snapshot.h"

namespace pellark {

// A saved state (*.c8state): a text header naming the format and its version, the SHA-1 of the
// program whose state it is ("none" for the boot program) and that of the snapshot, then the
// snapshot's bytes.
inline constexpr int kStateFormatVersion = 1;
inline constexpr std::string_view kStateFilePattern = "Pellark state|*.c8state";

enum class StateFault {
  None,
  CannotRead,   // the file could not be opened or read
  NotAState,    // no state file header
  NewerFormat,  // a state of a later format version than this one reads
  Damaged,      // a header line or the snapshot is missing or does not match its SHA-1
};

struct StateFileRead {
  StateFault fault = StateFault::None;
  // The system's words when the file could not be read.
  std::string reason;
  std::string programSha1;
  Snapshot snapshot;
};

// The whole file for the state of the program with this SHA-1 (empty for the boot program).
std::vector<std::uint8_t> StateFileBytes(std::string_view programSha1, const Snapshot& snapshot);
StateFileRead ParseStateFile(std::span<const std::uint8_t> bytes);

StateFileRead ReadStateFile(const std::string& path);
// Writes through the safe replacement: a failed write leaves the file there as it was. False
// with the system's words in reason when it fails.
bool WriteStateFile(const std::string& path, std::span<const std::uint8_t> bytes,
                    std::string& reason);

}  // namespace pellark
