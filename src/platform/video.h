// The window: opening it, showing the FrameBuffer in it, the event queue, the frame
// clock and shutdown. Only the game's own executable opens a window; tests and tools
// run frames without one, but they too call ShutDown before they exit, so that the
// mixer's thread stops before the libraries it runs in are unloaded.
#pragma once

// Starts SDL and opens the 320 x 240 window titled "Quillbarrow". Returns false, after
// printing the reason on stderr, when no video mode can be set.
bool OpenWindow();

// Stretches the FrameBuffer over the whole window and flips it.
void PresentToWindow();

// Takes the tick count at the top of a frame.
void BeginFrame();

// Empties the event queue, obeying window resizes. Returns true when the window was
// closed, or destroyed by another program, or Escape was pressed.
bool DrainEvents();

// Sleeps out the rest of the 25 ms frame; a late frame does not sleep, and nothing is
// caught up.
void PaceFrame();

// Frees the sounds and music and shuts SDL down (all but a window already destroyed).
void ShutDown();
