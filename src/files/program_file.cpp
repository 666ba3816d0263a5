#include "files/program_file.h"

#include <vector>

#include "platform/byte_file.h"

namespace pellark {

ProgramLoad LoadProgramFile(Machine& machine, const std::string& path) {
  machine.PC = kProgramStart;
  // One byte past the capacity tells a program that fits from one that does not, before any
  // cell is written.
  std::vector<int> bytes;
  ProgramLoad load;
  if (!ReadFileBytes(path, kProgramCapacity + 1, bytes, load.reason)) {
    load.result = LoadResult::CannotRead;
  } else if (bytes.size() > static_cast<std::size_t>(kProgramCapacity)) {
    load.result = LoadResult::TooLarge;
  } else {
    std::int32_t address = kProgramStart;
    for (const int byte : bytes) {
      machine.SetCell(address++, ToHexByte(byte));
      load.bytes.push_back(static_cast<std::uint8_t>(byte));
    }
  }
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
