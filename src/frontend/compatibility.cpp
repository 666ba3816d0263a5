#include "files/rules_choice.h"
#include "frontend/front_end.h"
#include "platform/window_system.h"

namespace pellark {
void FrontEnd::ChooseProfile(MenuId item) {
  // "Automatic" is no profile: the program in memory decides.
  const ProfileItem* entry = ItemWithId(kProfileItems, item);
  ChosenProfile = entry != nullptr ? std::optional(entry->profile) : std::nullopt;
  machine_.Rules = ChooseRules(ChosenProfile, ProgramInMemory).rules;
  ShowRules();
}

void FrontEnd::ToggleSwitch(MenuId item) {
  const SwitchItem* entry = ItemWithId(kSwitchItems, item);
  if (entry == nullptr) return;
  bool& on = machine_.Rules.switches.*entry->field;
  on = !on;
  ShowRules();
}

void FrontEnd::ChooseCyclesPerFrame(MenuId item) {
  const CyclesItem* entry = ItemWithId(kCyclesItems, item);
  if (entry == nullptr) return;
  machine_.Rules.cyclesPerFrame = entry->cyclesPerFrame;
  // A frame rate asked for means frames, whatever the rules were.
  machine_.Rules.frameTiming = true;
  ShowRules();
}

void FrontEnd::FollowProgramInMemory() {
  if (ChosenProfile) return;
  machine_.Rules = ChooseRules(std::nullopt, ProgramInMemory).rules;
  ShowRules();
}

void FrontEnd::ShowRules() {
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

void FrontEnd::ShowFrame() {
  RefreshWindow();
  frameClock_.WaitForNextFrame();
}

void FrontEnd::ProgramEnded() {
  Stop();
  window_.ShowMessageBox("Pellark", "The program has ended.");
}

}  // namespace pellark
