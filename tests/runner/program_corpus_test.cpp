// Every program of the test collection runs a bounded stretch, with a few key presses, and
// ends normally: none may crash the runner, and those too large for memory are refused.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#include "pellark_process.h"
#include "shared_folder.h"

namespace pellark {
namespace {

std::vector<std::filesystem::path> CollectionPrograms() {
  std::vector<std::filesystem::path> programs;
  // Listed with an error code: without the shared folder, Collection.IsThere fails with the
  // folder's message instead of test discovery aborting.
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator(SharedPath("roms"), error)) {
    if (entry.path().extension() == ".ch8") programs.push_back(entry.path());
  }
  std::sort(programs.begin(), programs.end());
  return programs;
}

// Each program runs as designed and in the profile the program database gives it.
class CollectionProgram
    : public ::testing::TestWithParam<std::tuple<std::filesystem::path, std::string>> {};

TEST(Collection, IsThere) {
  EXPECT_EQ(CollectionPrograms().size(), 101u);
}

TEST_P(CollectionProgram, RunsOrIsRefusedAsTooLarge) {
  const auto& [program, profile] = GetParam();
  const RunResult result =
      RunPellark({"--profile", profile, "-n", "300000", "--screen", "--state", "--press",
                  "5@2000+300", "--press", "4@40000+300", "--press", "6@80000+300", "--press",
                  "7@120000", "--press", "0@200000+50", program.string()});
  // Every program larger than the designed memory takes is XO-CHIP's, which Automatic gives its
  // 64 KiB.
  if (profile == "designed" && std::filesystem::file_size(program) > 3585) {
    EXPECT_EQ(result.status, 2);
    EXPECT_THAT(result.err, ::testing::HasSubstr("Error: The program is too large"));
    EXPECT_EQ(result.out, "");
    return;
  }
  ASSERT_EQ(result.status, 0) << result.err;
  // The state line (and XO-CHIP's beside it), then the screen, whether the run ended at the
  // limit or at a key wait.
  const auto lines = result.OutLines();
  ASSERT_GE(lines.size(), 2u);
  EXPECT_THAT(lines[0], ::testing::StartsWith("PC="));
  const std::size_t stateLines = lines[1].starts_with("PLANE=") ? 2 : 1;
  EXPECT_TRUE(lines.size() == stateLines + 32 || lines.size() == stateLines + 64) << result.out;
  // Every program of the collection is in the program database but Dino Run, which is newer.
  const bool known = program.stem() != "dinorun";
  const std::string rules =
      profile == "auto" && known ? "pellark-run: \".+\" \\(.+\\), switches [^\n]+\n" : "";
  EXPECT_THAT(result.err, ::testing::MatchesRegex(rules + "(waiting for key at \\$[0-9A-F]+\n)?"));
}

std::string TestName(const ::testing::TestParamInfo<CollectionProgram::ParamType>& info) {
  std::string name = std::get<0>(info.param).stem().string() + "_" + std::get<1>(info.param);
  std::replace_if(
      name.begin(), name.end(),
      [](char c) { return std::isalnum(static_cast<unsigned char>(c)) == 0; }, '_');
  return name;
}

INSTANTIATE_TEST_SUITE_P(Programs, CollectionProgram,
                         ::testing::Combine(::testing::ValuesIn(CollectionPrograms()),
                                            ::testing::Values("designed", "auto")),
                         TestName);

}  // namespace
}  // namespace pellark
