#include "frontend/front_end.h"
#include "platform/window_system.h"

namespace pellark {
namespace {

constexpr int IndexFrom(MenuId first, MenuId item) {
  return static_cast<int>(item) - static_cast<int>(first);
}

constexpr MenuId ItemAt(MenuId first, std::size_t index) {
  return static_cast<MenuId>(static_cast<int>(first) + static_cast<int>(index));
}

}  // namespace

void FrontEnd::ChooseProfile(MenuId item) {
  if (item == MenuId::ProfileAutomatic) {
    ChosenProfile.reset();
    FollowProgramInMemory();
    return;
  }
  ChosenProfile = kProfiles[static_cast<std::size_t>(IndexFrom(MenuId::ProfileDesigned, item))];
  machine_.Rules = RulesOf(*ChosenProfile);
  ShowRules();
}

void FrontEnd::ToggleSwitch(MenuId item) {
  const SwitchName& entry =
      kSwitchNames[static_cast<std::size_t>(IndexFrom(MenuId::SwitchShift, item))];
  bool& on = machine_.Rules.switches.*entry.field;
  on = !on;
  ShowRules();
}

void FrontEnd::ChooseCyclesPerFrame(MenuId item) {
  machine_.Rules.cyclesPerFrame =
      kCyclesPerFrameChoices[static_cast<std::size_t>(IndexFrom(MenuId::Cycles7, item))];
  // A frame rate asked for means frames, whatever the rules were.
  machine_.Rules.frameTiming = true;
  ShowRules();
}

void FrontEnd::FollowProgramInMemory() {
  if (ChosenProfile) return;
  machine_.Rules = ProgramInMemory ? RulesOfKnownProgram(ProgramInMemory->switches,
                                                         ProgramInMemory->cyclesPerFrame)
                                   : RulesOf(Profile::Designed);
  ShowRules();
}

void FrontEnd::ShowRules() {
  window_.SetItemCheck(static_cast<int>(MenuId::ProfileAutomatic), !ChosenProfile);
  for (std::size_t i = 0; i < kProfiles.size(); ++i) {
    window_.SetItemCheck(static_cast<int>(ItemAt(MenuId::ProfileDesigned, i)),
                         ChosenProfile == kProfiles[i]);
  }
  const MachineRules& rules = machine_.Rules;
  for (std::size_t i = 0; i < kSwitchNames.size(); ++i) {
    window_.SetItemCheck(static_cast<int>(ItemAt(MenuId::SwitchShift, i)),
                         rules.switches.*kSwitchNames[i].field);
  }
  for (std::size_t i = 0; i < kCyclesPerFrameChoices.size(); ++i) {
    window_.SetItemCheck(static_cast<int>(ItemAt(MenuId::Cycles7, i)),
                         rules.frameTiming && rules.cyclesPerFrame == kCyclesPerFrameChoices[i]);
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
