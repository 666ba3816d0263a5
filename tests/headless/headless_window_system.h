#pragma once

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "frontend/inspector_view.h"
#include "platform/keyboard.h"
#include "platform/line_store.h"
#include "platform/window_system.h"

namespace pellark {

// A window system without a display. It records what the front end shows and asks, and answers
// from a script, so that tests drive the whole front end with no desktop.
class HeadlessWindowSystem final : public WindowSystem,
                                   public KeyboardService,
                                   public InspectorView {
 public:
  struct MenuEntry {
    enum class Kind { Title, Submenu, Item, Separator };
    Kind kind;
    std::string path;  // the labels of the enclosing menus joined by " > "
    std::string label;
    int id = 0;
    MenuItemKind itemKind = MenuItemKind::Plain;
  };
  struct Shortcut {
    int functionKey;
    int id;
  };
  struct ModifiedShortcut {
    int functionKey;
    KeyModifier modifier;
    int id;
  };
  struct DrawnText {
    int x;
    int y;
    std::string text;
    Colour colour;
  };
  struct ListBox {
    int x;
    int y;
    int width;
    int height;
    LineStore lines;
  };
  struct DialogRequest {
    std::string title;
    std::filesystem::path folder;
    std::string pattern;
  };
  struct Message {
    std::string title;
    std::string text;
  };

  // The script.
  void QueueEvent(WindowEvent event) { events_.push_back(event); }
  void QueueMenuSelection(int id) { QueueEvent({WindowEvent::Kind::MenuSelection, id}); }
  void QueueFileDrop(std::string path) {
    QueueEvent({.kind = WindowEvent::Kind::FileDrop, .path = std::move(path)});
  }
  // The answers of the next file dialogs, in order; "" stands for Cancel.
  void QueueOpenAnswer(std::string path) { openAnswers_.push_back(std::move(path)); }
  void QueueSaveAnswer(std::string path) { saveAnswers_.push_back(std::move(path)); }
  void SetKeyHeld(int scanCode, bool held);
  void SetKeyboardAvailable(bool available) { keyboardAvailable_ = available; }
  void SetWindowCanOpen(bool canOpen) { windowCanOpen_ = canOpen; }
  void SetMenuBarCanBeCreated(bool canBeCreated) { menuBarCanBeCreated_ = canBeCreated; }
  static constexpr int kMenuHeight = 20;
  void SetScreenSize(ScreenSize size) { screen_ = size; }

  // What happened.
  bool WindowOpen() const { return windowOpen_; }
  int WindowX() const { return windowX_; }
  int WindowY() const { return windowY_; }
  const std::string& Title() const { return title_; }
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  const std::vector<MenuEntry>& MenuEntries() const { return menuEntries_; }
  const std::vector<Shortcut>& Shortcuts() const { return shortcuts_; }
  // The id a command key selects; 0 when unbound.
  int CommandKeyId(CommandKey key) const { return commandKeys_[static_cast<std::size_t>(key)]; }
  bool FullScreen() const { return fullScreen_; }
  Colour Background() const { return background_; }
  const std::vector<ModifiedShortcut>& ModifiedShortcuts() const { return modifiedShortcuts_; }
  // The picture as the window shows it: the last DrawPicture, stretched.
  const Image& Picture() const { return picture_; }
  int PictureCount() const { return pictureCount_; }
  const std::vector<DrawnText>& Texts() const { return texts_; }
  const std::optional<ListBox>& List() const { return list_; }
  bool InspectorOpen() const { return inspectorOpen_; }
  // The last snapshot the Inspector was given.
  const std::optional<InspectorSnapshot>& Inspected() const { return inspected_; }
  int ListsCreated() const { return listsCreated_; }
  const std::vector<Message>& Messages() const { return messages_; }
  void ClearMessages() { messages_.clear(); }
  const std::vector<DialogRequest>& OpenDialogs() const { return openDialogs_; }
  const std::vector<DialogRequest>& SaveDialogs() const { return saveDialogs_; }
  std::size_t PendingEvents() const { return events_.size(); }

  // WindowSystem
  bool SnapshotKeyboard() override;
  bool OpenKeyboardDevice() override { return keyboardAvailable_; }
  bool OpenMainWindow(int x, int y, int innerWidth, int innerHeight,
                      std::string_view title) override;
  void SetClientSize(int innerWidth, int innerHeight) override;
  WindowEvent PollWindowEvent() override;
  bool CreateMenuBar() override { return menuBarCanBeCreated_; }
  void AddMenuTitle(std::string_view text) override;
  void BeginSubmenu(std::string_view text) override;
  void EndSubmenu() override;
  void AddMenuItem(int id, std::string_view text, MenuItemKind kind) override;
  void AddMenuSeparator() override;
  void SetItemCheck(int id, bool checked) override;
  bool GetItemCheck(int id) const override;
  void SetItemEnabled(int id, bool enabled) override;
  bool IsItemEnabled(int id) const;
  int GetMenuHeight() const override { return kMenuHeight; }
  void BindShortcutKey(int functionKey, int id) override;
  void BindCommandKey(CommandKey key, int id) override {
    commandKeys_[static_cast<std::size_t>(key)] = id;
  }
  void SetFullScreen(bool on) override { fullScreen_ = on; }
  void SetBackground(Colour colour) override { background_ = colour; }
  ScreenSize GetScreenSize() const override { return screen_; }
  void BindModifiedShortcutKey(int functionKey, KeyModifier modifier, int id) override {
    modifiedShortcuts_.push_back({functionKey, modifier, id});
  }
  void DrawPicture(const Image& image, int width, int height) override;
  void DrawText(int x, int y, std::string_view text, Colour colour) override;
  void CreateListBox(int x, int y, int width, int height) override;
  void AddListItem(std::string_view text) override;
  void RemoveLastListItem() override {
    if (list_) list_->lines.RemoveLast();
  }
  void FreeControl() override { list_.reset(); }
  void OpenInspector() override { inspectorOpen_ = true; }
  void CloseInspector() override { inspectorOpen_ = false; }
  void ShowInspector(const InspectorSnapshot& snapshot) override { inspected_ = snapshot; }
  void ShowMessageBox(std::string_view title, std::string_view text) override;
  std::string AskFileToOpen(std::string_view title, const std::filesystem::path& initialFolder,
                            std::string_view pattern) override;
  std::string AskFileToSave(std::string_view title, const std::filesystem::path& initialFolder,
                            std::string_view pattern) override;

 private:
  std::string MenuPath() const;
  static std::string Answer(std::deque<std::string>& answers);

  std::deque<WindowEvent> events_;
  std::deque<std::string> openAnswers_;
  std::deque<std::string> saveAnswers_;
  Snapshot keys_{};
  bool keyboardAvailable_ = true;
  bool windowCanOpen_ = true;
  bool menuBarCanBeCreated_ = true;

  bool windowOpen_ = false;
  int windowX_ = 0;
  int windowY_ = 0;
  std::string title_;
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  std::vector<std::string> openMenus_;
  std::vector<MenuEntry> menuEntries_;
  std::vector<int> checkedIds_;
  std::vector<int> disabledIds_;
  std::vector<Shortcut> shortcuts_;
  std::array<int, 2> commandKeys_{};
  bool fullScreen_ = false;
  Colour background_ = Black;
  ScreenSize screen_{1920, 1080};
  std::vector<ModifiedShortcut> modifiedShortcuts_;
  Image picture_;
  int pictureCount_ = 0;
  std::vector<DrawnText> texts_;
  std::optional<ListBox> list_;
  int listsCreated_ = 0;
  bool inspectorOpen_ = false;
  std::optional<InspectorSnapshot> inspected_;
  std::vector<Message> messages_;
  std::vector<DialogRequest> openDialogs_;
  std::vector<DialogRequest> saveDialogs_;
};

}  // namespace pellark
