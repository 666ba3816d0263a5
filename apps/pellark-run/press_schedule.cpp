#include "pellark-run/press_schedule.h"

#include <algorithm>
#include <limits>

#include "core/keypad_map.h"

namespace pellark {
namespace {

constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();

}  // namespace

PressSchedule::PressSchedule(const std::vector<KeyPress>& presses) {
  for (const KeyPress& press : presses) {
    holds_.push_back({ScanCodeOfKeypadKey(press.key), press.first, press.count,
                      LastOf(press.first, press.count)});
  }
  std::stable_sort(holds_.begin(), holds_.end(),
                   [](const Hold& a, const Hold& b) { return a.first < b.first; });
}

std::uint64_t PressSchedule::LastOf(std::uint64_t first, std::uint64_t count) {
  return count - 1 > kNever - first ? kNever : first + (count - 1);
}

bool PressSchedule::AnyKeyHeld() const {
  return std::any_of(holds_.begin(), holds_.end(), [this](const Hold& hold) {
    return hold.first <= instruction_ && instruction_ <= hold.last;
  });
}

bool PressSchedule::StartNextPress() {
  const auto next = std::find_if(holds_.begin(), holds_.end(),
                                 [this](const Hold& hold) { return hold.first > instruction_; });
  if (next == holds_.end()) return false;
  // Every earlier press has begun, so the order by first instruction is kept.
  next->first = instruction_;
  next->last = LastOf(next->first, next->count);
  nextChange_ = 0;
  return true;
}

void PressSchedule::UpdateSnapshot() {
  Snapshot held{};
  nextChange_ = kNever;
  for (const Hold& hold : holds_) {
    if (instruction_ < hold.first) {
      nextChange_ = std::min(nextChange_, hold.first);
    } else if (instruction_ <= hold.last) {
      held[static_cast<std::size_t>(hold.scanCode)] = 0x80;
      if (hold.last != kNever) nextChange_ = std::min(nextChange_, hold.last + 1);
    }
  }
  StoreSnapshot(held);
}

}  // namespace pellark
