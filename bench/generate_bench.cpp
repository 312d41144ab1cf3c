// How long a new set of islands takes to make: once per set, but a handheld must not
// stall noticeably on it (a frame is 25 ms).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "flow/gamestate.h"

static void BM_GenerateIslands(benchmark::State& state) {
    unsigned seed = 0;
    for (auto _ : state) {
        std::srand(seed++);
        GenerateIslands();
    }
}
BENCHMARK(BM_GenerateIslands)->Unit(benchmark::kMicrosecond);
