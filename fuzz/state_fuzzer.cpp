// libFuzzer target: the state-file reader. An input is read both as a whole state file and as
// changes to a valid one, so that the fuzzer also reaches the snapshot behind a sound header.
// Reading must never crash; a state it accepts must run; one it refuses must change nothing.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/instruction_pass.h"
#include "core/machine.h"
#include "core/machine_host.h"
#include "core/snapshot.h"
#include "files/state_file.h"
#include "platform/keyboard.h"

namespace pellark {
namespace {

void Check(bool holds, const char* rule) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", rule);
  std::abort();
}

class HeldKeyboard final : public KeyboardService {
 public:
  bool SnapshotKeyboard() override { return true; }
};

// A valid state: an XO-CHIP machine at start-up, a few cells written.
std::vector<std::uint8_t> ValidStateFile() {
  MachineHost host;
  HeldKeyboard keyboard;
  Machine machine(host, keyboard);
  machine.UseRules(RulesOf(Profile::XoChip));
  machine.StartUp();
  const std::uint8_t program[] = {0x60, 0x05, 0xF0, 0x29, 0xD0, 0x15, 0x12, 0x00};
  machine.LoadProgram(program);
  return StateFileBytes("", TakeSnapshot(machine));
}

void LoadAndRun(std::span<const std::uint8_t> file) {
  MachineHost host;
  HeldKeyboard keyboard;
  Machine machine(host, keyboard);
  machine.StartUp();
  const Snapshot before = TakeSnapshot(machine);
  const StateFileRead read = ParseStateFile(file);
  if (read.fault != StateFault::None || !RestoreSnapshot(machine, read.snapshot)) {
    Check(TakeSnapshot(machine) == before, "a refused state changed the machine");
    return;
  }
  Check(TakeSnapshot(machine) == read.snapshot, "a restored machine differs from its state");
  machine.Running = 1;
  for (int i = 0; i < 200 && machine.Running == 1; ++i) {
    RunInstructionPass(machine, kNoPacing, FramePacing::Immediate);
    if (machine.WaitingForKey()) machine.InterruptKeyWait();
  }
}

}  // namespace
}  // namespace pellark

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pellark;
  const std::span<const std::uint8_t> input(data, size);
  LoadAndRun(input);
  // The first three bytes place the rest over a valid state's snapshot, past its header.
  static const std::vector<std::uint8_t> valid = ValidStateFile();
  if (size < 3) return 0;
  std::vector<std::uint8_t> changed = valid;
  std::size_t offset =
      (std::size_t{data[0]} << 16 | std::size_t{data[1]} << 8 | data[2]) % changed.size();
  for (std::size_t i = 3; i < size && offset < changed.size(); ++i) changed[offset++] = data[i];
  // Only a snapshot that still matches its SHA-1 gets past the header: read the changed one
  // under a header made for it.
  const std::size_t headerEnd = valid.size() - ParseStateFile(valid).snapshot.size();
  const Snapshot snapshot(changed.begin() + static_cast<std::ptrdiff_t>(headerEnd), changed.end());
  LoadAndRun(StateFileBytes("", snapshot));
  return 0;
}
