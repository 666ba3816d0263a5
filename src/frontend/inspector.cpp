#include "frontend/front_end.h"
#include "platform/window_system.h"

namespace pellark {

void FrontEnd::ToggleInspector() {
  inspector_.SetOpen(ToggleMark(MenuId::Inspector) == 1);
}

void FrontEnd::HandleInspectorEvent(const WindowEvent& event) {
  if (event.kind == WindowEvent::Kind::InspectorDue) {
    inspector_.Show(PaceText(), breakpointStop_, watchStop_);
  } else {
    inspector_.HandleEvent(event);
  }
}

std::string FrontEnd::PaceText() const {
  if (!machine_.Rules.frameTiming) return SpeedText();
  return compatibility_.PaceText(ProgramInMemory);
}

}  // namespace pellark
