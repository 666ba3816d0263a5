#include "files/program_commands.h"

#include "files/program_file.h"
#include "platform/window_system.h"
#include "platform/working_folder.h"

namespace pellark {

ProgramCommands::ProgramCommands(Machine& machine, WindowSystem& window)
    : machine_(machine), window_(window), dialogFolder_(WorkingFolder()) {}

void ProgramCommands::LoadProgram() {
  LoadProgramFrom(
      window_.AskFileToOpen("Open Chip 8 rom file", dialogFolder_, "Chip 8 Rom game|*.ch8"));
}

void ProgramCommands::LoadProgramFrom(const std::string& path) {
  romFileName_ = path;
  CopyProgramIntoMemory();
}

void ProgramCommands::ReloadProgram() {
  CopyProgramIntoMemory();
}

void ProgramCommands::CopyProgramIntoMemory() {
  switch (LoadProgramFile(machine_, romFileName_)) {
    case LoadResult::Loaded:
      dialogFolder_ = std::filesystem::path(romFileName_).parent_path();
      break;
    case LoadResult::CannotRead:
      window_.ShowMessageBox("Pellark", "Error: Can't read the file");
      break;
    case LoadResult::TooLarge:
      window_.ShowMessageBox("Pellark", "Error: The program is too large");
      break;
  }
}

void ProgramCommands::SaveProgram() {
  const std::string path = window_.AskFileToSave("Save memory program", dialogFolder_, "");
  // Cancelling the dialog is not a failure.
  if (path.empty()) return;
  if (!SaveProgramFile(machine_, path))
    window_.ShowMessageBox("Pellark", "Error: Can't write the file");
}

}  // namespace pellark
