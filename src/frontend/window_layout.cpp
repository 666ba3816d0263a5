#include "frontend/front_end.h"
#include "platform/window_system.h"

namespace pellark {

void FrontEnd::ApplyWindowSize() {
  const int height = TraceEnabled == 1 ? 2 * DisplayHeight() + 2 : DisplayHeight();
  window_.SetClientSize(DisplayWidth(), height + MenuHeight);
}

void FrontEnd::RebuildTraceList() {
  CreateTraceList(DisplayHeight() + 2);
  ApplyWindowSize();
}

void FrontEnd::CreateTraceList(int top) {
  window_.FreeControl();
  window_.CreateListBox(0, top, DisplayWidth(), DisplayHeight());
  traceBuffer_.Restart();
}

void FrontEnd::LayOutWindow() {
  if (TraceEnabled == 1) {
    RebuildTraceList();
  } else {
    ApplyWindowSize();
  }
}

void FrontEnd::LayOutWindowForResolution() {
  if (replaying_) return;
  if (TraceEnabled == 0) {
    window_.SetClientSize(DisplayWidth(), DisplayHeight() + MenuHeight);
    return;
  }
  // The resolution switch has its own rule: a 1-pixel gap, and nothing added below the list,
  // whose bottom row therefore lies just outside the window.
  window_.SetClientSize(DisplayWidth(), 2 * DisplayHeight() + MenuHeight);
  CreateTraceList(DisplayHeight() + 1);
}

void FrontEnd::ToggleDebugger() {
  TraceEnabled = ToggleMark(MenuId::Debugger);
  machine_.SetTrace(TraceEnabled == 1 ? this : nullptr);
  // Switched off, the list keeps its lines and stays where it was, outside the smaller window.
  LayOutWindow();
}

void FrontEnd::BootImageUnreadable() {
  window_.ShowMessageBox("Pellark", "Error: Can't read the rom file");
}

}  // namespace pellark
