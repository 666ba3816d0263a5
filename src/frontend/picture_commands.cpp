#include "frontend/front_end.h"
#include "platform/png_file.h"
#include "platform/timing.h"
#include "platform/window_system.h"

namespace pellark {

void FrontEnd::SavePicture() {
  const std::string path =
      window_.AskFileToSave("Save picture", programs_.DialogFolder(), "PNG picture|*.png");
  // Cancelling the dialog is not a failure.
  if (path.empty()) return;
  const std::string error = WritePng(ShownPicture(), ShownScale(), path);
  if (!error.empty()) ShowWriteFailure(error);
}

void FrontEnd::RecordClip() {
  const std::string path =
      window_.AskFileToSave("Record clip", programs_.DialogFolder(), "GIF animation|*.gif");
  if (path.empty()) return;
  const std::string error = clip_.Start(path, ShownPicture(), ShownScale(), TickMilliseconds());
  if (!error.empty()) {
    ShowWriteFailure(error);
    return;
  }
  window_.SetItemCheck(static_cast<int>(MenuId::RecordClip), true);
}

void FrontEnd::StopRecording() {
  if (!clip_.Recording()) return;
  window_.SetItemCheck(static_cast<int>(MenuId::RecordClip), false);
  const std::string error = clip_.Finish(TickMilliseconds());
  if (!error.empty()) ShowWriteFailure(error);
}

void FrontEnd::ShowWriteFailure(const std::string& reason) {
  window_.ShowMessageBox("Pellark", "Error: Can't write the file: " + reason);
}

}  // namespace pellark
