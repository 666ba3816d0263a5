#include "files/program_commands.h"

#include "files/program_file.h"
#include "platform/byte_file.h"
#include "platform/window_system.h"

namespace pellark {

void ProgramCommands::LoadProgram() {
  romFileName_ =
      window_.AskFileToOpen("Open Chip 8 rom file", ProgramFolder(), "Chip 8 Rom game|*.ch8");
  CopyProgramIntoMemory();
}

void ProgramCommands::ReloadProgram() {
  CopyProgramIntoMemory();
}

void ProgramCommands::CopyProgramIntoMemory() {
  switch (LoadProgramFile(machine_, romFileName_).result) {
    case LoadResult::Loaded: break;
    case LoadResult::CannotRead:
      window_.ShowMessageBox("Pellark", "Error: Can't read the file");
      break;
    case LoadResult::TooLarge:
      window_.ShowMessageBox("Pellark", "Error: The program is too large");
      break;
  }
}

void ProgramCommands::SaveProgram() {
  const std::string path = window_.AskFileToSave("Save memory program", ProgramFolder(), "");
  // Cancelling the dialog is not a failure.
  if (path.empty()) return;
  if (!SaveProgramFile(machine_, path))
    window_.ShowMessageBox("Pellark", "Error: Can't write the file");
}

}  // namespace pellark
