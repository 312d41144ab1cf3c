// The handhelds' keyboard and pad through SDL2. On a device the pad usually reaches the
// game twice: as keys, sent by the firmware's key mapper (gptokeyb, with the port's
// quillbarrow.gptk), and as SDL's game controller, read here directly. Both feed the
// same buttons, and the latches let a press seen both ways count once; the direct
// reading keeps Start (which the mapper sends as a 16 ms tap where Select is the
// hotkey, often too short for a 25 ms frame to see) and a port copied without the
// collection playable.
#include "platform/controls_sdl2.h"

#include <SDL.h>

#include "platform/input.h"

static uint8_t keys[kKeyCodes];
uint8_t* keyState = keys;

// The game's keys by the place of the key (its scancode), which is what both a keyboard
// and the key mapper's virtual one send.
static const struct {
    SDL_Scancode scancode;
    int32_t key;
} kKeys[] = {
    {SDL_SCANCODE_RETURN, KeyReturn}, {SDL_SCANCODE_UP, KeyUp},       {SDL_SCANCODE_DOWN, KeyDown},
    {SDL_SCANCODE_RIGHT, KeyRight},   {SDL_SCANCODE_LEFT, KeyLeft},   {SDL_SCANCODE_LCTRL, KeyLeftCtrl},
    {SDL_SCANCODE_LALT, KeyLeftAlt},
};

void ReadKeyboard() {
    const Uint8* now = SDL_GetKeyboardState(nullptr);
    for (const auto& k : kKeys) keys[k.key] = now[k.scancode];
}

static SDL_GameController* pad;  // the game's pad, or null

void PadAdded(int32_t index) {
    if (pad == nullptr && SDL_IsGameController(index)) pad = SDL_GameControllerOpen(index);
}

void PadRemoved(int32_t instance) {
    if (pad == nullptr || SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad)) != instance) return;
    SDL_GameControllerClose(pad);
    pad = nullptr;
    for (int32_t index = 0; index < SDL_NumJoysticks() && pad == nullptr; index++) PadAdded(index);
}

bool PadAsksToQuit() {
    return pad != nullptr && SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_BACK) != 0 &&
           SDL_GameControllerGetButton(pad, SDL_CONTROLLER_BUTTON_START) != 0;
}

// The controller button behind each of the game's joystick buttons 0..11: 2 A (the
// bottom face button), 1 B (the right one), 6 8 7 9 the d-pad, 11 Start.
static const SDL_GameControllerButton kPadButtons[12] = {
    SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_BUTTON_B,         SDL_CONTROLLER_BUTTON_A,
    SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_BUTTON_INVALID,   SDL_CONTROLLER_BUTTON_INVALID,
    SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_DPAD_LEFT, SDL_CONTROLLER_BUTTON_DPAD_UP,
    SDL_CONTROLLER_BUTTON_DPAD_RIGHT, SDL_CONTROLLER_BUTTON_INVALID, SDL_CONTROLLER_BUTTON_START,
};

static int32_t PadButtonCount() {
    return pad != nullptr && SDL_GameControllerGetAttached(pad) ? 12 : 0;
}

static int32_t PadButton(int32_t b) {
    return kPadButtons[b] != SDL_CONTROLLER_BUTTON_INVALID && SDL_GameControllerGetButton(pad, kPadButtons[b]) != 0;
}

int32_t (*joystickButtonCount)() = PadButtonCount;
int32_t (*joystickButton)(int32_t b) = PadButton;
