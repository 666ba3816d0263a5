#include <sys/resource.h>
#include <sys/stat.h>

#include <fstream>

#include "front_end_fixture.h"

namespace pellark {
namespace {

class ProgramFilesTest : public StartedFrontEndTest {
 protected:
  std::string Contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
};

TEST_F(ProgramFilesTest, LoadAsksForAFileAndStoresItsBytesAsCellTexts) {
  const std::string path = WriteFile("game.ch8", {0x00, 0x0A, 0xA2, 0xFF});
  window.QueueOpenAnswer(path);
  Select(MenuId::Load);
  ASSERT_EQ(window.OpenDialogs().size(), 1u);
  EXPECT_EQ(window.OpenDialogs()[0].title, "Open Chip 8 rom file");
  EXPECT_EQ(window.OpenDialogs()[0].pattern, "Chip 8 Rom game|*.ch8");
  EXPECT_EQ(machine().Cell(0x200).Text(), "0");
  EXPECT_EQ(machine().Cell(0x201).Text(), "A");
  EXPECT_EQ(machine().Cell(0x202).Text(), "A2");
  EXPECT_EQ(machine().Cell(0x203).Text(), "FF");
  EXPECT_TRUE(machine().Cell(0x204).IsEmpty());
  EXPECT_EQ(machine().PC, 0x200);
  EXPECT_EQ(machine().PcStep, 0);
  EXPECT_EQ(frontEnd.programs().ProgramFileName(), path);
  EXPECT_TRUE(window.Messages().empty());
}

TEST_F(ProgramFilesTest, LoadWhileStoppedLeavesTheMachineRunningWithTheStopMark) {
  Select(MenuId::Stop);
  window.QueueOpenAnswer(WriteFile("game.ch8", {0x12, 0x00}));
  Select(MenuId::Load);
  EXPECT_TRUE(machine().Running);
  EXPECT_TRUE(Marked(MenuId::Stop));
  frontEnd.RunPass();
  EXPECT_EQ(machine().PC, 0x200);
}

TEST_F(ProgramFilesTest, ALoadOverRunningCodeRunsTheNewProgram) {
  // After Reset at 200h a load keeps memory and writes the new program over the old one.
  StartProgram({0x60, 0x01, 0x12, 0x00});
  for (int pass = 0; pass < 4; ++pass) frontEnd.RunPass();
  Select(MenuId::Debugger);
  window.QueueOpenAnswer(WriteFile("new.ch8", {0x61, 0x05}));
  Select(MenuId::Load);
  frontEnd.RunPass();
  frontEnd.RunPass();
  ASSERT_TRUE(window.List().has_value());
  EXPECT_EQ(window.List()->lines.Line(0), "$200: Mov V1,$5");
  EXPECT_EQ(window.List()->lines.Line(1), "$202: Jmp ,$200");
}

TEST_F(ProgramFilesTest, ReloadReadsTheSameFileAgainWithoutAsking) {
  const std::string path = WriteFile("game.ch8", {0x60, 0x01});
  window.QueueOpenAnswer(path);
  Select(MenuId::Load);
  WriteFile("game.ch8", {0x60, 0x02});
  Select(MenuId::Reload);
  EXPECT_EQ(window.OpenDialogs().size(), 1u);
  EXPECT_EQ(machine().Cell(0x201).Text(), "2");
  EXPECT_EQ(machine().PC, 0x200);
}

TEST_F(ProgramFilesTest, ACancelledLoadReportsTheFileAndReloadDoesTheSame) {
  window.QueueOpenAnswer("");
  Select(MenuId::Load);
  Select(MenuId::Reload);
  ASSERT_EQ(window.Messages().size(), 2u);
  for (const auto& message : window.Messages()) {
    EXPECT_EQ(message.title, "Pellark");
    EXPECT_EQ(message.text, "Error: Can't read the file");
  }
  EXPECT_EQ(frontEnd.programs().ProgramFileName(), "");
  EXPECT_EQ(machine().PC, 0x200);
  EXPECT_TRUE(machine().Running);
}

TEST_F(ProgramFilesTest, AFileThatCannotBeReadLeavesNothingOfItself) {
  const auto fifo = folder / "fifo";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  // A read error, something that is not a regular file, and a folder.
  for (const std::string& path : {std::string("/proc/self/mem"), fifo.string(), folder.string()}) {
    window.QueueOpenAnswer(path);
    Select(MenuId::Load);
    Select(MenuId::Reload);
  }
  ASSERT_EQ(window.Messages().size(), 6u);
  for (const auto& message : window.Messages())
    EXPECT_EQ(message.text, "Error: Can't read the file");
  EXPECT_TRUE(machine().Cell(0x200).IsEmpty());
  EXPECT_EQ(machine().PC, 0x200);
}

TEST_F(ProgramFilesTest, AnOversizedProgramIsRefusedWhole) {
  window.QueueOpenAnswer(WriteFile("huge.ch8", std::vector<unsigned char>(3586, 0x12)));
  Select(MenuId::Load);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].text, "Error: The program is too large");
  EXPECT_TRUE(machine().Cell(0x200).IsEmpty());
  EXPECT_EQ(machine().PC, 0x200);
  // The largest program that fits fills memory to the last cell.
  window.QueueOpenAnswer(WriteFile(
      "full.ch8",
      std::vector<unsigned char>(static_cast<std::size_t>(ProgramCapacity(machine())), 0x12)));
  Select(MenuId::Load);
  EXPECT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(machine().Cell(machine().LastCell()).Text(), "12");
}

TEST_F(ProgramFilesTest, ResetAt200KeepsTheRestOfAnEarlierProgram) {
  window.QueueOpenAnswer(WriteFile("long.ch8", {0x60, 0x01, 0x61, 0x02}));
  Select(MenuId::Load);
  Select(MenuId::ResetAt200);
  window.QueueOpenAnswer(WriteFile("short.ch8", {0x62, 0x03}));
  Select(MenuId::Load);
  EXPECT_EQ(machine().Cell(0x200).Text(), "62");
  EXPECT_EQ(machine().Cell(0x202).Text(), "61");
}

TEST_F(ProgramFilesTest, SaveWritesV4BytesFrom200) {
  const std::vector<unsigned char> bytes{0x00, 0x0A, 0xA2, 0xFF, 0x12};
  window.QueueOpenAnswer(WriteFile("game.ch8", bytes));
  Select(MenuId::Load);
  machine().Registers[4] = 5;
  const std::string saved = (folder / "saved").string();
  window.QueueSaveAnswer(saved);
  Select(MenuId::SaveProgram);
  ASSERT_EQ(window.SaveDialogs().size(), 1u);
  EXPECT_EQ(window.SaveDialogs()[0].title, "Save memory program");
  EXPECT_EQ(window.SaveDialogs()[0].pattern, "");
  EXPECT_EQ(Contents(saved), std::string(bytes.begin(), bytes.end()));
  // Empty cells are saved as zero bytes, and an existing file is replaced.
  std::filesystem::permissions(saved, std::filesystem::perms(0604));
  machine().Registers[4] = 8;
  window.QueueSaveAnswer(saved);
  Select(MenuId::SaveProgram);
  EXPECT_EQ(Contents(saved), std::string(bytes.begin(), bytes.end()) + std::string(3, '\0'));
  EXPECT_EQ(std::filesystem::status(saved).permissions(), std::filesystem::perms(0604));
  machine().Registers[4] = 0;
  window.QueueSaveAnswer(saved);
  Select(MenuId::SaveProgram);
  EXPECT_EQ(Contents(saved), "");
  EXPECT_TRUE(window.Messages().empty());
  EXPECT_EQ(machine().PC, 0x200);
}

TEST_F(ProgramFilesTest, AFailedSaveIsReportedAndACancelledOneIsNot) {
  window.QueueSaveAnswer("");
  Select(MenuId::SaveProgram);
  EXPECT_TRUE(window.Messages().empty());
  window.QueueSaveAnswer((folder / "no-such-folder" / "saved").string());
  Select(MenuId::SaveProgram);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].title, "Pellark");
  EXPECT_EQ(window.Messages()[0].text, "Error: Can't write the file");
  machine().Registers[4] = 0xFF;
  window.QueueSaveAnswer("/dev/full");
  Select(MenuId::SaveProgram);
  EXPECT_EQ(window.Messages().size(), 2u);
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

TEST_F(ProgramFilesTest, AFailedSaveLeavesTheFileItWouldReplaceAsItWas) {
  const std::string saved = WriteFile("saved", {'o', 'l', 'd'});
  machine().Registers[4] = 0xFF;
  rlimit unlimited{};
  getrlimit(RLIMIT_FSIZE, &unlimited);
  const rlimit limited{100, unlimited.rlim_max};
  setrlimit(RLIMIT_FSIZE, &limited);
  window.QueueSaveAnswer(saved);
  Select(MenuId::SaveProgram);
  setrlimit(RLIMIT_FSIZE, &unlimited);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].text, "Error: Can't write the file");
  EXPECT_EQ(Contents(saved), "old");
  // Nothing is left beside it but the boot image.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 2);
}

}  // namespace
}  // namespace pellark
