#include "frontend/inspector_controller.h"

#include <algorithm>
#include <utility>

#include "frontend/menu_tree.h"
#include "platform/window_system.h"

namespace pellark {

void InspectorController::SetOpen(bool open) {
  if (open) {
    view_.OpenInspector();
  } else {
    view_.CloseInspector();
  }
}

void InspectorController::HandleEvent(const WindowEvent& event) {
  switch (event.kind) {
    case WindowEvent::Kind::InspectorClosed:
      window_.SetItemCheck(static_cast<int>(MenuId::Inspector), false);
      break;
    case WindowEvent::Kind::BreakpointToggle: breakpoints_.Toggle(event.address); break;
    case WindowEvent::Kind::BreakpointRemove: breakpoints_.Remove(event.address); break;
    case WindowEvent::Kind::WatchpointToggle: ToggleWatchpoint(event.text); break;
    case WindowEvent::Kind::WatchpointRemove:
      if (const auto watchpoint = ParseWatchpoint(event.text)) watchpoints_.Remove(*watchpoint);
      break;
    case WindowEvent::Kind::MemoryGoTo:
      followsPc_ = false;
      goTo_ = event.address;
      break;
    case WindowEvent::Kind::FollowPc: followsPc_ = event.follow; break;
    default: break;
  }
}

void InspectorController::ToggleWatchpoint(const std::string& text) {
  const std::optional<Watchpoint> watchpoint = ParseWatchpoint(text);
  if (!watchpoint) {
    window_.ShowMessageBox("Watchpoint",
                           "\"" + text +
                               "\" is no watchpoint: type a hexadecimal address, with a count of "
                               "cells after a colon if you like ($2F0 or $2F0:4), a register "
                               "V0 to VF, or I.");
    return;
  }
  watchpoints_.Toggle(*watchpoint);
}

void InspectorController::Show(std::string pace, std::int32_t breakpointStop,
                               const std::string& watchStop) {
  const Machine& m = machine_;
  InspectorSnapshot snapshot;
  snapshot.pc = m.PC;
  snapshot.nextFetch = m.NextFetchAddress();
  snapshot.i = m.I;
  snapshot.pcStep = m.PcStep;
  snapshot.skipNext = m.SkipNext;
  snapshot.registers = m.Registers;
  snapshot.stackPointer = m.StackPointer;
  std::copy_n(m.CallStack.begin(), snapshot.stack.size(), snapshot.stack.begin());
  snapshot.delayTimer = m.DelayTimer;
  snapshot.soundTimer = m.SoundTimer;
  snapshot.pendingKey = m.PendingKey;
  snapshot.keyStates = m.KeyStates;
  snapshot.screenWidth = m.ScreenWidth();
  snapshot.screenHeight = m.ScreenHeight();
  snapshot.xoChip = m.Rules.xoChip;
  snapshot.planeMask = m.PlaneMask;
  snapshot.pitch = m.Pitch;
  snapshot.audioPattern = m.AudioPattern;
  snapshot.pace = std::move(pace);
  snapshot.instructionCount = m.InstructionCount;
  snapshot.running = m.Running == 1;
  snapshot.breakpointStop = m.Running == 1 ? -1 : breakpointStop;
  snapshot.breakpoints.assign(breakpoints_.Addresses().begin(), breakpoints_.Addresses().end());
  if (m.Running == 0) snapshot.watchStop = watchStop;
  for (const Watchpoint& watchpoint : watchpoints_.All())
    snapshot.watchpoints.push_back(WatchpointText(watchpoint));
  snapshot.memory.resize(m.MemoryCells.Size());
  for (std::size_t address = 0; address < snapshot.memory.size(); ++address) {
    m.MemoryCells[address].Text().copy(snapshot.memory[address].data(), 2);
  }
  snapshot.followPc = followsPc_;
  snapshot.goTo = goTo_;
  goTo_ = -1;
  view_.ShowInspector(snapshot);
}

}  // namespace pellark
