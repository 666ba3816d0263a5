#pragma once

#include <cstdint>
#include <vector>

#include "core/hex_byte.h"
#include "core/instruction.h"

namespace pellark {

// The designed machine's memory: addresses 0x000 to 0x1000, one cell beyond the 4 KiB address
// space.
inline constexpr std::int32_t kDesignedMemoryCells = 0x1001;
// XO-CHIP's: 64 KiB, 0x0000 to 0xFFFF, whose addresses wrap around.
inline constexpr std::int32_t kXoChipMemoryCells = 0x10000;

// The machine's memory: cells of text, addresses 0 to Size() - 1. Beside the texts it keeps
// what each text spells, and each address's instruction as decoded from the cells there, made
// the first time the address is fetched and kept until a cell it reads is written, so that a
// program running the same cells over and over is decoded once.
class TextMemory {
 public:
  explicit TextMemory(std::size_t cells = kDesignedMemoryCells)
      : cells_(cells),
        values_(cells),
        fetches_(cells),
        lastAddress_(static_cast<std::int32_t>(cells) - 1) {}

  std::size_t Size() const { return cells_.size(); }
  // Makes the memory cells long, keeping the texts of the cells it still has, and decodes
  // with or without XO-CHIP's instructions (whose addresses wrap around the end of memory).
  void Reshape(std::size_t cells, bool xoChip);
  bool XoChip() const { return xoChip_; }
  // Kept rather than computed: every fetch and cell access tests it.
  std::int32_t LastAddress() const { return lastAddress_; }

  HexByte operator[](std::size_t address) const { return cells_[address]; }
  // The number the cell's text spells; 0 for an empty cell.
  std::int32_t ValueAt(std::size_t address) const { return values_[address]; }
  // Writes one cell; the instructions that read it are decoded again when next fetched.
  void Set(std::size_t address, HexByte value) {
    cells_[address] = value;
    values_[address] = static_cast<std::uint8_t>(HexToNumber(value.Text()));
    // Every instruction that begins close enough before the cell to read it (in XO-CHIP's
    // memory, also from the other end).
    for (std::size_t reader = 0; reader < kLongestInstructionLength; ++reader) {
      if (reader <= address) {
        fetches_[address - reader].decoded = false;
      } else if (xoChip_) {
        fetches_[address + cells_.size() - reader].decoded = false;
      }
    }
  }
  // Empties every cell.
  void Clear();

  // The instruction whose first cell is at address; beyond the last cell both cells are empty.
  const Instruction& InstructionAt(std::int32_t address) {
    if (address < 0 || address > LastAddress()) return kBeyondMemory;
    const auto index = static_cast<std::size_t>(address);
    Fetch& fetch = fetches_[index];
    if (!fetch.decoded) Decode(index);
    return fetch.instruction;
  }

  // Memories are equal when their texts are.
  bool operator==(const TextMemory& other) const { return cells_ == other.cells_; }

 private:
  static const Instruction kBeyondMemory;

  void Decode(std::size_t address);

  // An address's instruction, and whether it still holds what the cells say.
  struct Fetch {
    Instruction instruction;
    bool decoded = false;
  };

  std::vector<HexByte> cells_;
  std::vector<std::uint8_t> values_;
  std::vector<Fetch> fetches_;
  std::int32_t lastAddress_;
  bool xoChip_ = false;
};

}  // namespace pellark
