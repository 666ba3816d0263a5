// Programs opened without the Load dialog: named on the command line or dropped on the window.
#include "front_end_fixture.h"

namespace pellark {
namespace {

enum class Way { CommandLine, Drop };
constexpr Way kWays[] = {Way::CommandLine, Way::Drop};

const char* NameOf(Way way) {
  return way == Way::CommandLine ? "command line" : "drop";
}

class OpenProgramTest : public StartedFrontEndTest {
 protected:
  void Open(Way way, const std::string& path) {
    if (way == Way::CommandLine) {
      frontEnd.OpenProgram(path);
      return;
    }
    window.QueueFileDrop(path);
    frontEnd.PollEvents();
  }
};

TEST_F(OpenProgramTest, LoadsAsLoadDoesAfterItsDialogAndReloadReadsTheSameFile) {
  for (const Way way : kWays) {
    SCOPED_TRACE(NameOf(way));
    Select(MenuId::Stop);
    machine().SetCell(0x300, ToHexByte(0x77));  // gone after the full reset
    const std::string path = WriteFile("game.ch8", {0x60, 0x01});
    Open(way, path);
    EXPECT_EQ(machine().Cell(0x200).Text(), "60");
    EXPECT_TRUE(machine().Cell(0x300).IsEmpty());
    EXPECT_EQ(machine().PC, 0x200);
    EXPECT_TRUE(machine().Running);
    EXPECT_EQ(frontEnd.programs().ProgramFileName(), path);
    WriteFile("game.ch8", {0x60, 0x02});
    Select(MenuId::Reload);
    EXPECT_EQ(machine().Cell(0x201).Text(), "2");
  }
  EXPECT_TRUE(window.OpenDialogs().empty());
  EXPECT_TRUE(window.Messages().empty());
}

TEST_F(OpenProgramTest, AFileThatCannotBeLoadedGetsTheMessagesOfLoad) {
  const std::vector<unsigned char> tooLarge(3586, 0x12);
  for (const auto& [path, message] : {
           std::pair{(folder / "missing.ch8").string(), "Error: Can't read the file"},
           std::pair{folder.string(), "Error: Can't read the file"},
           std::pair{WriteFile("huge.ch8", tooLarge), "Error: The program is too large"},
       }) {
    Open(Way::Drop, path);
    ASSERT_FALSE(window.Messages().empty()) << path;
    EXPECT_EQ(window.Messages().back().text, message) << path;
    EXPECT_TRUE(machine().Cell(0x200).IsEmpty());
    EXPECT_EQ(machine().PC, 0x200);
  }
  EXPECT_EQ(window.Messages().size(), 3u);
}

TEST_F(OpenProgramTest, ADropDuringAKeyWaitEndsItAndStartsTheDroppedProgram) {
  StartProgram({0xF3, 0x0A});
  window.QueueEvent({});  // the pass that begins the wait
  window.QueueFileDrop(WriteFile("dropped.ch8", {0x60, 0x05, 0x12, 0x02}));
  frontEnd.RunPass();
  frontEnd.RunPass();
  EXPECT_EQ(machine().PC, 0x200);
  EXPECT_EQ(machine().Cell(0x200).Text(), "60");
  frontEnd.RunPass();
  EXPECT_EQ(machine().Registers[0], 5);
  EXPECT_EQ(machine().PC, 0x200);
}

TEST_F(OpenProgramTest, FileDialogsStartInTheFolderOfTheLastProgramLoaded) {
  const auto expectDialogsIn = [this](const std::filesystem::path& expected) {
    window.QueueOpenAnswer("");
    Select(MenuId::Load);
    window.QueueSaveAnswer("");
    Select(MenuId::SaveProgram);
    EXPECT_EQ(window.OpenDialogs().back().folder, expected);
    EXPECT_EQ(window.SaveDialogs().back().folder, expected);
  };
  // Before any load: the folder the program was started in, also after a failed load.
  expectDialogsIn(std::filesystem::current_path());
  Open(Way::CommandLine, (folder / "missing.ch8").string());
  expectDialogsIn(std::filesystem::current_path());

  std::filesystem::create_directories(folder / "dropped");
  std::filesystem::create_directories(folder / "chosen");
  Open(Way::Drop, WriteFile("dropped/game.ch8", {0x12, 0x00}));
  expectDialogsIn(folder / "dropped");
  window.QueueOpenAnswer(WriteFile("chosen/game.ch8", {0x12, 0x00}));
  Select(MenuId::Load);
  expectDialogsIn(folder / "chosen");
}

}  // namespace
}  // namespace pellark
