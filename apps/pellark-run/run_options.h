#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/machine_rules.h"
#include "core/watchpoints.h"

namespace pellark {

// Keypad key `key` held while the instructions numbered first to first + count - 1 execute.
struct KeyPress {
  int key = 0;
  std::uint64_t first = 0;
  std::uint64_t count = 0;
};

// count memory cells from address on.
struct MemoryRange {
  std::int32_t address = 0;
  std::int32_t count = 0;
};

// One byte stored at address once the program is loaded.
struct MemoryPoke {
  std::int32_t address = 0;
  std::int32_t value = 0;
};

// What a run of pellark-run is asked to do.
struct RunOptions {
  // Empty: "Chip8.rom" beside the executable.
  std::string bootImage;
  // None: the boot program runs from 0x100.
  std::optional<std::string> program;
  std::uint64_t instructionLimit = 100000;
  std::vector<KeyPress> presses;
  // In the order given, so that a later one at the same address wins.
  std::vector<MemoryPoke> pokes;
  // None: no busy-wait at all.
  std::optional<std::int32_t> speedPercent;
  bool trace = false;
  bool screen = false;
  bool state = false;
  std::vector<MemoryRange> memory;
  std::string png;
  // The run's sound as a WAV file: every frame's 800 samples, silent as designed.
  std::string wav;
  // An animated GIF of the run's displayed frames.
  std::string gif;
  bool benchmark = false;
  // Print what the program database says of PROGRAM instead of running it.
  bool info = false;
  // None: "auto", the program database decides by the program loaded.
  std::optional<Profile> profile;
  // The switches to turn on, replacing the profile's.
  std::optional<Switches> quirks;
  std::optional<std::int32_t> cyclesPerFrame;
  // The run ends before the first instruction fetched at any of these addresses.
  std::vector<std::int32_t> breaks;
  // The run ends before the first instruction that writes a watched cell, or changes a
  // watched register or I.
  std::vector<Watchpoint> watches;
  // A key file recorded in the window: its keys, rules and length replace --press, the rules
  // options and -n. Empty for none.
  std::string replay;
};

// The options, or the exit status when the run ends here: 0 after --help or --version
// (printed on standard output), 2 after a parse error (one line on standard error).
struct ParsedCommandLine {
  std::optional<RunOptions> options;
  int exitStatus = 0;
};

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv);

// "K@N[+D]": keypad key K (one hexadecimal digit), first instruction N >= 1, D >= 1
// instructions long (1000 when left out). Throws CLI::ValidationError when malformed.
KeyPress ParseKeyPress(const std::string& text);
// "auto" or a profile's command-line name ("octo" stands for "xochip"); none for "auto". Throws
// CLI::ValidationError for anything else.
std::optional<Profile> ParseProfile(const std::string& text);
// Switch names separated by commas ("shift,clip"); the empty text turns every switch off.
// Throws CLI::ValidationError for an unknown name.
Switches ParseQuirks(const std::string& text);

// "A:N": N >= 1 cells from hexadecimal address A, all within memory. Throws
// CLI::ValidationError when malformed.
MemoryRange ParseMemoryRange(const std::string& text);
// "A=V": the byte V (hexadecimal, 0 to FF) for the cell at address A, as --memory takes it.
// Throws CLI::ValidationError when malformed.
MemoryPoke ParseMemoryPoke(const std::string& text);
// A memory address, "$200", "200" or "0x200". Throws CLI::ValidationError when malformed.
std::int32_t ParseBreakAddress(const std::string& text);
// "ADDR[:N]", "Vx" or "I", as ParseWatchpoint reads them. Throws CLI::ValidationError when
// malformed.
Watchpoint ParseWatch(const std::string& text);

}  // namespace pellark
