// Hand-made worlds for the sailing and sea view tests.
#pragma once
#include <cstring>
#include <vector>

#include "flow/dispatch.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "sailing/sailing.h"
#include "test_support.h"
#include "world/world.h"

// An empty sea with no gulls or clouds, the world's counters as a new game has them.
inline void ResetWorld() {
    ClearWorldLists();
    std::memset(tileMap, 0, sizeof tileMap);
    std::memset(shadowMask, 0, sizeof shadowMask);
    for (auto& gull : gulls) gull.reset();
    for (auto& cloud : clouds) cloud.reset();
    overlayMode = 0;
    peaceful = 1;
    hudSlide = 0;
    cannonballCount = 6;
    soundStarted = nullptr;
}

inline void SetCell(int32_t c, int32_t r, int32_t code) { tileMap[CellIndex(c, r)] = static_cast<int8_t>(code); }

// A ship afloat and at rest, appended to ships.
inline Ship* AddShip(int32_t kind, int32_t x, int32_t y, int32_t headingX = 1, int32_t headingY = 0) {
    Ship* ship = new Ship{};
    ship->sailTimer = -1;
    ship->screenX = ship->screenY = -1;
    ship->sinkTimer = 500;
    ship->sideOffset = 1;
    ship->waypointX = ship->waypointY = -1;
    ship->x = x;
    ship->y = y;
    ship->headingX = headingX;
    ship->headingY = headingY;
    ship->health = 5;
    ship->kind = kind;
    ships.Append(ship);
    return ship;
}

inline Ship* AddPlayer(int32_t x, int32_t y) {
    player = AddShip(0, x, y);
    PlaceCamera();
    return player;
}

// One frame of the game loop on the sailing screen.
inline void PlayFrame() {
    GameState = 4;
    RunHeadlessFrame();
}

// Every sound effect started, in order.
inline std::vector<int32_t>& SoundsPlayed() {
    static std::vector<int32_t> played;
    return played;
}
inline void ListenToSounds() {
    SoundsPlayed().clear();
    soundStarted = [](int32_t n) { SoundsPlayed().push_back(n); };
}

inline std::vector<uint16_t> Snapshot() { return std::vector<uint16_t>(FrameBuffer, FrameBuffer + kScreenWidth * kScreenHeight); }

// How many pixels of the FrameBuffer differ from a snapshot (0 when the same picture).
inline int32_t DiffersFrom(const std::vector<uint16_t>& picture) {
    int32_t count = 0;
    for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++) count += FrameBuffer[i] != picture[i];
    return count;
}

inline bool ShadowBit(int32_t x, int32_t y) { return (shadowMask[(y / 8) * kScreenWidth + x] >> (y % 8) & 1) != 0; }
