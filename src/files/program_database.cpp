#include "files/program_database.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <unordered_set>

#include "platform/byte_file.h"
#include "platform/data_file.h"
#include "platform/sha1.h"
#include "platform/text.h"

namespace pellark {
namespace {

using Json = nlohmann::json;

// A database file whose content is not what the database's schema allows.
struct Fault {
  std::string message;
};

[[noreturn]] void Fail(std::string message) {
  throw Fault{std::move(message)};
}

// The most cycles per frame a program may ask for, as on pellark-run's command line: far more
// than any program needs, and few enough that a frame still ends.
constexpr std::int64_t kMostTickrate = 1'000'000;

// A fault is told in one line of reasonable length: the JSON library quotes the whole token it
// read, which in a damaged file can be the rest of the file, and names from the file may hold
// line breaks.
std::string OneLine(std::string message) {
  constexpr std::size_t kLongest = 300;
  if (message.size() > kLongest) {
    std::size_t end = kLongest;
    // Not within a UTF-8 character.
    while (end > 0 && (static_cast<unsigned char>(message[end]) & 0xC0) == 0x80) --end;
    message.resize(end);
    message += "\u2026";
  }
  for (char& c : message) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  }
  return message;
}

Json ParseJson(const std::string& text) {
  try {
    return Json::parse(text);
  } catch (const Json::exception& error) {
    // The library's message starts with its own error id, of no use to a reader.
    std::string_view message = error.what();
    if (const auto end = message.find("] "); end != std::string_view::npos)
      message.remove_prefix(end + 2);
    Fail("not JSON: " + std::string(message));
  }
}

const Json& Member(const Json& object, const char* name, const std::string& where) {
  const auto found = object.find(name);
  if (found == object.end()) Fail(where + " has no \"" + name + "\"");
  return *found;
}

const Json& ObjectOf(const Json& value, const std::string& where) {
  if (!value.is_object()) Fail(where + " is not an object");
  return value;
}

const Json& ArrayOf(const Json& value, const std::string& where) {
  if (!value.is_array()) Fail(where + " is not a list");
  return value;
}

std::string StringOf(const Json& value, const std::string& where) {
  if (!value.is_string()) Fail(where + " is not a text");
  return value.get<std::string>();
}

std::int64_t IntegerOf(const Json& value, const std::string& where, std::int64_t least,
                       std::int64_t most) {
  if (!value.is_number_integer()) Fail(where + " is not a whole number");
  std::int64_t number = 0;
  // The library reads every number without a sign as unsigned, 0 among them.
  if (value.is_number_unsigned()) {
    const auto unsignedNumber = value.get<std::uint64_t>();
    if (unsignedNumber > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max()))
      Fail(where + " is out of range");
    number = static_cast<std::int64_t>(unsignedNumber);
  } else {
    number = value.get<std::int64_t>();
  }
  if (number < least || number > most) Fail(where + " is out of range");
  return number;
}

// The optional text member, or empty.
std::string OptionalString(const Json& object, const char* name, const std::string& where) {
  const auto found = object.find(name);
  return found == object.end() ? std::string() : StringOf(*found, where + "." + name);
}

std::vector<std::string> StringList(const Json& value, const std::string& where) {
  std::vector<std::string> strings;
  for (const Json& item : ArrayOf(value, where)) strings.push_back(StringOf(item, where + " item"));
  return strings;
}

// "#rrggbb".
Colour ColourOf(const Json& value, const std::string& where) {
  const std::string text = StringOf(value, where);
  if (text.size() != 7 || text[0] != '#') Fail(where + " is not a colour #rrggbb");
  std::uint32_t channels[3];
  for (int k = 0; k < 3; ++k) {
    const std::optional<std::uint32_t> channel =
        ParseHexDigits(std::string_view(text).substr(1 + 2 * k, 2));
    if (!channel) Fail(where + " is not a colour #rrggbb");
    channels[k] = *channel;
  }
  return RGB(static_cast<int>(channels[0]), static_cast<int>(channels[1]),
             static_cast<int>(channels[2]));
}

// The database's quirk names, each turning one of the switches on or off.
struct QuirkName {
  std::string_view name;
  bool Switches::*field;
  bool inverted;  // "wrap" is clip turned off
};
constexpr std::array kQuirkNames{
    QuirkName{"shift", &Switches::shift, false},
    QuirkName{"memoryIncrementByX", &Switches::increment, false},
    QuirkName{"memoryLeaveIUnchanged", &Switches::memory, false},
    QuirkName{"wrap", &Switches::clip, true},
    QuirkName{"jump", &Switches::jump, false},
    QuirkName{"vblank", &Switches::vblank, false},
    QuirkName{"logic", &Switches::logic, false},
};

// The ids of quirks.json.
std::unordered_set<std::string> ReadQuirks(const Json& quirks) {
  std::unordered_set<std::string> ids;
  for (const Json& quirk : ArrayOf(quirks, "the file")) {
    ids.insert(StringOf(Member(ObjectOf(quirk, "a quirk"), "id", "a quirk"), "a quirk's id"));
  }
  return ids;
}

// Platform names by id, from platforms.json.
std::unordered_map<std::string, std::string> ReadPlatforms(
    const Json& platforms, const std::unordered_set<std::string>& quirkIds) {
  std::unordered_map<std::string, std::string> names;
  for (const Json& platform : ArrayOf(platforms, "the file")) {
    ObjectOf(platform, "a platform");
    const std::string id = StringOf(Member(platform, "id", "a platform"), "a platform's id");
    const std::string where = "platform \"" + id + "\"";
    std::string name = StringOf(Member(platform, "name", where), where + ".name");
    if (const auto tickrate = platform.find("defaultTickrate"); tickrate != platform.end())
      IntegerOf(*tickrate, where + ".defaultTickrate", 1, kMostTickrate);
    if (const auto quirks = platform.find("quirks"); quirks != platform.end()) {
      for (const auto& [quirk, on] : ObjectOf(*quirks, where + ".quirks").items()) {
        if (!quirkIds.contains(quirk)) Fail(where + " names an unknown quirk \"" + quirk + "\"");
        if (!on.is_boolean()) Fail(where + ".quirks." + quirk + " is not true or false");
      }
    }
    names.emplace(id, std::move(name));
  }
  return names;
}

// What the database files hold beside the programs, to check and resolve a program's file by.
struct Context {
  std::unordered_map<std::string, std::string> platformNames;
  std::unordered_set<std::string> quirkIds;
};

// The switches of a quirkyPlatforms entry laid over the profile's.
Switches QuirkySwitches(Switches switches, const Json& quirks, const Context& context,
                        const std::string& where) {
  for (const auto& [quirk, on] : ObjectOf(quirks, where).items()) {
    if (!context.quirkIds.contains(quirk))
      Fail(where + " names an unknown quirk \"" + quirk + "\"");
    if (!on.is_boolean()) Fail(where + "." + quirk + " is not true or false");
    for (const QuirkName& name : kQuirkNames) {
      if (name.name == quirk) switches.*name.field = on.get<bool>() != name.inverted;
    }
  }
  return switches;
}

void ReadKeys(const Json& keys, const std::string& where, KnownProgram& program) {
  for (const auto& [name, key] : ObjectOf(keys, where).items()) {
    const std::int32_t value = static_cast<std::int32_t>(IntegerOf(key, where + "." + name, 0, 15));
    for (std::size_t k = 0; k < kProgramKeyNames.size(); ++k) {
      if (kProgramKeyNames[k] == name) program.keys[k] = value;
    }
  }
}

void ChooseProfile(const Json& rom, const std::string& where, const Context& context,
                   KnownProgram& program) {
  std::vector<std::string> platforms =
      StringList(Member(rom, "platforms", where), where + ".platforms");
  const Json* quirky = nullptr;
  if (const auto found = rom.find("quirkyPlatforms"); found != rom.end()) {
    quirky = &ObjectOf(*found, where + ".quirkyPlatforms");
    for (const auto& [platform, quirks] : quirky->items()) {
      // Every entry is checked, not only the one that applies, so that no damage goes unseen.
      QuirkySwitches({}, quirks, context, where + ".quirkyPlatforms." + platform);
      // A file may list its platforms only there.
      if (std::find(platforms.begin(), platforms.end(), platform) == platforms.end())
        platforms.push_back(platform);
    }
  }
  for (const std::string& platform : platforms) {
    const auto name = context.platformNames.find(platform);
    if (name == context.platformNames.end())
      Fail(where + " names an unknown platform \"" + platform + "\"");
    program.platformNames.push_back(name->second);
  }
  for (const std::string& platform : platforms) {
    const std::optional<Profile> profile = ProfileOfPlatform(platform);
    if (!profile) continue;
    program.profile = profile;
    program.rules = RulesOf(*profile);
    if (quirky != nullptr) {
      if (const auto quirks = quirky->find(platform); quirks != quirky->end()) {
        program.rules.switches = QuirkySwitches(program.rules.switches, *quirks, context,
                                                where + ".quirkyPlatforms." + platform);
      }
    }
    break;
  }
  if (!program.profile && !program.platformNames.empty())
    program.neededPlatform = program.platformNames.front();
  if (const auto tickrate = rom.find("tickrate"); tickrate != rom.end()) {
    const auto cycles =
        static_cast<std::int32_t>(IntegerOf(*tickrate, where + ".tickrate", 1, kMostTickrate));
    if (program.profile) program.rules.cyclesPerFrame = cycles;
  }
}

KnownProgram ReadFile(const Json& entry, const std::string& sha1, const Json& rom,
                      const std::string& where, const Context& context) {
  KnownProgram program;
  program.sha1 = sha1;
  program.title = StringOf(Member(entry, "title", where), where + ".title");
  if (const auto authors = entry.find("authors"); authors != entry.end())
    program.authors = StringList(*authors, where + ".authors");
  program.release = OptionalString(entry, "release", where);
  program.description = OptionalString(entry, "description", where);

  const std::string romWhere = where + ".roms." + sha1;
  ObjectOf(rom, romWhere);
  ChooseProfile(rom, romWhere, context, program);
  // A file's own description or release tells more than its program's.
  if (const std::string release = OptionalString(rom, "release", romWhere); !release.empty())
    program.release = release;
  if (const std::string description = OptionalString(rom, "description", romWhere);
      !description.empty())
    program.description = description;
  if (const auto colours = rom.find("colors"); colours != rom.end()) {
    const std::string colourWhere = romWhere + ".colors";
    for (const auto& [name, value] : ObjectOf(*colours, colourWhere).items()) {
      if (name == "pixels") {
        for (const Json& pixel : ArrayOf(value, colourWhere + ".pixels"))
          program.colours.push_back(ColourOf(pixel, colourWhere + ".pixels item"));
      } else if (name == "buzzer") {
        program.buzzerColour = ColourOf(value, colourWhere + ".buzzer");
      } else {
        ColourOf(value, colourWhere + "." + name);
      }
    }
  }
  if (const auto keys = rom.find("keys"); keys != rom.end())
    ReadKeys(*keys, romWhere + ".keys", program);
  return program;
}

bool IsSha1(std::string_view text) {
  return text.size() == 40 && text.find_first_not_of("0123456789abcdef") == std::string_view::npos;
}

}  // namespace

DatabaseRead ProgramDatabase::Parse(const DatabaseTexts& texts) {
  // Which file is being read, for the message when it is wrong.
  std::string_view file;
  try {
    Context context;
    file = "quirks.json";
    context.quirkIds = ReadQuirks(ParseJson(texts.quirks));
    file = "platforms.json";
    context.platformNames = ReadPlatforms(ParseJson(texts.platforms), context.quirkIds);

    file = "programs.json";
    const Json programs = ParseJson(texts.programs);
    auto database = std::make_shared<ProgramDatabase>();
    database->programCount_ = ArrayOf(programs, "the file").size();
    // The program each file was read from.
    std::unordered_map<std::string, std::size_t> programOfFile;
    for (std::size_t index = 0; index < programs.size(); ++index) {
      const std::string where = "program " + std::to_string(index);
      const Json& entry = ObjectOf(programs[index], where);
      for (const auto& [sha1, rom] :
           ObjectOf(Member(entry, "roms", where), where + ".roms").items()) {
        if (!IsSha1(sha1)) Fail(where + " has a file \"" + sha1 + "\" that is no SHA-1");
        database->files_.insert_or_assign(sha1, ReadFile(entry, sha1, rom, where, context));
        programOfFile.insert_or_assign(sha1, index);
      }
    }

    // The index of hashes must lead to the files the programs hold.
    file = "sha1-hashes.json";
    const Json hashes = ParseJson(texts.hashes);
    for (const auto& [sha1, index] : ObjectOf(hashes, "the file").items()) {
      const std::string where = "\"" + sha1 + "\"";
      const auto number = static_cast<std::size_t>(
          IntegerOf(index, where, 0, static_cast<std::int64_t>(programs.size()) - 1));
      const Json& roms = programs[number].at("roms");
      if (!roms.contains(sha1))
        Fail(where + " leads to program " + std::to_string(number) + ", which has no such file");
      // A file two programs list is the one of the program the index leads to.
      if (programOfFile[sha1] != number) {
        database->files_.insert_or_assign(
            sha1, ReadFile(programs[number], sha1, roms[sha1], "program " + std::to_string(number),
                           context));
      }
    }
    if (hashes.size() != database->files_.size())
      Fail("it lists " + std::to_string(hashes.size()) + " files, programs.json " +
           std::to_string(database->files_.size()));
    return {std::move(database), {}};
  } catch (const Fault& fault) {
    return {nullptr, std::string(file) + ": " + OneLine(fault.message)};
  }
}

DatabaseRead ProgramDatabase::Read(const std::filesystem::path& folder) {
  // Far above the size of any database; a larger file is not one.
  constexpr std::size_t kLargestFile = 64 << 20;
  DatabaseTexts texts;
  const std::pair<const char*, std::string*> files[] = {{"programs.json", &texts.programs},
                                                        {"sha1-hashes.json", &texts.hashes},
                                                        {"platforms.json", &texts.platforms},
                                                        {"quirks.json", &texts.quirks}};
  for (const auto& [name, text] : files) {
    std::vector<int> bytes;
    std::string reason;
    if (!ReadFileBytes((folder / name).string(), kLargestFile, bytes, reason))
      return {nullptr, std::string(name) + ": " + reason};
    text->assign(bytes.begin(), bytes.end());
  }
  return Parse(texts);
}

const KnownProgram* ProgramDatabase::Find(std::span<const std::uint8_t> bytes) const {
  return FindSha1(Sha1Hex(bytes));
}

const KnownProgram* ProgramDatabase::FindSha1(const std::string& sha1) const {
  const auto found = files_.find(sha1);
  return found == files_.end() ? nullptr : &found->second;
}

std::filesystem::path ProgramDatabaseFolder() {
  // A user's copy counts once it holds the database's main file.
  const std::filesystem::path user = UserDataFolder();
  std::error_code error;
  if (!user.empty() && std::filesystem::exists(user / "chip-8-database" / "programs.json", error))
    return user / "chip-8-database";
  return FindDataFile("chip-8-database");
}

const DatabaseRead& InstalledProgramDatabase() {
  static const DatabaseRead read = [] {
    const std::filesystem::path folder = ProgramDatabaseFolder();
    std::error_code error;
    // No database at all is no fault: every program then runs as designed.
    if (!std::filesystem::exists(folder, error)) return DatabaseRead{};
    DatabaseRead read = ProgramDatabase::Read(folder);
    if (!read.error.empty()) read.error = (folder / read.error).string();
    return read;
  }();
  return read;
}

std::optional<KnownProgram> FindKnownProgram(std::span<const std::uint8_t> bytes) {
  const DatabaseRead& read = InstalledProgramDatabase();
  if (!read.database) return std::nullopt;
  const KnownProgram* program = read.database->Find(bytes);
  if (program == nullptr) return std::nullopt;
  return *program;
}

std::string ProgramDatabaseSummary(const DatabaseRead& read) {
  if (!read.database) return "program database: none";
  return "program database: " + std::to_string(read.database->ProgramCount()) + " programs, " +
         std::to_string(read.database->FileCount()) + " files";
}

}  // namespace pellark
