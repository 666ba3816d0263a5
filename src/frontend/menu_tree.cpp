#include "frontend/menu_tree.h"

#include <array>

#include "platform/window_system.h"

namespace pellark {
namespace {

void AddItem(WindowSystem& window, MenuId id, std::string_view label,
             MenuItemKind kind = MenuItemKind::Plain) {
  window.AddMenuItem(static_cast<int>(id), label, kind);
}

void AddCheckItem(WindowSystem& window, MenuId id, std::string_view label) {
  AddItem(window, id, label, MenuItemKind::Checkable);
}

}  // namespace

void BuildMenuTree(WindowSystem& window) {
  window.AddMenuTitle("File");
  window.BeginSubmenu("Load...");
  AddItem(window, MenuId::Load, "Load (F1)");
  AddItem(window, MenuId::Reload, "Reload (F2)");
  window.EndSubmenu();
  window.BeginSubmenu("Reset...");
  AddItem(window, MenuId::Reset, "Reset (F10)");
  AddItem(window, MenuId::ResetAt200, "Reset at 200h (F9)");
  window.EndSubmenu();
  AddItem(window, MenuId::SaveProgram, "Save program");
  window.AddMenuSeparator();
  AddItem(window, MenuId::About, "About...");
  window.AddMenuSeparator();
  AddItem(window, MenuId::Quit, "Quit");

  window.AddMenuTitle("Emulation");
  AddCheckItem(window, MenuId::Run, "Run (F5)");
  AddCheckItem(window, MenuId::Stop, "Stop (F6)");
  window.AddMenuSeparator();
  AddCheckItem(window, MenuId::Debugger, "Debugger");
  window.AddMenuSeparator();
  window.BeginSubmenu("Video");
  window.BeginSubmenu("Screen Size");
  AddCheckItem(window, MenuId::Scale1, "x1");
  AddCheckItem(window, MenuId::Scale2, "x2");
  AddCheckItem(window, MenuId::Scale3, "x3");
  AddCheckItem(window, MenuId::Scale4, "x4");
  window.EndSubmenu();
  AddCheckItem(window, MenuId::Antiflicker, "Antiflicker (F11)");
  AddCheckItem(window, MenuId::InvertColors, "Invert Colors (F12)");
  window.EndSubmenu();
  window.AddMenuSeparator();
  window.BeginSubmenu("Speed");
  window.BeginSubmenu("Predefined");
  AddItem(window, MenuId::Speed25, "25%");
  AddItem(window, MenuId::Speed50, "50%");
  AddItem(window, MenuId::Speed75, "75%");
  AddItem(window, MenuId::Speed100, "100%");
  window.EndSubmenu();
  AddItem(window, MenuId::SpeedDown, "Decrement 5% (F7)");
  AddItem(window, MenuId::SpeedUp, "Increment 5% (F8)");
  window.EndSubmenu();
}

void BindFunctionKeys(WindowSystem& window) {
  struct Binding {
    int functionKey;
    MenuId id;
  };
  // F10 resets and F9 resets at 200h: the keys do not follow the menu order.
  static constexpr std::array<Binding, 10> kBindings{{
      {1, MenuId::Load},
      {2, MenuId::Reload},
      {10, MenuId::Reset},
      {9, MenuId::ResetAt200},
      {5, MenuId::Run},
      {6, MenuId::Stop},
      {7, MenuId::SpeedDown},
      {8, MenuId::SpeedUp},
      {11, MenuId::Antiflicker},
      {12, MenuId::InvertColors},
  }};
  for (const auto& binding : kBindings)
    window.BindShortcutKey(binding.functionKey, static_cast<int>(binding.id));
}

}  // namespace pellark
