#include "platform/sdl_game_pad.h"

#include <SDL.h>

#include <algorithm>

namespace pellark {
namespace {

// Half the stick's travel counts as a direction.
constexpr Sint16 kStickThreshold = 16384;

}  // namespace

SdlGamePad::SdlGamePad() {
  // Ctrl+C and the close request stay the program's own.
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  started_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS) == 0;
}

SdlGamePad::~SdlGamePad() {
  for (SDL_GameController* controller : controllers_) SDL_GameControllerClose(controller);
  if (started_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER | SDL_INIT_EVENTS);
}

PadState SdlGamePad::Read() {
  if (!started_) return {};
  // Controllers present at the start arrive as added devices too.
  SDL_Event event;
  while (SDL_PollEvent(&event) != 0) {
    if (event.type == SDL_CONTROLLERDEVICEADDED) Open(event.cdevice.which);
    if (event.type == SDL_CONTROLLERDEVICEREMOVED) Close(event.cdevice.which);
  }
  PadState pad;
  for (SDL_GameController* controller : controllers_) {
    const auto button = [controller](SDL_GameControllerButton which) {
      return SDL_GameControllerGetButton(controller, which) != 0;
    };
    const Sint16 x = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTX);
    const Sint16 y = SDL_GameControllerGetAxis(controller, SDL_CONTROLLER_AXIS_LEFTY);
    pad.up |= button(SDL_CONTROLLER_BUTTON_DPAD_UP) || y <= -kStickThreshold;
    pad.down |= button(SDL_CONTROLLER_BUTTON_DPAD_DOWN) || y >= kStickThreshold;
    pad.left |= button(SDL_CONTROLLER_BUTTON_DPAD_LEFT) || x <= -kStickThreshold;
    pad.right |= button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) || x >= kStickThreshold;
    pad.a |= button(SDL_CONTROLLER_BUTTON_A);
    pad.b |= button(SDL_CONTROLLER_BUTTON_B);
  }
  return pad;
}

void SdlGamePad::Open(int deviceIndex) {
  if (SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex))
    controllers_.push_back(controller);
}

void SdlGamePad::Close(int instanceId) {
  const auto unplugged = std::find_if(
      controllers_.begin(), controllers_.end(), [instanceId](SDL_GameController* controller) {
        return SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller)) == instanceId;
      });
  if (unplugged == controllers_.end()) return;
  SDL_GameControllerClose(*unplugged);
  controllers_.erase(unplugged);
}

}  // namespace pellark
