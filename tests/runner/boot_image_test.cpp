// The built boot image "Chip8.rom": the fonts where the font instructions look, the splash
// that its program draws, the idle loop, and its end before 0x200. Expected pictures come from
// the sprite data of the listing it is assembled from.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <fstream>
#include <iterator>
#include <sstream>

#include "listing_assembler.h"
#include "pellark_process.h"

namespace pellark {
namespace {

using ::testing::HasSubstr;

const AssembledImage& BootListing() {
  static const AssembledImage image = [] {
    std::ifstream file(PELLARK_BOOT_LISTING, std::ios::binary);
    std::ostringstream listing;
    listing << file.rdbuf();
    return AssembleListing(listing.str(), 0x200);
  }();
  return image;
}

int Label(const std::string& name) {
  const auto found = BootListing().labels.find(name);
  if (found == BootListing().labels.end()) {
    ADD_FAILURE() << "the boot listing has no label " << name;
    return 0;
  }
  return found->second;
}

// The boot image's bytes as a --memory line shows them.
std::string CellTexts(int from, int count) {
  std::string texts;
  for (int address = from; address < from + count; ++address) {
    char text[4];
    std::snprintf(text, sizeof text, address == from ? "%X" : " %X",
                  BootListing().bytes.at(static_cast<std::size_t>(address)));
    texts += text;
  }
  return texts;
}

// A low-resolution display as pellark-run prints it, drawn as the sprite instructions do.
class Picture {
 public:
  Picture() : rows_(32, std::string(64, '.')) {}

  // The sprite of `rows` bytes at `address` of the boot image, at (x, y).
  void Draw(int address, int rows, int x, int y) {
    for (int row = 0; row < rows; ++row) {
      const int bits = BootListing().bytes.at(static_cast<std::size_t>(address + row));
      for (int column = 0; column < 8; ++column) {
        if ((bits >> (7 - column) & 1) == 0) continue;
        char& pixel =
            rows_.at(static_cast<std::size_t>(y + row)).at(static_cast<std::size_t>(x + column));
        pixel = pixel == '#' ? '.' : '#';
      }
    }
  }

  std::string Text() const {
    std::string text;
    for (const std::string& row : rows_) text += row + "\n";
    return text;
  }

 private:
  std::vector<std::string> rows_;
};

TEST(BootImage, IsTheAssembledListingAndEndsBefore200) {
  ASSERT_FALSE(BootListing().error) << BootListing().error->message;
  std::ifstream file(RunnerFolder() / "Chip8.rom", std::ios::binary);
  ASSERT_TRUE(file) << "no Chip8.rom beside pellark-run";
  const std::vector<std::uint8_t> built((std::istreambuf_iterator<char>(file)),
                                        std::istreambuf_iterator<char>());
  EXPECT_EQ(built, BootListing().bytes);
  EXPECT_LT(built.size(), 0x200u);
  // Nothing of the boot image reaches the program area.
  EXPECT_EQ(RunPellark({"-n", "0", "--memory", "1FF:2"}).out, "_ _\n");
}

TEST(BootImage, SmallFontSpritesSitAtFiveTimesTheirDigit) {
  for (int digit = 0; digit < 16; ++digit) {
    char name[16];
    std::snprintf(name, sizeof name, "small_%X", digit);
    EXPECT_EQ(Label(name), 5 * digit) << name;
  }
  EXPECT_EQ(RunPellark({"-n", "0", "--memory", "0:80"}).out, CellTexts(0, 80) + "\n");
}

TEST(BootImage, SmallFontDrawsTheHexadecimalDigits) {
  const ScratchFolder folder;
  const RunResult result = RunPellark({"-n", "200", "--screen",
                                       folder.WriteProgram({
                                           0x00, 0xFF,  // 200: high resolution
                                           0x61, 0x00,  // 202: V1 = 0, the digit
                                           0x62, 0x00,  // 204: V2 = 0, its column
                                           0xF1, 0x29,  // 206: I = small-font sprite of V1
                                           0xD2, 0x35,  // 208: draw 5 rows at (V2, V3 = 0)
                                           0x71, 0x01,  // 20A: V1 += 1
                                           0x72, 0x05,  // 20C: V2 += 5
                                           0x31, 0x10,  // 20E: skip if V1 = 16
                                           0x12, 0x06,  // 210: jump 206
                                           0x12, 0x12,  // 212: jump 212
                                       })});
  ASSERT_EQ(result.status, 0) << result.err;
  const std::array<std::array<const char*, 5>, 16> digits{{
      {"####", "#..#", "#..#", "#..#", "####"},
      {"..#.", ".##.", "..#.", "..#.", ".###"},
      {"####", "...#", "####", "#...", "####"},
      {"####", "...#", "####", "...#", "####"},
      {"#..#", "#..#", "####", "...#", "...#"},
      {"####", "#...", "####", "...#", "####"},
      {"####", "#...", "####", "#..#", "####"},
      {"####", "...#", "..#.", ".#..", ".#.."},
      {"####", "#..#", "####", "#..#", "####"},
      {"####", "#..#", "####", "...#", "####"},
      {"####", "#..#", "####", "#..#", "#..#"},
      {"###.", "#..#", "###.", "#..#", "###."},
      {"####", "#...", "#...", "#...", "####"},
      {"###.", "#..#", "#..#", "#..#", "###."},
      {"####", "#...", "####", "#...", "####"},
      {"####", "#...", "####", "#...", "#..."},
  }};
  const auto rows = result.OutLines();
  ASSERT_EQ(rows.size(), 64u);
  for (std::size_t row = 0; row < 5; ++row) {
    std::string expected;
    for (const auto& digit : digits) expected += std::string(digit[row]) + ".";
    EXPECT_EQ(rows[row].substr(0, 80), expected) << "row " << row;
  }
  EXPECT_EQ(rows[5], std::string(128, '.'));
}

TEST(BootImage, LargeFontSpritesOfEightToFSitAtTenTimesTheirDigit) {
  for (int digit = 8; digit < 16; ++digit) {
    char name[16];
    std::snprintf(name, sizeof name, "large_%X", digit);
    EXPECT_EQ(Label(name), 10 * digit) << name;
  }
  const ScratchFolder folder;
  const RunResult result = RunPellark({"-n", "2", "--state", "--memory", "96:10",
                                       folder.WriteProgram({
                                           0x60, 0x0F,  // 200: V0 = F
                                           0xF0, 0x30,  // 202: I = large-font sprite of V0
                                       })});
  // The --memory line follows the state line.
  EXPECT_THAT(result.OutLines(), ::testing::ElementsAre(HasSubstr(" I=096 "), CellTexts(0x96, 10)));
}

TEST(BootImage, PlatformProfilesShowAllSixteenLargeDigits) {
  // For each digit d: V0 = d, I = its large sprite, draw 10 rows at 8 * (d mod 8), 11 * (d / 8).
  std::vector<std::uint8_t> program;
  Picture expected;
  for (int digit = 0; digit < 16; ++digit) {
    const int x = 8 * (digit % 8);
    const int y = 11 * (digit / 8);
    for (const int byte : {0x60, digit, 0xF0, 0x30, 0x61, x, 0x62, y, 0xD1, 0x2A})
      program.push_back(static_cast<std::uint8_t>(byte));
    char name[16];
    std::snprintf(name, sizeof name, "large_%X", digit);
    expected.Draw(Label(name), 10, x, y);
  }
  const ScratchFolder folder;
  const RunResult result = RunPellark(
      {"--profile", "octo", "-n", "80", "--screen", folder.WriteFile("digits.ch8", program)});
  ASSERT_EQ(result.status, 0) << result.err;
  EXPECT_EQ(result.out, expected.Text());
}

TEST(BootImage, ProgramDrawsTheSplashThenIdles) {
  Picture expected;
  const std::array<const char*, 7> name{"letter_P", "large_E",  "letter_L", "letter_L",
                                        "large_A",  "letter_R", "letter_K"};
  for (std::size_t i = 0; i < name.size(); ++i) {
    const int x = 5 + 8 * static_cast<int>(i);
    expected.Draw(Label(name[i]), 10, x, 6);
    expected.Draw(Label("rule"), 5, x - 1, 18);
  }
  const std::array<const char*, 3> tagline{"tagline_CH", "tagline_IP", "tagline_dash_8"};
  for (std::size_t i = 0; i < tagline.size(); ++i) {
    expected.Draw(Label(tagline[i]), 5, 20 + 8 * static_cast<int>(i), 21);
  }

  const RunResult drawn = RunPellark({"-n", "200", "--screen"});
  ASSERT_EQ(drawn.status, 0) << drawn.err;
  EXPECT_EQ(drawn.out, expected.Text());

  char idle[16];
  std::snprintf(idle, sizeof idle, "$%X", Label("idle"));
  const RunResult idling = RunPellark({"-n", "1000", "--trace", "--state", "--screen"});
  const auto lines = idling.OutLines();
  ASSERT_GT(lines.size(), 34u);
  EXPECT_EQ(lines[lines.size() - 34], std::string(idle) + ": Jmp ," + idle);
  EXPECT_EQ(lines[lines.size() - 33].substr(0, 7), "PC=" + std::string(idle + 1) + " ");
  EXPECT_THAT(idling.out, ::testing::EndsWith(expected.Text()));
}

}  // namespace
}  // namespace pellark
