#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/colour.h"
#include "platform/image.h"

namespace pellark {

// What one call of PollWindowEvent took from the window's queue.
struct WindowEvent {
  enum class Kind {
    None,            // nothing was pending
    MenuSelection,   // a menu item or its function key; menuId tells which
    CloseRequest,    // the close box; the window stays open, the caller decides
    RepaintRequest,  // the window system needs the window drawn again
    FileDrop,        // a file dropped on the window; path tells which (the first of several)
    // The Inspector's: it is open and ready for the next snapshot, once per displayed frame.
    InspectorDue,
    InspectorClosed,   // the user closed it
    BreakpointToggle,  // a breakpoint at address is to be added, or removed when it is there
    BreakpointRemove,  // the breakpoint at address is to go
    WatchpointToggle,  // the watchpoint text names is to be added, or removed when it is there
    WatchpointRemove,  // the watchpoint text names is to go
    MemoryGoTo,        // the memory view is to show address and stop following PC
    FollowPc,          // follow tells whether the memory view is to keep PC in sight
  };
  Kind kind = Kind::None;
  int menuId = 0;
  int address = 0;
  bool follow = false;
  // The dropped file's full path.
  std::string path = {};
  // A watchpoint as the user typed it or as the Inspector lists it.
  std::string text = {};
};

enum class MenuItemKind { Plain, Checkable };
// The one modifier held with a function key that BindModifiedShortcutKey binds.
enum class KeyModifier { Shift, Control };

// Keys beyond the function keys that can select an item.
enum class CommandKey { AltReturn, Escape };

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// The window, menu, list and dialog services of the one main window. With the keyboard read in
// it and the Inspector view, the front end uses nothing else of the desktop, so a headless
// implementation can stand in for it in tests.
class WindowSystem {
 public:
  virtual ~WindowSystem() = default;

  // Prepares the keyboard device; false when no keyboard state can be read.
  virtual bool OpenKeyboardDevice() = 0;

  // Opens the fixed-size main window, its outer top-left corner at (x, y), with a client area
  // of innerWidth × innerHeight; false on failure.
  virtual bool OpenMainWindow(int x, int y, int innerWidth, int innerHeight,
                              std::string_view title) = 0;
  // Resizes the client area, counted with the menu bar inside it, keeping the position.
  virtual void SetClientSize(int innerWidth, int innerHeight) = 0;
  // Takes at most one pending event without waiting.
  virtual WindowEvent PollWindowEvent() = 0;

  // Builds the menu bar top-down: titles open top-level menus, submenus nest until ended.
  virtual bool CreateMenuBar() = 0;
  virtual void AddMenuTitle(std::string_view text) = 0;
  virtual void BeginSubmenu(std::string_view text) = 0;
  virtual void EndSubmenu() = 0;
  virtual void AddMenuItem(int id, std::string_view text, MenuItemKind kind) = 0;
  virtual void AddMenuSeparator() = 0;
  // Check marks belong to the program: selecting an item never changes its mark by itself.
  virtual void SetItemCheck(int id, bool checked) = 0;
  virtual bool GetItemCheck(int id) const = 0;
  // A disabled item shows greyed and cannot be chosen; every item starts enabled.
  virtual void SetItemEnabled(int id, bool enabled) = 0;
  // The height in pixels of one line of the menu bar.
  virtual int GetMenuHeight() const = 0;
  // Makes function key F<functionKey> (1 to 12, no modifier) select the item with that id
  // wherever the keyboard focus is in the window.
  virtual void BindShortcutKey(int functionKey, int id) = 0;
  // Makes key select the item with that id as a function key does; id 0 unbinds it, and the
  // key is then the keyboard's again.
  virtual void BindCommandKey(CommandKey key, int id) = 0;

  // Full screen: the window covers its screen, its menu bar shows only while the pointer is at
  // the screen's top edge or a menu is open, the trace list is hidden, and every picture is
  // drawn centred on the background colour. Meanwhile SetClientSize only records the size the
  // window takes again when full screen ends, where it was before.
  virtual void SetFullScreen(bool on) = 0;
  // The colour around the picture where the window is larger than it.
  virtual void SetBackground(Colour colour) = 0;
  // The size of the screen the window is on, in the units of SetClientSize.
  virtual ScreenSize GetScreenSize() const = 0;

  // Makes F<functionKey> (1 to 12) with the modifier, and no other, held select the item with
  // that id; the same key without it keeps its own binding.
  virtual void BindModifiedShortcutKey(int functionKey, KeyModifier modifier, int id) = 0;

  // Replaces what the window shows at 0,0 below the menu bar with image stretched to
  // width × height, every image pixel a solid block; text drawn earlier disappears.
  virtual void DrawPicture(const Image& image, int width, int height) = 0;
  // Draws text over the picture at (x, y) in the window's default font, with a transparent
  // background, until the next DrawPicture.
  virtual void DrawText(int x, int y, std::string_view text, Colour colour) = 0;

  // The trace list: one list control at (x, y) below the menu bar, its lines appended in order.
  // The list never selects by itself; while it shows its last line it follows new lines, and
  // scrolled up it stays where the user is. Past its capacity each new line drops the oldest,
  // and the list shows how many lines it dropped.
  virtual void CreateListBox(int x, int y, int width, int height) = 0;
  virtual void AddListItem(std::string_view text) = 0;
  // Removes the list's last line; nothing happens without a list or a line.
  virtual void RemoveLastListItem() = 0;
  // Destroys the list control; nothing happens when there is none.
  virtual void FreeControl() = 0;

  // A modal message with a single OK button.
  virtual void ShowMessageBox(std::string_view title, std::string_view text) = 0;
  // Modal file dialogs starting in initialFolder. pattern is pairs of description and filter
  // joined by "|" ("Chip 8 Rom game|*.ch8"); empty for no filter. The result is the full path
  // chosen, or "" when the user cancels. The save dialog does not ask before replacing a file.
  virtual std::string AskFileToOpen(std::string_view title,
                                    const std::filesystem::path& initialFolder,
                                    std::string_view pattern) = 0;
  virtual std::string AskFileToSave(std::string_view title,
                                    const std::filesystem::path& initialFolder,
                                    std::string_view pattern) = 0;
};

}  // namespace pellark
