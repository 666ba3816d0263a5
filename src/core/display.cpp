// The display instructions: clear, scroll, resolution and sprites, on the display's bits.
#include <bit>

#include "core/instruction.h"
#include "core/machine.h"
#include "core/machine_host.h"

namespace pellark {

void Machine::ClearScreen() {
  Display.Clear();
}

void Machine::ScrollScreen(int dx, int dy) {
  Display.Scroll(dx, dy);
}

void Machine::SetResolution(int width, int height) {
  Display.Resize(width, height);
  host_.LayOutWindowForResolution();
}

namespace {

// One sprite row's set bits, as the high bits of 16, left to right.
template <typename Visit>
void ForEachSetBit(std::uint32_t bits, Visit visit) {
  // Set bits only: a bit that is 0 costs nothing.
  while (bits != 0) {
    const int column = std::countl_zero(bits << 16);
    bits &= ~(0x8000u >> column);
    if (!visit(column)) return;
  }
}

}  // namespace

Machine::SpriteCounts Machine::DrawClippedAtEdges(const SpriteShape& sprite) {
  // Past one beyond the last row or column a bit is neither plotted nor a collision: such a
  // row, and the rest of a row from there, cost nothing. One past the last pixel still counts
  // as plotted, though it changes nothing.
  SpriteCounts counts;
  const int width = Display.Width();
  const int height = Display.Height();
  for (int row = 0; row < sprite.rows; ++row) {
    const int py = sprite.y + row;
    if (py > height) break;
    ForEachSetBit(SpriteRow(sprite, row), [&](int column) {
      const int px = sprite.x + column;
      if (px > width) return false;
      if (Display.OnDisplay(px, py) && Display.Toggle(px, py)) ++counts.erased;
      ++counts.plotted;
      return true;
    });
  }
  return counts;
}

Machine::SpriteCounts Machine::DrawDroppingOffDisplay(const SpriteShape& sprite) {
  // The platforms: bits past an edge are dropped, never counted.
  SpriteCounts counts;
  for (int row = 0; row < sprite.rows; ++row) {
    const int py = sprite.y + row;
    ForEachSetBit(SpriteRow(sprite, row), [&](int column) {
      const int px = sprite.x + column;
      if (Display.OnDisplay(px, py)) {
        if (Display.Toggle(px, py)) ++counts.erased;
        ++counts.plotted;
      }
      return true;
    });
  }
  return counts;
}

Machine::SpriteCounts Machine::DrawWrapping(const SpriteShape& sprite) {
  SpriteCounts counts;
  const int width = Display.Width();
  const int height = Display.Height();
  for (int row = 0; row < sprite.rows; ++row) {
    const int py = (sprite.y + row) % height;
    ForEachSetBit(SpriteRow(sprite, row), [&](int column) {
      if (Display.Toggle((sprite.x + column) % width, py)) ++counts.erased;
      ++counts.plotted;
      return true;
    });
  }
  return counts;
}

std::uint32_t Machine::SpriteRow(const SpriteShape& sprite, int row) const {
  const std::uint32_t bits = sprite.wide ? CellValue(I + 2 * row) * 256 + CellValue(I + 2 * row + 1)
                                         : CellValue(I + row) * 256;
  // The columns a row has, as the high bits of its 16.
  return bits & (0xFFFFu << (16 - sprite.columns) & 0xFFFFu);
}

void Machine::DrawSprite(const Instruction& in) {
  // The coordinates are taken before the flag is cleared: a VF operand means its old value.
  SpriteShape sprite{Registers[static_cast<std::size_t>(in.x)],
                     Registers[static_cast<std::size_t>(in.y)]};
  if (Rules.platformSprites) {
    sprite.x %= ScreenWidth();
    sprite.y %= ScreenHeight();
  }
  Registers[15] = 0;

  sprite.wide = in.operation == Operation::XDrw;
  if (sprite.wide) {
    sprite.rows = 16;
    sprite.columns = ScreenWidth() == 128 || Rules.platformSprites ? 16 : 8;
  } else if (I <= 0x200 && !Rules.platformSprites) {
    // Sprites stored at or below 0x200 (the boot image's font and art) are 5 rows high.
    sprite.rows = 5;
  } else {
    sprite.rows = in.n;
  }

  SpriteCounts counts;
  if (!Rules.switches.clip) {
    counts = DrawWrapping(sprite);
  } else if (Rules.platformSprites) {
    counts = DrawDroppingOffDisplay(sprite);
  } else {
    counts = DrawClippedAtEdges(sprite);
  }
  if (counts.erased > 0) Registers[15] = 1;

  if (Rules.frameTiming) {
    // The frame shows the display once; a draw in low resolution may end the frame.
    if (Rules.switches.vblank && ScreenWidth() == 64) FrameEndRequested = 1;
  } else {
    host_.SpriteDrawn(counts.plotted, counts.erased);
  }
  Trace(in, in.operation, sprite.rows);
}

}  // namespace pellark
