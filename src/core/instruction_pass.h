#pragma once

#include <cstdint>

#include "core/machine.h"

namespace pellark {

// The busy-wait length of a speed setting: (100 - speed) × 2500 counter increments.
constexpr std::int32_t SpinCountForSpeed(std::int32_t speedPercent) {
  return (100 - speedPercent) * 2500;
}

// Counts a process-wide counter from 0 until it exceeds spinCount: spinCount + 1 increments,
// none for kNoPacing. No clock is read; each increment carries the processor's spin-wait hint.
void BusyWait(std::int32_t spinCount);

// Counts the timers down every 25 instructions: the delay timer by 3, the sound timer by 1. Each
// step ends a frame of sound (silent: the designed machine makes none).
void StepTimers(Machine& machine);

// What one main-loop pass does while the machine runs: the instruction, then the pacing and
// the timers. By instruction count, the busy-wait and the timer step; with frame timing, the
// frame's count, whose end steps the timers, shows the display and waits for the next frame,
// unless the pass is one the user steps (FramePacing::Immediate). While a key wait is in
// progress a pass is one round of the wait instead, and the instruction's pacing, as its own
// pass asked, follows when the wait ends. True when an instruction finished in this pass.
bool RunInstructionPass(Machine& machine, std::int32_t spinCount,
                        FramePacing framePacing = FramePacing::RealTime);

}  // namespace pellark
