// What pellark-run prints: trace lines, the state line, memory lines and the screen, in their
// order; how it counts instructions, seeds the random source and paces.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <regex>

#include "pellark_process.h"
#include "platform/random.h"

namespace pellark {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// Sets registers, I, both timers and calls a subroutine that loops on itself.
const std::initializer_list<std::uint8_t> kStateProgram = {
    0x60, 0x12,  // 200: V0 = 12
    0x6F, 0xFE,  // 202: VF = FE
    0xA1, 0x23,  // 204: I = 123
    0x6E, 0x2D,  // 206: VE = 45
    0xFE, 0x15,  // 208: delay timer = VE
    0xFE, 0x18,  // 20A: sound timer = VE
    0x23, 0x00,  // 20C: call 300
};

std::vector<std::uint8_t> WithLoopAt300(std::initializer_list<std::uint8_t> program) {
  std::vector<std::uint8_t> bytes(0x102, 0x00);
  std::copy(program.begin(), program.end(), bytes.begin());
  bytes[0x100] = 0x13;  // 300: jump 300
  return bytes;
}

TEST(Trace, PrintsEveryLineAsTheTraceListShowsIt) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"--trace", "-n", "8",
                                       folder.WriteProgram({
                                           0x00, 0xE0,  // 200: clear
                                           0x6A, 0x05,  // 202: VA = 5
                                           0x7A, 0x0F,  // 204: VA += F
                                           0xA2, 0xF0,  // 206: I = 2F0
                                           0xD0, 0x1F,  // 208: draw 15 rows
                                           0x12, 0x0A,  // 20A: jump 20A
                                       })});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
  EXPECT_THAT(
      result.OutLines(),
      ElementsAre("$200: Cls", "$202: Mov VA,$5", "$204: Add VA,$F", "$206: Mvi $2F0",
                  "$208: Drw V0,V1,15", "$20A: Jmp ,$20A", "$20A: Jmp ,$20A", "$20A: Jmp ,$20A"));
}

TEST(Trace, WithoutProgramShowsTheBootProgramFrom100) {
  const RunResult result = RunPellark({"--trace", "-n", "1"});
  EXPECT_EQ(result.status, 0) << result.err;
  ASSERT_EQ(result.OutLines().size(), 1u);
  EXPECT_THAT(result.out, ::testing::StartsWith("$100: "));
}

TEST(InstructionCount, StopsAfterNInstructionsCountingSkippedOnes) {
  const ScratchFolder folder;
  const std::string program = folder.WriteProgram({
      0x30, 0x00,  // 200: skip if V0 = 0 (always)
      0x71, 0x01,  // 202: V1 += 1, always skipped
      0x72, 0x01,  // 204: V2 += 1
      0x12, 0x00,  // 206: jump 200
  });
  // Four instructions a round; the fifth starts the second round.
  const RunResult result = RunPellark({"-n", "9", "--state", program});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "PC=200 I=001 SP=0 DT=0 ST=0 V=00 00 02 00 00 00 00 00 00 00 00 00 00 00 00 00\n");
  EXPECT_THAT(RunPellark({"-n", "0", "--state", program}).out, HasSubstr("PC=200 "));
  EXPECT_EQ(RunPellark({"-n", "100000", "--benchmark", program}).err.substr(0, 20),
            "100000 instructions,");
}

TEST(State, ShowsPcISpTimersAndRegisters) {
  const ScratchFolder folder;
  const RunResult result = RunPellark(
      {"-n", "7", "--state", folder.WriteFile("state.ch8", WithLoopAt300(kStateProgram))});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out,
            "PC=300 I=123 SP=1 DT=45 ST=45 V=12 00 00 00 00 00 00 00 00 00 00 00 00 00 2D FE\n");
}

TEST(State, TimersCountDownEvery25InstructionsFromTheFirst) {
  const ScratchFolder folder;
  const std::string program = folder.WriteFile("state.ch8", WithLoopAt300(kStateProgram));
  // The step after instruction 1 finds both timers at 0; the next one follows instruction 26.
  EXPECT_THAT(RunPellark({"-n", "25", "--state", program}).out, HasSubstr(" DT=45 ST=45 "));
  EXPECT_THAT(RunPellark({"-n", "26", "--state", program}).out, HasSubstr(" DT=42 ST=44 "));
  EXPECT_THAT(RunPellark({"-n", "51", "--state", program}).out, HasSubstr(" DT=39 ST=43 "));
}

TEST(Memory, PrintsCellTextsWithEmptyCellsAsUnderscore) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"-n", "5", "--memory", "2FE:6", "--memory", "$200:3", "--memory", "0x1000:1",
                  folder.WriteProgram({
                      0xA3, 0x00,  // 200: I = 300
                      0x60, 0x11,  // 202: V0 = 11
                      0x61, 0x00,  // 204: V1 = 0
                      0x62, 0xFF,  // 206: V2 = FF
                      0xF2, 0x55,  // 208: store V0..V2 at I
                  })});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(result.OutLines(), ElementsAre("_ _ 11 0 FF _", "A3 0 60", "_"));
}

TEST(Screen, PrintsEveryRowWithLitAndDarkPixels) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"-n", "5", "--screen",
                                       folder.WriteProgram({
                                           0x60, 0x3E,  // 200: V0 = 62
                                           0x61, 0x1F,  // 202: V1 = 31
                                           0xA2, 0x0A,  // 204: I = 20A
                                           0xD0, 0x12,  // 206: draw 2 rows at (62, 31)
                                           0x12, 0x08,  // 208: jump 208
                                           0xF0, 0x90,  // 20A: sprite rows
                                       })});
  EXPECT_EQ(result.status, 0) << result.err;
  const auto rows = result.OutLines();
  ASSERT_EQ(rows.size(), 32u);
  for (std::size_t y = 0; y < 31; ++y) EXPECT_EQ(rows[y], std::string(64, '.')) << "row " << y;
  // Clipped at the right and bottom edges: only the top row's first two pixels show.
  EXPECT_EQ(rows[31], std::string(62, '.') + "##");
}

TEST(Screen, InHighResolutionHas64RowsOf128) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"-n", "4", "--screen",
                                       folder.WriteProgram({
                                           0x00,
                                           0xFF,  // 200: high resolution
                                           0x60,
                                           0x7F,  // 202: V0 = 127
                                           0xA2,
                                           0x0A,  // 204: I = 20A
                                           0xD0,
                                           0x11,  // 206: draw 1 row at (127, 0)
                                           0x00,
                                           0x00,
                                           0x80,
                                           0x00,
                                       })});
  EXPECT_EQ(result.status, 0) << result.err;
  const auto rows = result.OutLines();
  ASSERT_EQ(rows.size(), 64u);
  EXPECT_EQ(rows[0], std::string(127, '.') + "#");
  EXPECT_EQ(rows[63], std::string(128, '.'));
}

TEST(Output, ComesInTheOrderTraceStateMemoryScreenWhateverTheOptionOrder) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"--screen", "--memory", "201:1", "--state", "--memory", "200:1", "--trace", "-n",
                  "2", folder.WriteProgram({0x6A, 0x01, 0x12, 0x02})});
  EXPECT_EQ(result.status, 0) << result.err;
  const auto lines = result.OutLines();
  ASSERT_EQ(lines.size(), 2u + 1u + 2u + 32u);
  EXPECT_EQ(lines[0], "$200: Mov VA,$1");
  EXPECT_EQ(lines[1], "$202: Jmp ,$202");
  EXPECT_THAT(lines[2], ::testing::StartsWith("PC=202 "));
  EXPECT_EQ(lines[3], "1");
  EXPECT_EQ(lines[4], "6A");
  EXPECT_EQ(lines[5], std::string(64, '.'));
}

// A reader that stops reading ends the run quietly; a line that cannot be told fails it.
TEST(ClosedOutput, EndsTheRunWithStatus1) {
  const ScratchFolder folder;
  const std::string keyWait = folder.WriteProgram({0xF0, 0x0A});
  const std::pair<std::vector<std::string>, int> closed[] = {
      {{"--trace", "-n", "1000000000"}, STDOUT_FILENO},
      {{"--benchmark", "-n", "10"}, STDERR_FILENO},
      {{keyWait}, STDERR_FILENO},
  };
  for (const auto& [arguments, stream] : closed) {
    const RunResult result = RunPellark(arguments, {stream, 0});
    EXPECT_EQ(result.status, 1) << arguments[0];
    EXPECT_EQ(result.err, "");
  }
}

TEST(Random, IsSeededWith1AtStartUp) {
  const ScratchFolder folder;
  const std::string program = folder.WriteProgram({
      0xC0, 0xFF,  // 200: V0 = random 0..FF
      0xC1, 0x0F,  // 202: V1 = random 0..F
      0x12, 0x04,  // 204: jump 204
  });
  RandomGenerator expected;
  expected.SeedRandom(1);
  const int v0 = expected.RandomUpTo(0xFF);
  const int v1 = expected.RandomUpTo(0x0F);
  char values[16];
  std::snprintf(values, sizeof values, "V=%02X %02X ", v0, v1);
  const RunResult first = RunPellark({"-n", "3", "--state", program});
  EXPECT_THAT(first.out, HasSubstr(values));
  // Tracing draws nothing of its own.
  EXPECT_THAT(RunPellark({"-n", "3", "--state", "--trace", program}).out, HasSubstr(first.out));
}

TEST(Speed, PacesWithoutChangingWhatTheProgramDoes) {
  const ScratchFolder folder;
  const std::string program = folder.WriteFile("state.ch8", WithLoopAt300(kStateProgram));
  const RunResult unpaced = RunPellark({"-n", "40", "--state", "--benchmark", program});
  const RunResult paced =
      RunPellark({"-n", "40", "--state", "--benchmark", "--speed", "0", program});
  EXPECT_EQ(paced.status, 0) << paced.err;
  // The timers follow the instruction count, not the clock.
  EXPECT_EQ(paced.out, unpaced.out);

  const std::regex figures(
      R"((\d+) instructions, ([0-9.]+) seconds, (\d+) instructions per second\n)");
  std::smatch match;
  ASSERT_TRUE(std::regex_match(paced.err, match, figures)) << paced.err;
  EXPECT_EQ(match[1], "40");
  // At speed 0 each instruction waits 250001 counts; no processor counts 10 million in 2 ms.
  EXPECT_GT(std::stod(match[2]), 0.002);
}

}  // namespace
}  // namespace pellark
