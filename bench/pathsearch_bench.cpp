// The dearest path search a pirate can make: the player far across a generated set of
// islands and walled in by land, so that the search spends its whole budget of 500
// expansions and finds nothing. The game's PlanPath against the rule followed literally.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "pathsearch_literal.h"
#include "flow/gamestate.h"
#include "pirates/pathsearch.h"
#include "world/world.h"

namespace {

Ship pirate;

// Of the first forty sets of islands with the pirate and the player in opposite corners,
// the one where this search costs the game's PlanPath most.
void BuildFarSearch() {
    std::srand(20);
    level = 0;
    GenerateIslands();
    // The player in the bottom right corner, land on its eight sides; the pirate in the
    // top left.
    player->x = 53 * 16 + 8, player->y = 53 * 16 + 6;
    for (int32_t dx = -1; dx <= 1; dx++)
        for (int32_t dy = -1; dy <= 1; dy++)
            if (dx != 0 || dy != 0) tileMap[CellIndex(53 + dx, 53 + dy)] = CellLand;
    pirate = Ship{};
    pirate.x = 2 * 16 + 8, pirate.y = 2 * 16 + 6;
}

void BM_WorstPathSearch(benchmark::State& state) {
    BuildFarSearch();
    for (auto _ : state) {
        PlanPath(&pirate);
        benchmark::DoNotOptimize(pirate.waypointX);
    }
    state.counters["expanded"] = closedNodeCount;
    state.counters["nodes"] = pathNodeCount;
    ClearWorldLists();
}
BENCHMARK(BM_WorstPathSearch)->Iterations(1000)->Unit(benchmark::kMicrosecond);

void BM_WorstPathSearchLiteral(benchmark::State& state) {
    BuildFarSearch();
    for (auto _ : state) {
        literal::PlanPath(&pirate);
        benchmark::DoNotOptimize(pirate.waypointX);
    }
    state.counters["expanded"] = static_cast<double>(literal::closedNodes.size());
    state.counters["nodes"] = static_cast<double>(literal::closedNodes.size() + literal::openNodes.size());
    literal::openNodes.clear();
    literal::closedNodes.clear();
    ClearWorldLists();
}
BENCHMARK(BM_WorstPathSearchLiteral)->Iterations(100)->Unit(benchmark::kMicrosecond);

}  // namespace
