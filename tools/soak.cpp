// soak: plays the real game headless for a long time with a restless player at the
// controls, checking after every frame the promises the game keeps.
//
//   build/soak FRAMES [SEED]
//
// Run it from the top of the tree, where data/ is. Every ten seconds it says on stderr how
// far it has come; at the end it prints how often each screen and event was reached.
// When a promise breaks it prints the seed and the frame, which replay the failure
// exactly, and exits with status 1; when the run ends without having reached some
// screen or event it names them and exits with status 3. The score file
// lives in a temporary home, so no real score is touched.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "harness/soak.h"
#include "platform/video.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::seconds kProgressPeriod{10};
long long runFrames;  // the frames asked for
Clock::time_point runStart, lastProgress;

// A line every kProgressPeriod, so that a run of many minutes is seen to be alive.
void PrintProgress(const SoakTally& tally) {
    const Clock::time_point now = Clock::now();
    if (now - lastProgress < kProgressPeriod) return;
    lastProgress = now;
    std::fprintf(stderr, "soak: %lld of %lld frames, %.0f s\n", static_cast<long long>(tally.frames), runFrames,
                 std::chrono::duration<double>(now - runStart).count());
}

}  // namespace

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
    runFrames = frames;
    runStart = lastProgress = Clock::now();
    soakProgress = PrintProgress;
    const std::string failure = RunSoak(frames, static_cast<uint32_t>(seed), &tally);
    const double seconds = std::chrono::duration<double>(Clock::now() - runStart).count();
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
