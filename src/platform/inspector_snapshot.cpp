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

void Append(std::string& text, std::initializer_list<Piece> pieces) {
  for (const Piece& piece : pieces) {
    text += piece.text;
    if (piece.text.size() < piece.width) text.append(piece.width - piece.text.size(), ' ');
  }
}

// Ends the line, without the padding of its last piece.
void EndLine(std::string& text) {
  text.erase(text.find_last_not_of(' ') + 1);
  text += '\n';
}

std::string Address(std::int32_t address) {
  std::string text = "$";
  return text += HexText(address);
}

std::string ByteValue(std::int32_t value) {
  std::string text = value < 16 ? "$0" : "$";
  return text += HexText(value);
}

void AppendRegister(std::string& text, const InspectorSnapshot& snapshot, int index) {
  const std::int32_t value = snapshot.registers[static_cast<std::size_t>(index)];
  Append(text, {{"V"}, {HexText(index), 4}, {ByteValue(value), 6}, {DecimalText(value), 7}});
}

std::string RunState(const InspectorSnapshot& snapshot) {
  if (snapshot.running) return "Running";
  if (!snapshot.watchStop.empty()) return "Stopped at watchpoint: " + snapshot.watchStop;
  if (snapshot.breakpointStop < 0) return "Stopped";
  std::string text = "Stopped at breakpoint ";
  return text += Address(snapshot.breakpointStop);
}

}  // namespace

std::string StateText(const InspectorSnapshot& s) {
  std::string text;
  Append(text, {{"PC", 5}, {Address(s.pc), 8}, {"Next "}, {Address(s.nextFetch)}});
  EndLine(text);
  Append(text, {{"I", 5},
                {Address(s.i), 8},
                {"PcStep "},
                {DecimalText(s.pcStep)},
                {"  SkipNext "},
                {DecimalText(s.skipNext)}});
  EndLine(text);
  EndLine(text);
  for (int row = 0; row < 8; ++row) {
    AppendRegister(text, s, row);
    AppendRegister(text, s, row + 8);
    EndLine(text);
  }
  EndLine(text);
  Append(text, {{"SP", 5}, {DecimalText(s.stackPointer)}});
  EndLine(text);
  for (int slot = 0; slot < 16; ++slot) {
    if (slot % 4 == 0) Append(text, {{slot == 0 ? "Stack" : "", 5}});
    // Slot numbers right-aligned in three columns.
    const std::string number = DecimalText(slot);
    Append(text, {{"", 3 - number.size()},
                  {number},
                  {" "},
                  {Address(s.stack[static_cast<std::size_t>(slot)]), 7}});
    if (slot % 4 == 3) EndLine(text);
  }
  EndLine(text);
  Append(text, {{"DT", 5},
                {DecimalText(s.delayTimer), 5},
                {"ST "},
                {DecimalText(s.soundTimer), 5},
                {"PendingKey "},
                {DecimalText(s.pendingKey)}});
  EndLine(text);
  Append(text, {{"Keys", 5}});
  for (int key = 0; key < 16; ++key) Append(text, {{HexText(key), 2}});
  EndLine(text);
  Append(text, {{"held", 5}});
  for (int key = 0; key < 16; ++key) {
    Append(text, {{s.keyStates[static_cast<std::size_t>(key)] == 1 ? "#" : ".", 2}});
  }
  EndLine(text);
  EndLine(text);
  Append(text,
         {{"Display "}, {DecimalText(s.screenWidth)}, {" x "}, {DecimalText(s.screenHeight)}});
  EndLine(text);
  if (s.xoChip) {
    Append(text, {{"Planes "}, {DecimalText(s.planeMask)}, {"  Pitch "}, {DecimalText(s.pitch)}});
    EndLine(text);
    Append(text, {{"Pattern "}});
    for (const std::uint8_t byte : s.audioPattern) text += ByteValue(byte).substr(1);
    EndLine(text);
  }
  text += s.pace;
  EndLine(text);
  Append(text, {{"Instructions "}, {std::to_string(s.instructionCount)}});
  EndLine(text);
  text += RunState(s);
  EndLine(text);
  return text;
}

std::string MemoryRowText(const InspectorSnapshot& snapshot, int row) {
  const std::int32_t first = 16 * row;
  // "$000" to "$FF0", and "$1000" for the last row, right-aligned.
  std::string digits = HexText(first);
  if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
  std::string text = digits.size() == 3 ? " $" : "$";
  text += digits;
  for (std::int32_t address = first; address < first + 16 && address < snapshot.CellCount();
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
