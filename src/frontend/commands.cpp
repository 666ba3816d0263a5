#include <algorithm>

#include "core/instruction_pass.h"
#include "files/program_information.h"
#include "frontend/front_end.h"
#include "platform/sound.h"
#include "platform/timing.h"
#include "platform/window_system.h"

namespace pellark {
namespace {

int QuickSlotOf(MenuId command) {
  return command == MenuId::QuickSave1 || command == MenuId::QuickLoad1 ? 1 : 2;
}

}  // namespace

void FrontEnd::RunCommand(MenuId command) {
  switch (command) {
    case MenuId::Load:
      ResetMachine();
      LoadProgram(programs_.AskForProgramFile());
      break;
    case MenuId::Reload:
      ResetMachine();
      LoadProgram(programs_.ProgramFileName());
      break;
    case MenuId::Reset:
      ResetWith(kBootStart);
      ProgramInMemory.reset();
      ProgramSha1.clear();
      FollowProgramInMemory();
      break;
    case MenuId::ResetAt200: ResetWith(kProgramStart); break;
    case MenuId::SaveProgram: programs_.SaveProgram(); break;
    case MenuId::ProgramInformation: ShowProgramInformation(); break;
    case MenuId::About: window_.ShowMessageBox("Pellark", CreditText); break;
    case MenuId::Run: Run(); break;
    case MenuId::Stop: Stop(); break;
    case MenuId::Debugger: ToggleDebugger(); break;
    case MenuId::Scale1:
    case MenuId::Scale2:
    case MenuId::Scale3:
    case MenuId::Scale4:
    case MenuId::Scale6:
    case MenuId::Scale8: SetScale(command); break;
    case MenuId::Antiflicker: ToggleAntiflicker(); break;
    case MenuId::InvertColors: ToggleInvertColors(); break;
    case MenuId::Smooth: ToggleSmooth(); break;
    case MenuId::FullScreen: ToggleFullScreen(); break;
    case MenuId::Speed25:
    case MenuId::Speed50:
    case MenuId::Speed75:
    case MenuId::Speed100:
      SetSpeed(25 * (static_cast<int>(command) - static_cast<int>(MenuId::Speed25) + 1));
      break;
    case MenuId::SpeedDown: SetSpeed(std::max(SpeedPercent - 5, 0)); break;
    case MenuId::SpeedUp: SetSpeed(std::min(SpeedPercent + 5, 100)); break;
    case MenuId::Quit: RequestQuit(); break;
    case MenuId::ProfileAutomatic:
    case MenuId::ProfileDesigned:
    case MenuId::ProfileChip8:
    case MenuId::ProfileModernChip8:
    case MenuId::ProfileSuperChip10:
    case MenuId::ProfileSuperChip:
    case MenuId::ProfileXoChip: ChooseProfile(command); break;
    case MenuId::SwitchShift:
    case MenuId::SwitchIncrement:
    case MenuId::SwitchMemory:
    case MenuId::SwitchJump:
    case MenuId::SwitchClip:
    case MenuId::SwitchVblank:
    case MenuId::SwitchLogic: compatibility_.ToggleSwitch(command); break;
    case MenuId::Cycles7:
    case MenuId::Cycles10:
    case MenuId::Cycles15:
    case MenuId::Cycles20:
    case MenuId::Cycles30:
    case MenuId::Cycles50:
    case MenuId::Cycles100:
    case MenuId::Cycles200:
    case MenuId::Cycles500:
    case MenuId::Cycles1000:
    case MenuId::Cycles10000:
    case MenuId::Cycles20000:
    case MenuId::Cycles50000:
    case MenuId::Cycles100000:
    case MenuId::Cycles200000: compatibility_.ChooseCyclesPerFrame(command); break;
    case MenuId::Inspector: ToggleInspector(); break;
    case MenuId::Step: Step(); break;
    case MenuId::StepBack: StepBack(); break;
    case MenuId::Rewind: rewindMarked_ = ToggleMark(MenuId::Rewind) == 1; break;
    case MenuId::SaveTrace: SaveTrace(); break;
    case MenuId::Sound: ToggleSound(); break;
    case MenuId::VisualBeep: ToggleVisualBeep(); break;
    case MenuId::RecordKeys: RecordKeys(); break;
    case MenuId::StopRecordingKeys: FinishRecording(); break;
    case MenuId::ReplayKeys: ReplayKeys(); break;
    case MenuId::SavePicture: SavePicture(); break;
    case MenuId::RecordClip:
      if (clip_.Recording()) {
        StopRecording();
      } else {
        RecordClip();
      }
      break;
    case MenuId::StopRecording: StopRecording(); break;
    case MenuId::SaveState: states_.SaveStateAs(ProgramSha1, programs_.DialogFolder()); break;
    case MenuId::LoadState:
      if (states_.LoadStateFrom(ProgramSha1, programs_.DialogFolder())) ShowLoadedState();
      break;
    case MenuId::QuickSave1:
    case MenuId::QuickSave2:
      if (states_.SaveQuickSlot(QuickSlotOf(command), ProgramSha1)) {
        ShowCaption("State saved in slot " + std::to_string(QuickSlotOf(command)));
      }
      break;
    case MenuId::QuickLoad1:
    case MenuId::QuickLoad2:
      if (states_.LoadQuickSlot(QuickSlotOf(command), ProgramSha1)) ShowLoadedState();
      break;
    case MenuId::None: break;
  }
}

void FrontEnd::ShowLoadedState() {
  // The state brings its own rules, resolution and run state, and starts a new run.
  ForgetHistory();
  compatibility_.ShowRules();
  window_.SetItemCheck(static_cast<int>(MenuId::Run), machine_.Running == 1);
  window_.SetItemCheck(static_cast<int>(MenuId::Stop), machine_.Running == 0);
  breakpointStop_ = -1;
  LayOutWindow();
  RefreshWindow();
}

void FrontEnd::OpenProgram(const std::string& path) {
  // As Load after its dialog: also during a key wait, which the reset ends.
  ResetMachine();
  LoadProgram(path);
}

void FrontEnd::LoadProgram(const std::string& path, const MachineRules* rules) {
  const ProgramCommands::ProgramFile file = programs_.ReadProgram(path);
  ProgramInMemory = file.known;
  ProgramSha1 = file.sha1;
  // The rules for the program decide how much memory it may fill.
  FollowProgramInMemory();
  if (rules != nullptr) {
    machine_.UseRules(*rules);
    // The switches and the frame rate show what runs; the profile marks stay the user's choice.
    compatibility_.ShowRules();
  }
  if (programs_.StoreProgram(file)) {
    ShowRecognition();
    return;
  }
  // Nothing was loaded: the rules follow no program.
  ProgramSha1.clear();
  if (!ProgramInMemory) return;
  ProgramInMemory.reset();
  FollowProgramInMemory();
}

void FrontEnd::FollowProgramInMemory() {
  compatibility_.FollowProgram(ProgramInMemory);
  ApplyProgramLook();
}

void FrontEnd::ChooseProfile(MenuId command) {
  compatibility_.ChooseProfile(command, ProgramInMemory);
  ApplyProgramLook();
}

void FrontEnd::ShowRecognition() {
  ShowCaption(RecognitionText(ProgramInMemory, compatibility_.ProfileInUse(ProgramInMemory)));
}

void FrontEnd::ShowProgramInformation() {
  if (ProgramSha1.empty()) {
    window_.ShowMessageBox("Program information", "No program is loaded: the boot program runs.");
    return;
  }
  const Profile profile = compatibility_.ProfileInUse(ProgramInMemory);
  window_.ShowMessageBox(
      "Program information",
      ProgramInformationText(ProgramInMemory, ProgramSha1, std::string(ProfileName(profile)),
                             programs_.HasDatabase()));
}

void FrontEnd::RequestQuit() {
  // The program ends after the current pass; a key wait in progress ends first. The recording
  // ends before that: the interrupted wait is no key.
  FinishRecording();
  machine_.QuitRequested = 1;
  machine_.InterruptKeyWait();
  sound_.Silence();
}

void FrontEnd::ResetMachine() {
  // The run recorded or replayed ends with the machine it ran on.
  FinishRecording();
  FinishReplay();
  // Read at every full reset, as a boot image replaced or removed meanwhile is meant to show.
  if (machine_.ResetAddress == kBootStart) ReadBootImageIntoMachine();
  sound_.Silence();
  machine_.ResetMachine();
  ForgetHistory();
}

void FrontEnd::ResetWith(std::int32_t resetAddress) {
  machine_.ResetAddress = resetAddress;
  ResetMachine();
}

void FrontEnd::ReadBootImageIntoMachine() {
  FileBytes bootImage = ReadBootImage(BootImagePath, machine_.MemoryCells.Size());
  if (bootImage.Read()) {
    machine_.BootImage = std::move(bootImage.bytes);
  } else {
    machine_.BootImage.reset();
  }
}

void FrontEnd::Run() {
  // From a stop the machine runs on from where it stands, past a breakpoint there.
  if (machine_.Running == 0) {
    breakpoints_.RunOn(machine_);
    // Only the instruction a watchpoint stopped before passes it; after a breakpoint or a Stop
    // the next instruction is watched as any other.
    if (!watchStop_.empty()) watchpoints_.RunOn();
  }
  breakpointStop_ = -1;
  watchStop_.clear();
  machine_.Running = 1;
  window_.SetItemCheck(static_cast<int>(MenuId::Run), true);
  window_.SetItemCheck(static_cast<int>(MenuId::Stop), false);
  ApplyWindowSize();
  RefreshWindow();
}

void FrontEnd::Stop() {
  machine_.Running = 0;
  sound_.Silence();
  breakpointStop_ = -1;
  watchStop_.clear();
  window_.SetItemCheck(static_cast<int>(MenuId::Run), false);
  window_.SetItemCheck(static_cast<int>(MenuId::Stop), true);
}

void FrontEnd::ProgramEnded() {
  // A replayed end was reported when it happened.
  if (replaying_) return;
  Stop();
  window_.ShowMessageBox("Pellark", "The program has ended.");
}

void FrontEnd::SetSpeed(std::int32_t speedPercent) {
  SpeedPercent = speedPercent;
  SpinCount = SpinCountForSpeed(SpeedPercent);
  ShowSpeed();
  SpeedTextTime = TickMilliseconds();
  // Every speed change stops the machine; Run resumes it.
  Stop();
}

}  // namespace pellark
