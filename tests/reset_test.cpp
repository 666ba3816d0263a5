#include <cstdint>
#include <vector>

#include "core/instruction_pass.h"
#include "machine_fixture.h"

namespace pellark {
namespace {

class ResetTest : public MachineTest {
 protected:
  void WriteBootImage(const std::vector<std::uint8_t>& bytes) { machine.BootImage = bytes; }
  void FullReset() {
    machine.ResetAddress = kBootStart;
    machine.ResetMachine();
  }
};

TEST_F(ResetTest, FullResetLoadsTheBootImageAndEmptiesTheRest) {
  Store(0x200, {0x12, 0x34});
  WriteBootImage({0x00, 0x0A, 0xA2, 0xFF});
  FullReset();
  EXPECT_EQ(machine.Cell(0).Text(), "0");
  EXPECT_EQ(machine.Cell(1).Text(), "A");
  EXPECT_EQ(machine.Cell(2).Text(), "A2");
  EXPECT_EQ(machine.Cell(3).Text(), "FF");
  for (int address = 4; address <= machine.LastCell(); ++address)
    ASSERT_TRUE(machine.Cell(address).IsEmpty()) << address;
  EXPECT_EQ(machine.PC, 0x100);
  EXPECT_EQ(host.unreadableBootImages, 0);
}

TEST_F(ResetTest, ABootImageLongerThanMemoryStoresWhatFits) {
  WriteBootImage(std::vector<std::uint8_t>(5000, 0x11));
  FullReset();
  EXPECT_EQ(machine.Cell(machine.LastCell()).Text(), "11");
}

TEST_F(ResetTest, AMissingBootImageIsReportedAndTheMachineIdlesAt100) {
  machine.BootImage.reset();
  FullReset();
  EXPECT_EQ(host.unreadableBootImages, 1);
  EXPECT_TRUE(machine.Running);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(RunAndGetAddress(), 0x100);
}

TEST_F(ResetTest, ResetAt200KeepsMemoryAndClearsTheWorkingState) {
  Store(0x200, {0x60, 0x05, 0x22, 0x06, 0x00, 0x00, 0x00, 0xFF});
  Run(2);  // V0 = 5, call 0x206 whose High switches to 128 × 64
  Run();
  ASSERT_EQ(machine.ScreenWidth(), 128);
  machine.DelayTimer = 9;
  machine.SoundTimer = 9;
  machine.SkipNext = 1;
  machine.Running = 0;
  const auto memory = machine.MemoryCells;
  machine.ResetAddress = kProgramStart;
  machine.ResetMachine();
  EXPECT_EQ(machine.MemoryCells, memory);
  EXPECT_EQ(V(0), 0);
  EXPECT_EQ(machine.I, 1);
  EXPECT_EQ(machine.StackPointer, 0);
  EXPECT_EQ(machine.CallStack[1], 0x204);  // the stack keeps its slots
  EXPECT_EQ(machine.DelayTimer, 0);
  EXPECT_EQ(machine.SoundTimer, 0);
  EXPECT_FALSE(machine.SkipNext);
  EXPECT_EQ(machine.PendingKey, 16);
  EXPECT_TRUE(machine.Running);
  EXPECT_EQ(machine.ScreenWidth(), 64);
  EXPECT_EQ(machine.ScreenHeight(), 32);
  EXPECT_EQ(LitPixels(), 0);
  EXPECT_EQ(RunAndGetAddress(), 0x200);
}

TEST_F(ResetTest, ResetLaysOutTheWindowAndRefreshesTheBlankDisplay) {
  const int layouts = host.layouts;
  const int refreshes = host.refreshes;
  Light(0, 0);
  machine.ResetMachine();
  EXPECT_EQ(host.layouts, layouts + 1);
  EXPECT_EQ(host.refreshes, refreshes + 1);
  EXPECT_EQ(LitPixels(), 0);
}

class TimerTest : public MachineTest {
 protected:
  void Pass(int count = 1) {
    for (int i = 0; i < count; ++i) RunInstructionPass(machine, kNoPacing);
  }
};

TEST_F(TimerTest, TheFirstInstructionAfterAResetAlreadyCountsDown) {
  SetV(2, 2);
  SetV(3, 1);
  Store(0x200, {0xF2, 0x15, 0xF3, 0x18});
  Pass();
  EXPECT_EQ(machine.DelayTimer, 0);
  Pass();
  EXPECT_EQ(machine.SoundTimer, 1);  // the next step is 24 instructions away
}

TEST_F(TimerTest, TimersCountDownEveryTwentyFiveInstructions) {
  Store(0x200, {0x12, 0x00});
  Pass();  // the first step happens here
  machine.DelayTimer = 30;
  machine.SoundTimer = 30;
  Pass(24);
  EXPECT_EQ(machine.DelayTimer, 30);
  Pass();
  EXPECT_EQ(machine.DelayTimer, 27);
  EXPECT_EQ(machine.SoundTimer, 29);
  Pass(9 * 25 - 1);
  EXPECT_EQ(machine.DelayTimer, 3);
  Pass();
  EXPECT_EQ(machine.DelayTimer, 0);
  EXPECT_EQ(machine.SoundTimer, 20);
  Pass(20 * 25);
  EXPECT_EQ(machine.SoundTimer, 0);
}

}  // namespace
}  // namespace pellark
