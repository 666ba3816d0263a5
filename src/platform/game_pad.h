#pragma once

namespace pellark {

// What the game controllers together hold: the d-pad or the left stick's directions, and the
// A and B buttons.
struct PadState {
  bool up = false;
  bool down = false;
  bool left = false;
  bool right = false;
  bool a = false;
  bool b = false;

  constexpr bool operator==(const PadState&) const = default;
};

// The game controllers plugged in, read together; none plugged in holds nothing.
class GamePad {
 public:
  virtual ~GamePad() = default;
  // Takes note of controllers plugged in or out since the last reading.
  virtual PadState Read() = 0;
};

}  // namespace pellark
