#include "frontend/step_history.h"

#include <algorithm>

namespace pellark {
namespace {

// A difference is a list of runs: the count of equal bytes skipped, the count of bytes that
// differ, then those bytes of the newer snapshot; counts are 7 bits a byte, low bits first.
void PutCount(std::vector<std::uint8_t>& out, std::size_t count) {
  while (count >= 0x80) {
    out.push_back(static_cast<std::uint8_t>(count | 0x80));
    count >>= 7;
  }
  out.push_back(static_cast<std::uint8_t>(count));
}

std::size_t GetCount(const std::uint8_t*& in) {
  std::size_t count = 0;
  for (int shift = 0;; shift += 7) {
    const std::uint8_t byte = *in++;
    count |= std::size_t{byte & 0x7Fu} << shift;
    if ((byte & 0x80) == 0) return count;
  }
}

std::vector<std::uint8_t> Difference(const Snapshot& base, const Snapshot& newer) {
  std::vector<std::uint8_t> out;
  std::size_t i = 0;
  while (i < newer.size()) {
    const std::size_t sameFrom = i;
    while (i < newer.size() && newer[i] == base[i]) ++i;
    if (i == newer.size()) break;
    const std::size_t differentFrom = i;
    while (i < newer.size() && newer[i] != base[i]) ++i;
    PutCount(out, differentFrom - sameFrom);
    PutCount(out, i - differentFrom);
    out.insert(out.end(), newer.begin() + static_cast<std::ptrdiff_t>(differentFrom),
               newer.begin() + static_cast<std::ptrdiff_t>(i));
  }
  return out;
}

Snapshot Applied(Snapshot base, const std::vector<std::uint8_t>& difference) {
  const std::uint8_t* in = difference.data();
  const std::uint8_t* const end = in + difference.size();
  std::size_t position = 0;
  while (in < end) {
    position += GetCount(in);
    const std::size_t count = GetCount(in);
    std::copy(in, in + count, base.begin() + static_cast<std::ptrdiff_t>(position));
    in += count;
    position += count;
  }
  return base;
}

}  // namespace

const StepHistory::Entry* StepHistory::LatestAtOrBefore(std::uint64_t instructionCount) const {
  const auto after = std::upper_bound(
      entries_.begin(), entries_.end(), instructionCount,
      [](std::uint64_t count, const Entry& entry) { return count < entry.instructionCount; });
  if (after == entries_.begin()) return nullptr;
  return &*std::prev(after);
}

Snapshot StepHistory::SnapshotOf(const Entry& entry) const {
  if (entry.keyFrame) return entry.bytes;
  auto keyFrame = std::find_if(entries_.rbegin(), entries_.rend(),
                               [&entry](const Entry& e) { return &e == &entry; });
  keyFrame = std::find_if(keyFrame, entries_.rend(), [](const Entry& e) { return e.keyFrame; });
  return Applied(keyFrame->bytes, entry.bytes);
}

void StepHistory::DropAfter(std::uint64_t instructionCount) {
  while (!entries_.empty() && entries_.back().instructionCount > instructionCount) {
    bytes_ -= entries_.back().bytes.size();
    entries_.pop_back();
  }
  // The next snapshot kept, the first after a gap, is a key frame.
  keyFrame_.clear();
  next_ = 0;
}

void StepHistory::Clear() {
  entries_.clear();
  keyFrame_.clear();
  bytes_ = 0;
  next_ = 0;
}

void StepHistory::Keep(const Machine& machine, std::uint64_t keyReadings) {
  Snapshot snapshot = TakeSnapshot(machine);
  // Other rules or another resolution give snapshots of another length: a key frame then.
  if (keyFrame_.size() != snapshot.size() || ++sinceKeyFrame_ >= kKeyFrameInterval) {
    keyFrame_ = snapshot;
    sinceKeyFrame_ = 0;
    entries_.push_back({machine.InstructionCount, keyReadings, true, std::move(snapshot)});
  } else {
    entries_.push_back(
        {machine.InstructionCount, keyReadings, false, Difference(keyFrame_, snapshot)});
  }
  bytes_ += entries_.back().bytes.size();
  while (bytes_ > kBudgetBytes && entries_.size() > 1) DropOldest();
  const std::uint64_t interval =
      machine.Rules.frameTiming
          ? static_cast<std::uint64_t>(std::max(machine.Rules.cyclesPerFrame, 1))
          : kDesignedInterval;
  next_ = machine.InstructionCount + interval;
}

void StepHistory::DropOldest() {
  // With its key frame go the differences from it.
  do {
    bytes_ -= entries_.front().bytes.size();
    entries_.pop_front();
  } while (!entries_.empty() && !entries_.front().keyFrame);
  // The key frame in use went: the next snapshot is one.
  if (entries_.empty()) keyFrame_.clear();
}

}  // namespace pellark
