// The display instructions: clear, scroll, resolution and sprites, on the display's bits.
#include <bit>

#include "core/instruction.h"
#include "core/machine.h"
#include "core/machine_host.h"

namespace pellark {

void Machine::ClearScreen() {
  if (!Rules.xoChip) {
    Display.Clear();
    return;
  }
  ForEachSelectedPlane([](DisplayPlane& plane) { plane.Clear(); });
}

void Machine::ScrollScreen(int dx, int dy) {
  if (!Rules.xoChip) {
    Display.Scroll(dx, dy);
    return;
  }
  ForEachSelectedPlane([dx, dy](DisplayPlane& plane) { plane.Scroll(dx, dy); });
}

void Machine::SetResolution(int width, int height) {
  // Both planes, whatever the mask.
  Display.Resize(width, height);
  SecondPlane.Resize(width, height);
  host_->LayOutWindowForResolution();
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

Machine::SpriteCounts Machine::DrawDroppingOffDisplay(const SpriteShape& sprite,
                                                      DisplayPlane& plane) {
  // The platforms: bits past an edge are dropped, never counted.
  SpriteCounts counts;
  for (int row = 0; row < sprite.rows; ++row) {
    const int py = sprite.y + row;
    ForEachSetBit(SpriteRow(sprite, row), [&](int column) {
      const int px = sprite.x + column;
      if (plane.OnDisplay(px, py)) {
        if (plane.Toggle(px, py)) ++counts.erased;
        ++counts.plotted;
      }
      return true;
    });
  }
  return counts;
}

Machine::SpriteCounts Machine::DrawWrapping(const SpriteShape& sprite, DisplayPlane& plane) {
  SpriteCounts counts;
  const int width = plane.Width();
  const int height = plane.Height();
  for (int row = 0; row < sprite.rows; ++row) {
    const int py = (sprite.y + row) % height;
    ForEachSetBit(SpriteRow(sprite, row), [&](int column) {
      if (plane.Toggle((sprite.x + column) % width, py)) ++counts.erased;
      ++counts.plotted;
      return true;
    });
  }
  return counts;
}

Machine::SpriteCounts Machine::DrawOnPlane(const SpriteShape& sprite, DisplayPlane& plane) {
  if (!Rules.switches.clip) return DrawWrapping(sprite, plane);
  if (Rules.platformSprites) return DrawDroppingOffDisplay(sprite, plane);
  return DrawClippedAtEdges(sprite);
}

std::uint32_t Machine::SpriteRow(const SpriteShape& sprite, int row) const {
  const std::int32_t from = sprite.source;
  const std::uint32_t bits = sprite.wide
                                 ? CellValue(from + 2 * row) * 256 + CellValue(from + 2 * row + 1)
                                 : CellValue(from + row) * 256;
  // The columns a row has, as the high bits of its 16.
  return bits & (0xFFFFu << (16 - sprite.columns) & 0xFFFFu);
}

void Machine::DrawSprite(const Instruction& in) {
  // The coordinates are taken before the flag is cleared: a VF operand means its old value.
  SpriteShape sprite{Registers[static_cast<std::size_t>(in.x)],
                     Registers[static_cast<std::size_t>(in.y)]};
  sprite.source = I;
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
  if (!Rules.xoChip) {
    counts = DrawOnPlane(sprite, Display);
  } else {
    // Each selected plane in turn, the next taking its rows after the last one's.
    const int bytes = sprite.rows * (sprite.wide ? 2 : 1);
    ForEachSelectedPlane([&](DisplayPlane& plane) {
      const SpriteCounts drawn = DrawOnPlane(sprite, plane);
      counts.plotted += drawn.plotted;
      counts.erased += drawn.erased;
      sprite.source += bytes;
    });
  }
  if (counts.erased > 0) Registers[15] = 1;

  if (Rules.frameTiming) {
    // The frame shows the display once; a draw in low resolution may end the frame.
    if (Rules.switches.vblank && ScreenWidth() == 64) FrameEndRequested = 1;
  } else {
    host_->SpriteDrawn(counts.plotted, counts.erased);
  }
  Trace(in, in.operation, sprite.rows);
}

}  // namespace pellark
