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

std::optional<KnownProgram> ProgramCommands::LoadProgram(const std::string& path) {
  programFileName_ = path;
  loadedSha1_.clear();
  const FileBytes program = ReadProgramFile(path, ProgramCapacity(machine_));
  // PC moves to 0x200 whether or not the file could be read.
  machine_.LoadProgram(program.bytes);
  switch (program.failure) {
    case ReadFailure::None:
      dialogFolder_ = std::filesystem::path(path).parent_path();
      return Recognise(program.bytes);
    case ReadFailure::CannotRead:
      window_.ShowMessageBox("Pellark", "Error: Can't read the file");
      break;
    case ReadFailure::TooLarge:
      window_.ShowMessageBox("Pellark", "Error: The program is too large");
      break;
  }
  return std::nullopt;
}

std::optional<KnownProgram> ProgramCommands::Recognise(std::span<const std::uint8_t> bytes) {
  loadedSha1_ = Sha1Hex(bytes);
  if (database_ == nullptr) database_ = &InstalledProgramDatabase();
  if (!database_->error.empty() && !databaseFaultReported_) {
    window_.ShowMessageBox("Pellark",
                           "The program database is damaged, and Pellark runs "
                           "without it:\n" +
                               database_->error);
    databaseFaultReported_ = true;
  }
  if (!database_->database) return std::nullopt;
  const KnownProgram* known = database_->database->FindSha1(loadedSha1_);
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
