#pragma once

#include <string>

namespace pellark {

class Machine;
class WindowSystem;

// The File menu's program commands: Load asks for a program file and copies it into memory
// from 0x200, Reload copies the same file again, Save program writes memory back to a file.
// Load and Reload expect the machine to have been reset just before.
class ProgramCommands {
 public:
  ProgramCommands(Machine& machine, WindowSystem& window) : machine_(machine), window_(window) {}

  void LoadProgram();
  void ReloadProgram();
  void SaveProgram();

  // The file chosen at the last Load; empty before any Load and after a cancelled one.
  const std::string& RomFileName() const { return romFileName_; }

 private:
  void CopyProgramIntoMemory();

  Machine& machine_;
  WindowSystem& window_;
  std::string romFileName_;
};

}  // namespace pellark
