#pragma once

#include <string_view>

namespace pellark {

// What the machine asks of the front end that shows it: the window layout, the picture, the
// report of a missing boot image and the event handling that runs while an instruction waits
// for a key.
class MachineHost {
 public:
  virtual ~MachineHost() = default;

  // Sizes the window for the current display after a reset: with the trace shown the trace
  // list is created anew, empty, below the display.
  virtual void LayOutWindow() = 0;
  // Sizes the window after a resolution instruction, which has its own layout rule.
  virtual void LayOutWindowForResolution() = 0;
  // Shows the display image, magnified, in the window.
  virtual void RefreshWindow() = 0;
  // A full reset found no boot image to store (Machine::BootImage is empty): memory stays empty.
  virtual void BootImageUnreadable() = 0;
  // One round of event handling and menu commands; commands may reset the machine.
  virtual void PollEvents() = 0;
  // With frame timing, once per frame: shows the display and waits for the next frame.
  virtual void ShowFrame() = 0;
  // The program has ended itself (00FD) and the machine has stopped.
  virtual void ProgramEnded() = 0;
};

}  // namespace pellark
