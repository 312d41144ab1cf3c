#include "platform/video.h"

#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "platform/audio.h"
#include "platform/frame.h"
#include "platform/messages.h"
#include "platform/sdl_window.h"

static SDL_Surface* screenSurface;
static const Uint32 kVideoFlags = SDL_HWSURFACE | SDL_HWACCEL | SDL_DOUBLEBUF;

// The X error that ended the game window (an X error code, 0 while there is none).
static int windowError;

// The first fields of Xlib's XErrorEvent, enough to name the error: the game is built
// without Xlib's headers.
struct XError {
    int type;
    void* display;
    unsigned long resource;
    unsigned long serial;
    unsigned char code;
};

static int NoteWindowError(void*, void* error) {
    if (windowError == 0) windowError = static_cast<XError*>(error)->code;
    return 0;
}

// A window destroyed by another program (a window manager's "kill", xdotool's
// windowclose) leaves SDL 2 calling X on a window that is gone, and Xlib's own handler
// of the error that follows ends the program on the spot, with status 1. SDL offers no
// way round it (no hint, no event: SDL 2's handler only passes the error on to Xlib's),
// so where SDL drew the window with Xlib the game notes any X error itself, and the
// frame loop quits in order. Xlib is only looked up, never loaded: a window drawn
// another way (Wayland, a handheld's screen) is left alone.
static void CatchWindowErrors() {
    void* xlib = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (xlib == nullptr) return;
    using Handler = int (*)(void*, void*);
    const auto setHandler = reinterpret_cast<Handler (*)(Handler)>(dlsym(xlib, "XSetErrorHandler"));
    if (setHandler != nullptr) setHandler(NoteWindowError);
    dlclose(xlib);  // only gives back the reference the look-up took
}

bool OpenWindow() {
    HoldLibraryMessages();
    // The video alone first, then the pad and the sound, each of which may fail: the
    // game plays on with the keyboard, silently. Asked for all three in one SDL_Init,
    // a sound system that fails (a sound server named but not running) also undoes the
    // video under sdl12-compat, which still counts all three as started, so that no
    // later SDL_Init starts the video again and the first call that needs it crashes.
    if (SDL_Init(SDL_INIT_VIDEO) != 0) return WindowFailed(SDL_GetError());
    SDL_InitSubSystem(SDL_INIT_JOYSTICK);
    SDL_InitSubSystem(SDL_INIT_AUDIO);
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
    CatchWindowErrors();
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
    if (windowError != 0) {
        std::fprintf(stderr, "quillbarrow: the game window is gone (X error %d)\n", windowError);
        quit = true;
    }
    return quit;
}

void PaceFrame() {
    WaitOutFrame();
}

void ShutDown() {
    FreeAudio();
    // A window that is gone is not closed again: SDL 2 would destroy it on X after
    // handing the errors back to Xlib's handler, which ends the program.
    if (windowError != 0) return SDL_QuitSubSystem(SDL_INIT_AUDIO | SDL_INIT_JOYSTICK);
    SDL_Quit();
}
