#include "frontend/step_history.h"

#include <algorithm>

namespace pellark {

const StepHistory::Entry* StepHistory::LatestAtOrBefore(std::uint64_t instructionCount) const {
  const auto after = std::upper_bound(
      entries_.begin(), entries_.end(), instructionCount,
      [](std::uint64_t count, const Entry& entry) { return count < entry.instructionCount; });
  return after == entries_.begin() ? nullptr : &*std::prev(after);
}

void StepHistory::DropAfter(std::uint64_t instructionCount) {
  while (!entries_.empty() && entries_.back().instructionCount > instructionCount) {
    bytes_ -= entries_.back().snapshot.size();
    entries_.pop_back();
  }
  // The next instruction is kept, as the first after a gap.
  next_ = 0;
}

void StepHistory::Clear() {
  entries_.clear();
  bytes_ = 0;
  next_ = 0;
}

void StepHistory::Keep(const Machine& machine, std::uint64_t keyReadings) {
  entries_.push_back({machine.InstructionCount, keyReadings, TakeSnapshot(machine)});
  bytes_ += entries_.back().snapshot.size();
  while (bytes_ > kBudgetBytes && entries_.size() > 1) {
    bytes_ -= entries_.front().snapshot.size();
    entries_.pop_front();
  }
  const std::uint64_t interval =
      machine.Rules.frameTiming
          ? static_cast<std::uint64_t>(std::max(machine.Rules.cyclesPerFrame, 1))
          : kDesignedInterval;
  next_ = machine.InstructionCount + interval;
}

}  // namespace pellark
