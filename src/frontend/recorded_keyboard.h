#pragma once

#include <cstdint>
#include <vector>

#include "platform/keyboard.h"

namespace pellark {

// The keyboard as the machine reads it: the live one, each change of its keys recorded with the
// number of the reading that saw it, or, while a stretch of the run is replayed, the recorded
// keys as each reading saw them then.
class RecordedKeyboard final : public KeyboardService {
 public:
  explicit RecordedKeyboard(KeyboardService& live) : live_(live) {}

  bool SnapshotKeyboard() override;

  // Whether the live keyboard held the key at its last snapshot, taken by the machine's last
  // reading or by RefreshLive.
  bool LiveKeyHeld(int scanCode) const { return live_.IsKeyHeld(scanCode) != 0; }
  // A snapshot of the live keyboard outside the machine's readings.
  void RefreshLive() { live_.SnapshotKeyboard(); }
  // Readings since the recording began.
  std::uint64_t Readings() const { return readings_; }
  // From the reading after readings on, the keys come from the recording.
  void BeginReplay(std::uint64_t readings);
  // Back to the live keyboard; what was recorded after the current reading is forgotten.
  void EndReplay();
  // Forgets every recorded change (after a reset or a loaded state).
  void Clear();

 private:
  struct Change {
    std::uint64_t reading;
    Snapshot keys;
  };

  KeyboardService& live_;
  std::vector<Change> changes_;
  std::uint64_t readings_ = 0;
  std::uint32_t liveGeneration_ = 0;
  bool replaying_ = false;
};

}  // namespace pellark
