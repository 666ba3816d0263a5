#pragma once

#include <QKeyEvent>
#include <QObject>
#include <array>
#include <cstdint>
#include <map>
#include <utility>

#include "platform/qt/window_event_queue.h"

namespace pellark {

// Sees every key event of the application before any widget does: keeps the held state of
// every key by scan code, whichever widget has the focus except one that takes typed text,
// and turns bound function keys into menu selections that no widget receives (F2 must not
// start editing in a list).
class InputFilter : public QObject {
 public:
  explicit InputFilter(WindowEventQueue& events);

  // Makes F<functionKey> with exactly the modifier held (Qt::NoModifier for none) select menuId,
  // replacing an earlier binding of that key and modifier.
  void BindFunctionKey(int functionKey, Qt::KeyboardModifier modifier, int menuId);
  // Makes the key with exactly these modifiers select menuId; menuId 0 unbinds it.
  void BindKey(int key, Qt::KeyboardModifiers modifiers, int menuId);
  // Bit 7 of a byte is set while the key with that scan code is held.
  const std::array<std::uint8_t, 256>& KeyStates() const { return keyStates_; }
  // Changes whenever a key state does.
  std::uint32_t KeyStatesGeneration() const { return generation_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void TrackKey(const QKeyEvent& event);
  // The item the key selects; 0 when none, or when a modal dialog has the keys to itself.
  int BoundItem(const QKeyEvent& event) const;

  WindowEventQueue& events_;
  // By key and modifiers.
  std::map<std::pair<int, int>, int> menuIdByKey_;
  std::array<std::uint8_t, 256> keyStates_{};
  std::uint32_t generation_ = 0;
  const bool nativeCodesAreXKeycodes_;
};

}  // namespace pellark
