#include "machine_fixture.h"

namespace pellark {
namespace {

class DisplayTest : public MachineTest {
 protected:
  // Draws the byte pattern rows at (x, y) with Dxyn from 0x300, I pointing at the rows.
  void Draw(int x, int y, std::initializer_list<int> rows) {
    Store(0x300, rows);
    machine.I = 0x300;
    SetV(1, x);
    SetV(2, y);
    Store(0x200, {0xD1, 0x20 | static_cast<int>(rows.size())});
    machine.PC = 0x200;
    machine.PcStep = 0;
    Run();
  }
};

TEST_F(DisplayTest, ClearFillsWithTheDarkColourWithoutRefreshing) {
  machine.ScreenImage.FillBox(0, 0, 64, 32, White);
  const int refreshes = host.refreshes;
  machine.ClearScreen();
  EXPECT_EQ(machine.ScreenImage.ReadPixel(10, 10), Black);
  machine.InvertColors = 1;
  machine.ClearScreen();
  EXPECT_EQ(machine.ScreenImage.ReadPixel(63, 31), White);
  EXPECT_EQ(host.refreshes, refreshes);
}

TEST_F(DisplayTest, ScrollsMoveFourPixelsSidewaysAndNDownInEitherResolution) {
  machine.ScreenImage.FillBox(0, 0, 64, 32, White);
  Store(0x200, {0x00, 0xFB, 0x00, 0xFC, 0x00, 0xFC, 0x00, 0xC3});
  Run();
  EXPECT_EQ(machine.ScreenImage.ReadPixel(3, 5), Black);
  EXPECT_EQ(machine.ScreenImage.ReadPixel(4, 5), White);
  Run(2);
  EXPECT_EQ(machine.ScreenImage.ReadPixel(55, 5), White);
  EXPECT_EQ(machine.ScreenImage.ReadPixel(56, 5), Black);
  Run();
  EXPECT_EQ(machine.ScreenImage.ReadPixel(10, 2), Black);
  EXPECT_EQ(machine.ScreenImage.ReadPixel(10, 3), White);
  EXPECT_EQ(host.refreshes, 1);  // only the reset's
}

TEST_F(DisplayTest, VacatedBandsTakeTheDarkColourWhenInverted) {
  machine.InvertColors = 1;
  machine.ClearScreen();
  machine.ScreenImage.FillBox(0, 0, 64, 32, Black);
  machine.ScrollScreen(4, 0);
  EXPECT_EQ(machine.ScreenImage.ReadPixel(0, 0), White);
  EXPECT_EQ(machine.ScreenImage.ReadPixel(4, 0), Black);
}

TEST_F(DisplayTest, NopScrollsUpSixRows) {
  machine.ScreenImage.PutPixel(5, 10, White);
  Store(0x200, {0x00, 0x00, 0x00, 0x01});
  Run();
  EXPECT_EQ(machine.ScreenImage.ReadPixel(5, 4), White);
  EXPECT_EQ(machine.ScreenImage.ReadPixel(5, 10), Black);
  Run();
  EXPECT_EQ(LitPixels(), 0);
}

TEST_F(DisplayTest, ResolutionInstructionsResizeAndBlankEvenWhenUnchanged) {
  Store(0x200, {0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFE});
  Run();
  EXPECT_EQ(machine.ScreenWidth, 128);
  EXPECT_EQ(machine.ScreenImage.Width(), 128);
  EXPECT_EQ(machine.ScreenImage.Height(), 64);
  machine.ScreenImage.PutPixel(100, 50, White);
  Run();
  EXPECT_EQ(LitPixels(), 0);
  EXPECT_EQ(host.resolutionLayouts, 2);
  Run();
  EXPECT_EQ(machine.ScreenWidth, 64);
  EXPECT_EQ(machine.ScreenHeight, 32);
  EXPECT_EQ(host.refreshes, 1);
}

TEST_F(DisplayTest, SpritesAtOrBelowAddress200AreFiveRowsHigh) {
  for (int row = 0; row < 8; ++row) Store(0x200 + row, {0x80});
  Store(0x400, {0xD0, 0x18});
  machine.PC = 0x400;
  machine.I = 0x200;
  Run();
  EXPECT_EQ(LitPixels(), 5);
  machine.ClearScreen();
  machine.I = 0x201;
  machine.PC = 0x400;
  machine.PcStep = 0;
  Run();
  EXPECT_EQ(LitPixels(), 7);  // 0x201 .. 0x208, of which 0x208 is empty
}

TEST_F(DisplayTest, SpritesClipAtTheEdgesAndOffImageBitsNeverCollide) {
  Draw(60, 0, {0xFF});
  for (int x = 60; x < 64; ++x) EXPECT_TRUE(Lit(x, 0)) << x;
  EXPECT_FALSE(Lit(0, 0));  // no wrap-around
  EXPECT_EQ(LitPixels(), 4);
  EXPECT_EQ(V(15), 0);
  machine.InvertColors = 1;
  machine.ClearScreen();
  Draw(60, 31, {0xFF, 0xFF});
  EXPECT_EQ(LitPixels(), 4);
  EXPECT_EQ(V(15), 0);
}

TEST_F(DisplayTest, DrawingTwiceRestoresTheDisplayAndFlagsTheSecondDraw) {
  Draw(10, 10, {0xA5, 0x5A});
  EXPECT_EQ(V(15), 0);
  EXPECT_EQ(LitPixels(), 8);
  Draw(10, 10, {0xA5, 0x5A});
  EXPECT_EQ(V(15), 1);
  EXPECT_EQ(LitPixels(), 0);
}

TEST_F(DisplayTest, CollisionsFollowTheLitColourAfterInversion) {
  Draw(0, 0, {0x80});
  machine.InvertColors = 1;
  machine.ScreenImage.PutPixel(0, 0, Black);  // the same lit pixel in inverted colours
  machine.ScreenImage.FillBox(1, 0, 63, 32, White);
  Draw(0, 0, {0x80});
  EXPECT_EQ(V(15), 1);
  EXPECT_EQ(machine.ScreenImage.ReadPixel(0, 0), White);
}

TEST_F(DisplayTest, AntiflickerSkipsTheRefreshOfDrawsThatOnlyErase) {
  machine.Antiflicker = 1;
  const int before = host.refreshes;
  Draw(10, 10, {0x81});
  EXPECT_EQ(host.refreshes, before + 1);
  Draw(10, 10, {0x81});
  EXPECT_EQ(host.refreshes, before + 1);
  machine.Antiflicker = 0;
  Draw(10, 10, {0x81});
  Draw(10, 10, {0x81});
  EXPECT_EQ(host.refreshes, before + 3);
}

TEST_F(DisplayTest, PlotsOnePastTheEdgeCountForAntiflicker) {
  machine.Antiflicker = 1;
  Draw(60, 0, {0xFF});
  const int before = host.refreshes;
  // Erases four lit pixels but also plots column 64, so the counts differ and it refreshes.
  Draw(60, 0, {0xFF});
  EXPECT_EQ(host.refreshes, before + 1);
  // Fully off the image nothing is plotted or erased: equal counts, no refresh.
  Draw(70, 0, {0xFF});
  EXPECT_EQ(host.refreshes, before + 1);
}

TEST_F(DisplayTest, TheFlagRegisterAsCoordinateIsReadBeforeItIsCleared) {
  SetV(15, 7);
  Store(0x300, {0x80});
  machine.I = 0x300;
  Store(0x200, {0xDF, 0x01});
  Run();
  EXPECT_TRUE(Lit(7, 0));
  EXPECT_EQ(V(15), 0);
}

TEST_F(DisplayTest, WideSpritesDrawSixteenRowsAndSixteenColumnsOnlyInHighResolution) {
  for (int row = 0; row < 16; ++row) Store(0x300 + 2 * row, {0x80, 0x01});
  machine.I = 0x300;
  Store(0x200, {0xD0, 0x10, 0x00, 0xFF, 0xD0, 0x10});
  Run();
  EXPECT_EQ(LitPixels(), 16);  // low resolution: the left byte only
  EXPECT_TRUE(Lit(0, 15));
  Run(2);
  EXPECT_EQ(LitPixels(), 32);
  EXPECT_TRUE(Lit(15, 15));
}

TEST_F(DisplayTest, WideSpritesReadEmptyCellsAsZero) {
  Store(0x300, {0xFF});  // 0x301 and the rest stay empty
  machine.I = 0x300;
  Store(0x200, {0x00, 0xFF, 0xD0, 0x00});
  Run(2);
  EXPECT_EQ(LitPixels(), 8);
}

TEST_F(DisplayTest, AnEmptySecondCellDrawsZeroRowsOrFiveBelow200) {
  Store(0x300, {0xFF});
  machine.I = 0x300;
  SetV(15, 1);
  Store(0x200, {0xD0});
  Run();
  EXPECT_EQ(LitPixels(), 0);
  EXPECT_EQ(V(15), 0);
  Store(0x100, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
  machine.I = 0x100;
  machine.PC = 0x200;
  machine.PcStep = 0;
  Run();
  EXPECT_EQ(LitPixels(), 40);
}

TEST_F(DisplayTest, SpriteRowsBeyondTheLastCellReadAsZero) {
  Store(0x1000, {0xFF});
  machine.I = 0x1000;
  Store(0x200, {0xD0, 0x0F, 0x00, 0xFF, 0xD0, 0x30});
  Run();
  EXPECT_EQ(LitPixels(), 8);
  Run(2);
  EXPECT_EQ(LitPixels(), 8);
}

}  // namespace
}  // namespace pellark
