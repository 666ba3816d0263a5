#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace pellark {

// What the Inspector window shows of the machine: the front end's copy of the state, handed to
// the window system at most once per displayed frame.
struct InspectorSnapshot {
  using CellText = std::array<char, 2>;

  std::int32_t pc = 0;
  std::int32_t nextFetch = 0;
  std::int32_t i = 0;
  std::int32_t pcStep = 0;
  std::int32_t skipNext = 0;
  std::array<std::int32_t, 16> registers{};
  std::int32_t stackPointer = 0;
  // Slots 0 to 15; the slot above them stays 0.
  std::array<std::int32_t, 16> stack{};
  std::int32_t delayTimer = 0;
  std::int32_t soundTimer = 0;
  std::int32_t pendingKey = 0;
  std::array<std::int32_t, 16> keyStates{};
  std::int32_t screenWidth = 0;
  std::int32_t screenHeight = 0;
  // XO-CHIP's plane mask, pitch and audio pattern, shown only for its machine.
  bool xoChip = false;
  std::int32_t planeMask = 1;
  std::int32_t pitch = 64;
  std::array<std::uint8_t, 16> audioPattern{};
  // "Speed: 75%", or with frame timing the profile and its cycles per frame.
  std::string pace;
  std::uint64_t instructionCount = 0;
  bool running = false;
  // The breakpoint the machine has stopped before; -1 when none has stopped it.
  std::int32_t breakpointStop = -1;
  // In ascending order.
  std::vector<std::int32_t> breakpoints;
  // What a watchpoint that stopped the machine found: the instruction and the change it would
  // make; empty when no watchpoint has stopped it.
  std::string watchStop;
  // As the user types them: "$2F0:4", "V3", "I".
  std::vector<std::string> watchpoints;
  // Every memory cell from address 0, each kept as the text it holds, '\0' after its end.
  std::vector<CellText> memory;
  // The memory view keeps PC in sight; otherwise it stays where the user put it.
  bool followPc = true;
  // An address the user asked to go to, for the memory view to show at its top; -1 for none.
  std::int32_t goTo = -1;

  bool operator==(const InspectorSnapshot&) const = default;
  int CellCount() const { return static_cast<int>(memory.size()); }
};

// The lines of the state panel: PC and I, the registers in hexadecimal and decimal, the stack,
// timers and keypad, the display mode (with XO-CHIP's planes, pitch and audio pattern), the
// pace and the instruction count, and whether the machine runs.
std::string StateText(const InspectorSnapshot& snapshot);

// The memory view has rows of sixteen cells; the designed memory's last row holds only the
// cell 0x1000.
inline int MemoryRows(const InspectorSnapshot& snapshot) {
  return (snapshot.CellCount() + 15) / 16;
}
// A row of the memory view: its address, then every cell as the text it holds, one character
// as one character and an empty cell as "·".
std::string MemoryRowText(const InspectorSnapshot& snapshot, int row);
// The character column at which the text of a row's cell (0 to 15) begins.
constexpr int MemoryCellColumn(int cell) {
  return 6 + 3 * cell;
}

}  // namespace pellark
