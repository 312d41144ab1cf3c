// The handhelds' keys and pad on SDL2, as the window's event loop keeps them current
// (src/platform/controls_sdl2.cpp, src/platform/video_sdl2.cpp).
#pragma once
#include <cstdint>

// Copies SDL's keyboard state of the game's keys into keyState, where the game reads
// them by their SDL 1.2 key codes: what the keyboard array of SDL 1.2 held after the
// same events.
void ReadKeyboard();

// A pad plugged in (SDL's device index) or pulled out (its instance number): the first
// game controller found is the game's pad.
void PadAdded(int32_t index);
void PadRemoved(int32_t instance);

// Whether Select and Start of the pad are both held: the handhelds' usual way out of a
// game, which also works where no key mapper runs.
bool PadAsksToQuit();
