#include <array>
#include <tuple>
#include <utility>
#include <vector>

#include "frontend/front_end.h"
#include "platform/text.h"
#include "platform/timing.h"
#include "platform/window_system.h"

namespace pellark {

void FrontEnd::RefreshWindow() {
  if (replaying_) return;
  const DisplayPlane* second = machine_.Rules.xoChip ? &machine_.SecondPlane : nullptr;
  window_.DrawPicture(picture_.Paint(machine_.Display, second, Colours()), DisplayWidth(),
                      DisplayHeight());
  // A caption stays over the pictures that follow it until it expires.
  if (!caption_.empty()) DrawCaption(caption_);
}

DisplayColours FrontEnd::Colours() const {
  DisplayColours colours;
  if (programLook_) {
    const std::vector<Colour>& own = ProgramInMemory->colours;
    if (own.size() >= 2) std::tie(colours.dark, colours.lit) = std::tie(own[0], own[1]);
    if (own.size() >= 4) std::tie(colours.second, colours.both) = std::tie(own[2], own[3]);
  }
  if (InvertColors == 0) return colours;
  // XO-CHIP shows each of its four colours' complement; the others swap their two.
  if (machine_.Rules.xoChip) return Complemented(colours);
  std::swap(colours.dark, colours.lit);
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

void FrontEnd::ToggleInvertColors() {
  InvertColors = ToggleMark(MenuId::InvertColors);
  // Every pixel keeps its lit or dark state; only the colours swap.
  RefreshWindow();
}

}  // namespace pellark
