#pragma once

#include <cstdint>
#include <set>

namespace pellark {

class Machine;

// The addresses at which a running machine stops before it fetches the instruction there, as
// the desktop's Inspector and pellark-run's --break set them.
class Breakpoints {
 public:
  // Adds the breakpoint, or removes it when it is there.
  void Toggle(std::int32_t address);
  void Add(std::int32_t address) { addresses_.insert(address); }
  void Remove(std::int32_t address) { addresses_.erase(address); }
  const std::set<std::int32_t>& Addresses() const { return addresses_; }

  // The machine resumes from where it stands: the next check lets the fetch there pass, so a
  // breakpoint at that address stops the machine again only when it is reached anew.
  void RunOn(const Machine& machine);
  // Checked before every cycle of a running machine: whether the cycle is to fetch at a
  // breakpoint, so that the machine stops before it.
  bool StopsBefore(const Machine& machine);

 private:
  static constexpr std::int32_t kNoAddress = -1;

  std::set<std::int32_t> addresses_;
  std::int32_t runOnFrom_ = kNoAddress;
};

}  // namespace pellark
