#include "headless/headless_window_system.h"

#include <algorithm>
#include <utility>

namespace pellark {

void HeadlessWindowSystem::SetKeyHeld(int scanCode, bool held) {
  keys_.at(static_cast<std::size_t>(scanCode)) = held ? 0x80 : 0;
}

bool HeadlessWindowSystem::SnapshotKeyboard() {
  StoreSnapshot(keys_);
  return true;
}

bool HeadlessWindowSystem::OpenMainWindow(int x, int y, int innerWidth, int innerHeight,
                                          std::string_view title) {
  if (!windowCanOpen_) return false;
  windowOpen_ = true;
  windowX_ = x;
  windowY_ = y;
  title_ = title;
  SetClientSize(innerWidth, innerHeight);
  return true;
}

void HeadlessWindowSystem::SetClientSize(int innerWidth, int innerHeight) {
  clientWidth_ = innerWidth;
  clientHeight_ = innerHeight;
}

WindowEvent HeadlessWindowSystem::PollWindowEvent() {
  if (events_.empty()) return {};
  WindowEvent event = std::move(events_.front());
  events_.pop_front();
  return event;
}

std::string HeadlessWindowSystem::MenuPath() const {
  std::string path;
  for (const auto& menu : openMenus_) path += (path.empty() ? "" : " > ") + menu;
  return path;
}

void HeadlessWindowSystem::AddMenuTitle(std::string_view text) {
  openMenus_.clear();
  menuEntries_.push_back({MenuEntry::Kind::Title, "", std::string(text)});
  openMenus_.emplace_back(text);
}

void HeadlessWindowSystem::BeginSubmenu(std::string_view text) {
  menuEntries_.push_back({MenuEntry::Kind::Submenu, MenuPath(), std::string(text)});
  openMenus_.emplace_back(text);
}

void HeadlessWindowSystem::EndSubmenu() {
  if (!openMenus_.empty()) openMenus_.pop_back();
}

void HeadlessWindowSystem::AddMenuItem(int id, std::string_view text, MenuItemKind kind) {
  menuEntries_.push_back({MenuEntry::Kind::Item, MenuPath(), std::string(text), id, kind});
}

void HeadlessWindowSystem::AddMenuSeparator() {
  menuEntries_.push_back({MenuEntry::Kind::Separator, MenuPath(), ""});
}

void HeadlessWindowSystem::SetItemCheck(int id, bool checked) {
  const bool exists =
      std::any_of(menuEntries_.begin(), menuEntries_.end(), [id](const MenuEntry& entry) {
        return entry.kind == MenuEntry::Kind::Item && entry.id == id;
      });
  std::erase(checkedIds_, id);
  if (exists && checked) checkedIds_.push_back(id);
}

bool HeadlessWindowSystem::GetItemCheck(int id) const {
  return std::find(checkedIds_.begin(), checkedIds_.end(), id) != checkedIds_.end();
}

void HeadlessWindowSystem::SetItemEnabled(int id, bool enabled) {
  std::erase(disabledIds_, id);
  if (!enabled) disabledIds_.push_back(id);
}

bool HeadlessWindowSystem::IsItemEnabled(int id) const {
  return std::find(disabledIds_.begin(), disabledIds_.end(), id) == disabledIds_.end();
}

void HeadlessWindowSystem::BindShortcutKey(int functionKey, int id) {
  const auto bound =
      std::find_if(shortcuts_.begin(), shortcuts_.end(),
                   [functionKey](const Shortcut& s) { return s.functionKey == functionKey; });
  if (bound != shortcuts_.end()) {
    bound->id = id;
  } else {
    shortcuts_.push_back({functionKey, id});
  }
}

void HeadlessWindowSystem::DrawPicture(const Image& image, int width, int height) {
  picture_.NewImage(width, height);
  picture_.BlitImage(image, 0, 0, width, height);
  texts_.clear();
  ++pictureCount_;
}

void HeadlessWindowSystem::DrawText(int x, int y, std::string_view text, Colour colour) {
  texts_.push_back({x, y, std::string(text), colour});
}

void HeadlessWindowSystem::CreateListBox(int x, int y, int width, int height) {
  list_.emplace(ListBox{x, y, width, height, {}});
  ++listsCreated_;
}

void HeadlessWindowSystem::AddListItem(std::string_view text) {
  if (list_) list_->lines.Append(text);
}

void HeadlessWindowSystem::ShowMessageBox(std::string_view title, std::string_view text) {
  messages_.push_back({std::string(title), std::string(text)});
}

std::string HeadlessWindowSystem::Answer(std::deque<std::string>& answers) {
  if (answers.empty()) return {};
  std::string answer = std::move(answers.front());
  answers.pop_front();
  return answer;
}

std::string HeadlessWindowSystem::AskFileToOpen(std::string_view title,
                                                const std::filesystem::path& initialFolder,
                                                std::string_view pattern) {
  openDialogs_.push_back({std::string(title), initialFolder, std::string(pattern)});
  return Answer(openAnswers_);
}

std::string HeadlessWindowSystem::AskFileToSave(std::string_view title,
                                                const std::filesystem::path& initialFolder,
                                                std::string_view pattern) {
  saveDialogs_.push_back({std::string(title), initialFolder, std::string(pattern)});
  return Answer(saveAnswers_);
}

}  // namespace pellark
