#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

#include "core/breakpoints.h"
#include "core/machine.h"
#include "core/machine_host.h"
#include "files/program_database.h"
#include "files/program_file.h"
#include "frontend/compatibility.h"
#include "frontend/display_picture.h"
#include "frontend/inspector_controller.h"
#include "frontend/menu_tree.h"
#include "frontend/program_commands.h"
#include "frontend/recorded_keyboard.h"
#include "frontend/state_commands.h"
#include "frontend/step_history.h"
#include "frontend/trace_buffer.h"
#include "platform/timing.h"
#include "trace/trace_log.h"

namespace pellark {

class InspectorView;
class KeyboardService;
class WindowSystem;
struct WindowEvent;

// The program around the machine: start-up, the main loop, the menu commands, the window's
// layout and the presentation of the display; it owns the parts for the rules, the Inspector
// and the trace lines. It stands only on the window, keyboard and Inspector view interfaces.
class FrontEnd final : public MachineHost, public TraceLog {
 public:
  FrontEnd(WindowSystem& window, KeyboardService& keyboard, InspectorView& inspector);

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
  void RequestQuit();
  // Resets the machine at its ResetAddress; a full reset reads the boot image first.
  void ResetMachine();
  void ResetWith(std::int32_t resetAddress);
  void ReadBootImageIntoMachine();
  // Load, Reload and a program opened by name, after their reset.
  void LoadProgram(const std::string& path);
  void Run();
  void Stop();
  void ToggleDebugger();
  void SetScale(MenuId command);
  void ToggleAntiflicker();
  void ToggleInvertColors();
  void SetSpeed(std::int32_t speedPercent);
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

  void ToggleInspector();
  // The Inspector's requests and the user's actions in it.
  void HandleInspectorEvent(const WindowEvent& event);
  // The speed, or with frame timing the profile and its cycles per frame.
  std::string PaceText() const;
  int DisplayWidth() const { return machine_.ScreenWidth() * ScaleFactor; }
  int DisplayHeight() const { return machine_.ScreenHeight() * ScaleFactor; }

  DisplayPicture picture_;
  WindowSystem& window_;
  // Before the machine, which reads it.
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
  InspectorController inspector_;
  // Whether the program's colours and keys apply.
  bool programLook_ = false;
  // The caption over the display and when it was shown; empty when none is.
  std::string caption_;
  std::uint32_t captionTime_ = 0;
};

}  // namespace pellark
