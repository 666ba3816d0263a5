// The profile table and the one choice of rules that both programs make for a program.
#include <gtest/gtest.h>

#include <algorithm>

#include "files/rules_choice.h"
#include "frontend/menu_tree.h"

namespace pellark {
namespace {

KnownProgram Known(std::optional<Profile> profile, const MachineRules& rules) {
  KnownProgram program;
  program.title = "Known";
  program.profile = profile;
  program.rules = rules;
  return program;
}

struct ChoiceCase {
  const char* what;
  std::optional<Profile> chosen;
  std::optional<KnownProgram> known;
  Profile profile;
  MachineRules rules;
};

TEST(RulesChoiceTest, AChosenProfileWinsAndOtherwiseTheDatabaseDecides) {
  MachineRules own = RulesOf(Profile::XoChip);
  own.switches = {.jump = true};
  own.cyclesPerFrame = 200;
  const KnownProgram known = Known(Profile::XoChip, own);
  // A program for a platform Pellark does not run.
  const KnownProgram foreign = Known(std::nullopt, MachineRules{});
  const ChoiceCase cases[] = {
      {"nothing known", std::nullopt, std::nullopt, Profile::Designed, MachineRules{}},
      {"known program", std::nullopt, known, Profile::XoChip, own},
      {"chosen over known", Profile::Chip8, known, Profile::Chip8, RulesOf(Profile::Chip8)},
      {"chosen, unknown", Profile::SuperChip, std::nullopt, Profile::SuperChip,
       RulesOf(Profile::SuperChip)},
      {"known, platform not run", std::nullopt, foreign, Profile::Designed, MachineRules{}},
  };
  for (const ChoiceCase& c : cases) {
    const RulesChoice choice = ChooseRules(c.chosen, c.known);
    EXPECT_EQ(choice.profile, c.profile) << c.what;
    EXPECT_EQ(choice.rules, c.rules) << c.what;
  }
}

TEST(RulesChoiceTest, EveryProfileHasAMenuItemLabelledAsInTheTableAndANameThatReadsBack) {
  for (const ProfileEntry& entry : kProfileTable) {
    EXPECT_EQ(ProfileNamed(entry.commandLineName), entry.profile) << entry.label;
    const auto item = std::ranges::find(kProfileItems, entry.profile, &ProfileItem::profile);
    ASSERT_NE(item, kProfileItems.end()) << entry.label;
    const auto menuEntry = std::ranges::find(kMenuTree, item->id, &MenuEntry::id);
    ASSERT_NE(menuEntry, kMenuTree.end()) << entry.label;
    EXPECT_EQ(menuEntry->label, entry.label);
  }
  for (const std::string_view other : {"auto", "", "Octo", "super-chip"})
    EXPECT_FALSE(ProfileNamed(other)) << other;
  EXPECT_EQ(ProfileNamed("octo"), Profile::XoChip);
}

TEST(RulesChoiceTest, EveryPlatformOfTheDatabaseThatPellarkRunsHasItsProfile) {
  const struct {
    std::string_view platform;
    std::optional<Profile> profile;
  } cases[] = {
      {"originalChip8", Profile::Chip8}, {"modernChip8", Profile::ModernChip8},
      {"chip48", Profile::SuperChip10},  {"superchip1", Profile::SuperChip10},
      {"superchip", Profile::SuperChip}, {"xochip", Profile::XoChip},
      {"hybridVIP", std::nullopt},       {"chip8x", std::nullopt},
      {"megachip8", std::nullopt},       {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ProfileOfPlatform(c.platform), c.profile) << c.platform;
}

}  // namespace
}  // namespace pellark
