#include "frontend/program_commands.h"

#include <cstdint>
#include <vector>

#include "core/machine.h"
#include "files/program_file.h"
#include "platform/sha1.h"
#include "platform/window_system.h"
#include "platform/working_folder.h"

namespace pellark {

ProgramCommands::ProgramCommands(Machine& machine, WindowSystem& window)
    : machine_(machine), window_(window), dialogFolder_(WorkingFolder()) {}

std::string ProgramCommands::AskForProgramFile() {
  return window_.AskFileToOpen("Open Chip 8 rom file", dialogFolder_, "Chip 8 Rom game|*.ch8");
}

ProgramCommands::ProgramFile ProgramCommands::ReadProgram(const std::string& path) {
  programFileName_ = path;
  ProgramFile file{ReadProgramFile(path, kLargestProgramCapacity), std::nullopt, {}};
  if (!file.read.Read()) return file;
  dialogFolder_ = std::filesystem::path(path).parent_path();
  file.sha1 = Sha1Hex(file.read.bytes);
  file.known = Recognise(file.sha1);
  return file;
}

bool ProgramCommands::StoreProgram(const ProgramFile& file) {
  ReadFailure failure = file.read.failure;
  if (failure == ReadFailure::None &&
      file.read.bytes.size() > static_cast<std::size_t>(ProgramCapacity(machine_))) {
    failure = ReadFailure::TooLarge;
  }
  // PC moves to 0x200 whether or not the file could be read; nothing of a program too large is
  // stored.
  machine_.LoadProgram(failure == ReadFailure::None ? std::span<const std::uint8_t>(file.read.bytes)
                                                    : std::span<const std::uint8_t>());
  switch (failure) {
    case ReadFailure::None: return true;
    case ReadFailure::CannotRead:
      window_.ShowMessageBox("Pellark", "Error: Can't read the file");
      break;
    case ReadFailure::TooLarge:
      window_.ShowMessageBox("Pellark", "Error: The program is too large");
      break;
  }
  return false;
}

std::optional<KnownProgram> ProgramCommands::Recognise(const std::string& sha1) {
  if (database_ == nullptr) database_ = &InstalledProgramDatabase();
  if (!database_->error.empty() && !databaseFaultReported_) {
    window_.ShowMessageBox("Pellark",
                           "The program database is damaged, and Pellark runs "
                           "without it:\n" +
                               database_->error);
    databaseFaultReported_ = true;
  }
  if (!database_->database) return std::nullopt;
  const KnownProgram* known = database_->database->FindSha1(sha1);
  if (known == nullptr) return std::nullopt;
  return *known;
}

void ProgramCommands::SaveProgram() {
  const std::string path = window_.AskFileToSave("Save memory program", dialogFolder_, "");
  // Cancelling the dialog is not a failure.
  if (path.empty()) return;
  // V4 bytes from 0x200: the values of their cell texts.
  std::vector<std::uint8_t> program;
  const std::int32_t end = kProgramStart + machine_.Registers[4];
  for (std::int32_t address = kProgramStart; address < end; ++address) {
    program.push_back(static_cast<std::uint8_t>(machine_.CellValue(address)));
  }
  if (!WriteProgramFile(path, program))
    window_.ShowMessageBox("Pellark", "Error: Can't write the file");
}

}  // namespace pellark
