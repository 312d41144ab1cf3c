// The game's one entry for a frame, and the screen dispatcher under it.
#pragma once

// One frame of the game after the platform has drained its events: the screen of the
// current state (RunFrame), button sampling, showing the picture through present (which
// may be null), clearing the FrameBuffer and advancing frameCounter. The window, the
// tests and the replay tool all run the game through this.
void RunOneFrame(void (*present)());

// One frame of whichever screen GameState names, drawing into the cleared FrameBuffer.
void RunFrame();
