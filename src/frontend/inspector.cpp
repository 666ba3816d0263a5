#include <algorithm>

#include "frontend/front_end.h"
#include "frontend/inspector_view.h"
#include "platform/text.h"
#include "platform/window_system.h"

namespace pellark {

static_assert(InspectorSnapshot::kCells == kLastCell + 1);

void FrontEnd::ToggleInspector() {
  if (ToggleMark(MenuId::Inspector) == 1) {
    inspectorView_.OpenInspector();
  } else {
    inspectorView_.CloseInspector();
  }
}

void FrontEnd::HandleInspectorEvent(const WindowEvent& event) {
  switch (event.kind) {
    case WindowEvent::Kind::InspectorDue: ShowInspector(); break;
    case WindowEvent::Kind::InspectorClosed:
      window_.SetItemCheck(static_cast<int>(MenuId::Inspector), false);
      break;
    case WindowEvent::Kind::BreakpointToggle: breakpoints_.Toggle(event.address); break;
    case WindowEvent::Kind::BreakpointRemove: breakpoints_.Remove(event.address); break;
    case WindowEvent::Kind::MemoryGoTo:
      inspectorFollowsPc_ = false;
      inspectorGoTo_ = event.address;
      break;
    case WindowEvent::Kind::FollowPc: inspectorFollowsPc_ = event.follow; break;
    default: break;
  }
}

void FrontEnd::ShowInspector() {
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
  snapshot.screenWidth = m.ScreenWidth;
  snapshot.screenHeight = m.ScreenHeight;
  snapshot.pace = PaceText();
  snapshot.instructionCount = m.InstructionCount;
  snapshot.running = m.Running == 1;
  snapshot.breakpointStop = m.Running == 1 ? -1 : breakpointStop_;
  snapshot.breakpoints.assign(breakpoints_.Addresses().begin(), breakpoints_.Addresses().end());
  for (std::size_t address = 0; address < snapshot.memory.size(); ++address) {
    m.MemoryCells[address].Text().copy(snapshot.memory[address].data(), 2);
  }
  snapshot.followPc = inspectorFollowsPc_;
  snapshot.goTo = inspectorGoTo_;
  inspectorGoTo_ = -1;
  inspectorView_.ShowInspector(snapshot);
}

std::string FrontEnd::PaceText() const {
  if (!machine_.Rules.frameTiming) return SpeedText();
  return compatibility_.PaceText(ProgramInMemory);
}

}  // namespace pellark
