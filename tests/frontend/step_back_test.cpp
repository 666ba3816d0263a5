#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/keypad_map.h"
#include "core/snapshot.h"
#include "front_end_fixture.h"

namespace pellark {
namespace {

// An archive program in a profile, stepped forward and back.
using SteppedRun = std::tuple<std::string, MenuId>;

class StepBackTest : public StartedFrontEndTest, public ::testing::WithParamInterface<SteppedRun> {
 protected:
  void StartStopped() {
    const auto& [name, profile] = GetParam();
    Select(profile);
    frontEnd.OpenProgram(SharedPath("roms/" + name).string());
    Select(MenuId::Stop);
    window.ClearMessages();
  }
  // Keys change every 37 steps, so that the replayed stretches see them change.
  void PressForStep(int step) {
    const int phase = step / 37;
    for (const KeypadKey& entry : kKeypadMap) window.SetKeyHeld(entry.scanCode, false);
    window.SetKeyHeld(kKeypadMap[static_cast<std::size_t>(phase % 16)].scanCode, phase % 3 != 0);
    window.SetKeyHeld(kKeypadMap[static_cast<std::size_t>((phase + 7) % 16)].scanCode,
                      phase % 2 == 0);
  }
  // The machine's state after each of count steps, the start first.
  std::vector<Snapshot> StepForward(int count) {
    std::vector<Snapshot> states{TakeSnapshot(machine())};
    for (int step = 0; step < count; ++step) {
      PressForStep(step);
      Select(MenuId::Step);
      // A key wait ends only with a key: the next step's keys end it.
      while (machine().WaitingForKey()) {
        PressForStep(++step);
        frontEnd.RunPass();
      }
      states.push_back(TakeSnapshot(machine()));
    }
    return states;
  }
};

TEST_P(StepBackTest, NForwardThenMBackIsNMinusMForward) {
  StartStopped();
  constexpr int kForward = 2600;
  const std::vector<Snapshot> states = StepForward(kForward);
  const std::uint64_t count = machine().InstructionCount;
  // Keys held now are not the ones recorded: the replay must not read them.
  window.SetKeyHeld(kKeypadMap[3].scanCode, true);
  for (int back = 1; back <= 1500; ++back) {
    Select(MenuId::StepBack);
    ASSERT_EQ(machine().InstructionCount, count - static_cast<std::uint64_t>(back));
    // A key wait's rounds take steps of their own: compare where the counts meet.
    if (TakeSnapshot(machine()) != states[states.size() - 1 - static_cast<std::size_t>(back)]) {
      const auto same = std::find(states.begin(), states.end(), TakeSnapshot(machine()));
      ASSERT_NE(same, states.end()) << "step back " << back;
    }
  }
  EXPECT_TRUE(window.Messages().empty());
  EXPECT_FALSE(machine().Running);
}

class TracedStepBackTest : public StartedFrontEndTest {};

TEST_F(TracedStepBackTest, TheTraceListLosesItsLastLine) {
  // V0 = 1, 2, 3, then a jump back to the start.
  StartProgram({0x60, 0x01, 0x60, 0x02, 0x60, 0x03, 0x12, 0x00});
  Select(MenuId::Stop);
  Select(MenuId::Debugger);
  for (int step = 0; step < 5; ++step) Select(MenuId::Step);
  const auto lines = [this] {
    std::vector<std::string> texts;
    for (std::size_t i = 0; i < window.List()->lines.Size(); ++i)
      texts.emplace_back(window.List()->lines.Line(i));
    return texts;
  };
  ASSERT_EQ(lines().size(), 5u);
  EXPECT_EQ(lines().back(), "$200: Mov V0,$1");

  Select(MenuId::StepBack);
  EXPECT_EQ(lines(), (std::vector<std::string>{"$200: Mov V0,$1", "$202: Mov V0,$2",
                                               "$204: Mov V0,$3", "$206: Jmp ,$200"}));
  EXPECT_EQ(machine().Registers[0], 3);
  Select(MenuId::StepBack);
  Select(MenuId::StepBack);
  EXPECT_EQ(lines().size(), 2u);
  EXPECT_EQ(machine().Registers[0], 2);
  // Forward again from there: the same instructions, traced again.
  Select(MenuId::Step);
  EXPECT_EQ(lines().back(), "$204: Mov V0,$3");
}

TEST_F(TracedStepBackTest, BeforeTheOldestSnapshotNothingChanges) {
  StartProgram({0x60, 0x01, 0x12, 0x00});
  Select(MenuId::Stop);
  // Reset at 200h leaves the machine before its first instruction: nothing to undo.
  const Snapshot start = TakeSnapshot(machine());
  Select(MenuId::StepBack);
  EXPECT_EQ(TakeSnapshot(machine()), start);
  // A running machine does not step back.
  Select(MenuId::Step);
  Select(MenuId::Run);
  const Snapshot running = TakeSnapshot(machine());
  Select(MenuId::StepBack);
  EXPECT_EQ(TakeSnapshot(machine()), running);
}

// V0 counts up by one an instruction, in frames of 15 instructions (CHIP-8).
class RewindTest : public StartedFrontEndTest {
 protected:
  RewindTest() {
    Select(MenuId::ProfileChip8);
    StartProgram({0x70, 0x01, 0x12, 0x00});
  }
  void Passes(int count) {
    for (int pass = 0; pass < count; ++pass) frontEnd.RunPass();
  }
  static constexpr int kBackspace = 0x0E;
};

TEST_F(RewindTest, HoldingBackspaceGoesBackAFrameAPassAndReleasedRunsOn) {
  Passes(15 * 40);
  ASSERT_EQ(machine().InstructionCount, 15u * 40);

  const int silences = sound.silences;
  window.SetKeyHeld(kBackspace, true);
  Passes(2);  // the first pass may still run: the keys are read with the instruction
  // Snapshots are kept after the first instruction and then every frame of 15.
  std::uint64_t count = machine().InstructionCount;
  EXPECT_EQ(count % 15, 1u);
  for (int pass = 0; pass < 10; ++pass) {
    Passes(1);
    EXPECT_EQ(machine().InstructionCount, count - 15);
    count = machine().InstructionCount;
    // V0 went back with it: one add in every two instructions.
    EXPECT_EQ(static_cast<std::uint64_t>(machine().Registers[0]), (count + 1) / 2 % 256);
  }
  // The sound fell silent once, as the rewind began.
  EXPECT_EQ(sound.silences, silences + 1);

  window.SetKeyHeld(kBackspace, false);
  Passes(1);  // sees the release
  count = machine().InstructionCount;
  Passes(30);
  EXPECT_EQ(machine().InstructionCount, count + 30);
  EXPECT_TRUE(machine().Running);
}

TEST_F(RewindTest, TheMenuItemRewindsUntilSelectedAgainAndStopsAtTheOldestState) {
  Passes(15 * 5);
  Select(MenuId::Rewind);
  EXPECT_TRUE(Marked(MenuId::Rewind));
  Passes(20);
  // Back to the first snapshot kept, after the first instruction, and no further.
  EXPECT_EQ(machine().InstructionCount, 1u);
  Select(MenuId::Rewind);
  EXPECT_FALSE(Marked(MenuId::Rewind));
  Passes(15);
  EXPECT_EQ(machine().InstructionCount, 16u);
}

TEST_F(RewindTest, GoesBackOutOfAKeyWait) {
  // V0 counts to E1h in 675 instructions, 45 frames, then the program waits for a key.
  StartProgram({0x70, 0x01, 0x30, 0xE1, 0x12, 0x00, 0xF1, 0x0A});
  Passes(15 * 50);
  ASSERT_TRUE(machine().WaitingForKey());
  window.SetKeyHeld(kBackspace, true);
  Passes(3);
  EXPECT_FALSE(machine().WaitingForKey());
  EXPECT_LT(machine().Registers[0], 0xE1);
}

std::vector<SteppedRun> SteppedRuns() {
  std::vector<SteppedRun> runs;
  for (const char* name : {"br8kout.ch8", "RPS.ch8", "1dcell.ch8"}) {
    for (const MenuId profile : {MenuId::ProfileDesigned, MenuId::ProfileChip8,
                                 MenuId::ProfileSuperChip, MenuId::ProfileXoChip}) {
      runs.emplace_back(name, profile);
    }
  }
  runs.emplace_back("jub8-2.ch8", MenuId::ProfileXoChip);
  return runs;
}

INSTANTIATE_TEST_SUITE_P(ArchivePrograms, StepBackTest, ::testing::ValuesIn(SteppedRuns()),
                         [](const auto& info) {
                           std::string name = std::get<0>(info.param);
                           name = name.substr(0, name.find('.')) + "_" +
                                  std::to_string(static_cast<int>(std::get<1>(info.param)));
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace pellark
