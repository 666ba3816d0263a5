#include "pellark-run/runner.h"

#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "core/instruction_pass.h"
#include "files/program_database.h"
#include "files/program_file.h"
#include "files/program_information.h"
#include "files/rules_choice.h"
#include "pellark-run/machine_report.h"
#include "pellark-run/wav_file.h"
#include "platform/png_file.h"
#include "platform/sha1.h"
#include "platform/text.h"
#include "platform/working_folder.h"

namespace pellark {
namespace {

// --info reads a program of any platform, XO-CHIP's 64 KB ones too.
constexpr std::int32_t kLargestInformedProgram = 16 << 20;

}  // namespace

Runner::Runner(const RunOptions& options)
    : options_(options),
      output_(STDOUT_FILENO),
      keyboard_(options.presses),
      machine_(*this, keyboard_) {
  if (!options.wav.empty()) wav_.emplace();
}

bool Runner::StartUp() {
  const std::filesystem::path path =
      options_.bootImage.empty() ? DefaultBootImagePath()
                                 : std::filesystem::path(FromWorkingFolder(options_.bootImage));
  // Without its boot image the machine would run on empty memory and show nothing of it.
  FileBytes bootImage = ReadBootImage(path, machine_.MemoryCells.Size());
  if (!bootImage.Read()) {
    const std::string name = options_.bootImage.empty() ? path.string() : options_.bootImage;
    Tell("pellark-run: cannot read the boot image " + name + ": " + bootImage.reason);
    return false;
  }
  machine_.BootImage = std::move(bootImage.bytes);
  if (options_.trace) machine_.SetTrace(this);
  machine_.StartUp();
  return true;
}

void Runner::ReadProgram() {
  programFile_ = ReadProgramFile(FromWorkingFolder(*options_.program), kLargestProgramCapacity);
  if (programFile_.Read()) knownProgram_ = RecogniseProgram(programFile_.bytes);
}

bool Runner::StoreProgram() {
  const std::string& program = *options_.program;
  FileBytes& load = programFile_;
  if (load.Read() && load.bytes.size() > static_cast<std::size_t>(ProgramCapacity(machine_))) {
    load.bytes.clear();
    load.failure = ReadFailure::TooLarge;
  }
  machine_.LoadProgram(load.bytes);
  switch (load.failure) {
    case ReadFailure::None: return true;
    case ReadFailure::CannotRead:
      Tell("pellark-run: Error: Can't read the file: " + program + ": " + load.reason);
      return false;
    case ReadFailure::TooLarge:
      Tell("pellark-run: Error: The program is too large: " + program + " (at most " +
           std::to_string(ProgramCapacity(machine_)) + " bytes fit from 0x200)");
      return false;
  }
  return false;
}

std::optional<KnownProgram> Runner::RecogniseProgram(std::span<const std::uint8_t> bytes) {
  // A damaged database is named once, and the run goes on without it.
  if (const DatabaseRead& database = InstalledProgramDatabase(); !database.error.empty())
    Tell("pellark-run: the program database is damaged, running without it: " + database.error);
  return FindKnownProgram(bytes);
}

int Runner::PrintInformation() {
  const std::string& program = *options_.program;
  const FileBytes load = ReadProgramFile(FromWorkingFolder(program), kLargestInformedProgram);
  if (!load.Read()) {
    Tell("pellark-run: Error: Can't read the file: " + program + ": " + load.reason);
    return 2;
  }
  knownProgram_ = RecogniseProgram(load.bytes);
  const RulesChoice choice = pellark::ChooseRules(options_.profile, knownProgram_);
  output_.Write(ProgramInformationText(knownProgram_, Sha1Hex(load.bytes),
                                       std::string(ProfileName(choice.profile)),
                                       InstalledProgramDatabase().database != nullptr));
  output_.Flush();
  return output_.Failed() ? 1 : 0;
}

Profile Runner::ChooseRules() {
  if (replay_) {
    const MachineRules& rules = replay_->Recording().rules;
    machine_.UseRules(rules);
    // Named by the profile the recorded rules come from, whatever switches and frame rate the
    // window had.
    for (const ProfileEntry& entry : kProfileTable) {
      MachineRules profileRules = entry.rules;
      profileRules.switches = rules.switches;
      profileRules.cyclesPerFrame = rules.cyclesPerFrame;
      profileRules.frameTiming = rules.frameTiming;
      if (profileRules == rules) return entry.profile;
    }
    return Profile::Designed;
  }
  const RulesChoice choice = pellark::ChooseRules(options_.profile, knownProgram_);
  MachineRules rules = choice.rules;
  if (options_.quirks) rules.switches = *options_.quirks;
  if (options_.cyclesPerFrame) {
    rules.cyclesPerFrame = *options_.cyclesPerFrame;
    rules.frameTiming = true;
  }
  machine_.UseRules(rules);
  return choice.profile;
}

void Runner::ReportRules(Profile profile) {
  if (!options_.profile && knownProgram_ && !knownProgram_->profile &&
      !knownProgram_->neededPlatform.empty()) {
    Tell("pellark-run: \"" + knownProgram_->title + "\" needs " + knownProgram_->neededPlatform +
         ", which Pellark does not run; it runs as designed");
  }
  if (machine_.Rules != RulesOf(Profile::Designed)) ReportRulesLine(profile);
}

void Runner::ReportRulesLine(Profile profile) {
  std::string line = "pellark-run: ";
  if (knownProgram_) {
    line.append("\"").append(knownProgram_->title).append("\" (").append(ProfileName(profile));
    line += ")";
  } else {
    line.append("profile ").append(ProfileName(profile));
  }
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
  Tell(line);
}

bool Runner::ReadReplay() {
  KeyRecordingRead read = ReadKeyFile(FromWorkingFolder(options_.replay));
  if (!read.recording) {
    Tell("pellark-run: cannot replay " + options_.replay + ": " + read.error);
    return false;
  }
  const std::string sha1 = Sha1Hex(programFile_.bytes);
  if (programFile_.Read() && read.recording->programSha1 != sha1) {
    Tell("pellark-run: cannot replay " + options_.replay +
         ": it was recorded with another program (SHA-1 " + read.recording->programSha1 +
         "), not " + *options_.program + " (SHA-1 " + sha1 + ")");
    return false;
  }
  replay_.emplace(std::move(*read.recording));
  machine_.UseKeyboard(*replay_);
  return true;
}

bool Runner::StopsBefore() {
  if (breakpoints_.StopsBefore(machine_)) {
    broke_ = true;
    return true;
  }
  watchStop_ = watchpoints_.StopsBefore(machine_);
  return watchStop_.has_value();
}

void Runner::Replay(std::int32_t spinCount) {
  // A machine stopped in the window still ran the passes the user stepped, so the run follows
  // the passes, not the machine's Running.
  while (!replay_->Ended() && !output_.Failed()) {
    const bool instruction = !machine_.WaitingForKey();
    if (instruction && StopsBefore()) return;
    replay_->BeginPass(replay_->Pass() + 1);
    if (instruction) ++executed_;
    RunInstructionPass(machine_, spinCount);
  }
}

int Runner::Run() {
  if (!StartUp()) return 2;
  // The rules for the program decide how much memory it may fill.
  if (options_.program) ReadProgram();
  if (!options_.replay.empty() && !ReadReplay()) return 2;
  const Profile profile = ChooseRules();
  if (options_.program && !StoreProgram()) return 2;
  ReportRules(profile);
  // Stored as the program's own bytes are: as cell texts.
  for (const MemoryPoke& poke : options_.pokes) {
    machine_.SetCell(poke.address, ToHexByte(poke.value));
  }
  const std::int32_t spinCount =
      options_.speedPercent ? SpinCountForSpeed(*options_.speedPercent) : kNoPacing;
  for (const std::int32_t address : options_.breaks) breakpoints_.Add(address);
  for (const Watchpoint& watch : options_.watches) watchpoints_.Add(watch);
  StartClip();
  const auto start = std::chrono::steady_clock::now();
  if (replay_) {
    Replay(spinCount);
  } else {
    RunWithPresses(spinCount);
  }
  const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
  if (!endedInKeyWait_) ReportMachine();
  FinishClip();
  output_.Flush();
  if (broke_) std::fprintf(stderr, "break at $%s\n", HexText(machine_.NextFetchAddress()).c_str());
  if (watchStop_) std::fprintf(stderr, "watch at %s\n", watchStop_->Text().c_str());
  if (options_.benchmark) ReportBenchmark(elapsed.count());
  if (output_.Failed()) {
    // A reader that closes the pipe has seen all it wanted: that ends the run without a word.
    if (output_.Error() != EPIPE)
      Tell(std::string("pellark-run: cannot write to standard output: ") +
           std::strerror(output_.Error()));
    return 1;
  }
  return outputFileFailed_ || tellFailed_ ? 1 : 0;
}

void Runner::RunWithPresses(std::int32_t spinCount) {
  // A program that ends itself (00FD) stops the machine, and the run; output that cannot be
  // written ends it too: nobody would see the rest.
  // A key wait, once begun, ends before the run does.
  while ((executed_ < options_.instructionLimit || machine_.WaitingForKey()) &&
         machine_.Running == 1 && !output_.Failed()) {
    if (machine_.WaitingForKey()) {
      AnswerKeyWait();
      const bool waitEnded = RunInstructionPass(machine_, spinCount);
      if (endedInKeyWait_) break;
      // A wait for a key to be let go lasts frames, and the presses go on meanwhile.
      if (!waitEnded) keyboard_.PassWaitingFrame(InstructionsPerFrame());
      continue;
    }
    if (StopsBefore()) break;
    ++executed_;
    keyboard_.BeginInstruction();
    RunInstructionPass(machine_, spinCount);
  }
}

void Runner::ShowFrame() {
  ++frames_;
  if (clip_.Recording()) clip_.AddPicture(GreyPicture(machine_), MachineMilliseconds());
}

void Runner::SpriteDrawn(int /*plotted*/, int /*erased*/) {
  if (clip_.Recording()) clip_.AddPicture(GreyPicture(machine_), MachineMilliseconds());
}

void Runner::StartClip() {
  if (options_.gif.empty()) return;
  const std::string error = clip_.Start(FromWorkingFolder(options_.gif), GreyPicture(machine_),
                                        kPictureBlock, MachineMilliseconds());
  if (error.empty()) return;
  Tell("pellark-run: cannot write " + options_.gif + ": " + error);
  outputFileFailed_ = true;
}

void Runner::FinishClip() {
  if (!clip_.Recording()) return;
  clip_.AddPicture(GreyPicture(machine_), MachineMilliseconds());
  const std::string error = clip_.Finish(MachineMilliseconds());
  if (error.empty()) return;
  Tell("pellark-run: cannot write " + options_.gif + ": " + error);
  outputFileFailed_ = true;
}

std::uint64_t Runner::MachineMilliseconds() const {
  if (machine_.Rules.frameTiming) return frames_ * 1000 / 60;
  return executed_ * 50 / 25;
}

void Runner::Tell(const std::string& line) {
  if (std::fprintf(stderr, "%s\n", line.c_str()) < 0) tellFailed_ = true;
}

std::uint64_t Runner::InstructionsPerFrame() const {
  return machine_.Rules.frameTiming ? static_cast<std::uint64_t>(machine_.Rules.cyclesPerFrame) : 1;
}

void Runner::AnswerKeyWait() {
  // A key the wait has seen ends it when let go; the wait needs no other.
  if (keyboard_.AnyKeyHeld() || machine_.KeyWaitHasKey() || keyboard_.StartNextPress()) return;
  // Report the machine as it is now, before the ended wait writes its key into Vx, then end
  // the wait as a close request does.
  ReportMachine();
  Tell("waiting for key at $" + HexText(machine_.PC));
  machine_.QuitRequested = 1;
  machine_.InterruptKeyWait();
  endedInKeyWait_ = true;
}

void Runner::ReportMachine() {
  if (options_.state) output_.WriteLine(StateLine(machine_));
  if (options_.state && machine_.Rules.xoChip) output_.WriteLine(XoChipStateLine(machine_));
  for (const MemoryRange& range : options_.memory) output_.WriteLine(MemoryLine(machine_, range));
  if (options_.screen) output_.Write(ScreenText(machine_));
  if (!options_.png.empty()) {
    const std::string error =
        WritePng(GreyPicture(machine_), kPictureBlock, FromWorkingFolder(options_.png));
    if (!error.empty()) {
      Tell("pellark-run: cannot write " + options_.png + ": " + error);
      outputFileFailed_ = true;
    }
  }
  if (wav_) {
    const std::string error = wav_->WriteTo(FromWorkingFolder(options_.wav));
    if (!error.empty()) {
      Tell("pellark-run: cannot write " + options_.wav + ": " + error);
      outputFileFailed_ = true;
    }
  }
}

void Runner::ReportBenchmark(double seconds) {
  const double perSecond = seconds > 0 ? static_cast<double>(executed_) / seconds : 0;
  char line[128];
  std::snprintf(line, sizeof line, "%llu instructions, %.6f seconds, %.0f instructions per second",
                static_cast<unsigned long long>(executed_), seconds, perSecond);
  Tell(line);
}

}  // namespace pellark
