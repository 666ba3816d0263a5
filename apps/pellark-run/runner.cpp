#include "pellark-run/runner.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "core/instruction_pass.h"
#include "files/program_database.h"
#include "files/program_file.h"
#include "pellark-run/machine_report.h"
#include "pellark-run/png_file.h"
#include "platform/text.h"

namespace pellark {
namespace {

// Paths on the command line are taken from the working folder, not from beside the program
// as the file service takes plain names.
std::string FromWorkingFolder(const std::string& path) {
  std::error_code error;
  const auto absolute = std::filesystem::absolute(path, error);
  return error ? path : absolute.string();
}

}  // namespace

Runner::Runner(const RunOptions& options)
    : options_(options),
      output_(STDOUT_FILENO),
      keyboard_(options.presses),
      machine_(*this, keyboard_, *this) {}

void Runner::StartUp() {
  if (!options_.bootImage.empty()) machine_.BootImageName = FromWorkingFolder(options_.bootImage);
  machine_.TraceEnabled = options_.trace ? 1 : 0;
  machine_.StartUp();
}

bool Runner::LoadProgram() {
  const std::string& program = *options_.program;
  const ProgramLoad load = LoadProgramFile(machine_, FromWorkingFolder(program));
  switch (load.result) {
    case LoadResult::Loaded: knownProgram_ = FindKnownProgram(load.bytes); return true;
    case LoadResult::CannotRead:
      std::fprintf(stderr, "pellark-run: Error: Can't read the file: %s\n", program.c_str());
      return false;
    case LoadResult::TooLarge:
      std::fprintf(stderr,
                   "pellark-run: Error: The program is too large: %s (at most %d bytes fit from "
                   "0x200)\n",
                   program.c_str(), kProgramCapacity);
      return false;
  }
  return false;
}

void Runner::ChooseRules() {
  MachineRules rules = RulesOf(Profile::Designed);
  if (options_.profile) {
    rules = RulesOf(*options_.profile);
  } else if (knownProgram_) {
    rules = RulesOfKnownProgram(knownProgram_->switches, knownProgram_->cyclesPerFrame);
  }
  if (options_.quirks) rules.switches = *options_.quirks;
  if (options_.cyclesPerFrame) {
    rules.cyclesPerFrame = *options_.cyclesPerFrame;
    rules.frameTiming = true;
  }
  machine_.Rules = rules;
  if (rules != RulesOf(Profile::Designed)) ReportRules();
}

void Runner::ReportRules() const {
  const Profile profile =
      options_.profile.value_or(knownProgram_ ? Profile::Octo : Profile::Designed);
  std::string line = "pellark-run: profile ";
  line += ProfileName(profile);
  if (knownProgram_) line.append(" for \"").append(knownProgram_->title).append("\"");
  line += ", switches ";
  std::string_view separator;
  for (const SwitchName& entry : kSwitchNames) {
    if (!(machine_.Rules.switches.*entry.field)) continue;
    line.append(separator).append(entry.name);
    separator = ",";
  }
  if (separator.empty()) line += "none";
  if (machine_.Rules.frameTiming) {
    line.append(", ")
        .append(DecimalText(machine_.Rules.cyclesPerFrame))
        .append(" cycles per frame");
  } else {
    line += ", timers by instruction count";
  }
  std::fprintf(stderr, "%s\n", line.c_str());
}

int Runner::Run() {
  StartUp();
  if (options_.program && !LoadProgram()) return 2;
  ChooseRules();

  const std::int32_t spinCount =
      options_.speedPercent ? SpinCountForSpeed(*options_.speedPercent) : kNoPacing;
  for (const std::int32_t address : options_.breaks) breakpoints_.Add(address);
  bool broke = false;
  const auto start = std::chrono::steady_clock::now();
  // A program that ends itself (00FD) stops the machine, and the run.
  while (executed_ < options_.instructionLimit && !endedInKeyWait_ && machine_.Running == 1) {
    if (breakpoints_.StopsBefore(machine_)) {
      broke = true;
      break;
    }
    keyboard_.BeginInstruction(++executed_);
    RunInstructionPass(machine_, spinCount);
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

  if (!endedInKeyWait_) ReportMachine();
  output_.Flush();
  if (broke) std::fprintf(stderr, "break at $%s\n", HexText(machine_.NextFetchAddress()).c_str());
  if (options_.benchmark) ReportBenchmark(elapsed.count());
  if (output_.Failed()) {
    std::fprintf(stderr, "pellark-run: cannot write to standard output\n");
    return 1;
  }
  return pngFailed_ ? 1 : 0;
}

void Runner::ShowMessageBox(std::string_view title, std::string_view text) {
  std::fprintf(stderr, "%.*s: %.*s\n", static_cast<int>(title.size()), title.data(),
               static_cast<int>(text.size()), text.data());
}

void Runner::PollEvents() {
  if (keyboard_.AnyKeyHeld() || keyboard_.StartNextPress()) return;
  // Nothing will ever answer this wait. Report the machine as it is now, before the ended
  // wait writes its key into Vx, then end the wait as a close request does.
  ReportMachine();
  std::fprintf(stderr, "waiting for key at $%s\n", HexText(machine_.PC).c_str());
  machine_.QuitRequested = 1;
  machine_.PendingKey = 16;
  endedInKeyWait_ = true;
}

void Runner::ReportMachine() {
  if (options_.state) output_.WriteLine(StateLine(machine_));
  for (const MemoryRange& range : options_.memory) output_.WriteLine(MemoryLine(machine_, range));
  if (options_.screen) output_.Write(ScreenText(machine_));
  if (!options_.png.empty()) {
    const std::string error = WriteDisplayPng(machine_, FromWorkingFolder(options_.png));
    if (!error.empty()) {
      std::fprintf(stderr, "pellark-run: cannot write %s: %s\n", options_.png.c_str(),
                   error.c_str());
      pngFailed_ = true;
    }
  }
}

void Runner::ReportBenchmark(double seconds) const {
  const double perSecond = seconds > 0 ? static_cast<double>(executed_) / seconds : 0;
  std::fprintf(stderr, "%llu instructions, %.6f seconds, %.0f instructions per second\n",
               static_cast<unsigned long long>(executed_), seconds, perSecond);
}

}  // namespace pellark
