// libFuzzer target: every input is a key file. Reading it must never crash, and must give a
// recording or a reason, never both; a recording read is one the file's own writer gives back
// unchanged, and one a replay can follow.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "files/key_recording.h"

namespace pellark {
namespace {

// A broken rule is a crash, which is what the fuzzer reports.
void Check(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}

void CheckRecording(const KeyRecording& recording) {
  std::uint64_t pass = 0;
  for (const KeyRecording::Change& change : recording.changes) {
    Check(change.pass > pass && change.pass <= recording.passes,
          "changes rise from pass 1 to the end of the run");
    pass = change.pass;
  }
  const MachineRules& rules = recording.rules;
  Check(rules.flagRegisterCount >= 0 && rules.flagRegisterCount <= 16,
        "the flag registers are the machine's");
  Check(!rules.frameTiming || (rules.cyclesPerFrame >= 1 && rules.cyclesPerFrame <= 1'000'000),
        "a frame rate is one the menus and the command line allow");
}

}  // namespace
}  // namespace pellark

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  const pellark::KeyRecordingRead read = pellark::ReadKeyRecording(input);
  if (!read.recording) {
    pellark::Check(!read.error.empty(), "a refusal says why");
    pellark::Check(read.error.find('\n') == std::string::npos && read.error.size() < 200,
                   "a reason is one short line");
    return 0;
  }
  pellark::Check(read.error.empty(), "a recording read has no error");
  pellark::CheckRecording(*read.recording);
  const pellark::KeyRecordingRead again =
      pellark::ReadKeyRecording(pellark::KeyRecordingText(*read.recording));
  pellark::Check(again.recording && *again.recording == *read.recording,
                 "a recording written reads back unchanged");
  return 0;
}
