#include "plain_interpreter.h"

namespace pellark {

PlainInterpreter::PlainInterpreter(std::initializer_list<int> program) {
  std::uint16_t address = 0x200;
  for (const int byte : program) memory_[address++] = static_cast<std::uint8_t>(byte);
  for (int row = 0; row < 8; ++row) memory_[0x300 + row] = static_cast<std::uint8_t>(0xA5 ^ row);
}

void PlainInterpreter::Step() {
  const unsigned opcode = memory_[pc_] << 8 | memory_[(pc_ + 1) & 0xFFF];
  pc_ = (pc_ + 2) & 0xFFF;
  const unsigned x = opcode >> 8 & 0xF;
  const unsigned y = opcode >> 4 & 0xF;
  const std::uint8_t kk = opcode & 0xFF;
  std::uint8_t& vx = v_[x];
  const std::uint8_t vy = v_[y];
  switch (opcode >> 12) {
    case 0x1: pc_ = opcode & 0xFFF; break;
    case 0x3:
      if (vx == kk) pc_ = (pc_ + 2) & 0xFFF;
      break;
    case 0x6: vx = kk; break;
    case 0x7: vx = static_cast<std::uint8_t>(vx + kk); break;
    case 0x8: {
      unsigned flag = v_[15];
      switch (opcode & 0xF) {
        case 0x4:
          flag = vx + vy > 255;
          vx = static_cast<std::uint8_t>(vx + vy);
          break;
        case 0x5:
          flag = vx >= vy;
          vx = static_cast<std::uint8_t>(vx - vy);
          break;
        case 0x6:
          flag = vx & 1;
          vx = vx >> 1;
          break;
        default: break;
      }
      v_[15] = static_cast<std::uint8_t>(flag);
      break;
    }
    case 0xA: i_ = opcode & 0xFFF; break;
    case 0xD: {
      v_[15] = 0;
      for (unsigned row = 0; row < (opcode & 0xF); ++row) {
        const unsigned bits = memory_[(i_ + row) & 0xFFF];
        const unsigned py = (vy + row) % 32;
        for (unsigned column = 0; column < 8; ++column) {
          if ((bits >> (7 - column) & 1) == 0) continue;
          std::uint8_t& pixel = display_[py * 64 + (vx + column) % 64];
          v_[15] |= pixel;
          pixel ^= 1;
        }
      }
      break;
    }
    default: break;
  }
}

}  // namespace pellark
