#pragma once

#include <memory>
#include <string>

#include "frontend/inspector_view.h"
#include "platform/keyboard.h"
#include "platform/window_system.h"

namespace pellark {

// Starts the desktop's application object and returns the window system over it, or nullptr
// with one sentence in error when there is no display to connect to; the caller prints it as
// "<program name>: <sentence>". A display that is named but cannot be reached makes the
// toolkit give up inside its start-up, where it would abort; then such a line goes to
// standard error from here and the process ends with status 1.
// argc and argv must outlive the result; only one may exist at a time.
// The desktop's services over Qt: the main window, the keyboard read in it and the Inspector.
class QtDesktop : public WindowSystem, public KeyboardService, public InspectorView {};

std::unique_ptr<QtDesktop> CreateQtWindowSystem(int& argc, char** argv, std::string& error);

}  // namespace pellark
