#include "frontend/step_history.h"

#include <gtest/gtest.h>

#include <vector>

#include "core/machine_host.h"
#include "platform/keyboard.h"

namespace pellark {
namespace {

class IdleKeyboard final : public KeyboardService {
 public:
  bool SnapshotKeyboard() override { return true; }
};

// A machine whose state changes a little every frame, as a game's does.
class StepHistoryTest : public ::testing::TestWithParam<Profile> {
 protected:
  StepHistoryTest() {
    machine.UseRules(RulesOf(GetParam()));
    machine.StartUp();
  }
  // Moves the machine on by a frame's instructions and changes a register, a cell and a pixel;
  // every 200th frame switches the resolution, which changes the snapshot's length.
  void NextFrame(int frame) {
    machine.InstructionCount += Interval();
    machine.Registers[static_cast<std::size_t>(frame % 16)] = frame % 256;
    machine.SetCell(0x300 + frame % 0x200, ToHexByte(frame));
    machine.Display.Toggle(frame % 64, frame % 32);
    if (frame % 200 == 199)
      machine.SetResolution(frame % 400 == 199 ? 128 : 64, frame % 400 == 199 ? 64 : 32);
  }
  std::uint64_t Interval() const {
    return machine.Rules.frameTiming ? static_cast<std::uint64_t>(machine.Rules.cyclesPerFrame)
                                     : StepHistory::kDesignedInterval;
  }

  MachineHost host;
  IdleKeyboard keyboard;
  Machine machine{host, keyboard};
  StepHistory history;
};

TEST_P(StepHistoryTest, GivesBackEverySnapshotItKept) {
  std::vector<Snapshot> taken;
  for (int frame = 0; frame < 500; ++frame) {
    NextFrame(frame);
    history.Record(machine, static_cast<std::uint64_t>(frame));
    taken.push_back(TakeSnapshot(machine));
  }
  for (int frame = 0; frame < 500; ++frame) {
    const std::uint64_t count = Interval() * static_cast<std::uint64_t>(frame + 1);
    // Asked for any count up to the next snapshot: this one.
    for (const std::uint64_t asked : {count, count + Interval() - 1}) {
      const StepHistory::Entry* entry = history.LatestAtOrBefore(asked);
      ASSERT_NE(entry, nullptr);
      EXPECT_EQ(entry->instructionCount, count);
      EXPECT_EQ(entry->keyReadings, static_cast<std::uint64_t>(frame));
      ASSERT_EQ(history.SnapshotOf(*entry), taken[static_cast<std::size_t>(frame)])
          << "frame " << frame;
    }
  }
  EXPECT_EQ(history.LatestAtOrBefore(Interval() - 1), nullptr);
  // The differences cost far less than whole snapshots would.
  EXPECT_LT(history.Bytes(), taken.front().size() * 20);
}

TEST_P(StepHistoryTest, DropsWhatCameAfterAndGoesOnFromThere) {
  for (int frame = 0; frame < 150; ++frame) {
    NextFrame(frame);
    history.Record(machine, 0);
  }
  const std::uint64_t back = Interval() * 70;
  history.DropAfter(back);
  EXPECT_EQ(history.LatestAtOrBefore(back * 2)->instructionCount, back);
  machine.InstructionCount = back + 1;
  machine.Registers[0] = 77;
  history.Record(machine, 0);
  const StepHistory::Entry* entry = history.LatestAtOrBefore(back + 1);
  ASSERT_EQ(entry->instructionCount, back + 1);
  EXPECT_EQ(history.SnapshotOf(*entry), TakeSnapshot(machine));
}

INSTANTIATE_TEST_SUITE_P(Profiles, StepHistoryTest,
                         ::testing::Values(Profile::Designed, Profile::SuperChip, Profile::XoChip),
                         [](const auto& info) {
                           return std::string(EntryOf(info.param).commandLineName);
                         });

}  // namespace
}  // namespace pellark
