// How long the save at the end of a game takes while the machine holds a lot of
// unrelated data not yet written out (another program's download, a copy in progress).
// The save waits for its own file and folder only; the global sync() it used to call
// waited for everything, which stalled the game for many frames (a frame is 25 ms).
// The folder is under /var/tmp, on a disk (under /tmp, often a tmpfs, every sync is
// free).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "flow/highscore.h"
#include "platform/files.h"
#include "platform/frame.h"

namespace {

// Megabytes the kernel holds written but not yet on the disk, machine-wide.
double UnwrittenMegabytes() {
    std::ifstream meminfo("/proc/meminfo");
    for (std::string line; std::getline(meminfo, line);)
        if (line.rfind("Dirty:", 0) == 0) return std::atof(line.c_str() + 6) / 1024;
    return 0;
}

// Writes megabytes of data into a file beside the save folder, without waiting for it
// to reach the disk.
void LeaveUnwritten(const std::string& path, int64_t megabytes) {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    const std::string block(1 << 20, 'd');
    for (int64_t i = 0; i < megabytes; i++) file.write(block.data(), block.size());
}

void SaveWithUnwrittenData(benchmark::State& state, bool globalSync) {
    char pattern[] = "/var/tmp/quillbarrow-bench-XXXXXX";
    const std::string home = mkdtemp(pattern);
    saveDir = home + "/.Quillbarrow/";
    int32_t score = 0;
    double unwritten = 0;
    for (auto _ : state) {
        state.PauseTiming();
        sync();  // the last round's data out of the way first
        LeaveUnwritten(home + "/unrelated", state.range(0));
        unwritten += UnwrittenMegabytes();
        state.ResumeTiming();
        SaveHighScore(++score);
        if (globalSync) sync();
    }
    RemoveDirectoryTree(home);
    // What was still unwritten when the save began: the kernel writes some of it out
    // on its own while it is being made.
    state.counters["unwritten_MB"] = unwritten / static_cast<double>(state.iterations());
}

}  // namespace

// The save as the game makes it, with 0, 256 and 1024 MB of other data unwritten.
static void BM_SaveWithUnwrittenData(benchmark::State& state) { SaveWithUnwrittenData(state, false); }
BENCHMARK(BM_SaveWithUnwrittenData)->Arg(0)->Arg(256)->Arg(1024)->Iterations(5)->Unit(benchmark::kMillisecond);

// The same followed by the global sync() of the old save, for comparison.
static void BM_SaveAndGlobalSyncWithUnwrittenData(benchmark::State& state) { SaveWithUnwrittenData(state, true); }
BENCHMARK(BM_SaveAndGlobalSyncWithUnwrittenData)->Arg(0)->Arg(256)->Arg(1024)->Iterations(5)->Unit(benchmark::kMillisecond);
