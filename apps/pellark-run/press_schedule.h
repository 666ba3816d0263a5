#pragma once

#include <cstdint>
#include <vector>

#include "pellark-run/run_options.h"
#include "platform/keyboard.h"

namespace pellark {

// The keyboard of a run with nobody at it: keypad keys held by instruction number, as the
// --press options schedule them.
class PressSchedule final : public KeyboardService {
 public:
  explicit PressSchedule(const std::vector<KeyPress>& presses);

  // The next instruction is about to execute; the snapshot answers for it. Instructions are
  // numbered from 1.
  void BeginInstruction() { ++instruction_; }
  // A frame spent in a key wait: its instructions' time passes for the presses, though none
  // executes.
  void PassWaitingFrame(std::uint64_t instructions) { instruction_ += instructions; }

  bool SnapshotKeyboard() override {
    if (instruction_ >= nextChange_) UpdateSnapshot();
    return true;
  }

  // True when a press holds a key during the current instruction.
  bool AnyKeyHeld() const;
  // Starts the earliest press that has not begun yet: it is held from the current instruction
  // on for its duration. False when every press has begun.
  bool StartNextPress();

 private:
  struct Hold {
    int scanCode;
    std::uint64_t first;
    std::uint64_t count;
    std::uint64_t last;
  };

  static std::uint64_t LastOf(std::uint64_t first, std::uint64_t count);
  void UpdateSnapshot();

  // In order of their first instruction.
  std::vector<Hold> holds_;
  // The instruction numbers' clock: executed instructions and frames spent waiting.
  std::uint64_t instruction_ = 0;
  // The held keys stay as they are until this instruction.
  std::uint64_t nextChange_ = 0;
};

}  // namespace pellark
