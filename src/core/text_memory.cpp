#include "core/text_memory.h"

#include <algorithm>

namespace pellark {

const Instruction TextMemory::kBeyondMemory;

void TextMemory::Clear() {
  std::fill(cells_.begin(), cells_.end(), HexByte());
  std::fill(values_.begin(), values_.end(), 0);
  for (Fetch& fetch : fetches_) fetch.decoded = false;
}

void TextMemory::Reshape(std::size_t cells, bool xoChip) {
  cells_.resize(cells);
  values_.resize(cells);
  fetches_.assign(cells, Fetch{});
  lastAddress_ = static_cast<std::int32_t>(cells) - 1;
  xoChip_ = xoChip;
}

void TextMemory::Decode(std::size_t address) {
  if (xoChip_) {
    const auto cell = [this, address](std::size_t k) {
      return cells_[(address + k) % cells_.size()];
    };
    fetches_[address] = {Instruction::XoChip(cell(0), cell(1), cell(2), cell(3)), true};
    return;
  }
  const HexByte second = address + 1 < cells_.size() ? cells_[address + 1] : HexByte();
  fetches_[address] = {Instruction(cells_[address], second), true};
}

}  // namespace pellark
