#include "files/program_file.h"

#include <vector>

#include "platform/byte_file.h"

namespace pellark {

LoadResult LoadProgramFile(Machine& machine, const std::string& path) {
  machine.PC = kProgramStart;
  ByteFile file;
  if (!file.OpenFileForReading(path)) return LoadResult::CannotRead;
  // Read one byte past the capacity to tell a program that fits from one that does not,
  // before any cell is written.
  std::vector<int> bytes;
  bytes.reserve(kProgramCapacity + 1);
  while (bytes.size() <= static_cast<std::size_t>(kProgramCapacity) && !file.AtEndOfFile()) {
    bytes.push_back(file.ReadFileByte());
  }
  file.CloseFileSlot();
  if (bytes.size() > static_cast<std::size_t>(kProgramCapacity)) return LoadResult::TooLarge;
  for (const int byte : bytes) {
    machine.SetCell(machine.PC, ToHexByte(byte));
    machine.PC += 1;
  }
  machine.PC = kProgramStart;
  return LoadResult::Loaded;
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
