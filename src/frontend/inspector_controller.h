#pragma once

#include <cstdint>
#include <string>

#include "core/breakpoints.h"
#include "core/machine.h"
#include "core/watchpoints.h"
#include "frontend/inspector_view.h"

namespace pellark {

class WindowSystem;
struct WindowEvent;

// The Inspector's side in the front end: opens and closes its view, answers its requests with
// snapshots of the machine, and carries out the user's actions in it.
class InspectorController {
 public:
  InspectorController(const Machine& machine, Breakpoints& breakpoints, Watchpoints& watchpoints,
                      InspectorView& view, WindowSystem& window)
      : machine_(machine),
        breakpoints_(breakpoints),
        watchpoints_(watchpoints),
        view_(view),
        window_(window) {}

  void SetOpen(bool open);
  // The user's actions in the Inspector, and its closing; other events pass by.
  void HandleEvent(const WindowEvent& event);
  // A snapshot for the view: pace is the text of the speed or the frame rate, breakpointStop
  // the breakpoint the machine stopped before (-1 for none), watchStop what the watchpoint that
  // stopped it found (empty for none).
  void Show(std::string pace, std::int32_t breakpointStop, const std::string& watchStop);

 private:
  const Machine& machine_;
  Breakpoints& breakpoints_;
  Watchpoints& watchpoints_;
  InspectorView& view_;
  WindowSystem& window_;
  // A watchpoint typed in the Inspector: toggled, or refused with a message.
  void ToggleWatchpoint(const std::string& text);
  bool followsPc_ = true;
  // A Go to for the next snapshot; -1 for none.
  std::int32_t goTo_ = -1;
};

}  // namespace pellark
