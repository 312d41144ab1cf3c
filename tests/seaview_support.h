// Hand-made seas for the sailing and sea view tests.
#pragma once
#include <cstdlib>
#include <cstring>
#include <vector>

#include "flow/gamestate.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "ports/ports.h"
#include "render/shadow.h"
#include "sailing/camera.h"
#include "sailing/sailing.h"
#include "sailing/seaview.h"
#include "test_support.h"
#include "world/world.h"

using Picture = std::vector<uint16_t>;

// An empty sea without gulls or clouds, a new game's counters, the status bar slid out
// of the picture, and every sound started listed in `played`.
class SeaTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ClearWorldLists();
        std::memset(tileMap, 0, sizeof tileMap);
        std::memset(shadowMask, 0, sizeof shadowMask);
        for (auto& gull : gulls) gull.reset();
        for (auto& cloud : clouds) cloud.reset();
        overlayMode = OverlayNone, peaceful = 1, hudSlide = -20, cannonballCount = 6, level = 0, cargo = 0, gold = 0,
        sfxOn = 1;
        deliveries = 0, dockProgress = 0, popupKind = 0, popupTimer = 0, compassTarget = nullptr;
        played.clear(), music.clear();
        soundStarted = [](int32_t n) { played.push_back(n); };
        musicStarted = [](int32_t i) { music.push_back(i); };
    }
    void TearDown() override {
        ClearWorldLists();
        soundStarted = nullptr, musicStarted = nullptr;
        GameState = ScreenStart;
        InitPalettes();
    }
    static inline std::vector<int32_t> played;  // every sound started
    static inline std::vector<int32_t> music;   // every track started
};

// The raw numbers rand() gives after srand(seed); the generator is seeded again after.
inline std::vector<int32_t> RandFrom(uint32_t seed, int32_t count) {
    std::srand(seed);
    std::vector<int32_t> numbers;
    for (int32_t i = 0; i < count; i++) numbers.push_back(std::rand());
    std::srand(seed);
    return numbers;
}

inline void SetCell(int32_t c, int32_t r, int32_t code) { tileMap[CellIndex(c, r)] = static_cast<int8_t>(code); }

// A ship afloat and at rest, appended to ships.
inline Ship* AddShip(int32_t kind, int32_t x, int32_t y, int32_t headingX = 1, int32_t headingY = 0) {
    ships.Append(new Ship{-1, 0, 0, -1, -1, 0, 30, 0, 0, 500, 1, -1, -1, 0, 0, x, y, headingX, headingY, 5,
                          kind});
    return ships[ships.Count() - 1];
}

inline Ship* AddPlayer(int32_t x, int32_t y) {
    player = AddShip(0, x, y);
    PlaceCamera();
    return player;
}

// One frame of the game loop on the sailing screen.
inline void PlayFrame() {
    GameState = ScreenSailing;
    RunHeadlessFrame();
}

inline Picture Snapshot() { return Picture(FrameBuffer, FrameBuffer + kScreenWidth * kScreenHeight); }

// How many pixels of the FrameBuffer differ from the picture.
inline int32_t DiffersFrom(const Picture& picture) {
    int32_t count = 0;
    for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++) count += FrameBuffer[i] != picture[i];
    return count;
}

inline bool ShadowBit(int32_t x, int32_t y) { return (shadowMask[(y / 8) * kScreenWidth + x] >> (y % 8) & 1) != 0; }

// The index of the first palette entry of a colour (16 for none).
inline int32_t PaletteIndex(uint16_t colour) {
    int32_t i = 0;
    while (i < 16 && Colour(i) != colour) i++;
    return i;
}

// A one-bit picture drawn pixel by pixel: bands of 8 rows, a byte a column.
inline void DrawMaskByHand(int32_t x, int32_t y, const uint8_t* mask, int32_t size, int32_t colour) {
    for (int32_t row = 0; row < size; row++)
        for (int32_t col = 0; col < size; col++)
            if ((mask[row / 8 * size + col] >> (row % 8) & 1) && x + col >= 0 && x + col < 160 && y + row >= 0 &&
                y + row < 120)
                FrameBuffer[(y + row) * 160 + x + col] = Colour(colour);
}
