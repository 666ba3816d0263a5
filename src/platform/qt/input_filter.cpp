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

void InputFilter::BindFunctionKey(int functionKey, Qt::KeyboardModifier modifier, int menuId) {
  if (functionKey < 1 || functionKey > kHighestFunctionKey) return;
  BindKey(Qt::Key_F1 + functionKey - 1, modifier, menuId);
}

void InputFilter::BindKey(int key, Qt::KeyboardModifiers modifiers, int menuId) {
  const std::pair<int, int> chord{key, modifiers.toInt()};
  if (menuId == 0) {
    menuIdByKey_.erase(chord);
  } else {
    menuIdByKey_[chord] = menuId;
  }
}

bool InputFilter::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto& keyEvent = static_cast<const QKeyEvent&>(*event);
      TrackKey(keyEvent);
      const int menuId = BoundItem(keyEvent);
      if (menuId == 0) break;
      // Auto-repeat repeats the selection, as holding a shortcut key does on every desktop.
      if (event->type() == QEvent::KeyPress) {
        events_.push_back({WindowEvent::Kind::MenuSelection, menuId});
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

int InputFilter::BoundItem(const QKeyEvent& event) const {
  constexpr Qt::KeyboardModifiers kModifiers =
      Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
  // A modal dialog has the keys to itself: the program would only act after it closes.
  if (QApplication::activeModalWidget() != nullptr) return 0;
  const auto bound = menuIdByKey_.find({event.key(), (event.modifiers() & kModifiers).toInt()});
  return bound == menuIdByKey_.end() ? 0 : bound->second;
}

}  // namespace pellark
