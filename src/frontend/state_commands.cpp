#include "frontend/state_commands.h"

#include <system_error>

#include "core/snapshot.h"
#include "files/state_file.h"
#include "platform/data_file.h"
#include "platform/window_system.h"

namespace pellark {
namespace {

constexpr std::string_view kTitle = "Pellark";

std::string Unchanged(const std::string& why) {
  return "Error: " + why + " The machine is unchanged.";
}

}  // namespace

void StateCommands::SaveStateAs(const std::string& programSha1,
                                const std::filesystem::path& folder) {
  const std::string path = window_.AskFileToSave("Save state", folder, kStateFilePattern);
  if (!path.empty()) Save(path, programSha1);
}

bool StateCommands::LoadStateFrom(const std::string& programSha1,
                                  const std::filesystem::path& folder) {
  const std::string path = window_.AskFileToOpen("Load state", folder, kStateFilePattern);
  return !path.empty() && Load(path, programSha1);
}

bool StateCommands::SaveQuickSlot(int slot, const std::string& programSha1) {
  const std::filesystem::path path = QuickSlotPath(slot, programSha1);
  std::error_code error;
  if (path.empty() || (std::filesystem::create_directories(path.parent_path(), error), error)) {
    window_.ShowMessageBox(kTitle, "Error: There is no folder for the quick slots.");
    return false;
  }
  return Save(path.string(), programSha1);
}

bool StateCommands::LoadQuickSlot(int slot, const std::string& programSha1) {
  const std::filesystem::path path = QuickSlotPath(slot, programSha1);
  std::error_code error;
  if (path.empty() || !std::filesystem::exists(path, error)) {
    window_.ShowMessageBox(
        kTitle, "Quick slot " + std::to_string(slot) + " holds no state of this program.");
    return false;
  }
  return Load(path.string(), programSha1);
}

std::filesystem::path StateCommands::QuickSlotPath(int slot, const std::string& programSha1) {
  const std::filesystem::path folder = UserDataFolder();
  if (folder.empty()) return {};
  return folder / "states" /
         ((programSha1.empty() ? "boot" : programSha1) + "-" + std::to_string(slot) + ".c8state");
}

bool StateCommands::Save(const std::string& path, const std::string& programSha1) {
  std::string reason;
  if (WriteStateFile(path, StateFileBytes(programSha1, TakeSnapshot(machine_)), reason)) {
    return true;
  }
  window_.ShowMessageBox(kTitle, "Error: Can't write the state file: " + reason);
  return false;
}

bool StateCommands::Load(const std::string& path, const std::string& programSha1) {
  const StateFileRead read = ReadStateFile(path);
  std::string why;
  switch (read.fault) {
    case StateFault::None: break;
    case StateFault::CannotRead: why = "Can't read the state file: " + read.reason + "."; break;
    case StateFault::NotAState: why = "The file is not a Pellark state file."; break;
    case StateFault::NewerFormat:
      why = "The state file is of a newer format than this Pellark reads.";
      break;
    case StateFault::Damaged: why = "The state file is damaged."; break;
  }
  if (why.empty() && read.programSha1 != programSha1) {
    why = "The state is of another program than the one in memory (SHA-1 " +
          (read.programSha1.empty() ? std::string("of none: the boot program") : read.programSha1) +
          ").";
  }
  if (why.empty() && !RestoreSnapshot(machine_, read.snapshot)) why = "The state file is damaged.";
  if (why.empty()) return true;
  window_.ShowMessageBox(kTitle, Unchanged(why));
  return false;
}

}  // namespace pellark
