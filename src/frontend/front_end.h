#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/breakpoints.h"
#include "core/machine.h"
#include "core/machine_host.h"
#include "core/watchpoints.h"
#include "files/key_replay.h"
#include "files/program_database.h"
#include "files/program_file.h"
#include "frontend/compatibility.h"
#include "frontend/display_picture.h"
#include "frontend/inspector_controller.h"
#include "frontend/key_recorder.h"
#include "frontend/menu_tree.h"
#include "frontend/pad_keyboard.h"
#include "frontend/program_commands.h"
#include "frontend/recorded_keyboard.h"
#include "frontend/smooth_picture.h"
#include "frontend/state_commands.h"
#include "frontend/step_history.h"
#include "frontend/trace_buffer.h"
#include "platform/gif_clip.h"
#include "platform/timing.h"
#include "trace/trace_log.h"

namespace pellark {

class InspectorView;
class KeyboardService;
class SoundService;
class WindowSystem;
struct WindowEvent;

// The program around the machine: start-up, the main loop, the menu commands, the window's
// layout and the presentation of the display; it owns the parts for the rules, the Inspector
// and the trace lines. It stands only on the window, keyboard and Inspector view interfaces.
class FrontEnd final : public MachineHost, public TraceLog {
 public:
  // pad: the game controllers, which play on the keyboard; null for none.
  FrontEnd(WindowSystem& window, KeyboardService& keyboard, InspectorView& inspector,
           SoundService& sound, GamePad* pad = nullptr);

  // The start-up sequence up to the first refresh; false when the program has to end (no
  // keyboard, or no window).
  bool StartUp();
  // Passes until Quit or the close box.
  void ProgramLoop();
  // One pass: events, then one paced instruction while running, or a short sleep.
  void RunPass();
  // Carries out one menu command, as a selection of its item does.
  void RunCommand(MenuId command);
  // One round of event handling and menu commands; commands may reset the machine.
  void PollEvents();
  // Resets the machine and loads the program file at path, as Load does with the file chosen
  // in its dialog: for a program named on the command line or dropped on the window.
  void OpenProgram(const std::string& path);

  Machine& machine() { return machine_; }
  const ProgramCommands& programs() const { return programs_; }
  // The database that loads look programs up in, in place of the installed one.
  void UseProgramDatabase(const DatabaseRead& database) { programs_.UseDatabase(database); }

  // Settings and state of the front end.
  std::int32_t ScaleFactor = 2;
  std::int32_t SpeedPercent = 75;
  std::int32_t SpinCount = 0;
  // Tick at which the speed text was drawn; 0 when none is showing.
  std::uint32_t SpeedTextTime = 0;
  std::int32_t MenuHeight = 0;
  // Whether executed instructions add their lines to the trace list ("Debugger").
  std::int32_t TraceEnabled = 0;
  // Which colour a lit pixel shows: 0 White, 1 Black ("Invert Colors").
  std::int32_t InvertColors = 0;
  // Whether a sprite draw that only erased pixels leaves the window as it was.
  std::int32_t Antiflicker = 0;
  // Whether platform profiles' frames of sound are played ("Sound"; off without a device).
  std::int32_t SoundEnabled = 1;
  // Whether the display's background shows the buzzer colour while the sound timer runs.
  std::int32_t VisualBeep = 0;
  // Whether the display fills the screen ("Full screen").
  std::int32_t FullScreen = 0;
  // Whether pixels turned off fade over the next two displayed frames ("Smooth").
  std::int32_t Smooth = 0;
  // The boot image every full reset reads anew.
  std::filesystem::path BootImagePath = DefaultBootImagePath();
  std::string CreditText;
  // What the program database knows of the program in memory; none for the boot program and
  // for programs it does not know.
  std::optional<KnownProgram> ProgramInMemory;
  // The SHA-1 of the program file in memory; empty for the boot program.
  std::string ProgramSha1;

  // MachineHost
  void LayOutWindow() override;
  void LayOutWindowForResolution() override;
  void RefreshWindow() override;
  void BootImageUnreadable() override;
  void ShowFrame() override;
  void SpriteDrawn(int plotted, int erased) override;
  void FrameSound(std::span<const std::int16_t> samples) override;
  void ProgramEnded() override;

  // TraceLog
  void AddTraceLine(std::string_view line) override;

 private:
  void Step();
  // Undoes the last instruction of a stopped machine: the nearest earlier snapshot, run forward
  // with the recorded keys to the instruction before.
  void StepBack();
  // While Backspace is held or Rewind is marked: one kept snapshot back per frame, shown; false
  // when the machine is not rewinding.
  bool RewindPass();
  // Goes back to the kept snapshot nearest before the instruction count, the keys recorded
  // after it forgotten; false when none is kept.
  bool GoBackTo(std::uint64_t instructionCount);
  // A new run: what was recorded for stepping back belongs to the old one.
  void ForgetHistory();
  void StopAtBreakpoint();
  void StopAtWatchpoint(const WatchStop& stop);
  void RequestQuit();
  // Resets the machine at its ResetAddress; a full reset reads the boot image first.
  void ResetMachine();
  void ResetWith(std::int32_t resetAddress);
  void ReadBootImageIntoMachine();
  // Load, Reload and a program opened by name, after their reset; rules, when given, replace
  // the rules the program would run by.
  void LoadProgram(const std::string& path, const MachineRules* rules = nullptr);
  // One pass of the machine: an instruction, or a round of a key wait. A recording notes the
  // keypad the machine read in it; a replay gives the keypad its recording says.
  bool RunMachinePass(std::int32_t spinCount, FramePacing framePacing = FramePacing::RealTime);
  // "Record keys...": the program in memory starts anew, as at start-up, and every pass's
  // keypad is recorded until "Stop recording keys", a reset, a change of rules or Quit.
  void RecordKeys();
  // Writes the recording's file and ends it; nothing when none is in progress.
  void FinishRecording();
  // "Replay keys...": the program in memory starts anew under the key file's rules, and runs
  // on its keys for its passes; then the machine stops, back on the user's keys.
  void ReplayKeys();
  void FinishReplay();
  // Starts the program file in memory anew, as at start-up, with the rules given or its own;
  // false, after saying why, when it cannot be loaded again.
  bool RestartProgram(const MachineRules* rules);
  void Run();
  void Stop();
  void ToggleDebugger();
  void SetScale(MenuId command);
  void ToggleAntiflicker();
  void ToggleInvertColors();
  void ToggleSmooth();
  void ToggleFullScreen();
  void SetSpeed(std::int32_t speedPercent);
  void ToggleSound();
  void ToggleVisualBeep();
  // The buzzer's background while the sound timer runs with Visual beep on.
  void ApplyVisualBeep(DisplayColours& colours) const;
  // With "Automatic", the rules of the program in memory; then its look.
  void FollowProgramInMemory();
  // A "Compatibility" profile item or "Automatic".
  void ChooseProfile(MenuId command);
  // A program the database knows shows its colours and takes its keys, unless the machine runs
  // as designed.
  void ApplyProgramLook();
  DisplayColours Colours() const;
  // Shows the text over the display for a moment, as the speed text shows.
  void ShowCaption(const std::string& text);
  void DrawCaption(const std::string& text);
  // The title and rules of the program just loaded, or that it is unknown.
  void ShowRecognition();
  void ShowProgramInformation();
  void ShowSpeed();
  std::string SpeedText() const;
  // Flips a toggle item's mark; the mark, not the flag, decides the direction. Returns the new
  // flag.
  std::int32_t ToggleMark(MenuId item);

  void ApplyWindowSize();
  void RebuildTraceList();
  // A new, empty trace list below the display, its top at top.
  void CreateTraceList(int top);
  void SaveTrace();
  // After a saved state was loaded: the window, the marks and the display show the machine.
  void ShowLoadedState();

  // The display painted in its colours, one pixel per display pixel.
  const Image& PaintedPicture();
  // What the window shows of it, with Smooth's fading pixels, and its magnification there.
  const Image& ShownPicture();
  int ShownScale() const;
  // File > Save picture..., Record clip... and Stop recording.
  void SavePicture();
  void RecordClip();
  void StopRecording();
  // What a failed write of a picture or a clip says.
  void ShowWriteFailure(const std::string& reason);

  void ToggleInspector();
  // The Inspector's requests and the user's actions in it.
  void HandleInspectorEvent(const WindowEvent& event);
  // The speed, or with frame timing the profile and its cycles per frame.
  std::string PaceText() const;
  int DisplayWidth() const { return machine_.ScreenWidth() * ScaleFactor; }
  int DisplayHeight() const { return machine_.ScreenHeight() * ScaleFactor; }

  DisplayPicture picture_;
  SmoothPicture smooth_;
  WindowSystem& window_;
  SoundService& sound_;
  // The user's keyboard with the game controllers playing on it.
  PadKeyboard padKeyboard_;
  // That keyboard as the machine reads it, recorded for Step back and Rewind; before the
  // machine, which reads it, and what a replay of recorded keys stands in for while it lasts.
  RecordedKeyboard keyboard_;
  Machine machine_;
  StepHistory history_;
  // While Step back replays the run: the machine's calls show nothing and wait for nothing.
  bool replaying_ = false;
  // Emulation > Rewind is marked; rewinding_ while the last pass went back.
  bool rewindMarked_ = false;
  bool rewinding_ = false;
  ProgramCommands programs_;
  StateCommands states_;
  Compatibility compatibility_;
  FrameClock frameClock_;
  TraceBuffer traceBuffer_;
  Breakpoints breakpoints_;
  // The breakpoint the machine stopped before; -1 when it was not a breakpoint that stopped it.
  std::int32_t breakpointStop_ = -1;
  Watchpoints watchpoints_;
  // What the watchpoint that stopped the machine found; empty when none stopped it.
  std::string watchStop_;
  InspectorController inspector_;
  GifClip clip_;
  // Whether the program's colours and keys apply.
  bool programLook_ = false;
  std::optional<KeyRecorder> recorder_;
  std::optional<KeyReplay> replay_;
  // The caption over the display and when it was shown; empty when none is.
  std::string caption_;
  std::uint32_t captionTime_ = 0;
};

}  // namespace pellark
