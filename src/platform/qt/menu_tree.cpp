#include "platform/qt/menu_tree.h"

#include <QMenu>

namespace pellark {
namespace {

// Labels are shown as given: an "&" would otherwise mark a mnemonic and vanish.
QString Verbatim(const QString& label) {
  QString text = label;
  return text.replace(QLatin1Char('&'), QLatin1String("&&"));
}

}  // namespace

MenuTree::MenuTree(QMenuBar& bar, WindowEventQueue& events) : bar_(bar), events_(events) {}

void MenuTree::AddTitle(const QString& text) {
  openMenus_.clear();
  BeginSubmenu(text);
}

void MenuTree::BeginSubmenu(const QString& text) {
  QWidget& parent = CurrentMenu();
  auto* submenu = new QMenu(Verbatim(text), &parent);
  parent.addAction(submenu->menuAction());
  openMenus_.push_back(submenu);
}

void MenuTree::EndSubmenu() {
  if (!openMenus_.empty()) openMenus_.pop_back();
}

void MenuTree::AddItem(int id, const QString& text, MenuItemKind kind) {
  QWidget& menu = CurrentMenu();
  auto* action = new QAction(Verbatim(text), &menu);
  action->setCheckable(kind == MenuItemKind::Checkable);
  menu.addAction(action);
  // The first item with an id keeps it, as a search through the tree by id would find it.
  items_.try_emplace(id, Item{action, false});
  QObject::connect(action, &QAction::triggered, action, [this, id, action] {
    action->setChecked(IsChecked(id));
    events_.push_back({WindowEvent::Kind::MenuSelection, id});
  });
}

void MenuTree::AddSeparator() {
  QWidget& menu = CurrentMenu();
  auto* separator = new QAction(&menu);
  separator->setSeparator(true);
  menu.addAction(separator);
}

void MenuTree::SetCheck(int id, bool checked) {
  const auto item = items_.find(id);
  if (item == items_.end()) return;
  item->second.checked = checked;
  item->second.action->setChecked(checked);
}

bool MenuTree::IsChecked(int id) const {
  const auto item = items_.find(id);
  return item != items_.end() && item->second.checked;
}

void MenuTree::SetEnabled(int id, bool enabled) {
  const auto item = items_.find(id);
  if (item != items_.end()) item->second.action->setEnabled(enabled);
}

QWidget& MenuTree::CurrentMenu() {
  if (openMenus_.empty()) return bar_;
  return *openMenus_.back();
}

}  // namespace pellark
