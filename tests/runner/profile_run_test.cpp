// pellark-run's profiles: the options, the line that names the rules, frame-counted timers, the
// end of a program, and real programs of the collection that need their platform's rules.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "pellark_process.h"
#include "shared_folder.h"

namespace pellark {
namespace {

using ::testing::HasSubstr;

std::string Collection(const std::string& name) {
  return SharedPath("roms/" + name).string();
}

// Lit pixels in one row of a --screen picture.
long LitInRow(const RunResult& result, std::size_t row) {
  const auto rows = result.OutLines();
  return row < rows.size() ? std::count(rows[row].begin(), rows[row].end(), '#') : -1;
}

TEST(ProfileOptions, NameTheRulesOnStandardErrorUnlessAsDesigned) {
  const ScratchFolder folder;
  const std::string program = folder.WriteProgram({0x12, 0x00});
  const struct {
    std::vector<std::string> options;
    std::string line;
  } cases[] = {
      {{}, ""},
      {{"--profile", "designed"}, ""},
      {{"--profile", "chip8"},
       "pellark-run: profile CHIP-8 (COSMAC VIP), switches clip,vblank,logic, 15 cycles per "
       "frame\n"},
      {{"--profile", "schip10"},
       "pellark-run: profile CHIP-48 / SUPER-CHIP 1.0, switches shift,increment,jump,clip, 30 "
       "cycles per frame\n"},
      {{"--profile", "schip", "--quirks", ""},
       "pellark-run: profile SUPER-CHIP 1.1, switches none, 30 cycles per frame\n"},
      {{"--profile", "modern"},
       "pellark-run: profile Modern CHIP-8, switches clip, 12 cycles per frame\n"},
      {{"--profile", "octo"},
       "pellark-run: profile XO-CHIP, switches none, 100 cycles per frame\n"},
      {{"--profile", "designed", "--quirks", "jump"},
       "pellark-run: profile As designed, switches jump, timers by instruction count\n"},
      {{"--cycles-per-frame", "7", "--quirks", "shift,clip"},
       "pellark-run: profile As designed, switches shift,clip, 7 cycles per frame\n"},
  };
  for (const auto& each : cases) {
    std::vector<std::string> arguments = each.options;
    arguments.insert(arguments.end(), {"-n", "10", program});
    const RunResult result = RunPellark(arguments);
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, each.line);
  }
}

TEST(ProfileOptions, RefuseWhatTheyDoNotKnow) {
  for (const std::vector<std::string>& options : {std::vector<std::string>{"--profile", "vip"},
                                                  {"--quirks", "shift,wrap"},
                                                  {"--cycles-per-frame", "0"},
                                                  {"--cycles-per-frame", "-3"}}) {
    const RunResult result = RunPellark(options);
    EXPECT_EQ(result.status, 2) << options[0];
    EXPECT_THAT(result.err, HasSubstr(options[1])) << options[0];
  }
}

TEST(ProfileOptions, AsDesignedEveryOutputStaysAsItWas) {
  const std::vector<std::string> outputs = {"-n",       "5000",     "--trace", "--state",
                                            "--screen", "--memory", "200:40"};
  std::vector<std::string> designed = outputs;
  designed.insert(designed.end(), {"--profile", "designed", Collection("br8kout.ch8")});
  std::vector<std::string> automatic = outputs;
  automatic.push_back(Collection("br8kout.ch8"));
  const RunResult asDesigned = RunPellark(designed);
  EXPECT_EQ(asDesigned.err, "");
  EXPECT_NE(asDesigned.out, RunPellark(automatic).out);
  // The same outputs as without any profile option for a program the database does not know.
  const ScratchFolder folder;
  std::vector<std::string> unknown = outputs;
  unknown.push_back(folder.WriteFile("br8kout.ch8", {0x6F, 0x07, 0x68, 0x05, 0x8F, 0x87}));
  std::vector<std::string> unknownDesigned = unknown;
  unknownDesigned.insert(unknownDesigned.end() - 1, {"--profile", "designed"});
  EXPECT_EQ(RunPellark(unknown).out, RunPellark(unknownDesigned).out);
}

TEST(XoChipOutputs, ShowTheSecondPlaneAndTheXoChipState) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"--profile", "xochip", "-n", "4", "--screen", "--state", "--memory", "FFFF:1",
                  folder.WriteProgram({
                      0xF3, 0x01,  // 200: both planes
                      0xA2, 0x08,  // 202: I = 208
                      0xD0, 0x01,  // 204: one row on each plane
                      0x12, 0x06,  // 206: jump 206
                      0x80, 0xC0,  // 208: the first plane's row, then the second's
                  })});
  ASSERT_EQ(result.status, 0) << result.err;
  const auto lines = result.OutLines();
  ASSERT_GE(lines.size(), 4u);
  EXPECT_THAT(lines[0], ::testing::StartsWith("PC=206 I=208 "));
  EXPECT_EQ(lines[1], "PLANE=3 PITCH=64 PATTERN=F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0F0");
  EXPECT_EQ(lines[2], "_");
  EXPECT_THAT(lines[3], ::testing::StartsWith("@+.."));
}

TEST(FrameTiming, TimersStepOncePerFrameOfInstructions) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"--profile", "octo", "--cycles-per-frame", "4", "-n", "12", "--state",
                  folder.WriteProgram({
                      0x60, 0x05,  // 200: V0 = 5
                      0xF0, 0x15,  // 202: delay timer = 5
                      0x12, 0x04,  // 204: jump 204
                  })});
  EXPECT_THAT(result.out, HasSubstr(" DT=2 "));
}

TEST(FrameTiming, AProgramThatEndsItselfEndsTheRun) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"--profile", "octo", "-n", "1000", "--state",
                                       folder.WriteProgram({0x60, 0x01, 0x00, 0xFD, 0x60, 0x02})});
  EXPECT_EQ(result.status, 0);
  EXPECT_THAT(result.out, ::testing::StartsWith("PC=202 "));
  EXPECT_THAT(result.out, HasSubstr("V=01 "));
}

TEST(RealPrograms, KnightLeavesItsTitleScreenWithAKeyPress) {
  const auto screen = [](const std::string& profile, bool press) {
    std::vector<std::string> arguments = {"--profile", profile, "-n", "300000", "--screen"};
    if (press) arguments.insert(arguments.end(), {"--press", "D@100000+3000"});
    arguments.push_back(Collection("knight.ch8"));
    return RunPellark(arguments).out;
  };
  EXPECT_NE(screen("auto", true), screen("auto", false));
  EXPECT_EQ(screen("designed", true), screen("designed", false));
}

TEST(RealPrograms, OutlawNeverReachesTheBootProgram) {
  const RunResult result = RunPellark({"-n", "300000", "--trace", "--press", "5@1000+300",
                                       "--press", "7@5000", Collection("outlaw.ch8")});
  ASSERT_EQ(result.status, 0);
  const auto lines = result.OutLines();
  EXPECT_GT(lines.size(), 100000u);
  EXPECT_TRUE(std::none_of(lines.begin(), lines.end(), [](const std::string& line) {
    return line.compare(0, 2, "$1") == 0 && line.find(':') == 4;
  }));
}

TEST(RealPrograms, Br8koutDrawsItsWallAndKeepsThePaddleInView) {
  const RunResult wall = RunPellark({"-n", "1000", "--screen", Collection("br8kout.ch8")});
  // Seven rows of seven 6-pixel bricks.
  for (std::size_t row = 2; row <= 14; row += 2) EXPECT_EQ(LitInRow(wall, row), 42) << row;
  // Held to the left, the paddle goes past the edge and comes in again on the right.
  for (int instructions = 2000; instructions <= 12000; instructions += 1000) {
    const RunResult run = RunPellark({"-n", std::to_string(instructions), "--press", "7@2000+20000",
                                      "--screen", Collection("br8kout.ch8")});
    EXPECT_EQ(LitInRow(run, 30), 6) << instructions;
  }
}

}  // namespace
}  // namespace pellark
