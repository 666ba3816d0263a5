#include "files/state_file.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace pellark {
namespace {

const std::string kSha1 = "0123456789abcdef0123456789abcdef01234567";
const Snapshot kSnapshot = {1, 2, 3, 0, 255, 10, 13, 42};

std::vector<std::uint8_t> Bytes(const std::string& text) {
  return {text.begin(), text.end()};
}

std::string Text(const std::vector<std::uint8_t>& bytes) {
  return {bytes.begin(), bytes.end()};
}

TEST(StateFile, ReadsBackTheProgramAndSnapshotItWasWrittenWith) {
  for (const std::string& sha1 : {kSha1, std::string()}) {
    const StateFileRead read = ParseStateFile(StateFileBytes(sha1, kSnapshot));
    EXPECT_EQ(read.fault, StateFault::None);
    EXPECT_EQ(read.programSha1, sha1);
    EXPECT_EQ(read.snapshot, kSnapshot);
  }
}

TEST(StateFile, TheHeaderNamesTheFormatTheProgramAndTheSnapshot) {
  const std::string text = Text(StateFileBytes(kSha1, kSnapshot));
  EXPECT_EQ(text.substr(0, text.find("snapshot ")), "Pellark state 1\nprogram " + kSha1 + "\n");
  EXPECT_EQ(Text(StateFileBytes("", {})).substr(16, 13), "program none\n");
}

struct Damage {
  const char* name;
  std::function<std::string(std::string)> change;
  StateFault fault;
};

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  return text.replace(text.find(from), from.size(), to);
}

const Damage kDamages[] = {
    {"empty", [](std::string) { return std::string(); }, StateFault::NotAState},
    {"a program", [](std::string) { return std::string("\x12\x34\x00\xE0", 4); },
     StateFault::NotAState},
    {"newer_format", [](std::string t) { return Replaced(t, "state 1", "state 2"); },
     StateFault::NewerFormat},
    {"much_newer_format", [](std::string t) { return Replaced(t, "state 1", "state 117"); },
     StateFault::NewerFormat},
    {"version_zero", [](std::string t) { return Replaced(t, "state 1", "state 0"); },
     StateFault::Damaged},
    {"version_not_a_number", [](std::string t) { return Replaced(t, "state 1", "state 1x"); },
     StateFault::Damaged},
    {"no_newline", [](std::string t) { return t.substr(0, 15); }, StateFault::NotAState},
    {"short_program_sha1", [](std::string t) { return Replaced(t, "01234567\n", "0123456\n"); },
     StateFault::Damaged},
    {"upper_case_sha1", [](std::string t) { return Replaced(t, "abcdef", "ABCDEF"); },
     StateFault::Damaged},
    {"no_snapshot_line", [](std::string t) { return t.substr(0, t.find("snapshot")); },
     StateFault::Damaged},
    {"snapshot_byte_changed",
     [](std::string t) {
       t.back() ^= 1;
       return t;
     },
     StateFault::Damaged},
    {"snapshot_cut_short",
     [](std::string t) {
       t.pop_back();
       return t;
     },
     StateFault::Damaged},
    {"byte_added", [](std::string t) { return t + '\0'; }, StateFault::Damaged},
};

class StateFileDamageTest : public ::testing::TestWithParam<Damage> {};

TEST_P(StateFileDamageTest, IsRefusedAndSaysWhy) {
  const std::string text = GetParam().change(Text(StateFileBytes(kSha1, kSnapshot)));
  const StateFileRead read = ParseStateFile(Bytes(text));
  EXPECT_EQ(read.fault, GetParam().fault);
  EXPECT_TRUE(read.snapshot.empty());
}

INSTANTIATE_TEST_SUITE_P(Damages, StateFileDamageTest, ::testing::ValuesIn(kDamages),
                         [](const auto& info) {
                           std::string name = info.param.name;
                           for (char& c : name) {
                             if (c == ' ') c = '_';
                           }
                           return name;
                         });

}  // namespace
}  // namespace pellark
