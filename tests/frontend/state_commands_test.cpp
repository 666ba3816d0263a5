#include <gtest/gtest.h>
#include <stdlib.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/snapshot.h"
#include "files/state_file.h"
#include "front_end_fixture.h"
#include "platform/sha1.h"

namespace pellark {
namespace {

// A program that counts V0 up forever, and another that differs in one byte.
const std::vector<unsigned char> kCounter = {0x70, 0x01, 0x12, 0x00};
const std::vector<unsigned char> kOtherCounter = {0x70, 0x02, 0x12, 0x00};

class StateCommandsTest : public StartedFrontEndTest {
 protected:
  StateCommandsTest() {
    // The quick slots go to the test's own data folder.
    const char* dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome != nullptr) savedDataHome_ = dataHome;
    ::setenv("XDG_DATA_HOME", (folder / "data").c_str(), 1);
    frontEnd.OpenProgram(WriteFile("counter.ch8", kCounter));
    window.ClearMessages();
  }
  ~StateCommandsTest() override {
    if (savedDataHome_.empty()) {
      ::unsetenv("XDG_DATA_HOME");
    } else {
      ::setenv("XDG_DATA_HOME", savedDataHome_.c_str(), 1);
    }
  }

  void RunInstructions(int count) {
    for (int i = 0; i < count; ++i) machine().ExecuteInstruction();
  }
  std::string SaveStateFile(const std::string& name) {
    const std::string path = (folder / name).string();
    window.QueueSaveAnswer(path);
    Select(MenuId::SaveState);
    return path;
  }
  void LoadStateFile(const std::string& path) {
    window.QueueOpenAnswer(path);
    Select(MenuId::LoadState);
  }
  std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
  }

 private:
  std::string savedDataHome_;
};

TEST_F(StateCommandsTest, LoadStateBringsBackTheMachineSaveStateWrote) {
  RunInstructions(11);
  const Snapshot saved = TakeSnapshot(machine());
  const std::string path = SaveStateFile("counting.c8state");
  RunInstructions(40);
  machine().SetResolution(128, 64);
  ASSERT_NE(TakeSnapshot(machine()), saved);

  LoadStateFile(path);
  EXPECT_TRUE(window.Messages().empty());
  EXPECT_EQ(TakeSnapshot(machine()), saved);
  EXPECT_EQ(machine().Registers[0], 6);
  // The window is sized for the state's low resolution again.
  EXPECT_EQ(window.ClientWidth(), 64 * frontEnd.ScaleFactor);
  // The file names the program it belongs to.
  const StateFileRead read = ParseStateFile(ReadFile(path));
  EXPECT_EQ(read.programSha1, frontEnd.ProgramSha1);
}

TEST_F(StateCommandsTest, EachQuickSlotKeepsItsOwnState) {
  RunInstructions(3);
  const Snapshot first = TakeSnapshot(machine());
  Select(MenuId::QuickSave1);
  RunInstructions(8);
  const Snapshot second = TakeSnapshot(machine());
  Select(MenuId::QuickSave2);
  RunInstructions(8);

  Select(MenuId::QuickLoad1);
  EXPECT_EQ(TakeSnapshot(machine()), first);
  Select(MenuId::QuickLoad2);
  EXPECT_EQ(TakeSnapshot(machine()), second);
  EXPECT_TRUE(window.Messages().empty());
  EXPECT_TRUE(std::filesystem::exists(folder / "data" / "pellark" / "states" /
                                      (frontEnd.ProgramSha1 + "-1.c8state")));
}

TEST_F(StateCommandsTest, AnEmptyQuickSlotSaysSoAndChangesNothing) {
  RunInstructions(5);
  const Snapshot before = TakeSnapshot(machine());
  Select(MenuId::QuickLoad2);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].text, "Quick slot 2 holds no state of this program.");
  EXPECT_EQ(TakeSnapshot(machine()), before);
}

TEST_F(StateCommandsTest, TheQuickSlotsAndStepBackHaveShiftAndCtrlFunctionKeys) {
  using Binding = std::tuple<int, KeyModifier, int>;
  std::vector<Binding> bindings;
  for (const auto& shortcut : window.ModifiedShortcuts())
    bindings.emplace_back(shortcut.functionKey, shortcut.modifier, shortcut.id);
  EXPECT_EQ(bindings, (std::vector<Binding>{{1, KeyModifier::Shift, 69},
                                            {2, KeyModifier::Shift, 70},
                                            {1, KeyModifier::Control, 71},
                                            {2, KeyModifier::Control, 72},
                                            {3, KeyModifier::Shift, 66}}));
}

// A state file that cannot be loaded: what it holds, and the reason the message gives.
struct RefusedState {
  const char* name;
  // From a good state file of the program with programSha1.
  std::function<std::string(std::string good, const std::string& programSha1)> contents;
  const char* reason;
};

std::string WithVersion(std::string text, const std::string& version) {
  return text.replace(text.find("state 1"), 7, "state " + version);
}

const RefusedState kRefusedStates[] = {
    {"another_program",
     [](std::string good, const std::string& programSha1) {
       return good.replace(good.find(programSha1), programSha1.size(), Sha1Hex(kOtherCounter));
     },
     "The state is of another program than the one in memory"},
    {"damaged",
     [](std::string good, const std::string&) {
       good[good.size() - 20] ^= 0x40;
       return good;
     },
     "The state file is damaged."},
    {"newer_format", [](std::string good, const std::string&) { return WithVersion(good, "2"); },
     "The state file is of a newer format than this Pellark reads."},
    {"not_a_state", [](const std::string&, const std::string&) { return std::string("hello\n"); },
     "The file is not a Pellark state file."},
};

class RefusedStateTest : public StateCommandsTest,
                         public ::testing::WithParamInterface<RefusedState> {};

TEST_P(RefusedStateTest, ChangesNothingAndSaysWhy) {
  RunInstructions(7);
  const std::string goodPath = SaveStateFile("good.c8state");
  const std::vector<unsigned char> good = ReadFile(goodPath);
  const std::string contents =
      GetParam().contents(std::string(good.begin(), good.end()), frontEnd.ProgramSha1);
  const std::string path = WriteFile("refused.c8state", {contents.begin(), contents.end()});
  RunInstructions(20);
  const Snapshot before = TakeSnapshot(machine());

  LoadStateFile(path);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_NE(window.Messages()[0].text.find(GetParam().reason), std::string::npos)
      << window.Messages()[0].text;
  EXPECT_NE(window.Messages()[0].text.find("The machine is unchanged."), std::string::npos);
  EXPECT_EQ(TakeSnapshot(machine()), before);
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedStateTest, ::testing::ValuesIn(kRefusedStates),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace pellark
