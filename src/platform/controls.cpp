// The keyboard and joystick 0 as SDL 1.2 reports them.
#include <SDL.h>

#include "platform/input.h"

static_assert(int{SDLK_RETURN} == int{KeyReturn} && int{SDLK_UP} == int{KeyUp} && int{SDLK_DOWN} == int{KeyDown} &&
                  int{SDLK_RIGHT} == int{KeyRight} && int{SDLK_LEFT} == int{KeyLeft} &&
                  int{SDLK_LCTRL} == int{KeyLeftCtrl} && int{SDLK_LALT} == int{KeyLeftAlt},
              "the game's key codes are SDL 1.2's");

uint8_t* keyState = SDL_GetKeyState(nullptr);

static SDL_Joystick* joystick;

static int32_t SdlJoystickButtonCount() {
    if (SDL_NumJoysticks() < 1) return 0;
    joystick = SDL_JoystickOpen(0);  // the already open pad gives the same handle
    if (joystick == nullptr) return 0;
    return SDL_JoystickNumButtons(joystick);
}

static int32_t SdlJoystickButton(int32_t b) {
    return SDL_JoystickGetButton(joystick, b);
}

int32_t (*joystickButtonCount)() = SdlJoystickButtonCount;
int32_t (*joystickButton)(int32_t b) = SdlJoystickButton;
