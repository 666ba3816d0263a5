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
  for (const ProfileEntry& entry : kProfileTable) {
    if (entry.commandLineName == commandLineName) return entry.profile;
  }
  return std::nullopt;
}

MachineRules RulesOfKnownProgram(const Switches& switches, std::int32_t cyclesPerFrame) {
  MachineRules rules = RulesOf(kKnownProgramProfile);
  rules.switches = switches;
  rules.cyclesPerFrame = cyclesPerFrame;
  return rules;
}

}  // namespace pellark
