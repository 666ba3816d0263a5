#include "core/instruction_pass.h"
#include "frontend/front_end.h"
#include "platform/byte_file.h"
#include "platform/sound.h"
#include "platform/window_system.h"

namespace pellark {
namespace {

std::string BuildCreditText() {
  return "Pellark " PELLARK_VERSION
         " (2026)\n"
         "A CHIP-8 and SUPER-CHIP interpreter for the Linux desktop.\n"
         "Written by the Pellark developers.\n"
         "\n"
         "Credits: see the README that comes with Pellark.\n"
         "Contact: the issue tracker of the Pellark project.";
}

}  // namespace

FrontEnd::FrontEnd(WindowSystem& window, KeyboardService& keyboard, InspectorView& inspector,
                   SoundService& sound, GamePad* pad)
    : window_(window),
      sound_(sound),
      padKeyboard_(keyboard, pad),
      keyboard_(padKeyboard_),
      machine_(*this, keyboard_),
      programs_(machine_, window),
      states_(machine_, window),
      compatibility_(machine_, window),
      inspector_(machine_, breakpoints_, watchpoints_, inspector, window) {}

bool FrontEnd::StartUp() {
  // Save program past the file-size limit must fail with its message, not end the program.
  ReportWriteFailuresAsErrors();
  if (!window_.OpenKeyboardDevice()) {
    window_.ShowMessageBox("Error", "Can't open DirectX 7");
    return false;
  }
  ScaleFactor = 2;
  SpeedPercent = 75;
  SpinCount = SpinCountForSpeed(SpeedPercent);
  CreditText = BuildCreditText();
  if (!window_.OpenMainWindow(130, 130, DisplayWidth(), DisplayHeight(), "Pellark")) return false;
  // Without a menu bar the program still runs, driven by its function keys.
  if (window_.CreateMenuBar()) BuildMenuTree(window_);
  MenuHeight = window_.GetMenuHeight();
  window_.SetItemCheck(static_cast<int>(MenuId::Scale2), true);
  window_.SetItemCheck(static_cast<int>(MenuId::Run), true);
  window_.SetItemCheck(static_cast<int>(MenuId::Stop), false);
  // Without a device to play on, "Sound" stays off and cannot be chosen.
  SoundEnabled = sound_.Available() ? 1 : 0;
  window_.SetItemCheck(static_cast<int>(MenuId::Sound), SoundEnabled == 1);
  window_.SetItemEnabled(static_cast<int>(MenuId::Sound), sound_.Available());
  compatibility_.ShowRules();
  BindFunctionKeys(window_);
  ApplyWindowSize();
  ReadBootImageIntoMachine();
  machine_.StartUp();
  RefreshWindow();
  return true;
}

}  // namespace pellark
