// The heaviest sailing frame we can build: generated islands at level 20 with all 24
// pirates the level allows, every one of them out of range and planning its path in the
// same frame toward a player walled in by land (so that each search spends its whole
// budget), every one of them in a whirlpool's pull (26 whirlpools, the most allowed),
// forty cannonballs in the air, nine barrels, and the game paused over the island map.
// The scene is put back before every frame measured, so each measures the same frame.
//
//   build/quillbarrow_bench --benchmark_filter=WorstSailingFrame
//   valgrind --tool=callgrind --toggle-collect='RunOneFrame*'
//            build/quillbarrow_bench --benchmark_filter=WorstSailingFrameOnce
//
// Under callgrind the second runs that frame exactly once and counts only the inside of
// RunOneFrame, so the total of instructions is the frame's.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "flow/dispatch.h"
#include "flow/gamestate.h"
#include "harness/headless.h"
#include "pirates/pirates.h"
#include "platform/frame.h"
#include "world/generate.h"
#include "world/world.h"

namespace {

constexpr int32_t kLevel = 20;
constexpr int32_t kSeed = 11;

// Everything a frame changes, as it was built.
struct Scene {
    std::vector<Ship> ships;
    std::vector<Cannonball> cannonballs;
    std::vector<Barrel> barrels;
    std::vector<Whirlpool> whirlpools;
    std::vector<PortRole> portRoles;
    int8_t map[kMapCells * kMapCells];
    Gull gulls[kGullCount];
    Cloud clouds[kCloudCount];
} scene;

template <typename T>
void Refill(WorldList<T>& list, const std::vector<T>& records) {
    list.Clear();
    for (const T& record : records) list.Append(new T(record));
}

template <typename T>
std::vector<T> Copy(const WorldList<T>& list) {
    std::vector<T> records;
    for (int32_t i = 0; i < list.Count(); i++) records.push_back(*list[i]);
    return records;
}

void Restore() {
    Refill(ships, scene.ships);
    player = ships[0];
    Refill(cannonballs, scene.cannonballs);
    Refill(barrels, scene.barrels);
    Refill(whirlpools, scene.whirlpools);
    for (int32_t i = 0; i < ports.Count(); i++) ports[i]->role = scene.portRoles[static_cast<size_t>(i)];
    std::memcpy(tileMap, scene.map, sizeof tileMap);
    for (int32_t i = 0; i < kGullCount; i++) *gulls[i] = scene.gulls[i];
    for (int32_t i = 0; i < kCloudCount; i++) *clouds[i] = scene.clouds[i];
    // Frame 5 of 120: both the near pulls (two frames in three) and the far ones (one in
    // four) act.
    frameCounter = 5;
    overlayMode = OverlayPaused;
    GameState = ScreenSailing;
    std::srand(kSeed);
}

void SetCell(int32_t c, int32_t r, int32_t code) { tileMap[CellIndex(c, r)] = static_cast<int8_t>(code); }

void BuildWorstSea() {
    InitPalettes();
    StartHeadless();
    std::srand(kSeed);
    GameState = ScreenSailing;
    level = kLevel;
    GenerateIslands();
    peaceful = 0;
    hudSlide = 0;
    cargo = 3;

    // The player in open water in the middle of the world, walled in by land all round.
    int32_t cx, cy;
    const auto openAround = [](int32_t c, int32_t r) {
        for (int32_t dx = -1; dx <= 1; dx++)
            for (int32_t dy = -1; dy <= 1; dy++)
                if (tileMap[CellIndex(c + dx, r + dy)] != CellSea) return false;
        return true;
    };
    do DrawFreeCell(cx, cy);
    while (std::abs(cx - 28) > 6 || std::abs(cy - 28) > 6 || !openAround(cx, cy));
    for (int32_t dx = -1; dx <= 1; dx++)
        for (int32_t dy = -1; dy <= 1; dy++)
            if (dx != 0 || dy != 0) SetCell(cx + dx, cy + dy, CellLand);
    player->x = cx * 16 + 8, player->y = cy * 16 + 4;

    // 24 pirates far from the player, each heading for a waypoint next door and due to
    // plan again, each beside a whirlpool.
    while (ships.Count() < kLevel + 5) {
        DrawFreeCell(cx, cy);
        if (std::abs(cx * 16 - player->x) < 160 && std::abs(cy * 16 - player->y) < 160) continue;
        if (tileMap[CellIndex(cx + 1, cy)] != CellSea) continue;
        Ship* pirate = new Ship{-1, 0, 0, -1, -1, 0, 0, 0, 0, 500, 1, (cx - 1) * 16 + 8, cy * 16, 0, 0,
                                cx * 16 + 6, cy * 16 + 1, 1, 0, 3, 1 + ships.Count() % 3};
        ships.Append(pirate);
        whirlpools.Append(new Whirlpool{3000, (cx + 1) * 16 + 8, cy * 16 + 5});
        SetCell(cx + 1, cy, CellWhirlpool);
    }
    while (whirlpools.Count() < kLevel + 6) {
        DrawFreeCell(cx, cy);
        whirlpools.Append(new Whirlpool{3000, cx * 16 + 8, cy * 16 + 5});
        SetCell(cx, cy, CellWhirlpool);
    }

    // Cannonballs in the air round the player and round the first pirates; the barrels
    // the sea may hold, in view.
    for (int32_t i = 0; i < 40; i++) {
        const Ship* near = ships[i < 20 ? 0 : i - 19];
        cannonballs.Append(new Cannonball{30 + i % 15, i % 2 == 1, near->x - 40 + 4 * (i % 20), near->y - 30 + 3 * (i % 20),
                                          i % 3 - 1, (i / 3) % 3 - 1});
    }
    for (int32_t i = 0; i < 9; i++) barrels.Append(new Barrel{player->x - 70 + 16 * i, player->y + 40, 0});

    scene.ships = Copy(ships);
    scene.cannonballs = Copy(cannonballs);
    scene.barrels = Copy(barrels);
    scene.whirlpools = Copy(whirlpools);
    for (int32_t i = 0; i < ports.Count(); i++) scene.portRoles.push_back(ports[i]->role);
    std::memcpy(scene.map, tileMap, sizeof tileMap);
    for (int32_t i = 0; i < kGullCount; i++) scene.gulls[i] = *gulls[i];
    for (int32_t i = 0; i < kCloudCount; i++) scene.clouds[i] = *clouds[i];
}

void BM_WorstSailingFrame(benchmark::State& state) {
    BuildWorstSea();
    for (auto _ : state) {
        state.PauseTiming();
        Restore();
        state.ResumeTiming();
        RunOneFrame(nullptr);
        benchmark::DoNotOptimize(FrameBuffer[0]);
    }
    ClearWorldLists();
}
BENCHMARK(BM_WorstSailingFrame)->Unit(benchmark::kMicrosecond);

// One frame exactly, for callgrind.
BENCHMARK(BM_WorstSailingFrame)->Name("BM_WorstSailingFrameOnce")->Iterations(1);

}  // namespace
