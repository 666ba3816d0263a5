#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "files/program_database.h"

namespace pellark {

class Machine;
class WindowSystem;

// The File menu's program commands: Load asks for a program file and copies it into memory
// from 0x200, Reload copies the same file again, Save program writes memory back to a file.
// Load and Reload expect the machine to have been reset just before.
class ProgramCommands {
 public:
  // The dialogs start in the working folder until a program has been loaded.
  ProgramCommands(Machine& machine, WindowSystem& window);

  // Each answers what the program database knows of the program loaded, if anything.
  std::optional<KnownProgram> LoadProgram();
  // Load without the dialog, for a program named on the command line or dropped on the
  // window: path is the full path, kept for Reload.
  std::optional<KnownProgram> LoadProgramFrom(const std::string& path);
  std::optional<KnownProgram> ReloadProgram();
  void SaveProgram();

  // The file chosen at the last Load; empty before any Load and after a cancelled one.
  const std::string& RomFileName() const { return romFileName_; }
  // Where the file dialogs start: the folder of the last program loaded, or the working folder.
  const std::filesystem::path& DialogFolder() const { return dialogFolder_; }

 private:
  std::optional<KnownProgram> CopyProgramIntoMemory();

  Machine& machine_;
  WindowSystem& window_;
  std::string romFileName_;
  // Where the file dialogs start: the folder of the last program loaded.
  std::filesystem::path dialogFolder_;
};

}  // namespace pellark
