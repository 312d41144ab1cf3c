// The game's buttons, fed by one keyboard key and at most one joystick button each.
// Nearly every action fires when a button is let go (wasReleased); only steering
// looks at buttons held down (isHeld).
#pragma once
#include <cstdint>

// Logical button indices. 6 and 8..11 are spare; 12 is where joystick buttons without
// a logical button land, and nothing reads it.
enum : int32_t {
    ButtonA = 0,
    ButtonB = 1,
    ButtonDown = 2,
    ButtonUp = 3,
    ButtonLeft = 4,
    ButtonRight = 5,
    ButtonStart = 7,
};
constexpr int32_t kButtonSlots = 13;

// The keyboard keys the game reads, by their SDL 1.2 key codes, which index keyState.
enum : int32_t {
    KeyReturn = 13,
    KeyUp = 273,
    KeyDown = 274,
    KeyRight = 275,
    KeyLeft = 276,
    KeyLeftCtrl = 306,
    KeyLeftAlt = 308,
};
constexpr int32_t kKeyCodes = 512;  // beyond every SDL 1.2 key code

// SDL's key-state array (indexed by SDL key code, non-zero while down), kept current by
// the event polling of the frame loop (src/platform/controls.cpp; the browser's keys in
// controls_web.cpp). Scripted runs point it at an array of their own.
extern uint8_t* keyState;

// The key code of each logical button; 0 for the buttons without a key.
extern const int32_t keyMap[kButtonSlots];

// Per button: 1 while its key is down at sampling, 2 while its joystick button is
// down; after a release it falls by one each frame to 0.
extern uint8_t buttonLatch[kButtonSlots];

// Per button: 2 while its joystick button was down at the last sampling, else 0.
extern uint8_t joyDown[kButtonSlots];

// Where the sampling reads joystick 0: the number of buttons (0 without a pad) and
// whether button b is down (1) or not. The defaults ask SDL; scripted runs replace them.
extern int32_t (*joystickButtonCount)();
extern int32_t (*joystickButton)(int32_t b);

// The key is down now or the joystick button was down at the last sampling.
bool isHeld(int32_t k);

// The button was down at the last sampling and is up now: true in exactly one frame
// for each press and release.
bool wasReleased(int32_t k);

// Once a frame, after the screen has run: updates the latches from the keyboard and
// joystick 0. Without a pad (or when it is pulled out) every pad button counts as up.
void SampleButtons();
