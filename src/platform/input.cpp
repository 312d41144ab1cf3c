#include "platform/input.h"

#include <SDL.h>

#include <cstring>

uint8_t* keyState = SDL_GetKeyState(nullptr);

const int32_t keyMap[kButtonSlots] = {
    SDLK_LCTRL,   // A
    SDLK_LALT,    // B
    SDLK_DOWN,    // Down
    SDLK_UP,      // Up
    SDLK_LEFT,    // Left
    SDLK_RIGHT,   // Right
    0,            // spare
    SDLK_RETURN,  // Start
    0, 0, 0, 0,   // spare
    0,            // discard slot
};

uint8_t buttonLatch[kButtonSlots];
uint8_t joyDown[kButtonSlots];

// The logical button of each joystick button 0..11 (12: none).
static const int32_t kJoystickButtonMap[12] = {12, ButtonB, ButtonA, 12, 12, 12,
                                               ButtonDown, ButtonLeft, ButtonUp, ButtonRight, 12, ButtonStart};

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

bool isHeld(int32_t k) {
    return keyState[keyMap[k]] + joyDown[k] != 0;
}

bool wasReleased(int32_t k) {
    return buttonLatch[k] != 0 && keyState[keyMap[k]] + joyDown[k] == 0;
}

void SampleButtons() {
    for (int32_t k = 0; k < 12; k++) {
        if (keyState[keyMap[k]] != 0) buttonLatch[k] = 1;
        else if (buttonLatch[k] != 0) buttonLatch[k]--;
    }
    // A pad pulled out lets go of every button it held, so none stays held (and the
    // ship turning) until it comes back.
    int32_t count = joystickButtonCount();
    if (count <= 0) std::memset(joyDown, 0, sizeof joyDown);
    for (int32_t b = 0; b < count && b < 12; b++) {
        int32_t k = kJoystickButtonMap[b];
        if (joystickButton(b) == 1) {
            joyDown[k] = 2;
            buttonLatch[k] = 2;
        } else {
            joyDown[k] = 0;
        }
    }
}
