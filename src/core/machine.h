#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/display_plane.h"
#include "core/hex_byte.h"
#include "core/keypad_map.h"
#include "core/machine_rules.h"
#include "core/sound.h"
#include "core/text_memory.h"
#include "platform/random.h"
#include "trace/trace_line.h"

namespace pellark {

class KeyboardService;
class MachineHost;
class TraceLog;

// Whether the end of a frame waits for the next 1/60 s, or is shown at once.
enum class FramePacing { RealTime, Immediate };
// A spin count that skips the busy-wait entirely, for unpaced runs.
inline constexpr std::int32_t kNoPacing = -1;
// What follows an instruction in its pass: the busy-wait's spin count (kNoPacing for none)
// and, with frame timing, how the frame's end is shown.
struct PassPacing {
  std::int32_t spinCount = kNoPacing;
  FramePacing framePacing = FramePacing::RealTime;
};
inline constexpr std::int32_t kNoKeyWait = -1;
inline constexpr std::int32_t kProgramStart = 0x200;
inline constexpr std::int32_t kBootStart = 0x100;
// Where the boot image keeps the large digits 0 to 7, whose places at 10 * d the small font
// takes; 8 to F are at 10 * d.
inline constexpr std::int32_t kLowLargeDigits = 0xA0;

// The CHIP-8/SUPER-CHIP machine: memory held as hexadecimal text cells, registers, stack,
// timers, keypad and display, and the instruction cycle that runs on them. The state is public:
// the front end, its commands and the runner read and set it by name.
class Machine {
 public:
  Machine(MachineHost& host, KeyboardService& keyboard);

  // Memory, addresses 0 to LastCell(); every cell empty until written.
  TextMemory MemoryCells;
  // V0 to VF, each 0 to 255; VF doubles as the flag register.
  std::array<std::int32_t, 16> Registers{};
  std::int32_t I = 0;
  std::int32_t PC = 0;
  // Added to PC before the next fetch: 2 after an ordinary instruction, 0 after a jump or reset.
  std::int32_t PcStep = 0;
  // The next instruction that has a handler is to be skipped.
  std::int32_t SkipNext = 0;
  // Calls fill slots 1 to 15; slot 16 stays 0.
  std::array<std::int32_t, 17> CallStack{};
  std::int32_t StackPointer = 0;
  std::int32_t DelayTimer = 0;
  std::int32_t SoundTimer = 0;
  std::array<std::int32_t, 16> KeyStates{};
  // Keypad value + 1 of the highest key seen held; 0 = none; 16 ends a key wait.
  std::int32_t PendingKey = 0;
  // The register an Fx0A waits to fill with a key; kNoKeyWait while none waits.
  std::int32_t KeyWaitRegister = kNoKeyWait;
  // How the pass that began the key wait paces the instruction once the wait ends.
  PassPacing KeyWaitPacing;
  // Where execution starts after a reset; 0x100 also selects a full reset.
  std::int32_t ResetAddress = kBootStart;
  std::int32_t Running = 0;
  // Instructions since the last timer step, modulo 25.
  std::int32_t TimerTick = 0;
  std::int32_t QuitRequested = 0;
  // The display: which pixels are lit, at 64 × 32 or 128 × 64.
  DisplayPlane Display;
  // XO-CHIP's second plane, as large as the first; a pixel's value is the first plane's bit
  // plus twice this one's.
  DisplayPlane SecondPlane;
  // XO-CHIP: the planes that draw, clear and scroll (bit 0 the first, bit 1 the second).
  std::int32_t PlaneMask = 1;
  // XO-CHIP: the 16 bytes of the audio pattern (F002), and its pitch (Fx3A).
  AudioPatternBytes AudioPattern{};
  std::int32_t Pitch = kResetPitch;
  // Where in the pattern the next frame's sound starts, in bits; back to 0 whenever a frame is
  // silent, so that each tone starts at the pattern's first bit.
  double PatternPosition = 0;

  // The rules in force; the designed machine unless a profile is chosen. Set them with
  // UseRules, which also shapes memory for them.
  MachineRules Rules;
  // The flag registers of Fx75/Fx85; no reset clears them.
  std::array<std::int32_t, 16> FlagRegisters{};
  // Instructions executed in the current frame, with frame timing.
  std::int32_t FrameCycle = 0;
  // A sprite draw has asked for the frame to end (the vblank switch).
  std::int32_t FrameEndRequested = 0;
  // Instruction cycles begun since the last reset.
  std::uint64_t InstructionCount = 0;

  RandomGenerator Random;
  // The bytes a full reset stores from address 0, as whoever read the boot image set them;
  // none when it could not be read, which each full reset then reports to the host.
  std::optional<std::vector<std::uint8_t>> BootImage;

  // What a program start does for the machine: the low-resolution display, the fixed random
  // seed (so every run draws the same sequence), the display image, and a full reset that
  // loads the boot image and starts its program at 0x100.
  void StartUp();
  // Brings the machine to its starting state and starts it at ResetAddress; a full reset
  // (ResetAddress 0x100) also clears memory and loads the boot image.
  void ResetMachine();
  // Stores a program's bytes from 0x200 as their cell texts and leaves PC at 0x200, also with
  // no bytes (a program that could not be read). Cells beyond the program keep their texts.
  void LoadProgram(std::span<const std::uint8_t> bytes);
  // One instruction cycle: advance PC, fetch, read the keypad, run one handler, settle PcStep.
  // Fx0A only begins its key wait here; the instruction ends when the wait does.
  void ExecuteInstruction();
  // Where executed instructions add their trace lines; null while the trace is off.
  void SetTrace(TraceLog* trace) { trace_ = trace; }
  bool WaitingForKey() const { return KeyWaitRegister != kNoKeyWait; }
  // One round of a key wait, as the main loop makes between its event polls: reads the keypad
  // and, with a key held (or the wait interrupted), writes it to Vx and ends the instruction;
  // with keyWaitForRelease a key seen held ends it only at the round that finds it let go. A
  // round that does not end the wait ends a frame, with frame timing. True when the wait has
  // ended.
  bool ContinueKeyWait();
  // The key wait in progress has seen a key held, or has been interrupted: the wait ends at
  // its next round, or, with keyWaitForRelease, at the round that finds the key let go.
  bool KeyWaitHasKey() const { return PendingKey != 0; }
  // Makes the key wait in progress end at its next round (Quit, a reset, a run with no more
  // keys to press).
  void InterruptKeyWait();
  // Where the next cycle fetches: PC moved on by PcStep, or PC itself from the last cell on,
  // where it no longer moves; XO-CHIP's addresses wrap around instead.
  std::int32_t NextFetchAddress() const {
    if (Rules.xoChip) return (PC + PcStep) & (kXoChipMemoryCells - 1);
    return PC < LastCell() ? PC + PcStep : PC;
  }
  // Puts the rules in force and gives memory their size: XO-CHIP's 64 KiB or the designed
  // cells, keeping the texts of the cells that remain.
  void UseRules(const MachineRules& rules);
  // The highest address memory has.
  std::int32_t LastCell() const { return MemoryCells.LastAddress(); }
  // Rebuilds KeyStates from the keyboard and raises PendingKey to the highest key held.
  void ReadKeypad();
  // PC keys that press keypad keys beside the sixteen of kKeypadMap (a program's arrow keys);
  // none as designed.
  void SetExtraKeys(std::span<const KeypadKey> keys);
  // Reads the keypad from keyboard from now on (a replay's keys, or the user's again); the next
  // reading reads it anew.
  void UseKeyboard(KeyboardService& keyboard);
  // With frame timing: counts the instruction just executed and ends the frame after the
  // frame's share of instructions, or early when a sprite draw asked for it.
  void CountFrameCycle(FramePacing framePacing);
  // Steps both timers once and lets the host show the display and, in real time, wait for the
  // next frame.
  void EndFrame(FramePacing framePacing);
  // Hands the host the sound of the frame that ends: the pattern while the sound timer runs
  // and the rules are audible, else silence. Called before the timers step.
  void EndSoundFrame();

  // Cell access that treats every address beyond the last cell as empty and drops writes there;
  // in XO-CHIP's memory every address wraps around to a cell.
  HexByte Cell(std::int32_t address) const {
    address &= addressMask_;
    if (address < 0 || address > LastCell()) return {};
    return MemoryCells[static_cast<std::size_t>(address)];
  }
  // The number a cell's text spells (HexToNumber), 0 beyond the last cell.
  std::int32_t CellValue(std::int32_t address) const {
    address &= addressMask_;
    if (address < 0 || address > LastCell()) return 0;
    return MemoryCells.ValueAt(static_cast<std::size_t>(address));
  }
  void SetCell(std::int32_t address, HexByte value) {
    address &= addressMask_;
    if (address < 0 || address > LastCell()) return;
    MemoryCells.Set(static_cast<std::size_t>(address), value);
    if (cellWrites_ != nullptr) cellWrites_->push_back(address);
  }

  // What the next instruction would do, found by running it on trial, a copy of this machine
  // that tells host rather than this machine's host and traces to trace; the addresses of the
  // cells it writes go to cellWrites. This machine stays as it is. A key wait (Fx0A) only
  // begins on the copy.
  void TryNextInstruction(Machine& trial, MachineHost& host, TraceLog& trace,
                          std::vector<std::int32_t>& cellWrites) const;

  // A pixel's value: the first plane's bit plus twice the second's (0 to 3).
  int PixelValue(int x, int y) const {
    return (Display.IsLit(x, y) ? 1 : 0) + (SecondPlane.IsLit(x, y) ? 2 : 0);
  }
  std::int32_t ScreenWidth() const { return Display.Width(); }
  std::int32_t ScreenHeight() const { return Display.Height(); }
  void ClearScreen();
  void ScrollScreen(int dx, int dy);
  void SetResolution(int width, int height);

  // Calls visit on every field of the machine's state, the one list snapshots are taken,
  // restored and written by (a field added to the machine belongs here too). Left out: the boot
  // image, the front end's file read anew at each full reset; the keypad reading's cache, which
  // a restore makes read anew; the host, keyboard and trace the machine reports to.
  template <typename Self, typename Visit>
  static void ForEachStateField(Self& machine, Visit&& visit) {
    visit(machine.Rules);
    visit(machine.addressMask_);
    visit(machine.MemoryCells);
    visit(machine.Registers);
    visit(machine.I);
    visit(machine.PC);
    visit(machine.PcStep);
    visit(machine.SkipNext);
    visit(machine.CallStack);
    visit(machine.StackPointer);
    visit(machine.DelayTimer);
    visit(machine.SoundTimer);
    visit(machine.KeyStates);
    visit(machine.PendingKey);
    visit(machine.KeyWaitRegister);
    visit(machine.KeyWaitPacing);
    visit(machine.ResetAddress);
    visit(machine.Running);
    visit(machine.TimerTick);
    visit(machine.QuitRequested);
    visit(machine.Display);
    visit(machine.SecondPlane);
    visit(machine.PlaneMask);
    visit(machine.AudioPattern);
    visit(machine.Pitch);
    visit(machine.PatternPosition);
    visit(machine.FlagRegisters);
    visit(machine.FrameCycle);
    visit(machine.FrameEndRequested);
    visit(machine.InstructionCount);
    visit(machine.Random);
    visit(machine.extraKeys_);
    visit(machine.keyWaitLength_);
    visit(machine.keyWaitInterrupted_);
  }
  // After a restore: the keypad is read anew from the keyboard at its next reading.
  void ForgetKeypadReading();

 private:
  // How the cycle settles PcStep after the handler.
  enum class CycleEnd {
    Advance,   // PcStep = the length: a handler ran or was skipped, or group 8, E or F matched no
               // row
    Transfer,  // PcStep = 0: a jump, call or return set PC itself
    KeepStep,  // PcStep unchanged: no handler takes the instruction
  };

  CycleEnd RunHandler(const Instruction& instruction);
  void SettleStep(CycleEnd end, std::int32_t length);
  // The line of an instruction that ends by advancing.
  CycleEnd Traced(const Instruction& instruction, std::int32_t value = 0) {
    Trace(instruction, instruction.operation, value);
    return CycleEnd::Advance;
  }

  // Flow.
  CycleEnd RunUnknownGroupZero(const Instruction& instruction);
  CycleEnd EndProgram();
  CycleEnd SkipIf(const Instruction& instruction, bool condition);
  CycleEnd Jump(const Instruction& instruction, std::int32_t target);
  CycleEnd Return(const Instruction& instruction);
  CycleEnd Call(const Instruction& instruction);

  // Arithmetic.
  CycleEnd Logic(const Instruction& instruction, std::int32_t result);
  CycleEnd AddRegisters(const Instruction& instruction);
  CycleEnd Subtract(const Instruction& instruction, const std::int32_t& minuend,
                    const std::int32_t& subtrahend);
  CycleEnd ShiftRight(const Instruction& instruction);
  CycleEnd ShiftLeft(const Instruction& instruction);
  const std::int32_t& ShiftedRegister(const Instruction& instruction) const;
  // Writes Vx and VF in the order the rules say. In the designed order the flag comes first
  // and the result is computed after it, from the registers as they are then.
  template <typename ComputeResult>
  void WriteResultAndFlag(std::int32_t x, std::int32_t flag, ComputeResult computeResult);
  // Fx55 and Fx65 after moving V0..Vx.
  void AdvanceIAfterTransfer(std::int32_t x);
  // Fx75 and Fx85: V0..Vx to the flag registers, or back.
  void SaveFlags(std::int32_t x);
  void RestoreFlags(std::int32_t x);
  std::int32_t LargeDigitAddress(std::int32_t digit) const;
  // Display.
  void DrawSprite(const Instruction& instruction);
  // Where a sprite goes and what it is made of.
  struct SpriteShape {
    std::int32_t x = 0;
    std::int32_t y = 0;
    bool wide = false;
    int rows = 0;
    int columns = 8;
    // Where its rows are read from: I, or after another plane's rows in XO-CHIP.
    std::int32_t source = 0;
  };
  struct SpriteCounts {
    int plotted = 0;
    int erased = 0;
  };
  // Row r's bits, as the high bits of 16.
  std::uint32_t SpriteRow(const SpriteShape& sprite, int row) const;
  // The three edge rules: clipped one pixel past the right and bottom edges, dropped past them
  // (the platforms), or wrapped around them (without the clip switch).
  SpriteCounts DrawClippedAtEdges(const SpriteShape& sprite);
  SpriteCounts DrawDroppingOffDisplay(const SpriteShape& sprite, DisplayPlane& plane);
  SpriteCounts DrawWrapping(const SpriteShape& sprite, DisplayPlane& plane);
  // The sprite on one plane by the rules' edge rule.
  SpriteCounts DrawOnPlane(const SpriteShape& sprite, DisplayPlane& plane);

  // XO-CHIP.
  // 5xy2 and 5xy3: Vx to Vy, in that order, to or from the cells from I on.
  void SaveRange(const Instruction& instruction);
  void LoadRange(const Instruction& instruction);
  void CopyAudioPattern();
  // The planes the mask selects, the first plane first.
  template <typename Visit>
  void ForEachSelectedPlane(Visit visit) {
    if ((PlaneMask & 1) != 0) visit(Display);
    if ((PlaneMask & 2) != 0) visit(SecondPlane);
  }

  // Keypad, timers and memory.
  CycleEnd SkipIfKey(const Instruction& instruction, bool condition);
  void BeginKeyWait(const Instruction& instruction);
  // With keyWaitForRelease: the key the wait has seen is still held, and nothing interrupted it.
  bool KeyWaitAwaitsRelease() const;
  void AddToI(std::int32_t value);
  void StoreDecimalDigits(std::int32_t value);
  void StoreRegisters(std::int32_t x);
  void LoadRegisters(std::int32_t x);
  bool IsKeypadKeyHeld(std::int32_t key) const;

  // Clears a pending skip; true when this instruction is the one skipped.
  bool ConsumeSkip() {
    if (SkipNext == 0) return false;
    SkipNext = 0;
    return true;
  }
  // Inline, so that an instruction with the trace off pays one test for it.
  void Trace(const Instruction& instruction, Operation operation, std::int32_t value = 0) {
    if (trace_ != nullptr) AddTraceLine(instruction, operation, value);
  }
  void AddTraceLine(const Instruction& instruction, Operation operation, std::int32_t value);
  void StoreBootImage();

  // The keyboard snapshot KeyStates were last read from, and the highest keypad key held then.
  std::uint32_t keypadGeneration_ = 0;
  std::int32_t highestKeyHeld_ = -1;
  std::vector<KeypadKey> extraKeys_;
  // Every bit for the designed memory, whose addresses never wrap; XO-CHIP's 16 bits.
  std::int32_t addressMask_ = -1;
  // The waiting instruction's length, the step its end settles; 0 once a reset during the
  // wait has set PC and PcStep for the next fetch itself.
  std::int32_t keyWaitLength_ = 0;
  // InterruptKeyWait has asked the wait to end at its next round, a key held or not.
  bool keyWaitInterrupted_ = false;
  // Pointers, so that a machine can be copied whole for a trial (TryNextInstruction).
  MachineHost* host_;
  KeyboardService* keyboard_;
  TraceLog* trace_ = nullptr;
  FrameSamples soundFrame_{};
  // The addresses the cells written go to, in a trial; null otherwise.
  std::vector<std::int32_t>* cellWrites_ = nullptr;
};

}  // namespace pellark
