#include "core/snapshot.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "core/instruction_pass.h"
#include "machine_fixture.h"
#include "shared_folder.h"

namespace pellark {
namespace {

// Each changes one field of the state; a snapshot that misses the field fails its case.
struct StateChange {
  const char* field;
  std::function<void(Machine&)> change;
};

const StateChange kStateChanges[] = {
    {"memory cell", [](Machine& m) { m.SetCell(0x345, HexByte("7")); }},
    {"memory cell text", [](Machine& m) { m.SetCell(0x200, HexByte("0A")); }},
    {"register", [](Machine& m) { m.Registers[7] = 99; }},
    {"I", [](Machine& m) { m.I = 0x456; }},
    {"PC", [](Machine& m) { m.PC = 0x222; }},
    {"PcStep", [](Machine& m) { m.PcStep = 4; }},
    {"SkipNext", [](Machine& m) { m.SkipNext = 1; }},
    {"call stack", [](Machine& m) { m.CallStack[3] = 0x300; }},
    {"stack pointer", [](Machine& m) { m.StackPointer = 5; }},
    {"delay timer", [](Machine& m) { m.DelayTimer = 60; }},
    {"sound timer", [](Machine& m) { m.SoundTimer = 30; }},
    {"key states", [](Machine& m) { m.KeyStates[0xA] = 1; }},
    {"pending key", [](Machine& m) { m.PendingKey = 3; }},
    {"key wait register", [](Machine& m) { m.KeyWaitRegister = 4; }},
    {"key wait pacing", [](Machine& m) { m.KeyWaitPacing.spinCount = 2500; }},
    {"reset address", [](Machine& m) { m.ResetAddress = kProgramStart; }},
    {"running", [](Machine& m) { m.Running = 0; }},
    {"timer tick", [](Machine& m) { m.TimerTick = 17; }},
    {"quit", [](Machine& m) { m.QuitRequested = 1; }},
    {"display pixel", [](Machine& m) { m.Display.Toggle(5, 6); }},
    {"resolution", [](Machine& m) { m.SetResolution(128, 64); }},
    {"second plane", [](Machine& m) { m.SecondPlane.Toggle(63, 31); }},
    {"plane mask", [](Machine& m) { m.PlaneMask = 3; }},
    {"audio pattern", [](Machine& m) { m.AudioPattern[9] = 0x55; }},
    {"pitch", [](Machine& m) { m.Pitch = 112; }},
    {"pattern position", [](Machine& m) { m.PatternPosition = 17.25; }},
    {"rules", [](Machine& m) { m.UseRules(RulesOf(Profile::SuperChip)); }},
    {"XO-CHIP memory", [](Machine& m) { m.UseRules(RulesOf(Profile::XoChip)); }},
    {"flag registers", [](Machine& m) { m.FlagRegisters[2] = 8; }},
    {"frame cycle", [](Machine& m) { m.FrameCycle = 9; }},
    {"frame end", [](Machine& m) { m.FrameEndRequested = 1; }},
    {"instruction count", [](Machine& m) { m.InstructionCount = 1234567; }},
    {"random generator", [](Machine& m) { m.Random.RandomUpTo(255); }},
    {"extra keys",
     [](Machine& m) {
       const KeypadKey keys[] = {{0x67, 5}};
       m.SetExtraKeys(keys);
     }},
    {"key wait",
     [](Machine& m) {
       m.SetCell(m.NextFetchAddress(), HexByte("F3"));
       m.SetCell(m.NextFetchAddress() + 1, HexByte("A"));
       m.ExecuteInstruction();
     }},
};

class SnapshotFieldTest : public MachineTest, public ::testing::WithParamInterface<StateChange> {};

TEST_P(SnapshotFieldTest, TheChangeShowsInTheSnapshotAndARestoreBringsItBack) {
  machine.StartUp();
  const Snapshot before = TakeSnapshot(machine);
  GetParam().change(machine);
  const Snapshot changed = TakeSnapshot(machine);
  EXPECT_NE(changed, before);

  // Another machine, restored to the changed state, is in it: its snapshot is the same.
  RecordingHost otherHost;
  ScriptedKeyboard otherKeyboard;
  Machine other(otherHost, otherKeyboard);
  other.StartUp();
  ASSERT_TRUE(RestoreSnapshot(other, changed));
  EXPECT_EQ(TakeSnapshot(other), changed);
  // And back to the state before.
  ASSERT_TRUE(RestoreSnapshot(other, before));
  EXPECT_EQ(TakeSnapshot(other), before);
}

INSTANTIATE_TEST_SUITE_P(EveryField, SnapshotFieldTest, ::testing::ValuesIn(kStateChanges),
                         [](const auto& info) {
                           std::string name = info.param.field;
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

TEST(SnapshotFieldList, NamesEveryFieldOfTheMachine) {
  // A field added to the machine changes its size: add it to Machine::ForEachStateField (and a
  // case to kStateChanges above), then the size here. The sound frame's samples, 1600 bytes,
  // are a buffer the machine hands its host, not state.
  EXPECT_EQ(sizeof(Machine), 2400u);
}

class SnapshotDamageTest : public MachineTest {};

TEST_F(SnapshotDamageTest, ATruncatedOrDamagedSnapshotChangesNothing) {
  machine.StartUp();
  Store(0x200, {0x6A, 0x12});
  const Snapshot good = TakeSnapshot(machine);
  SetV(3, 77);
  const Snapshot current = TakeSnapshot(machine);

  const std::vector<std::function<void(Snapshot&)>> damages = {
      [](Snapshot& s) { s.resize(s.size() / 2); },
      [](Snapshot& s) { s.pop_back(); },
      [](Snapshot& s) { s.push_back(0); },
      [](Snapshot& s) { s.clear(); },
      // The rules' first flag, a bool, holds 2.
      [](Snapshot& s) { s[0] = 2; },
      // The memory's size, after the rules (their flags, 2 integers, 7 switches) and address
      // mask.
      [](Snapshot& s) { s[kRuleFlags.size() + 8 + 7 + 4] ^= 0x10; },
  };
  for (std::size_t i = 0; i < damages.size(); ++i) {
    Snapshot damaged = good;
    damages[i](damaged);
    EXPECT_FALSE(RestoreSnapshot(machine, damaged)) << "damage " << i;
    EXPECT_EQ(TakeSnapshot(machine), current) << "damage " << i;
  }
}

// Archive programs in every profile: a run restored from a snapshot and given the same keys
// goes on exactly as the run that took it.
using ArchiveRun = std::tuple<std::string, Profile>;

class SnapshotReplayTest : public ::testing::TestWithParam<ArchiveRun> {
 protected:
  // Keys change every 700 passes, so that key waits end and key tests see both states; which
  // are held follows from the pass alone.
  void PressForPass(std::uint64_t pass) {
    const std::uint64_t phase = pass / 700;
    for (const KeypadKey& entry : kKeypadMap) keyboard.Hold(entry.scanCode, false);
    keyboard.Hold(kKeypadMap[phase % 16].scanCode, phase % 3 != 0);
    keyboard.Hold(kKeypadMap[(phase + 5) % 16].scanCode, phase % 2 == 0);
  }
  void RunPasses(std::uint64_t& pass, std::uint64_t until) {
    for (; pass < until && machine.Running == 1; ++pass) {
      PressForPass(pass);
      RunInstructionPass(machine, kNoPacing, FramePacing::Immediate);
    }
  }

  RecordingHost host;
  ScriptedKeyboard keyboard;
  RecordingTrace trace;
  Machine machine{host, keyboard};
};

TEST_P(SnapshotReplayTest, RestoredAndRunOnWithTheSameKeysGivesTheSameTrace) {
  const auto& [name, profile] = GetParam();
  std::ifstream file(SharedPath("roms/" + name), std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(file), {}};
  ASSERT_FALSE(bytes.empty());
  machine.UseRules(RulesOf(profile));
  ASSERT_LE(bytes.size(), static_cast<std::size_t>(machine.LastCell() + 1 - kProgramStart));
  machine.Random.SeedRandom(1);
  machine.ResetAddress = kProgramStart;
  machine.ResetMachine();
  machine.LoadProgram(bytes);

  std::uint64_t pass = 0;
  RunPasses(pass, 20000);
  const Snapshot taken = TakeSnapshot(machine);
  const std::uint64_t passAtSnapshot = pass;
  machine.SetTrace(&trace);
  RunPasses(pass, 40000);
  const std::vector<std::string> firstTrace = std::move(trace.lines);
  const Snapshot firstEnd = TakeSnapshot(machine);
  ASSERT_FALSE(firstTrace.empty());

  trace.lines.clear();
  ASSERT_TRUE(RestoreSnapshot(machine, taken));
  pass = passAtSnapshot;
  RunPasses(pass, 40000);
  EXPECT_EQ(trace.lines, firstTrace);
  EXPECT_EQ(TakeSnapshot(machine), firstEnd);
}

// The small programs in every profile; the 64 KB one fits only XO-CHIP's memory.
std::vector<ArchiveRun> ArchiveRuns() {
  std::vector<ArchiveRun> runs;
  for (const char* name : {"br8kout.ch8", "RPS.ch8", "1dcell.ch8"}) {
    for (const ProfileEntry& entry : kProfileTable) runs.emplace_back(name, entry.profile);
  }
  runs.emplace_back("jub8-2.ch8", Profile::XoChip);
  return runs;
}

INSTANTIATE_TEST_SUITE_P(ArchivePrograms, SnapshotReplayTest, ::testing::ValuesIn(ArchiveRuns()),
                         [](const auto& info) {
                           std::string name = std::get<0>(info.param);
                           name = name.substr(0, name.find('.')) + "_" +
                                  std::string(EntryOf(std::get<1>(info.param)).commandLineName);
                           for (char& c : name) {
                             if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace pellark
