#pragma once

#include <memory>

#include "platform/sound.h"

namespace pellark {

// The sound service over the desktop's default audio output (Qt Multimedia); a service that is
// not Available when there is none, such as without a sound server. Needs the application
// object to exist.
std::unique_ptr<SoundService> CreateQtSound();

}  // namespace pellark
