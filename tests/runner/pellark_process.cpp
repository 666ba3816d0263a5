#include "pellark_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string_view>
#include <thread>

extern char** environ;

namespace pellark {
namespace {

std::string ReadWholeFile(const std::filesystem::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  for (std::string line; std::getline(stream, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> RunResult::OutLines() const {
  return SplitLines(out);
}
std::vector<std::string> RunResult::ErrLines() const {
  return SplitLines(err);
}

std::filesystem::path RunnerFolder() {
  return std::filesystem::path(PELLARK_RUN_PATH).parent_path();
}

RunResult RunPellark(const std::vector<std::string>& arguments, const RunSetting& setting) {
  // Output goes to files, so that a child writing much to both streams never blocks.
  const ScratchFolder streams;
  const std::string outPath = (streams.Path() / "out").string();
  const std::string errPath = (streams.Path() / "err").string();
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                   O_WRONLY | O_CREAT | O_TRUNC, 0600);
  int closedPipe[2] = {-1, -1};
  if (setting.closedStream != 0) {
    if (pipe(closedPipe) != 0) throw std::runtime_error("cannot create a pipe");
    close(closedPipe[0]);
    posix_spawn_file_actions_adddup2(&actions, closedPipe[1], setting.closedStream);
  }

  std::vector<std::string> argv{PELLARK_RUN_PATH};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  std::vector<char*> pointers;
  for (std::string& argument : argv) pointers.push_back(argument.data());
  pointers.push_back(nullptr);

  // The child inherits the limit as it starts; this process takes its own back at once.
  rlimit fileSize{};
  getrlimit(RLIMIT_FSIZE, &fileSize);
  if (setting.fileSizeLimit != 0) {
    const rlimit limited{static_cast<rlim_t>(setting.fileSizeLimit), fileSize.rlim_max};
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  // This process's environment with the run's own XDG_DATA_HOME.
  const std::filesystem::path dataHome =
      setting.dataHome.empty() ? streams.Path() : setting.dataHome;
  std::vector<std::string> environment{"XDG_DATA_HOME=" + dataHome.string()};
  for (char** variable = environ; *variable != nullptr; ++variable) {
    if (!std::string_view(*variable).starts_with("XDG_DATA_HOME="))
      environment.push_back(*variable);
  }
  std::vector<char*> environmentPointers;
  for (std::string& variable : environment) environmentPointers.push_back(variable.data());
  environmentPointers.push_back(nullptr);

  pid_t child = 0;
  const int spawned = posix_spawn(&child, PELLARK_RUN_PATH, &actions, nullptr, pointers.data(),
                                  environmentPointers.data());
  setrlimit(RLIMIT_FSIZE, &fileSize);
  posix_spawn_file_actions_destroy(&actions);
  if (closedPipe[1] >= 0) close(closedPipe[1]);
  if (spawned != 0) throw std::runtime_error("cannot start " PELLARK_RUN_PATH);
  // A runner that hangs fails its test instead of hanging the test run.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  int waitStatus = 0;
  while (true) {
    const pid_t ended = waitpid(child, &waitStatus, WNOHANG);
    if (ended == child) break;
    if (ended < 0 && errno != EINTR) throw std::runtime_error("lost the pellark-run process");
    if (std::chrono::steady_clock::now() > deadline) {
      kill(child, SIGKILL);
      waitpid(child, &waitStatus, 0);
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  RunResult result;
  result.status = WIFEXITED(waitStatus) ? WEXITSTATUS(waitStatus) : -WTERMSIG(waitStatus);
  result.out = ReadWholeFile(outPath);
  result.err = ReadWholeFile(errPath);
  return result;
}

ScratchFolder::ScratchFolder() {
  std::string pattern =
      (std::filesystem::temp_directory_path() / "pellark-run-test-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("cannot create a scratch folder");
  path_ = pattern;
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  std::filesystem::remove_all(path_, ignored);
}

std::string ScratchFolder::WriteFile(const std::string& name,
                                     const std::vector<std::uint8_t>& bytes) const {
  const std::filesystem::path path = path_ / name;
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file.write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path.string();
}

}  // namespace pellark
