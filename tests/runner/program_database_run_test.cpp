// pellark-run and the program database: the one installed beside it, a user's own copy that
// comes first, and a damaged copy, named once while every program runs as designed.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "pellark_process.h"
#include "shared_folder.h"

namespace pellark {
namespace {

using ::testing::MatchesRegex;
using ::testing::StartsWith;

constexpr const char* kDatabaseFiles[] = {"programs.json", "sha1-hashes.json", "platforms.json",
                                          "quirks.json"};

// A data folder whose pellark/chip-8-database/ is a copy of the real database.
class UserCopy {
 public:
  UserCopy() {
    std::filesystem::create_directories(Folder());
    for (const char* file : kDatabaseFiles)
      std::filesystem::copy_file(SharedPath("chip-8-database") / file, Folder() / file);
  }
  std::filesystem::path Folder() const { return scratch_.Path() / "pellark" / "chip-8-database"; }
  const std::filesystem::path& DataHome() const { return scratch_.Path(); }
  // Replaces one file of the copy with this text.
  void Damage(const std::string& file, const std::string& text) const {
    std::ofstream(Folder() / file, std::ios::binary | std::ios::trunc) << text;
  }

 private:
  ScratchFolder scratch_;
};

std::string VersionDatabaseLine(const RunSetting& setting = {}) {
  const RunResult result = RunPellark({"--version"}, setting);
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.err, "");
  const auto lines = result.OutLines();
  return lines.size() == 2 ? lines[1] : result.out;
}

TEST(ProgramDatabaseRun, VersionCountsTheInstalledDatabaseOrTheUsersOwnCopy) {
  EXPECT_THAT(VersionDatabaseLine(),
              MatchesRegex("program database: [0-9]+ programs, [0-9]+ files"));
  const UserCopy copy;
  EXPECT_EQ(VersionDatabaseLine({.dataHome = copy.DataHome()}),
            "program database: 484 programs, 543 files");
}

TEST(ProgramDatabaseRun, ADamagedCopyIsNamedOnceAndTheProgramRunsAsDesigned) {
  const std::string program = SharedPath("roms/br8kout.ch8").string();
  const std::vector<std::string> outputs = {"-n", "3000", "--state", "--screen"};
  std::vector<std::string> designed = outputs;
  designed.insert(designed.end(), {"--profile", "designed", program});
  const RunResult asDesigned = RunPellark(designed);
  std::vector<std::string> automatic = outputs;
  automatic.push_back(program);
  // With the database the program runs by its own platform, and says so.
  const RunResult known = RunPellark(automatic);
  EXPECT_THAT(known.err, StartsWith("pellark-run: \"Br8kout\" (Modern CHIP-8)"));
  EXPECT_NE(known.out, asDesigned.out);

  const struct {
    const char* file;
    std::string text;
    std::string fault;
  } cases[] = {
      {"programs.json", "[{\"title\": \"Br8kout\",", "not JSON: "},
      {"sha1-hashes.json", "[]", "the file is not an object"},
      {"platforms.json", "[{\"id\": \"xochip\"}]", "platform \"xochip\" has no \"name\""},
      {"quirks.json", "{}", "the file is not a list"},
  };
  for (const auto& c : cases) {
    const UserCopy copy;
    copy.Damage(c.file, c.text);
    EXPECT_EQ(VersionDatabaseLine({.dataHome = copy.DataHome()}), "program database: none")
        << c.file;
    const RunResult damaged = RunPellark(automatic, {.dataHome = copy.DataHome()});
    EXPECT_EQ(damaged.status, 0);
    ASSERT_EQ(damaged.ErrLines().size(), 1u) << damaged.err;
    EXPECT_THAT(damaged.err,
                StartsWith("pellark-run: the program database is damaged, running without it: " +
                           (copy.Folder() / c.file).string() + ": " + c.fault));
    EXPECT_EQ(damaged.out, asDesigned.out) << c.file;
  }
}

}  // namespace
}  // namespace pellark
