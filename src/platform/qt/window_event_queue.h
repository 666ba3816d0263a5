#pragma once

#include <deque>

#include "platform/window_system.h"

namespace pellark {

// Events translated from Qt, waiting to be taken one per poll.
using WindowEventQueue = std::deque<WindowEvent>;

}  // namespace pellark
