// "Compatibility" and "Cycles per frame": choices apply at once, Automatic follows the program
// loaded, and frame timing shows the display once a frame.
#include <fstream>
#include <iterator>

#include "front_end_fixture.h"
#include "shared_folder.h"

namespace pellark {
namespace {

using CompatibilityTest = StartedFrontEndTest;

std::vector<unsigned char> CollectionProgram(const std::string& name) {
  std::ifstream file(SharedPath("roms/" + name), std::ios::binary);
  return {std::istreambuf_iterator<char>(file), {}};
}

TEST_F(CompatibilityTest, StartsAutomaticWithTheDesignedRules) {
  EXPECT_TRUE(Marked(MenuId::ProfileAutomatic));
  EXPECT_EQ(machine().Rules, RulesOf(Profile::Designed));
  // The designed machine shifts in place, keeps I and clips.
  for (const MenuId id : {MenuId::SwitchShift, MenuId::SwitchMemory, MenuId::SwitchClip})
    EXPECT_TRUE(Marked(id));
  for (const MenuId id : {MenuId::SwitchJump, MenuId::SwitchVblank, MenuId::SwitchLogic,
                          MenuId::Cycles10, MenuId::ProfileXoChip})
    EXPECT_FALSE(Marked(id));
}

TEST_F(CompatibilityTest, AProfileAppliesAtOnceWithoutAResetOrAStop) {
  StartProgram({0x60, 0x05, 0x12, 0x02});
  frontEnd.RunPass();
  Select(MenuId::ProfileChip8);
  EXPECT_EQ(machine().Rules, RulesOf(Profile::Chip8));
  EXPECT_TRUE(machine().Running);
  EXPECT_EQ(machine().Registers[0], 5);
  EXPECT_TRUE(Marked(MenuId::ProfileChip8));
  EXPECT_FALSE(Marked(MenuId::ProfileAutomatic));
  EXPECT_TRUE(Marked(MenuId::SwitchLogic));
  EXPECT_FALSE(Marked(MenuId::SwitchShift));
  EXPECT_TRUE(Marked(MenuId::Cycles15));
  // The designed items keep their marks.
  EXPECT_TRUE(Marked(MenuId::Run));
}

TEST_F(CompatibilityTest, SwitchesAndFrameRatesChangeTheCurrentSet) {
  Select(MenuId::ProfileXoChip);
  Select(MenuId::SwitchJump);
  EXPECT_TRUE(machine().Rules.switches.jump);
  EXPECT_TRUE(Marked(MenuId::SwitchJump));
  Select(MenuId::Cycles1000);
  EXPECT_EQ(machine().Rules.cyclesPerFrame, 1000);
  EXPECT_TRUE(Marked(MenuId::Cycles1000));
  EXPECT_FALSE(Marked(MenuId::Cycles20));
  // Some programs ask for far more instructions a frame.
  Select(MenuId::Cycles200000);
  EXPECT_EQ(machine().Rules.cyclesPerFrame, 200000);
  EXPECT_TRUE(Marked(MenuId::Cycles200000));
  EXPECT_FALSE(Marked(MenuId::Cycles1000));
  Select(MenuId::SwitchJump);
  EXPECT_FALSE(machine().Rules.switches.jump);
}

TEST_F(CompatibilityTest, AutomaticRunsAKnownProgramByItsOwnRulesAndTheBootProgramAsDesigned) {
  // Knight is a SUPER-CHIP 1.1 program that asks for 200 cycles per frame.
  MachineRules knight = RulesOf(Profile::SuperChip);
  knight.cyclesPerFrame = 200;
  window.QueueOpenAnswer(WriteFile("knight.ch8", CollectionProgram("knight.ch8")));
  Select(MenuId::Load);
  EXPECT_EQ(machine().Rules, knight);
  EXPECT_TRUE(Marked(MenuId::Cycles200));
  Select(MenuId::Reset);
  EXPECT_EQ(machine().Rules, RulesOf(Profile::Designed));
  // A chosen profile stays whatever is loaded.
  Select(MenuId::ProfileSuperChip);
  window.QueueOpenAnswer(WriteFile("knight.ch8", CollectionProgram("knight.ch8")));
  Select(MenuId::Load);
  EXPECT_EQ(machine().Rules, RulesOf(Profile::SuperChip));
  Select(MenuId::ProfileAutomatic);
  EXPECT_EQ(machine().Rules, knight);
}

TEST_F(CompatibilityTest, ALargeXoChipProgramLoadsUnderAutomaticAndOtherRulesShrinkMemory) {
  // T8NKS is 33 005 bytes of XO-CHIP.
  const std::string path = WriteFile("t8nks.ch8", CollectionProgram("t8nks.ch8"));
  window.QueueOpenAnswer(path);
  Select(MenuId::Load);
  EXPECT_TRUE(machine().Rules.xoChip);
  EXPECT_EQ(machine().LastCell(), 0xFFFF);
  EXPECT_FALSE(machine().Cell(0x200 + 33004).IsEmpty());
  for (int pass = 0; pass < 1000; ++pass) frontEnd.RunPass();
  // The designed memory keeps the cells it has; the machine goes on without a fault.
  Select(MenuId::ProfileDesigned);
  EXPECT_EQ(machine().LastCell(), 0x1000);
  for (int pass = 0; pass < 1000; ++pass) frontEnd.RunPass();
  // Chosen by hand, a profile with the designed memory refuses it as too large.
  window.QueueOpenAnswer(path);
  Select(MenuId::Load);
  ASSERT_FALSE(window.Messages().empty());
  EXPECT_EQ(window.Messages().back().text, "Error: The program is too large");
  EXPECT_TRUE(machine().Cell(0x200).IsEmpty());
}

TEST_F(CompatibilityTest, AProgramThatEndsItselfStopsTheMachineAndSaysSo) {
  Select(MenuId::ProfileXoChip);
  StartProgram({0x00, 0xFD});
  frontEnd.RunPass();
  EXPECT_FALSE(machine().Running);
  EXPECT_TRUE(Marked(MenuId::Stop));
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_EQ(window.Messages()[0].text, "The program has ended.");
}

TEST_F(CompatibilityTest, FrameTimingShowsTheDisplayOncePerFrame) {
  Select(MenuId::ProfileXoChip);
  Select(MenuId::Cycles10);
  // Draws a sprite on every other instruction.
  StartProgram({0xD0, 0x01, 0x12, 0x00});
  const int pictures = window.PictureCount();
  for (int pass = 0; pass < 30; ++pass) frontEnd.RunPass();
  EXPECT_EQ(window.PictureCount() - pictures, 3);
}

}  // namespace
}  // namespace pellark
