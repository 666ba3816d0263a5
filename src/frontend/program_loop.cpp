#include "core/instruction_pass.h"
#include "core/snapshot.h"
#include "frontend/front_end.h"
#include "platform/sound.h"
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
  // Also during a key wait, which a kept snapshot never holds.
  if (RewindPass()) return;
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
    history_.Record(machine_, keyboard_.Readings());
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
  history_.Record(machine_, keyboard_.Readings());
  RefreshWindow();
}

void FrontEnd::StepBack() {
  if (machine_.Running == 1 || machine_.WaitingForKey() || machine_.InstructionCount == 0) return;
  const std::uint64_t target = machine_.InstructionCount - 1;
  const StepHistory::Entry* kept = history_.LatestAtOrBefore(target);
  if (kept == nullptr) {
    ShowCaption("No earlier state is kept");
    return;
  }
  const std::uint64_t readingsNow = keyboard_.Readings();
  const int width = machine_.ScreenWidth();
  RestoreSnapshot(machine_, history_.SnapshotOf(*kept));
  keyboard_.BeginReplay(kept->keyReadings);
  machine_.SetTrace(nullptr);
  replaying_ = true;
  // To the end of the instruction before, a key wait included; never past the keys recorded.
  while ((machine_.InstructionCount < target || machine_.WaitingForKey()) &&
         keyboard_.Readings() < readingsNow) {
    RunInstructionPass(machine_, kNoPacing, FramePacing::Immediate);
  }
  replaying_ = false;
  keyboard_.EndReplay();
  machine_.SetTrace(TraceEnabled == 1 ? this : nullptr);
  history_.DropAfter(machine_.InstructionCount);
  machine_.Running = 0;
  breakpointStop_ = -1;
  if (TraceEnabled == 1) {
    traceBuffer_.RemoveLast();
    window_.RemoveLastListItem();
  }
  if (machine_.ScreenWidth() != width) LayOutWindowForResolution();
  RefreshWindow();
}

bool FrontEnd::RewindPass() {
  constexpr int kBackspace = 0x0E;
  // A running machine's readings keep the live keys fresh; a stopped or rewinding one reads
  // them here.
  if (machine_.Running == 0 || rewinding_) keyboard_.RefreshLive();
  const bool wasRewinding = rewinding_;
  rewinding_ = rewindMarked_ || keyboard_.LiveKeyHeld(kBackspace);
  if (!rewinding_) return false;
  // Going back in time is not heard: what the device still holds is dropped.
  if (!wasRewinding) sound_.Silence();
  // A machine at a kept snapshot goes to the one before; otherwise back to the latest kept.
  const std::uint64_t count = machine_.InstructionCount;
  if (count == 0 || !GoBackTo(count - 1)) {
    // Nothing older is kept: the rewind waits at the oldest state.
    SleepMilliseconds(1);
    return true;
  }
  // At normal speed backwards: one kept snapshot, a frame's worth, per frame.
  RefreshWindow();
  frameClock_.WaitForNextFrame();
  return true;
}

bool FrontEnd::GoBackTo(std::uint64_t instructionCount) {
  const StepHistory::Entry* kept = history_.LatestAtOrBefore(instructionCount);
  if (kept == nullptr) return false;
  const int running = machine_.Running;
  const int width = machine_.ScreenWidth();
  RestoreSnapshot(machine_, history_.SnapshotOf(*kept));
  machine_.Running = running;
  keyboard_.BeginReplay(kept->keyReadings);
  keyboard_.EndReplay();
  history_.DropAfter(machine_.InstructionCount);
  if (machine_.ScreenWidth() != width) LayOutWindowForResolution();
  return true;
}

void FrontEnd::ForgetHistory() {
  history_.Clear();
  keyboard_.Clear();
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
