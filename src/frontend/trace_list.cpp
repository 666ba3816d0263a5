#include "frontend/front_end.h"
#include "platform/byte_file.h"
#include "platform/window_system.h"

namespace pellark {

void FrontEnd::SaveTrace() {
  const std::string path =
      window_.AskFileToSave("Save trace", programs_.DialogFolder(), "Trace|*.txt");
  // Cancelling the dialog is not a failure.
  if (path.empty()) return;
  // Written as Save program writes: the old file stays until the new one is complete.
  ByteFile file;
  bool saved = file.CreateFileForWriting(path);
  const LineStore& lines = traceBuffer_.Lines();
  for (std::size_t i = 0; saved && i < lines.Size(); ++i) {
    file.WriteText(lines.Line(i));
    file.WriteText("\n");
  }
  saved = file.CloseFileSlot() && saved;
  if (!saved) window_.ShowMessageBox("Pellark", "Error: Can't write the file");
}

void FrontEnd::AddTraceLine(std::string_view line) {
  window_.AddListItem(line);
  traceBuffer_.Append(line);
}

}  // namespace pellark
