#include "platform/qt/application_start.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <vector>

namespace pellark {
namespace {

std::string EnvironmentValue(const char* name) {
  const char* value = std::getenv(name);
  return value == nullptr ? std::string() : std::string(value);
}

// The platform Qt will load: its -platform option wins over QT_QPA_PLATFORM.
std::string RequestedPlatform(int argc, char** argv) {
  for (int i = 1; i + 1 < argc; ++i) {
    const std::string_view option = argv[i];
    if (option == "-platform" || option == "--platform") return argv[i + 1];
  }
  return EnvironmentValue("QT_QPA_PLATFORM");
}

// Whether every platform of the request (names separated by ";", each maybe followed by
// ":options") talks to a display server. No request means Qt's default, xcb or wayland.
bool NeedsDisplayServer(std::string_view request) {
  while (!request.empty()) {
    const std::size_t end = request.find(';');
    const std::string_view entry = request.substr(0, end);
    const std::string_view name = entry.substr(0, entry.find(':'));
    if (!name.empty() && name != "xcb" && !name.starts_with("wayland")) return false;
    request = end == std::string_view::npos ? std::string_view() : request.substr(end + 1);
  }
  return true;
}

// Messages Qt gives while the application object is being built are held back: if the
// platform cannot start, the user gets one clear line instead of Qt's explanations.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};

std::vector<HeldMessage>* heldMessages = nullptr;
const std::string* startFailureLine = nullptr;

void HoldMessage(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    // Qt aborts right after a fatal message; end cleanly instead.
    std::fprintf(stderr, "%s\n", startFailureLine->c_str());
    std::fflush(stderr);
    std::_Exit(1);
  }
  heldMessages->push_back({type, QByteArray(context.category), text});
}

class MessageHold {
 public:
  explicit MessageHold(const std::string& failureLine) {
    heldMessages = &messages_;
    startFailureLine = &failureLine;
    previous_ = qInstallMessageHandler(HoldMessage);
  }
  ~MessageHold() {
    qInstallMessageHandler(previous_);
    heldMessages = nullptr;
    startFailureLine = nullptr;
    for (const HeldMessage& message : messages_) {
      const QMessageLogContext context(nullptr, 0, nullptr, message.category.constData());
      previous_(message.type, context, message.text);
    }
  }
  MessageHold(const MessageHold&) = delete;
  MessageHold& operator=(const MessageHold&) = delete;

 private:
  QtMessageHandler previous_ = nullptr;
  std::vector<HeldMessage> messages_;
};

}  // namespace

std::unique_ptr<QApplication> StartApplication(int& argc, char** argv, std::string& error) {
  const std::string xDisplay = EnvironmentValue("DISPLAY");
  const std::string display = xDisplay.empty() ? EnvironmentValue("WAYLAND_DISPLAY") : xDisplay;
  if (display.empty() && NeedsDisplayServer(RequestedPlatform(argc, argv))) {
    error = "no display to open the window on: neither DISPLAY nor WAYLAND_DISPLAY is set";
    return nullptr;
  }
  // Printed as the program prints its own errors: its name, then the sentence.
  const std::string programName =
      argc > 0 ? std::filesystem::path(argv[0]).filename().string() : std::string("pellark");
  const std::string failureLine =
      programName + ": " +
      (display.empty() ? std::string("the Qt platform plugin failed to start the window")
                       : "cannot connect to the display \"" + display + "\" to open the window");
  MessageHold hold(failureLine);
  auto application = std::make_unique<QApplication>(argc, argv);
  // The window's close box only asks the program; the program decides when to end.
  QApplication::setQuitOnLastWindowClosed(false);
  return application;
}

}  // namespace pellark
