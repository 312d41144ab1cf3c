// The cost of the sailing screen on a busy sea: a whole frame of the game loop, the sea
// view alone, and the darkening of the whole picture behind the pause map or a dialog.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <cstring>

#include "flow/dispatch.h"
#include "flow/gamestate.h"
#include "harness/headless.h"
#include "pirates/cannonballs.h"
#include "platform/frame.h"
#include "render/shadow.h"
#include "sailing/camera.h"
#include "sailing/sailing.h"
#include "sailing/seaview.h"
#include "sailing/sky.h"
#include "world/world.h"

namespace {

void SetCell(int32_t c, int32_t r, int32_t code) { tileMap[CellIndex(c, r)] = static_cast<int8_t>(code); }

Ship* AddShip(int32_t kind, int32_t x, int32_t y) {
    Ship* ship = new Ship{};
    ship->sailTimer = 7;
    ship->sinkTimer = 500;
    ship->sideOffset = 1;
    ship->waypointX = ship->waypointY = -1;
    ship->x = x;
    ship->y = y;
    ship->headingX = 1;
    ship->headingY = kind % 2;
    ship->health = 3;
    ship->kind = kind;
    ships.Append(ship);
    return ship;
}

// Gulls and clouds as the scene was built, put back before every frame measured so
// that they never drift out of view.
Gull gullsAtStart[kGullCount];
Cloud cloudsAtStart[kCloudCount];

void RememberDrifters() {
    for (int32_t i = 0; i < kGullCount; i++) gullsAtStart[i] = *gulls[i];
    for (int32_t i = 0; i < kCloudCount; i++) cloudsAtStart[i] = *clouds[i];
}

// Islands of 2 x 2 blocks all round the player, a port on every island, rocks and
// whirlpools between them, nine ships, nine barrels, every gull and a dozen clouds in
// view, and a dozen cannonballs kept in the air.
void BuildBusySea() {
    InitPalettes();
    StartHeadless();
    ClearWorldLists();
    std::memset(tileMap, 0, sizeof tileMap);
    std::srand(3);
    for (int32_t bx = 8; bx < 20; bx += 3)
        for (int32_t by = 8; by < 20; by += 3) {
            for (int32_t c = 0; c < 2; c++)
                for (int32_t r = 0; r < 2; r++) SetCell(2 * bx + c, 2 * by + r, 2 + std::rand() % 5);
            SetCell(2 * bx - 1, 2 * by, CellPort);
            ports.Append(new Port{2 * bx - 1, 2 * by, static_cast<PortRole>(std::rand() % 4 - 1)});
            SetCell(2 * bx + 3, 2 * by + 3, -2 - std::rand() % 3);
            SetCell(2 * bx + 5, 2 * by + 1, CellWhirlpool);
        }
    player = AddShip(0, 29 * 16 + 8, 28 * 16 + 8);
    for (int32_t i = 0; i < 8; i++) AddShip(1 + i % 3, 29 * 16 - 60 + 17 * i, 28 * 16 - 40 + 11 * i);
    for (int32_t i = 0; i < 9; i++) barrels.Append(new Barrel{29 * 16 - 70 + 16 * i, 28 * 16 + 30, 0});
    for (int32_t i = 0; i < kGullCount; i++) {
        const int32_t x = 29 * 16 - 80 + std::rand() % 160, y = 28 * 16 - 48 + std::rand() % 120;
        gulls[i].reset(
            new Gull{kWorldSize, kWorldSize, std::rand() % 16, 0, 1, x, y, std::rand() % 896, std::rand() % 896});
    }
    static const int32_t kSizes[4] = {8, 16, 32, 48};
    static const int32_t kVariants[4] = {6, 6, 5, 4};
    for (int32_t i = 0; i < kCloudCount; i++) {
        const int32_t image = i % 4;
        const bool inView = i < 12;
        const int32_t x = inView ? 29 * 16 - 80 + std::rand() % 160 : std::rand() % 895;
        const int32_t y = inView ? 28 * 16 - 20 + std::rand() % 120 : std::rand() % 895;
        clouds[i].reset(new Cloud{x, y, image, kSizes[image], kVariants[image], std::rand() % 8, kWorldSize, 944});
    }
    overlayMode = OverlayNone;
    peaceful = 1;
    hudSlide = 0;
    GameState = ScreenSailing;
    RememberDrifters();
}

void KeepTheSceneBusy() {
    for (int32_t i = 0; i < kGullCount; i++) *gulls[i] = gullsAtStart[i];
    for (int32_t i = 0; i < kCloudCount; i++) *clouds[i] = cloudsAtStart[i];
    while (cannonballs.Count() < 12) {
        const int32_t i = cannonballs.Count();
        cannonballs.Append(new Cannonball{50, 1, player->x - 40 + 7 * i, player->y - 30 + 5 * i, 1 - i % 3, i % 2});
    }
}

void BM_SailingFrame(benchmark::State& state) {
    BuildBusySea();
    for (auto _ : state) {
        KeepTheSceneBusy();
        RunOneFrame(nullptr);
        benchmark::DoNotOptimize(FrameBuffer[0]);
    }
    ClearWorldLists();
}
BENCHMARK(BM_SailingFrame);

void BM_SeaView(benchmark::State& state) {
    BuildBusySea();
    PlaceCamera();
    for (auto _ : state) {
        KeepTheSceneBusy();
        AdvanceCannonballs();
        FlyGulls();
        std::memset(shadowMask, 0, sizeof shadowMask);
        DrawSeaView();
        DriftClouds();
        DrawClouds();
        benchmark::DoNotOptimize(FrameBuffer[0]);
        frameCounter = (frameCounter + 1) % 120;
    }
    ClearWorldLists();
}
BENCHMARK(BM_SeaView);

// The whole picture darkened, as behind the pause map; the lit picture is put back
// before each pass (a 38 kB copy, part of the time measured).
void BM_DarkenWholePicture(benchmark::State& state) {
    BuildBusySea();
    PlaceCamera();
    DrawSeaView();
    static uint16_t lit[kScreenWidth * kScreenHeight];
    std::memcpy(lit, FrameBuffer, sizeof lit);
    for (auto _ : state) {
        std::memcpy(FrameBuffer, lit, sizeof lit);
        std::memset(shadowMask, 0xFF, sizeof shadowMask);
        DarkenShadows();
        benchmark::DoNotOptimize(FrameBuffer[0]);
    }
    ClearWorldLists();
}
BENCHMARK(BM_DarkenWholePicture);

}  // namespace
