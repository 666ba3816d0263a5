#include "frontend/pad_keyboard.h"

#include "core/keypad_map.h"
#include "platform/timing.h"

namespace pellark {
namespace {

// Keypad keys pressed by up, down, left, right, a and b for a program without its own; b none.
constexpr std::array<int, 6> kDefaultKeypadKeys{0x2, 0x8, 0x4, 0x6, 0x5, -1};

}  // namespace

std::vector<int> PadScanCodes(const PadState& pad, const ProgramKeys& programKeys) {
  const std::array<bool, 6> held{pad.up, pad.down, pad.left, pad.right, pad.a, pad.b};
  bool ownKeys = false;
  for (const auto& key : programKeys) ownKeys |= key.has_value();
  std::vector<int> codes;
  for (std::size_t k = 0; k < held.size(); ++k) {
    if (!held[k]) continue;
    if (ownKeys) {
      if (programKeys[k]) codes.push_back(kProgramKeyScanCodes[k]);
    } else if (kDefaultKeypadKeys[k] >= 0) {
      codes.push_back(ScanCodeOfKeypadKey(kDefaultKeypadKeys[k]));
    }
  }
  return codes;
}

PadKeyboard::PadKeyboard(KeyboardService& keyboard, GamePad* pad)
    : keyboard_(keyboard), pad_(pad) {}

void PadKeyboard::UseProgramKeys(const ProgramKeys& keys) {
  programKeys_ = keys;
  stale_ = true;
}

bool PadKeyboard::SnapshotKeyboard() {
  const bool read = keyboard_.SnapshotKeyboard();
  if (pad_ != nullptr && ++snapshots_ % kSnapshotsPerClock == 0 &&
      TickMilliseconds() - padReadAt_ >= kPadInterval) {
    padReadAt_ = TickMilliseconds();
    const PadState pad = pad_->Read();
    stale_ |= pad != padState_;
    padState_ = pad;
  }
  if (!stale_ && keyboard_.SnapshotGeneration() == keyboardGeneration_) return read;
  stale_ = false;
  keyboardGeneration_ = keyboard_.SnapshotGeneration();
  Snapshot states{};
  for (std::size_t code = 0; code < states.size(); ++code)
    states[code] = static_cast<std::uint8_t>(keyboard_.IsKeyHeld(static_cast<int>(code)));
  for (const int code : PadScanCodes(padState_, programKeys_))
    states[static_cast<std::size_t>(code)] = 0x80;
  StoreSnapshot(states);
  return read;
}

}  // namespace pellark
