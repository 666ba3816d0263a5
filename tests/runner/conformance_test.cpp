// The CHIP-8 test suite of the shared folder, each program in every profile the program
// database lists it for, its menu answered at 1FF as the suite's README says: the final screen
// against a picture the project keeps in conformance/. Pictures in passes/ show every check of
// the case passing, checked by eye. A case whose check fails, for a reason no profile rule may
// mend, names that check, and its picture in fails/ is what the failure shows: a change there
// may mean the check passes now, to be seen by eye.
//
// With PELLARK_CONFORMANCE_TABLE naming a file, a run of every case writes the results there
// as the README's table (scripts/conformance-table.sh).
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "core/machine_rules.h"
#include "pellark_process.h"
#include "shared_folder.h"

namespace pellark {
namespace {

// A check that fails in a profile, and why no rule of the profile mends it.
struct Failure {
  // Empty when every check passes.
  std::string check;
  std::string why;
};

const Failure kPasses{};
const Failure kVipQuirksInModernChip8{
    "vF reset, display wait",
    "Modern CHIP-8 leaves out both, as the program database describes it; the test has no "
    "choice of its own for it, and its CHIP-8 is the COSMAC VIP's."};
const Failure kLegacyDisplayWait{
    "display wait",
    "Legacy SUPER-CHIP, the HP48's, waits for the display in low resolution; this profile is "
    "the modern SUPER-CHIP 1.1 the program database describes, which does not."};
const Failure kLegacyScrolling{
    "scroll down, right, left",
    "Legacy SUPER-CHIP, the HP48's, scrolls by half pixels in low resolution; this profile "
    "scrolls by whole pixels, as the modern SUPER-CHIP 1.1 does."};

struct ConformanceCase {
  // The table's row: the suite's test, and the choice made in its menu.
  std::string row;
  // In the suite's bin/.
  std::string program;
  Profile profile;
  // How long it runs, the choice poked at 1FF, the keys held.
  std::vector<std::string> options;
  // The picture's name, in passes/, or in fails/ for a case with a failure.
  std::string screen;
  Failure failure = kPasses;
};

// The platforms the program database lists for the suite's programs (the scrolling test only
// for the last two).
constexpr Profile kSuiteProfiles[] = {Profile::Chip8, Profile::ModernChip8, Profile::SuperChip,
                                      Profile::XoChip};

std::vector<std::string> WithChoice(int choice, std::vector<std::string> options) {
  options.insert(options.end(), {"--poke", "1FF=" + std::to_string(choice)});
  return options;
}

// The instruction counts are the suite README's where it gives one, otherwise enough to reach
// the final screen; the programs with a menu end the run in their closing key wait.
const std::vector<ConformanceCase>& Cases() {
  static const std::vector<ConformanceCase> cases = [] {
    // Keys 1 and 6 held all along. The key wait starts key 5's press, which lasts at least three
    // frames in every profile: the check for halting wants the delay timer run down by then.
    const std::vector<std::string> keys1And6 = {"-n",       "2000",    "--press",
                                                "1@1+2000", "--press", "6@1+2000"};
    const std::vector<std::string> key5 = {"-n", "1000", "--press", "5@200+600"};
    const std::vector<std::string> quirks = {"-n", "40000"};
    const std::vector<std::string> scrolling = {"-n", "1000"};
    std::vector<ConformanceCase> all;
    for (const Profile profile : kSuiteProfiles) {
      all.push_back(
          {"CHIP-8 splash screen", "1-chip8-logo.ch8", profile, {"-n", "39"}, "splash-screen"});
      all.push_back({"IBM logo", "2-ibm-logo.ch8", profile, {"-n", "20"}, "ibm-logo"});
      all.push_back({"Corax+ opcode test", "3-corax+.ch8", profile, {"-n", "400"}, "corax"});
      all.push_back({"Flags test", "4-flags.ch8", profile, {"-n", "1200"}, "flags"});
      all.push_back({"Keypad test: Ex9E DOWN, keys 1 and 6 held", "6-keypad.ch8", profile,
                     WithChoice(1, keys1And6), "keypad-down-1-and-6"});
      all.push_back({"Keypad test: ExA1 UP, keys 1 and 6 held", "6-keypad.ch8", profile,
                     WithChoice(2, keys1And6), "keypad-up-1-and-6"});
      all.push_back({"Keypad test: Fx0A GETKEY", "6-keypad.ch8", profile, WithChoice(3, key5),
                     "keypad-getkey"});
      // Stopped as the first beep begins, the icon lit; the desktop's sound test hears it.
      all.push_back({"Beep test", "7-beep.ch8", profile, {"-n", "1000", "--break", "21C"}, "beep"});
    }
    const std::vector<ConformanceCase> choices = {
        {"Quirks test: CHIP-8", "5-quirks.ch8", Profile::Chip8, WithChoice(1, quirks),
         "quirks-chip8"},
        {"Quirks test: CHIP-8", "5-quirks.ch8", Profile::ModernChip8, WithChoice(1, quirks),
         "quirks-chip8-in-modern-chip8", kVipQuirksInModernChip8},
        {"Quirks test: SUPER-CHIP, modern", "5-quirks.ch8", Profile::SuperChip,
         WithChoice(2, quirks), "quirks-superchip-modern"},
        {"Quirks test: SUPER-CHIP, legacy", "5-quirks.ch8", Profile::SuperChip,
         WithChoice(4, quirks), "quirks-superchip-legacy", kLegacyDisplayWait},
        {"Quirks test: XO-CHIP", "5-quirks.ch8", Profile::XoChip, WithChoice(3, quirks),
         "quirks-xochip"},
        {"Scrolling test: SUPER-CHIP lores, modern", "8-scrolling.ch8", Profile::SuperChip,
         WithChoice(1, scrolling), "scrolling-superchip-lores-modern"},
        {"Scrolling test: SUPER-CHIP lores, legacy", "8-scrolling.ch8", Profile::SuperChip,
         WithChoice(2, scrolling), "scrolling-superchip-lores-legacy", kLegacyScrolling},
        {"Scrolling test: SUPER-CHIP hires", "8-scrolling.ch8", Profile::SuperChip,
         WithChoice(3, scrolling), "scrolling-superchip-hires"},
        {"Scrolling test: XO-CHIP lores", "8-scrolling.ch8", Profile::XoChip,
         WithChoice(4, scrolling), "scrolling-xochip-lores"},
        {"Scrolling test: XO-CHIP hires", "8-scrolling.ch8", Profile::XoChip,
         WithChoice(5, scrolling), "scrolling-xochip-hires"},
    };
    all.insert(all.end(), choices.begin(), choices.end());
    return all;
  }();
  return cases;
}

std::string PicturePath(const ConformanceCase& each) {
  return std::string(PELLARK_CONFORMANCE_SCREENS) +
         (each.failure.check.empty() ? "/passes/" : "/fails/") + each.screen + ".txt";
}

std::string ReadPicture(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) ADD_FAILURE() << "No picture at " << path;
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// Whether each case, by its index, showed its picture.
std::map<std::size_t, bool>& Outcomes() {
  static std::map<std::size_t, bool> outcomes;
  return outcomes;
}

class Conformance : public ::testing::TestWithParam<std::size_t> {};

TEST_P(Conformance, ShowsTheKeptPicture) {
  const ConformanceCase& each = Cases()[GetParam()];
  std::vector<std::string> arguments = {"--profile",
                                        std::string(EntryOf(each.profile).commandLineName)};
  arguments.insert(arguments.end(), each.options.begin(), each.options.end());
  arguments.insert(arguments.end(),
                   {"--screen", SharedPath("timendus/bin/" + each.program).string()});
  const RunResult result = RunPellark(arguments);
  ASSERT_EQ(result.status, 0) << result.err;

  const std::string picture = ReadPicture(PicturePath(each));
  if (each.failure.check.empty()) {
    EXPECT_EQ(result.out, picture)
        << "The screen is no longer the passing one, " << PicturePath(each);
  } else {
    EXPECT_EQ(result.out, picture)
        << "The screen is not the one its known failure shows (" << each.failure.check
        << "). Look at it (--png): if that check passes now, keep the screen in passes/ and "
           "clear the failure; otherwise keep it in "
        << PicturePath(each);
  }
  Outcomes()[GetParam()] = result.out == picture;
}

INSTANTIATE_TEST_SUITE_P(Suite, Conformance, ::testing::Range<std::size_t>(0, Cases().size()),
                         [](const ::testing::TestParamInfo<std::size_t>& info) {
                           const ConformanceCase& each = Cases()[info.param];
                           std::string name;
                           for (const char c : each.row) {
                             if (std::isalnum(static_cast<unsigned char>(c))) name += c;
                           }
                           return name + "_" + std::string(EntryOf(each.profile).commandLineName);
                         });

// One row per test and choice, in the suite's order, and one column per profile; a failure's
// cell names its check and a note, under the table, says why.
std::string MarkdownTable() {
  std::vector<Profile> columns;
  for (const ProfileEntry& entry : kProfileTable) {
    if (std::any_of(Cases().begin(), Cases().end(), [&entry](const ConformanceCase& each) {
          return each.profile == entry.profile;
        }))
      columns.push_back(entry.profile);
  }
  std::vector<const ConformanceCase*> byProgram;
  for (const ConformanceCase& each : Cases()) byProgram.push_back(&each);
  std::stable_sort(byProgram.begin(), byProgram.end(),
                   [](const auto* a, const auto* b) { return a->program < b->program; });
  std::vector<std::string> rows;
  std::vector<std::string> notes;
  std::map<std::pair<std::string, Profile>, std::string> cells;
  for (const ConformanceCase* each : byProgram) {
    if (std::find(rows.begin(), rows.end(), each->row) == rows.end()) rows.push_back(each->row);
    std::string cell = "passes";
    if (!each->failure.check.empty()) {
      auto note = std::find(notes.begin(), notes.end(), each->failure.why);
      if (note == notes.end()) note = notes.insert(note, each->failure.why);
      cell =
          "fails: " + each->failure.check + " (" + std::to_string(note - notes.begin() + 1) + ")";
    }
    cells[{each->row, each->profile}] = cell;
  }

  std::string table = "| Test |";
  std::string rule = "|---|";
  for (const Profile profile : columns) {
    table.append(" ").append(EntryOf(profile).label).append(" |");
    rule += "---|";
  }
  table.append("\n").append(rule).append("\n");
  for (const std::string& row : rows) {
    table.append("| ").append(row).append(" |");
    for (const Profile profile : columns) {
      const auto cell = cells.find({row, profile});
      table.append(" ").append(cell == cells.end() ? "—" : cell->second).append(" |");
    }
    table += "\n";
  }
  if (!notes.empty()) table += "\n";
  for (std::size_t note = 0; note < notes.size(); ++note) {
    table.append("- (").append(std::to_string(note + 1)).append(") ").append(notes[note]);
    table += "\n";
  }
  return table;
}

// Writes the table only after a run of every case in which each showed its picture.
class TableWriter : public ::testing::Environment {
 public:
  void TearDown() override {
    const char* path = std::getenv("PELLARK_CONFORMANCE_TABLE");
    if (path == nullptr) return;
    const bool complete = Outcomes().size() == Cases().size() &&
                          std::all_of(Outcomes().begin(), Outcomes().end(),
                                      [](const auto& outcome) { return outcome.second; });
    if (!complete) {
      ADD_FAILURE() << "Not every conformance case ran and showed its picture: no table written";
      return;
    }
    std::ofstream file(path, std::ios::binary);
    file << MarkdownTable();
    if (!file.flush()) ADD_FAILURE() << "Cannot write the table to " << path;
  }
};

const ::testing::Environment* const kTableWriter =
    ::testing::AddGlobalTestEnvironment(new TableWriter);

}  // namespace
}  // namespace pellark
