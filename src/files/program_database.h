#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/machine_rules.h"

namespace pellark {

// A program of the Chip8 Community Archive, with what it needs to run as its author meant.
struct KnownProgram {
  std::string title;
  std::string platform;  // "chip8", "schip" or "xochip"
  std::int32_t cyclesPerFrame = 0;
  Switches switches;
};

// The program whose bytes these are, when the database built into Pellark knows it.
std::optional<KnownProgram> FindKnownProgram(std::span<const std::uint8_t> bytes);

}  // namespace pellark
