// Automatic and the program database: the platform, tick rate, colours and keys of a known
// program, what the user is shown of it, and programs the database cannot run or does not know.
#include <algorithm>

#include "core/keypad_map.h"
#include "files/program_information.h"
#include "front_end_fixture.h"
#include "platform/sha1.h"

namespace pellark {
namespace {

// Small programs that loop where they start, told apart by their last byte.
std::vector<unsigned char> MadeUpProgram(unsigned char tag) {
  return {0x12, 0x00, tag};
}

std::string Sha1Of(const std::vector<unsigned char>& bytes) {
  return Sha1Hex(std::span<const std::uint8_t>(bytes.data(), bytes.size()));
}

// A database of made-up programs standing for the classics users own.
struct MadeUpEntry {
  const char* name;
  unsigned char tag;
  const char* rom;  // the rom object's members after "platforms"
};
constexpr MadeUpEntry kMadeUp[] = {
    {"Tetris", 1, R"("platforms": ["superchip1", "originalChip8"])"},
    {"UFO", 2, R"("platforms": ["originalChip8"])"},
    {"Pong", 3, R"("platforms": ["originalChip8", "modernChip8"])"},
    {"Blinky", 4, R"("platforms": ["superchip"], "tickrate": 50)"},
    {"Connect 4", 5, R"("platforms": ["superchip", "originalChip8"])"},
    {"Neat", 6, R"("platforms": ["xochip"], "quirkyPlatforms": {"xochip": {"wrap": false}})"},
    {"Mega", 7, R"("platforms": ["megachip8", "hybridVIP"])"},
    {"Painted", 8,
     R"("platforms": ["modernChip8"], "colors": {"pixels": ["#112233", "#ddeeff"],
        "buzzer": "#ffaa00", "silence": "#000000"}, "keys": {"up": 5, "left": 7, "a": 6})"},
};

DatabaseRead MadeUpDatabase() {
  DatabaseTexts texts;
  texts.quirks = R"([{"id": "shift"}, {"id": "memoryIncrementByX"},
    {"id": "memoryLeaveIUnchanged"}, {"id": "wrap"}, {"id": "jump"}, {"id": "vblank"},
    {"id": "logic"}])";
  texts.platforms = R"([{"id": "originalChip8", "name": "Cosmac VIP CHIP-8"},
    {"id": "hybridVIP", "name": "CHIP-8 with Cosmac VIP instructions"},
    {"id": "modernChip8", "name": "Modern CHIP-8"}, {"id": "superchip1", "name": "Superchip 1.0"},
    {"id": "superchip", "name": "Superchip 1.1"}, {"id": "megachip8", "name": "MEGA-CHIP"},
    {"id": "xochip", "name": "XO-CHIP"}])";
  texts.programs = "[";
  texts.hashes = "{";
  for (std::size_t k = 0; k < std::size(kMadeUp); ++k) {
    const std::string sha1 = Sha1Of(MadeUpProgram(kMadeUp[k].tag));
    const char* separator = k == 0 ? "" : ",";
    texts.programs += std::string(separator) + R"({"title": ")" + kMadeUp[k].name +
                      R"(", "authors": ["Someone"], "release": "1990", "roms": {")" + sha1 +
                      R"(": {)" + kMadeUp[k].rom + "}}}";
    texts.hashes += std::string(separator) + "\"" + sha1 + "\": " + std::to_string(k);
  }
  texts.programs += "]";
  texts.hashes += "}";
  return ProgramDatabase::Parse(texts);
}

class ProgramRecognitionTest : public StartedFrontEndTest {
 protected:
  ProgramRecognitionTest() {
    EXPECT_EQ(database.error, "");
    frontEnd.UseProgramDatabase(database);
  }

  void Load(const std::vector<unsigned char>& program) {
    window.QueueOpenAnswer(WriteFile("program.ch8", program));
    Select(MenuId::Load);
  }
  void LoadMadeUp(const char* name) {
    const auto entry = std::ranges::find_if(
        kMadeUp, [name](const MadeUpEntry& each) { return std::string_view(each.name) == name; });
    Load(MadeUpProgram(entry->tag));
  }
  bool Shows(const std::string& text) const {
    return std::ranges::any_of(window.Texts(),
                               [&text](const auto& drawn) { return drawn.text == text; });
  }
  Colour Background() const { return window.Picture().ReadPixel(0, 0); }
  // Runs a pass so that the machine reads the keypad.
  bool KeypadKeyHeldWith(int scanCode, int key) {
    window.SetKeyHeld(scanCode, true);
    frontEnd.RunPass();
    const bool held = machine().KeyStates[static_cast<std::size_t>(key)] == 1;
    window.SetKeyHeld(scanCode, false);
    frontEnd.RunPass();
    return held;
  }

  DatabaseRead database = MadeUpDatabase();
};

TEST_F(ProgramRecognitionTest, AutomaticRunsEachKnownProgramByItsFirstPlatformThatPellarkRuns) {
  MachineRules blinky = RulesOf(Profile::SuperChip);
  blinky.cyclesPerFrame = 50;
  MachineRules neat = RulesOf(Profile::XoChip);
  neat.switches.clip = true;
  const struct {
    const char* name;
    MachineRules rules;
    std::string caption;
  } cases[] = {
      {"Tetris", RulesOf(Profile::SuperChip10), "Tetris \u2014 CHIP-48 / SUPER-CHIP 1.0"},
      {"UFO", RulesOf(Profile::Chip8), "UFO \u2014 CHIP-8 (COSMAC VIP)"},
      {"Pong", RulesOf(Profile::Chip8), "Pong \u2014 CHIP-8 (COSMAC VIP)"},
      {"Blinky", blinky, "Blinky \u2014 SUPER-CHIP 1.1"},
      {"Connect 4", RulesOf(Profile::SuperChip), "Connect 4 \u2014 SUPER-CHIP 1.1"},
      // Its quirky platform entry turns wrapping off, which is clipping on.
      {"Neat", neat, "Neat \u2014 XO-CHIP"},
      {"Mega", RulesOf(Profile::Designed), "Mega \u2014 needs MEGA-CHIP, runs as designed"},
  };
  for (const auto& c : cases) {
    LoadMadeUp(c.name);
    EXPECT_EQ(machine().Rules, c.rules) << c.name;
    EXPECT_TRUE(Shows(c.caption)) << c.name;
  }
  Load({0x12, 0x00, 0xEE});
  EXPECT_EQ(machine().Rules, RulesOf(Profile::Designed));
  EXPECT_TRUE(Shows("Unknown program \u2014 as designed"));
  // A profile chosen by hand names itself, known program or not.
  Select(MenuId::ProfileSuperChip10);
  Load({0x12, 0x00, 0xEE});
  EXPECT_TRUE(Shows("Unknown program \u2014 CHIP-48 / SUPER-CHIP 1.0"));
}

TEST_F(ProgramRecognitionTest, TheCaptionStaysOverLaterPicturesUntilItExpires) {
  LoadMadeUp("UFO");
  const std::string caption = "UFO \u2014 CHIP-8 (COSMAC VIP)";
  frontEnd.RefreshWindow();
  EXPECT_TRUE(Shows(caption));
  // It lasts about two seconds.
  const std::uint32_t shown = TickMilliseconds();
  while (Shows(caption) && TickMilliseconds() - shown < 60000) {
    SleepMilliseconds(50);
    frontEnd.PollEvents();
  }
  EXPECT_FALSE(Shows(caption));
  EXPECT_GE(TickMilliseconds() - shown, 1900u);
}

TEST_F(ProgramRecognitionTest, AKnownProgramShowsItsColoursUnlessAsDesigned) {
  LoadMadeUp("Painted");
  EXPECT_EQ(Background(), RGB(0x11, 0x22, 0x33));
  // Inverted, the background shows the lit colour.
  Select(MenuId::InvertColors);
  EXPECT_EQ(Background(), RGB(0xDD, 0xEE, 0xFF));
  Select(MenuId::InvertColors);
  // Any platform profile keeps them; the designed machine has its own.
  Select(MenuId::ProfileSuperChip);
  EXPECT_EQ(Background(), RGB(0x11, 0x22, 0x33));
  Select(MenuId::ProfileDesigned);
  EXPECT_EQ(Background(), Black);
  Select(MenuId::ProfileAutomatic);
  LoadMadeUp("UFO");
  EXPECT_EQ(Background(), Black);
}

TEST_F(ProgramRecognitionTest, TheArrowKeysSpaceAndShiftPressTheKeysAKnownProgramNames) {
  LoadMadeUp("Painted");
  const auto scanCode = [](ProgramKey key) {
    return kProgramKeyScanCodes[static_cast<std::size_t>(key)];
  };
  EXPECT_TRUE(KeypadKeyHeldWith(scanCode(ProgramKey::Up), 5));
  EXPECT_TRUE(KeypadKeyHeldWith(scanCode(ProgramKey::Left), 7));
  EXPECT_TRUE(KeypadKeyHeldWith(scanCode(ProgramKey::A), 6));
  // Keys the program does not name press nothing.
  for (const ProgramKey unnamed : {ProgramKey::Down, ProgramKey::Right, ProgramKey::B}) {
    window.SetKeyHeld(scanCode(unnamed), true);
    frontEnd.RunPass();
    EXPECT_TRUE(std::ranges::all_of(machine().KeyStates, [](auto state) { return state == 0; }));
    window.SetKeyHeld(scanCode(unnamed), false);
  }
  // The sixteen keypad keys still work beside them.
  EXPECT_TRUE(KeypadKeyHeldWith(ScanCodeOfKeypadKey(5), 5));
  Select(MenuId::ProfileDesigned);
  EXPECT_FALSE(KeypadKeyHeldWith(scanCode(ProgramKey::Up), 5));
  Select(MenuId::ProfileAutomatic);
  LoadMadeUp("UFO");
  EXPECT_FALSE(KeypadKeyHeldWith(scanCode(ProgramKey::Up), 5));
}

TEST_F(ProgramRecognitionTest, ProgramInformationShowsTheEntryOrTheSha1OfAnUnknownProgram) {
  Select(MenuId::ProgramInformation);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages().back().title, "Program information");
  EXPECT_EQ(window.Messages().back().text, "No program is loaded: the boot program runs.");

  LoadMadeUp("Tetris");
  Select(MenuId::ProgramInformation);
  EXPECT_EQ(window.Messages().back().text,
            "Title: Tetris\nAuthors: Someone\nRelease: 1990\n"
            "Platforms: Superchip 1.0, Cosmac VIP CHIP-8\nRules: CHIP-48 / SUPER-CHIP 1.0\n"
            "SHA-1: " +
                Sha1Of(MadeUpProgram(1)) + "\n");

  LoadMadeUp("Mega");
  Select(MenuId::ProgramInformation);
  EXPECT_NE(window.Messages().back().text.find(
                "Needs: MEGA-CHIP, which Pellark does not run\nRules: As designed\n"),
            std::string::npos);

  const std::vector<unsigned char> unknown{0x12, 0x00, 0xEE};
  Load(unknown);
  Select(MenuId::ProgramInformation);
  const std::string& text = window.Messages().back().text;
  EXPECT_EQ(text.rfind("Unknown program\nSHA-1: " + Sha1Of(unknown) + "\n", 0), 0u) << text;
  EXPECT_NE(text.find("README"), std::string::npos);
  EXPECT_EQ(window.Messages().size(), 4u);

  // After a reset the boot program runs again.
  Select(MenuId::Reset);
  Select(MenuId::ProgramInformation);
  EXPECT_EQ(window.Messages().back().text, "No program is loaded: the boot program runs.");
}

TEST_F(FrontEndTest, ADamagedDatabaseIsReportedOnceAndEveryProgramRunsAsDesigned) {
  const DatabaseRead damaged{nullptr, "/data/programs.json: not JSON: syntax error"};
  frontEnd.UseProgramDatabase(damaged);
  ASSERT_TRUE(frontEnd.StartUp());
  for (int load = 0; load < 2; ++load) {
    window.QueueOpenAnswer(WriteFile("program.ch8", MadeUpProgram(1)));
    Select(MenuId::Load);
    EXPECT_EQ(machine().Rules, RulesOf(Profile::Designed));
  }
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_NE(window.Messages()[0].text.find("/data/programs.json: not JSON"), std::string::npos);
  // Program information does not blame the database for not knowing the program.
  Select(MenuId::ProgramInformation);
  EXPECT_NE(window.Messages().back().text.find("Pellark has no program database"),
            std::string::npos);
}

}  // namespace
}  // namespace pellark
