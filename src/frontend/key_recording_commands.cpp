#include "core/instruction_pass.h"
#include "frontend/front_end.h"
#include "platform/byte_file.h"
#include "platform/window_system.h"

namespace pellark {
namespace {

constexpr std::string_view kKeyFilePattern = "Pellark keys|*.c8keys";

}  // namespace

bool FrontEnd::RunMachinePass(std::int32_t spinCount, FramePacing framePacing) {
  // A recording holds one set of rules: another ends it before they run anything.
  if (recorder_ && machine_.Rules != recorder_->Recording().rules) FinishRecording();
  if (replay_) replay_->BeginPass(replay_->Pass() + 1);
  const bool finished = RunInstructionPass(machine_, spinCount, framePacing);
  if (recorder_) recorder_->AfterPass(KeypadBits(machine_.KeyStates));
  if (replay_ && replay_->Ended()) FinishReplay();
  return finished;
}

bool FrontEnd::RestartProgram(const MachineRules* rules) {
  if (ProgramSha1.empty()) {
    window_.ShowMessageBox("Pellark",
                           "Load a program first: keys are recorded and replayed for "
                           "a program file.");
    return false;
  }
  ReadBootImageIntoMachine();
  // As the program started at start-up, and as pellark-run starts it: with the fixed random
  // seed, after a full reset.
  machine_.StartUp();
  LoadProgram(programs_.ProgramFileName(), rules);
  if (ProgramSha1.empty()) {
    window_.ShowMessageBox("Pellark", "Error: Can't read the program file again");
    return false;
  }
  return true;
}

void FrontEnd::RecordKeys() {
  const std::string path =
      window_.AskFileToSave("Record keys", programs_.DialogFolder(), kKeyFilePattern);
  if (path.empty()) return;
  FinishRecording();
  FinishReplay();
  if (!RestartProgram(nullptr)) return;
  recorder_.emplace(path, ProgramSha1, machine_.Rules);
  // Read anew, so that the first pass reads what is held now.
  machine_.UseKeyboard(keyboard_);
  ShowCaption("Recording keys");
}

void FrontEnd::FinishRecording() {
  if (!recorder_) return;
  // Written as Save program writes: the old file stays until the new one is complete.
  ByteFile file;
  bool saved = file.CreateFileForWriting(recorder_->Path());
  if (saved) file.WriteText(KeyRecordingText(recorder_->Recording()));
  saved = file.CloseFileSlot() && saved;
  recorder_.reset();
  if (!saved) {
    window_.ShowMessageBox("Pellark", "Error: Can't write the key file: " + file.FailureReason());
    return;
  }
  ShowCaption("Keys recorded");
}

void FrontEnd::ReplayKeys() {
  const std::string path =
      window_.AskFileToOpen("Replay keys", programs_.DialogFolder(), kKeyFilePattern);
  if (path.empty()) return;
  KeyRecordingRead read = ReadKeyFile(path);
  if (!read.recording) {
    window_.ShowMessageBox("Pellark", "Error: Can't replay the key file: " + read.error);
    return;
  }
  if (read.recording->programSha1 != ProgramSha1) {
    window_.ShowMessageBox("Pellark",
                           "Error: Can't replay the key file: it was recorded with "
                           "another program (SHA-1 " +
                               read.recording->programSha1 + "). Load that program first.");
    return;
  }
  FinishRecording();
  FinishReplay();
  if (!RestartProgram(&read.recording->rules)) return;
  // The file may have changed since it was loaded.
  if (ProgramSha1 != read.recording->programSha1) {
    window_.ShowMessageBox("Pellark",
                           "Error: Can't replay the key file: the program file has "
                           "changed since it was loaded.");
    return;
  }
  replay_.emplace(std::move(*read.recording));
  machine_.UseKeyboard(*replay_);
  ShowCaption("Replaying keys");
  if (replay_->Ended()) FinishReplay();
}

void FrontEnd::FinishReplay() {
  if (!replay_) return;
  // The machine stops where the recorded run ended, for the user to look at.
  Stop();
  machine_.UseKeyboard(keyboard_);
  replay_.reset();
  ShowCaption("Replay ended");
}

}  // namespace pellark
