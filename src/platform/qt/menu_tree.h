#pragma once

#include <QAction>
#include <QMenuBar>
#include <QString>
#include <unordered_map>
#include <vector>

#include "platform/qt/window_event_queue.h"
#include "platform/window_system.h"

namespace pellark {

// Builds the tree of a menu bar top-down and keeps the items' check marks. The marks belong
// to the program: Qt flips a checkable action when it is chosen, so the mark is put back at
// once and the choice only reports the item's id.
class MenuTree {
 public:
  MenuTree(QMenuBar& bar, WindowEventQueue& events);

  // Goes back to the bar and opens a new top-level menu.
  void AddTitle(const QString& text);
  void BeginSubmenu(const QString& text);
  void EndSubmenu();
  void AddItem(int id, const QString& text, MenuItemKind kind);
  void AddSeparator();

  // Unknown ids are ignored, and read as unchecked.
  void SetCheck(int id, bool checked);
  bool IsChecked(int id) const;
  void SetEnabled(int id, bool enabled);

 private:
  struct Item {
    QAction* action;
    bool checked;
  };

  QWidget& CurrentMenu();

  QMenuBar& bar_;
  WindowEventQueue& events_;
  // The open submenus from the bar down; empty while items go into the bar itself.
  std::vector<QMenu*> openMenus_;
  std::unordered_map<int, Item> items_;
};

}  // namespace pellark
