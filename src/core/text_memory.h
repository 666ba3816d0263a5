#pragma once

#include <array>
#include <cstdint>

#include "core/hex_byte.h"
#include "core/instruction.h"

namespace pellark {

// The address of the last memory cell, one beyond the 4 KiB address space.
inline constexpr std::int32_t kLastCell = 0x1000;

// The machine's memory: 4097 cells of text, addresses 0x000 to 0x1000. Beside the texts it
// keeps what each text spells, and each address's instruction as decoded from the two cells
// there, made the first time the address is fetched and kept until either cell is written, so
// that a program running the same cells over and over is decoded once.
class TextMemory {
 public:
  static constexpr std::size_t kCells = kLastCell + 1;

  HexByte operator[](std::size_t address) const { return cells_[address]; }
  // The number the cell's text spells; 0 for an empty cell.
  std::int32_t ValueAt(std::size_t address) const { return values_[address]; }
  // Writes one cell; the instructions that read it are decoded again when next fetched.
  void Set(std::size_t address, HexByte value) {
    cells_[address] = value;
    values_[address] = static_cast<std::uint8_t>(HexToNumber(value.Text()));
    decoded_[address] = false;
    if (address > 0) decoded_[address - 1] = false;
  }
  // Empties every cell.
  void Clear();

  // The instruction whose first cell is at address; beyond the last cell both cells are empty.
  const Instruction& InstructionAt(std::int32_t address) {
    if (address < 0 || address > kLastCell) return kBeyondMemory;
    const auto index = static_cast<std::size_t>(address);
    if (!decoded_[index]) Decode(index);
    return instructions_[index];
  }

  // Memories are equal when their texts are.
  bool operator==(const TextMemory& other) const { return cells_ == other.cells_; }

 private:
  static const Instruction kBeyondMemory;

  void Decode(std::size_t address);

  std::array<HexByte, kCells> cells_{};
  std::array<std::uint8_t, kCells> values_{};
  std::array<Instruction, kCells> instructions_{};
  std::array<bool, kCells> decoded_{};
};

}  // namespace pellark
