#pragma once

#include <optional>
#include <string>

#include "core/machine.h"
#include "files/program_database.h"
#include "frontend/menu_tree.h"

namespace pellark {

class WindowSystem;

// "Compatibility" and "Cycles per frame": the rules the machine runs by, and their marks.
class Compatibility {
 public:
  Compatibility(Machine& machine, WindowSystem& window) : machine_(machine), window_(window) {}

  // A profile item, or "Automatic", which follows programInMemory.
  void ChooseProfile(MenuId item, const std::optional<KnownProgram>& programInMemory);
  void ToggleSwitch(MenuId item);
  void ChooseCyclesPerFrame(MenuId item);
  // With "Automatic", the rules of programInMemory, which the database knows or not.
  void FollowProgram(const std::optional<KnownProgram>& programInMemory);
  // The profile whose rules the machine runs by: the chosen one, or Automatic's choice.
  Profile ProfileInUse(const std::optional<KnownProgram>& programInMemory) const;
  // The marks of "Compatibility" and "Cycles per frame" after the rules changed.
  void ShowRules();
  // The profile and its cycles per frame, for a machine in frame timing.
  std::string PaceText(const std::optional<KnownProgram>& programInMemory) const;

  // The profile chosen in "Compatibility"; none for "Automatic", where the program database
  // decides by the program in memory.
  std::optional<Profile> ChosenProfile;

 private:
  Machine& machine_;
  WindowSystem& window_;
};

}  // namespace pellark
