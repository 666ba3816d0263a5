#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/machine_rules.h"
#include "platform/colour.h"

namespace pellark {

// The keys a program names for a direction or an action, in the order of kProgramKeyNames.
enum class ProgramKey { Up, Down, Left, Right, A, B };
inline constexpr std::array<std::string_view, 6> kProgramKeyNames{"up",    "down", "left",
                                                                  "right", "a",    "b"};

// What the CHIP-8 database says of one program file, and how Pellark runs it.
struct KnownProgram {
  std::string sha1;
  std::string title;
  std::vector<std::string> authors;
  std::string release;
  std::string description;
  // The names of the platforms it runs on, best first.
  std::vector<std::string> platformNames;
  // The profile of its first listed platform that Pellark runs; none when it lists only others.
  std::optional<Profile> profile;
  // With no profile: the name of the platform it needs.
  std::string neededPlatform;
  // The profile's rules with the program's own quirks and tick rate.
  MachineRules rules;
  // Background, lit pixels, then XO-CHIP's plane colours; empty when it names none.
  std::vector<Colour> colours;
  // The background it asks for while its buzzer sounds; none when it names none.
  std::optional<Colour> buzzerColour;
  // The keypad key for each of kProgramKeyNames; none where the program names none.
  std::array<std::optional<std::int32_t>, 6> keys;
};

// The four files of the database, as text.
struct DatabaseTexts {
  std::string programs;   // programs.json
  std::string hashes;     // sha1-hashes.json
  std::string platforms;  // platforms.json
  std::string quirks;     // quirks.json
};

class ProgramDatabase;

// A database read whole, or why not: the file at fault and what is wrong with it.
struct DatabaseRead {
  std::shared_ptr<const ProgramDatabase> database;
  std::string error;
};

// The CHIP-8 database: every program file it knows, by the SHA-1 of its bytes.
class ProgramDatabase {
 public:
  // Reads the database from its four texts; any fault makes it no database at all, so that
  // nothing of a damaged one applies.
  static DatabaseRead Parse(const DatabaseTexts& texts);
  // Reads the four files of the folder.
  static DatabaseRead Read(const std::filesystem::path& folder);

  const KnownProgram* Find(std::span<const std::uint8_t> bytes) const;
  const KnownProgram* FindSha1(const std::string& sha1) const;
  std::size_t ProgramCount() const { return programCount_; }
  std::size_t FileCount() const { return files_.size(); }

 private:
  std::size_t programCount_ = 0;
  std::unordered_map<std::string, KnownProgram> files_;
};

// Where the database is read from: the user's own copy, else the one installed with Pellark.
std::filesystem::path ProgramDatabaseFolder();

// The database of ProgramDatabaseFolder, read on first use; error says once why there is
// none when it is damaged (empty when it is missing or fine).
const DatabaseRead& InstalledProgramDatabase();

// The program whose bytes these are, when the installed database knows it.
std::optional<KnownProgram> FindKnownProgram(std::span<const std::uint8_t> bytes);

// "program database: 484 programs, 543 files", or "program database: none".
std::string ProgramDatabaseSummary(const DatabaseRead& read);

}  // namespace pellark
