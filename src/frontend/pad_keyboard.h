#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/game_pad.h"
#include "platform/keyboard.h"

namespace pellark {

// The keys of a program, by up, down, left, right, a and b, as the program database names them.
using ProgramKeys = std::array<std::optional<std::int32_t>, 6>;

// The PC keys, by scan code, that a pad's state stands for. With the program's own keys the
// d-pad and stick press the keys that stand for its up, down, left and right and the A and B
// buttons those for its a and b; without any, the d-pad presses keypad 2, 8, 4 and 6 and A
// presses 5.
std::vector<int> PadScanCodes(const PadState& pad, const ProgramKeys& programKeys);

// The keyboard with the game controllers playing on it: a pad's controls hold the PC keys that
// PadScanCodes gives, as if they were pressed. With no pad, or none plugged in, it is the
// keyboard alone.
class PadKeyboard final : public KeyboardService {
 public:
  // pad may be null: no controllers at all.
  PadKeyboard(KeyboardService& keyboard, GamePad* pad);

  // The program's keys; none for a program without them, or when its keys do not apply.
  void UseProgramKeys(const ProgramKeys& keys);
  bool SnapshotKeyboard() override;

 private:
  // Read far less often than the keyboard: every few milliseconds is quicker than any player.
  // The clock itself is looked at once in kSnapshotsPerClock snapshots, which come once per
  // instruction: at 100% speed a clock read per instruction would cost a good part of one.
  static constexpr std::uint32_t kPadInterval = 4;
  static constexpr std::uint32_t kSnapshotsPerClock = 16;

  KeyboardService& keyboard_;
  GamePad* pad_;
  ProgramKeys programKeys_{};
  PadState padState_;
  std::uint32_t padReadAt_ = 0;
  std::uint32_t snapshots_ = 0;
  // The keyboard snapshot the last one was built on; stale forces a rebuild.
  std::uint32_t keyboardGeneration_ = 0;
  bool stale_ = true;
};

}  // namespace pellark
