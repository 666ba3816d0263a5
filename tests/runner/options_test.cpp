// Command-line handling of pellark-run: bad input is refused with one line and status 2, help
// and version end the run with status 0, and the program file is checked before it runs.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "pellark_process.h"

namespace pellark {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

void ExpectRefused(const RunResult& result, const std::string& why) {
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  const auto lines = result.ErrLines();
  ASSERT_EQ(lines.size(), 1u) << result.err;
  EXPECT_THAT(lines[0], StartsWith("pellark-run: "));
  EXPECT_THAT(lines[0], HasSubstr(why));
}

class RefusedArguments : public ::testing::TestWithParam<std::vector<std::string>> {};

TEST_P(RefusedArguments, GetOneLineAndStatus2) {
  ExpectRefused(RunPellark(GetParam()), "");
}

INSTANTIATE_TEST_SUITE_P(UnknownOptions, RefusedArguments,
                         ::testing::Values(std::vector<std::string>{"--bogus"},
                                           std::vector<std::string>{"-x"},
                                           std::vector<std::string>{"one.ch8", "two.ch8"}));

INSTANTIATE_TEST_SUITE_P(BadInstructionCounts, RefusedArguments,
                         ::testing::Values(std::vector<std::string>{"-n", "abc"},
                                           std::vector<std::string>{"-n", "-5"},
                                           std::vector<std::string>{"-n", "12x"},
                                           std::vector<std::string>{"-n"},
                                           std::vector<std::string>{"--instructions", "1.5"}));

INSTANTIATE_TEST_SUITE_P(
    BadPresses, RefusedArguments,
    ::testing::Values(
        std::vector<std::string>{"--press", "5"}, std::vector<std::string>{"--press", "G@1"},
        std::vector<std::string>{"--press", "55@1"}, std::vector<std::string>{"--press", "@1"},
        std::vector<std::string>{"--press", "5@0"}, std::vector<std::string>{"--press", "5@x"},
        std::vector<std::string>{"--press", "5@1+0"}, std::vector<std::string>{"--press", "5@1+"},
        std::vector<std::string>{"--press", "5@-1"},
        std::vector<std::string>{"--press", "5@99999999999999999999"}));

INSTANTIATE_TEST_SUITE_P(BadMemoryRanges, RefusedArguments,
                         ::testing::Values(std::vector<std::string>{"--memory", "200"},
                                           std::vector<std::string>{"--memory", "G00:1"},
                                           std::vector<std::string>{"--memory", "200:0"},
                                           std::vector<std::string>{"--memory", "200:-1"},
                                           std::vector<std::string>{"--memory", ":4"},
                                           std::vector<std::string>{"--memory", "10000:1"},
                                           std::vector<std::string>{"--memory", "FFFF:2"}));

INSTANTIATE_TEST_SUITE_P(BadPokes, RefusedArguments,
                         ::testing::Values(std::vector<std::string>{"--poke", "1FF"},
                                           std::vector<std::string>{"--poke", "1FF="},
                                           std::vector<std::string>{"--poke", "=1"},
                                           std::vector<std::string>{"--poke", "1FF=100"},
                                           std::vector<std::string>{"--poke", "1FF=0x1"},
                                           std::vector<std::string>{"--poke", "1FF=-1"},
                                           std::vector<std::string>{"--poke", "1FF=G"},
                                           std::vector<std::string>{"--poke", "10000=1"}));

INSTANTIATE_TEST_SUITE_P(BadBreakAddresses, RefusedArguments,
                         ::testing::Values(std::vector<std::string>{"--break", "10000"},
                                           std::vector<std::string>{"--break", "20G"},
                                           std::vector<std::string>{"--break", "$"},
                                           std::vector<std::string>{"--break"}));

INSTANTIATE_TEST_SUITE_P(BadSpeeds, RefusedArguments,
                         ::testing::Values(std::vector<std::string>{"--speed", "101"},
                                           std::vector<std::string>{"--speed", "-1"},
                                           std::vector<std::string>{"--speed", "fast"}));

TEST(ProgramFile, ThatCannotBeReadIsRefused) {
  const ScratchFolder folder;
  ExpectRefused(RunPellark({(folder.Path() / "missing.ch8").string()}),
                "Error: Can't read the file");
  ExpectRefused(RunPellark({folder.Path().string()}), "Error: Can't read the file");
  ExpectRefused(RunPellark({""}), "Error: Can't read the file");
}

TEST(ProgramFile, LongerThanMemoryFromTwoHundredIsRefused) {
  const ScratchFolder folder;
  const std::string program = folder.WriteFile("large.ch8", std::vector<std::uint8_t>(3586, 0x12));
  ExpectRefused(RunPellark({program}), "Error: The program is too large");
}

TEST(ProgramFile, ThatJustFitsFillsMemoryToTheLastCell) {
  const ScratchFolder folder;
  std::vector<std::uint8_t> bytes(3585, 0x00);
  bytes[0] = 0x12;  // 200: jump 200
  bytes[1] = 0x00;
  bytes.back() = 0xAB;
  const RunResult result =
      RunPellark({"-n", "3", "--memory", "FFF:2", folder.WriteFile("full.ch8", bytes)});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "0 AB\n");
  // Past the designed memory's last cell the addresses XO-CHIP has read as empty.
  const RunResult beyond =
      RunPellark({"-n", "3", "--memory", "FFF:3", folder.WriteFile("full.ch8", bytes)});
  EXPECT_EQ(beyond.out, "0 AB _\n");
}

TEST(ProgramFile, IsFoundFromTheWorkingFolderAsGiven) {
  const ScratchFolder folder;
  folder.WriteFile("relative.ch8", {0x6A, 0x42, 0x12, 0x02});
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  const RunResult result = RunPellark({"-n", "2", "--state", "relative.ch8"});
  std::filesystem::current_path(before);
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_THAT(result.out, HasSubstr(" 42 00 00 00 00 00\n"));
}

TEST(Input, ThatCannotBeReadIsRefusedWithTheReasonBeforeAnythingRuns) {
  const ScratchFolder folder;
  const std::string fifo = (folder.Path() / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const std::pair<std::vector<std::string>, std::string> refused[] = {
      {{"/proc/self/mem"}, "Error: Can't read the file: /proc/self/mem: Input/output error"},
      {{fifo}, "Error: Can't read the file: " + fifo + ": Not a regular file"},
      {{"--boot", "/none.rom"}, "cannot read the boot image /none.rom: No such file or directory"},
      {{"--boot", "/"}, "cannot read the boot image /: Is a directory"},
      {{"--boot", fifo}, "cannot read the boot image " + fifo + ": Not a regular file"},
      {{"--boot", ""}, "the file name is empty"},
      {{"--png", ""}, "the file name is empty"},
      {{"--memory", "200:18446744073709551615"}, "memory ends at FFFF"},
  };
  for (const auto& [arguments, why] : refused) {
    std::vector<std::string> traced = arguments;
    traced.push_back("--trace");
    ExpectRefused(RunPellark(traced), why);
  }
}

TEST(Poke, StoresItsByteOverTheProgramBeforeTheFirstInstruction) {
  const ScratchFolder folder;
  const std::string program = folder.WriteProgram({
      0xA1, 0xFF,  // 200: I = 1FF
      0xF0, 0x65,  // 202: V0 = memory at 1FF (V0 and V1 once F1 replaces F0)
      0x12, 0x04,  // 204: jump 204
  });
  const RunResult result = RunPellark({"-n", "3", "--state", "--memory", "1FF:4", "--poke", "1FF=5",
                                       "--poke", "$1ff=c3", "--poke", "0x202=F1", program});
  EXPECT_EQ(result.status, 0) << result.err;
  // The later poke at 1FF wins.
  EXPECT_EQ(result.out,
            "PC=204 I=1FF SP=0 DT=0 ST=0 V=C3 A1 00 00 00 00 00 00 00 00 00 00 00 00 00 00\n"
            "C3 A1 FF F1\n");
}

TEST(BootImage, GivenByBootIsLoadedAtAddressZero) {
  const ScratchFolder folder;
  std::vector<std::uint8_t> image(0x102, 0x00);
  image[0x100] = 0x6C;  // 100: VC = 77
  image[0x101] = 0x77;
  const RunResult result = RunPellark(
      {"--boot", folder.WriteFile("own.rom", image), "-n", "1", "--trace", "--memory", "0:2"});
  EXPECT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, "$100: Mov VC,$77\n0 0\n");
}

TEST(Help, ListsTheOptionsAndEndsWithStatus0) {
  for (const char* flag : {"--help", "-h"}) {
    const RunResult result = RunPellark({flag});
    EXPECT_EQ(result.status, 0);
    EXPECT_EQ(result.err, "");
    for (const char* option :
         {"PROGRAM", "--boot", "--instructions", "--press", "--poke", "--speed", "--trace",
          "--screen", "--state", "--memory", "--png", "--benchmark", "--version"}) {
      EXPECT_THAT(result.out, HasSubstr(option)) << flag;
    }
  }
}

TEST(Version, NamesTheProgramAndItsDatabaseAndEndsWithStatus0) {
  const RunResult result = RunPellark({"--version"});
  EXPECT_EQ(result.status, 0);
  const auto lines = result.OutLines();
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_THAT(lines[0], StartsWith("pellark-run (Pellark) "));
  EXPECT_THAT(lines[1], StartsWith("program database: "));
}

TEST(PngOutput, ThatCannotBeWrittenFailsWithStatus1) {
  const ScratchFolder folder;
  const RunResult result =
      RunPellark({"-n", "1", "--png", (folder.Path() / "no" / "such.png").string()});
  EXPECT_EQ(result.status, 1);
  ASSERT_EQ(result.ErrLines().size(), 1u) << result.err;
  EXPECT_THAT(result.err, StartsWith("pellark-run: cannot write "));
}

}  // namespace
}  // namespace pellark
