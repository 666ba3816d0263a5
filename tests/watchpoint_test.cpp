// Watchpoints: the machine stops before the instruction that writes a watched cell or changes a
// watched register or I, and is left exactly as it was before that instruction.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "core/watchpoints.h"
#include "machine_fixture.h"

namespace pellark {
namespace {

struct WatchCase {
  const char* name;
  std::vector<int> program;  // from 0x200
  const char* watch;
  // The stop before the program's first instruction; empty when it runs on.
  const char* stop;
  // The instruction is the one a skip passes over.
  bool skipped = false;
};

class WatchStops : public MachineTest, public ::testing::WithParamInterface<WatchCase> {};

TEST_P(WatchStops, BeforeTheFirstInstructionOnly) {
  const WatchCase& c = GetParam();
  for (std::size_t k = 0; k < c.program.size(); ++k) {
    Store(kProgramStart + static_cast<std::int32_t>(k), {c.program[k]});
  }
  SetV(3, 0x12);
  SetV(4, 0xF0);
  machine.I = 0x300;
  machine.SkipNext = c.skipped ? 1 : 0;
  Store(0x301, {0x07, 0x00});
  const std::optional<Watchpoint> watch = ParseWatchpoint(c.watch);
  ASSERT_TRUE(watch);
  Watchpoints watchpoints;
  watchpoints.Add(*watch);
  machine.SetTrace(&trace);
  const auto registers = machine.Registers;
  const TextMemory memory = machine.MemoryCells;
  const std::int32_t next = machine.NextFetchAddress();

  const std::optional<WatchStop> stop = watchpoints.StopsBefore(machine);

  EXPECT_EQ(stop ? stop->Text() : "", c.stop);
  // Nothing of the instruction has happened: not even its trace line.
  EXPECT_EQ(machine.Registers, registers);
  EXPECT_EQ(machine.I, 0x300);
  EXPECT_TRUE(machine.MemoryCells == memory);
  EXPECT_EQ(machine.NextFetchAddress(), next);
  EXPECT_EQ(machine.InstructionCount, 0u);
  EXPECT_TRUE(trace.lines.empty());
  EXPECT_EQ(host.sprites.size(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WatchStops,
    ::testing::Values(
        WatchCase{"LoadChangesRegister", {0x63, 0x99}, "V3", "$200: Mov V3,$99: V3 $12 -> $99"},
        WatchCase{"LoadOfTheSameValueChangesNothing", {0x63, 0x12}, "V3", ""},
        WatchCase{"OtherRegisterPasses", {0x63, 0x99}, "V4", ""},
        WatchCase{"AddCarryChangesFlag", {0x84, 0x34}, "VF", "$200: Add V4,V3: VF $00 -> $01"},
        WatchCase{"AddChangesTarget", {0x84, 0x34}, "v4", "$200: Add V4,V3: V4 $F0 -> $02"},
        WatchCase{"DrawWithoutCollisionLeavesFlag", {0xD0, 0x01}, "VF", ""},
        WatchCase{"IndexLoad", {0xA2, 0x34}, "I", "$200: Mvi $234: I $300 -> $234"},
        WatchCase{"IndexOfTheSameValue", {0xA3, 0x00}, "I", ""},
        WatchCase{"DigitsWriteTheWatchedCell", {0xF4, 0x33}, "$301", "$200: Bcd V4: $301 7 -> 4"},
        WatchCase{"DigitsIntoAnEmptyCell", {0xF3, 0x33}, "300", "$200: Bcd V3: $300 empty -> 0"},
        WatchCase{"WriteOfTheSameTextStops", {0xF4, 0x55}, "302", "$200: Str V4: $302 0 -> 0"},
        WatchCase{
            "RangeCatchesTheFirstWrite", {0xF4, 0x55}, "2FE:3", "$200: Str V4: $300 empty -> 0"},
        WatchCase{"WritesBelowTheRangePass", {0xF4, 0x55}, "305:4", ""},
        WatchCase{"ReadsPass", {0xF4, 0x65}, "300:8", ""},
        WatchCase{"RegisterLoadFromMemory", {0xF4, 0x65}, "V1", "$200: Ldr V4: V1 $00 -> $07"},
        WatchCase{"KeyWaitNamesTheKey", {0xF3, 0x0A}, "V3", "$200: Key V3: V3 $12 -> key"},
        WatchCase{"JumpWritesNothing", {0x12, 0x00}, "I", ""},
        WatchCase{"SkippedInstructionPasses", {0x63, 0x99}, "V3", "", true}),
    [](const ::testing::TestParamInfo<WatchCase>& info) { return std::string(info.param.name); });

TEST_F(MachineTest, WatchLetsTheStoppedInstructionPassOnceThenStopsAgain) {
  Store(kProgramStart, {0x73, 0x01, 0x12, 0x00});  // V3 += 1, jump back
  Watchpoints watchpoints;
  watchpoints.Add(*ParseWatchpoint("V3"));
  ASSERT_TRUE(watchpoints.StopsBefore(machine));
  watchpoints.RunOn();
  EXPECT_FALSE(watchpoints.StopsBefore(machine));
  Run();
  EXPECT_EQ(V(3), 1);
  EXPECT_FALSE(watchpoints.StopsBefore(machine));  // the jump
  Run();
  const std::optional<WatchStop> stop = watchpoints.StopsBefore(machine);
  ASSERT_TRUE(stop);
  EXPECT_EQ(stop->change, "V3 $01 -> $02");
}

struct ParseCase {
  const char* text;
  const char* read;  // WatchpointText of the result; empty when refused
};

class WatchText : public ::testing::TestWithParam<ParseCase> {};

TEST_P(WatchText, ReadsAndWritesBack) {
  const std::optional<Watchpoint> watch = ParseWatchpoint(GetParam().text);
  EXPECT_EQ(watch ? WatchpointText(*watch) : "", GetParam().read);
}

INSTANTIATE_TEST_SUITE_P(
    Table, WatchText,
    ::testing::Values(ParseCase{"V0", "V0"}, ParseCase{"vf", "VF"}, ParseCase{"I", "I"},
                      ParseCase{"$2F0", "$2F0"}, ParseCase{"0x2f0:4", "$2F0:4"},
                      ParseCase{"2F0:1", "$2F0"}, ParseCase{"FFFF:1", "$FFFF"},
                      ParseCase{"FFFF:2", ""}, ParseCase{"10000", ""}, ParseCase{"2F0:0", ""},
                      ParseCase{"2F0:", ""}, ParseCase{"2F0:x", ""}, ParseCase{"V10", ""},
                      ParseCase{"VG", ""}, ParseCase{"", ""}, ParseCase{"J", ""}));

}  // namespace
}  // namespace pellark
