// XO-CHIP's machine in the XO-CHIP profile: its instructions, its 64 KiB of wrapping memory and
// its two planes; the other profiles read the same bytes as before.
#include <functional>

#include "machine_fixture.h"

namespace pellark {
namespace {

class XoChipTest : public MachineTest {
 protected:
  XoChipTest() {
    machine.UseRules(RulesOf(Profile::XoChip));
    machine.ResetMachine();
    machine.SetTrace(&trace);
  }
  bool LitOn(const DisplayPlane& plane, int x, int y) const { return plane.IsLit(x, y); }
};

struct InstructionCase {
  const char* what;
  std::initializer_list<int> program;
  int steps;
  const char* lastLine;
  std::function<void(const Machine&)> check;
};

void PrintTo(const InstructionCase& each, std::ostream* out) {
  *out << each.what;
}

const InstructionCase kInstructions[] = {
    {"F000 nnnn loads a 16-bit I and is four bytes long",
     {0xF0, 0x00, 0x0A, 0x4C, 0x60, 0x07},
     2,
     "$204: Mov V0,$7",
     [](const Machine& m) {
       EXPECT_EQ(m.I, 0x0A4C);
       EXPECT_EQ(m.Registers[0], 7);
     }},
    {"its trace line has four digits",
     {0xF0, 0x00, 0x00, 0x12},
     1,
     "$200: Mvi $0012",
     [](const Machine& m) { EXPECT_EQ(m.I, 0x12); }},
    {"5xy2 saves Vx to Vy ascending, I unchanged",
     {0x61, 0x11, 0x62, 0x22, 0x63, 0x33, 0xA3, 0x00, 0x51, 0x32},
     5,
     "$208: Save V1,V3",
     [](const Machine& m) {
       EXPECT_EQ(m.CellValue(0x300), 0x11);
       EXPECT_EQ(m.CellValue(0x301), 0x22);
       EXPECT_EQ(m.CellValue(0x302), 0x33);
       EXPECT_EQ(m.I, 0x300);
     }},
    {"5xy2 descends when x > y",
     {0x61, 0x11, 0x62, 0x22, 0xA3, 0x00, 0x52, 0x12},
     4,
     "$206: Save V2,V1",
     [](const Machine& m) {
       EXPECT_EQ(m.CellValue(0x300), 0x22);
       EXPECT_EQ(m.CellValue(0x301), 0x11);
     }},
    {"5xy3 loads Vx to Vy, I unchanged",
     {0xA2, 0x08, 0x54, 0x53, 0x12, 0x04, 0x00, 0x00, 0xAA, 0xBB},
     2,
     "$202: Load V4,V5",
     [](const Machine& m) {
       EXPECT_EQ(m.Registers[4], 0xAA);
       EXPECT_EQ(m.Registers[5], 0xBB);
       EXPECT_EQ(m.I, 0x208);
     }},
    {"Fn01 selects the planes",
     {0xF3, 0x01},
     1,
     "$200: Plane 3",
     [](const Machine& m) { EXPECT_EQ(m.PlaneMask, 3); }},
    {"F002 copies the audio pattern",
     {0xA2, 0x04, 0xF0, 0x02, 0x01, 0x02, 0x03},
     2,
     "$202: Audio",
     [](const Machine& m) {
       EXPECT_EQ(m.AudioPattern[0], 0x01);
       EXPECT_EQ(m.AudioPattern[2], 0x03);
       EXPECT_EQ(m.AudioPattern[3], 0x00);  // an empty cell
     }},
    {"Fx3A sets the pitch",
     {0x67, 0x80, 0xF7, 0x3A},
     2,
     "$202: Pitch V7",
     [](const Machine& m) { EXPECT_EQ(m.Pitch, 0x80); }},
    {"00Dn scrolls up", {0x00, 0xD3}, 1, "$200: Scup 3", [](const Machine&) {}},
    {"5xy0 keeps its skip",
     {0x50, 0x10, 0x60, 0x05},
     2,
     "$200: Skeqr V0,V1",
     [](const Machine& m) { EXPECT_EQ(m.Registers[0], 0); }},
};

class XoChipInstruction : public XoChipTest,
                          public ::testing::WithParamInterface<InstructionCase> {};

TEST_P(XoChipInstruction, RunsAndTracesAsItsRowSays) {
  const InstructionCase& each = GetParam();
  Store(0x200, each.program);
  machine.ResetMachine();
  Run(each.steps);
  ASSERT_FALSE(trace.lines.empty());
  EXPECT_EQ(trace.lines.back(), each.lastLine);
  each.check(machine);
}

INSTANTIATE_TEST_SUITE_P(Table, XoChipInstruction, ::testing::ValuesIn(kInstructions));

TEST_F(XoChipTest, ResetsGiveThePlaneMaskPatternAndPitchTheirStart) {
  machine.PlaneMask = 0;
  machine.Pitch = 3;
  machine.AudioPattern.fill(0);
  machine.ResetMachine();
  EXPECT_EQ(machine.PlaneMask, 1);
  EXPECT_EQ(machine.Pitch, 64);
  for (const std::uint8_t byte : machine.AudioPattern) EXPECT_EQ(byte, 0xF0);
}

TEST_F(XoChipTest, TheAudioPatternIsACopy) {
  Store(0x200, {0xA3, 0x00, 0xF0, 0x02, 0x60, 0x11, 0xF0, 0x55});
  Store(0x300, {0x77});
  machine.ResetMachine();
  Run(4);
  EXPECT_EQ(machine.CellValue(0x300), 0x11);
  EXPECT_EQ(machine.AudioPattern[0], 0x77);
}

TEST_F(XoChipTest, ASkipPassesTheWholeFourBytesOfF000) {
  // 3000 skips (V0 = 0), over F000 0300, to 6107.
  Store(0x200, {0x30, 0x00, 0xF0, 0x00, 0x03, 0x00, 0x61, 0x07});
  machine.ResetMachine();
  Run(3);
  EXPECT_EQ(V(1), 7);
  EXPECT_NE(machine.I, 0x300);
}

TEST_F(XoChipTest, AddressesWrapAtTheEndOfMemory) {
  EXPECT_EQ(machine.LastCell(), 0xFFFF);
  // I + k past FFFF stores from 0 on; Fx1E wraps I.
  Store(0x200,
        {0x60, 0x0A, 0x61, 0x0B, 0xF0, 0x00, 0xFF, 0xFF, 0xF1, 0x55, 0x62, 0x02, 0xF2, 0x1E});
  machine.ResetMachine();
  Run(6);
  EXPECT_EQ(machine.CellValue(0xFFFF), 0x0A);
  EXPECT_EQ(machine.CellValue(0x0000), 0x0B);
  EXPECT_EQ(machine.I, 0x0001 + 2);
  // PC wraps too: an instruction at FFFE runs, then 0000.
  Store(0xFFFE, {0x63, 0x44});
  Store(0x0000, {0x64, 0x55});
  machine.PC = 0xFFFE;
  machine.PcStep = 0;
  Run(2);
  EXPECT_EQ(V(3), 0x44);
  EXPECT_EQ(V(4), 0x55);
}

TEST_F(XoChipTest, AFourByteInstructionIsDecodedAnewWhenItsLastCellIsWritten) {
  // A loop that runs F000 nnnn, then rewrites its last byte with 5xy2.
  Store(0x200, {0xF0, 0x00, 0x03, 0x00, 0x60, 0x42, 0xA2, 0x03, 0x50, 0x02, 0x12, 0x00});
  machine.ResetMachine();
  Run(5);
  Run(1);  // F000 0342 now
  EXPECT_EQ(machine.I, 0x0342);
}

struct PlaneCase {
  int mask;
  bool first;
  bool second;
};

TEST_F(XoChipTest, DrawingClearingAndScrollingActOnTheSelectedPlanesOnly) {
  for (const PlaneCase& each : {PlaneCase{0, false, false}, PlaneCase{1, true, false},
                                PlaneCase{2, false, true}, PlaneCase{3, true, true}}) {
    SCOPED_TRACE(each.mask);
    machine.ResetMachine();
    // One row of 0x80 for the first selected plane, one for the next.
    Store(0x300, {0x80, 0x80});
    Store(0x200, {0xA3, 0x00, 0xF0 | each.mask, 0x01, 0xD0, 0x01});
    machine.PC = 0x200;
    machine.PcStep = 0;
    Run(3);
    EXPECT_EQ(LitOn(machine.Display, 0, 0), each.first);
    EXPECT_EQ(LitOn(machine.SecondPlane, 0, 0), each.second);
    EXPECT_EQ(V(15), 0);
    // Drawn again: VF tells a collision on any plane; nothing with mask 0.
    Store(0x206, {0xD0, 0x01});
    Run(1);
    EXPECT_EQ(V(15), each.mask == 0 ? 0 : 1);
  }
  // Clear and scroll the second plane only.
  machine.ResetMachine();
  machine.Display.Toggle(5, 5);
  machine.SecondPlane.Toggle(5, 5);
  Store(0x200, {0xF2, 0x01, 0x00, 0xD1, 0x00, 0xE0});
  machine.PC = 0x200;
  machine.PcStep = 0;
  Run(2);
  EXPECT_TRUE(LitOn(machine.Display, 5, 5));
  EXPECT_TRUE(LitOn(machine.SecondPlane, 5, 4));
  EXPECT_EQ(machine.PixelValue(5, 4), 2);
  EXPECT_EQ(machine.PixelValue(5, 5), 1);
  Run(1);
  EXPECT_FALSE(LitOn(machine.SecondPlane, 5, 4));
  EXPECT_TRUE(LitOn(machine.Display, 5, 5));
}

TEST_F(XoChipTest, ASecondPlaneTakesItsRowsAfterTheFirstsAndA16By16SpriteAfter32Bytes) {
  Store(0x300, {0x80, 0x00, 0x40});
  Store(0x200, {0xA3, 0x00, 0xF3, 0x01, 0xD0, 0x02});
  machine.ResetMachine();
  Run(3);
  EXPECT_TRUE(LitOn(machine.Display, 0, 0));
  EXPECT_TRUE(LitOn(machine.SecondPlane, 1, 0));  // from I + 2
  machine.ResetMachine();
  machine.Display.Resize(128, 64);
  machine.SecondPlane.Resize(128, 64);
  Store(0x300, {0x80});
  Store(0x320, {0x40});
  Store(0x200, {0xA3, 0x00, 0xF3, 0x01, 0xD0, 0x00});
  Run(3);
  EXPECT_TRUE(LitOn(machine.Display, 0, 0));
  EXPECT_TRUE(LitOn(machine.SecondPlane, 1, 0));  // from I + 32
}

TEST(XoChipProfileTest, OtherProfilesKeepTheirMemoryAndReadTheSameBytesAsBefore) {
  RecordingHost host;
  ScriptedKeyboard keyboard;
  Machine machine(host, keyboard);
  machine.UseRules(RulesOf(Profile::XoChip));
  EXPECT_EQ(machine.MemoryCells.Size(), static_cast<std::size_t>(kXoChipMemoryCells));
  machine.SetCell(0x300, ToHexByte(0x5A));
  machine.UseRules(RulesOf(Profile::SuperChip));
  EXPECT_EQ(machine.LastCell(), kDesignedMemoryCells - 1);
  EXPECT_EQ(machine.CellValue(0x300), 0x5A);
  // F000 is no instruction there: group F without a row.
  EXPECT_EQ(machine.MemoryCells.InstructionAt(0x200).operation, Operation::Nop);
  machine.SetCell(0x200, ToHexByte(0xF0));
  machine.SetCell(0x201, ToHexByte(0x00));
  EXPECT_EQ(machine.MemoryCells.InstructionAt(0x200).kind, Instruction::Kind::NoRow);
  EXPECT_EQ(machine.MemoryCells.InstructionAt(0x200).length, 2);
}

}  // namespace
}  // namespace pellark
