#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/data_file.h"

namespace pellark {
namespace {

// A program folder bin/ with an installed data folder share/pellark/ beside it.
class DataFileTest : public ::testing::Test {
 protected:
  DataFileTest() { std::filesystem::create_directories(installed); }
  ~DataFileTest() override { std::filesystem::remove_all(top); }

  const std::filesystem::path top = std::filesystem::temp_directory_path() / "pellark-data-test";
  const std::filesystem::path bin = top / "bin";
  const std::filesystem::path installed = top / "share" / "pellark";
};

TEST_F(DataFileTest, IsFoundBesideTheProgramFirstThenInTheInstalledDataFolder) {
  std::filesystem::create_directories(bin);
  const struct {
    bool beside;
    bool inShare;
    std::filesystem::path expected;
  } kCases[] = {
      {true, false, bin / "Chip8.rom"},
      {false, true, installed / "Chip8.rom"},
      {true, true, bin / "Chip8.rom"},
      // Where neither holds it, the usual place: opening it fails as for a missing file.
      {false, false, bin / "Chip8.rom"},
  };
  for (const auto& [beside, inShare, expected] : kCases) {
    std::filesystem::remove(bin / "Chip8.rom");
    std::filesystem::remove(installed / "Chip8.rom");
    if (beside) std::ofstream(bin / "Chip8.rom") << "b";
    if (inShare) std::ofstream(installed / "Chip8.rom") << "s";
    EXPECT_EQ(FindDataFile("Chip8.rom", bin), expected) << beside << inShare;
  }
  EXPECT_EQ(FindDataFile((top / "own.rom").string(), bin), top / "own.rom");
}

}  // namespace
}  // namespace pellark
