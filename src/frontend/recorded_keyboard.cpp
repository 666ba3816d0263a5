#include "frontend/recorded_keyboard.h"

#include <algorithm>

namespace pellark {

bool RecordedKeyboard::SnapshotKeyboard() {
  ++readings_;
  if (replaying_) {
    // The last change at or before this reading; none recorded means no key held.
    const auto after = std::upper_bound(
        changes_.begin(), changes_.end(), readings_,
        [](std::uint64_t reading, const Change& change) { return reading < change.reading; });
    StoreSnapshot(after == changes_.begin() ? Snapshot{} : std::prev(after)->keys);
    return true;
  }
  const bool read = live_.SnapshotKeyboard();
  if (live_.SnapshotGeneration() == liveGeneration_ && !changes_.empty()) return read;
  liveGeneration_ = live_.SnapshotGeneration();
  Snapshot keys{};
  for (std::size_t code = 0; code < keys.size(); ++code) {
    keys[code] = static_cast<std::uint8_t>(live_.IsKeyHeld(static_cast<int>(code)));
  }
  changes_.push_back({readings_, keys});
  StoreSnapshot(keys);
  return read;
}

void RecordedKeyboard::BeginReplay(std::uint64_t readings) {
  readings_ = readings;
  replaying_ = true;
}

void RecordedKeyboard::EndReplay() {
  replaying_ = false;
  std::erase_if(changes_, [this](const Change& change) { return change.reading > readings_; });
  // The live keys are recorded afresh at the next reading.
  liveGeneration_ = live_.SnapshotGeneration() - 1;
}

void RecordedKeyboard::Clear() {
  changes_.clear();
  liveGeneration_ = live_.SnapshotGeneration() - 1;
}

}  // namespace pellark
