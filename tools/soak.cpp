// soak: plays the real game headless for a long time with a restless player at the
// controls, checking after every frame the promises the game keeps.
//
//   build/soak FRAMES [SEED]
//
// Run it from the top of the tree, where data/ is. It prints how often each screen and
// event was reached. When a promise breaks it prints the seed and the frame, which
// replay the failure exactly, and exits with status 1; when the run ends without having
// reached some screen or event it names them and exits with status 3. The score file
// lives in a temporary home, so no real score is touched.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "harness/soak.h"
#include "platform/video.h"

int main(int argc, char** argv) {
    char* end = nullptr;
    const long long frames = argc >= 2 ? std::strtoll(argv[1], &end, 10) : 0;
    if (argc < 2 || argc > 3 || *end != '\0' || frames < 1) {
        std::fprintf(stderr, "usage: %s FRAMES [SEED]\n", argv[0]);
        return 2;
    }
    const unsigned long seed = argc == 3 ? std::strtoul(argv[2], nullptr, 10) : 1;
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    SoakTally tally;
    const auto start = std::chrono::steady_clock::now();
    const std::string failure = RunSoak(frames, static_cast<uint32_t>(seed), &tally);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    ShutDown();  // the mixer's thread stops before the libraries it runs in are unloaded
    std::fputs(SoakSummary(tally).c_str(), stdout);
    if (!failure.empty()) {
        std::fprintf(stderr, "soak: seed %lu, %s\n", seed, failure.c_str());
        return 1;
    }
    std::printf("seed %lu: every promise held over %lld frames, in %.0f s\n", seed, frames, seconds);
    const std::string missing = NeverReached(tally);
    if (!missing.empty()) {
        std::fprintf(stderr, "soak: seed %lu never reached: %s\n", seed, missing.c_str());
        return 3;
    }
    return 0;
}
