#include <array>

#include "frontend/front_end.h"
#include "platform/text.h"
#include "platform/window_system.h"

namespace pellark {

void FrontEnd::RefreshWindow() {
  window_.DrawPicture(picture_.Paint(machine_.Display, InvertColors == 1), DisplayWidth(),
                      DisplayHeight());
}

void FrontEnd::SpriteDrawn(int plotted, int erased) {
  // With Antiflicker a draw that only erased pixels is not shown by itself.
  if (Antiflicker == 0 || plotted != erased) RefreshWindow();
}

void FrontEnd::ShowFrame() {
  RefreshWindow();
  frameClock_.WaitForNextFrame();
}

void FrontEnd::ShowSpeed() {
  RefreshWindow();
  const std::string text = SpeedText();
  // A black outline drawn one pixel around the green text keeps it readable on either colour.
  static constexpr std::array<std::array<int, 2>, 4> kOutline{{{0, 0}, {2, 0}, {0, 2}, {2, 2}}};
  for (const auto& [x, y] : kOutline) window_.DrawText(x, y, text, Black);
  window_.DrawText(1, 1, text, RGB(0, 255, 0));
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
