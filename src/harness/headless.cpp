#include "harness/headless.h"

#include <cstring>

#include "flow/dispatch.h"
#include "harness/screenshot.h"
#include "platform/input.h"

uint16_t shownFrame[kScreenWidth * kScreenHeight];

namespace {

constexpr int32_t kPadButtons = 12;

uint8_t scriptedKeys[kKeyCodes];
bool padConnected;
uint8_t padButtons[kPadButtons];

int32_t ScriptedPadButtonCount() { return padConnected ? kPadButtons : 0; }
int32_t ScriptedPadButton(int32_t b) { return padButtons[b]; }

void Capture() { std::memcpy(shownFrame, FrameBuffer, sizeof shownFrame); }

}  // namespace

void StartHeadless() {
    std::memset(scriptedKeys, 0, sizeof scriptedKeys);
    std::memset(padButtons, 0, sizeof padButtons);
    padConnected = false;
    keyState = scriptedKeys;
    joystickButtonCount = ScriptedPadButtonCount;
    joystickButton = ScriptedPadButton;
    std::memset(buttonLatch, 0, sizeof buttonLatch);
    std::memset(joyDown, 0, sizeof joyDown);
}

void SetKey(int32_t sdlKey, bool down) {
    if (sdlKey >= 0 && sdlKey < kKeyCodes) scriptedKeys[sdlKey] = down ? 1 : 0;
}

void SetButtonKey(int32_t button, bool down) { SetKey(keyMap[button], down); }

void SetPadConnected(bool connected) { padConnected = connected; }

void SetPadButton(int32_t b, bool down) {
    if (b >= 0 && b < kPadButtons) padButtons[b] = down ? 1 : 0;
}

void RunHeadlessFrame() { RunOneFrame(Capture); }

bool SaveShownFrame(const char* path, int32_t scale) {
    return SavePng(path, shownFrame, kScreenWidth, kScreenHeight, scale);
}
