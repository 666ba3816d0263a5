#include "frontend/front_end.h"
#include "platform/sound.h"
#include "platform/window_system.h"

namespace pellark {
namespace {

// The background of a beep for a program the database gives no buzzer colour.
constexpr Colour kDefaultBuzzerColour = RGB(64, 64, 64);

}  // namespace

void FrontEnd::FrameSound(std::span<const std::int16_t> samples) {
  // A stepped instruction's frame is not heard: only a running machine sounds.
  if (SoundEnabled == 1 && machine_.Running == 1 && machine_.Rules.audible)
    sound_.PlayFrame(samples);
}

void FrontEnd::ToggleSound() {
  if (!sound_.Available()) return;
  SoundEnabled = ToggleMark(MenuId::Sound);
  if (SoundEnabled == 0) sound_.Silence();
}

void FrontEnd::ToggleVisualBeep() {
  VisualBeep = ToggleMark(MenuId::VisualBeep);
  RefreshWindow();
}

void FrontEnd::ApplyVisualBeep(DisplayColours& colours) const {
  // Only where the timer would sound: the designed machine beeps neither way.
  if (VisualBeep == 0 || !machine_.Rules.audible || machine_.SoundTimer <= 0) return;
  colours.dark = programLook_ && ProgramInMemory->buzzerColour ? *ProgramInMemory->buzzerColour
                                                               : kDefaultBuzzerColour;
}

}  // namespace pellark
