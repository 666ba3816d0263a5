#include "files/program_information.h"

namespace pellark {
namespace {

std::string Joined(const std::vector<std::string>& parts) {
  std::string text;
  for (const std::string& part : parts) text.append(text.empty() ? "" : ", ").append(part);
  return text;
}

}  // namespace

std::string ProgramInformationText(const std::optional<KnownProgram>& program,
                                   const std::string& sha1, const std::string& rulesLabel,
                                   bool haveDatabase) {
  std::string text;
  const auto line = [&text](const char* label, const std::string& value) {
    if (!value.empty()) text.append(label).append(": ").append(value).append("\n");
  };
  if (!program) {
    text = "Unknown program\n";
    line("SHA-1", sha1);
    line("Rules", rulesLabel);
    if (!haveDatabase) {
      text +=
          "\nPellark has no program database (or a damaged one), so it recognises no "
          "program.\n";
    } else {
      text +=
          "\nThe CHIP-8 database does not know this program. Its README tells how to add a "
          "program; a copy of the database in ~/.local/share/pellark/chip-8-database/ replaces "
          "the one installed with Pellark.\n";
    }
    return text;
  }
  line("Title", program->title);
  line("Authors", Joined(program->authors));
  line("Release", program->release);
  line("Platforms", Joined(program->platformNames));
  if (!program->profile && !program->neededPlatform.empty())
    line("Needs", program->neededPlatform + ", which Pellark does not run");
  line("Rules", rulesLabel);
  line("SHA-1", sha1);
  if (!program->description.empty()) text.append("\n").append(program->description).append("\n");
  return text;
}

std::string RecognitionText(const std::optional<KnownProgram>& program, Profile profile) {
  // Within the sentence the designed machine's name is not capitalised.
  std::string rules =
      profile == Profile::Designed ? "as designed" : std::string(ProfileName(profile));
  // A program for a platform Pellark does not run says which it needs.
  if (program && !program->profile && profile == Profile::Designed &&
      !program->neededPlatform.empty())
    rules = "needs " + program->neededPlatform + ", runs " + rules;
  return (program ? program->title : "Unknown program") + " \u2014 " + rules;
}

}  // namespace pellark
