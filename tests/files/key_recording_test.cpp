// The key file: what it writes reads back the same, and anything else is refused with a reason.
#include "files/key_recording.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "files/key_replay.h"

namespace pellark {
namespace {

using ::testing::HasSubstr;

const std::string kSha1 = "0123456789abcdef0123456789abcdef01234567";

KeyRecording ARecording(Profile profile) {
  KeyRecording recording;
  recording.programSha1 = kSha1;
  recording.rules = RulesOf(profile);
  recording.passes = 900;
  recording.changes = {{1, 0x0010}, {40, 0}, {41, 0x8001}, {900, 0x0002}};
  return recording;
}

class KeyFileRoundTrip : public ::testing::TestWithParam<Profile> {};

TEST_P(KeyFileRoundTrip, ReadsBackWhatItWrote) {
  KeyRecording recording = ARecording(GetParam());
  // Rules a profile never has: switches and a frame rate chosen by hand.
  recording.rules.switches.vblank = !recording.rules.switches.vblank;
  recording.rules.cyclesPerFrame = 1000;
  const KeyRecordingRead read = ReadKeyRecording(KeyRecordingText(recording));
  ASSERT_TRUE(read.recording) << read.error;
  EXPECT_EQ(*read.recording, recording);
}

INSTANTIATE_TEST_SUITE_P(EveryProfile, KeyFileRoundTrip,
                         ::testing::Values(Profile::Designed, Profile::Chip8, Profile::ModernChip8,
                                           Profile::SuperChip10, Profile::SuperChip,
                                           Profile::XoChip));

TEST(KeyFile, IsTextAPersonCanRead) {
  KeyRecording recording = ARecording(Profile::Designed);
  recording.rules.switches = {};
  EXPECT_EQ(KeyRecordingText(recording),
            "pellark-keys 1\n"
            "program " +
                kSha1 +
                "\n"
                "rules\n"
                "flag-registers 0\n"
                "cycles-per-frame 0\n"
                "switches none\n"
                "passes 900\n"
                "1 0010\n"
                "40 0000\n"
                "41 8001\n"
                "900 0002\n");
}

struct Damage {
  const char* name;
  std::string from;  // a line of the good file
  std::string to;    // what it becomes
  const char* reason;
};

void PrintTo(const Damage& damage, std::ostream* out) {
  *out << damage.name;
}

class DamagedKeyFile : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedKeyFile, IsRefusedWithItsReason) {
  std::string text = KeyRecordingText(ARecording(Profile::SuperChip));
  const std::size_t at = text.find(GetParam().from);
  ASSERT_NE(at, std::string::npos);
  text.replace(at, GetParam().from.size(), GetParam().to);
  const KeyRecordingRead read = ReadKeyRecording(text);
  EXPECT_FALSE(read.recording);
  EXPECT_THAT(read.error, HasSubstr(GetParam().reason));
}

INSTANTIATE_TEST_SUITE_P(
    Table, DamagedKeyFile,
    ::testing::Values(
        Damage{"NewerFormat", "pellark-keys 1\n", "pellark-keys 2\n", "newer Pellark (format 2"},
        Damage{"OtherFile", "pellark-keys 1\n", "PK\3\4", "no Pellark key file"},
        Damage{"FormatZero", "pellark-keys 1\n", "pellark-keys 0\n", "no Pellark key file"},
        Damage{"ShortSha1", "program " + kSha1, "program 0123", "program line"},
        Damage{"UpperCaseSha1", "program 0123456789abcdef", "program 0123456789ABCDEF",
               "program line"},
        Damage{"UnknownRule", "rules flag", "rules turbo flag", "rules line"},
        Damage{"RuleTwice", "rules flag-written-last", "rules flag-written-last flag-written-last",
               "rules line"},
        Damage{"TooManyFlagRegisters", "flag-registers 8", "flag-registers 17",
               "flag-registers line"},
        Damage{"NoFramesInFrames", "cycles-per-frame 30", "cycles-per-frame 0",
               "cycles-per-frame line"},
        Damage{"UnknownSwitch", "switches shift", "switches turbo,shift", "switches line"},
        Damage{"EmptySwitches", "switches shift,memory,jump,clip", "switches", "switches line"},
        Damage{"NegativePasses", "passes 900", "passes -900", "passes line"},
        Damage{"PassZero", "1 0010", "0 0010", "change of keys"},
        Damage{"PassesOutOfOrder", "41 8001", "39 8001", "change of keys"},
        Damage{"PassAfterTheEnd", "900 0002", "901 0002", "change of keys"},
        Damage{"NoChange", "41 8001", "41 0000", "change of keys"},
        Damage{"ThreeDigits", "41 8001", "41 801", "change of keys"},
        Damage{"CutOff", "900 0002\n", "900 00", "change of keys"},
        Damage{"MissingLine", "passes 900\n", "", "passes line"}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.name); });

TEST(KeyFile, EmptyIsRefused) {
  EXPECT_FALSE(ReadKeyRecording("").recording);
}

// A file is read whole or not at all: one too large is refused, never cut to a shorter run.
TEST(KeyFile, LargerThanTheLimitIsRefused) {
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / ("pellark-large-keys-" + std::to_string(::getpid()));
  const std::string text = KeyRecordingText(ARecording(Profile::Designed));
  {
    std::ofstream file(path, std::ios::binary);
    file << text << std::flush;
    ASSERT_TRUE(ReadKeyFile(path.string()).recording);
    // A hole up to the limit, and one byte more.
    file.seekp(static_cast<std::streamoff>(kLargestKeyFile));
    file << "\n";
  }
  const KeyRecordingRead read = ReadKeyFile(path.string());
  std::filesystem::remove(path);
  EXPECT_FALSE(read.recording);
  EXPECT_EQ(read.error, "it is larger than 64 MB");
}

TEST(KeyFile, ThatIsMissingSaysWhy) {
  const KeyRecordingRead read = ReadKeyFile("/nonexistent/run.c8keys");
  EXPECT_FALSE(read.recording);
  EXPECT_EQ(read.error, "No such file or directory");
}

// The replay's keyboard holds, before each pass, the keys of the last change up to it.
TEST(KeyReplay, HoldsEachChangeFromItsPassOn) {
  KeyReplay replay(ARecording(Profile::Designed));
  const auto held = [&replay](int scanCode) {
    replay.SnapshotKeyboard();
    return replay.IsKeyHeld(scanCode) != 0;
  };
  constexpr int kScanQ = 0x10;  // keypad 4
  constexpr int kScanX = 0x2D;  // keypad 0
  constexpr int kScanV = 0x2F;  // keypad F
  replay.BeginPass(1);
  EXPECT_TRUE(held(kScanQ));
  replay.BeginPass(39);
  EXPECT_TRUE(held(kScanQ));
  replay.BeginPass(40);
  EXPECT_FALSE(held(kScanQ));
  replay.BeginPass(41);
  EXPECT_TRUE(held(kScanX));
  EXPECT_TRUE(held(kScanV));
  replay.BeginPass(899);
  EXPECT_FALSE(replay.Ended());
  EXPECT_TRUE(held(kScanV));
  replay.BeginPass(900);
  EXPECT_TRUE(replay.Ended());
  EXPECT_FALSE(held(kScanV));
  EXPECT_TRUE(held(0x02));  // keypad 1
}

}  // namespace
}  // namespace pellark
