#pragma once

#include <optional>

#include "core/machine_rules.h"
#include "files/program_database.h"

namespace pellark {

// The rules a program runs by, and the profile they come from.
struct RulesChoice {
  Profile profile;
  MachineRules rules;
};

// The rules for the program in memory: the chosen profile's; with none chosen, a program the
// database knows runs by its platform's profile with its own quirks and tick rate, and any
// other, or one whose platforms Pellark does not run, as designed.
RulesChoice ChooseRules(std::optional<Profile> chosen,
                        const std::optional<KnownProgram>& knownProgram);

}  // namespace pellark
