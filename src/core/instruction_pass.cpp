#include "core/instruction_pass.h"

#include <algorithm>

#include "core/machine.h"
#include "core/machine_host.h"

namespace pellark {
namespace {

// Process-wide and volatile so that the optimiser keeps every increment.
volatile std::int32_t spinCounter = 0;

inline void SpinWaitHint() {
#if defined(__x86_64__) || defined(__i386__)
  __builtin_ia32_pause();
#elif defined(__aarch64__) || defined(__arm__)
  asm volatile("yield");
#endif
}

}  // namespace

void BusyWait(std::int32_t spinCount) {
  spinCounter = 0;
  while (spinCounter <= spinCount) {
    SpinWaitHint();
    spinCounter = spinCounter + 1;
  }
}

void StepTimers(Machine& machine) {
  machine.TimerTick += 1;
  if (machine.TimerTick == 25) machine.TimerTick = 0;
  if (machine.TimerTick == 1) {
    machine.EndSoundFrame();
    machine.DelayTimer -= 3;
    machine.SoundTimer -= 1;
  }
  machine.DelayTimer = std::max(machine.DelayTimer, 0);
  machine.SoundTimer = std::max(machine.SoundTimer, 0);
}

bool RunInstructionPass(Machine& machine, std::int32_t spinCount, FramePacing framePacing) {
  PassPacing pacing{spinCount, framePacing};
  if (machine.WaitingForKey()) {
    if (!machine.ContinueKeyWait()) return false;
    pacing = machine.KeyWaitPacing;
  } else {
    machine.ExecuteInstruction();
    if (machine.WaitingForKey()) {
      machine.KeyWaitPacing = pacing;
      return false;
    }
  }
  if (machine.Rules.frameTiming) {
    machine.CountFrameCycle(pacing.framePacing);
  } else {
    BusyWait(pacing.spinCount);
    StepTimers(machine);
  }
  return true;
}

void Machine::CountFrameCycle(FramePacing framePacing) {
  FrameCycle += 1;
  if (FrameCycle >= Rules.cyclesPerFrame || FrameEndRequested == 1) EndFrame(framePacing);
}

void Machine::EndFrame(FramePacing framePacing) {
  FrameCycle = 0;
  FrameEndRequested = 0;
  EndSoundFrame();
  DelayTimer = std::max(DelayTimer - 1, 0);
  SoundTimer = std::max(SoundTimer - 1, 0);
  if (framePacing == FramePacing::RealTime) {
    host_->ShowFrame();
  } else {
    host_->RefreshWindow();
  }
}

void Machine::EndSoundFrame() {
  if (!Rules.audible || SoundTimer <= 0) {
    PatternPosition = 0;
    host_->FrameSound(kSilentFrame);
    return;
  }
  PlayPattern(AudioPattern, Pitch, PatternPosition, soundFrame_);
  host_->FrameSound(soundFrame_);
}

}  // namespace pellark
