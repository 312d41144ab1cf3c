// Quillbarrow: start-up, the fixed 25 ms frame loop and shutdown.
#include <cstdlib>
#include <ctime>

#include "flow/dispatch.h"
#include "platform/frame.h"
#include "platform/video.h"

int main() {
    if (!OpenWindow()) return 1;
    InitPalettes();
    PresentToWindow();  // the first picture is the still black FrameBuffer
    BuildSaveDir(std::getenv("HOME"));
    std::srand(static_cast<unsigned>(std::time(nullptr)));

    bool quit = false;
    while (!quit) {
        BeginFrame();
        quit = DrainEvents();
        RunOneFrame(PresentToWindow);
        PaceFrame();
    }
    ShutDown();
    return 0;
}
