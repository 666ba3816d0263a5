#include "files/program_database.h"

#include <charconv>
#include <string_view>
#include <unordered_map>

#include "files/program_database_text.h"
#include "platform/sha1.h"
#include "platform/text.h"

namespace pellark {
namespace {

// "SHA-1 platform cycles switches title"; lines starting with "#" are comments.
std::unordered_map<std::string, KnownProgram> ParseDatabase(std::string_view text) {
  std::unordered_map<std::string, KnownProgram> programs;
  while (!text.empty()) {
    std::string_view line = NextPart(text, '\n');
    if (line.empty() || line.front() == '#') continue;
    const std::string sha1(NextPart(line, '\t'));
    KnownProgram program;
    program.platform = NextPart(line, '\t');
    const std::string_view cycles = NextPart(line, '\t');
    std::from_chars(cycles.data(), cycles.data() + cycles.size(), program.cyclesPerFrame);
    // "-" stands for no switch at all.
    const std::string_view switches = NextPart(line, '\t');
    program.switches = SwitchesNamed(switches == "-" ? "" : switches).value_or(Switches{});
    program.title = NextPart(line, '\t');
    if (program.cyclesPerFrame > 0) programs.emplace(sha1, std::move(program));
  }
  return programs;
}

}  // namespace

std::optional<KnownProgram> FindKnownProgram(std::span<const std::uint8_t> bytes) {
  static const std::unordered_map<std::string, KnownProgram> programs =
      ParseDatabase(kProgramDatabaseText);
  const auto found = programs.find(Sha1Hex(bytes));
  if (found == programs.end()) return std::nullopt;
  return found->second;
}

}  // namespace pellark
