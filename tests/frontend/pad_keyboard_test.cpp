// The game controllers' layer between SDL and the keypad, tested with a pad of its own.
#include "frontend/pad_keyboard.h"

#include <chrono>

#include "core/keypad_map.h"
#include "front_end_fixture.h"
#include "platform/sdl_game_pad.h"

namespace pellark {
namespace {

constexpr int kUpArrow = kProgramKeyScanCodes[0];
constexpr int kRightArrow = kProgramKeyScanCodes[3];
constexpr int kSpace = kProgramKeyScanCodes[4];
constexpr int kLeftShift = kProgramKeyScanCodes[5];

struct MappingCase {
  const char* name;
  PadState pad;
  ProgramKeys programKeys;
  std::vector<int> scanCodes;
};

class PadMappingTest : public ::testing::TestWithParam<MappingCase> {};

TEST_P(PadMappingTest, HoldsTheKeysThatStandForTheControls) {
  const MappingCase& mapping = GetParam();
  EXPECT_EQ(PadScanCodes(mapping.pad, mapping.programKeys), mapping.scanCodes);
}

constexpr ProgramKeys kNoKeys{};
// A program that names up, right and a only.
constexpr ProgramKeys kSomeKeys{0x5, std::nullopt, std::nullopt, 0x9, 0xA, std::nullopt};

INSTANTIATE_TEST_SUITE_P(
    Controls, PadMappingTest,
    ::testing::Values(
        MappingCase{"NothingHeld", {}, kNoKeys, {}},
        MappingCase{"DPadWithoutProgramKeys",
                    {.up = true, .down = true, .left = true, .right = true},
                    kNoKeys,
                    {ScanCodeOfKeypadKey(2), ScanCodeOfKeypadKey(8), ScanCodeOfKeypadKey(4),
                     ScanCodeOfKeypadKey(6)}},
        MappingCase{"AWithoutProgramKeysIsFive", {.a = true}, kNoKeys, {ScanCodeOfKeypadKey(5)}},
        MappingCase{"BWithoutProgramKeysIsNothing", {.b = true}, kNoKeys, {}},
        MappingCase{"ProgramKeysTakeTheirPcKeys",
                    {.up = true, .right = true, .a = true},
                    kSomeKeys,
                    {kUpArrow, kRightArrow, kSpace}},
        MappingCase{"AControlTheProgramDoesNotNameIsNothing",
                    {.down = true, .left = true, .b = true},
                    kSomeKeys,
                    {}},
        MappingCase{
            "BTakesTheProgramsB",
            {.b = true},
            ProgramKeys{std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 0x3},
            {kLeftShift}}),
    [](const auto& info) { return std::string(info.param.name); });

// A pad a test holds controls on, and plugs in or out.
class TestPad final : public GamePad {
 public:
  PadState Read() override { return state; }
  PadState state;
};

class PadFrontEndTest : public ::testing::Test {
 protected:
  PadFrontEndTest() { started = frontEnd.StartUp(); }
  ~PadFrontEndTest() override { std::filesystem::remove_all(folder); }

  // Runs passes until the key wait at 200 ends, within a generous limit; the key it took, or
  // -1.
  int KeyTaken() {
    const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (machine().WaitingForKey() && std::chrono::steady_clock::now() < limit)
      frontEnd.RunPass();
    return machine().WaitingForKey() ? -1 : machine().Registers[3];
  }
  Machine& machine() { return frontEnd.machine(); }
  void WaitForAKey() {
    machine().SetCell(0x200, ToHexByte(0xF3));
    machine().SetCell(0x201, ToHexByte(0x0A));
    machine().SetCell(0x202, ToHexByte(0x12));
    machine().SetCell(0x203, ToHexByte(0x02));
    window.QueueMenuSelection(static_cast<int>(MenuId::ResetAt200));
    frontEnd.PollEvents();
    frontEnd.RunPass();
    frontEnd.RunPass();
  }

  std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("pellark-pad-" + std::to_string(::getpid()));
  HeadlessWindowSystem window;
  TestPad pad;
  RecordedSound sound;
  FrontEnd frontEnd{window, window, window, sound, &pad};
  bool started = false;
};

TEST_F(PadFrontEndTest, TheDPadPlaysLikeTheKeyboardAndAnUnpluggedPadChangesNothing) {
  ASSERT_TRUE(started);
  WaitForAKey();
  ASSERT_TRUE(machine().WaitingForKey());
  // Nothing held: the wait goes on as with no pad at all.
  for (int pass = 0; pass < 50; ++pass) frontEnd.RunPass();
  EXPECT_TRUE(machine().WaitingForKey());
  pad.state.right = true;
  EXPECT_EQ(KeyTaken(), 0x6);
  // The keyboard still plays beside it.
  // Let go, once the pad is next read: the keypad no longer holds 6.
  pad.state = {};
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  do {
    frontEnd.RunPass();
    machine().ReadKeypad();
  } while (machine().KeyStates[6] != 0 && std::chrono::steady_clock::now() < limit);
  ASSERT_EQ(machine().KeyStates[6], 0) << "the pad was not read again";
  WaitForAKey();
  window.SetKeyHeld(ScanCodeOfKeypadKey(0xC), true);
  EXPECT_EQ(KeyTaken(), 0xC);
}

// SDL starts without a display or sound, and with no controller plugged in holds nothing.
TEST(SdlGamePadTest, WithoutControllersHoldsNothing) {
  SdlGamePad pad;
  EXPECT_EQ(pad.Read(), PadState{});
  EXPECT_EQ(pad.Read(), PadState{});
}

}  // namespace
}  // namespace pellark
