#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/machine_rules.h"

namespace pellark {

// A run's keys: the keypad as the machine read it, by main-loop pass, from a program start on.
// A pass is one instruction, or one round of a key wait; the machine reads the keypad once in
// each, so the keypad it read and the pass it read it in reproduce the run.
struct KeyRecording {
  // The keypad read from pass `pass` on: bit k for keypad key k held.
  struct Change {
    std::uint64_t pass = 0;
    std::uint16_t keys = 0;
    bool operator==(const Change&) const = default;
  };

  // The program file's SHA-1, 40 lower-case hexadecimal digits.
  std::string programSha1;
  MachineRules rules;
  // In ascending order of pass, each keypad different from the one before (none held before
  // the first).
  std::vector<Change> changes;
  // The passes the run lasted.
  std::uint64_t passes = 0;

  bool operator==(const KeyRecording&) const = default;
};

// The format this build writes and reads; a file of a higher one is from a newer Pellark.
inline constexpr int kKeyRecordingFormat = 1;

// The file's text: a header naming the format, the program's SHA-1, every rule, the length in
// passes, then one line per change ("120 0010": from pass 120 keypad key 4 alone is held).
std::string KeyRecordingText(const KeyRecording& recording);

// A key file read: the recording, or why the text is none.
struct KeyRecordingRead {
  std::optional<KeyRecording> recording;
  std::string error;
};
// Reads what KeyRecordingText writes, refusing anything else with a reason: another format, a
// newer one, a damaged or cut line.
KeyRecordingRead ReadKeyRecording(std::string_view text);

// The most bytes a key file may have: a day of play changing keys every frame fits.
inline constexpr std::size_t kLargestKeyFile = 64 << 20;

// Reads the key file at path: the recording, or why there is none (the file cannot be read, is
// larger than kLargestKeyFile, or is no key file this build reads).
KeyRecordingRead ReadKeyFile(const std::string& path);

// The keypad keys held, as a KeyRecording change counts them, from the machine's KeyStates.
template <typename KeyStates>
std::uint16_t KeypadBits(const KeyStates& keyStates) {
  std::uint16_t bits = 0;
  for (std::size_t key = 0; key < 16; ++key) {
    if (keyStates[key] != 0) bits = static_cast<std::uint16_t>(bits | 1u << key);
  }
  return bits;
}

}  // namespace pellark
