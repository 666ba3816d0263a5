#include "files/program_file.h"

#include <vector>

#include "platform/byte_file.h"

namespace pellark {

namespace {

LoadResult CopyIntoMemory(Machine& machine, const std::string& path) {
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
  std::int32_t address = kProgramStart;
  for (const int byte : bytes) machine.SetCell(address++, ToHexByte(byte));
  return LoadResult::Loaded;
}

}  // namespace

LoadResult LoadProgramFile(Machine& machine, const std::string& path) {
  const LoadResult result = CopyIntoMemory(machine, path);
  machine.PC = kProgramStart;
  return result;
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
