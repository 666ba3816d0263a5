#pragma once

namespace pellark {

class WindowSystem;

// The ids that menu selections and function keys deliver.
enum class MenuId : int {
  None = 0,
  Load = 1,
  Reload = 2,
  Reset = 3,
  ResetAt200 = 4,
  SaveProgram = 5,
  About = 6,
  Quit = 7,
  Run = 8,
  Stop = 9,
  Debugger = 10,
  Scale1 = 11,
  Scale2 = 12,
  Scale3 = 13,
  Scale4 = 14,
  Antiflicker = 15,
  InvertColors = 16,
  Speed25 = 17,
  Speed50 = 18,
  Speed75 = 19,
  Speed100 = 20,
  SpeedDown = 21,
  SpeedUp = 22,
};

// Builds the "File" and "Emulation" menus with every item, separator and submenu.
void BuildMenuTree(WindowSystem& window);

// Binds the ten function keys to their items.
void BindFunctionKeys(WindowSystem& window);

}  // namespace pellark
