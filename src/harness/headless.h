// Running the real game without a window: the buttons come from a script, frames are
// kept for reading, and nothing waits for the clock. The tests and the replay tool
// drive the game through this exactly as the window's loop does.
#pragma once
#include <cstdint>

#include "platform/frame.h"

// The picture the last headless frame showed (the FrameBuffer after the screen ran and
// the buttons were sampled, before it was cleared).
extern uint16_t shownFrame[kScreenWidth * kScreenHeight];

// Points the key state and the joystick at the script, with every key and pad button
// up, no pad connected and all button latches at 0.
void StartHeadless();

// A keyboard key by SDL key code, or the key of a logical button, going down or up.
void SetKey(int32_t sdlKey, bool down);
void SetButtonKey(int32_t button, bool down);

// Joystick 0: connected with 12 buttons or not, and physical button b down or up.
void SetPadConnected(bool connected);
void SetPadButton(int32_t b, bool down);

// One frame of the game, as the window's loop runs it after draining the events.
void RunHeadlessFrame();

// Saves shownFrame as a PNG, magnified by scale.
bool SaveShownFrame(const char* path, int32_t scale);
