#include <gtest/gtest.h>

#include <algorithm>

#include "front_end_fixture.h"

namespace pellark {
namespace {

bool Sounds(const std::vector<std::int16_t>& frame) {
  return std::any_of(frame.begin(), frame.end(), [](std::int16_t s) { return s != 0; });
}

// V0 = 3, ST = V0, then a jump to itself: three frames of tone, then silence.
constexpr std::initializer_list<int> kBeep = {0x60, 0x03, 0xF0, 0x18, 0x12, 0x04};

class SoundOutput : public StartedFrontEndTest {
 protected:
  // Runs the beep in the CHIP-8 profile, a frame a pass, for frames frames.
  void RunBeep(int frames) {
    Select(MenuId::ProfileChip8);
    Select(MenuId::Cycles7);
    StartProgram(kBeep);
    for (int pass = 0; pass < frames * 7; ++pass) frontEnd.RunPass();
  }
  int TonesPlayed() const {
    return static_cast<int>(std::count_if(sound.frames.begin(), sound.frames.end(), Sounds));
  }
};

TEST_F(SoundOutput, PlaysEveryFrameOfAPlatformProfileWhileItRuns) {
  ASSERT_TRUE(started);
  EXPECT_TRUE(Marked(MenuId::Sound));
  EXPECT_TRUE(window.IsItemEnabled(static_cast<int>(MenuId::Sound)));
  RunBeep(5);
  ASSERT_GE(sound.frames.size(), 5u);
  EXPECT_EQ(TonesPlayed(), 3);
  for (const auto& frame : sound.frames)
    EXPECT_EQ(frame.size(), static_cast<std::size_t>(kSoundSamplesPerFrame));
}

TEST_F(SoundOutput, SoundOffPlaysNothingAndSilencesAtOnce) {
  const int silences = sound.silences;
  Select(MenuId::Sound);
  EXPECT_FALSE(Marked(MenuId::Sound));
  EXPECT_GT(sound.silences, silences);
  RunBeep(5);
  EXPECT_TRUE(sound.frames.empty());
  Select(MenuId::Sound);
  EXPECT_TRUE(Marked(MenuId::Sound));
}

TEST_F(SoundOutput, AsDesignedPlaysNothing) {
  Select(MenuId::ProfileDesigned);
  machine().SoundTimer = 100;
  StartProgram({0x12, 0x00});
  for (int pass = 0; pass < 200; ++pass) frontEnd.RunPass();
  EXPECT_TRUE(sound.frames.empty());
}

// What stops or restarts the machine silences what is queued.
class SilencingCommand : public SoundOutput, public ::testing::WithParamInterface<MenuId> {};

TEST_P(SilencingCommand, SilencesTheSound) {
  RunBeep(1);
  const int silences = sound.silences;
  Select(GetParam());
  EXPECT_GT(sound.silences, silences);
}

INSTANTIATE_TEST_SUITE_P(Commands, SilencingCommand,
                         ::testing::Values(MenuId::Stop, MenuId::Reset, MenuId::ResetAt200,
                                           MenuId::Quit, MenuId::SpeedUp),
                         [](const auto& info) {
                           return "menu_id_" + std::to_string(static_cast<int>(info.param));
                         });

TEST_F(FrontEndTest, WithoutADeviceSoundIsOffAndCannotBeChosen) {
  sound.available = false;
  ASSERT_TRUE(frontEnd.StartUp());
  EXPECT_FALSE(Marked(MenuId::Sound));
  EXPECT_FALSE(window.IsItemEnabled(static_cast<int>(MenuId::Sound)));
  Select(MenuId::Sound);
  EXPECT_FALSE(Marked(MenuId::Sound));
}

struct BeepColourCase {
  const char* name;
  bool visualBeep;
  std::int32_t soundTimer;
  Colour background;
};

void PrintTo(const BeepColourCase& c, std::ostream* os) {
  *os << c.name;
}

class VisualBeep : public StartedFrontEndTest,
                   public ::testing::WithParamInterface<BeepColourCase> {};

TEST_P(VisualBeep, PaintsTheBackgroundInTheBuzzerColourWhileTheTimerRuns) {
  // The database gives this program the buzzer colour #ffaa00 over a background of #274a17.
  frontEnd.OpenProgram(SharedPath("roms/1dcell.ch8").string());
  ASSERT_EQ(frontEnd.machine().Rules.audible, true);
  if (GetParam().visualBeep) Select(MenuId::VisualBeep);
  machine().SoundTimer = GetParam().soundTimer;
  frontEnd.RefreshWindow();
  EXPECT_EQ(window.Picture().ReadPixel(0, 0), GetParam().background);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, VisualBeep,
    ::testing::Values(BeepColourCase{"off", false, 10, RGB(0x27, 0x4a, 0x17)},
                      BeepColourCase{"on, timer at 0", true, 0, RGB(0x27, 0x4a, 0x17)},
                      BeepColourCase{"on, timer running", true, 10, RGB(0xff, 0xaa, 0x00)}),
    [](const auto& info) { return "case" + std::to_string(info.index); });

TEST_F(StartedFrontEndTest, VisualBeepWithoutABuzzerColourIsDarkGreyAndNeverAsDesigned) {
  Select(MenuId::VisualBeep);
  Select(MenuId::ProfileChip8);
  machine().SoundTimer = 10;
  frontEnd.RefreshWindow();
  EXPECT_EQ(window.Picture().ReadPixel(0, 0), RGB(64, 64, 64));
  Select(MenuId::ProfileDesigned);
  frontEnd.RefreshWindow();
  EXPECT_EQ(window.Picture().ReadPixel(0, 0), Black);
}

}  // namespace
}  // namespace pellark
