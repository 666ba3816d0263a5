#include "files/program_file.h"

#include <vector>

#include "platform/byte_file.h"

namespace pellark {

namespace {

ProgramLoad CopyIntoMemory(Machine& machine, const std::string& path) {
  ByteFile file;
  if (!file.OpenFileForReading(path)) return {LoadResult::CannotRead, {}};
  // Read one byte past the capacity to tell a program that fits from one that does not,
  // before any cell is written.
  std::vector<std::uint8_t> bytes;
  bytes.reserve(kProgramCapacity + 1);
  while (bytes.size() <= static_cast<std::size_t>(kProgramCapacity) && !file.AtEndOfFile()) {
    bytes.push_back(static_cast<std::uint8_t>(file.ReadFileByte()));
  }
  file.CloseFileSlot();
  if (bytes.size() > static_cast<std::size_t>(kProgramCapacity)) return {LoadResult::TooLarge, {}};
  std::int32_t address = kProgramStart;
  for (const std::uint8_t byte : bytes) machine.SetCell(address++, ToHexByte(byte));
  return {LoadResult::Loaded, std::move(bytes)};
}

}  // namespace

ProgramLoad LoadProgramFile(Machine& machine, const std::string& path) {
  ProgramLoad load = CopyIntoMemory(machine, path);
  machine.PC = kProgramStart;
  return load;
}

bool SaveProgramFile(const Machine& machine, const std::string& path) {
  ByteFile file;
  if (!file.CreateFileForWriting(path)) return false;
  const std::int32_t end = kProgramStart + machine.Registers[4];
  for (std::int32_t address = kProgramStart; address < end; ++address) {
    file.WriteFileByte(HexToNumber(machine.Cell(address).Text()));
  }
  return file.CloseFileSlot();
}

}  // namespace pellark
