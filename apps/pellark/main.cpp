// pellark: the desktop program. Opens the window, runs the boot image, and plays CHIP-8
// programs named on the command line, loaded from the File menu or dropped on the window,
// until Quit or the close box.
#include <cstdio>

#include "command_line.h"
#include "frontend/front_end.h"
#include "platform/qt/qt_sound.h"
#include "platform/qt/qt_window_system.h"
#include "platform/sdl_game_pad.h"

int main(int argc, char** argv) {
  if (const auto status = pellark::AnswerInformationRequest(argc, argv)) return *status;
  std::string error;
  const auto window = pellark::CreateQtWindowSystem(argc, argv, error);
  if (!window) {
    // There is no window to show a message box in.
    std::fprintf(stderr, "pellark: %s\n", error.c_str());
    return 1;
  }
  const pellark::DesktopCommandLine commandLine = pellark::ParseCommandLine(argc, argv);
  if (commandLine.exitStatus) return *commandLine.exitStatus;
  const auto sound = pellark::CreateQtSound();
  pellark::SdlGamePad pad;
  pellark::FrontEnd frontEnd(*window, *window, *window, *sound, &pad);
  if (!frontEnd.StartUp()) return 0;
  if (commandLine.mute) frontEnd.RunCommand(pellark::MenuId::Sound);
  if (commandLine.program) frontEnd.OpenProgram(*commandLine.program);
  frontEnd.ProgramLoop();
  return 0;
}
