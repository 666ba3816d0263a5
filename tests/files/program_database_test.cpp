// The program database reader: what a small made-up database says of each of its files, every
// kind of damage refused whole with the file and the fault named, the real database, and where
// the database is looked for.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "files/program_database.h"
#include "platform/data_file.h"
#include "platform/sha1.h"
#include "shared_folder.h"

namespace pellark {
namespace {

using Json = nlohmann::json;
using ::testing::StartsWith;

std::string Sha1Of(const std::vector<std::uint8_t>& bytes) {
  return Sha1Hex(bytes);
}

// Made-up program files, told apart by their bytes.
const std::vector<std::uint8_t> kAlphaBytes{0x00, 0xE0, 0x12, 0x02};
const std::string kAlpha = Sha1Of(kAlphaBytes);
const std::string kBetaVip = Sha1Of({0x12, 0x00, 0x01});
const std::string kBetaHybrid = Sha1Of({0x12, 0x00, 0x02});
const std::string kGamma = Sha1Of({0x12, 0x00, 0x03});
const std::string kDelta = Sha1Of({0x12, 0x00, 0x04});
const std::string kMega = Sha1Of({0x12, 0x00, 0x05});

// A database of those files, every file of it as JSON, to be damaged in one place at a time.
struct MadeUpDatabase {
  Json programs = Json::array({
      {{"title", "Alpha"},
       {"authors", {"Ann", "Bob"}},
       {"release", "1991"},
       {"description", "The program."},
       {"origin", "a field Pellark does not know"},
       {"roms",
        {{kAlpha,
          {{"file", "alpha.ch8"},
           {"description", "This file of it."},
           {"platforms", {"xochip"}},
           {"quirkyPlatforms", {{"xochip", {{"wrap", false}}}}},
           {"tickrate", 500},
           {"colors",
            {{"pixels", {"#000000", "#ffcc00", "#FF0000", "#00ff00"}}, {"buzzer", "#123456"}}},
           {"keys", {{"up", 5}, {"a", 6}, {"b", 15}, {"player2Up", 2}}},
           {"screenRotation", 90}}}}}},
      {{"title", "Beta"},
       {"roms",
        {{kBetaVip,
          {{"platforms", {"originalChip8", "modernChip8"}},
           {"quirkyPlatforms",
            {{"originalChip8", {{"memoryLeaveIUnchanged", true}}},
             {"modernChip8", {{"shift", true}}}}}}},
         {kBetaHybrid,
          {{"platforms", {"hybridVIP", "chip8x"}},
           {"quirkyPlatforms", {{"hybridVIP", {{"vblank", false}}}}}}}}}},
      {{"title", "Gamma"},
       {"roms",
        {{kGamma,
          {{"platforms", {"megachip8", "superchip1"}},
           {"quirkyPlatforms", {{"superchip1", {{"memoryIncrementByX", false}, {"wrap", true}}}}},
           {"tickrate", 40}}}}}},
      // Its only platform is in quirkyPlatforms.
      {{"title", "Delta"},
       {"roms",
        {{kDelta,
          {{"platforms", Json::array()},
           {"quirkyPlatforms", {{"superchip", {{"shift", false}}}}}}}}}},
      {{"title", "Mega"}, {"roms", {{kMega, {{"platforms", {"megachip8"}}, {"tickrate", 1000}}}}}},
      // Lists Alpha's file too; the index leads to Alpha.
      {{"title", "Alpha again"}, {"roms", {{kAlpha, {{"platforms", {"chip48"}}}}}}},
  });
  Json hashes = {{kAlpha, 0}, {kBetaVip, 1}, {kBetaHybrid, 1},
                 {kGamma, 2}, {kDelta, 3},   {kMega, 4}};
  Json platforms = Json::array({
      {{"id", "originalChip8"}, {"name", "VIP"}, {"defaultTickrate", 15}},
      {{"id", "hybridVIP"}, {"name", "Hybrid VIP"}},
      {{"id", "modernChip8"}, {"name", "Modern"}},
      {{"id", "chip8x"}, {"name", "VIP with colour"}},
      {{"id", "chip48"}, {"name", "HP48 CHIP-48"}},
      {{"id", "superchip1"}, {"name", "Super 1.0"}},
      {{"id", "superchip"}, {"name", "Super 1.1"}},
      {{"id", "megachip8"}, {"name", "MEGA-CHIP"}},
      {{"id", "xochip"},
       {"name", "XO"},
       {"description", "a field Pellark does not read"},
       {"defaultTickrate", 100},
       {"quirks", {{"wrap", true}, {"shift", false}}}},
  });
  Json quirks = Json::array({{{"id", "shift"}},
                             {{"id", "memoryIncrementByX"}},
                             {{"id", "memoryLeaveIUnchanged"}},
                             {{"id", "wrap"}, {"default", false}},
                             {{"id", "jump"}},
                             {{"id", "vblank"}},
                             {{"id", "logic"}}});

  Json& File(const std::string& name) {
    if (name == "programs.json") return programs;
    if (name == "sha1-hashes.json") return hashes;
    if (name == "platforms.json") return platforms;
    return quirks;
  }
  DatabaseTexts Texts() const {
    return {programs.dump(), hashes.dump(), platforms.dump(), quirks.dump()};
  }
};

std::string& TextOf(DatabaseTexts& texts, const std::string& name) {
  if (name == "programs.json") return texts.programs;
  if (name == "sha1-hashes.json") return texts.hashes;
  if (name == "platforms.json") return texts.platforms;
  return texts.quirks;
}

TEST(ProgramDatabase, TheMadeUpOneReadsWhole) {
  const DatabaseRead read = ProgramDatabase::Parse(MadeUpDatabase().Texts());
  EXPECT_EQ(read.error, "");
  ASSERT_NE(read.database, nullptr);
  EXPECT_EQ(read.database->ProgramCount(), 6u);
  EXPECT_EQ(read.database->FileCount(), 6u);
  EXPECT_EQ(ProgramDatabaseSummary(read), "program database: 6 programs, 6 files");
  EXPECT_EQ(ProgramDatabaseSummary(DatabaseRead{}), "program database: none");
}

MachineRules RulesWith(Profile profile, void (*change)(MachineRules&)) {
  MachineRules rules = RulesOf(profile);
  change(rules);
  return rules;
}

TEST(ProgramDatabase, EachFileRunsByItsFirstPlatformThatPellarkRuns) {
  const DatabaseRead read = ProgramDatabase::Parse(MadeUpDatabase().Texts());
  ASSERT_NE(read.database, nullptr) << read.error;
  const struct {
    const char* what;
    std::string sha1;
    std::string title;
    std::optional<Profile> profile;
    MachineRules rules;
    std::vector<std::string> platformNames;
    std::string neededPlatform;
  } cases[] = {
      {"wrap false is clip on; the tick rate replaces the frame rate; the program the index "
       "leads to, of two that list the file",
       kAlpha,
       "Alpha",
       Profile::XoChip,
       RulesWith(Profile::XoChip,
                 [](MachineRules& rules) {
                   rules.switches.clip = true;
                   rules.cyclesPerFrame = 500;
                 }),
       {"XO"},
       ""},
      {"the quirks of the platform chosen, not of the next one",
       kBetaVip,
       "Beta",
       Profile::Chip8,
       RulesWith(Profile::Chip8, [](MachineRules& rules) { rules.switches.memory = true; }),
       {"VIP", "Modern"},
       ""},
      {"only platforms Pellark does not run",
       kBetaHybrid,
       "Beta",
       std::nullopt,
       MachineRules{},
       {"Hybrid VIP", "VIP with colour"},
       "Hybrid VIP"},
      {"the first platform Pellark runs, after one it does not; wrap true is clip off",
       kGamma,
       "Gamma",
       Profile::SuperChip10,
       RulesWith(Profile::SuperChip10,
                 [](MachineRules& rules) {
                   rules.switches.increment = false;
                   rules.switches.clip = false;
                   rules.cyclesPerFrame = 40;
                 }),
       {"MEGA-CHIP", "Super 1.0"},
       ""},
      {"a platform listed only in quirkyPlatforms",
       kDelta,
       "Delta",
       Profile::SuperChip,
       RulesWith(Profile::SuperChip, [](MachineRules& rules) { rules.switches.shift = false; }),
       {"Super 1.1"},
       ""},
      {"no profile: the tick rate does not apply",
       kMega,
       "Mega",
       std::nullopt,
       MachineRules{},
       {"MEGA-CHIP"},
       "MEGA-CHIP"},
  };
  for (const auto& c : cases) {
    const KnownProgram* program = read.database->FindSha1(c.sha1);
    ASSERT_NE(program, nullptr) << c.what;
    EXPECT_EQ(program->sha1, c.sha1) << c.what;
    EXPECT_EQ(program->title, c.title) << c.what;
    EXPECT_EQ(program->profile, c.profile) << c.what;
    EXPECT_EQ(program->rules, c.rules) << c.what;
    EXPECT_EQ(program->platformNames, c.platformNames) << c.what;
    EXPECT_EQ(program->neededPlatform, c.neededPlatform) << c.what;
  }
}

TEST(ProgramDatabase, AFileGivesItsProgramsTextsItsColoursAndItsKeys) {
  const DatabaseRead read = ProgramDatabase::Parse(MadeUpDatabase().Texts());
  ASSERT_NE(read.database, nullptr) << read.error;
  const KnownProgram* alpha = read.database->Find(kAlphaBytes);
  ASSERT_NE(alpha, nullptr);
  EXPECT_EQ(alpha->authors, (std::vector<std::string>{"Ann", "Bob"}));
  EXPECT_EQ(alpha->release, "1991");
  // The file's own description tells more than its program's.
  EXPECT_EQ(alpha->description, "This file of it.");
  EXPECT_EQ(alpha->colours, (std::vector<Colour>{RGB(0, 0, 0), RGB(0xFF, 0xCC, 0), RGB(0xFF, 0, 0),
                                                 RGB(0, 0xFF, 0)}));
  // Up, down, left, right, a, b; the second player's keys are not among them.
  EXPECT_EQ(alpha->keys, (std::array<std::optional<std::int32_t>, 6>{5, std::nullopt, std::nullopt,
                                                                     std::nullopt, 6, 15}));

  const KnownProgram* beta = read.database->FindSha1(kBetaVip);
  ASSERT_NE(beta, nullptr);
  EXPECT_TRUE(beta->authors.empty());
  EXPECT_EQ(beta->release, "");
  EXPECT_TRUE(beta->colours.empty());
  EXPECT_EQ(beta->keys, (std::array<std::optional<std::int32_t>, 6>{}));

  EXPECT_EQ(read.database->FindSha1(Sha1Of({0x12, 0x00})), nullptr);
  EXPECT_EQ(read.database->Find(std::vector<std::uint8_t>{}), nullptr);
}

// One change to one file of the made-up database.
struct Damage {
  std::string file;
  // Where in the file (a JSON pointer), and what goes there; no value removes what is there.
  std::string pointer;
  std::optional<Json> value;
  // Instead, the file's whole text.
  std::optional<std::string> text;
  // What the error starts with.
  std::string error;
};

Damage Set(const std::string& file, const std::string& pointer, Json value,
           const std::string& error) {
  return {file, pointer, std::move(value), std::nullopt, error};
}
Damage Remove(const std::string& file, const std::string& pointer, const std::string& error) {
  return {file, pointer, std::nullopt, std::nullopt, error};
}
Damage Text(const std::string& file, const std::string& text, const std::string& error) {
  return {file, "", std::nullopt, text, error};
}

DatabaseTexts Damaged(const Damage& damage) {
  MadeUpDatabase database;
  if (!damage.text) {
    Json& file = database.File(damage.file);
    const Json::json_pointer pointer(damage.pointer);
    if (damage.value) {
      file[pointer] = *damage.value;
    } else {
      Json& parent = file[pointer.parent_pointer()];
      if (parent.is_array()) {
        parent.erase(std::stoul(pointer.back()));
      } else {
        parent.erase(pointer.back());
      }
    }
  }
  DatabaseTexts texts = database.Texts();
  if (damage.text) TextOf(texts, damage.file) = *damage.text;
  return texts;
}

TEST(ProgramDatabase, ADamagedFileMakesNoDatabaseAndIsNamedWithItsFault) {
  const std::string alpha = "/0/roms/" + kAlpha;
  const std::string alphaWhere = "programs.json: program 0.roms." + kAlpha;
  const std::string betaWhere = "programs.json: program 1.roms.";
  const Damage cases[] = {
      // Not JSON.
      Text("programs.json", "", "programs.json: not JSON: "),
      Text("programs.json", R"([{"title": "Alpha",)", "programs.json: not JSON: "),
      Text("sha1-hashes.json", R"({"a": 1,})", "sha1-hashes.json: not JSON: "),
      Text("platforms.json", "[{'id': 'xochip'}]", "platforms.json: not JSON: "),
      Text("quirks.json", "\xEF\xBB\xBF[] trailing", "quirks.json: not JSON: "),
      // A missing quote, whose whole rest the JSON library would quote.
      Text("programs.json", "[\"" + std::string(100'000, 'a'), "programs.json: not JSON: "),
      // Wrong shapes.
      Text("programs.json", "{}", "programs.json: the file is not a list"),
      Text("sha1-hashes.json", "[]", "sha1-hashes.json: the file is not an object"),
      Text("platforms.json", "null", "platforms.json: the file is not a list"),
      Text("quirks.json", R"({"shift": true})", "quirks.json: the file is not a list"),
      Set("programs.json", "/1", Json::array(), "programs.json: program 1 is not an object"),
      Set("programs.json", "/0/roms", Json::array({kAlpha}),
          "programs.json: program 0.roms is not an object"),
      Set("programs.json", alpha, Json::array({"xochip"}), alphaWhere + " is not an object"),
      Set("programs.json", alpha + "/colors", Json::array(),
          alphaWhere + ".colors is not an object"),
      Set("programs.json", alpha + "/keys", Json::array({5}),
          alphaWhere + ".keys is not an object"),
      Set("platforms.json", "/2", "modernChip8", "platforms.json: a platform is not an object"),
      Set("platforms.json", "/8/quirks", Json::array({"wrap"}),
          "platforms.json: platform \"xochip\".quirks is not an object"),
      Set("quirks.json", "/0", "shift", "quirks.json: a quirk is not an object"),
      // Missing members.
      Remove("programs.json", "/0/title", "programs.json: program 0 has no \"title\""),
      Remove("programs.json", "/1/roms", "programs.json: program 1 has no \"roms\""),
      Remove("programs.json", alpha + "/platforms", alphaWhere + " has no \"platforms\""),
      Remove("platforms.json", "/8/name", "platforms.json: platform \"xochip\" has no \"name\""),
      Remove("platforms.json", "/8/id", "platforms.json: a platform has no \"id\""),
      Remove("quirks.json", "/4/id", "quirks.json: a quirk has no \"id\""),
      // Wrong types and values.
      Set("programs.json", "/0/title", 5, "programs.json: program 0.title is not a text"),
      Set("programs.json", "/0/authors", "Ann", "programs.json: program 0.authors is not a list"),
      Set("programs.json", "/0/authors/1", false,
          "programs.json: program 0.authors item is not a text"),
      Set("programs.json", "/0/release", 1991, "programs.json: program 0.release is not a text"),
      Set("programs.json", alpha + "/description", nullptr,
          alphaWhere + ".description is not a text"),
      Set("programs.json", alpha + "/platforms", "xochip", alphaWhere + ".platforms is not a list"),
      Set("programs.json", alpha + "/platforms/0", 8, alphaWhere + ".platforms item is not a text"),
      Set("programs.json", alpha + "/tickrate", "500",
          alphaWhere + ".tickrate is not a whole number"),
      Set("programs.json", alpha + "/tickrate", 2.5,
          alphaWhere + ".tickrate is not a whole number"),
      Set("programs.json", alpha + "/tickrate", -500, alphaWhere + ".tickrate is out of range"),
      Set("programs.json", alpha + "/tickrate", 0, alphaWhere + ".tickrate is out of range"),
      Set("programs.json", alpha + "/tickrate", 1'000'001,
          alphaWhere + ".tickrate is out of range"),
      Set("programs.json", alpha + "/tickrate", 18446744073709551615u,
          alphaWhere + ".tickrate is out of range"),
      Set("programs.json", "/4/roms/" + kMega + "/tickrate", "fast",
          "programs.json: program 4.roms." + kMega + ".tickrate is not a whole number"),
      Set("programs.json", alpha + "/keys/up", 16, alphaWhere + ".keys.up is out of range"),
      Set("programs.json", alpha + "/keys/up", -1, alphaWhere + ".keys.up is out of range"),
      Set("programs.json", alpha + "/keys/up", "5", alphaWhere + ".keys.up is not a whole number"),
      Set("programs.json", alpha + "/keys/player2Up", 99,
          alphaWhere + ".keys.player2Up is out of range"),
      Set("programs.json", alpha + "/colors/pixels/1", "red",
          alphaWhere + ".colors.pixels item is not a colour #rrggbb"),
      Set("programs.json", alpha + "/colors/pixels/1", "#12345",
          alphaWhere + ".colors.pixels item is not a colour #rrggbb"),
      Set("programs.json", alpha + "/colors/pixels/1", "#12345g",
          alphaWhere + ".colors.pixels item is not a colour #rrggbb"),
      Set("programs.json", alpha + "/colors/pixels/1", "#+12345",
          alphaWhere + ".colors.pixels item is not a colour #rrggbb"),
      Set("programs.json", alpha + "/colors/pixels/1", 0xFFCC00,
          alphaWhere + ".colors.pixels item is not a text"),
      Set("programs.json", alpha + "/colors/pixels", "#000000",
          alphaWhere + ".colors.pixels is not a list"),
      Set("programs.json", alpha + "/colors/buzzer", "#1234567",
          alphaWhere + ".colors.buzzer is not a colour #rrggbb"),
      Set("programs.json", alpha + "/quirkyPlatforms/xochip/wrap", "no",
          alphaWhere + ".quirkyPlatforms.xochip.wrap is not true or false"),
      Set("programs.json", alpha + "/quirkyPlatforms/xochip", true,
          alphaWhere + ".quirkyPlatforms.xochip is not an object"),
      Set("platforms.json", "/8/name", 3, "platforms.json: platform \"xochip\".name is not a text"),
      Set("platforms.json", "/8/defaultTickrate", "100",
          "platforms.json: platform \"xochip\".defaultTickrate is not a whole number"),
      Set("platforms.json", "/8/quirks/wrap", 1,
          "platforms.json: platform \"xochip\".quirks.wrap is not true or false"),
      Set("quirks.json", "/0/id", 5, "quirks.json: a quirk's id is not a text"),
      // Unknown platforms and quirks, in a rom's platforms or quirkyPlatforms, wherever they
      // come in the list.
      Set("programs.json", alpha + "/platforms", {"xochip", "vip"},
          alphaWhere + " names an unknown platform \"vip\""),
      Set("programs.json", alpha + "/quirkyPlatforms/vip", Json::object(),
          alphaWhere + " names an unknown platform \"vip\""),
      Set("programs.json", alpha + "/quirkyPlatforms/xochip/wrapAround", false,
          alphaWhere + ".quirkyPlatforms.xochip names an unknown quirk \"wrapAround\""),
      Set("programs.json", "/1/roms/" + kBetaVip + "/quirkyPlatforms/modernChip8/clip", true,
          betaWhere + kBetaVip + ".quirkyPlatforms.modernChip8 names an unknown quirk \"clip\""),
      Set("programs.json", "/1/roms/" + kBetaHybrid + "/quirkyPlatforms/hybridVIP/clip", true,
          betaWhere + kBetaHybrid + ".quirkyPlatforms.hybridVIP names an unknown quirk \"clip\""),
      // A line break in a name from the file is no line break in the message.
      Set("programs.json", alpha + "/quirkyPlatforms/xochip/wrap\nfalse", false,
          alphaWhere + ".quirkyPlatforms.xochip names an unknown quirk \"wrap false\""),
      Set("platforms.json", "/8/quirks/clip", true,
          "platforms.json: platform \"xochip\" names an unknown quirk \"clip\""),
      // The platforms name a quirk that quirks.json no longer has.
      Remove("quirks.json", "/3",
             "platforms.json: platform \"xochip\" names an unknown quirk \"wrap\""),
      // A file that is no SHA-1.
      Set("programs.json", "/2/roms/ABC", {{"platforms", Json::array()}},
          "programs.json: program 2 has a file \"ABC\" that is no SHA-1"),
      Set("programs.json", "/2/roms/" + std::string(40, 'F'), {{"platforms", Json::array()}},
          "programs.json: program 2 has a file \"" + std::string(40, 'F') + "\" that is no SHA-1"),
      // The index of hashes.
      Set("sha1-hashes.json", "/" + kAlpha, 6,
          "sha1-hashes.json: \"" + kAlpha + "\" is out of range"),
      Set("sha1-hashes.json", "/" + kAlpha, -1,
          "sha1-hashes.json: \"" + kAlpha + "\" is out of range"),
      Set("sha1-hashes.json", "/" + kAlpha, "0",
          "sha1-hashes.json: \"" + kAlpha + "\" is not a whole number"),
      Set("sha1-hashes.json", "/" + kAlpha, 1,
          "sha1-hashes.json: \"" + kAlpha + "\" leads to program 1, which has no such file"),
      Set("sha1-hashes.json", "/" + Sha1Of({0x12, 0x00}), 0,
          "sha1-hashes.json: \"" + Sha1Of({0x12, 0x00}) +
              "\" leads to program 0, which has no such file"),
      Text("programs.json", "[]",
           "sha1-hashes.json: \"" +
               std::min({kAlpha, kBetaVip, kBetaHybrid, kGamma, kDelta, kMega}) +
               "\" is out of range"),
      Remove("sha1-hashes.json", "/" + kGamma,
             "sha1-hashes.json: it lists 5 files, programs.json 6"),
  };
  for (const Damage& damage : cases) {
    const DatabaseRead read = ProgramDatabase::Parse(Damaged(damage));
    EXPECT_EQ(read.database, nullptr) << damage.error << " " << damage.value.value_or("").dump();
    EXPECT_THAT(read.error, StartsWith(damage.error));
    // Told in one line that a reader can take in.
    EXPECT_EQ(read.error.find('\n'), std::string::npos) << read.error;
    EXPECT_LE(read.error.size(), 330u) << damage.error;
  }
}

// A folder of the test's own, removed with what it holds.
class FolderTest : public ::testing::Test {
 protected:
  FolderTest() {
    std::string pattern = (std::filesystem::temp_directory_path() / "pellark-db-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) folder = pattern;
  }
  ~FolderTest() override { std::filesystem::remove_all(folder); }

  // Writes the file, and the folders it is in.
  void Write(const std::filesystem::path& path, const std::string& text) const {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
  }
  void WriteDatabase(const std::filesystem::path& where, const DatabaseTexts& texts) const {
    Write(where / "programs.json", texts.programs);
    Write(where / "sha1-hashes.json", texts.hashes);
    Write(where / "platforms.json", texts.platforms);
    Write(where / "quirks.json", texts.quirks);
  }

  std::filesystem::path folder;
};

TEST(ProgramDatabase, TheRealDatabaseReads) {
  const DatabaseRead read = ProgramDatabase::Read(SharedPath("chip-8-database"));
  EXPECT_EQ(read.error, "");
  ASSERT_NE(read.database, nullptr);
  EXPECT_EQ(ProgramDatabaseSummary(read), "program database: 484 programs, 543 files");
}

TEST_F(FolderTest, ReadTakesTheFourFilesAndNamesOneItCannotRead) {
  WriteDatabase(folder, MadeUpDatabase().Texts());
  EXPECT_EQ(ProgramDatabaseSummary(ProgramDatabase::Read(folder)),
            "program database: 6 programs, 6 files");
  std::filesystem::remove(folder / "platforms.json");
  const DatabaseRead read = ProgramDatabase::Read(folder);
  EXPECT_EQ(read.database, nullptr);
  EXPECT_THAT(read.error, StartsWith("platforms.json: "));
}

// Sets an environment variable, or unsets it for an empty value, for one test.
class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    if (const char* old = getenv(name)) old_ = old;
    Set(value.empty() ? std::nullopt : std::optional<std::string>(value));
  }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;
  ~ScopedVariable() { Set(old_); }

 private:
  void Set(const std::optional<std::string>& value) {
    if (value) {
      setenv(name_, value->c_str(), 1);
    } else {
      unsetenv(name_);
    }
  }
  const char* name_;
  std::optional<std::string> old_;
};

TEST_F(FolderTest, TheUsersOwnCopyComesFirstOnceItHoldsProgramsJson) {
  const std::filesystem::path xdg = folder / "xdg";
  const std::filesystem::path home = folder / "home";
  const std::filesystem::path xdgCopy = xdg / "pellark" / "chip-8-database";
  const std::filesystem::path homeCopy = home / ".local" / "share" / "pellark" / "chip-8-database";
  const std::filesystem::path installed = FindDataFile("chip-8-database");
  const struct {
    const char* what;
    std::string xdgDataHome;
    std::string home;
    std::vector<std::filesystem::path> files;  // written, empty
    std::filesystem::path folder;
  } cases[] = {
      {"no copy of the user's", xdg.string(), home.string(), {}, installed},
      {"a copy in XDG_DATA_HOME",
       xdg.string(),
       home.string(),
       {xdgCopy / "programs.json"},
       xdgCopy},
      {"a folder without programs.json",
       xdg.string(),
       home.string(),
       {xdgCopy / "platforms.json", xdgCopy / "quirks.json"},
       installed},
      {"XDG_DATA_HOME comes before HOME",
       xdg.string(),
       home.string(),
       {xdgCopy / "programs.json", homeCopy / "programs.json"},
       xdgCopy},
      {"no XDG_DATA_HOME: in HOME", "", home.string(), {homeCopy / "programs.json"}, homeCopy},
      {"a relative XDG_DATA_HOME counts as none",
       "xdg",
       home.string(),
       {homeCopy / "programs.json"},
       homeCopy},
      {"neither set", "", "", {xdgCopy / "programs.json"}, installed},
  };
  for (const auto& c : cases) {
    std::filesystem::remove_all(xdg);
    std::filesystem::remove_all(home);
    for (const std::filesystem::path& file : c.files) Write(file, "");
    const ScopedVariable xdgDataHome("XDG_DATA_HOME", c.xdgDataHome);
    const ScopedVariable homeVariable("HOME", c.home);
    EXPECT_EQ(ProgramDatabaseFolder(), c.folder) << c.what;
  }
}

}  // namespace
}  // namespace pellark
