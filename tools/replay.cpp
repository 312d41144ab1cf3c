// replay: plays a scripted scene of the real game headless and keeps what it showed.
//
//   build/replay SCRIPT OUTDIR
//
// Run it from the top of the tree, where data/ is. It reads SCRIPT (the format is at the
// top of src/harness/replay.h; examples are in tools/replays), writes the frames the
// script asks for as PNG files into OUTDIR (made if missing), and prints the log of
// sounds and music started, one line per event, on stdout. The score file lives in a
// temporary home unless the script names one, so no real score is ever touched.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "harness/replay.h"
#include "platform/files.h"
#include "platform/video.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SCRIPT OUTDIR\n", argv[0]);
        return 2;
    }
    std::string script;
    if (!ReadTextFile(argv[1], &script)) {
        std::fprintf(stderr, "replay: cannot read %s\n", argv[1]);
        return 1;
    }
    // No window and, whatever the machine has, no sound device.
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    std::string log;
    const std::string error = RunReplay(script, argv[2], &log);
    // The mixer's thread must stop before the program unloads the libraries it runs in.
    ShutDown();
    std::fputs(log.c_str(), stdout);
    if (!error.empty()) {
        std::fprintf(stderr, "replay: %s: %s\n", argv[1], error.c_str());
        return 1;
    }
    return 0;
}
