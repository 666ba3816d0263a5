// Scheduled key presses: held for exactly the instructions they name, started early by a key
// wait, and the end of the run at a key wait that no press is left to answer.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pellark_process.h"

namespace pellark {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Instruction 1 sets V0 = 5; then rounds of three: a key test (instructions 2, 5, 8, 11), a
// count of the rounds in which key 5 was not held (3, 6, 9, 12), and a jump back.
const std::initializer_list<std::uint8_t> kKeyTestLoop = {
    0x60, 0x05,  // 200: V0 = 5
    0xE0, 0x9E,  // 202: skip the next if key V0 is held
    0x71, 0x01,  // 204: V1 += 1
    0x12, 0x02,  // 206: jump 202
};

// V1 after 12 instructions: the key tests that saw key 5 held leave it short of 4.
std::string CountAfter12(const std::vector<std::string>& presses) {
  const ScratchFolder folder;
  std::vector<std::string> arguments{"-n", "12", "--state"};
  for (const std::string& press : presses) arguments.insert(arguments.end(), {"--press", press});
  arguments.push_back(folder.WriteProgram(kKeyTestLoop));
  const RunResult result = RunPellark(arguments);
  EXPECT_EQ(result.status, 0) << result.err;
  // "V=" then V0 and V1.
  return result.out.substr(result.out.find("V=") + 5, 2);
}

TEST(Press, IsHeldForExactlyTheInstructionsItNames) {
  EXPECT_EQ(CountAfter12({}), "04");
  EXPECT_EQ(CountAfter12({"5@5+1"}), "03");  // seen by the key test that is instruction 5
  EXPECT_EQ(CountAfter12({"5@3+2"}), "04");  // instructions 3 and 4: no key test among them
  EXPECT_EQ(CountAfter12({"5@4+2"}), "03");  // instructions 4 and 5
  EXPECT_EQ(CountAfter12({"5@2+7"}), "01");  // instructions 2 to 8
  EXPECT_EQ(CountAfter12({"5@2"}), "00");    // 1000 instructions by default
  EXPECT_EQ(CountAfter12({"6@2"}), "04");    // another key
  EXPECT_EQ(CountAfter12({"5@2+1", "5@11+1"}), "02");
}

TEST(Press, ShowsInTheTraceAsTheKeyPendingPlusOne) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"-n", "5", "--trace", "--press", "5@5+1", folder.WriteProgram(kKeyTestLoop)});
  EXPECT_THAT(result.OutLines(), ElementsAre("$200: Mov V0,$5", "$202: Skpr 10", "$204: Add V1,$1",
                                             "$206: Jmp ,$202", "$202: Skpr 6"));
}

// Waits for a key into V3, then records in VA and VB whether the key is still held.
const std::initializer_list<std::uint8_t> kKeyWait = {
    0x6C, 0x01,  // 200: VC = 1
    0xF3, 0x0A,  // 202: wait for a key into V3
    0xE3, 0x9E,  // 204: skip the next if key V3 is held
    0x6A, 0x01,  // 206: VA = 1
    0xE3, 0x9E,  // 208: skip the next if key V3 is held
    0x6B, 0x01,  // 20A: VB = 1
    0x12, 0x0C,  // 20C: jump 20C
};

TEST(KeyWait, WithAKeyHeldEndsAtOnce) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"-n", "3", "--state", "--press", "9@1+3", folder.WriteProgram(kKeyWait)});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "PC=204 I=001 SP=0 DT=0 ST=0 V=00 00 00 09 00 00 00 00 00 00 00 00 01 00 00 00\n");
}

TEST(KeyWait, StartsTheNextPressHeldFromTheWaitingInstruction) {
  const ScratchFolder folder;
  // Held from instruction 2, the wait, to 4: the first key test skips, the second does not.
  const RunResult result =
      RunPellark({"-n", "20", "--state", "--press", "7@500+3", folder.WriteProgram(kKeyWait)});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "PC=20C I=001 SP=0 DT=0 ST=0 V=00 00 00 07 00 00 00 00 00 00 00 01 01 00 00 00\n");
}

TEST(KeyWait, TakesThePressesInTheOrderOfTheirInstructions) {
  const ScratchFolder folder;
  const std::string program = folder.WriteProgram({
      0xF1, 0x0A,  // 200: wait for a key into V1
      0xF2, 0x0A,  // 202: wait for a key into V2
      0x12, 0x04,  // 204: jump 204
  });
  const RunResult result =
      RunPellark({"-n", "10", "--state", "--press", "B@900+1", "--press", "4@800+1", program});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr(" V=00 04 0B 00 "));
}

TEST(KeyWait, SeesTheHighestOfSeveralKeysHeld) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"-n", "3", "--state", "--press", "3@1", "--press", "C@1",
                                       "--press", "0@1", folder.WriteProgram(kKeyWait)});
  EXPECT_THAT(result.out, HasSubstr(" V=00 00 00 0C "));
}

TEST(KeyWait, ReadsEveryKeypadKey) {
  const ScratchFolder folder;
  const std::string program = folder.WriteProgram(kKeyWait);
  for (int key = 0; key < 16; ++key) {
    char press[8];
    char expected[16];
    std::snprintf(press, sizeof press, "%X@1", key);
    std::snprintf(expected, sizeof expected, " V=00 00 00 %02X ", key);
    EXPECT_THAT(RunPellark({"-n", "3", "--state", "--press", press, program}).out,
                HasSubstr(expected))
        << press;
  }
}

TEST(KeyWait, WithNoPressLeftEndsTheRunThereReportingTheMachineBeforeTheWait) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"-n", "100", "--trace", "--state", "--memory", "202:2", "--screen", "--benchmark",
                  "--press", "1@1+1", folder.WriteProgram(kKeyWait)});
  EXPECT_EQ(result.status, 0);
  const auto errors = result.ErrLines();
  ASSERT_EQ(errors.size(), 2u) << result.err;
  EXPECT_EQ(errors[0], "waiting for key at $202");
  // The waiting instruction counts as executed.
  EXPECT_THAT(errors[1], ::testing::StartsWith("2 instructions, "));

  const auto lines = result.OutLines();
  ASSERT_EQ(lines.size(), 2u + 1u + 1u + 32u) << result.out;
  EXPECT_EQ(lines[0], "$200: Mov VC,$1");
  EXPECT_EQ(lines[1], "$202: Key V3");
  // V3 as it was, not the 15 that the ended wait writes.
  EXPECT_EQ(lines[2],
            "PC=202 I=001 SP=0 DT=0 ST=0 V=00 00 00 00 00 00 00 00 00 00 00 00 01 00 00 00");
  EXPECT_EQ(lines[3], "F3 A");
}

TEST(KeyWait, BegunByTheLastInstructionOfTheRunIsAnsweredBeforeTheRunEnds) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"-n", "2", "--state", "--press", "7@500",
                                       folder.WriteProgram({0x60, 0x01, 0xF3, 0x0A, 0x12, 0x04})});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_EQ(result.out,
            "PC=202 I=001 SP=0 DT=0 ST=0 V=01 00 00 07 00 00 00 00 00 00 00 00 00 00 00 00\n");
}

TEST(KeyWait, OnThePlatformsLastsUntilThePressEndsEachRoundAFrameOfInstructions) {
  const ScratchFolder folder;
  const std::string program = folder.WriteProgram({
      0x60, 0x0A,  // 200: V0 = 10
      0xF0, 0x15,  // 202: delay timer = V0
      0xF3, 0x0A,  // 204: wait for a key into V3
      0xF4, 0x07,  // 206: V4 = delay timer
      0x12, 0x08,  // 208: jump 208
  });
  // The press, 45 instructions long, starts with the wait; a later one waits its turn.
  const struct {
    const char* profile;
    const char* registers;
  } cases[] = {
      {"chip8", " V=0A 00 00 09 07 "},     // three frames of 15 instructions
      {"xochip", " V=0A 00 00 09 09 "},    // one frame of 100
      {"designed", " V=0A 00 00 09 0A "},  // the press itself ends the wait
  };
  for (const auto& each : cases) {
    const RunResult result = RunPellark({"--profile", each.profile, "-n", "20", "--state",
                                         "--press", "9@1000+45", "--press", "2@1000+1", program});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_THAT(result.out, HasSubstr(each.registers)) << each.profile;
  }
}

}  // namespace
}  // namespace pellark
