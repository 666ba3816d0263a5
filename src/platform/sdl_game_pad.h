#pragma once

#include <vector>

#include "platform/game_pad.h"

struct _SDL_GameController;

namespace pellark {

// The game controllers through SDL's game-controller API, which knows most pads' layouts. Only
// SDL's game-controller and event parts are started: no display, no sound, no signal handlers.
// Without SDL's controller support it reads nothing.
class SdlGamePad final : public GamePad {
 public:
  SdlGamePad();
  SdlGamePad(const SdlGamePad&) = delete;
  SdlGamePad& operator=(const SdlGamePad&) = delete;
  ~SdlGamePad() override;

  PadState Read() override;

 private:
  void Open(int deviceIndex);
  void Close(int instanceId);

  bool started_ = false;
  std::vector<_SDL_GameController*> controllers_;
};

}  // namespace pellark
