#include "platform/video.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/audio.h"
#include "platform/frame.h"
#include "platform/messages.h"

static SDL_Surface* screenSurface;
static const Uint32 kVideoFlags = SDL_HWSURFACE | SDL_HWACCEL | SDL_DOUBLEBUF;

// Shuts SDL down again and says why there is no window, in place of whatever the
// libraries under it said while they looked for one.
static bool WindowFailed(const char* reason) {
    const std::string why = reason;
    SDL_Quit();
    ReleaseLibraryMessages(false);
    std::fprintf(stderr, "quillbarrow: cannot open the game window: %s\n", why.c_str());
    return false;
}

bool OpenWindow() {
    HoldLibraryMessages();
    // A machine without a sound device still plays, silently.
    if (SDL_Init(SDL_INIT_AUDIO | SDL_INIT_VIDEO | SDL_INIT_JOYSTICK) != 0)
        SDL_Init(SDL_INIT_VIDEO | SDL_INIT_JOYSTICK);
    SDL_ShowCursor(SDL_DISABLE);
    SDL_WM_SetCaption("Quillbarrow", nullptr);
    screenSurface = SDL_SetVideoMode(windowWidth, windowHeight, 16, kVideoFlags);
    if (screenSurface == nullptr) return WindowFailed(SDL_GetError());
    // Without a display SDL falls back to drawing nowhere; a game nobody can see is no
    // use, unless such a driver was asked for by name.
    char driver[32] = "";
    SDL_VideoDriverName(driver, sizeof driver);
    if ((std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0) &&
        std::getenv("SDL_VIDEODRIVER") == nullptr)
        return WindowFailed("no display found (is DISPLAY set?)");
    ReleaseLibraryMessages(true);
    return true;
}

void PresentToWindow() {
    SDL_Surface* frame = SDL_CreateRGBSurfaceFrom(FrameBuffer, kScreenWidth, kScreenHeight, 16,
                                                  kScreenWidth * 2, 0, 0, 0, 0);
    SDL_SoftStretch(frame, nullptr, screenSurface, nullptr);
    SDL_FreeSurface(frame);
    SDL_Flip(screenSurface);
}

void BeginFrame() {
    frameStart = SDL_GetTicks();
}

bool DrainEvents() {
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            quit = true;
        } else if (event.type == SDL_VIDEORESIZE) {
            windowWidth = event.resize.w;
            windowHeight = event.resize.h;
            screenSurface = SDL_SetVideoMode(windowWidth, windowHeight, 16, kVideoFlags);
        } else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) {
            quit = true;
        }
    }
    return quit;
}

void PaceFrame() {
    if (SDL_GetTicks() - frameStart >= kFramePeriodMs) return;
    Sint32 left = static_cast<Sint32>(frameStart + kFramePeriodMs - SDL_GetTicks());
    if (left > 0) SDL_Delay(static_cast<Uint32>(left));
}

void ShutDown() {
    FreeAudio();
    SDL_Quit();
}
