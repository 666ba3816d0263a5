#include "core/breakpoints.h"

#include "core/machine.h"

namespace pellark {

void Breakpoints::Toggle(std::int32_t address) {
  if (addresses_.erase(address) == 0) addresses_.insert(address);
}

void Breakpoints::RunOn(const Machine& machine) {
  runOnFrom_ = machine.NextFetchAddress();
}

bool Breakpoints::StopsBefore(const Machine& machine) {
  // The common case, checked before every instruction, costs two comparisons.
  if (addresses_.empty() && runOnFrom_ == kNoAddress) return false;
  const std::int32_t next = machine.NextFetchAddress();
  const bool passing = next == runOnFrom_;
  runOnFrom_ = kNoAddress;
  return !passing && addresses_.contains(next);
}

}  // namespace pellark
