// What the desktop's window (SDL 1.2) and the handhelds' (SDL 2) do alike: give up in
// one line on a window that would not open, and wait out the rest of a frame. Included
// only by video.cpp and video_sdl2.cpp, which are built where their SDL is.
#pragma once
#include <SDL.h>

#include <cstdio>
#include <string>

#include "platform/frame.h"
#include "platform/messages.h"

// Shuts SDL down again and says why there is no window, in place of whatever the
// libraries under it said while they looked for one. Returns false, for OpenWindow.
inline bool WindowFailed(const char* reason) {
    const std::string why = reason;  // SDL_Quit may free the text of SDL_GetError
    SDL_Quit();
    ReleaseLibraryMessages(false);
    std::fprintf(stderr, "quillbarrow: cannot open the game window: %s\n", why.c_str());
    return false;
}

// Sleeps until the frame that began at frameStart has had its period, if it has not yet.
inline void WaitOutFrame() {
    if (SDL_GetTicks() - frameStart >= kFramePeriodMs) return;
    const Sint32 left = static_cast<Sint32>(frameStart + kFramePeriodMs - SDL_GetTicks());
    if (left > 0) SDL_Delay(static_cast<Uint32>(left));
}
