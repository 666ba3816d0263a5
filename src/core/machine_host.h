#pragma once

#include <cstdint>
#include <span>

namespace pellark {

// What the machine tells the front end that shows it. Every call has nothing to do by default,
// so a host without a window overrides only what it needs.
class MachineHost {
 public:
  virtual ~MachineHost() = default;

  // Sizes the window for the current display after a reset: with the trace shown the trace
  // list is created anew, empty, below the display.
  virtual void LayOutWindow() {}
  // Sizes the window after a resolution instruction, which has its own layout rule.
  virtual void LayOutWindowForResolution() {}
  // Shows the display image, magnified, in the window.
  virtual void RefreshWindow() {}
  // A full reset found no boot image to load.
  virtual void BootImageUnreadable() {}
  // With frame timing, once per frame: shows the display and waits for the next frame.
  virtual void ShowFrame() {}
  // A sprite has been drawn without frame timing: plotted bits, and how many of them erased a
  // lit pixel. The host decides whether the window shows it now.
  virtual void SpriteDrawn(int /*plotted*/, int /*erased*/) {}
  // The sound of a frame that ends, kSoundSamplesPerFrame samples at kSoundSampleRate; also,
  // silent, at each timer step without frame timing.
  virtual void FrameSound(std::span<const std::int16_t> /*samples*/) {}
  // The program has ended itself (00FD) and the machine has stopped.
  virtual void ProgramEnded() {}
};

}  // namespace pellark
