#include "platform/inspector_snapshot.h"

#include <initializer_list>
#include <string_view>

#include "platform/text.h"

namespace pellark {
namespace {

// Appends the pieces, each padded with spaces to its width (0: as it is).
struct Piece {
  std::string_view text;
  std::size_t width = 0;
};

void Append(std::string& line, std::initializer_list<Piece> pieces) {
  for (const Piece& piece : pieces) {
    line += piece.text;
    if (piece.text.size() < piece.width) line.append(piece.width - piece.text.size(), ' ');
  }
}

std::string Address(std::int32_t address) {
  std::string text = "$";
  return text += HexText(address);
}

std::string ByteValue(std::int32_t value) {
  std::string text = value < 16 ? "$0" : "$";
  return text += HexText(value);
}

void AppendRegister(std::string& line, const InspectorSnapshot& snapshot, int index) {
  const std::int32_t value = snapshot.registers[static_cast<std::size_t>(index)];
  Append(line, {{"V"}, {HexText(index), 4}, {ByteValue(value), 6}, {DecimalText(value), 4}});
}

std::string RunState(const InspectorSnapshot& snapshot) {
  if (snapshot.running) return "Running";
  if (snapshot.breakpointStop < 0) return "Stopped";
  std::string text = "Stopped at breakpoint ";
  return text += Address(snapshot.breakpointStop);
}

}  // namespace

std::string StateText(const InspectorSnapshot& s) {
  std::string text;
  Append(text, {{"PC", 5}, {Address(s.pc), 8}, {"Next "}, {Address(s.nextFetch)}, {"\n"}});
  Append(text, {{"I", 5},
                {Address(s.i), 8},
                {"PcStep "},
                {DecimalText(s.pcStep)},
                {"  SkipNext "},
                {DecimalText(s.skipNext)},
                {"\n\n"}});
  for (int row = 0; row < 8; ++row) {
    AppendRegister(text, s, row);
    Append(text, {{"", 3}});
    AppendRegister(text, s, row + 8);
    text += '\n';
  }
  text += '\n';
  Append(text, {{"SP", 5}, {DecimalText(s.stackPointer)}, {"\n"}});
  for (int slot = 0; slot < 16; ++slot) {
    if (slot % 4 == 0) Append(text, {{slot == 0 ? "Stack" : "", 5}});
    Append(
        text,
        {{"", 1}, {DecimalText(slot), 3}, {Address(s.stack[static_cast<std::size_t>(slot)]), 7}});
    if (slot % 4 == 3) text += '\n';
  }
  text += '\n';
  Append(text, {{"DT", 5},
                {DecimalText(s.delayTimer), 5},
                {"ST "},
                {DecimalText(s.soundTimer), 5},
                {"PendingKey "},
                {DecimalText(s.pendingKey)},
                {"\nKeys "}});
  for (int key = 0; key < 16; ++key) Append(text, {{HexText(key), 2}});
  text += "\nheld ";
  for (int key = 0; key < 16; ++key) {
    Append(text, {{s.keyStates[static_cast<std::size_t>(key)] == 1 ? "#" : ".", 2}});
  }
  Append(text, {{"\n\nDisplay "},
                {DecimalText(s.screenWidth)},
                {" x "},
                {DecimalText(s.screenHeight)},
                {"\n"},
                {s.pace},
                {"\nInstructions "},
                {std::to_string(s.instructionCount)},
                {"\n"},
                {RunState(s)},
                {"\n"}});
  return text;
}

std::string MemoryRowText(const InspectorSnapshot& snapshot, int row) {
  const std::int32_t first = 16 * row;
  // "$000" to "$FF0", and "$1000" for the last row, right-aligned.
  std::string digits = HexText(first);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  std::string text = digits.size() == 3 ? " $" : "$";
  text += digits;
  for (std::int32_t address = first; address < first + 16 && address < InspectorSnapshot::kCells;
       ++address) {
    const InspectorSnapshot::CellText& cell = snapshot.memory[static_cast<std::size_t>(address)];
    text += ' ';
    if (cell[0] == '\0') {
      text += "\u00B7 ";
    } else {
      text += cell[0];
      text += cell[1] == '\0' ? ' ' : cell[1];
    }
  }
  return text;
}

}  // namespace pellark
