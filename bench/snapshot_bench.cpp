// What a snapshot costs: taking and restoring one of the designed 4 KB machine and of XO-CHIP's
// 64 KB machine, with the bytes each holds, and the memory and time per frame of Step back's
// history of 60 s of frames (key frames and differences from them).
#include <benchmark/benchmark.h>

#include "core/machine.h"
#include "core/machine_host.h"
#include "core/snapshot.h"
#include "frontend/step_history.h"
#include "platform/keyboard.h"

namespace pellark {
namespace {

class IdleKeyboard : public KeyboardService {
 public:
  bool SnapshotKeyboard() override { return true; }
};

// A machine of the profile with every cell of its memory written.
struct FilledMachine {
  explicit FilledMachine(Profile profile) {
    machine.UseRules(RulesOf(profile));
    machine.StartUp();
    for (std::int32_t address = 0; address <= machine.LastCell(); ++address)
      machine.SetCell(address, ToHexByte(address * 7));
  }
  MachineHost host;
  IdleKeyboard keyboard;
  Machine machine{host, keyboard};
};

void TakeSnapshotOf(benchmark::State& state, Profile profile) {
  const FilledMachine filled(profile);
  std::size_t bytes = 0;
  for (auto _ : state) {
    const Snapshot snapshot = TakeSnapshot(filled.machine);
    bytes = snapshot.size();
    benchmark::DoNotOptimize(snapshot.data());
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}

void RestoreSnapshotOf(benchmark::State& state, Profile profile) {
  FilledMachine filled(profile);
  const Snapshot snapshot = TakeSnapshot(filled.machine);
  for (auto _ : state) benchmark::DoNotOptimize(RestoreSnapshot(filled.machine, snapshot));
}

// 60 s of frames at 1 000 cycles per frame, each frame's snapshot offered to the history.
void HistoryOfAMinute(benchmark::State& state, Profile profile) {
  FilledMachine filled(profile);
  filled.machine.Rules.frameTiming = true;
  filled.machine.Rules.cyclesPerFrame = 1000;
  std::size_t bytes = 0;
  for (auto _ : state) {
    StepHistory history;
    for (int frame = 0; frame < 60 * 60; ++frame) {
      // A game's frame: registers, a few cells and a sprite's pixels change.
      filled.machine.InstructionCount += 1000;
      filled.machine.Registers[static_cast<std::size_t>(frame % 16)] = frame % 256;
      for (int cell = 0; cell < 8; ++cell)
        filled.machine.SetCell(0xE00 + (frame * 8 + cell) % 0x100, ToHexByte(frame + cell));
      for (int pixel = 0; pixel < 64; ++pixel)
        filled.machine.Display.Toggle((frame + pixel) % 64, (frame / 64 + pixel / 8) % 32);
      history.Record(filled.machine, 0);
    }
    bytes = history.Bytes();
  }
  state.counters["MB"] = static_cast<double>(bytes) / (1 << 20);
  // Frames per second recorded: its inverse is the cost per frame.
  state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations()) * 60 * 60);
}

BENCHMARK_CAPTURE(TakeSnapshotOf, Designed, Profile::Designed);
BENCHMARK_CAPTURE(TakeSnapshotOf, XoChip, Profile::XoChip);
BENCHMARK_CAPTURE(RestoreSnapshotOf, Designed, Profile::Designed);
BENCHMARK_CAPTURE(RestoreSnapshotOf, XoChip, Profile::XoChip);
BENCHMARK_CAPTURE(HistoryOfAMinute, Designed, Profile::Designed)->Iterations(1);
BENCHMARK_CAPTURE(HistoryOfAMinute, XoChip, Profile::XoChip)->Iterations(1);

}  // namespace
}  // namespace pellark

BENCHMARK_MAIN();
