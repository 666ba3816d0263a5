#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "files/program_file.h"

namespace pellark {
namespace {

class ProgramFileBytesTest : public ::testing::Test {
 protected:
  ProgramFileBytesTest() { std::filesystem::create_directories(folder); }
  ~ProgramFileBytesTest() override { std::filesystem::remove_all(folder); }

  std::string Write(std::size_t size, std::uint8_t byte = 0xA2) {
    const auto path = (folder / ("bytes-" + std::to_string(size))).string();
    const std::string bytes(size, static_cast<char>(byte));
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(size));
    return path;
  }

  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() /
      ("pellark-file-bytes-" + std::to_string(::getpid()) + "-" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

TEST_F(ProgramFileBytesTest, AProgramFitsUpToTheCapacityAndNothingOfALongerOneIsKept) {
  const std::int32_t capacityBytes = kDesignedMemoryCells - kProgramStart;
  const auto capacity = static_cast<std::size_t>(capacityBytes);
  const struct {
    std::size_t size;
    ReadFailure failure;
    std::size_t kept;
  } cases[] = {
      {0, ReadFailure::None, 0},
      {capacity, ReadFailure::None, capacity},
      {capacity + 1, ReadFailure::TooLarge, 0},
  };
  for (const auto& [size, failure, kept] : cases) {
    const FileBytes read = ReadProgramFile(Write(size), capacityBytes);
    EXPECT_EQ(read.failure, failure) << size;
    EXPECT_EQ(read.bytes.size(), kept) << size;
  }
  // Bytes from 80 up come back as themselves, not sign-extended.
  EXPECT_EQ(ReadProgramFile(Write(1, 0xFF), capacityBytes).bytes, std::vector<std::uint8_t>{0xFF});
}

TEST_F(ProgramFileBytesTest, AFileThatCannotBeReadSaysWhy) {
  const FileBytes missing = ReadProgramFile((folder / "missing.ch8").string(), 1);
  EXPECT_EQ(missing.failure, ReadFailure::CannotRead);
  EXPECT_EQ(missing.reason, "No such file or directory");
  EXPECT_EQ(ReadProgramFile(folder.string(), 1).failure, ReadFailure::CannotRead);
  EXPECT_FALSE(ReadBootImage(folder / "missing.rom", kDesignedMemoryCells).Read());
}

TEST_F(ProgramFileBytesTest, ABootImageKeepsWhatFitsInMemory) {
  const FileBytes read = ReadBootImage(Write(70000), 65536);
  EXPECT_TRUE(read.Read());
  EXPECT_EQ(read.bytes.size(), 65536u);
}

TEST_F(ProgramFileBytesTest, WrittenBytesReadBackAndAFailedWriteIsReported) {
  const std::vector<std::uint8_t> bytes{0x00, 0x7F, 0x80, 0xFF};
  const auto path = (folder / "saved.ch8").string();
  ASSERT_TRUE(WriteProgramFile(path, bytes));
  EXPECT_EQ(ReadProgramFile(path, 4).bytes, bytes);
  EXPECT_FALSE(WriteProgramFile((folder / "no-such-folder" / "saved.ch8").string(), bytes));
}

}  // namespace
}  // namespace pellark
