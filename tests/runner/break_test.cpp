// pellark-run --break and --watch: the run ends before the first instruction fetched at a break
// address, or that writes a watched cell or changes a watched register or I, with the outputs of
// the end of a run and the reason on standard error.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pellark_process.h"

namespace pellark {
namespace {

using ::testing::ElementsAre;

// A call whose subroutine sets V3 and returns, then a loop.
std::vector<std::uint8_t> CallingProgram() {
  std::vector<std::uint8_t> bytes(0x104, 0x00);
  const std::initializer_list<std::uint8_t> main = {0x60, 0x01, 0x61, 0x02, 0x23, 0x00, 0x12, 0x06};
  std::copy(main.begin(), main.end(), bytes.begin());
  bytes[0x100] = 0x63;  // 300: V3 = 5
  bytes[0x101] = 0x05;
  bytes[0x102] = 0x00;  // 302: return
  bytes[0x103] = 0xEE;
  return bytes;
}

TEST(Break, EndsBeforeTheFirstOfTheAddressesReached) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"--trace", "--state", "--break", "206", "--break", "$302", "-n", "1000",
                  folder.WriteFile("program.ch8", CallingProgram())});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(result.ErrLines(), ElementsAre("break at $302"));
  EXPECT_THAT(
      result.OutLines(),
      ElementsAre("$200: Mov V0,$1", "$202: Mov V1,$2", "$204: Jsr $300", "$300: Mov V3,$5",
                  "PC=300 I=001 SP=1 DT=0 ST=0 V=01 02 00 05 00 00 00 00 00 00 00 00 00 00 00 00"));
}

TEST(Break, AtTheFirstInstructionRunsNothing) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"--trace", "--benchmark", "--break", "0x200",
                                       folder.WriteFile("program.ch8", CallingProgram())});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "");
  ASSERT_EQ(result.ErrLines().size(), 2u) << result.err;
  EXPECT_EQ(result.ErrLines()[0], "break at $200");
  EXPECT_THAT(result.ErrLines()[1], ::testing::StartsWith("0 instructions, "));
}

struct WatchRun {
  const char* watch;
  const char* stop;
  const char* state;  // the machine before the instruction that stopped the run
};

class Watch : public ::testing::TestWithParam<WatchRun> {};

TEST_P(Watch, EndsBeforeTheInstructionThatWrites) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"--state", "--memory", "300:2", "--watch", GetParam().watch, "-n", "1000",
                  folder.WriteFile("program.ch8", CallingProgram())});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(result.ErrLines(), ElementsAre(GetParam().stop));
  ASSERT_EQ(result.OutLines().size(), 2u) << result.out;
  EXPECT_EQ(result.OutLines()[0], GetParam().state);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Watch,
    ::testing::Values(
        WatchRun{"V3", "watch at $300: Mov V3,$5: V3 $00 -> $05",
                 "PC=300 I=001 SP=1 DT=0 ST=0 V=01 02 00 00 00 00 00 00 00 00 00 00 00 00 00 00"},
        WatchRun{"v1", "watch at $202: Mov V1,$2: V1 $00 -> $02",
                 "PC=200 I=001 SP=0 DT=0 ST=0 V=01 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00"}));

TEST(Watch, ThatNothingWritesLetsTheRunEnd) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"--watch", "I", "--watch", "$300:4", "-n", "50",
                                       folder.WriteFile("program.ch8", CallingProgram())});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.err, "");
}

TEST(Watch, RefusesWhatNamesNoWatch) {
  const RunResult result = RunPellark({"--watch", "V16"});
  EXPECT_EQ(result.status, 2);
  EXPECT_THAT(result.err, ::testing::HasSubstr("\"V16\""));
}

}  // namespace
}  // namespace pellark
