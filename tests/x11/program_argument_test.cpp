// `pellark PROGRAM` as a user starts it from a shell, on an ordinary and on a high-density
// screen: the program named runs at once, and Reload finds it again.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "x11_session.h"

namespace pellark {
namespace {

constexpr int kScale = 2;

class ProgramArgumentTest : public ::testing::TestWithParam<int> {
 protected:
  int Ratio() const { return GetParam(); }
  // Whether every device pixel shows the row of eight pixels drawn at the top left.
  bool ShowsRow(const Capture& capture, unsigned char row) const {
    const int block = kScale * Ratio();
    const int menuHeight = capture.height - 32 * block;
    if (capture.width != 64 * block || menuHeight <= 0) return false;
    for (int y = menuHeight; y < capture.height; ++y) {
      for (int x = 0; x < capture.width; ++x) {
        const int column = x / block;
        const bool lit = (y - menuHeight) / block == 0 && column < 8 && (row << column & 0x80);
        if (capture.At(x, y) != (lit ? 0xFFFFFFu : 0x000000u)) return false;
      }
    }
    return true;
  }
  bool RowAppears(const X11Session& session, const std::string& window, unsigned char row) const {
    return ShowsRow(session.WaitForPicture(
                        window, [&](const Capture& capture) { return ShowsRow(capture, row); }),
                    row);
  }
  // 200: I = 206; draw one row at 0,0; idle. 206: the row.
  static void WriteProgram(const std::filesystem::path& path, unsigned char row) {
    const unsigned char program[] = {0xA2, 0x06, 0xD0, 0x01, 0x12, 0x04, row};
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(program), sizeof program);
  }
};

TEST_P(ProgramArgumentTest, RunsTheProgramNamedAndReloadsItByItsFullPath) {
  const X11Session session;
  if (!session.Ready()) GTEST_SKIP() << "no Xvfb to run the desktop program on";
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("pellark-argument-" + std::to_string(Ratio()));
  std::filesystem::create_directories(folder);
  WriteProgram(folder / "shown.ch8", 0xF0);
  // Named as a user in that folder would name it.
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(folder);
  const ChildProcess pellark({PELLARK_PATH, "shown.ch8"},
                             {"DISPLAY=" + session.Display(), "QT_QPA_PLATFORM=xcb",
                              "QT_SCALE_FACTOR=" + std::to_string(Ratio())});
  std::filesystem::current_path(before);

  const std::string window = session.WaitForWindow("Pellark");
  ASSERT_FALSE(window.empty()) << "the Pellark window did not appear";
  EXPECT_TRUE(RowAppears(session, window, 0xF0));
  // Reload reads the file again, by its full path: a plain name would be looked for beside
  // the program.
  WriteProgram(folder / "shown.ch8", 0x0F);
  session.Command("xdotool windowfocus --sync " + window + " key F2");
  EXPECT_TRUE(RowAppears(session, window, 0x0F)) << "Reload did not find the program again";
  std::filesystem::remove_all(folder);
}

INSTANTIATE_TEST_SUITE_P(DevicePixelRatios, ProgramArgumentTest, ::testing::Values(1, 2));

}  // namespace
}  // namespace pellark
