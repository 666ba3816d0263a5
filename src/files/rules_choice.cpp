#include "files/rules_choice.h"

namespace pellark {

RulesChoice ChooseRules(std::optional<Profile> chosen,
                        const std::optional<KnownProgram>& knownProgram) {
  if (chosen) return {*chosen, RulesOf(*chosen)};
  if (knownProgram && knownProgram->profile) return {*knownProgram->profile, knownProgram->rules};
  return {Profile::Designed, RulesOf(Profile::Designed)};
}

}  // namespace pellark
