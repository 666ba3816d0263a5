#include "command_line.h"

#include <CLI/CLI.hpp>

#include <iostream>

#include "files/program_database.h"
#include "platform/working_folder.h"

namespace pellark {
namespace {

constexpr const char* kFooter =
    R"(Qt's own options, such as -platform NAME or -style NAME, may be given as well.
While Pellark runs, a program file dropped on its window is loaded too.)";

// Parses argv into commandLine; with extras allowed only help and version count, since the
// toolkit's options are not yet taken out.
void Parse(int argc, const char* const* argv, bool allowExtras, DesktopCommandLine& commandLine) {
  CLI::App app(
      "Plays CHIP-8 and SUPER-CHIP programs in a window. Without PROGRAM the boot\n"
      "image runs; choose File > Load... > Load (F1) or drop a file on the window.",
      "pellark");
  app.set_version_flag("--version", [] {
    return "pellark (Pellark) " PELLARK_VERSION "\n" +
           ProgramDatabaseSummary(InstalledProgramDatabase());
  });
  app.footer(kFooter);
  app.allow_extras(allowExtras);
  app.add_flag("--mute", commandLine.mute, "start with Emulation > Sound off");
  app.add_option("PROGRAM", "program file to load at 0x200 after start-up")
      ->expected(1)
      ->each([&commandLine](const std::string& text) {
        commandLine.program = FromWorkingFolder(text);
      });
  try {
    app.parse(argc, argv);
  } catch (const CLI::CallForHelp& help) {
    commandLine.exitStatus = app.exit(help);
  } catch (const CLI::CallForVersion& version) {
    commandLine.exitStatus = app.exit(version);
  } catch (const CLI::ParseError& error) {
    if (allowExtras) return;
    std::cerr << "pellark: " << error.what() << std::endl;
    commandLine.exitStatus = 2;
  }
}

}  // namespace

std::optional<int> AnswerInformationRequest(int argc, const char* const* argv) {
  DesktopCommandLine commandLine;
  Parse(argc, argv, true, commandLine);
  return commandLine.exitStatus;
}

DesktopCommandLine ParseCommandLine(int argc, const char* const* argv) {
  DesktopCommandLine commandLine;
  Parse(argc, argv, false, commandLine);
  return commandLine;
}

}  // namespace pellark
