#include "core/machine_rules.h"

#include "platform/text.h"

namespace pellark {
std::optional<Switches> SwitchesNamed(std::string_view names) {
  Switches switches;
  while (!names.empty()) {
    const std::string_view name = NextPart(names, ',');
    bool known = false;
    for (const SwitchName& entry : kSwitchNames) {
      if (entry.name != name) continue;
      switches.*entry.field = true;
      known = true;
    }
    if (!known) return std::nullopt;
  }
  return switches;
}

std::string_view ProfileName(Profile profile) {
  return EntryOf(profile).label;
}

MachineRules RulesOf(Profile profile) {
  return EntryOf(profile).rules;
}

std::optional<Profile> ProfileNamed(std::string_view commandLineName) {
  // Octo's name for XO-CHIP, which earlier versions took.
  if (commandLineName == "octo") return Profile::XoChip;
  for (const ProfileEntry& entry : kProfileTable) {
    if (entry.commandLineName == commandLineName) return entry.profile;
  }
  return std::nullopt;
}

std::optional<Profile> ProfileOfPlatform(std::string_view databasePlatform) {
  for (const ProfileEntry& entry : kProfileTable) {
    for (const std::string_view platform : entry.databasePlatforms) {
      if (!platform.empty() && platform == databasePlatform) return entry.profile;
    }
  }
  return std::nullopt;
}

}  // namespace pellark
