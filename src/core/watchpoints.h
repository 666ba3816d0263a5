#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "core/machine.h"
#include "core/machine_host.h"
#include "trace/trace_log.h"

namespace pellark {

// What a watchpoint watches: a range of cells, one of V0 to VF, or I.
struct Watchpoint {
  enum class Target : std::uint8_t { Cells, Register, I };
  Target target = Target::Cells;
  // The first cell, or the register's number.
  std::int32_t first = 0;
  // How many cells from first; 1 for a register and for I.
  std::int32_t count = 1;

  auto operator<=>(const Watchpoint&) const = default;
};

// "ADDR" or "ADDR:N" (hexadecimal address as the trace writes it, N cells in decimal, within
// memory), "V0" to "VF", or "I"; none for anything else.
std::optional<Watchpoint> ParseWatchpoint(std::string_view text);
// The watchpoint as ParseWatchpoint reads it: "$2F0:4", "$2F0", "V3", "I".
std::string WatchpointText(const Watchpoint& watchpoint);

// Why a watchpoint stopped the machine: the instruction about to run and what it would change.
struct WatchStop {
  // The instruction's trace line ("$0206: Add V3,$01").
  std::string instruction;
  // What it writes, old and new value: "V3 $12 -> $13", "$0300 empty -> 5", "I $200 -> $2F0".
  // A key wait's register gets its key only when the wait ends: "V3 $12 -> key".
  std::string change;

  std::string Text() const {
    std::string text = instruction;
    return text.append(": ").append(change);
  }
};

// The watchpoints at which a running machine stops before the instruction that writes a cell
// in a watched range, or changes a watched register or I, as the desktop's Inspector and
// pellark-run's --watch set them. The instruction is tried out on a copy of the machine, so the
// machine itself is left as it was before it.
class Watchpoints {
 public:
  void Toggle(const Watchpoint& watchpoint);
  void Add(const Watchpoint& watchpoint) { watchpoints_.insert(watchpoint); }
  void Remove(const Watchpoint& watchpoint) { watchpoints_.erase(watchpoint); }
  const std::set<Watchpoint>& All() const { return watchpoints_; }

  // The machine resumes from where it stands: the next check lets its instruction pass.
  void RunOn() { passNext_ = true; }
  // Checked before every instruction of a running machine that is not waiting for a key: why
  // the machine is to stop before the instruction, or none. Decodes the next instruction, as
  // its fetch would.
  std::optional<WatchStop> StopsBefore(Machine& machine);

 private:
  // Collects the trial's trace line, which names the instruction.
  struct LineCatcher final : TraceLog {
    void AddTraceLine(std::string_view line) override { this->line = line; }
    std::string line;
  };

  // Whether the instruction at the next fetch may write what a watchpoint watches, so that
  // only those instructions are tried out.
  bool MayWriteWatched(Machine& machine) const;
  std::optional<std::string> Change(const Machine& before, const Watchpoint& watchpoint) const;

  std::set<Watchpoint> watchpoints_;
  bool passNext_ = false;
  // The trial's host shows nothing.
  MachineHost quietHost_;
  LineCatcher line_;
  std::vector<std::int32_t> cellWrites_;
  std::optional<Machine> trial_;
};

}  // namespace pellark
