#include "core/text_memory.h"

#include <algorithm>

namespace pellark {

const Instruction TextMemory::kBeyondMemory;

void TextMemory::Clear() {
  std::fill(cells_.begin(), cells_.end(), HexByte());
  std::fill(values_.begin(), values_.end(), 0);
  for (Fetch& fetch : fetches_) fetch.decoded = false;
}

void TextMemory::Decode(std::size_t address) {
  const HexByte second = address + 1 < cells_.size() ? cells_[address + 1] : HexByte();
  fetches_[address] = {Instruction(cells_[address], second), true};
}

}  // namespace pellark
