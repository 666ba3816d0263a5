#pragma once

#include <filesystem>
#include <optional>
#include <span>
#include <string>

#include "files/program_database.h"
#include "files/program_file.h"

namespace pellark {

class Machine;
class WindowSystem;

// The File menu's program commands: Load asks for a program file, and Load, Reload and a
// program opened by name copy it into memory from 0x200; Save program writes memory back to a
// file. Loading expects the machine to have been reset just before.
class ProgramCommands {
 public:
  // The dialogs start in the working folder until a program has been loaded.
  ProgramCommands(Machine& machine, WindowSystem& window);

  // The file chosen in Load's dialog; empty when it was cancelled.
  std::string AskForProgramFile();
  // A program file read, with what the program database knows of it.
  struct ProgramFile {
    FileBytes read;
    std::optional<KnownProgram> known;
    std::string sha1;
  };
  // Reads the program file at path, as large as any profile's memory takes, and keeps path for
  // Reload; a file that cannot be read is reported in a message box.
  ProgramFile ReadProgram(const std::string& path);
  // Copies the file's bytes into memory from 0x200, once the rules for it are in force; PC
  // moves to 0x200 either way. False, after a message box, when the file could not be read or
  // the program is too large for the memory the rules give.
  bool StoreProgram(const ProgramFile& file);
  // The database loads look programs up in, in place of the installed one.
  void UseDatabase(const DatabaseRead& database) { database_ = &database; }
  void SaveProgram();

  // The file named at the last load; empty before any and after a cancelled Load.
  const std::string& ProgramFileName() const { return programFileName_; }
  // Where the file dialogs start: the folder of the last program loaded, or the working folder.
  const std::filesystem::path& DialogFolder() const { return dialogFolder_; }
  // Whether loads have a program database to look programs up in.
  bool HasDatabase() const { return database_ != nullptr && database_->database != nullptr; }

 private:
  // What the database knows of the program whose bytes have this SHA-1.
  std::optional<KnownProgram> Recognise(const std::string& sha1);

  Machine& machine_;
  WindowSystem& window_;
  std::string programFileName_;
  std::filesystem::path dialogFolder_;
  // Read at the first load, when the installed database is used; a damaged one is reported
  // at that load and never again.
  const DatabaseRead* database_ = nullptr;
  bool databaseFaultReported_ = false;
};

}  // namespace pellark
