#include <algorithm>

#include "front_end_fixture.h"

namespace pellark {
namespace {

using Entry = HeadlessWindowSystem::MenuEntry;

TEST_F(StartedFrontEndTest, OpensTheWindowAndStartsTheBootProgram) {
  ASSERT_TRUE(started);
  EXPECT_EQ(window.Title(), "Pellark");
  EXPECT_EQ(window.WindowX(), 130);
  EXPECT_EQ(window.WindowY(), 130);
  EXPECT_EQ(window.ClientWidth(), 128);
  EXPECT_EQ(BelowMenu(), 64);
  EXPECT_EQ(frontEnd.MenuHeight, HeadlessWindowSystem::kMenuHeight);
  EXPECT_EQ(machine().PC, 0x100);
  EXPECT_EQ(machine().Cell(0x100).Text(), "11");
  EXPECT_TRUE(machine().Running);
  EXPECT_EQ(frontEnd.SpeedPercent, 75);
  EXPECT_EQ(frontEnd.SpinCount, 62500);
  EXPECT_EQ(window.Picture().Width(), 128);
  EXPECT_EQ(window.Picture().Height(), 64);
  EXPECT_TRUE(window.Messages().empty());
  EXPECT_FALSE(window.List().has_value());
  // The random source starts from the fixed seed.
  EXPECT_EQ(machine().Random.RandomUpTo(255), 184);
}

// Each menu entry as one line: "path: label #id checkable", "path: ---" for a separator.
std::vector<std::string> MenuLines(const std::vector<Entry>& entries) {
  std::vector<std::string> lines;
  for (const Entry& entry : entries) {
    std::string line = entry.kind == Entry::Kind::Title ? entry.label : entry.path + ": ";
    if (entry.kind == Entry::Kind::Separator) line += "---";
    if (entry.kind == Entry::Kind::Submenu) line += entry.label;
    if (entry.kind == Entry::Kind::Item) {
      line += entry.label + " #" + std::to_string(entry.id);
      if (entry.itemKind == MenuItemKind::Checkable) line += " checkable";
    }
    lines.push_back(line);
  }
  return lines;
}

constexpr int kLastOriginalId = 22;

TEST_F(StartedFrontEndTest, BuildsTheOriginalMenuTreeInItsOrder) {
  const std::vector<std::string> expected{"File",
                                          "File: Load...",
                                          "File > Load...: Load (F1) #1",
                                          "File > Load...: Reload (F2) #2",
                                          "File: Reset...",
                                          "File > Reset...: Reset (F10) #3",
                                          "File > Reset...: Reset at 200h (F9) #4",
                                          "File: Save program #5",
                                          "File: ---",
                                          "File: About... #6",
                                          "File: ---",
                                          "File: Quit #7",
                                          "Emulation",
                                          "Emulation: Run (F5) #8 checkable",
                                          "Emulation: Stop (F6) #9 checkable",
                                          "Emulation: ---",
                                          "Emulation: Debugger #10 checkable",
                                          "Emulation: ---",
                                          "Emulation: Video",
                                          "Emulation > Video: Screen Size",
                                          "Emulation > Video > Screen Size: x1 #11 checkable",
                                          "Emulation > Video > Screen Size: x2 #12 checkable",
                                          "Emulation > Video > Screen Size: x3 #13 checkable",
                                          "Emulation > Video > Screen Size: x4 #14 checkable",
                                          "Emulation > Video: Antiflicker (F11) #15 checkable",
                                          "Emulation > Video: Invert Colors (F12) #16 checkable",
                                          "Emulation: ---",
                                          "Emulation: Speed",
                                          "Emulation > Speed: Predefined",
                                          "Emulation > Speed > Predefined: 25% #17",
                                          "Emulation > Speed > Predefined: 50% #18",
                                          "Emulation > Speed > Predefined: 75% #19",
                                          "Emulation > Speed > Predefined: 100% #20",
                                          "Emulation > Speed: Decrement 5% (F7) #21",
                                          "Emulation > Speed: Increment 5% (F8) #22"};
  // The designed entries come in their order, each in its place; the additions (ids after 22)
  // and their submenus and separators may stand between them.
  std::vector<Entry> original = window.MenuEntries();
  std::erase_if(original, [](const Entry& entry) { return entry.id > kLastOriginalId; });
  const std::vector<std::string> actual = MenuLines(original);
  auto next = actual.begin();
  for (const std::string& line : expected) {
    next = std::find(next, actual.end(), line);
    ASSERT_NE(next, actual.end()) << line;
    ++next;
  }
  const auto designedItems =
      std::count_if(actual.begin(), actual.end(),
                    [](const std::string& line) { return line.find(" #") != std::string::npos; });
  EXPECT_EQ(designedItems, kLastOriginalId);
}

TEST_F(StartedFrontEndTest, AddsTheLargerScreenSizesAfterX4) {
  const std::vector<std::string> lines = MenuLines(window.MenuEntries());
  const auto x4 =
      std::find(lines.begin(), lines.end(), "Emulation > Video > Screen Size: x4 #14 checkable");
  ASSERT_NE(x4, lines.end());
  EXPECT_EQ(std::vector<std::string>(x4 + 1, std::min(x4 + 3, lines.end())),
            (std::vector<std::string>{"Emulation > Video > Screen Size: x6 #23 checkable",
                                      "Emulation > Video > Screen Size: x8 #24 checkable"}));
}

TEST_F(StartedFrontEndTest, MarksAndFunctionKeysStartAsDesigned) {
  EXPECT_TRUE(Marked(MenuId::Scale2));
  EXPECT_TRUE(Marked(MenuId::Run));
  for (const MenuId id :
       {MenuId::Stop, MenuId::Debugger, MenuId::Scale1, MenuId::Scale3, MenuId::Scale4,
        MenuId::Scale6, MenuId::Scale8, MenuId::Antiflicker, MenuId::InvertColors}) {
    EXPECT_FALSE(Marked(id)) << static_cast<int>(id);
  }
  using Keys = std::vector<std::pair<int, int>>;
  Keys keys;
  for (const auto& shortcut : window.Shortcuts())
    keys.emplace_back(shortcut.functionKey, shortcut.id);
  ASSERT_EQ(keys.size(), 12u);
  EXPECT_EQ(
      Keys(keys.begin(), keys.begin() + 10),
      (Keys{
          {1, 1}, {2, 2}, {10, 3}, {9, 4}, {5, 8}, {6, 9}, {7, 21}, {8, 22}, {11, 15}, {12, 16}}));
  // Step and the Inspector come after the designed keys.
  EXPECT_EQ(Keys(keys.begin() + 10, keys.end()), (Keys{{3, 48}, {4, 47}}));
}

TEST_F(FrontEndTest, WithoutAKeyboardTheProgramEndsWithAMessage) {
  window.SetKeyboardAvailable(false);
  EXPECT_FALSE(frontEnd.StartUp());
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].title, "Error");
  EXPECT_EQ(window.Messages()[0].text, "Can't open DirectX 7");
  EXPECT_FALSE(window.WindowOpen());
}

TEST_F(FrontEndTest, WithoutAWindowTheProgramEndsSilently) {
  window.SetWindowCanOpen(false);
  EXPECT_FALSE(frontEnd.StartUp());
  EXPECT_TRUE(window.Messages().empty());
}

TEST_F(FrontEndTest, WithoutAMenuBarTheFunctionKeysStillWork) {
  window.SetMenuBarCanBeCreated(false);
  ASSERT_TRUE(frontEnd.StartUp());
  EXPECT_TRUE(window.MenuEntries().empty());
  EXPECT_EQ(window.Shortcuts().size(), kFunctionKeys.size());
  EXPECT_EQ(BelowMenu(), 64);
  Select(MenuId::Stop);
  EXPECT_FALSE(machine().Running);
}

TEST_F(FrontEndTest, AMissingBootImageIsReportedAndTheWindowStillOpens) {
  frontEnd.BootImagePath = folder / "missing.rom";
  ASSERT_TRUE(frontEnd.StartUp());
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].title, "Pellark");
  EXPECT_EQ(window.Messages()[0].text, "Error: Can't read the rom file");
  frontEnd.RunPass();
  frontEnd.RunPass();
  EXPECT_EQ(machine().PC, 0x100);
}

TEST_F(StartedFrontEndTest, AboutShowsFiveCreditLinesWithAGapAfterTheThird) {
  Select(MenuId::About);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].title, "Pellark");
  std::vector<std::string> lines;
  std::string text = window.Messages()[0].text;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find('\n', start);
    lines.push_back(text.substr(start, end - start));
    if (end == std::string::npos) break;
    start = end + 1;
  }
  ASSERT_EQ(lines.size(), 6u);
  EXPECT_EQ(lines[0].rfind("Pellark ", 0), 0u);
  EXPECT_NE(lines[0].find("2026"), std::string::npos);
  EXPECT_TRUE(lines[3].empty());
  for (const std::size_t filled : {0u, 1u, 2u, 4u, 5u}) EXPECT_FALSE(lines[filled].empty());
}

}  // namespace
}  // namespace pellark
