#include <bit>

#include "core/instruction.h"
#include "core/machine.h"
#include "core/machine_host.h"

namespace pellark {

void Machine::ClearScreen() {
  ScreenImage.NewImage(ScreenWidth, ScreenHeight);
  if (InvertColors == 1) ScreenImage.FillBox(0, 0, ScreenWidth, ScreenHeight, White);
}

void Machine::ScrollScreen(int dx, int dy) {
  ScratchImage.NewImage(ScreenWidth, ScreenHeight);
  if (InvertColors == 1) ScratchImage.FillBox(0, 0, ScreenWidth, ScreenHeight, White);
  ScratchImage.BlitImage(ScreenImage, dx, dy);
  ScreenImage.DuplicateImage(ScratchImage);
}

void Machine::SetResolution(int width, int height) {
  ScreenWidth = width;
  ScreenHeight = height;
  host_.LayOutWindowForResolution();
  ClearScreen();
}

void Machine::DrawSprite(const Instruction& in) {
  // The coordinates are taken before the flag is cleared: a VF operand means its old value.
  std::int32_t x = Registers[static_cast<std::size_t>(in.x)];
  std::int32_t y = Registers[static_cast<std::size_t>(in.y)];
  if (Rules.platformSprites) {
    x %= ScreenWidth;
    y %= ScreenHeight;
  }
  auto& vf = Registers[15];
  vf = 0;
  int plotCount = 0;
  int eraseCount = 0;

  const bool wide = in.operation == Operation::XDrw;
  int rows = in.n;
  int columns = 8;
  if (wide) {
    rows = 16;
    columns = ScreenWidth == 128 || Rules.platformSprites ? 16 : 8;
  } else if (I <= 0x200 && !Rules.platformSprites) {
    // Sprites stored at or below 0x200 (the boot image's font and art) are 5 rows high.
    rows = 5;
  }

  const bool wrapAround = !Rules.switches.clip;
  const bool dropOffImage = Rules.platformSprites;
  const Colour lit = LitColour();
  const Colour dark = DarkColour();
  const int litBlue = BlueOf(lit);
  // The columns a row has, as the high bits of its 16.
  const std::uint32_t columnMask = 0xFFFFu << (16 - columns) & 0xFFFFu;
  for (int row = 0; row < rows; ++row) {
    std::uint32_t bits =
        wide ? CellValue(I + 2 * row) * 256 + CellValue(I + 2 * row + 1) : CellValue(I + row) * 256;
    bits &= columnMask;
    // Past one beyond the last row or column a bit is neither plotted nor a collision: such a
    // row, and the rest of a row from there, cost nothing.
    if (!wrapAround && y + row > ScreenHeight) break;
    // Set bits only: a bit that is 0 costs nothing.
    while (bits != 0) {
      const int column = std::countl_zero(bits << 16);
      bits &= ~(0x8000u >> column);
      int px = x + column;
      int py = y + row;
      if (wrapAround) {
        px %= ScreenWidth;
        py %= ScreenHeight;
      } else if (px > ScreenWidth) {
        break;
      } else if (dropOffImage && (px >= ScreenWidth || py >= ScreenHeight)) {
        continue;
      }
      Colour colour = lit;
      // Bits that fall outside the image never collide, in either colour mode.
      const bool onImage = px < ScreenWidth && py < ScreenHeight;
      if (onImage && BlueOf(ScreenImage.ReadPixel(px, py)) == litBlue) {
        colour = dark;
        vf = 1;
        ++eraseCount;
      }
      // One past the last pixel still counts as plotted, though it changes nothing.
      if (px <= ScreenWidth && py <= ScreenHeight) {
        ScreenImage.PutPixel(px, py, colour);
        ++plotCount;
      }
    }
  }

  if (Rules.frameTiming) {
    // The frame shows the display once; a draw in low resolution may end the frame.
    if (Rules.switches.vblank && ScreenWidth == 64) FrameEndRequested = 1;
  } else if (Antiflicker == 0 || plotCount != eraseCount) {
    // With Antiflicker a draw that only erased pixels is not shown by itself.
    host_.RefreshWindow();
  }
  Trace(in, wide ? Operation::XDrw : Operation::Drw, rows);
}

}  // namespace pellark
