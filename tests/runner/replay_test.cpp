// pellark-run --replay: a key file runs its program with its keys, rules and length; one that
// does not fit the program, or cannot be read, ends the run before it starts.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "pellark_process.h"

namespace pellark {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// V0 = the key waited for, then V1 counts up for ever.
const std::vector<std::uint8_t> kProgram = {0xF0, 0x0A, 0x71, 0x01, 0x12, 0x02};
// Another program's SHA-1.
constexpr const char* kOtherSha1 = "f3b6eac9f4d3fb2a0c5b5c3fd4e25ef23ae3d4b2";

std::string KeyFile(const std::string& sha1, const std::string& rules, const std::string& keys) {
  return "pellark-keys 1\nprogram " + sha1 + "\n" + rules + "passes 10\n" + keys;
}

constexpr const char* kDesignedRules =
    "rules\nflag-registers 0\ncycles-per-frame 0\nswitches shift,memory,clip\n";

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

TEST(Replay, RunsThePassesWithTheRecordedKeys) {
  const ScratchFolder folder;
  const std::string program = folder.WriteFile("program.ch8", kProgram);
  const RunResult info = RunPellark({"--info", program});
  const std::string sha1 = info.out.substr(info.out.find("SHA-1") + 7, 40);
  // Three rounds of the wait with no key, key 7 read in the fourth, then six instructions.
  const std::string keys = KeyFile(sha1, kDesignedRules, "4 0080\n6 0000\n");
  const RunResult result =
      RunPellark({"--replay", folder.WriteFile("run.c8keys", Bytes(keys)), "--state", program});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(result.OutLines(), ElementsAre("PC=202 I=001 SP=0 DT=0 ST=0 V=07 03 00 00 00 00 00 "
                                             "00 00 00 00 00 00 00 00 00"));
}

struct ReplayRefusal {
  const char* name;
  std::string keyFile;
  const char* message;
};

void PrintTo(const ReplayRefusal& refusal, std::ostream* out) {
  *out << refusal.name;
}

class ReplayRefused : public ::testing::TestWithParam<ReplayRefusal> {};

TEST_P(ReplayRefused, EndsTheRunBeforeItStarts) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"--replay", folder.WriteFile("run.c8keys", Bytes(GetParam().keyFile)), "--state",
                  folder.WriteFile("program.ch8", kProgram)});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_THAT(result.err, HasSubstr(GetParam().message));
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReplayRefused,
    ::testing::Values(ReplayRefusal{"AnotherProgram", KeyFile(kOtherSha1, kDesignedRules, ""),
                                    "recorded with another program (SHA-1 f3b6eac9"},
                      ReplayRefusal{"Damaged", KeyFile(kOtherSha1, "rules\n", ""), "damaged"},
                      ReplayRefusal{"Newer", "pellark-keys 2\n", "written by a newer Pellark"}),
    [](const ::testing::TestParamInfo<ReplayRefusal>& info) {
      return std::string(info.param.name);
    });

TEST(Replay, TakesItsKeysAndLengthFromTheFileAlone) {
  const std::pair<const char*, const char*> kOptions[] = {{"--press", "5@10"},
                                                          {"-n", "10"},
                                                          {"--profile", "chip8"},
                                                          {"--quirks", "shift"},
                                                          {"--cycles-per-frame", "10"}};
  for (const auto& [option, value] : kOptions) {
    const RunResult result = RunPellark({"--replay", "run.c8keys", option, value, "program.ch8"});
    EXPECT_EQ(result.status, 2) << option;
    EXPECT_THAT(result.err, HasSubstr("excludes")) << option;
  }
}

TEST(Replay, OfAMissingFileSaysWhy) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"--replay", (folder.Path() / "none.c8keys").string(),
                                       folder.WriteFile("program.ch8", kProgram)});
  EXPECT_EQ(result.status, 2);
  EXPECT_THAT(result.err, HasSubstr("cannot replay"));
  EXPECT_THAT(result.err, HasSubstr("No such file"));
}

}  // namespace
}  // namespace pellark
