#include "x11_session.h"

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

extern char** environ;

namespace pellark {
namespace {

std::vector<char*> Pointers(std::vector<std::string>& texts) {
  std::vector<char*> pointers;
  for (std::string& text : texts) pointers.push_back(text.data());
  pointers.push_back(nullptr);
  return pointers;
}

std::uint32_t Word32(const std::string& bytes, std::size_t offset, bool bigEndian = true) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    const std::size_t at = bigEndian ? offset + i : offset + 3 - i;
    value = value << 8 | static_cast<unsigned char>(bytes[at]);
  }
  return value;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& argv,
                           const std::vector<std::string>& environment, bool readOutput) {
  std::vector<std::string> arguments = argv;
  std::vector<std::string> variables = environment;
  for (char** entry = environ; *entry != nullptr; ++entry) variables.emplace_back(*entry);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  std::array<int, 2> pipeEnds{-1, -1};
  if (readOutput && pipe(pipeEnds.data()) == 0) {
    posix_spawn_file_actions_adddup2(&actions, pipeEnds[1], STDOUT_FILENO);
    posix_spawn_file_actions_addclose(&actions, pipeEnds[0]);
  }
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  auto argumentPointers = Pointers(arguments);
  auto variablePointers = Pointers(variables);
  if (posix_spawnp(&pid_, arguments[0].c_str(), &actions, nullptr, argumentPointers.data(),
                   variablePointers.data()) != 0) {
    pid_ = -1;
  }
  posix_spawn_file_actions_destroy(&actions);
  if (pipeEnds[1] >= 0) close(pipeEnds[1]);
  output_ = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
  if (pid_ > 0) {
    kill(pid_, SIGTERM);
    waitpid(pid_, nullptr, 0);
  }
  if (output_ >= 0) close(output_);
}

X11Session::X11Session()
    : server_({"Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0", "1024x768x24"}, {},
              true) {
  if (!server_.Started() || server_.OutputDescriptor() < 0) return;
  // The server writes its display number once it accepts clients.
  pollfd ready{server_.OutputDescriptor(), POLLIN, 0};
  const auto limit = std::chrono::duration_cast<std::chrono::milliseconds>(kEventLimit);
  if (poll(&ready, 1, static_cast<int>(limit.count())) != 1) return;
  std::array<char, 16> number{};
  const ssize_t length = read(server_.OutputDescriptor(), number.data(), number.size() - 1);
  if (length <= 0) return;
  display_.assign(1, ':').append(number.data(), static_cast<std::size_t>(length));
  while (!display_.empty() && (display_.back() == '\n')) display_.pop_back();
}

std::string X11Session::Command(const std::string& command) const {
  std::string output;
  FILE* pipe = popen(("DISPLAY=" + display_ + " " + command + " 2>/dev/null").c_str(), "r");
  if (pipe == nullptr) return output;
  std::array<char, 4096> buffer;
  for (std::size_t count; (count = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0;) {
    output.append(buffer.data(), count);
  }
  pclose(pipe);
  return output;
}

std::string X11Session::WaitForWindow(const std::string& name,
                                      std::chrono::milliseconds limit) const {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    std::string id = Command("xdotool search --onlyvisible --name '^" + name + "$'");
    if (const auto end = id.find('\n'); end != std::string::npos) return id.substr(0, end);
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return "";
}

Capture X11Session::WaitForPicture(const std::string& window,
                                   const std::function<bool(const Capture&)>& shows) const {
  const auto deadline = std::chrono::steady_clock::now() + kEventLimit;
  Capture capture = CaptureWindow(window);
  while (!shows(capture) && std::chrono::steady_clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    capture = CaptureWindow(window);
  }
  return capture;
}

Capture X11Session::CaptureWindow(const std::string& window) const {
  // An XWD dump: a big-endian header of 25 words, the window name, the colour map, then
  // 32-bit pixels row by row.
  const std::string dump = Command("xwd -silent -id " + window);
  Capture capture;
  if (dump.size() < 100) return capture;
  const std::uint32_t headerSize = Word32(dump, 0);
  const bool pixelsBigEndian = Word32(dump, 28) != 0;
  const std::uint32_t bitsPerPixel = Word32(dump, 44);
  const std::uint32_t bytesPerLine = Word32(dump, 48);
  const std::uint32_t colours = Word32(dump, 76);
  capture.width = static_cast<int>(Word32(dump, 16));
  capture.height = static_cast<int>(Word32(dump, 20));
  const std::size_t start = headerSize + colours * 12;
  if (bitsPerPixel != 32 || dump.size() < start + bytesPerLine * capture.height) return {};
  for (int y = 0; y < capture.height; ++y) {
    for (int x = 0; x < capture.width; ++x) {
      const std::size_t at = start + y * bytesPerLine + x * 4;
      capture.pixels.push_back(Word32(dump, at, pixelsBigEndian) & 0xFFFFFF);
    }
  }
  return capture;
}

}  // namespace pellark
