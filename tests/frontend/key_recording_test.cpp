// Record keys... and Replay keys...: a run recorded in the window ends in the same state when
// the window or pellark-run replays it; a key file that does not fit is refused, changing
// nothing.
#include <fstream>
#include <sstream>

#include "front_end_fixture.h"
#include "pellark-run/machine_report.h"
#include "runner/pellark_process.h"

namespace pellark {
namespace {

// Waits for a key into V0, adds a random byte to it into V1, then counts in V2 the rounds of a
// 64-round loop in which that key was not held, stores V2's digits at 300 and waits again.
const std::vector<unsigned char> kKeyProgram = {0x6A, 0x00, 0xF0, 0x0A, 0xC1, 0xFF, 0x81, 0x04,
                                                0x7A, 0x01, 0xE0, 0x9E, 0x72, 0x01, 0x3A, 0x40,
                                                0x12, 0x08, 0xA3, 0x00, 0xF2, 0x33, 0x12, 0x02};

constexpr int kScanW = 0x11;  // keypad 5
constexpr int kScan1 = 0x02;  // keypad 1

// The machine as pellark-run prints it: the state, the whole designed memory and the screen.
std::string Report(const Machine& machine) {
  return StateLine(machine) + "\n" + MemoryLine(machine, {0, kDesignedMemoryCells}) + "\n" +
         ScreenText(machine);
}

struct RecordCase {
  const char* name;
  MenuId profile;
};

// Failures name the case, not its bytes.
void PrintTo(const RecordCase& recordCase, std::ostream* out) {
  *out << recordCase.name;
}

class KeyRecordingTest : public StartedFrontEndTest,
                         public ::testing::WithParamInterface<RecordCase> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(started);
    program = WriteFile("keys.ch8", kKeyProgram);
    keyFile = (folder / "run.c8keys").string();
    Select(GetParam().profile);
    frontEnd.OpenProgram(program);
    // No busy-wait: the test's passes run as fast as they can.
    Select(MenuId::Speed100);
    Select(MenuId::Run);
  }
  void Passes(int count) {
    for (int i = 0; i < count; ++i) frontEnd.RunPass();
  }
  void Hold(int scanCode, int passes) {
    window.SetKeyHeld(scanCode, true);
    Passes(passes);
    window.SetKeyHeld(scanCode, false);
  }
  // A run with keys held, let go and held again, waits among them.
  void RecordARun() {
    window.QueueSaveAnswer(keyFile);
    Select(MenuId::RecordKeys);
    Passes(20);
    Hold(kScanW, 30);
    Passes(150);
    Hold(kScan1, 200);
    Passes(120);
    Hold(kScanW, 3);
    Passes(40);
    Select(MenuId::StopRecordingKeys);
  }

  std::string program;
  std::string keyFile;
};

TEST_P(KeyRecordingTest, PellarkRunReplaysTheRecordedRunToTheSameEnd) {
  // Keys before the recording do not count: the program starts anew.
  Hold(kScan1, 50);
  RecordARun();
  const std::string recorded = Report(machine());
  // The run went through waits and keys: its end is no start state.
  ASSERT_NE(machine().Registers[0xA], 0);
  const RunResult replay =
      RunPellark({"--boot", (folder / "Chip8.rom").string(), "--replay", keyFile, "--state",
                  "--memory", "0:4097", "--screen", program});
  EXPECT_EQ(replay.status, 0) << replay.err;
  EXPECT_EQ(replay.out, recorded);
}

TEST_P(KeyRecordingTest, TheWindowReplaysTheRecordedRunToTheSameEnd) {
  RecordARun();
  const std::string recorded = Report(machine());
  const std::uint64_t instructions = machine().InstructionCount;
  // Other keys and more passes since: the replay starts the program anew.
  Hold(kScanW, 100);
  window.QueueOpenAnswer(keyFile);
  Select(MenuId::ReplayKeys);
  window.SetKeyHeld(kScan1, true);  // the user's keys do not reach a replay
  for (int pass = 0; pass < 100000 && machine().Running == 1; ++pass) frontEnd.RunPass();
  window.SetKeyHeld(kScan1, false);
  EXPECT_EQ(machine().Running, 0);
  EXPECT_EQ(machine().InstructionCount, instructions);
  EXPECT_EQ(Report(machine()), recorded);
  // The user's keys are back.
  Select(MenuId::Run);
  Hold(kScanW, 50);
  EXPECT_NE(Report(machine()), recorded);
}

INSTANTIATE_TEST_SUITE_P(Table, KeyRecordingTest,
                         ::testing::Values(RecordCase{"AsDesigned", MenuId::ProfileDesigned},
                                           RecordCase{"CosmacVip", MenuId::ProfileChip8}),
                         [](const ::testing::TestParamInfo<RecordCase>& info) {
                           return std::string(info.param.name);
                         });

struct Ending {
  const char* name;
  MenuId command;
};

void PrintTo(const Ending& ending, std::ostream* out) {
  *out << ending.name;
}

class RecordingEnd : public StartedFrontEndTest, public ::testing::WithParamInterface<Ending> {};

// A recording keeps one run under one set of rules: what ends either ends it, and its file holds
// the passes up to then.
TEST_P(RecordingEnd, WritesThePassesSoFar) {
  frontEnd.OpenProgram(WriteFile("keys.ch8", kKeyProgram));
  const std::string keyFile = (folder / "run.c8keys").string();
  window.QueueSaveAnswer(keyFile);
  Select(MenuId::RecordKeys);
  window.SetKeyHeld(kScanW, true);
  for (int i = 0; i < 25; ++i) frontEnd.RunPass();
  Select(GetParam().command);
  frontEnd.RunPass();
  const KeyRecordingRead read = ReadKeyFile(keyFile);
  ASSERT_TRUE(read.recording) << read.error;
  EXPECT_EQ(read.recording->passes, 25u);
  EXPECT_EQ(read.recording->changes, (std::vector<KeyRecording::Change>{{1, 1u << 5}}));
}

INSTANTIATE_TEST_SUITE_P(Table, RecordingEnd,
                         ::testing::Values(Ending{"StopRecordingKeys", MenuId::StopRecordingKeys},
                                           Ending{"SwitchChanged", MenuId::SwitchVblank},
                                           Ending{"CyclesPerFrameChosen", MenuId::Cycles30},
                                           Ending{"Reset", MenuId::ResetAt200},
                                           Ending{"Quit", MenuId::Quit}),
                         [](const ::testing::TestParamInfo<Ending>& info) {
                           return std::string(info.param.name);
                         });

struct Refusal {
  const char* name;
  const char* file;  // the key file's text; {sha1} stands for the loaded program's SHA-1
  const char* message;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
  *out << refusal.name;
}

class KeyFileRefusal : public StartedFrontEndTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(KeyFileRefusal, ChangesNothingAndSaysWhy) {
  const std::string program = WriteFile("keys.ch8", kKeyProgram);
  frontEnd.OpenProgram(program);
  for (int i = 0; i < 40; ++i) frontEnd.RunPass();
  std::string text = GetParam().file;
  if (const std::size_t at = text.find("{sha1}"); at != std::string::npos)
    text.replace(at, 6, frontEnd.ProgramSha1);
  const std::string keyFile = WriteFile("bad.c8keys", {text.begin(), text.end()});
  const std::string before = Report(machine());
  const std::uint64_t instructions = machine().InstructionCount;

  window.QueueOpenAnswer(keyFile);
  Select(MenuId::ReplayKeys);

  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_NE(window.Messages()[0].text.find(GetParam().message), std::string::npos)
      << window.Messages()[0].text;
  EXPECT_EQ(Report(machine()), before);
  EXPECT_EQ(machine().InstructionCount, instructions);
  EXPECT_EQ(machine().Running, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, KeyFileRefusal,
    ::testing::Values(
        Refusal{"AnotherProgram",
                "pellark-keys 1\nprogram 0123456789abcdef0123456789abcdef01234567\nrules\n"
                "flag-registers 0\ncycles-per-frame 0\nswitches shift,memory,clip\npasses 5\n",
                "recorded with another program (SHA-1 0123456789abcdef"},
        Refusal{"Damaged",
                "pellark-keys 1\nprogram {sha1}\nrules\nflag-registers 0\n"
                "cycles-per-frame 0\nswitches shift,memory,clip\npasses 5\n3 00G0\n",
                "it is damaged (its a change of keys line"},
        Refusal{"Newer", "pellark-keys 7\nprogram {sha1}\n", "written by a newer Pellark"},
        Refusal{"NoKeyFile", "\x89PNG\r\n", "it is no Pellark key file"}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(StartedFrontEndTest, RecordingWithoutAProgramSaysToLoadOne) {
  window.QueueSaveAnswer((folder / "run.c8keys").string());
  Select(MenuId::RecordKeys);
  ASSERT_EQ(window.Messages().size(), 1u);
  EXPECT_NE(window.Messages()[0].text.find("Load a program first"), std::string::npos);
  EXPECT_FALSE(std::filesystem::exists(folder / "run.c8keys"));
}

}  // namespace
}  // namespace pellark
