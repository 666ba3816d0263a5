#include "core/instruction_pass.h"
#include "machine_fixture.h"

namespace pellark {
namespace {

using KeypadTest = MachineTest;

TEST_F(KeypadTest, ReadKeypadMapsKeyPositionsAndTheHighestKeyWins) {
  keyboard.Hold(kScanX);
  keyboard.Hold(kScan4);
  machine.PendingKey = 0;
  machine.ReadKeypad();
  EXPECT_EQ(machine.KeyStates[0x0], 1);
  EXPECT_EQ(machine.KeyStates[0xC], 1);
  EXPECT_EQ(machine.PendingKey, 0xC + 1);
  keyboard.Hold(kScanX, false);
  keyboard.Hold(kScan4, false);
  keyboard.Hold(0x39);  // the space bar is no keypad key
  machine.ReadKeypad();
  EXPECT_EQ(machine.KeyStates[0xC], 0);
  EXPECT_EQ(machine.PendingKey, 0xC + 1);  // kept while nothing is held
}

TEST_F(KeypadTest, EveryMappedKeyReachesItsKeypadKey) {
  const std::array<std::pair<int, int>, 16> map{{{0x02, 0x1},
                                                 {0x03, 0x2},
                                                 {0x04, 0x3},
                                                 {0x05, 0xC},
                                                 {0x10, 0x4},
                                                 {0x11, 0x5},
                                                 {0x12, 0x6},
                                                 {0x13, 0xD},
                                                 {0x1E, 0x7},
                                                 {0x1F, 0x8},
                                                 {0x20, 0x9},
                                                 {0x21, 0xE},
                                                 {0x2C, 0xA},
                                                 {0x2D, 0x0},
                                                 {0x2E, 0xB},
                                                 {0x2F, 0xF}}};
  for (const auto& [scanCode, key] : map) {
    keyboard.Hold(scanCode);
    machine.ReadKeypad();
    EXPECT_EQ(machine.PendingKey, key + 1) << scanCode;
    keyboard.Hold(scanCode, false);
  }
}

TEST_F(KeypadTest, KeySkipsTestTheKeyNamedByTheRegister) {
  Store(0x200, {0xE0, 0xA1, 0x60, 0x01, 0xE0, 0x9E, 0x61, 0x01});
  SetV(0, 5);
  Run(2);
  EXPECT_EQ(V(0), 5);  // not held: Skup skipped the Mov
  Run(2);
  EXPECT_EQ(V(1), 1);  // not held: Skpr does not skip
}

TEST_F(KeypadTest, KeysAboveFAreNeverHeld) {
  keyboard.Hold(kScanX);
  Store(0x200, {0xE0, 0x9E, 0x61, 0x01});
  SetV(0, 0x10);
  Run(2);
  EXPECT_EQ(V(1), 1);
}

TEST_F(KeypadTest, ASkippedKeySkipOnlyClearsTheSkip) {
  keyboard.Hold(0x2D);
  Store(0x200, {0x30, 0x00, 0xE0, 0x9E, 0x61, 0x01});
  Run(3);
  EXPECT_EQ(V(1), 1);
}

TEST_F(KeypadTest, KeyWaitReturnsAKeyAlreadyHeldAtOnce) {
  keyboard.Hold(kScanX);
  Store(0x200, {0xF3, 0x0A});
  SetV(3, 9);
  Run();
  EXPECT_EQ(V(3), 0);
  EXPECT_EQ(host.polls, 1);
}

TEST_F(KeypadTest, KeyWaitPollsEventsUntilAKeyIsHeldAndTakesTheHighest) {
  Store(0x200, {0xF3, 0x0A, 0x60, 0x07});
  host.onPollEvents = [this] {
    if (host.polls == 3) {
      keyboard.Hold(kScanX);
      keyboard.Hold(kScan4);
    }
  };
  Run();
  EXPECT_EQ(V(3), 0xC);
  EXPECT_EQ(host.polls, 3);
  EXPECT_EQ(machine.PendingKey, 0xC);
  Run();
  EXPECT_EQ(V(0), 7);
}

TEST_F(KeypadTest, AResetDuringTheKeyWaitRestartsAtTheResetAddress) {
  Store(0x200, {0x60, 0x01, 0xF3, 0x0A, 0x61, 0x01});
  host.onPollEvents = [this] { machine.ResetMachine(); };
  Run(2);
  EXPECT_EQ(V(3), 15);
  EXPECT_EQ(V(0), 0);
  EXPECT_EQ(RunAndGetAddress(), 0x200);
}

TEST_F(KeypadTest, QuitDuringTheKeyWaitEndsIt) {
  Store(0x200, {0xF3, 0x0A});
  host.onPollEvents = [this] {
    machine.QuitRequested = 1;
    machine.PendingKey = 16;
  };
  Run();
  EXPECT_EQ(V(3), 15);
  EXPECT_EQ(machine.PcStep, 2);
}

TEST_F(KeypadTest, TheKeyWaitIsAStateTheInstructionLeavesTheMachineIn) {
  Store(0x200, {0x60, 0x01, 0xF3, 0x0A, 0x61, 0x01});
  Run();
  machine.ExecuteInstruction();
  // The instruction has returned; it ends only when a round of the wait finds a key.
  EXPECT_TRUE(machine.WaitingForKey());
  EXPECT_EQ(machine.PC, 0x202);
  EXPECT_EQ(machine.PcStep, 2);  // still the step of the instruction before
  EXPECT_FALSE(machine.ContinueKeyWait());
  EXPECT_TRUE(machine.WaitingForKey());
  keyboard.Hold(kScan1);
  EXPECT_TRUE(machine.ContinueKeyWait());
  EXPECT_FALSE(machine.WaitingForKey());
  EXPECT_EQ(V(3), 1);
  EXPECT_EQ(RunAndGetAddress(), 0x204);
}

TEST_F(KeypadTest, AStepInAWaitStartedAfterAJumpKeepsTheJumpsStepUntilTheWaitEnds) {
  Store(0x200, {0x12, 0x04, 0x00, 0x00, 0xF3, 0x0A});
  Run();
  machine.ExecuteInstruction();
  EXPECT_EQ(machine.NextFetchAddress(), 0x204);
  keyboard.Hold(kScan1);
  machine.ContinueKeyWait();
  EXPECT_EQ(machine.NextFetchAddress(), 0x206);
}

TEST_F(KeypadTest, AWaitingInstructionsPassIsPacedOnceWhenTheWaitEnds) {
  Store(0x200, {0xF3, 0x0A});
  EXPECT_FALSE(RunInstructionPass(machine, kNoPacing));
  EXPECT_FALSE(RunInstructionPass(machine, kNoPacing));
  EXPECT_EQ(machine.TimerTick, 0);
  EXPECT_EQ(machine.InstructionCount, 1u);
  keyboard.Hold(kScan1);
  EXPECT_TRUE(RunInstructionPass(machine, kNoPacing));
  EXPECT_EQ(machine.TimerTick, 1);
  EXPECT_EQ(machine.InstructionCount, 1u);
}

TEST_F(KeypadTest, TimerInstructionsMoveValuesBetweenRegistersAndTimers) {
  Store(0x200, {0xF1, 0x15, 0xF2, 0x18, 0xF3, 0x07});
  SetV(1, 0x30);
  SetV(2, 0x40);
  Run(3);
  EXPECT_EQ(machine.DelayTimer, 0x30);
  EXPECT_EQ(machine.SoundTimer, 0x40);
  EXPECT_EQ(V(3), 0x30);
}

TEST_F(KeypadTest, AddToIWrapsByFFFPastTheLastCell) {
  Store(0x200, {0xF0, 0x1E, 0xF1, 0x1E});
  machine.I = 0xFFE;
  SetV(0, 2);
  SetV(1, 1);
  Run();
  EXPECT_EQ(machine.I, 0x1000);
  Run();
  EXPECT_EQ(machine.I, 2);
}

TEST_F(KeypadTest, FontAddressesAreFiveAndTenTimesTheDigit) {
  Store(0x200, {0xF0, 0x29, 0xF1, 0x30, 0xF2, 0x29});
  SetV(0, 0xA);
  SetV(1, 3);
  SetV(2, 0xFF);
  Run();
  EXPECT_EQ(machine.I, 50);
  Run();
  EXPECT_EQ(machine.I, 30);
  Run();
  EXPECT_EQ(machine.I, 5 * 255);
}

TEST_F(KeypadTest, DecimalDigitsAndRegisterBlocksRoundTripThroughMemory) {
  Store(0x200, {0xF0, 0x33, 0xF2, 0x65});
  machine.I = 0x300;
  SetV(0, 255);
  Run();
  EXPECT_EQ(machine.Cell(0x300).Text(), "2");
  EXPECT_EQ(machine.Cell(0x301).Text(), "5");
  EXPECT_EQ(machine.Cell(0x302).Text(), "5");
  Run();
  EXPECT_EQ(V(0), 2);
  EXPECT_EQ(V(1), 5);
  EXPECT_EQ(V(2), 5);
  EXPECT_EQ(machine.I, 0x300);
}

TEST_F(KeypadTest, StoredRegistersAreCellTextsAndLoadBack) {
  Store(0x200, {0xF3, 0x55, 0xF3, 0x65});
  machine.I = 0x300;
  const std::array<int, 4> values{10, 0, 0xA2, 7};
  for (int k = 0; k < 4; ++k) SetV(k, values[static_cast<std::size_t>(k)]);
  SetV(4, 0x44);
  Run();
  EXPECT_EQ(machine.Cell(0x300).Text(), "A");
  EXPECT_EQ(machine.Cell(0x301).Text(), "0");
  EXPECT_EQ(machine.Cell(0x302).Text(), "A2");
  EXPECT_TRUE(machine.Cell(0x304).IsEmpty());
  for (int k = 0; k < 4; ++k) SetV(k, 0);
  Run();
  for (int k = 0; k < 4; ++k) EXPECT_EQ(V(k), values[static_cast<std::size_t>(k)]);
  EXPECT_EQ(machine.I, 0x300);
}

TEST_F(KeypadTest, TransfersPastTheLastCellDropWritesAndReadZero) {
  Store(0x200, {0xFF, 0x55, 0xFF, 0x65, 0xF0, 0x33});
  machine.I = 0xFFE;
  for (int k = 0; k < 16; ++k) SetV(k, k + 1);
  Run();
  EXPECT_EQ(machine.Cell(0x1000).Text(), "3");
  for (int k = 0; k < 16; ++k) SetV(k, 9);
  Run();
  EXPECT_EQ(V(2), 3);
  EXPECT_EQ(V(3), 0);
  EXPECT_EQ(V(15), 0);
  machine.I = 0xFFF;
  SetV(0, 1);
  Run();  // the units digit falls beyond the last cell
  EXPECT_EQ(machine.Cell(0xFFF).Text(), "0");
  EXPECT_EQ(machine.Cell(0x1000).Text(), "0");
}

TEST_F(KeypadTest, FlagSaveAndRestoreChangeNothing) {
  Store(0x200, {0xF5, 0x75, 0xF5, 0x85, 0xF5, 0x99});
  SetV(5, 3);
  machine.I = 0x345;
  machine.DelayTimer = 9;
  const auto registers = machine.Registers;
  const auto memory = machine.MemoryCells;
  Run(3);
  EXPECT_EQ(machine.Registers, registers);
  EXPECT_EQ(machine.MemoryCells, memory);
  EXPECT_EQ(machine.I, 0x345);
  EXPECT_EQ(machine.DelayTimer, 9);
  EXPECT_EQ(machine.PC, 0x204);
}

}  // namespace
}  // namespace pellark
