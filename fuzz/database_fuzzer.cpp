// libFuzzer target: every input is a program database, its four files in the order
// programs.json, sha1-hashes.json, platforms.json, quirks.json, separated by NUL bytes (which no
// JSON text holds). Reading it must never crash, and must give a database or an error, never
// both and never half a database.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "files/program_database.h"

namespace pellark {
namespace {

// A broken rule is a crash, which is what the fuzzer reports.
void Check(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}

DatabaseTexts Split(std::string_view input) {
  DatabaseTexts texts;
  std::string* const parts[] = {&texts.programs, &texts.hashes, &texts.platforms, &texts.quirks};
  for (std::string* part : parts) {
    const std::size_t end = input.find('\0');
    part->assign(input.substr(0, end));
    input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
  }
  return texts;
}

bool NamesADatabaseFile(const std::string& error) {
  for (const char* file :
       {"programs.json: ", "sha1-hashes.json: ", "platforms.json: ", "quirks.json: "}) {
    if (error.starts_with(file)) return true;
  }
  return false;
}

void CheckProgram(const KnownProgram& program) {
  // The rules are a profile's, or the designed machine's when there is none.
  if (program.profile) {
    Check(program.neededPlatform.empty(), "a program with a profile needs no other platform");
    Check(program.rules.frameTiming && program.rules.cyclesPerFrame >= 1 &&
              program.rules.cyclesPerFrame <= 1'000'000,
          "a profile's frame rate is one the command line allows too");
  } else {
    Check(program.rules == MachineRules{}, "a program without a profile runs as designed");
  }
  for (const auto& key : program.keys) {
    Check(!key || (*key >= 0 && *key <= 15), "a program's keys are keypad keys");
  }
}

}  // namespace
}  // namespace pellark

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const pellark::DatabaseTexts texts = pellark::Split(input);
  const pellark::DatabaseRead read = pellark::ProgramDatabase::Parse(texts);
  if (!read.database) {
    pellark::Check(pellark::NamesADatabaseFile(read.error), "an error names the file at fault");
    pellark::Check(read.error.find('\n') == std::string::npos && read.error.size() < 330,
                   "an error is one short line");
    return 0;
  }
  pellark::Check(read.error.empty(), "a database read has no error");
  // Every file the index lists is found by its SHA-1, with rules Pellark can run.
  const auto hashes = nlohmann::json::parse(texts.hashes);
  pellark::Check(hashes.size() == read.database->FileCount(), "the index lists every file");
  for (const auto& [sha1, index] : hashes.items()) {
    const pellark::KnownProgram* program = read.database->FindSha1(sha1);
    pellark::Check(program != nullptr && program->sha1 == sha1, "a listed file is found");
    pellark::CheckProgram(*program);
  }
  return 0;
}
