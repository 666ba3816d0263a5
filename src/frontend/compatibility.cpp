#include "frontend/compatibility.h"

#include "files/rules_choice.h"
#include "platform/text.h"
#include "platform/window_system.h"

namespace pellark {

void Compatibility::ChooseProfile(MenuId item, const std::optional<KnownProgram>& programInMemory) {
  // "Automatic" is no profile: the program in memory decides.
  const ProfileItem* entry = ItemWithId(kProfileItems, item);
  ChosenProfile = entry != nullptr ? std::optional(entry->profile) : std::nullopt;
  machine_.UseRules(ChooseRules(ChosenProfile, programInMemory).rules);
  ShowRules();
}

void Compatibility::ToggleSwitch(MenuId item) {
  const SwitchItem* entry = ItemWithId(kSwitchItems, item);
  if (entry == nullptr) return;
  bool& on = machine_.Rules.switches.*entry->field;
  on = !on;
  ShowRules();
}

void Compatibility::ChooseCyclesPerFrame(MenuId item) {
  const CyclesItem* entry = ItemWithId(kCyclesItems, item);
  if (entry == nullptr) return;
  machine_.Rules.cyclesPerFrame = entry->cyclesPerFrame;
  // A frame rate asked for means frames, whatever the rules were.
  machine_.Rules.frameTiming = true;
  ShowRules();
}

void Compatibility::FollowProgram(const std::optional<KnownProgram>& programInMemory) {
  // A chosen profile stays, with the switches and frame rate the user set, whatever is loaded.
  if (ChosenProfile) return;
  machine_.UseRules(ChooseRules(ChosenProfile, programInMemory).rules);
  ShowRules();
}

Profile Compatibility::ProfileInUse(const std::optional<KnownProgram>& programInMemory) const {
  return ChooseRules(ChosenProfile, programInMemory).profile;
}

void Compatibility::ShowRules() {
  window_.SetItemCheck(static_cast<int>(MenuId::ProfileAutomatic), !ChosenProfile);
  for (const ProfileItem& item : kProfileItems)
    window_.SetItemCheck(static_cast<int>(item.id), ChosenProfile == item.profile);
  const MachineRules& rules = machine_.Rules;
  for (const SwitchItem& item : kSwitchItems)
    window_.SetItemCheck(static_cast<int>(item.id), rules.switches.*item.field);
  for (const CyclesItem& item : kCyclesItems) {
    window_.SetItemCheck(static_cast<int>(item.id),
                         rules.frameTiming && rules.cyclesPerFrame == item.cyclesPerFrame);
  }
}

std::string Compatibility::PaceText(const std::optional<KnownProgram>& programInMemory) const {
  std::string profile =
      ChosenProfile ? std::string(ProfileName(*ChosenProfile)) : std::string(kAutomaticLabel);
  if (!ChosenProfile && programInMemory) {
    profile.append(": ").append(ProfileName(ProfileInUse(programInMemory)));
    profile.append(" (\"").append(programInMemory->title).append("\")");
  }
  return "Profile: " + profile + ", " + DecimalText(machine_.Rules.cyclesPerFrame) +
         " cycles per frame";
}

}  // namespace pellark
