// The browser's window: emscripten's SDL gives a 32-bit RGBA canvas of the game's own
// 160 x 120 pixels, which the page scales crisply to fit the browser window. The frame
// loop is main's own: the pause at the end of each frame hands the browser its turn.
#include "platform/video.h"

#include <SDL.h>
#include <emscripten.h>

#include <cstdio>

#include "platform/audio.h"
#include "platform/frame.h"

static SDL_Surface* screenSurface;

bool OpenWindow() {
    SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO);
    SDL_WM_SetCaption("Quillbarrow", nullptr);
    screenSurface = SDL_SetVideoMode(kScreenWidth, kScreenHeight, 32, SDL_SWSURFACE);
    if (screenSurface == nullptr) {
        std::fprintf(stderr, "quillbarrow: cannot open the game window: %s\n", SDL_GetError());
        return false;
    }
    return true;
}

// The canvas takes its pixels when the surface is unlocked; SDL_Flip does nothing here.
void PresentToWindow() {
    SDL_LockSurface(screenSurface);
    for (int32_t y = 0; y < kScreenHeight; y++) {
        uint8_t* row = static_cast<uint8_t*>(screenSurface->pixels) + y * screenSurface->pitch;
        for (int32_t x = 0; x < kScreenWidth; x++) {
            const uint32_t colour = Rgb888(FrameBuffer[y * kScreenWidth + x]);
            row[x * 4 + 0] = static_cast<uint8_t>(colour >> 16);
            row[x * 4 + 1] = static_cast<uint8_t>(colour >> 8);
            row[x * 4 + 2] = static_cast<uint8_t>(colour);
            row[x * 4 + 3] = 255;
        }
    }
    SDL_UnlockSurface(screenSurface);
}

void BeginFrame() {
    frameStart = SDL_GetTicks();
}

// A page has nothing to close and no window to resize: the events are only emptied.
bool DrainEvents() {
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
    }
    return false;
}

// Sleeps out the rest of the 25 ms frame, and always yields, so that the browser draws
// the canvas and delivers keys even after a late frame.
void PaceFrame() {
    const int32_t left = static_cast<int32_t>(frameStart + kFramePeriodMs - SDL_GetTicks());
    emscripten_sleep(left > 0 ? left : 0);
}

void ShutDown() {
    FreeAudio();
    SDL_Quit();
}
