#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "core/machine.h"
#include "core/machine_host.h"
#include "platform/keyboard.h"
#include "trace/trace_log.h"

namespace pellark {

// A host that counts what the machine asks of the front end.
class RecordingHost : public MachineHost {
 public:
  void LayOutWindow() override { ++layouts; }
  void LayOutWindowForResolution() override { ++resolutionLayouts; }
  void RefreshWindow() override { ++refreshes; }
  void BootImageUnreadable() override { ++unreadableBootImages; }
  // What the main loop does before each round of a key wait.
  void PollEvents() {
    ++polls;
    if (onPollEvents) onPollEvents();
  }
  void ShowFrame() override { ++frames; }
  void SpriteDrawn(int plotted, int erased) override { sprites.emplace_back(plotted, erased); }
  void ProgramEnded() override { ++programEnds; }
  void FrameSound(std::span<const std::int16_t> samples) override {
    soundFrames.emplace_back(samples.begin(), samples.end());
  }

  int layouts = 0;
  int resolutionLayouts = 0;
  int refreshes = 0;
  int polls = 0;
  int frames = 0;
  int programEnds = 0;
  int unreadableBootImages = 0;
  // What each sprite drawn without frame timing plotted and erased.
  std::vector<std::pair<int, int>> sprites;
  // The samples of every frame of sound, in order.
  std::vector<std::vector<std::int16_t>> soundFrames;
  std::function<void()> onPollEvents;
};

class ScriptedKeyboard : public KeyboardService {
 public:
  bool SnapshotKeyboard() override {
    StoreSnapshot(held_);
    return true;
  }
  void Hold(int scanCode, bool held = true) {
    held_.at(static_cast<std::size_t>(scanCode)) = held ? 0x80 : 0;
  }

 private:
  Snapshot held_{};
};

class RecordingTrace : public TraceLog {
 public:
  void AddTraceLine(std::string_view line) override { lines.emplace_back(line); }
  std::vector<std::string> lines;
};

// Scan codes of the PC keys that stand for some keypad keys.
inline constexpr int kScanX = 0x2D;  // keypad 0
inline constexpr int kScan1 = 0x02;  // keypad 1
inline constexpr int kScan4 = 0x05;  // keypad C

// A machine reset at 0x200 with empty memory, ready for a program written into it.
class MachineTest : public ::testing::Test {
 protected:
  MachineTest() {
    machine.ResetAddress = kProgramStart;
    machine.ResetMachine();
  }

  // Writes bytes as cell texts from address on.
  void Store(std::int32_t address, std::initializer_list<int> bytes) {
    for (const int byte : bytes) machine.SetCell(address++, ToHexByte(byte));
  }
  // Runs instructions as the main loop does, polling events between the rounds of a key wait.
  void Run(int instructions = 1) {
    for (int i = 0; i < instructions; ++i) {
      machine.ExecuteInstruction();
      while (machine.WaitingForKey()) {
        host.PollEvents();
        machine.ContinueKeyWait();
      }
    }
  }
  // Runs one instruction and answers the address it ran at.
  std::int32_t RunAndGetAddress() {
    const std::int32_t address = machine.NextFetchAddress();
    Run();
    return address;
  }
  std::int32_t V(int index) const { return machine.Registers[static_cast<std::size_t>(index)]; }
  void SetV(int index, std::int32_t value) {
    machine.Registers[static_cast<std::size_t>(index)] = value;
  }
  bool Lit(int x, int y) const { return machine.Display.IsLit(x, y); }
  void Light(int x, int y) {
    if (!Lit(x, y)) machine.Display.Toggle(x, y);
  }
  void LightAll() {
    for (int y = 0; y < machine.ScreenHeight(); ++y) {
      for (int x = 0; x < machine.ScreenWidth(); ++x) Light(x, y);
    }
  }
  int LitPixels() const {
    int count = 0;
    for (int y = 0; y < machine.ScreenHeight(); ++y) {
      for (int x = 0; x < machine.ScreenWidth(); ++x) count += Lit(x, y) ? 1 : 0;
    }
    return count;
  }

  RecordingHost host;
  ScriptedKeyboard keyboard;
  RecordingTrace trace;
  Machine machine{host, keyboard};
};

}  // namespace pellark
