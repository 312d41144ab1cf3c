#include "platform/input.h"

#include <cstring>

const int32_t keyMap[kButtonSlots] = {
    KeyLeftCtrl,  // A
    KeyLeftAlt,   // B
    KeyDown,      // Down
    KeyUp,        // Up
    KeyLeft,      // Left
    KeyRight,     // Right
    0,            // spare
    KeyReturn,    // Start
    0, 0, 0, 0,   // spare
    0,            // discard slot
};

uint8_t buttonLatch[kButtonSlots];
uint8_t joyDown[kButtonSlots];

// The logical button of each joystick button 0..11 (12: none).
static const int32_t kJoystickButtonMap[12] = {12, ButtonB, ButtonA, 12, 12, 12,
                                               ButtonDown, ButtonLeft, ButtonUp, ButtonRight, 12, ButtonStart};

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
