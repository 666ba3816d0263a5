// The real main loop of the desktop program at 100% speed, under Qt's offscreen platform: one
// pass polls events, executes one instruction, paces it and steps the timers, and the picture
// and the trace list reach the window as they do for a user.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string>

#include "frontend/front_end.h"
#include "platform/qt/qt_window_system.h"

namespace pellark {
namespace {

WindowSystem* window = nullptr;

// A register and jump loop.
constexpr std::initializer_list<int> kRegisterLoop = {
    0x60, 0x05, 0x71, 0x03, 0x82, 0x14, 0x83, 0x25, 0x34, 0x07, 0x84, 0x06, 0x12, 0x02,
};

// A sprite moves across the screen: every third instruction draws and refreshes the window.
constexpr std::initializer_list<int> kSpriteLoop = {
    0xA3, 0x00, 0xD0, 0x18, 0x70, 0x03, 0x12, 0x02,
};

void RunLoop(benchmark::State& state, std::initializer_list<int> program, bool traced) {
  FrontEnd frontEnd(*window);
  if (!frontEnd.StartUp()) {
    state.SkipWithError("the front end did not start");
    return;
  }
  frontEnd.RunCommand(MenuId::Speed100);
  frontEnd.RunCommand(MenuId::Run);
  if (traced) frontEnd.RunCommand(MenuId::Debugger);
  Machine& machine = frontEnd.machine();
  std::int32_t address = kProgramStart;
  for (const int byte : program) machine.SetCell(address++, ToHexByte(byte));
  for (std::int32_t row = 0; row < 8; ++row) machine.SetCell(0x300 + row, ToHexByte(0xA5 ^ row));
  frontEnd.RunCommand(MenuId::ResetAt200);
  for (auto _ : state) frontEnd.RunPass();
  state.SetItemsProcessed(state.iterations());
  // Leave the window without a trace list for the next benchmark.
  if (traced) frontEnd.RunCommand(MenuId::Debugger);
}

void RegisterLoop(benchmark::State& state) {
  RunLoop(state, kRegisterLoop, false);
}
void SpriteLoop(benchmark::State& state) {
  RunLoop(state, kSpriteLoop, false);
}
void SpriteLoopTraced(benchmark::State& state) {
  RunLoop(state, kSpriteLoop, true);
}

BENCHMARK(RegisterLoop)->MinTime(2.0);
BENCHMARK(SpriteLoop)->MinTime(2.0);
// Fewer instructions than the list holds, so that every line is really added.
BENCHMARK(SpriteLoopTraced)->Iterations(900'000);

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
