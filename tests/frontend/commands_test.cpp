#include "core/instruction_pass.h"
#include "front_end_fixture.h"
#include "platform/byte_file.h"
#include "platform/timing.h"

namespace pellark {
namespace {

using CommandsTest = StartedFrontEndTest;

struct ScaleChoice {
  MenuId item;
  int scale;
};
constexpr ScaleChoice kScaleChoices[] = {{MenuId::Scale1, 1}, {MenuId::Scale2, 2},
                                         {MenuId::Scale3, 3}, {MenuId::Scale4, 4},
                                         {MenuId::Scale6, 6}, {MenuId::Scale8, 8}};

TEST_F(CommandsTest, ClientAreaFollowsScaleResolutionAndTrace) {
  // High resolution comes from running 00FF; the scale commands then lay the window out again.
  StartProgram({0x00, 0xFF, 0x12, 0x02});
  frontEnd.RunPass();
  frontEnd.RunPass();
  for (const bool traced : {false, true}) {
    if (traced) Select(MenuId::Debugger);
    for (const auto [item, scale] : kScaleChoices) {
      Select(item);
      EXPECT_EQ(window.ClientWidth(), 128 * scale);
      EXPECT_EQ(BelowMenu(), traced ? 2 * 64 * scale + 2 : 64 * scale);
      if (traced) {
        EXPECT_EQ(window.List()->y, 64 * scale + 2);
      }
    }
  }
  Select(MenuId::Scale4);
  EXPECT_EQ(window.ClientWidth(), 512);
  EXPECT_EQ(BelowMenu(), 514);
  // A reset goes back to low resolution: 64 × 32 at scale 4, the list below.
  Select(MenuId::ResetAt200);
  EXPECT_EQ(window.ClientWidth(), 256);
  EXPECT_EQ(BelowMenu(), 2 * 128 + 2);
}

TEST_F(CommandsTest, ResolutionInstructionsUseTheirOwnListLayout) {
  Select(MenuId::Debugger);
  StartProgram({0x00, 0xFF, 0x00, 0xFE, 0x12, 0x04});
  frontEnd.RunPass();
  EXPECT_EQ(window.ClientWidth(), 256);
  EXPECT_EQ(BelowMenu(), 2 * 128);
  ASSERT_TRUE(window.List().has_value());
  EXPECT_EQ(window.List()->y, 129);
  EXPECT_EQ(window.List()->height, 128);
  frontEnd.RunPass();
  EXPECT_EQ(BelowMenu(), 128);
  EXPECT_EQ(window.List()->y, 65);
  EXPECT_EQ(window.List()->lines.Size(), 1u);  // the Low line after the list was rebuilt
  EXPECT_EQ(window.List()->lines.Line(0), "$202: Low");
}

TEST_F(CommandsTest, ScaleItemsKeepExactlyOneMark) {
  for (const auto [chosen, scale] : kScaleChoices) {
    Select(chosen);
    for (const ScaleChoice& other : kScaleChoices) {
      EXPECT_EQ(Marked(other.item), other.item == chosen) << scale << " " << other.scale;
    }
    EXPECT_EQ(frontEnd.ScaleFactor, scale);
    EXPECT_EQ(window.Picture().Width(), 64 * scale);
    EXPECT_EQ(window.Picture().Height(), 32 * scale);
  }
}

TEST_F(CommandsTest, TogglesFollowTheirMarkNotTheirFlag) {
  Select(MenuId::Antiflicker);
  EXPECT_TRUE(frontEnd.Antiflicker);
  EXPECT_TRUE(Marked(MenuId::Antiflicker));
  Select(MenuId::Antiflicker);
  EXPECT_FALSE(frontEnd.Antiflicker);
  // A mark set behind the command's back decides the next direction.
  window.SetItemCheck(static_cast<int>(MenuId::Antiflicker), true);
  Select(MenuId::Antiflicker);
  EXPECT_FALSE(frontEnd.Antiflicker);
  EXPECT_FALSE(Marked(MenuId::Antiflicker));
}

TEST_F(CommandsTest, SpeedCommandsClampStopAndShowTheSpeed) {
  Select(MenuId::SpeedUp);
  EXPECT_EQ(frontEnd.SpeedPercent, 80);
  EXPECT_EQ(frontEnd.SpinCount, 50000);
  EXPECT_FALSE(machine().Running);
  EXPECT_FALSE(Marked(MenuId::Run));
  EXPECT_TRUE(Marked(MenuId::Stop));
  ASSERT_EQ(window.Texts().size(), 5u);
  EXPECT_EQ(window.Texts()[0].text, "Speed: 80%");
  EXPECT_EQ(window.Texts()[0].colour, Black);
  EXPECT_EQ(window.Texts()[3].x, 2);
  EXPECT_EQ(window.Texts()[3].y, 2);
  EXPECT_EQ(window.Texts()[4].x, 1);
  EXPECT_EQ(window.Texts()[4].colour, RGB(0, 255, 0));
  Select(MenuId::Speed100);
  Select(MenuId::SpeedUp);
  EXPECT_EQ(frontEnd.SpeedPercent, 100);
  EXPECT_EQ(frontEnd.SpinCount, 0);
  Select(MenuId::Speed25);
  for (int i = 0; i < 6; ++i) Select(MenuId::SpeedDown);
  EXPECT_EQ(frontEnd.SpeedPercent, 0);
  EXPECT_EQ(frontEnd.SpinCount, 250000);
  // Only the last speed text is showing.
  EXPECT_EQ(window.Texts().size(), 5u);
  EXPECT_EQ(window.Texts()[4].text, "Speed: 0%");
}

TEST_F(CommandsTest, TheSpeedTextGoesAtTheFirstPollAfterOneAndAHalfSeconds) {
  Select(MenuId::Speed50);
  const int pictures = window.PictureCount();
  frontEnd.SpeedTextTime = TickMilliseconds() - 1400;
  frontEnd.PollEvents();
  EXPECT_EQ(window.Texts().size(), 5u);
  frontEnd.SpeedTextTime = TickMilliseconds() - 1501;
  frontEnd.PollEvents();
  EXPECT_TRUE(window.Texts().empty());
  EXPECT_EQ(window.PictureCount(), pictures + 1);
  EXPECT_EQ(frontEnd.SpeedTextTime, 0u);
}

TEST_F(CommandsTest, RunResumesAndStopHoldsTheMachineAndItsTimers) {
  StartProgram({0x60, 0x30, 0xF0, 0x15, 0x12, 0x04});
  frontEnd.RunPass();
  frontEnd.RunPass();
  Select(MenuId::Stop);
  const std::int32_t pc = machine().PC;
  const std::int32_t delay = machine().DelayTimer;
  for (int i = 0; i < 30; ++i) frontEnd.RunPass();
  EXPECT_EQ(machine().PC, pc);
  EXPECT_EQ(machine().DelayTimer, delay);
  Select(MenuId::Run);
  EXPECT_TRUE(machine().Running);
  EXPECT_TRUE(Marked(MenuId::Run));
  EXPECT_FALSE(Marked(MenuId::Stop));
}

TEST_F(CommandsTest, ResetStartsAStoppedMachineButLeavesTheMarks) {
  Select(MenuId::Stop);
  Select(MenuId::Reset);
  EXPECT_TRUE(machine().Running);
  EXPECT_EQ(machine().PC, 0x100);
  EXPECT_TRUE(Marked(MenuId::Stop));
}

TEST_F(CommandsTest, DebuggerShowsKeepsAndRebuildsTheTraceList) {
  StartProgram({0x60, 0x01, 0x12, 0x02});
  Select(MenuId::Debugger);
  ASSERT_TRUE(window.List().has_value());
  EXPECT_EQ(window.List()->x, 0);
  EXPECT_EQ(window.List()->y, 66);
  EXPECT_EQ(window.List()->width, 128);
  EXPECT_EQ(window.List()->height, 64);
  EXPECT_EQ(BelowMenu(), 130);
  frontEnd.RunPass();
  frontEnd.RunPass();
  EXPECT_EQ(window.List()->lines.Size(), 2u);
  EXPECT_EQ(window.List()->lines.Line(0), "$200: Mov V0,$1");
  EXPECT_EQ(window.List()->lines.Line(1), "$202: Jmp ,$202");
  // Off: the window shrinks, the list stays with its lines, nothing more is added.
  Select(MenuId::Debugger);
  EXPECT_EQ(BelowMenu(), 64);
  frontEnd.RunPass();
  ASSERT_TRUE(window.List().has_value());
  EXPECT_EQ(window.List()->lines.Size(), 2u);
  // On again: a new empty list.
  Select(MenuId::Debugger);
  EXPECT_EQ(window.List()->lines.Size(), 0u);
  frontEnd.RunPass();
  Select(MenuId::Scale1);
  EXPECT_EQ(window.List()->lines.Size(), 0u);
  EXPECT_EQ(window.List()->y, 34);
  frontEnd.RunPass();
  Select(MenuId::ResetAt200);
  EXPECT_EQ(window.List()->lines.Size(), 0u);
}

TEST_F(CommandsTest, InvertColorsSwapsTheColoursButKeepsThePicture) {
  StartProgram({0xA3, 0x00, 0xD0, 0x01, 0x12, 0x04});
  machine().SetCell(0x300, ToHexByte(0x80));
  frontEnd.RunPass();
  frontEnd.RunPass();
  ASSERT_EQ(window.Picture().ReadPixel(0, 0), White);
  Select(MenuId::InvertColors);
  EXPECT_TRUE(frontEnd.InvertColors);
  EXPECT_TRUE(machine().Display.IsLit(0, 0));
  EXPECT_EQ(window.Picture().ReadPixel(0, 0), Black);
  EXPECT_EQ(window.Picture().ReadPixel(4, 0), White);  // a dark pixel, magnified
  Select(MenuId::InvertColors);
  EXPECT_FALSE(frontEnd.InvertColors);
  EXPECT_EQ(window.Picture().ReadPixel(0, 0), White);
  EXPECT_EQ(window.Picture().ReadPixel(4, 0), Black);
}

TEST_F(CommandsTest, AntiflickerLeavesTheWindowAsItWasAfterADrawThatOnlyErased) {
  // Draws the same sprite over and over: lit, then erased, then lit again.
  StartProgram({0xA3, 0x00, 0xD0, 0x01, 0x12, 0x02});
  machine().SetCell(0x300, ToHexByte(0x80));
  Select(MenuId::Antiflicker);
  const int pictures = window.PictureCount();
  frontEnd.RunPass();
  frontEnd.RunPass();  // lights the pixel: shown
  EXPECT_EQ(window.PictureCount(), pictures + 1);
  frontEnd.RunPass();
  frontEnd.RunPass();  // erases it: not shown
  EXPECT_EQ(window.PictureCount(), pictures + 1);
  EXPECT_EQ(window.Picture().ReadPixel(0, 0), White);
  Select(MenuId::Antiflicker);
  frontEnd.RunPass();
  frontEnd.RunPass();
  frontEnd.RunPass();
  frontEnd.RunPass();
  EXPECT_EQ(window.PictureCount(), pictures + 3);
  EXPECT_EQ(window.Picture().ReadPixel(0, 0), Black);
}

TEST_F(CommandsTest, ClearsStayInvisibleUntilTheNextRefresh) {
  StartProgram({0xA3, 0x00, 0xD0, 0x01, 0x00, 0xE0, 0x12, 0x06});
  machine().SetCell(0x300, ToHexByte(0x80));
  for (int i = 0; i < 3; ++i) frontEnd.RunPass();
  EXPECT_FALSE(machine().Display.IsLit(0, 0));
  EXPECT_EQ(window.Picture().ReadPixel(0, 0), White);
  window.QueueEvent({WindowEvent::Kind::RepaintRequest});
  frontEnd.PollEvents();
  EXPECT_EQ(window.Picture().ReadPixel(0, 0), Black);
}

TEST_F(CommandsTest, QuitAndTheCloseBoxEndTheLoop) {
  window.QueueMenuSelection(static_cast<int>(MenuId::Quit));
  frontEnd.ProgramLoop();
  EXPECT_TRUE(machine().QuitRequested);
  EXPECT_EQ(window.PendingEvents(), 0u);
}

TEST_F(CommandsTest, QuitRunDirectlyEndsTheProgramAndAKeyWait) {
  frontEnd.RunCommand(MenuId::Quit);
  EXPECT_TRUE(machine().QuitRequested);
  EXPECT_EQ(machine().PendingKey, 16);
}

TEST_F(CommandsTest, AResetDuringAKeyWaitRestartsAtTheResetAddress) {
  StartProgram({0xF3, 0x0A, 0x60, 0x05});
  window.QueueEvent({});                                       // the pass that begins the wait
  window.QueueMenuSelection(static_cast<int>(MenuId::Reset));  // the wait's first pass
  frontEnd.RunPass();
  EXPECT_TRUE(machine().WaitingForKey());
  frontEnd.RunPass();
  EXPECT_FALSE(machine().WaitingForKey());
  EXPECT_EQ(machine().Registers[3], 15);
  EXPECT_EQ(machine().PC, 0x100);
  frontEnd.RunPass();
  EXPECT_EQ(machine().PC, 0x100);
  EXPECT_EQ(machine().Registers[0], 0);
}

TEST_F(CommandsTest, TheCloseBoxDuringAKeyWaitEndsTheProgram) {
  StartProgram({0xF3, 0x0A});
  window.QueueEvent({});
  window.QueueEvent({WindowEvent::Kind::CloseRequest});
  frontEnd.ProgramLoop();
  EXPECT_TRUE(machine().QuitRequested);
  EXPECT_EQ(machine().Registers[3], 15);
}

TEST_F(CommandsTest, AHeldKeyEndsTheKeyWait) {
  StartProgram({0xF3, 0x0A, 0x12, 0x02});
  window.SetKeyHeld(0x2E, true);  // C: keypad B
  frontEnd.RunPass();
  frontEnd.RunPass();
  EXPECT_EQ(machine().Registers[3], 0xB);
}

}  // namespace
}  // namespace pellark
