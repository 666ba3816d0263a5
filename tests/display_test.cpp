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

TEST_F(DisplayTest, ClearDarkensEveryPixelWithoutRefreshing) {
  LightAll();
  const int refreshes = host.refreshes;
  machine.ClearScreen();
  EXPECT_EQ(LitPixels(), 0);
  EXPECT_EQ(host.refreshes, refreshes);
}

TEST_F(DisplayTest, ScrollsMoveFourPixelsSidewaysAndNDownInEitherResolution) {
  LightAll();
  Store(0x200, {0x00, 0xFB, 0x00, 0xFC, 0x00, 0xFC, 0x00, 0xC3});
  Run();
  EXPECT_FALSE(Lit(3, 5));  // the vacated band is dark
  EXPECT_TRUE(Lit(4, 5));
  Run(2);
  EXPECT_TRUE(Lit(55, 5));
  EXPECT_FALSE(Lit(56, 5));
  Run();
  EXPECT_FALSE(Lit(10, 2));
  EXPECT_TRUE(Lit(10, 3));
  EXPECT_EQ(host.refreshes, 1);  // only the reset's
}

TEST_F(DisplayTest, NopScrollsUpSixRows) {
  Light(5, 10);
  Store(0x200, {0x00, 0x00, 0x00, 0x01});
  Run();
  EXPECT_TRUE(Lit(5, 4));
  EXPECT_FALSE(Lit(5, 10));
  Run();
  EXPECT_EQ(LitPixels(), 0);
}

TEST_F(DisplayTest, ResolutionInstructionsResizeAndBlankEvenWhenUnchanged) {
  Store(0x200, {0x00, 0xFF, 0x00, 0xFF, 0x00, 0xFE});
  Run();
  EXPECT_EQ(machine.ScreenWidth(), 128);
  EXPECT_EQ(machine.ScreenHeight(), 64);
  Light(100, 50);
  Run();
  EXPECT_EQ(LitPixels(), 0);
  EXPECT_EQ(host.resolutionLayouts, 2);
  Run();
  EXPECT_EQ(machine.ScreenWidth(), 64);
  EXPECT_EQ(machine.ScreenHeight(), 32);
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

TEST_F(DisplayTest, ASpriteTellsTheHostWhatItPlottedAndErased) {
  Draw(10, 10, {0x81});
  Draw(10, 10, {0x81});
  // Erases four lit pixels but also plots column 64; fully off the display nothing counts.
  Draw(60, 0, {0xFF});
  Draw(60, 0, {0xFF});
  Draw(70, 0, {0xFF});
  EXPECT_EQ(host.sprites,
            (std::vector<std::pair<int, int>>{{2, 0}, {2, 2}, {5, 0}, {5, 4}, {0, 0}}));
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
