#include <algorithm>
#include <array>
#include <tuple>
#include <utility>
#include <vector>

#include "frontend/front_end.h"
#include "platform/text.h"
#include "platform/timing.h"
#include "platform/window_system.h"

namespace pellark {
namespace {

// The high-resolution display, which full screen's magnification is chosen for.
constexpr int kHighWidth = 128;
constexpr int kHighHeight = 64;

}  // namespace

void FrontEnd::RefreshWindow() {
  if (replaying_) return;
  const Image& picture = ShownPicture();
  window_.SetBackground(Colours().dark);
  window_.DrawPicture(picture, machine_.ScreenWidth() * ShownScale(),
                      machine_.ScreenHeight() * ShownScale());
  if (clip_.Recording()) clip_.AddPicture(picture, TickMilliseconds());
  // A caption stays over the pictures that follow it until it expires.
  if (!caption_.empty()) DrawCaption(caption_);
}

const Image& FrontEnd::PaintedPicture() {
  const DisplayPlane* second = machine_.Rules.xoChip ? &machine_.SecondPlane : nullptr;
  return picture_.Paint(machine_.Display, second, Colours());
}

const Image& FrontEnd::ShownPicture() {
  if (Smooth == 0) return PaintedPicture();
  return smooth_.Compose(PaintedPicture(), Colours().dark);
}

DisplayColours FrontEnd::Colours() const {
  DisplayColours colours;
  if (programLook_) {
    const std::vector<Colour>& own = ProgramInMemory->colours;
    if (own.size() >= 2) std::tie(colours.dark, colours.lit) = std::tie(own[0], own[1]);
    if (own.size() >= 4) std::tie(colours.second, colours.both) = std::tie(own[2], own[3]);
  }
  if (InvertColors == 1) {
    // XO-CHIP shows each of its four colours' complement; the others swap their two.
    if (machine_.Rules.xoChip) {
      colours = Complemented(colours);
    } else {
      std::swap(colours.dark, colours.lit);
    }
  }
  ApplyVisualBeep(colours);
  return colours;
}

void FrontEnd::ApplyProgramLook() {
  // The designed machine keeps its own colours and keys, whatever program it runs.
  programLook_ = ProgramInMemory.has_value() &&
                 compatibility_.ProfileInUse(ProgramInMemory) != Profile::Designed;
  std::vector<KeypadKey> keys;
  if (programLook_) {
    for (std::size_t k = 0; k < kProgramKeyScanCodes.size(); ++k) {
      if (const std::optional<std::int32_t> key = ProgramInMemory->keys[k])
        keys.push_back({kProgramKeyScanCodes[k], *key});
    }
  }
  machine_.SetExtraKeys(keys);
  padKeyboard_.UseProgramKeys(programLook_ ? ProgramInMemory->keys : ProgramKeys{});
  RefreshWindow();
}

void FrontEnd::ShowCaption(const std::string& text) {
  caption_ = text;
  captionTime_ = TickMilliseconds();
  RefreshWindow();
}

void FrontEnd::DrawCaption(const std::string& text) {
  // A black outline drawn one pixel around the green text keeps it readable on either colour.
  static constexpr std::array<std::array<int, 2>, 4> kOutline{{{0, 0}, {2, 0}, {0, 2}, {2, 2}}};
  for (const auto& [x, y] : kOutline) window_.DrawText(x, y, text, Black);
  window_.DrawText(1, 1, text, RGB(0, 255, 0));
}

void FrontEnd::SpriteDrawn(int plotted, int erased) {
  if (replaying_) return;
  // With Antiflicker a draw that only erased pixels is not shown by itself.
  if (Antiflicker == 0 || plotted != erased) RefreshWindow();
}

void FrontEnd::ShowFrame() {
  if (replaying_) return;
  // Only displayed frames move the fading on; other refreshes show it as it stands.
  if (Smooth == 1) smooth_.NextFrame(PaintedPicture(), Colours().dark);
  RefreshWindow();
  frameClock_.WaitForNextFrame();
}

void FrontEnd::ShowSpeed() {
  caption_.clear();
  RefreshWindow();
  DrawCaption(SpeedText());
}

std::string FrontEnd::SpeedText() const {
  return "Speed: " + DecimalText(SpeedPercent) + "%";
}

void FrontEnd::SetScale(MenuId command) {
  for (const ScaleItem& item : kScaleItems) {
    if (item.id == command) ScaleFactor = item.scaleFactor;
    window_.SetItemCheck(static_cast<int>(item.id), item.id == command);
  }
  LayOutWindow();
  RefreshWindow();
}

std::int32_t FrontEnd::ToggleMark(MenuId item) {
  const bool wasOn = window_.GetItemCheck(static_cast<int>(item));
  window_.SetItemCheck(static_cast<int>(item), !wasOn);
  return wasOn ? 0 : 1;
}

void FrontEnd::ToggleAntiflicker() {
  Antiflicker = ToggleMark(MenuId::Antiflicker);
}

int FrontEnd::ShownScale() const {
  if (FullScreen == 0) return ScaleFactor;
  // The largest whole magnification at which the high-resolution display fits, doubled for
  // the low resolution: a resolution switch keeps the picture's size.
  const ScreenSize screen = window_.GetScreenSize();
  const int high = std::max(std::min(screen.width / kHighWidth, screen.height / kHighHeight), 1);
  return high * kHighWidth / machine_.ScreenWidth();
}

void FrontEnd::ToggleFullScreen() {
  FullScreen = ToggleMark(MenuId::FullScreen);
  window_.SetFullScreen(FullScreen == 1);
  window_.BindCommandKey(CommandKey::Escape,
                         FullScreen == 1 ? static_cast<int>(MenuId::FullScreen) : 0);
  RefreshWindow();
}

void FrontEnd::ToggleSmooth() {
  Smooth = ToggleMark(MenuId::Smooth);
  smooth_.Clear();
  RefreshWindow();
}

void FrontEnd::ToggleInvertColors() {
  InvertColors = ToggleMark(MenuId::InvertColors);
  // Every pixel keeps its lit or dark state; only the colours swap.
  RefreshWindow();
}

}  // namespace pellark
