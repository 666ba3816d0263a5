#include "core/instruction_pass.h"
#include "frontend/front_end.h"
#include "platform/timing.h"
#include "platform/window_system.h"

namespace pellark {
namespace {

// How long the speed text, and a caption, stay over the display.
constexpr std::uint32_t kSpeedTextMilliseconds = 1500;
constexpr std::uint32_t kCaptionMilliseconds = 2000;

}  // namespace

void FrontEnd::ProgramLoop() {
  do {
    RunPass();
  } while (machine_.QuitRequested == 0);
  // A clip being recorded is kept, not lost with the program.
  StopRecording();
}

void FrontEnd::RunPass() {
  PollEvents();
  if (machine_.WaitingForKey()) {
    // The wait goes on whether the machine runs or was stopped meanwhile; the pacing is the
    // one its instruction's pass asked for.
    const bool waiting = !RunMachinePass(SpinCount);
    // Without frames to wait for, a wait that finds no key does not spin.
    if (waiting && !machine_.Rules.frameTiming) SleepMilliseconds(1);
    return;
  }
  if (machine_.Running == 1 && breakpoints_.StopsBefore(machine_)) StopAtBreakpoint();
  if (machine_.Running == 1) {
    if (const std::optional<WatchStop> stop = watchpoints_.StopsBefore(machine_)) {
      StopAtWatchpoint(*stop);
    }
  }
  if (machine_.Running == 1) {
    RunMachinePass(SpinCount);
  } else {
    // A stopped machine does not spin.
    SleepMilliseconds(1);
  }
}

void FrontEnd::Step() {
  // Only a stopped machine steps, and not while an instruction waits for a key.
  if (machine_.Running == 1 || machine_.WaitingForKey()) return;
  breakpointStop_ = -1;
  watchStop_.clear();
  // A step is one instruction the user looks at: nothing to pace, no frame to wait for.
  RunMachinePass(kNoPacing, FramePacing::Immediate);
  RefreshWindow();
}

void FrontEnd::StopAtBreakpoint() {
  Stop();
  breakpointStop_ = machine_.NextFetchAddress();
}

void FrontEnd::StopAtWatchpoint(const WatchStop& stop) {
  Stop();
  watchStop_ = stop.Text();
}

void FrontEnd::PollEvents() {
  if (SpeedTextTime != 0 && TickMilliseconds() - SpeedTextTime > kSpeedTextMilliseconds) {
    RefreshWindow();
    SpeedTextTime = 0;
  }
  if (!caption_.empty() && TickMilliseconds() - captionTime_ > kCaptionMilliseconds) {
    caption_.clear();
    RefreshWindow();
  }
  const WindowEvent event = window_.PollWindowEvent();
  const MenuId command = event.kind == WindowEvent::Kind::MenuSelection
                             ? static_cast<MenuId>(event.menuId)
                             : MenuId::None;
  if (event.kind == WindowEvent::Kind::RepaintRequest) RefreshWindow();
  RunCommand(command);
  if (event.kind == WindowEvent::Kind::FileDrop) OpenProgram(event.path);
  if (event.kind == WindowEvent::Kind::CloseRequest) RequestQuit();
  HandleInspectorEvent(event);
}

}  // namespace pellark
