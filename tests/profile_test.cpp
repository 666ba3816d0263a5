// The platform profiles: each common rule and each switch against the designed machine, with
// small programs run in both.
#include "core/instruction_pass.h"
#include "machine_fixture.h"

namespace pellark {
namespace {

class ProfileTest : public MachineTest {
 protected:
  // Runs the program from 0x200 under the rules.
  void RunUnder(const MachineRules& rules, std::initializer_list<int> program, int steps) {
    machine.UseRules(rules);
    Store(0x200, program);
    machine.ResetMachine();
    Run(steps);
  }
};

enum class Watched { VF, V0, I, PC };

struct RuleCase {
  const char* what;
  Profile profile;
  std::initializer_list<int> program;
  int steps;
  Watched watched;
  std::int32_t designed;  // the value as designed
  std::int32_t platform;  // the value under the profile
};

// Failures name the case, not its bytes.
void PrintTo(const RuleCase& ruleCase, std::ostream* out) {
  *out << ruleCase.what;
}

// The instructions before the watched one set up its operands.
const RuleCase kRuleCases[] = {
    {"8xy7 with x = F keeps the flag, written last",
     Profile::XoChip,
     {0x6F, 0x07, 0x68, 0x05, 0x8F, 0x87},
     3,
     Watched::VF,
     5,
     0},
    {"8xy5 with x = F keeps the flag",
     Profile::XoChip,
     {0x6F, 0x20, 0x68, 0x05, 0x8F, 0x85},
     3,
     Watched::VF,
     0xFC,
     1},
    {"8xyE with x = F keeps the flag",
     Profile::SuperChip,
     {0x6F, 0x81, 0x00, 0x00, 0x8F, 0x0E},
     3,
     Watched::VF,
     2,
     1},
    {"the logic switch clears VF after Or",
     Profile::Chip8,
     {0x6F, 0x05, 0x60, 0x03, 0x80, 0x11},
     3,
     Watched::VF,
     5,
     0},
    {"without the logic switch Or leaves VF",
     Profile::XoChip,
     {0x6F, 0x05, 0x60, 0x03, 0x80, 0x11},
     3,
     Watched::VF,
     5,
     5},
    {"without the shift switch Shr takes Vy",
     Profile::XoChip,
     {0x60, 0x03, 0x61, 0x06, 0x80, 0x16},
     3,
     Watched::V0,
     1,
     3},
    {"with the shift switch Shr works on Vx",
     Profile::SuperChip,
     {0x60, 0x03, 0x61, 0x06, 0x80, 0x16},
     3,
     Watched::V0,
     1,
     1},
    {"without the shift switch Shl takes Vy",
     Profile::Chip8,
     {0x60, 0x03, 0x61, 0x41, 0x80, 0x1E},
     3,
     Watched::V0,
     6,
     0x82},
    {"without the memory switch Str moves I on",
     Profile::XoChip,
     {0xA3, 0x00, 0x00, 0x00, 0xF2, 0x55},
     3,
     Watched::I,
     0x300,
     0x303},
    {"without the memory switch Ldr moves I on",
     Profile::Chip8,
     {0xA3, 0x00, 0x00, 0x00, 0xF0, 0x65},
     3,
     Watched::I,
     0x300,
     0x301},
    {"with the memory switch I stays",
     Profile::SuperChip,
     {0xA3, 0x00, 0x00, 0x00, 0xF2, 0x55},
     3,
     Watched::I,
     0x300,
     0x300},
    {"with the jump switch Bxnn adds Vx",
     Profile::SuperChip,
     {0x61, 0x02, 0x60, 0x04, 0xB1, 0x20},
     3,
     Watched::PC,
     0x124,
     0x122},
    {"without the jump switch Bnnn adds V0",
     Profile::XoChip,
     {0x61, 0x02, 0x60, 0x04, 0xB1, 0x20},
     3,
     Watched::PC,
     0x124,
     0x124},
    {"Font takes the low digit",
     Profile::XoChip,
     {0x60, 0x1A, 0x00, 0x00, 0xF0, 0x29},
     3,
     Watched::I,
     5 * 0x1A,
     50},
    {"Xfont finds 0 to 7 after F",
     Profile::XoChip,
     {0x60, 0x03, 0x00, 0x00, 0xF0, 0x30},
     3,
     Watched::I,
     30,
     0xA0 + 30},
    {"Xfont finds 8 to F at 10 * d",
     Profile::SuperChip,
     {0x60, 0x1C, 0x00, 0x00, 0xF0, 0x30},
     3,
     Watched::I,
     10 * 0x1C,
     0x78},
    {"0nnn passes by 2",
     Profile::XoChip,
     {0x12, 0x04, 0x00, 0x00, 0x00, 0x23, 0x60, 0x07},
     3,
     Watched::V0,
     0,
     7},
};

class RuleTest : public ProfileTest, public ::testing::WithParamInterface<RuleCase> {
 protected:
  std::int32_t WatchedValue(Watched watched) const {
    switch (watched) {
      case Watched::VF: return V(15);
      case Watched::V0: return V(0);
      case Watched::I: return machine.I;
      case Watched::PC: return machine.PC;
    }
    return -1;
  }
};

TEST_P(RuleTest, DiffersFromTheDesignedMachineAsTheProfileSays) {
  const RuleCase& rule = GetParam();
  RunUnder(RulesOf(Profile::Designed), rule.program, rule.steps);
  EXPECT_EQ(WatchedValue(rule.watched), rule.designed) << "as designed";
  RunUnder(RulesOf(rule.profile), rule.program, rule.steps);
  EXPECT_EQ(WatchedValue(rule.watched), rule.platform) << ProfileName(rule.profile);
}

INSTANTIATE_TEST_SUITE_P(Rules, RuleTest, ::testing::ValuesIn(kRuleCases),
                         [](const ::testing::TestParamInfo<RuleCase>& info) {
                           return "case" + std::to_string(info.index);
                         });

TEST_F(ProfileTest, RandomNumbersAreARandomByteMasked) {
  machine.Random.SeedRandom(1);
  RunUnder(RulesOf(Profile::XoChip), {0xC0, 0x1C, 0xC1, 0x1C}, 2);
  RandomGenerator reference;
  reference.SeedRandom(1);
  EXPECT_EQ(V(0), reference.RandomUpTo(255) & 0x1C);
  EXPECT_EQ(V(1), reference.RandomUpTo(255) & 0x1C);
}

TEST_F(ProfileTest, ZeroZeroFdEndsTheProgramWhereItStands) {
  RunUnder(RulesOf(Profile::XoChip), {0x60, 0x01, 0x00, 0xFD}, 2);
  EXPECT_FALSE(machine.Running);
  EXPECT_EQ(host.programEnds, 1);
  Run();
  EXPECT_EQ(machine.PC, 0x202);
  EXPECT_EQ(host.programEnds, 2);

  RunUnder(RulesOf(Profile::Designed), {0x60, 0x01, 0x00, 0xFD}, 2);
  EXPECT_TRUE(machine.Running);
}

TEST_F(ProfileTest, NopPassesWithItsLineButScrollsNothing) {
  machine.SetTrace(&trace);
  RunUnder(RulesOf(Profile::XoChip), {0x00, 0x00}, 0);
  Light(5, 10);
  Run();
  EXPECT_EQ(trace.lines.back(), "$200: Nop");
  EXPECT_TRUE(Lit(5, 10));
}

TEST_F(ProfileTest, FlagRegistersKeepUpToTheProfilesLimitAcrossResets) {
  // V0 = 5, V8 = 9; save V0..V8; clear both; reset at 200h keeps the flags; restore.
  const std::initializer_list<int> program = {0x60, 0x05, 0x68, 0x09, 0xF8, 0x75};
  RunUnder(RulesOf(Profile::XoChip), program, 3);
  machine.ResetMachine();
  Store(0x200, {0xF8, 0x85});
  Run();
  EXPECT_EQ(V(0), 5);
  EXPECT_EQ(V(8), 9);

  machine.FlagRegisters.fill(0);
  RunUnder(RulesOf(Profile::SuperChip), program, 3);
  machine.ResetMachine();
  Store(0x200, {0xF8, 0x85});
  Run();
  EXPECT_EQ(V(0), 5);
  EXPECT_EQ(V(8), 0);
}

TEST_F(ProfileTest, SpritesStartWrappedAndDrawEveryRowTheySay) {
  // I at 0x100 is no reason for five rows here; X = 70 starts at 6.
  Store(0x100, {0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80, 0x80});
  RunUnder(RulesOf(Profile::XoChip), {0xA1, 0x00, 0x60, 70, 0xD0, 0x18}, 3);
  EXPECT_TRUE(Lit(6, 7));
  EXPECT_EQ(LitPixels(), 8);
  RunUnder(RulesOf(Profile::Designed), {0xA1, 0x00, 0x60, 70, 0xD0, 0x18}, 3);
  EXPECT_EQ(LitPixels(), 0);
}

TEST_F(ProfileTest, TheClipSwitchDropsOrWrapsWhatCrossesAnEdge) {
  Store(0x300, {0xFF, 0xFF});
  const std::initializer_list<int> program = {0xA3, 0x00, 0x60, 62, 0x61, 31, 0xD0, 0x12};
  RunUnder(RulesOf(Profile::Chip8), program, 4);
  EXPECT_EQ(LitPixels(), 2);
  EXPECT_EQ(V(15), 0);
  RunUnder(RulesOf(Profile::XoChip), program, 4);
  EXPECT_EQ(LitPixels(), 16);
  EXPECT_TRUE(Lit(5, 0));
}

TEST_F(ProfileTest, WideSpritesAreSixteenBySixteenInLowResolution) {
  for (int row = 0; row < 32; ++row) Store(0x300 + row, {0xFF});
  RunUnder(RulesOf(Profile::XoChip), {0xA3, 0x00, 0xD0, 0x00}, 2);
  EXPECT_EQ(LitPixels(), 256);
}

TEST_F(ProfileTest, TimersCountOncePerFrameAndAFrameShowsTheDisplayOnce) {
  MachineRules rules = RulesOf(Profile::XoChip);
  rules.cyclesPerFrame = 10;
  // DT = 3, a sprite, then a jump to itself.
  RunUnder(rules, {0x60, 0x03, 0xF0, 0x15, 0xD0, 0x01, 0x12, 0x06}, 0);
  const int refreshes = host.refreshes;
  for (int pass = 0; pass < 25; ++pass) RunInstructionPass(machine, kNoPacing);
  EXPECT_EQ(host.frames, 2);
  EXPECT_EQ(machine.DelayTimer, 1);
  EXPECT_EQ(host.refreshes, refreshes);
}

TEST_F(ProfileTest, TheVblankSwitchEndsTheFrameAtALowResolutionDraw) {
  RunUnder(RulesOf(Profile::Chip8), {0xD0, 0x01, 0x12, 0x02}, 0);
  RunInstructionPass(machine, kNoPacing);
  EXPECT_EQ(host.frames, 1);
  host.frames = 0;
  RunUnder(RulesOf(Profile::XoChip), {0xD0, 0x01, 0x12, 0x02}, 0);
  RunInstructionPass(machine, kNoPacing);
  EXPECT_EQ(host.frames, 0);
}

TEST_F(ProfileTest, AKeyWaitGoesOnCountingFrames) {
  RunUnder(RulesOf(Profile::XoChip), {0x60, 0x05, 0xF0, 0x15, 0xF1, 0x0A}, 2);
  // Pressed after two frames, let go after the third.
  host.onPollEvents = [this] {
    if (host.frames == 2) keyboard.Hold(kScan1);
    if (host.frames == 3) keyboard.Hold(kScan1, false);
  };
  Run();
  EXPECT_EQ(V(1), 1);
  EXPECT_EQ(machine.DelayTimer, 2);
}

TEST_F(ProfileTest, AKeyWaitEndsWhenItsKeyIsLetGo) {
  RunUnder(RulesOf(Profile::Chip8), {0xF1, 0x0A}, 0);
  machine.ExecuteInstruction();
  keyboard.Hold(kScan4);
  EXPECT_FALSE(machine.ContinueKeyWait());
  EXPECT_FALSE(machine.ContinueKeyWait());
  EXPECT_EQ(host.frames, 2);
  keyboard.Hold(kScan4, false);
  EXPECT_TRUE(machine.ContinueKeyWait());
  EXPECT_EQ(V(1), 0xC);

  // As designed the press itself ends it.
  RunUnder(RulesOf(Profile::Designed), {0xF1, 0x0A}, 0);
  machine.ExecuteInstruction();
  keyboard.Hold(kScan4);
  EXPECT_TRUE(machine.ContinueKeyWait());
  EXPECT_EQ(V(1), 0xC);
}

TEST_F(ProfileTest, AnInterruptedKeyWaitEndsThoughItsKeyIsStillHeld) {
  RunUnder(RulesOf(Profile::XoChip), {0xF1, 0x0A}, 0);
  machine.ExecuteInstruction();
  keyboard.Hold(kScan1);
  EXPECT_FALSE(machine.ContinueKeyWait());
  machine.InterruptKeyWait();
  EXPECT_TRUE(machine.ContinueKeyWait());
  EXPECT_EQ(V(1), 1);
}

}  // namespace
}  // namespace pellark
