#include "files/program_file.h"

#include <vector>

#include "platform/byte_file.h"

namespace pellark {

LoadReport LoadProgramFile(Machine& machine, const std::string& path) {
  machine.PC = kProgramStart;
  // One byte past the capacity tells a program that fits from one that does not, before any
  // cell is written.
  std::vector<int> bytes;
  LoadReport report;
  if (!ReadFileBytes(path, kProgramCapacity + 1, bytes, report.reason)) {
    report.result = LoadResult::CannotRead;
  } else if (bytes.size() > static_cast<std::size_t>(kProgramCapacity)) {
    report.result = LoadResult::TooLarge;
  } else {
    std::int32_t address = kProgramStart;
    for (const int byte : bytes) machine.SetCell(address++, ToHexByte(byte));
  }
  return report;
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
