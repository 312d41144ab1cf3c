// The browser's window: the page's canvas of the game's own 160 x 120 pixels, which the
// page scales crisply to fit the browser window. The frame loop is main's own: the
// pause at the end of each frame hands the browser its turn, and while the page is
// hidden no frame runs at all.
#include "platform/video.h"

#include <emscripten.h>

#include <cstdio>

#include "platform/audio.h"
#include "platform/frame.h"

// The page waits for the player's first click, tap or key before the game may start,
// since a browser lets a page make sound only after one; until then the window is not
// open. Without a canvas there is nothing to show the game on.
EM_ASYNC_JS(int, WaitForPlayer, (), {
    if (Module.started) await Module.started;
    return Module.canvas && Module.canvas.getContext("2d") ? 1 : 0;
});

// Puts the picture (RGBA, 160 x 120) on the canvas and tells the page a frame was shown.
EM_JS(void, ShowPicture, (const uint8_t* rgba, int width, int height), {
    const pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    Module.canvas.getContext("2d").putImageData(new ImageData(pixels, width, height), 0, 0);
    if (Module.onFrameShown) Module.onFrameShown();
});

// Returns at once while the page is shown; while it is hidden (another tab, a minimised
// window) it returns only when the page is shown again.
EM_ASYNC_JS(void, WaitWhileHidden, (), {
    while (document.hidden)
        await new Promise((shown) => document.addEventListener("visibilitychange", shown, {once: true}));
});

static uint8_t picture[kScreenWidth * kScreenHeight * 4];

bool OpenWindow() {
    if (WaitForPlayer() != 0) return true;
    std::fputs("quillbarrow: the page has no canvas to show the game on\n", stderr);
    return false;
}

void PresentToWindow() {
    for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++) {
        const uint32_t colour = Rgb888(FrameBuffer[i]);
        picture[i * 4 + 0] = static_cast<uint8_t>(colour >> 16);
        picture[i * 4 + 1] = static_cast<uint8_t>(colour >> 8);
        picture[i * 4 + 2] = static_cast<uint8_t>(colour);
        picture[i * 4 + 3] = 255;
    }
    ShowPicture(picture, kScreenWidth, kScreenHeight);
}

void BeginFrame() {
    frameStart = static_cast<uint32_t>(emscripten_get_now());
}

// A page has no events for the game: the keys and touches come through controls_web.cpp,
// and there is no window to close or resize.
bool DrainEvents() {
    return false;
}

// Sleeps out the rest of the 25 ms frame, and always yields, so that the browser draws
// the canvas and delivers keys even after a late frame. A hidden page waits here, so
// the game stands still where it was; the first frame after it sleeps no longer, as
// after any late frame.
void PaceFrame() {
    const uint32_t now = static_cast<uint32_t>(emscripten_get_now());
    const int32_t left = static_cast<int32_t>(frameStart + kFramePeriodMs - now);
    emscripten_sleep(left > 0 ? left : 0);
    WaitWhileHidden();
}

void ShutDown() {
    FreeAudio();
}
