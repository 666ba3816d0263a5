#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

namespace pellark {

// What one run of pellark-run left behind.
struct RunResult {
  // The exit status, or minus the signal that ended the process.
  int status = 0;
  std::string out;
  std::string err;

  std::vector<std::string> OutLines() const;
  std::vector<std::string> ErrLines() const;
};

// What a run's surroundings have that a plain run's do not.
struct RunSetting {
  // This standard stream (1 or 2) is a pipe nobody reads any more; 0 for none.
  int closedStream = 0;
  // The largest file the run may write, in bytes; 0 for no limit.
  long fileSizeLimit = 0;
  // XDG_DATA_HOME, where the user's own program database is looked for; empty for a folder that
  // has none, so that a developer's own copy never changes a result.
  std::filesystem::path dataHome;
};

// Runs the built pellark-run with these arguments and waits for it.
RunResult RunPellark(const std::vector<std::string>& arguments, const RunSetting& setting = {});

// The folder of the built pellark-run, where the boot image lies too.
std::filesystem::path RunnerFolder();

// A fresh folder for one test's files, removed with everything in it at the end.
class ScratchFolder {
 public:
  ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder();

  const std::filesystem::path& Path() const { return path_; }
  // Writes a file of these bytes and returns its full path.
  std::string WriteFile(const std::string& name, const std::vector<std::uint8_t>& bytes) const;
  std::string WriteProgram(std::initializer_list<std::uint8_t> bytes) const {
    return WriteFile("program.ch8", bytes);
  }

 private:
  std::filesystem::path path_;
};

std::vector<std::string> SplitLines(const std::string& text);

}  // namespace pellark
