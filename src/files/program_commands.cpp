#include "files/program_commands.h"

#include "files/program_file.h"
#include "platform/window_system.h"
#include "platform/working_folder.h"

namespace pellark {

ProgramCommands::ProgramCommands(Machine& machine, WindowSystem& window)
    : machine_(machine), window_(window), dialogFolder_(WorkingFolder()) {}

std::optional<KnownProgram> ProgramCommands::LoadProgram() {
  return LoadProgramFrom(
      window_.AskFileToOpen("Open Chip 8 rom file", dialogFolder_, "Chip 8 Rom game|*.ch8"));
}

std::optional<KnownProgram> ProgramCommands::LoadProgramFrom(const std::string& path) {
  romFileName_ = path;
  return CopyProgramIntoMemory();
}

std::optional<KnownProgram> ProgramCommands::ReloadProgram() {
  return CopyProgramIntoMemory();
}

std::optional<KnownProgram> ProgramCommands::CopyProgramIntoMemory() {
  const ProgramLoad load = LoadProgramFile(machine_, romFileName_);
  switch (load.result) {
    case LoadResult::Loaded:
      dialogFolder_ = std::filesystem::path(romFileName_).parent_path();
      return FindKnownProgram(load.bytes);
    case LoadResult::CannotRead:
      window_.ShowMessageBox("Pellark", "Error: Can't read the file");
      break;
    case LoadResult::TooLarge:
      window_.ShowMessageBox("Pellark", "Error: The program is too large");
      break;
  }
  return std::nullopt;
}

void ProgramCommands::SaveProgram() {
  const std::string path = window_.AskFileToSave("Save memory program", dialogFolder_, "");
  // Cancelling the dialog is not a failure.
  if (path.empty()) return;
  if (!SaveProgramFile(machine_, path))
    window_.ShowMessageBox("Pellark", "Error: Can't write the file");
}

}  // namespace pellark
