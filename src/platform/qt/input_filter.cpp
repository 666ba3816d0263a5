#include "platform/qt/input_filter.h"

#include <QApplication>
#include <QWidget>

#include "platform/qt/scan_code.h"

namespace pellark {
namespace {

constexpr std::uint8_t kHeld = 0x80;
constexpr int kHighestFunctionKey = Qt::Key_F35 - Qt::Key_F1 + 1;

bool HasNativeXKeycodes() {
  const QString platform = QApplication::platformName();
  return platform == QLatin1String("xcb") || platform.startsWith(QLatin1String("wayland"));
}

}  // namespace

InputFilter::InputFilter(WindowEventQueue& events)
    : events_(events), nativeCodesAreXKeycodes_(HasNativeXKeycodes()) {}

void InputFilter::BindFunctionKey(int functionKey, int menuId) {
  if (functionKey < 1 || functionKey > kHighestFunctionKey) return;
  menuIdByKey_[Qt::Key_F1 + functionKey - 1] = menuId;
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
      TrackKey(keyEvent);
      if (!IsBoundKey(keyEvent)) break;
      // Auto-repeat repeats the selection, as holding a shortcut key does on every desktop.
      if (event->type() == QEvent::KeyPress) {
        events_.push_back({WindowEvent::Kind::MenuSelection, menuIdByKey_.at(keyEvent.key())});
      }
      return true;
    }
    case QEvent::ApplicationDeactivate:
      // Releases happening in another application never reach us.
      keyStates_.fill(0);
      ++generation_;
      break;
    default: break;
  }
  return QObject::eventFilter(watched, event);
}

void InputFilter::TrackKey(const QKeyEvent& event) {
  const int code = ScanCodeOf(event, nativeCodesAreXKeycodes_);
  if (code < 0) return;
  if (event.type() == QEvent::KeyPress) {
    // Typing an address into a field is not playing; releases still count, so no key sticks.
    const QWidget* focus = QApplication::focusWidget();
    if (focus != nullptr && focus->testAttribute(Qt::WA_InputMethodEnabled)) return;
    keyStates_[static_cast<std::size_t>(code)] = kHeld;
    ++generation_;
  } else if (!event.isAutoRepeat()) {
    // An auto-repeat release is followed at once by a press: the key is still down.
    keyStates_[static_cast<std::size_t>(code)] = 0;
    ++generation_;
  }
}

bool InputFilter::IsBoundKey(const QKeyEvent& event) const {
  constexpr Qt::KeyboardModifiers kModifiers =
      Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  // A modal dialog has the keys to itself: the program would only act after it closes.
  return (event.modifiers() & kModifiers) == 0 && menuIdByKey_.contains(event.key()) &&
         QApplication::activeModalWidget() == nullptr;
}

}  // namespace pellark
