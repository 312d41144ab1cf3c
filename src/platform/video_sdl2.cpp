// The handhelds' window on SDL2: the whole screen, showing the FrameBuffer magnified by
// the largest whole number of pixels that fits (4 x 4 on the usual 640 x 480 panel),
// centred on black, through an SDL2 renderer and a streaming texture. The texture holds
// 24-bit colours made by the game's own Rgb888 (each channel's bits repeated), so that
// the screen shows exactly the colours of the desktop's pictures and the browser's
// canvas; SDL's own widening of RGB565 rounds some of them differently. The frames and
// their pacing are the desktop's; only the way to the screen differs.
#include "platform/video.h"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

#include "platform/audio.h"
#include "platform/controls_sdl2.h"
#include "platform/frame.h"
#include "platform/messages.h"
#include "platform/sdl_window.h"

static SDL_Window* window;
static SDL_Renderer* renderer;
static SDL_Texture* texture;

bool OpenWindow() {
    HoldLibraryMessages();
    // The pad is read whichever window has the focus: on a handheld the game is all
    // there is on the screen, and some compositors never give it the focus.
    SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
    // SDL turns SIGTERM and SIGINT into a quit event, so that a firmware's key mapper
    // (which ends a game with SIGTERM) ends it as Escape does.
    if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_GAMECONTROLLER) != 0) return WindowFailed(SDL_GetError());
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    window = SDL_CreateWindow("Quillbarrow", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, windowWidth, windowHeight,
                              SDL_WINDOW_FULLSCREEN_DESKTOP);
    if (window == nullptr) return WindowFailed(SDL_GetError());
    // No vertical sync: the 25 ms frame paces itself, where waiting for a 60 Hz panel
    // would stretch it to 33 ms.
    renderer = SDL_CreateRenderer(window, -1, 0);
    if (renderer == nullptr) return WindowFailed(SDL_GetError());
    texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                kScreenHeight);
    if (texture == nullptr) return WindowFailed(SDL_GetError());
    SDL_ShowCursor(SDL_DISABLE);
    SDL_GetRendererOutputSize(renderer, &windowWidth, &windowHeight);
    ReleaseLibraryMessages(true);
    return true;
}

void PresentToWindow() {
    static uint32_t picture[kScreenWidth * kScreenHeight];
    for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++) picture[i] = Rgb888(FrameBuffer[i]);
    SDL_UpdateTexture(texture, nullptr, picture, kScreenWidth * 4);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    // The largest whole magnification that fits, centred (at least 1, cut at the edges on
    // a screen smaller than the picture).
    const int32_t scale = std::max(1, std::min(windowWidth / kScreenWidth, windowHeight / kScreenHeight));
    const SDL_Rect place = {(windowWidth - kScreenWidth * scale) / 2, (windowHeight - kScreenHeight * scale) / 2,
                            kScreenWidth * scale, kScreenHeight * scale};
    SDL_RenderCopy(renderer, texture, nullptr, &place);
    SDL_RenderPresent(renderer);
}

void BeginFrame() {
    frameStart = SDL_GetTicks();
    // A test that plays the port from outside (tests/handheld_test.sh) may fix the
    // seed that main took from the clock: QUILLBARROW_SEED, read before the first frame
    // draws anything. Unset, nothing changes.
    static bool seeded = false;
    if (!seeded) {
        seeded = true;
        if (const char* seed = std::getenv("QUILLBARROW_SEED")) std::srand(static_cast<unsigned>(std::atol(seed)));
    }
}

bool DrainEvents() {
    bool quit = false;
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        if (event.type == SDL_QUIT) {
            quit = true;
        } else if (event.type == SDL_KEYDOWN && event.key.keysym.sym == SDLK_ESCAPE) {
            quit = true;
        } else if (event.type == SDL_CONTROLLERDEVICEADDED) {
            PadAdded(event.cdevice.which);
        } else if (event.type == SDL_CONTROLLERDEVICEREMOVED) {
            PadRemoved(event.cdevice.which);
        } else if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED) {
            SDL_GetRendererOutputSize(renderer, &windowWidth, &windowHeight);
        }
    }
    ReadKeyboard();
    return quit || PadAsksToQuit();
}

void PaceFrame() {
    WaitOutFrame();
}

void ShutDown() {
    FreeAudio();
    SDL_Quit();
}
