// How fast the instruction cycle runs with no pacing: a register and jump loop, a
// sprite-drawing loop, and the register loop with every instruction traced; each against a
// plain byte-array interpreter running the same program in the same run. Then what watchpoints
// and a key recording cost the register loop.
#include <benchmark/benchmark.h>

#include <time.h>

#include <cstring>
#include <initializer_list>

#include "allocation_counter.h"
#include "core/instruction_pass.h"
#include "core/machine.h"
#include "core/machine_host.h"
#include "core/sound.h"
#include "core/watchpoints.h"
#include "frontend/key_recorder.h"
#include "plain_interpreter.h"
#include "platform/keyboard.h"
#include "trace/trace_log.h"

namespace pellark {
namespace {

class IdleKeyboard : public KeyboardService {
 public:
  bool SnapshotKeyboard() override { return true; }
};

// Copies every line, as a list or a file would have to.
class CopyingTrace : public TraceLog {
 public:
  void AddTraceLine(std::string_view line) override {
    std::memcpy(last_, line.data(), line.size());
    characters_ += line.size();
    benchmark::DoNotOptimize(last_);
  }

 private:
  char last_[64];
  std::size_t characters_ = 0;
};

struct BenchMachine {
  explicit BenchMachine(std::initializer_list<int> program) {
    machine.ResetAddress = kProgramStart;
    machine.ResetMachine();
    std::int32_t address = kProgramStart;
    for (const int byte : program) machine.SetCell(address++, ToHexByte(byte));
    // Sprite rows for the drawing loop.
    for (std::int32_t row = 0; row < 8; ++row) machine.SetCell(0x300 + row, ToHexByte(0xA5 ^ row));
  }
  MachineHost host;
  IdleKeyboard keyboard;
  CopyingTrace trace;
  Machine machine{host, keyboard};
};

// Registers, arithmetic with flags, a skip and a jump back.
constexpr std::initializer_list<int> kRegisterLoop = {
    0x60, 0x05,  // 200: V0 = 5
    0x71, 0x03,  // 202: V1 += 3
    0x82, 0x14,  // 204: V2 += V1, carry in VF
    0x83, 0x25,  // 206: V3 -= V2
    0x34, 0x07,  // 208: skip if V4 = 7
    0x84, 0x06,  // 20A: V4 >>= 1
    0x12, 0x02,  // 20C: jump 202
};

// Draws an 8-row sprite, moves it, and jumps back: every third instruction draws.
constexpr std::initializer_list<int> kSpriteLoop = {
    0xA3, 0x00,  // 200: I = 300
    0xD0, 0x18,  // 202: draw 8 rows at V0, V1
    0x70, 0x03,  // 204: V0 += 3
    0x12, 0x02,  // 206: jump 202
};

// Processor time of this thread: fair to both sides while other programs share the processor.
double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

// Instructions per second of the plain byte-array interpreter on the same program.
double PlainInstructionsPerSecond(std::initializer_list<int> program) {
  PlainInterpreter plain(program);
  constexpr int kInstructions = 20'000'000;
  const double start = ThreadSeconds();
  for (int i = 0; i < kInstructions; ++i) plain.Step();
  benchmark::DoNotOptimize(plain);
  return kInstructions / (ThreadSeconds() - start);
}

void RunInstructions(benchmark::State& state, std::initializer_list<int> program, bool traced,
                     const MachineRules& rules = MachineRules{}) {
  const double plainRate = PlainInstructionsPerSecond(program);
  BenchMachine bench(program);
  bench.machine.UseRules(rules);
  bench.machine.SetTrace(traced ? &bench.trace : nullptr);
  bench.machine.ExecuteInstruction();  // let the first cycle settle
  const std::size_t allocationsBefore = AllocationCount();
  const double start = ThreadSeconds();
  for (auto _ : state) bench.machine.ExecuteInstruction();
  const double seconds = ThreadSeconds() - start;
  state.SetItemsProcessed(state.iterations());
  state.counters["allocations_per_instruction"] =
      static_cast<double>(AllocationCount() - allocationsBefore) /
      static_cast<double>(state.iterations());
  // Measured side by side, so that the ratio holds whatever else the machine is doing.
  state.counters["of_plain_interpreter"] =
      static_cast<double>(state.iterations()) / seconds / plainRate;
}

void RegisterLoop(benchmark::State& state) {
  RunInstructions(state, kRegisterLoop, false);
}
void SpriteLoop(benchmark::State& state) {
  RunInstructions(state, kSpriteLoop, false);
}
void RegisterLoopTraced(benchmark::State& state) {
  RunInstructions(state, kRegisterLoop, true);
}
// The same loops by each profile's rules, state.range(0) indexing kProfileTable.
void RegisterLoopInProfile(benchmark::State& state) {
  const ProfileEntry& profile = kProfileTable[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(std::string(profile.commandLineName));
  RunInstructions(state, kRegisterLoop, false, profile.rules);
}
void SpriteLoopInProfile(benchmark::State& state) {
  const ProfileEntry& profile = kProfileTable[static_cast<std::size_t>(state.range(0))];
  state.SetLabel(std::string(profile.commandLineName));
  RunInstructions(state, kSpriteLoop, false, profile.rules);
}

// What the speed settings mean on this processor: whole passes with their busy-wait.
void PacedRegisterLoop(benchmark::State& state) {
  BenchMachine bench(kRegisterLoop);
  const std::int32_t spinCount = SpinCountForSpeed(static_cast<std::int32_t>(state.range(0)));
  for (auto _ : state) RunInstructionPass(bench.machine, spinCount);
  state.SetItemsProcessed(state.iterations());
}

// One frame of sound, as the machine makes it 60 times a second while a tone plays: at the
// reset pitch, and at the highest, whose bits outnumber the samples. Reports the share of one
// core that 60 such frames a second take.
void FrameOfSound(benchmark::State& state) {
  AudioPatternBytes pattern;
  pattern.fill(0xA5);
  const auto pitch = static_cast<std::int32_t>(state.range(0));
  double position = 0;
  FrameSamples samples;
  for (auto _ : state) {
    PlayPattern(pattern, pitch, position, samples);
    benchmark::DoNotOptimize(samples);
  }
  // Seconds per frame × 60 frames × 100 %.
  state.counters["percent_of_a_core_at_60_fps"] =
      benchmark::Counter(static_cast<double>(state.iterations()) / (100.0 * kSoundFramesPerSecond),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The register loop with watchpoints checked before every instruction: state.range(0) is none (the
// check alone), V7 (which no instruction writes: none is tried out), or V2 (its add is tried out
// on a copy of the machine, every sixth instruction); state.range(1) is 1 for XO-CHIP's rules,
// whose 64 KiB memory the copy takes.
void RegisterLoopWatched(benchmark::State& state) {
  static constexpr const char* kWatches[] = {nullptr, "V7", "V2"};
  const char* watch = kWatches[state.range(0)];
  const bool xoChip = state.range(1) == 1;
  state.SetLabel(std::string(watch == nullptr ? "none" : watch) + (xoChip ? " xochip" : ""));
  BenchMachine bench(kRegisterLoop);
  bench.machine.UseRules(xoChip ? RulesOf(Profile::XoChip) : MachineRules{});
  Watchpoints watchpoints;
  if (watch != nullptr) watchpoints.Add(*ParseWatchpoint(watch));
  std::int64_t stops = 0;
  for (auto _ : state) {
    // A stop is counted, and the machine runs on as Run would.
    if (watchpoints.StopsBefore(bench.machine)) ++stops;
    bench.machine.ExecuteInstruction();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["stops_per_instruction"] =
      static_cast<double>(stops) / static_cast<double>(state.iterations());
}

// Whole passes, as the register loop runs at 100%, with the keypad recorded after each.
void RegisterLoopRecorded(benchmark::State& state) {
  BenchMachine bench(kRegisterLoop);
  KeyRecorder recorder("unused.c8keys", std::string(40, '0'), bench.machine.Rules);
  for (auto _ : state) {
    RunInstructionPass(bench.machine, kNoPacing);
    recorder.AfterPass(KeypadBits(bench.machine.KeyStates));
  }
  state.SetItemsProcessed(state.iterations());
}
void RegisterLoopPasses(benchmark::State& state) {
  BenchMachine bench(kRegisterLoop);
  for (auto _ : state) RunInstructionPass(bench.machine, kNoPacing);
  state.SetItemsProcessed(state.iterations());
}

BENCHMARK(RegisterLoop);
BENCHMARK(SpriteLoop);
BENCHMARK(RegisterLoopWatched)->ArgsProduct({{0, 1, 2}, {0, 1}});
BENCHMARK(RegisterLoopPasses);
BENCHMARK(RegisterLoopRecorded);
BENCHMARK(RegisterLoopTraced);
BENCHMARK(FrameOfSound)->Arg(kResetPitch)->Arg(255);
BENCHMARK(RegisterLoopInProfile)->DenseRange(0, kProfileTable.size() - 1);
BENCHMARK(SpriteLoopInProfile)->DenseRange(0, kProfileTable.size() - 1);
BENCHMARK(PacedRegisterLoop)->Arg(25)->Arg(75)->Arg(95)->Arg(100)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace pellark

BENCHMARK_MAIN();
