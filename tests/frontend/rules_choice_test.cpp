// The profile table and the one choice of rules that both programs make for a program.
#include <gtest/gtest.h>

#include <algorithm>

#include "files/rules_choice.h"
#include "frontend/menu_tree.h"

namespace pellark {
namespace {

const KnownProgram kKnight{"Knight", "chip8", 200, {.jump = true}};

struct ChoiceCase {
  const char* what;
  std::optional<Profile> chosen;
  std::optional<KnownProgram> known;
  Profile profile;
  MachineRules rules;
};

TEST(RulesChoiceTest, AChosenProfileWinsAndOtherwiseTheDatabaseDecides) {
  MachineRules knight = RulesOf(Profile::Octo);
  knight.switches = {.jump = true};
  knight.cyclesPerFrame = 200;
  const ChoiceCase cases[] = {
      {"nothing known", std::nullopt, std::nullopt, Profile::Designed, MachineRules{}},
      {"known program", std::nullopt, kKnight, Profile::Octo, knight},
      {"chosen over known", Profile::Chip8, kKnight, Profile::Chip8, RulesOf(Profile::Chip8)},
      {"chosen, unknown", Profile::SuperChip, std::nullopt, Profile::SuperChip,
       RulesOf(Profile::SuperChip)},
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
}

}  // namespace
}  // namespace pellark
