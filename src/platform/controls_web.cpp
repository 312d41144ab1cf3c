// The browser's keyboard, the page's touch controls and the first game pad. Keys come
// from the canvas's key events by their physical names; the touch controls of the page
// hold the same keys through TouchKey; pads in the browser's standard layout are read
// as the game's own joystick buttons, so that the face button at the bottom is A.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstring>

#include "platform/input.h"

static uint8_t keys[kKeyCodes];
uint8_t* keyState = keys;

// Who holds each game key down: a bit for each physical key that feeds it and one for
// the touch controls. The key is down while any of them holds it, so that letting go
// of Z does not let go of A while left Ctrl or a thumb still holds it.
static uint8_t holders[kKeyCodes];
constexpr uint8_t kTouch = 1 << 7;

// The keys the game takes, by KeyboardEvent.code: the desktop's keys, and Z and X for A
// and B as web games have them (left Ctrl and left Alt clash with the browser's own
// shortcuts, and a press of a modifier alone does not let a page start its sound).
static const struct {
    const char* code;
    int32_t key;
    uint8_t holder;
} kKeys[] = {
    {"ControlLeft", KeyLeftCtrl, 1}, {"KeyZ", KeyLeftCtrl, 2}, {"AltLeft", KeyLeftAlt, 1},
    {"KeyX", KeyLeftAlt, 2},         {"ArrowDown", KeyDown, 1}, {"ArrowUp", KeyUp, 1},
    {"ArrowLeft", KeyLeft, 1},       {"ArrowRight", KeyRight, 1}, {"Enter", KeyReturn, 1},
};

static void Hold(int32_t key, uint8_t holder, bool down) {
    holders[key] = down ? holders[key] | holder : holders[key] & ~holder;
    keys[key] = holders[key] != 0 ? 1 : 0;
}

// Keeps the key state, and keeps the browser from acting on the game's keys while the
// canvas has the focus (scrolling on the arrows, a menu on Alt, going back on Alt+Left).
// Every other key, alone or with Ctrl or Alt, is the browser's: F5, F11, Ctrl+R, zoom,
// Tab, find.
static EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    for (const auto& k : kKeys)
        if (std::strcmp(event->code, k.code) == 0) {
            Hold(k.key, k.holder, eventType == EMSCRIPTEN_EVENT_KEYDOWN);
            return EM_TRUE;
        }
    return EM_FALSE;
}

// A key let go while the canvas has no focus never reaches it: when the focus goes, so
// does every key the keyboard held.
static EM_BOOL OnBlur(int, const EmscriptenFocusEvent*, void*) {
    for (int32_t key = 0; key < kKeyCodes; key++) Hold(key, static_cast<uint8_t>(~kTouch), false);
    return EM_FALSE;
}

static const bool listening = [] {
    emscripten_set_keydown_callback("#canvas", nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback("#canvas", nullptr, EM_TRUE, OnKey);
    emscripten_set_blur_callback("#canvas", nullptr, EM_TRUE, OnBlur);
    return true;
}();

// The page's touch controls: the game key (an SDL key code of input.h) a thumb holds
// down or lets go.
extern "C" EMSCRIPTEN_KEEPALIVE void TouchKey(int32_t key, int32_t down) {
    if (key > 0 && key < kKeyCodes) Hold(key, kTouch, down != 0);
}

// Whether a game key is down, for the page's tests of its controls.
extern "C" EMSCRIPTEN_KEEPALIVE int32_t GameKeyHeld(int32_t key) {
    return key > 0 && key < kKeyCodes ? keys[key] : 0;
}

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
