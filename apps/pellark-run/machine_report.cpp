#include "pellark-run/machine_report.h"

#include <array>
#include <cstdio>

namespace pellark {

std::string StateLine(const Machine& machine) {
  char text[128];
  int length = std::snprintf(text, sizeof text, "PC=%03X I=%03X SP=%d DT=%d ST=%d V=",
                             static_cast<unsigned>(machine.PC), static_cast<unsigned>(machine.I),
                             machine.StackPointer, machine.DelayTimer, machine.SoundTimer);
  for (std::size_t v = 0; v < machine.Registers.size(); ++v) {
    length += std::snprintf(text + length, sizeof text - static_cast<std::size_t>(length),
                            v == 0 ? "%02X" : " %02X", static_cast<unsigned>(machine.Registers[v]));
  }
  return std::string(text, static_cast<std::size_t>(length));
}

std::string XoChipStateLine(const Machine& machine) {
  std::string line = "PLANE=" + std::to_string(machine.PlaneMask) +
                     " PITCH=" + std::to_string(machine.Pitch) + " PATTERN=";
  char digits[3];
  for (const std::uint8_t byte : machine.AudioPattern) {
    std::snprintf(digits, sizeof digits, "%02X", static_cast<unsigned>(byte));
    line += digits;
  }
  return line;
}

std::string MemoryLine(const Machine& machine, const MemoryRange& range) {
  std::string line;
  for (std::int32_t address = range.address; address < range.address + range.count; ++address) {
    if (address != range.address) line += ' ';
    const HexByte cell = machine.Cell(address);
    line += cell.IsEmpty() ? std::string_view("_") : cell.Text();
  }
  return line;
}

std::string ScreenText(const Machine& machine) {
  // A pixel of one plane prints as ever; the second plane's own values as + and @.
  static constexpr char kPixels[] = {'.', '#', '+', '@'};
  std::string text;
  text.reserve(static_cast<std::size_t>((machine.ScreenWidth() + 1) * machine.ScreenHeight()));
  for (int y = 0; y < machine.ScreenHeight(); ++y) {
    for (int x = 0; x < machine.ScreenWidth(); ++x) text += kPixels[machine.PixelValue(x, y)];
    text += '\n';
  }
  return text;
}

Image GreyPicture(const Machine& machine) {
  static constexpr std::array kGreys{Black, White, RGB(170, 170, 170), RGB(85, 85, 85)};
  Image picture;
  picture.NewImage(machine.ScreenWidth(), machine.ScreenHeight());
  for (int y = 0; y < machine.ScreenHeight(); ++y) {
    for (int x = 0; x < machine.ScreenWidth(); ++x)
      picture.PutPixel(x, y, kGreys[static_cast<std::size_t>(machine.PixelValue(x, y))]);
  }
  return picture;
}

}  // namespace pellark
