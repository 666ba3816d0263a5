#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace pellark {

// The folder that holds the running executable, found once from the executable's own path.
const std::filesystem::path& ProgramFolder();

// A plain or relative name is looked up beside the program, whatever the process's working
// folder is; an absolute path is used as it is.
std::filesystem::path ResolveBesideProgram(const std::string& name);

// One file read or written byte by byte.
class ByteFile {
 public:
  ByteFile() = default;
  ByteFile(const ByteFile&) = delete;
  ByteFile& operator=(const ByteFile&) = delete;
  ~ByteFile();

  // Opens an existing file for reading; false when it cannot be opened.
  bool OpenFileForReading(const std::string& name);
  // Creates the file, or empties an existing one, for writing; false on failure.
  bool CreateFileForWriting(const std::string& name);
  // True when no further byte can be read: the end of the file or a read error.
  bool AtEndOfFile();
  // The next byte, sign-extended: bytes 80 to FF come back as -128 to -1. Call only after
  // AtEndOfFile has reported a byte left.
  int ReadFileByte();
  // Writes the low 8 bits of the value.
  void WriteFileByte(int value);
  // Closes the file; false when a write or the close itself failed.
  bool CloseFileSlot();

 private:
  std::FILE* file_ = nullptr;
  bool writeFailed_ = false;
};

}  // namespace pellark
