#include "core/instruction_pass.h"
#include "frontend/front_end.h"
#include "platform/timing.h"
#include "platform/window_system.h"

namespace pellark {
namespace {

// How long the speed text stays over the display.
constexpr std::uint32_t kSpeedTextMilliseconds = 1500;

}  // namespace

void FrontEnd::ProgramLoop() {
  do {
    RunPass();
  } while (machine_.QuitRequested == 0);
}

void FrontEnd::RunPass() {
  PollEvents();
  if (machine_.Running == 1) {
    RunInstructionPass(machine_, SpinCount);
  } else {
    // A stopped machine does not spin.
    SleepMilliseconds(1);
  }
}

void FrontEnd::PollEvents() {
  if (SpeedTextTime != 0 && TickMilliseconds() - SpeedTextTime > kSpeedTextMilliseconds) {
    RefreshWindow();
    SpeedTextTime = 0;
  }
  const WindowEvent event = window_.PollWindowEvent();
  const MenuId command = event.kind == WindowEvent::Kind::MenuSelection
                             ? static_cast<MenuId>(event.menuId)
                             : MenuId::None;
  if (event.kind == WindowEvent::Kind::RepaintRequest) RefreshWindow();
  RunCommand(command);
  if (event.kind == WindowEvent::Kind::FileDrop) OpenProgram(event.path);
  if (event.kind == WindowEvent::Kind::CloseRequest) RequestQuit();
}

}  // namespace pellark
