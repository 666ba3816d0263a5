#pragma once

#include <QKeyEvent>

namespace pellark {

// The scan code (key position, 0 to 255) of a key event, or -1 when it is unknown. Under X11
// and Wayland the native code is an X key code, the evdev scan code plus 8. Events without a
// native code (synthesised ones, platforms without a keyboard device) fall back on the key's
// name: a letter or digit key gets the scan code of its place on a US keyboard.
int ScanCodeOf(const QKeyEvent& event, bool nativeCodesAreXKeycodes);

}  // namespace pellark
