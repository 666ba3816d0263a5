#include "frontend/menu_tree.h"

#include "platform/window_system.h"

namespace pellark {

void BuildMenuTree(WindowSystem& window) {
  for (const MenuEntry& entry : kMenuTree) {
    const int id = static_cast<int>(entry.id);
    switch (entry.kind) {
      case MenuEntry::Kind::Title: window.AddMenuTitle(entry.label); break;
      case MenuEntry::Kind::Submenu: window.BeginSubmenu(entry.label); break;
      case MenuEntry::Kind::EndSubmenu: window.EndSubmenu(); break;
      case MenuEntry::Kind::Item: window.AddMenuItem(id, entry.label, MenuItemKind::Plain); break;
      case MenuEntry::Kind::CheckItem:
        window.AddMenuItem(id, entry.label, MenuItemKind::Checkable);
        break;
      case MenuEntry::Kind::Separator: window.AddMenuSeparator(); break;
    }
  }
}

void BindFunctionKeys(WindowSystem& window) {
  for (const FunctionKeyBinding& binding : kFunctionKeys)
    window.BindShortcutKey(binding.functionKey, static_cast<int>(binding.id));
  window.BindCommandKey(CommandKey::AltReturn, static_cast<int>(kAltReturnItem));
  for (const ModifiedFunctionKeyBinding& binding : kModifiedFunctionKeys) {
    window.BindModifiedShortcutKey(binding.functionKey, binding.modifier,
                                   static_cast<int>(binding.id));
  }
}

}  // namespace pellark
