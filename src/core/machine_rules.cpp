#include "core/machine_rules.h"

#include "platform/text.h"

namespace pellark {
namespace {

// What every platform profile shares.
MachineRules PlatformRules(const Switches& switches, std::int32_t cyclesPerFrame,
                           std::int32_t flagRegisterCount) {
  MachineRules rules;
  rules.flagWrittenLast = true;
  rules.randomByteMasked = true;
  rules.platformSprites = true;
  rules.completeFonts = true;
  rules.platformGroupZero = true;
  rules.flagRegisterCount = flagRegisterCount;
  rules.frameTiming = true;
  rules.cyclesPerFrame = cyclesPerFrame;
  rules.switches = switches;
  return rules;
}

}  // namespace

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
  switch (profile) {
    case Profile::Designed: return "As designed";
    case Profile::Chip8: return "CHIP-8";
    case Profile::SuperChip: return "SUPER-CHIP";
    case Profile::Octo: return "Octo";
  }
  return {};
}

MachineRules RulesOf(Profile profile) {
  switch (profile) {
    case Profile::Designed: return {};
    // About 600 instructions a second, as the original interpreter ran.
    case Profile::Chip8:
      return PlatformRules({.clip = true, .vblank = true, .logic = true}, 10, 16);
    // The calculator ran programs faster, and saved only V0 to V7 as flags.
    case Profile::SuperChip:
      return PlatformRules({.shift = true, .memory = true, .jump = true, .clip = true}, 30, 8);
    case Profile::Octo: return PlatformRules({}, 20, 16);
  }
  return {};
}

MachineRules RulesOfKnownProgram(const Switches& switches, std::int32_t cyclesPerFrame) {
  MachineRules rules = RulesOf(Profile::Octo);
  rules.switches = switches;
  rules.cyclesPerFrame = cyclesPerFrame;
  return rules;
}

}  // namespace pellark
