#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <vector>

#include "core/machine.h"
#include "core/snapshot.h"

namespace pellark {

// Snapshots of the run so far, from which Step back runs forward to the instruction before:
// one per frame in frame timing, one per 10 000 instructions as designed (where a snapshot every
// 1 000 would slow the unpaced loop by a third), the oldest dropped past a budget of bytes. Every
// 60th snapshot is kept whole, a key frame; the others only as their differences from the key
// frame before them, which are small, since a frame changes little of the machine.
class StepHistory {
 public:
  struct Entry {
    std::uint64_t instructionCount;
    // The keyboard readings made before it, from which the recorded keys replay.
    std::uint64_t keyReadings;
    // Whole, or the runs of bytes that differ from the key frame before.
    bool keyFrame;
    std::vector<std::uint8_t> bytes;
  };

  static constexpr std::uint64_t kDesignedInterval = 10000;
  static constexpr std::size_t kKeyFrameInterval = 60;
  static constexpr std::size_t kBudgetBytes = std::size_t{48} << 20;

  // Keeps a snapshot when the machine has run a frame's or 10 000 instructions since the last
  // one; inline, as the main loop asks after every instruction.
  void Record(const Machine& machine, std::uint64_t keyReadings) {
    if (machine.InstructionCount < next_ || machine.WaitingForKey()) return;
    Keep(machine, keyReadings);
  }
  // The latest entry taken at or before the instruction count; null when none is kept.
  const Entry* LatestAtOrBefore(std::uint64_t instructionCount) const;
  // The whole snapshot of an entry this history holds.
  Snapshot SnapshotOf(const Entry& entry) const;
  // Forgets the snapshots after the instruction count (a run gone back past them).
  void DropAfter(std::uint64_t instructionCount);
  void Clear();
  std::size_t Bytes() const { return bytes_; }

 private:
  void Keep(const Machine& machine, std::uint64_t keyReadings);
  void DropOldest();

  std::deque<Entry> entries_;
  // The key frame the entries since it differ from; empty before the first.
  Snapshot keyFrame_;
  std::size_t sinceKeyFrame_ = 0;
  std::size_t bytes_ = 0;
  // The instruction count from which the next snapshot is due.
  std::uint64_t next_ = 0;
};

}  // namespace pellark
