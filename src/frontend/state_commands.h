#pragma once

#include <filesystem>
#include <string>

namespace pellark {

class Machine;
class WindowSystem;

// The File menu's saved states: "Save state..." and "Load state..." write and read a state
// file chosen in a dialog, the quick slots one file per program and slot in the user's data
// folder. A state of another program, a damaged file or one of a newer format changes nothing
// and is reported in a message box.
class StateCommands {
 public:
  StateCommands(Machine& machine, WindowSystem& window) : machine_(machine), window_(window) {}

  // The state of the program whose SHA-1 is programSha1 (empty for the boot program).
  void SaveStateAs(const std::string& programSha1, const std::filesystem::path& folder);
  // True when the machine now holds the state read.
  bool LoadStateFrom(const std::string& programSha1, const std::filesystem::path& folder);
  bool SaveQuickSlot(int slot, const std::string& programSha1);
  bool LoadQuickSlot(int slot, const std::string& programSha1);

  // Where a quick slot of the program is kept; empty when the user has no data folder.
  static std::filesystem::path QuickSlotPath(int slot, const std::string& programSha1);

 private:
  bool Save(const std::string& path, const std::string& programSha1);
  bool Load(const std::string& path, const std::string& programSha1);

  Machine& machine_;
  WindowSystem& window_;
};

}  // namespace pellark
