// The real main loop of the desktop program under Qt's offscreen platform: at 100% speed one
// pass polls events, executes one instruction, paces it and steps the timers, and the picture,
// the trace list and the Inspector reach their windows as they do for a user; with frame
// timing, whole frames.
#include <benchmark/benchmark.h>

#include <time.h>

#include <chrono>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>

#include "frontend/front_end.h"
#include "platform/qt/qt_sound.h"
#include "platform/qt/qt_window_system.h"
#include "platform/sound.h"

namespace pellark {
namespace {

QtDesktop* window = nullptr;
// The desktop loop's own cost, without a device's.
NoSound silent;

// A register and jump loop.
constexpr std::initializer_list<int> kRegisterLoop = {
    0x60, 0x05, 0x71, 0x03, 0x82, 0x14, 0x83, 0x25, 0x34, 0x07, 0x84, 0x06, 0x12, 0x02,
};

// A sprite moves across the screen: every third instruction draws and refreshes the window.
constexpr std::initializer_list<int> kSpriteLoop = {
    0xA3, 0x00, 0xD0, 0x18, 0x70, 0x03, 0x12, 0x02,
};

struct Shown {
  bool trace = false;
  bool inspector = false;
};

void RunLoop(benchmark::State& state, std::initializer_list<int> program, Shown shown) {
  FrontEnd frontEnd(*window, *window, *window, silent);
  if (!frontEnd.StartUp()) {
    state.SkipWithError("the front end did not start");
    return;
  }
  frontEnd.RunCommand(MenuId::Speed100);
  frontEnd.RunCommand(MenuId::Run);
  if (shown.trace) frontEnd.RunCommand(MenuId::Debugger);
  if (shown.inspector) frontEnd.RunCommand(MenuId::Inspector);
  Machine& machine = frontEnd.machine();
  std::int32_t address = kProgramStart;
  for (const int byte : program) machine.SetCell(address++, ToHexByte(byte));
  for (std::int32_t row = 0; row < 8; ++row) machine.SetCell(0x300 + row, ToHexByte(0xA5 ^ row));
  frontEnd.RunCommand(MenuId::ResetAt200);
  for (auto _ : state) frontEnd.RunPass();
  state.SetItemsProcessed(state.iterations());
  // Leave the window without a trace list or Inspector for the next benchmark.
  if (shown.trace) frontEnd.RunCommand(MenuId::Debugger);
  if (shown.inspector) frontEnd.RunCommand(MenuId::Inspector);
}

void RegisterLoop(benchmark::State& state) {
  RunLoop(state, kRegisterLoop, {});
}
void SpriteLoop(benchmark::State& state) {
  RunLoop(state, kSpriteLoop, {});
}
void SpriteLoopTraced(benchmark::State& state) {
  RunLoop(state, kSpriteLoop, {.trace = true});
}
// The open Inspector takes a snapshot and redraws once per displayed frame; its cost is the
// difference from the same loop without it.
void RegisterLoopInspected(benchmark::State& state) {
  RunLoop(state, kRegisterLoop, {.inspector = true});
}
void SpriteLoopInspected(benchmark::State& state) {
  RunLoop(state, kSpriteLoop, {.inspector = true});
}

// Starts the front end running the sprite loop in the XO-CHIP rules at state.range(0) cycles per
// frame; false, with the benchmark skipped, when it does not start.
bool StartSpriteLoopInFrames(FrontEnd& frontEnd, benchmark::State& state) {
  if (!frontEnd.StartUp()) {
    state.SkipWithError("the front end did not start");
    return false;
  }
  Machine& machine = frontEnd.machine();
  std::int32_t address = kProgramStart;
  for (const int byte : kSpriteLoop) machine.SetCell(address++, ToHexByte(byte));
  frontEnd.RunCommand(MenuId::ResetAt200);
  machine.UseRules(RulesOf(Profile::XoChip));
  machine.Rules.cyclesPerFrame = static_cast<std::int32_t>(state.range(0));
  return true;
}

// Frame timing as a program of the database runs: a sprite loop in the XO-CHIP rules at
// state.range(0) cycles per frame. One iteration is one frame: its instructions, the display
// shown once and the sleep to the next 1/60 s. Reports the processor time a frame costs and
// the share of one core that makes.
void FrameTimedSpriteLoop(benchmark::State& state) {
  FrontEnd frontEnd(*window, *window, *window, silent);
  if (!StartSpriteLoopInFrames(frontEnd, state)) return;
  Machine& machine = frontEnd.machine();
  const auto processTime = [] {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
  };
  const auto wallStart = std::chrono::steady_clock::now();
  const double processStart = processTime();
  for (auto _ : state) {
    for (std::int32_t pass = 0; pass < machine.Rules.cyclesPerFrame; ++pass) frontEnd.RunPass();
  }
  const double processSeconds = processTime() - processStart;
  const std::chrono::duration<double> wall = std::chrono::steady_clock::now() - wallStart;
  state.counters["cpu_us_per_frame"] =
      processSeconds * 1e6 / static_cast<double>(state.iterations());
  state.counters["percent_of_a_core"] = 100.0 * processSeconds / wall.count();
}

// A minute of a tone that never stops, played on the desktop's sound device, while the sprite
// loop runs in the XO-CHIP rules at state.range(0) cycles per frame. Counts the times the
// device ran dry: each is a break in the tone. Needs a sound server (PULSE_SERVER).
void TonePlayedForAMinute(benchmark::State& state) {
  const auto sound = CreateQtSound();
  if (!sound->Available()) {
    state.SkipWithError("no sound device: start a sound server, or point PULSE_SERVER at one");
    return;
  }
  FrontEnd frontEnd(*window, *window, *window, *sound);
  if (!StartSpriteLoopInFrames(frontEnd, state)) return;
  Machine& machine = frontEnd.machine();
  for (auto _ : state) {
    machine.SoundTimer = 255;
    for (std::int32_t pass = 0; pass < machine.Rules.cyclesPerFrame; ++pass) frontEnd.RunPass();
  }
  state.counters["underruns"] = static_cast<double>(sound->Underruns());
}

BENCHMARK(RegisterLoop)->MinTime(2.0);
BENCHMARK(RegisterLoopInspected)->MinTime(2.0);
BENCHMARK(SpriteLoop)->MinTime(2.0);
BENCHMARK(SpriteLoopInspected)->MinTime(2.0);
// Fewer instructions than the list holds, so that every line is really added.
BENCHMARK(SpriteLoopTraced)->Iterations(900'000);
// 200 000 instructions a frame, as some XO-CHIP programs ask, must still fit in 1/60 s.
BENCHMARK(FrameTimedSpriteLoop)
    ->Arg(15)
    ->Arg(1000)
    ->Arg(200'000)
    ->Iterations(300)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(TonePlayedForAMinute)
    ->Arg(1000)
    ->Arg(200'000)
    ->Iterations(60 * 60)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace pellark

int main(int argc, char** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  std::string error;
  const auto windowSystem = pellark::CreateQtWindowSystem(argc, argv, error);
  if (!windowSystem) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  pellark::window = windowSystem.get();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
