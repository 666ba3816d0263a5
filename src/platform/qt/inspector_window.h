#pragma once

#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QWidget>
#include <optional>
#include <string>

#include "platform/inspector_snapshot.h"
#include "platform/qt/memory_view.h"
#include "platform/qt/state_view.h"
#include "platform/qt/window_event_queue.h"

namespace pellark {

// The Inspector, a second top-level window: the machine's state as text, its memory, and the
// breakpoints and watchpoints. What the user does here only becomes events for the program; what it
// shows changes only with the next snapshot.
class InspectorWindow : public QWidget {
 public:
  explicit InspectorWindow(WindowEventQueue& events);

  // Shows the window; the first time beside the main window, as far as the screen allows.
  void Open(const QWidget& mainWindow);
  void Show(const InspectorSnapshot& snapshot);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void Push(WindowEvent::Kind kind, int address = 0, bool follow = false);
  void PushWatchpoint(WindowEvent::Kind kind, const QString& text);
  // The address typed into a field, or none, leaving the text selected for correction.
  std::optional<int> TakeAddress(QLineEdit& field);
  void ShowBreakpoints();
  void ShowWatchpoints();

  WindowEventQueue& events_;
  InspectorSnapshot shown_;
  bool placed_ = false;
  StateView* state_;
  QLineEdit* goTo_;
  QCheckBox* followPc_;
  MemoryView* memory_;
  QLineEdit* breakpointAddress_;
  QListWidget* breakpoints_;
  QLineEdit* watchpoint_;
  QListWidget* watchpoints_;
};

}  // namespace pellark
