#pragma once

#include "platform/inspector_snapshot.h"

namespace pellark {

// The Inspector: a second, resizable window showing the machine's state. While it is open it
// asks for snapshots with InspectorDue window events and reports the user's actions as events.
class InspectorView {
 public:
  virtual ~InspectorView() = default;

  virtual void OpenInspector() = 0;
  // Closes it without an InspectorClosed event.
  virtual void CloseInspector() = 0;
  virtual void ShowInspector(const InspectorSnapshot& snapshot) = 0;
};

}  // namespace pellark
