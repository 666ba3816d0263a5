// pellark: the desktop program. Opens the window, runs the boot image, and plays CHIP-8
// programs loaded from the File menu until Quit or the close box.
#include <cstdio>

#include "frontend/front_end.h"
#include "platform/qt/qt_window_system.h"

int main(int argc, char** argv) {
  std::string error;
  const auto window = pellark::CreateQtWindowSystem(argc, argv, error);
  if (!window) {
    // There is no window to show a message box in.
    std::fprintf(stderr, "pellark: %s\n", error.c_str());
    return 1;
  }
  pellark::FrontEnd frontEnd(*window);
  if (frontEnd.StartUp()) frontEnd.ProgramLoop();
  return 0;
}
