#include "core/text_memory.h"

namespace pellark {

const Instruction TextMemory::kBeyondMemory;

void TextMemory::Clear() {
  cells_.fill(HexByte());
  values_.fill(0);
  decoded_.fill(false);
}

void TextMemory::Decode(std::size_t address) {
  const HexByte second = address + 1 < kCells ? cells_[address + 1] : HexByte();
  instructions_[address] = Instruction(cells_[address], second);
  decoded_[address] = true;
}

}  // namespace pellark
