#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "core/breakpoints.h"
#include "core/machine.h"
#include "core/machine_host.h"
#include "core/watchpoints.h"
#include "files/key_replay.h"
#include "files/program_database.h"
#include "files/program_file.h"
#include "pellark-run/output_buffer.h"
#include "pellark-run/press_schedule.h"
#include "pellark-run/run_options.h"
#include "pellark-run/wav_file.h"
#include "platform/gif_clip.h"
#include "trace/trace_log.h"

namespace pellark {

// A machine run with no window: start-up and full reset as the desktop program does them, the
// program loaded at 0x200, then one main-loop pass per instruction with the keys the schedule
// holds, and the outputs the options ask for.
class Runner final : public MachineHost, public TraceLog {
 public:
  explicit Runner(const RunOptions& options);

  // The exit status: 0 after a run, 1 when an output could not be written, 2 when the boot
  // image cannot be read or the program cannot be loaded.
  int Run();
  // --info: prints what the program database says of the program, without running it; the
  // exit status as Run's.
  int PrintInformation();

  // MachineHost: there is no window, and frames have no real time here: they are counted in
  // instructions. A run whose boot image cannot be read ends before the machine starts. The
  // displayed frames go to --gif.
  void ShowFrame() override;
  void SpriteDrawn(int plotted, int erased) override;

  void FrameSound(std::span<const std::int16_t> samples) override {
    if (wav_) wav_->Append(samples);
  }

  // TraceLog
  void AddTraceLine(std::string_view line) override { output_.WriteLine(line); }

 private:
  // False, after saying why, when the boot image cannot be read; nothing has run then.
  bool StartUp();
  // Reads the program file, as large as any profile's memory takes, and recognises it.
  void ReadProgram();
  // Stores the program read from 0x200 once its rules are in force; false, after saying why,
  // when it could not be read or does not fit in the memory the rules give.
  bool StoreProgram();
  // What the program database knows of the program; says once when the database is damaged.
  std::optional<KnownProgram> RecogniseProgram(std::span<const std::uint8_t> bytes);
  // The profile, the program database's choice, then --quirks and --cycles-per-frame, put in
  // force; the profile they come from.
  Profile ChooseRules();
  // On standard error: that a known program needs a platform Pellark does not run, and one
  // line for a run that is not as designed.
  void ReportRules(Profile profile);
  void ReportRulesLine(Profile profile);
  // Prints --state, --memory and --screen, and writes --png.
  void ReportMachine();
  void ReportBenchmark(double seconds);
  // Before each round of a key wait: a key held, a key the wait has seen (ending it once let
  // go) or a press yet to come answers it; without any nothing ever will, and the run ends in
  // the wait.
  void AnswerKeyWait();
  // Reads --replay's key file and makes it the keyboard; false, after saying why, when it cannot
  // be read or was recorded with another program.
  bool ReadReplay();
  // Before an instruction: whether a breakpoint or a watchpoint ends the run here.
  bool StopsBefore();
  // The passes of the key file, as they were run in the window.
  void Replay(std::int32_t spinCount);
  // Instructions up to -n with the keys --press holds.
  void RunWithPresses(std::int32_t spinCount);
  // --gif: the clip starts with the display as the program begins, and ends with it as the run
  // ends.
  void StartClip();
  void FinishClip();
  // The machine's time so far: 1/60 s a frame with frame timing, else 1/20 s for the 25
  // instructions between timer steps.
  std::uint64_t MachineMilliseconds() const;
  // The instructions of one frame, for the time a frame spent waiting takes; 1 without frames.
  std::uint64_t InstructionsPerFrame() const;
  // One line on standard error; a line that cannot be written fails the run.
  void Tell(const std::string& line);

  const RunOptions& options_;
  OutputBuffer output_;
  PressSchedule keyboard_;
  Machine machine_;
  Breakpoints breakpoints_;
  Watchpoints watchpoints_;
  // What stopped the run: a breakpoint, or a watchpoint and what it found.
  bool broke_ = false;
  std::optional<WatchStop> watchStop_;
  std::optional<KeyReplay> replay_;
  std::uint64_t executed_ = 0;
  // A key wait that nothing will answer has ended the run.
  bool endedInKeyWait_ = false;
  // A --png, --wav or --gif file could not be written.
  bool outputFileFailed_ = false;
  // The run's sound, for --wav.
  std::optional<WavRecording> wav_;
  GifClip clip_;
  std::uint64_t frames_ = 0;
  FileBytes programFile_;
  std::optional<KnownProgram> knownProgram_;
  bool tellFailed_ = false;
};

}  // namespace pellark
