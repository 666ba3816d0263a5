#pragma once

#include <array>
#include <string_view>

#include "core/machine_rules.h"
#include "platform/window_system.h"

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
  // Items beside the original tree take the ids from 23 on.
  Scale6 = 23,
  Scale8 = 24,
  ProfileAutomatic = 25,
  ProfileDesigned = 26,
  ProfileChip8 = 27,
  ProfileSuperChip = 28,
  ProfileXoChip = 29,
  SwitchShift = 30,
  SwitchMemory = 31,
  SwitchJump = 32,
  SwitchClip = 33,
  SwitchVblank = 34,
  SwitchLogic = 35,
  Cycles7 = 36,
  Cycles10 = 37,
  Cycles15 = 38,
  Cycles20 = 39,
  Cycles30 = 40,
  Cycles50 = 41,
  Cycles100 = 42,
  Cycles200 = 43,
  Cycles500 = 44,
  Cycles1000 = 45,
  Cycles10000 = 46,
  Inspector = 47,
  Step = 48,
  SaveTrace = 49,
  ProfileModernChip8 = 50,
  ProfileSuperChip10 = 51,
  SwitchIncrement = 52,
  ProgramInformation = 53,
  Cycles20000 = 54,
  Cycles50000 = 55,
  Cycles100000 = 56,
  Cycles200000 = 57,
  Sound = 58,
  VisualBeep = 59,
  FullScreen = 60,
  Smooth = 61,
  SavePicture = 62,
  RecordClip = 63,
  StopRecording = 64,
  Rewind = 65,
  StepBack = 66,
  SaveState = 67,
  LoadState = 68,
  QuickSave1 = 69,
  QuickSave2 = 70,
  QuickLoad1 = 71,
  QuickLoad2 = 72,
  RecordKeys = 73,
  StopRecordingKeys = 74,
  ReplayKeys = 75,
};

// The "Compatibility" item by which the program database decides the rules.
inline constexpr std::string_view kAutomaticLabel = "Automatic";

// One step of building the menu bar, in the order of creation.
struct MenuEntry {
  enum class Kind {
    Title,       // a top-level menu; ends every open submenu
    Submenu,     // opens a nested menu in the current one
    EndSubmenu,  // back to the enclosing menu
    Item,
    CheckItem,  // an item with a check mark
    Separator,
  };
  Kind kind;
  std::string_view label = {};
  MenuId id = MenuId::None;
};

// The "File" and "Emulation" menus with every item, separator and submenu.
inline constexpr std::array kMenuTree{
    MenuEntry{MenuEntry::Kind::Title, "File"},
    MenuEntry{MenuEntry::Kind::Submenu, "Load..."},
    MenuEntry{MenuEntry::Kind::Item, "Load (F1)", MenuId::Load},
    MenuEntry{MenuEntry::Kind::Item, "Reload (F2)", MenuId::Reload},
    MenuEntry{MenuEntry::Kind::EndSubmenu},
    MenuEntry{MenuEntry::Kind::Submenu, "Reset..."},
    MenuEntry{MenuEntry::Kind::Item, "Reset (F10)", MenuId::Reset},
    MenuEntry{MenuEntry::Kind::Item, "Reset at 200h (F9)", MenuId::ResetAt200},
    MenuEntry{MenuEntry::Kind::EndSubmenu},
    MenuEntry{MenuEntry::Kind::Item, "Save program", MenuId::SaveProgram},
    MenuEntry{MenuEntry::Kind::Item, "Program information...", MenuId::ProgramInformation},
    MenuEntry{MenuEntry::Kind::Separator},
    MenuEntry{MenuEntry::Kind::Item, "Save picture...", MenuId::SavePicture},
    MenuEntry{MenuEntry::Kind::CheckItem, "Record clip...", MenuId::RecordClip},
    MenuEntry{MenuEntry::Kind::Item, "Stop recording", MenuId::StopRecording},
    MenuEntry{MenuEntry::Kind::Item, "Save state...", MenuId::SaveState},
    MenuEntry{MenuEntry::Kind::Item, "Load state...", MenuId::LoadState},
    MenuEntry{MenuEntry::Kind::Submenu, "Quick states"},
    MenuEntry{MenuEntry::Kind::Item, "Save slot 1 (Shift+F1)", MenuId::QuickSave1},
    MenuEntry{MenuEntry::Kind::Item, "Save slot 2 (Shift+F2)", MenuId::QuickSave2},
    MenuEntry{MenuEntry::Kind::Item, "Load slot 1 (Ctrl+F1)", MenuId::QuickLoad1},
    MenuEntry{MenuEntry::Kind::Item, "Load slot 2 (Ctrl+F2)", MenuId::QuickLoad2},
    MenuEntry{MenuEntry::Kind::EndSubmenu},
    MenuEntry{MenuEntry::Kind::Separator},
    MenuEntry{MenuEntry::Kind::Item, "About...", MenuId::About},
    MenuEntry{MenuEntry::Kind::Separator},
    MenuEntry{MenuEntry::Kind::Item, "Quit", MenuId::Quit},
    MenuEntry{MenuEntry::Kind::Title, "Emulation"},
    MenuEntry{MenuEntry::Kind::CheckItem, "Run (F5)", MenuId::Run},
    MenuEntry{MenuEntry::Kind::CheckItem, "Stop (F6)", MenuId::Stop},
    MenuEntry{MenuEntry::Kind::Item, "Step (F3)", MenuId::Step},
    MenuEntry{MenuEntry::Kind::Item, "Step back (Shift+F3)", MenuId::StepBack},
    MenuEntry{MenuEntry::Kind::CheckItem, "Rewind (Backspace)", MenuId::Rewind},
    MenuEntry{MenuEntry::Kind::Separator},
    MenuEntry{MenuEntry::Kind::CheckItem, "Debugger", MenuId::Debugger},
    MenuEntry{MenuEntry::Kind::CheckItem, "Inspector (F4)", MenuId::Inspector},
    MenuEntry{MenuEntry::Kind::Item, "Save trace...", MenuId::SaveTrace},
    MenuEntry{MenuEntry::Kind::Separator},
    MenuEntry{MenuEntry::Kind::Item, "Record keys...", MenuId::RecordKeys},
    MenuEntry{MenuEntry::Kind::Item, "Stop recording keys", MenuId::StopRecordingKeys},
    MenuEntry{MenuEntry::Kind::Item, "Replay keys...", MenuId::ReplayKeys},
    MenuEntry{MenuEntry::Kind::Separator},
    MenuEntry{MenuEntry::Kind::Submenu, "Video"},
    MenuEntry{MenuEntry::Kind::Submenu, "Screen Size"},
    MenuEntry{MenuEntry::Kind::CheckItem, "x1", MenuId::Scale1},
    MenuEntry{MenuEntry::Kind::CheckItem, "x2", MenuId::Scale2},
    MenuEntry{MenuEntry::Kind::CheckItem, "x3", MenuId::Scale3},
    MenuEntry{MenuEntry::Kind::CheckItem, "x4", MenuId::Scale4},
    MenuEntry{MenuEntry::Kind::CheckItem, "x6", MenuId::Scale6},
    MenuEntry{MenuEntry::Kind::CheckItem, "x8", MenuId::Scale8},
    MenuEntry{MenuEntry::Kind::EndSubmenu},
    MenuEntry{MenuEntry::Kind::CheckItem, "Full screen (Alt+Return)", MenuId::FullScreen},
    MenuEntry{MenuEntry::Kind::CheckItem, "Antiflicker (F11)", MenuId::Antiflicker},
    MenuEntry{MenuEntry::Kind::CheckItem, "Invert Colors (F12)", MenuId::InvertColors},
    MenuEntry{MenuEntry::Kind::CheckItem, "Visual beep", MenuId::VisualBeep},
    MenuEntry{MenuEntry::Kind::CheckItem, "Smooth", MenuId::Smooth},
    MenuEntry{MenuEntry::Kind::EndSubmenu},
    MenuEntry{MenuEntry::Kind::CheckItem, "Sound", MenuId::Sound},
    MenuEntry{MenuEntry::Kind::Separator},
    MenuEntry{MenuEntry::Kind::Submenu, "Speed"},
    MenuEntry{MenuEntry::Kind::Submenu, "Predefined"},
    MenuEntry{MenuEntry::Kind::Item, "25%", MenuId::Speed25},
    MenuEntry{MenuEntry::Kind::Item, "50%", MenuId::Speed50},
    MenuEntry{MenuEntry::Kind::Item, "75%", MenuId::Speed75},
    MenuEntry{MenuEntry::Kind::Item, "100%", MenuId::Speed100},
    MenuEntry{MenuEntry::Kind::EndSubmenu},
    MenuEntry{MenuEntry::Kind::Item, "Decrement 5% (F7)", MenuId::SpeedDown},
    MenuEntry{MenuEntry::Kind::Item, "Increment 5% (F8)", MenuId::SpeedUp},
    MenuEntry{MenuEntry::Kind::Submenu, "Cycles per frame"},
    MenuEntry{MenuEntry::Kind::CheckItem, "7", MenuId::Cycles7},
    MenuEntry{MenuEntry::Kind::CheckItem, "10", MenuId::Cycles10},
    MenuEntry{MenuEntry::Kind::CheckItem, "15", MenuId::Cycles15},
    MenuEntry{MenuEntry::Kind::CheckItem, "20", MenuId::Cycles20},
    MenuEntry{MenuEntry::Kind::CheckItem, "30", MenuId::Cycles30},
    MenuEntry{MenuEntry::Kind::CheckItem, "50", MenuId::Cycles50},
    MenuEntry{MenuEntry::Kind::CheckItem, "100", MenuId::Cycles100},
    MenuEntry{MenuEntry::Kind::CheckItem, "200", MenuId::Cycles200},
    MenuEntry{MenuEntry::Kind::CheckItem, "500", MenuId::Cycles500},
    MenuEntry{MenuEntry::Kind::CheckItem, "1000", MenuId::Cycles1000},
    MenuEntry{MenuEntry::Kind::CheckItem, "10000", MenuId::Cycles10000},
    MenuEntry{MenuEntry::Kind::CheckItem, "20000", MenuId::Cycles20000},
    MenuEntry{MenuEntry::Kind::CheckItem, "50000", MenuId::Cycles50000},
    MenuEntry{MenuEntry::Kind::CheckItem, "100000", MenuId::Cycles100000},
    MenuEntry{MenuEntry::Kind::CheckItem, "200000", MenuId::Cycles200000},
    MenuEntry{MenuEntry::Kind::EndSubmenu},
    MenuEntry{MenuEntry::Kind::EndSubmenu},
    MenuEntry{MenuEntry::Kind::Separator},
    MenuEntry{MenuEntry::Kind::Submenu, "Compatibility"},
    MenuEntry{MenuEntry::Kind::CheckItem, kAutomaticLabel, MenuId::ProfileAutomatic},
    MenuEntry{MenuEntry::Kind::CheckItem, EntryOf(Profile::Designed).label,
              MenuId::ProfileDesigned},
    MenuEntry{MenuEntry::Kind::CheckItem, EntryOf(Profile::Chip8).label, MenuId::ProfileChip8},
    MenuEntry{MenuEntry::Kind::CheckItem, EntryOf(Profile::ModernChip8).label,
              MenuId::ProfileModernChip8},
    MenuEntry{MenuEntry::Kind::CheckItem, EntryOf(Profile::SuperChip10).label,
              MenuId::ProfileSuperChip10},
    MenuEntry{MenuEntry::Kind::CheckItem, EntryOf(Profile::SuperChip).label,
              MenuId::ProfileSuperChip},
    MenuEntry{MenuEntry::Kind::CheckItem, EntryOf(Profile::XoChip).label, MenuId::ProfileXoChip},
    MenuEntry{MenuEntry::Kind::Separator},
    MenuEntry{MenuEntry::Kind::CheckItem, "shift: shifts work on Vx", MenuId::SwitchShift},
    MenuEntry{MenuEntry::Kind::CheckItem, "increment: Fx55 and Fx65 add x to I",
              MenuId::SwitchIncrement},
    MenuEntry{MenuEntry::Kind::CheckItem, "memory: Fx55 and Fx65 keep I", MenuId::SwitchMemory},
    MenuEntry{MenuEntry::Kind::CheckItem, "jump: Bxnn adds Vx", MenuId::SwitchJump},
    MenuEntry{MenuEntry::Kind::CheckItem, "clip: sprites stop at the edges", MenuId::SwitchClip},
    MenuEntry{MenuEntry::Kind::CheckItem, "vblank: a draw ends the frame", MenuId::SwitchVblank},
    MenuEntry{MenuEntry::Kind::CheckItem, "logic: Or, And, Xor clear VF", MenuId::SwitchLogic},
    MenuEntry{MenuEntry::Kind::EndSubmenu},
};

struct ScaleItem {
  MenuId id;
  int scaleFactor;
};

// The "Screen Size" items; choosing one marks it and clears the marks of all the others.
inline constexpr std::array kScaleItems{
    ScaleItem{MenuId::Scale1, 1}, ScaleItem{MenuId::Scale2, 2}, ScaleItem{MenuId::Scale3, 3},
    ScaleItem{MenuId::Scale4, 4}, ScaleItem{MenuId::Scale6, 6}, ScaleItem{MenuId::Scale8, 8},
};

// The "Compatibility" items of the profiles.
struct ProfileItem {
  MenuId id;
  Profile profile;
};
inline constexpr std::array kProfileItems{
    ProfileItem{MenuId::ProfileDesigned, Profile::Designed},
    ProfileItem{MenuId::ProfileChip8, Profile::Chip8},
    ProfileItem{MenuId::ProfileModernChip8, Profile::ModernChip8},
    ProfileItem{MenuId::ProfileSuperChip10, Profile::SuperChip10},
    ProfileItem{MenuId::ProfileSuperChip, Profile::SuperChip},
    ProfileItem{MenuId::ProfileXoChip, Profile::XoChip},
};

// The "Compatibility" items of the switches; each flips its own.
struct SwitchItem {
  MenuId id;
  bool Switches::*field;
};
inline constexpr std::array kSwitchItems{
    SwitchItem{MenuId::SwitchShift, &Switches::shift},
    SwitchItem{MenuId::SwitchIncrement, &Switches::increment},
    SwitchItem{MenuId::SwitchMemory, &Switches::memory},
    SwitchItem{MenuId::SwitchJump, &Switches::jump},
    SwitchItem{MenuId::SwitchClip, &Switches::clip},
    SwitchItem{MenuId::SwitchVblank, &Switches::vblank},
    SwitchItem{MenuId::SwitchLogic, &Switches::logic},
};

// The "Cycles per frame" items.
struct CyclesItem {
  MenuId id;
  int cyclesPerFrame;
};
inline constexpr std::array kCyclesItems{
    CyclesItem{MenuId::Cycles7, 7},           CyclesItem{MenuId::Cycles10, 10},
    CyclesItem{MenuId::Cycles15, 15},         CyclesItem{MenuId::Cycles20, 20},
    CyclesItem{MenuId::Cycles30, 30},         CyclesItem{MenuId::Cycles50, 50},
    CyclesItem{MenuId::Cycles100, 100},       CyclesItem{MenuId::Cycles200, 200},
    CyclesItem{MenuId::Cycles500, 500},       CyclesItem{MenuId::Cycles1000, 1000},
    CyclesItem{MenuId::Cycles10000, 10000},   CyclesItem{MenuId::Cycles20000, 20000},
    CyclesItem{MenuId::Cycles50000, 50000},   CyclesItem{MenuId::Cycles100000, 100000},
    CyclesItem{MenuId::Cycles200000, 200000},
};

// The entry of items whose id is item; null when none has it.
template <typename Items>
constexpr const typename Items::value_type* ItemWithId(const Items& items, MenuId item) {
  for (const auto& entry : items) {
    if (entry.id == item) return &entry;
  }
  return nullptr;
}

struct FunctionKeyBinding {
  int functionKey;  // F1 to F12
  MenuId id;
};

// In the order they are bound. F10 resets and F9 resets at 200h: the keys do not follow the
// menu order.
inline constexpr std::array kFunctionKeys{
    FunctionKeyBinding{1, MenuId::Load},         FunctionKeyBinding{2, MenuId::Reload},
    FunctionKeyBinding{10, MenuId::Reset},       FunctionKeyBinding{9, MenuId::ResetAt200},
    FunctionKeyBinding{5, MenuId::Run},          FunctionKeyBinding{6, MenuId::Stop},
    FunctionKeyBinding{7, MenuId::SpeedDown},    FunctionKeyBinding{8, MenuId::SpeedUp},
    FunctionKeyBinding{11, MenuId::Antiflicker}, FunctionKeyBinding{12, MenuId::InvertColors},
    FunctionKeyBinding{3, MenuId::Step},         FunctionKeyBinding{4, MenuId::Inspector},
};

// Alt+Return enters and leaves full screen; Esc only leaves it, and is bound only meanwhile.
inline constexpr MenuId kAltReturnItem = MenuId::FullScreen;

struct ModifiedFunctionKeyBinding {
  int functionKey;  // F1 to F12
  KeyModifier modifier;
  MenuId id;
};

// Function keys with a modifier, beside the designed ones.
inline constexpr std::array kModifiedFunctionKeys{
    ModifiedFunctionKeyBinding{1, KeyModifier::Shift, MenuId::QuickSave1},
    ModifiedFunctionKeyBinding{2, KeyModifier::Shift, MenuId::QuickSave2},
    ModifiedFunctionKeyBinding{1, KeyModifier::Control, MenuId::QuickLoad1},
    ModifiedFunctionKeyBinding{2, KeyModifier::Control, MenuId::QuickLoad2},
    ModifiedFunctionKeyBinding{3, KeyModifier::Shift, MenuId::StepBack},
};

// Builds the menu bar's menus from kMenuTree.
void BuildMenuTree(WindowSystem& window);

// Binds the function keys of kFunctionKeys, and Alt+Return, to their items.
void BindFunctionKeys(WindowSystem& window);

}  // namespace pellark
