#pragma once

#include <sys/types.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace pellark {

// A program started in the background, ended and reaped when this object goes.
class ChildProcess {
 public:
  // Starts argv with the extra environment entries ("NAME=value"); when readOutput is set its
  // standard output can be read through OutputDescriptor().
  ChildProcess(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               bool readOutput = false);
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;
  ~ChildProcess();

  bool Started() const { return pid_ > 0; }
  int OutputDescriptor() const { return output_; }

 private:
  pid_t pid_ = -1;
  int output_ = -1;
};

// A screen capture of one window: 24-bit pixels as 0xRRGGBB.
struct Capture {
  int width = 0;
  int height = 0;
  std::vector<std::uint32_t> pixels;
  std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x]; }
};

// How long a test waits for a window or a picture: far beyond what a healthy run takes, even on
// a busy machine or in a sanitizer build.
inline constexpr std::chrono::seconds kEventLimit{60};

// An X server of its own (Xvfb) with the commands a test needs to act as a user on it.
class X11Session {
 public:
  X11Session();

  bool Ready() const { return !display_.empty(); }
  const std::string& Display() const { return display_; }
  // Runs a shell command against this display and returns what it printed.
  std::string Command(const std::string& command) const;
  // The id of the first window with exactly this name, waiting up to the limit; "" if none.
  // A short limit only checks that a window is not there.
  std::string WaitForWindow(const std::string& name,
                            std::chrono::milliseconds limit = kEventLimit) const;
  Capture CaptureWindow(const std::string& window) const;
  // Captures the window until the capture shows what is expected, within kEventLimit; the last
  // capture, for the test to assert on.
  Capture WaitForPicture(const std::string& window,
                         const std::function<bool(const Capture&)>& shows) const;

 private:
  ChildProcess server_;
  std::string display_;
};

}  // namespace pellark
