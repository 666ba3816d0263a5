// The desktop program as a user meets it on a real X server: the window, the function keys,
// the open dialog, the keypad read by key position, the picture on the screen, and the
// Inspector.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <thread>

#include "x11_session.h"

namespace pellark {
namespace {

constexpr int kScale = 2;

class DesktopSessionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    session = std::make_unique<X11Session>();
    if (!session->Ready()) return;
    program = std::make_unique<ChildProcess>(
        std::vector<std::string>{PELLARK_PATH},
        std::vector<std::string>{"DISPLAY=" + session->Display(), "QT_QPA_PLATFORM=xcb"});
    window = session->WaitForWindow("Pellark");
  }
  static void TearDownTestSuite() {
    program.reset();
    session.reset();
    std::filesystem::remove(ProgramPath());
  }
  void SetUp() override {
    if (!session->Ready()) GTEST_SKIP() << "no Xvfb to run the desktop program on";
    ASSERT_FALSE(window.empty()) << "the Pellark window did not appear";
    Focus();
  }

  static void Focus() { session->Command("xdotool windowfocus --sync " + window); }
  static void Key(const std::string& key) { session->Command("xdotool key " + key); }
  // Holds a key long enough for several polls of the program.
  static void Press(const std::string& key) {
    session->Command("xdotool keydown " + key);
    Settle();
    session->Command("xdotool keyup " + key);
  }
  static void Settle() { std::this_thread::sleep_for(std::chrono::milliseconds(300)); }
  // The window's height without the display area: the menu bar.
  static int MenuHeight(const Capture& capture) { return capture.height - 32 * kScale; }
  // Whether the capture is the window at its size, with a menu bar above the display.
  static bool Shaped(const Capture& capture) {
    return capture.width == 64 * kScale && MenuHeight(capture) > 10;
  }
  // Whether the display pixel (x, y) is lit in normal colours.
  static bool Lit(const Capture& capture, int x, int y) {
    return capture.At(x * kScale, MenuHeight(capture) + y * kScale) == 0xFFFFFF;
  }
  static std::vector<unsigned char> BootImage() {
    std::ifstream file(std::filesystem::path(PELLARK_PATH).parent_path() / "Chip8.rom",
                       std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
  }
  // Loads a program through F1 and the open dialog, typing its path as a user would.
  static std::filesystem::path ProgramPath() {
    return std::filesystem::temp_directory_path() / "pellark-session.ch8";
  }
  static void Load(const std::vector<unsigned char>& bytes) {
    const auto path = ProgramPath();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    Key("F1");
    const std::string dialog = session->WaitForWindow("Open Chip 8 rom file");
    ASSERT_FALSE(dialog.empty()) << "no open dialog";
    session->Command("xdotool windowfocus --sync " + dialog + " type --delay 2 " + path.string());
    // The first Return may only take the file name completer's suggestion.
    for (int attempt = 0;
         attempt < 3 &&
         !session->WaitForWindow("Open Chip 8 rom file", std::chrono::milliseconds(100)).empty();
         ++attempt) {
      session->Command("xdotool key --window " + dialog + " Return");
      Settle();
    }
    Focus();
  }
  // Expects the small-font sprite of the digit at the top-left corner of the display.
  static bool DigitShown(const Capture& capture, const std::vector<unsigned char>& font,
                         int digit) {
    if (!Shaped(capture)) return false;
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 8; ++column) {
        const bool set = (font[static_cast<std::size_t>(5 * digit + row)] >> (7 - column) & 1) != 0;
        if (Lit(capture, column, row) != set) return false;
      }
    }
    return true;
  }
  static void ExpectDigitDrawn(int digit) {
    const std::vector<unsigned char> font = BootImage();
    ASSERT_GE(font.size(), 80u);
    const Capture capture = session->WaitForPicture(
        window, [&](const Capture& shown) { return DigitShown(shown, font, digit); });
    ASSERT_TRUE(Shaped(capture));
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 8; ++column) {
        const bool set = (font[static_cast<std::size_t>(5 * digit + row)] >> (7 - column) & 1) != 0;
        EXPECT_EQ(Lit(capture, column, row), set)
            << "digit " << digit << " at " << column << "," << row;
      }
    }
  }
  static int LitCount(const Capture& capture) {
    int lit = 0;
    if (!Shaped(capture)) return lit;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 64; ++x) lit += Lit(capture, x, y) ? 1 : 0;
    }
    return lit;
  }
  // Whether the top-left display pixel comes to show lit.
  static bool TopLeftLit() {
    const Capture capture = session->WaitForPicture(
        window, [](const Capture& shown) { return Shaped(shown) && Lit(shown, 0, 0); });
    return Shaped(capture) && Lit(capture, 0, 0);
  }

  static std::unique_ptr<X11Session> session;
  static std::unique_ptr<ChildProcess> program;
  static std::string window;
};

std::unique_ptr<X11Session> DesktopSessionTest::session;
std::unique_ptr<ChildProcess> DesktopSessionTest::program;
std::string DesktopSessionTest::window;

TEST_F(DesktopSessionTest, OpensItsWindowAt130WithTheBootSplashBelowTheMenuBar) {
  const std::string info = session->Command("xwininfo -id " + window);
  EXPECT_NE(info.find("Absolute upper-left X:  130"), std::string::npos) << info;
  EXPECT_NE(info.find("Absolute upper-left Y:  130"), std::string::npos) << info;
  // The boot program draws its splash at the default speed within a few seconds.
  const auto litCount = [](const Capture& capture) {
    int lit = 0;
    if (!Shaped(capture)) return lit;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 64; ++x) lit += Lit(capture, x, y) ? 1 : 0;
    }
    return lit;
  };
  const Capture capture =
      session->WaitForPicture(window, [&](const Capture& shown) { return litCount(shown) >= 100; });
  ASSERT_EQ(capture.width, 64 * kScale);
  ASSERT_GT(MenuHeight(capture), 10);
  const int lit = litCount(capture);
  EXPECT_GE(lit, 100) << "the boot image's splash is not on the screen";
}

// Before any program is loaded through a dialog: the boot splash as the window shows it.
TEST_F(DesktopSessionTest, AltReturnFillsTheScreenAndEscGivesTheWindowBack) {
  const Capture before = session->WaitForPicture(
      window, [](const Capture& shown) { return Shaped(shown) && LitCount(shown) >= 100; });
  ASSERT_GE(LitCount(before), 100);
  Key("alt+Return");
  // The 1024 × 768 screen: the low resolution at 16 (the high one's 8, doubled) is 1024 × 512,
  // centred with 128 rows of the background above and below.
  constexpr int kFullScale = 16;
  constexpr int kTop = (768 - 32 * kFullScale) / 2;
  // Every display pixel a solid 16 × 16 square, the splash's lit ones among them.
  const auto squaresShown = [](const Capture& shown) {
    if (shown.width != 1024 || shown.height != 768) return false;
    int lit = 0;
    for (int y = 0; y < 32; ++y) {
      for (int x = 0; x < 64; ++x) {
        const int left = x * kFullScale;
        const int top = kTop + y * kFullScale;
        const std::uint32_t colour = shown.At(left, top);
        const int far = kFullScale - 1;
        if (shown.At(left + far, top) != colour || shown.At(left, top + far) != colour ||
            shown.At(left + far, top + far) != colour)
          return false;
        lit += colour == 0xFFFFFFu ? 1 : 0;
      }
    }
    return lit >= 100;
  };
  const Capture full = session->WaitForPicture(window, squaresShown);
  ASSERT_EQ(full.width, 1024);
  ASSERT_EQ(full.height, 768);
  EXPECT_TRUE(squaresShown(full)) << "each display pixel a 16 × 16 square, centred";
  EXPECT_EQ(full.At(512, kTop - 1), 0x000000u) << "the background above the picture";
  EXPECT_EQ(full.At(512, kTop + 32 * kFullScale), 0x000000u) << "the background below";

  Key("Escape");
  const Capture back = session->WaitForPicture(
      window, [](const Capture& shown) { return Shaped(shown) && LitCount(shown) >= 100; });
  ASSERT_TRUE(Shaped(back));
  const std::string info = session->Command("xwininfo -id " + window);
  EXPECT_NE(info.find("Absolute upper-left X:  130"), std::string::npos) << info;
  EXPECT_NE(info.find("Absolute upper-left Y:  130"), std::string::npos) << info;
  EXPECT_NE(info.find("Width: 128"), std::string::npos) << info;
}

TEST_F(DesktopSessionTest, SavePictureWritesThePngOfTheWindowsDisplay) {
  const auto picture = std::filesystem::temp_directory_path() / "pellark-session.png";
  std::filesystem::remove(picture);
  // File, then its fifth item past the separator: Save picture...
  session->Command("xdotool mousemove --window " + window + " 12 6 click 1");
  Settle();
  Key("Down Down Down Down Down Return");
  const std::string dialog = session->WaitForWindow("Save picture");
  ASSERT_FALSE(dialog.empty()) << "no save dialog";
  session->Command("xdotool windowfocus --sync " + dialog + " type --delay 2 " + picture.string());
  for (int attempt = 0;
       attempt < 3 &&
       !session->WaitForWindow("Save picture", std::chrono::milliseconds(100)).empty();
       ++attempt) {
    session->Command("xdotool key --window " + dialog + " Return");
    Settle();
  }
  Focus();
  // The PNG's signature, then the IHDR chunk with the width and height, big-endian.
  std::ifstream file(picture, std::ios::binary);
  const std::vector<unsigned char> bytes{std::istreambuf_iterator<char>(file), {}};
  ASSERT_GE(bytes.size(), 24u) << "no picture written";
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");
  const auto word = [&](std::size_t at) {
    return bytes[at] << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
  };
  EXPECT_EQ(word(16), 64 * kScale);
  EXPECT_EQ(word(20), 32 * kScale);
  std::filesystem::remove(picture);
}

TEST_F(DesktopSessionTest, KeypadKeysArrivePositionallyThroughAKeyWait) {
  // Wait for a key, draw its digit at 0,0, idle.
  const std::vector<unsigned char> showKey{0xF0, 0x0A, 0xF0, 0x29, 0xD1, 0x15, 0x12, 0x06};
  Load(showKey);
  Press("x");
  ExpectDigitDrawn(0x0);
  Key("F2");  // reload: a new wait
  Settle();
  Press("v");
  ExpectDigitDrawn(0xF);
  Key("F2");
  Settle();
  Press("4");
  ExpectDigitDrawn(0xC);
}

TEST_F(DesktopSessionTest, FunctionKeysReachTheCommands) {
  Load({0xA0, 0x00, 0xD1, 0x15, 0x12, 0x04});  // draws the digit 0 and idles
  EXPECT_TRUE(TopLeftLit());
  Key("F12");  // Invert Colors
  const auto invertedShown = [](const Capture& shown) {
    return Shaped(shown) && shown.At(0, MenuHeight(shown)) == 0x000000u &&
           shown.At(63 * kScale, MenuHeight(shown) + 31 * kScale) == 0xFFFFFFu;
  };
  const Capture inverted = session->WaitForPicture(window, invertedShown);
  ASSERT_TRUE(Shaped(inverted));
  EXPECT_EQ(inverted.At(0, MenuHeight(inverted)), 0x000000u);
  EXPECT_EQ(inverted.At(63 * kScale, MenuHeight(inverted) + 31 * kScale), 0xFFFFFFu);
  Key("F12");
  EXPECT_TRUE(TopLeftLit());
}

TEST_F(DesktopSessionTest, F4OpensTheInspectorWhichShowsARegisterAfterAStep) {
  // Waits for a key, then sets VA, then idles.
  Load({0xF0, 0x0A, 0x6A, 0x2B, 0x12, 0x04});
  Key("F6");   // stops the machine once the wait is over
  Press("x");  // ends the wait
  Key("F4");
  const std::string inspector = session->WaitForWindow("Pellark Inspector");
  ASSERT_FALSE(inspector.empty()) << "F4 opened no Inspector";
  Key("F3");
  Settle();
  // Copied from the state as a user would.
  session->Command("xdotool windowfocus --sync " + inspector + " key ctrl+c");
  const std::string state = session->Command("xclip -o -selection clipboard");
  EXPECT_NE(state.find("VA   $2B   43"), std::string::npos) << state;
  EXPECT_NE(state.find("PC   $202"), std::string::npos) << state;
  Focus();
  Key("F4");
  Settle();
  EXPECT_TRUE(session->WaitForWindow("Pellark Inspector", std::chrono::milliseconds(100)).empty());
}

}  // namespace
}  // namespace pellark
