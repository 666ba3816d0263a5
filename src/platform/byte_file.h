#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pellark {

// The folder that holds the running executable, found once from the executable's own path.
const std::filesystem::path& ProgramFolder();

// A plain or relative name is looked up beside the program, whatever the process's working
// folder is; an absolute path is used as it is.
std::filesystem::path ResolveBesideProgram(const std::string& name);

// A write to a closed pipe, or beyond the file-size limit, ends the process by default; after
// this call such a write fails instead, and its writer reports it.
void ReportWriteFailuresAsErrors();

// One file read or written byte by byte.
class ByteFile {
 public:
  ByteFile() = default;
  ByteFile(const ByteFile&) = delete;
  ByteFile& operator=(const ByteFile&) = delete;
  // A file still being written is abandoned: only a completed write replaces anything.
  ~ByteFile();

  // Opens an existing regular file for reading; false when it cannot be opened or is anything
  // else (a folder, a FIFO, a device), whose reading could wait forever or never end.
  bool OpenFileForReading(const std::string& name);
  // Starts to replace the named file, or to create it: the bytes go to a temporary file in the
  // same folder, which CloseFileSlot renames over the name once they are all written and on
  // disk, so a failed write leaves the old file as it was. The new file keeps the old one's
  // permissions; a symbolic link stays and its file is replaced. A device or FIFO is written
  // in place, never replaced. False when the file cannot be created.
  bool CreateFileForWriting(const std::string& name);
  // True when no further byte can be read: the end of the file or a read error, which
  // ReadFailed tells apart.
  bool AtEndOfFile();
  // The next byte, sign-extended: bytes 80 to FF come back as -128 to -1. Call only after
  // AtEndOfFile has reported a byte left.
  int ReadFileByte();
  // Writes the low 8 bits of the value.
  void WriteFileByte(int value);
  // Writes the characters of the text, as WriteFileByte would one by one.
  void WriteText(std::string_view text);
  // Closes the file; a file being written replaces its target now. False when a write, the
  // flush to disk, the replacement or the close failed; the temporary file is then removed.
  bool CloseFileSlot();

  // True once a read has failed, as opposed to reaching the end of the file.
  bool ReadFailed() const { return readFailed_; }
  // Why the last open, read, write or close failed, in the system's words ("No such file or
  // directory"); empty while nothing has failed.
  const std::string& FailureReason() const { return failureReason_; }

 private:
  // What a replacement keeps of the file it replaces.
  struct Permissions {
    unsigned mode;
    unsigned owner;
    unsigned group;
  };

  // The next byte or EOF; a read error is recorded.
  int NextByte();
  bool OpenInPlace(const std::filesystem::path& path);
  bool OpenReplacement(const std::filesystem::path& target, const Permissions* kept);
  bool CloseReplacement();
  void Abandon();
  bool Fail(const std::string& reason);
  bool FailWithError();

  std::FILE* file_ = nullptr;
  // While a replacement is written: the temporary file and the file it replaces.
  std::filesystem::path temporary_;
  std::filesystem::path target_;
  bool writeFailed_ = false;
  bool readFailed_ = false;
  std::string failureReason_;
};

// The bytes of a whole file as ReadFileByte gives them, at most limit of them. False, with
// nothing in bytes and the reason given, when the file cannot be opened or a read fails.
bool ReadFileBytes(const std::string& name, std::size_t limit, std::vector<int>& bytes,
                   std::string& reason);

}  // namespace pellark
