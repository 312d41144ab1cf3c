// The screen dispatcher: one frame of whichever screen GameState names.
#pragma once
#include <cstdint>

// The current screen. 100 at start-up.
extern int32_t GameState;

// Runs one frame of the current screen, drawing into the cleared FrameBuffer.
void RunFrame();
