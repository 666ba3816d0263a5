#pragma once

#include <array>
#include <cstdint>

namespace pellark {

// The keyboard read as 256 state bytes by scan code; a key is held when bit 7 of its byte is
// set. Scan codes name key positions (2 to 5 for the digits 1 to 4, 0x10 for Q, 0x1E for A,
// 0x2C for Z), whatever the keyboard layout.
class KeyboardService {
 public:
  virtual ~KeyboardService() = default;

  // Refreshes the snapshot without waiting; false on failure, which keeps the last snapshot.
  virtual bool SnapshotKeyboard() = 0;

  // 128 when the key is held in the snapshot, else 0.
  int IsKeyHeld(int scanCode) const {
    if (scanCode < 0 || scanCode >= static_cast<int>(snapshot_.size())) return 0;
    return snapshot_[static_cast<std::size_t>(scanCode)] & 0x80;
  }

  // Changes whenever a snapshot holds other key states than the one before, so that a reader
  // of the snapshot need not look again at what has not changed.
  std::uint32_t SnapshotGeneration() const { return generation_; }

  using Snapshot = std::array<std::uint8_t, 256>;

 protected:
  // What a snapshot saw; IsKeyHeld answers from it until the next one.
  void StoreSnapshot(const Snapshot& states) {
    if (states == snapshot_) return;
    snapshot_ = states;
    ++generation_;
  }

 private:
  Snapshot snapshot_{};
  std::uint32_t generation_ = 0;
};

}  // namespace pellark
