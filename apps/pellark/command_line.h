#pragma once

#include <optional>
#include <string>

namespace pellark {

// What pellark is asked to do on its command line.
struct DesktopCommandLine {
  // The program file to load after start-up, as a full path; none: the boot program runs.
  std::optional<std::string> program;
  // Start with "Sound" off.
  bool mute = false;
  // Set when the process ends here: 0 after --help or --version (printed on standard output),
  // 2 after a bad argument (one line on standard error).
  std::optional<int> exitStatus;
};

// Answers --help and --version, which need no display, before the toolkit starts; the exit
// status then, or none. Every other argument is left for ParseCommandLine.
std::optional<int> AnswerInformationRequest(int argc, const char* const* argv);

// The arguments the toolkit has left after taking its own (-platform, -style, …).
DesktopCommandLine ParseCommandLine(int argc, const char* const* argv);

}  // namespace pellark
