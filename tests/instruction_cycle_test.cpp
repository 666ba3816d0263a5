#include "machine_fixture.h"

namespace pellark {
namespace {

using InstructionCycleTest = MachineTest;

TEST_F(InstructionCycleTest, OneCharacterFirstCellsActAsTheirDigitTwice) {
  Store(0x200, {0x06, 0x12, 0x08, 0x14, 0x0A, 0x50, 0x01, 0x23});
  SetV(1, 3);
  Run(4);
  EXPECT_EQ(V(6), 0x12);         // 0x06 0x12 acts as 6612
  EXPECT_EQ(V(8), 3);            // 0x08 0x14 acts as 8814: V8 += V1
  EXPECT_EQ(machine.I, 0xA50);   // 0x0A 0x50 acts as AA50
  EXPECT_EQ(machine.PC, 0x123);  // 0x01 0x23 acts as 1123
}

TEST_F(InstructionCycleTest, AnEmptySecondCellLeavesAShortAddress) {
  Store(0x200, {0x12});  // the cell at 0x201 stays empty
  Run();
  EXPECT_EQ(machine.PC, 0x20);
}

TEST_F(InstructionCycleTest, SecondBytesBelowTenAreComparedAsOneCharacter) {
  // 0x00 0x0E is not 00EE and takes no handler; 0x00 0xE0 is Cls.
  Store(0x200, {0x00, 0x0E});
  Run();
  EXPECT_EQ(machine.PC, 0x200);
  EXPECT_TRUE(trace.lines.empty());
}

TEST_F(InstructionCycleTest, RegisterSkipsIgnoreTheLastDigit) {
  Store(0x200, {0x51, 0x27, 0x60, 0x01, 0x93, 0x4F, 0x60, 0x02, 0x60, 0x03});
  SetV(1, 9);
  SetV(2, 9);
  SetV(4, 1);
  Run(3);
  EXPECT_EQ(V(0), 0);  // 5127 skipped 6001, 934F will skip 6002
  Run(2);
  EXPECT_EQ(V(0), 3);
}

TEST_F(InstructionCycleTest, JumpsAreNotFollowedByAStep) {
  Store(0x200, {0x12, 0x04, 0x00, 0xE0, 0x12, 0x04});
  EXPECT_EQ(RunAndGetAddress(), 0x200);
  EXPECT_EQ(RunAndGetAddress(), 0x204);
  EXPECT_EQ(RunAndGetAddress(), 0x204);
}

TEST_F(InstructionCycleTest, EmptyCellsKeepTheStepOfTheInstructionBefore) {
  // Reached in sequence, the empty cell at 0x202 is passed over by 2.
  Store(0x200, {0x60, 0x01});
  Store(0x204, {0x12, 0x02});
  EXPECT_EQ(RunAndGetAddress(), 0x200);
  EXPECT_EQ(RunAndGetAddress(), 0x202);
  EXPECT_EQ(RunAndGetAddress(), 0x204);
  // Reached by a jump, it holds the machine there.
  EXPECT_EQ(RunAndGetAddress(), 0x202);
  EXPECT_EQ(RunAndGetAddress(), 0x202);
  EXPECT_EQ(RunAndGetAddress(), 0x202);
}

TEST_F(InstructionCycleTest, UnknownGroupZeroKeepsTheStepButUnknownGroupEightAdvances) {
  Store(0x200, {0x12, 0x02, 0x00, 0x12});
  Run(3);
  EXPECT_EQ(machine.PC, 0x202);
  Store(0x300, {0x13, 0x02});
  Store(0x302, {0x81, 0x28, 0x60, 0x07});
  machine.PC = 0x300;
  machine.PcStep = 0;
  Run(3);
  EXPECT_EQ(machine.PC, 0x304);
  EXPECT_EQ(V(0), 7);
}

TEST_F(InstructionCycleTest, TheLastCellRepeatsAndAddressesBeyondItAreEmpty) {
  machine.SetTrace(&trace);
  Store(0x1000, {0x70});  // 70 with the missing cell beyond: V0 += 0, every cycle again
  machine.PC = 0x1000;
  Run(3);
  EXPECT_EQ(machine.PC, 0x1000);
  EXPECT_EQ(trace.lines, std::vector<std::string>(3, "$1000: Add V0,$0"));
  // Bnnn past the last cell idles where it lands.
  Store(0x200, {0xBF, 0xFF});
  machine.PC = 0x200;
  machine.PcStep = 0;
  SetV(0, 0x20);
  Run(3);
  EXPECT_EQ(machine.PC, 0x101F);
}

TEST_F(InstructionCycleTest, TrueSkipSkipsTheNextInstructionWithoutItsTraceLine) {
  machine.SetTrace(&trace);
  Store(0x200, {0x30, 0x00, 0x61, 0x11, 0x62, 0x22});
  Run(3);
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(V(2), 0x22);
  EXPECT_EQ(trace.lines, (std::vector<std::string>{"$200: Skeq V0,$0", "$204: Mov V2,$22"}));
}

TEST_F(InstructionCycleTest, ASkippedComparisonTracesAndOnlyClearsTheSkip) {
  machine.SetTrace(&trace);
  Store(0x200, {0x30, 0x00, 0x30, 0x00, 0x61, 0x11});
  Run(3);
  EXPECT_EQ(V(1), 0x11);
  EXPECT_EQ(trace.lines.size(), 3u);
  EXPECT_EQ(trace.lines[1], "$202: Skeq V0,$0");
}

TEST_F(InstructionCycleTest, ASkipPassesOverInstructionsWithoutAHandler) {
  Store(0x200, {0x30, 0x00, 0x81, 0x28, 0x61, 0x11, 0x62, 0x22});
  Run(4);
  EXPECT_EQ(V(1), 0);
  EXPECT_EQ(V(2), 0x22);
}

TEST_F(InstructionCycleTest, ASkippedJumpDoesNotTransfer) {
  Store(0x200, {0x30, 0x00, 0x13, 0x00, 0x60, 0x05});
  Run(3);
  EXPECT_EQ(machine.PC, 0x204);
  EXPECT_EQ(V(0), 5);
}

TEST_F(InstructionCycleTest, CallsReturnToTheInstructionAfterThem) {
  Store(0x200, {0x23, 0x00, 0x60, 0x05});
  Store(0x300, {0x00, 0xEE});
  Run(3);
  EXPECT_EQ(machine.PC, 0x202);
  EXPECT_EQ(machine.StackPointer, 0);
  EXPECT_EQ(V(0), 5);
}

class NestedCallTest : public MachineTest {
 protected:
  // The program at 0x200 calls level 0 at 0x400, then sets V0 to 5. Each level calls the next
  // and returns; the last level only returns.
  void StoreLevels(int levels) {
    Store(0x200, {0x24, 0x00, 0x60, 0x05});
    for (int level = 0; level < levels - 1; ++level) {
      const int next = 0x400 + 4 * (level + 1);
      Store(0x400 + 4 * level, {0x20 | next >> 8, next & 0xFF, 0x00, 0xEE});
    }
    Store(0x400 + 4 * (levels - 1), {0x00, 0xEE});
  }
};

TEST_F(NestedCallTest, FifteenNestedCallsReturnCorrectly) {
  StoreLevels(15);
  Run(15);
  EXPECT_EQ(machine.StackPointer, 15);
  Run(16);
  EXPECT_EQ(machine.StackPointer, 0);
  EXPECT_EQ(machine.PC, 0x202);
  EXPECT_EQ(V(0), 5);
}

TEST_F(NestedCallTest, TheSixteenthNestedCallReturnsToAddressZero) {
  StoreLevels(16);
  Run(16);
  EXPECT_EQ(machine.StackPointer, 16);
  EXPECT_EQ(machine.CallStack[16], 0);
  Run();
  EXPECT_EQ(machine.PC, 0);
  EXPECT_EQ(machine.StackPointer, 15);
}

TEST_F(InstructionCycleTest, ReturnsWithoutACallUseSlotZeroThenAddressZero) {
  Store(0x200, {0x00, 0xEE});
  machine.CallStack[0] = 0x246;
  Run();
  EXPECT_EQ(machine.PC, 0x246);
  EXPECT_EQ(machine.StackPointer, -1);
  // A call after the underflow stores into slot 0.
  Store(0x246, {0x22, 0x50, 0x00, 0xEE});
  Store(0x250, {0x00, 0xEE, 0x00, 0xEE});
  Run(2);
  EXPECT_EQ(machine.PC, 0x248);
  EXPECT_EQ(machine.StackPointer, -1);
  // Below slot 0 there is no slot: the return continues at 0.
  machine.StackPointer = -5;
  Run();
  EXPECT_EQ(machine.PC, 0);
  EXPECT_EQ(machine.StackPointer, -6);
}

TEST_F(InstructionCycleTest, AddByteWrapsAndLeavesTheFlag) {
  Store(0x200, {0x70, 0x20});
  SetV(0, 0xF0);
  SetV(15, 7);
  Run();
  EXPECT_EQ(V(0), 0x10);
  EXPECT_EQ(V(15), 7);
}

TEST_F(InstructionCycleTest, AddRegistersSetsTheCarryFlagEitherWay) {
  Store(0x200, {0x80, 0x14, 0x82, 0x34, 0x8F, 0x14});
  SetV(0, 0xF0);
  SetV(1, 0x20);
  SetV(2, 0x10);
  SetV(3, 0x20);
  Run();
  EXPECT_EQ(V(0), 0x10);
  EXPECT_EQ(V(15), 1);
  Run();  // no carry: the flag from before is cleared
  EXPECT_EQ(V(2), 0x30);
  EXPECT_EQ(V(15), 0);
  SetV(15, 0x30);
  Run();  // into VF itself: the flag is written last
  EXPECT_EQ(V(15), 0);
}

struct FlagCase {
  const char* name;
  int first;
  int second;
  int vx;
  int vy;
  int vf;
  int expectedVx;
  int expectedVf;
};

// Failures name the case, not its bytes.
void PrintTo(const FlagCase& flagCase, std::ostream* out) {
  *out << flagCase.name;
}

class FlagOrderTest : public MachineTest, public ::testing::WithParamInterface<FlagCase> {};

TEST_P(FlagOrderTest, FlagIsWrittenBeforeTheResult) {
  const FlagCase& c = GetParam();
  Store(0x200, {c.first, c.second});
  const int x = c.first & 0xF;
  const int y = c.second >> 4;
  SetV(15, c.vf);
  SetV(x, c.vx);
  if (y != x) SetV(y, c.vy);
  Run();
  EXPECT_EQ(V(x), c.expectedVx);
  EXPECT_EQ(V(15), c.expectedVf);
}

INSTANTIATE_TEST_SUITE_P(
    Arithmetic, FlagOrderTest,
    ::testing::Values(FlagCase{"SubBorrow", 0x80, 0x15, 0x10, 0x20, 9, 0xF0, 0},
                      FlagCase{"SubEqual", 0x80, 0x15, 0x33, 0x33, 9, 0, 1},
                      FlagCase{"RsbBorrow", 0x80, 0x17, 0x20, 0x10, 9, 0xF0, 0},
                      FlagCase{"RsbEqual", 0x80, 0x17, 0x44, 0x44, 9, 0, 1},
                      FlagCase{"ShrOddValue", 0x80, 0x16, 0x0B, 0, 9, 0x05, 1},
                      FlagCase{"ShlHighBit", 0x80, 0x1E, 0x81, 0, 9, 0x02, 1},
                      FlagCase{"ShlLowValue", 0x80, 0x1E, 0x0A, 0, 9, 0x14, 0},
                      // With VF as an operand the operand is the new flag.
                      FlagCase{"SubIntoFlag", 0x8F, 0x15, 0x50, 0x20, 0x50, 0xE1, 0xE1},
                      FlagCase{"SubFlagOperand", 0x80, 0xF5, 0x05, 0x03, 0x03, 0x04, 1},
                      FlagCase{"RsbFlagOperand", 0x80, 0xF7, 0x05, 0x09, 0x09, 0xFC, 1},
                      FlagCase{"ShrIntoFlag", 0x8F, 0x16, 0xFF, 0, 0xFF, 0, 0},
                      FlagCase{"ShlIntoFlag", 0x8F, 0x1E, 0x80, 0, 0x80, 2, 2}),
    [](const ::testing::TestParamInfo<FlagCase>& info) { return std::string(info.param.name); });

TEST_F(InstructionCycleTest, LogicAndCopiesLeaveTheFlag) {
  Store(0x200, {0x80, 0x11, 0x82, 0x32, 0x84, 0x53, 0x86, 0x70});
  SetV(0, 0x0C);
  SetV(1, 0x0A);
  SetV(2, 0x0C);
  SetV(3, 0x0A);
  SetV(4, 0x0C);
  SetV(5, 0x0A);
  SetV(7, 0x99);
  SetV(15, 5);
  Run(4);
  EXPECT_EQ(V(0), 0x0E);
  EXPECT_EQ(V(2), 0x08);
  EXPECT_EQ(V(4), 0x06);
  EXPECT_EQ(V(6), 0x99);
  EXPECT_EQ(V(15), 5);
}

TEST_F(InstructionCycleTest, RandomValuesFollowTheSeededSourceUpToTheMask) {
  machine.Random.SeedRandom(1);
  Store(0x200, {0xC0, 0xFF, 0xC1, 0x00, 0xC2, 0x0F});
  Run(3);
  EXPECT_EQ(V(0), 184);
  EXPECT_EQ(V(1), 0);
  RandomGenerator reference;
  reference.SeedRandom(1);
  reference.RandomUpTo(255);
  reference.RandomUpTo(0);
  EXPECT_EQ(V(2), reference.RandomUpTo(15));
}

TEST_F(InstructionCycleTest, ComputedJumpAddsVZero) {
  Store(0x200, {0xB3, 0x00});
  SetV(0, 0x22);
  Run();
  EXPECT_EQ(machine.PC, 0x322);
}

}  // namespace
}  // namespace pellark
