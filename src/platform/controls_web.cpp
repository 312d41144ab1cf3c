// The browser's keyboard and first game pad. Keys come from the page's key events by
// their physical names; pads in the browser's standard layout are read as the game's
// own joystick buttons, so that the face button at the bottom is A.
#include <emscripten/html5.h>

#include <cstring>

#include "platform/input.h"

static uint8_t keys[kKeyCodes];
uint8_t* keyState = keys;

static const struct {
    const char* code;  // KeyboardEvent.code
    int32_t key;
} kKeys[] = {
    {"ControlLeft", KeyLeftCtrl}, {"AltLeft", KeyLeftAlt}, {"ArrowDown", KeyDown}, {"ArrowUp", KeyUp},
    {"ArrowLeft", KeyLeft},       {"ArrowRight", KeyRight}, {"Enter", KeyReturn},
};

// Keeps the key state and keeps the browser from acting on the game's keys (scrolling
// on the arrows, a menu on Alt).
static EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    for (const auto& k : kKeys)
        if (std::strcmp(event->code, k.code) == 0) {
            keys[k.key] = eventType == EMSCRIPTEN_EVENT_KEYDOWN ? 1 : 0;
            return EM_TRUE;
        }
    return EM_FALSE;
}

static const bool listening = [] {
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(EMSCRIPTEN_EVENT_TARGET_WINDOW, nullptr, EM_TRUE, OnKey);
    return true;
}();

// The standard layout's button behind each of the game's joystick buttons 0..11 (-1:
// none): 2 A the bottom face button, 1 B the right one, 6 8 7 9 the d-pad, 11 Start.
static const int32_t kStandardButton[12] = {-1, 1, 0, -1, -1, -1, 13, 14, 12, 15, -1, 9};

static EmscriptenGamepadEvent pad;

static int32_t PadButtonCount() {
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS) return 0;
    const int count = emscripten_get_num_gamepads();
    for (int i = 0; i < count; i++)
        if (emscripten_get_gamepad_status(i, &pad) == EMSCRIPTEN_RESULT_SUCCESS && pad.connected) return 12;
    return 0;
}

static int32_t PadButton(int32_t b) {
    const int32_t index = std::strcmp(pad.mapping, "standard") == 0 ? kStandardButton[b] : b;
    return index >= 0 && index < pad.numButtons && pad.digitalButton[index] ? 1 : 0;
}

int32_t (*joystickButtonCount)() = PadButtonCount;
int32_t (*joystickButton)(int32_t b) = PadButton;
