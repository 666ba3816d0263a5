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

  // Dxy0 draws 16 rows of two bytes; a second cell that is empty is not "0" and draws as Dxyn.
  const bool wide = in.SubOperation() == "0";
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
  for (int row = 0; row < rows; ++row) {
    std::int32_t bits = 0;
    if (wide) {
      bits =
          HexToNumber(Cell(I + 2 * row).Text()) * 256 + HexToNumber(Cell(I + 2 * row + 1).Text());
    } else {
      bits = HexToNumber(Cell(I + row).Text()) * 256;
    }
    if (bits == 0) continue;
    for (int column = 0; column < columns; ++column) {
      if ((bits >> (15 - column) & 1) == 0) continue;
      int px = x + column;
      int py = y + row;
      if (wrapAround) {
        px %= ScreenWidth;
        py %= ScreenHeight;
      } else if (dropOffImage && (px >= ScreenWidth || py >= ScreenHeight)) {
        continue;
      }
      Colour colour = LitColour();
      // Bits that fall outside the image never collide, in either colour mode.
      const bool onImage = px < ScreenWidth && py < ScreenHeight;
      if (onImage && IsLit(ScreenImage.ReadPixel(px, py))) {
        colour = DarkColour();
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
  Trace(in, wide ? Mnemonic::XDrw : Mnemonic::Drw, rows);
}

}  // namespace pellark
