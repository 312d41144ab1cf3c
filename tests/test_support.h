// The tests' one fixture and its helpers: every test starts from the game as a new process
// has it, on an empty sea, with a home of its own and every sound written down.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "flow/highscore.h"
#include "flow/menu.h"
#include "harness/headless.h"
#include "platform/audio.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "ports/ports.h"
#include "render/shadow.h"
#include "sailing/camera.h"
#include "world/world.h"

using Values = std::vector<int32_t>;
using Picture = std::vector<uint16_t>;

inline uint16_t Colour(int32_t index) { return static_cast<uint16_t>(Palette[index]); }
inline void FillFrame(uint16_t colour) { std::fill(std::begin(FrameBuffer), std::end(FrameBuffer), colour); }
inline uint16_t At(int32_t x, int32_t y) { return FrameBuffer[y * kScreenWidth + x]; }
inline uint16_t ShownAt(int32_t x, int32_t y) { return shownFrame[y * kScreenWidth + x]; }
inline Picture Snapshot() { return Picture(std::begin(FrameBuffer), std::end(FrameBuffer)); }
inline Picture Shown() { return Picture(std::begin(shownFrame), std::end(shownFrame)); }
// The first pixel of the FrameBuffer that differs from the picture, as "(x, y)"; "" if none.
inline std::string Differs(const Picture& picture) {
    for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++)
        if (FrameBuffer[i] != picture[i]) return "(" + std::to_string(i % 160) + ", " + std::to_string(i / 160) + ")";
    return "";
}
// Where the picture the last frame showed first differs from the one the test drew by hand
// into the FrameBuffer; the FrameBuffer is then cleared, as the frame loop leaves it.
inline std::string ShownDiffers() {
    const std::string at = Differs(Shown());
    ClearFrameBuffer();
    return at;
}
// Draws into the FrameBuffer how a packed w x h picture should look at (x, y): pixels of
// Palette[key] left out (key -1: none), and while rippling at frame f the columns f and
// f - 1 a pixel higher, f + 4 and f + 5 a pixel lower (f -10: no ripple).
inline void DrawExpected(const uint8_t* data, int32_t w, int32_t h, int32_t x, int32_t y, int32_t key, int32_t f) {
    for (int32_t c = 0; c < w; c++) {
        const int32_t shift = (c == f + 4 || c == f + 5) - (c == f || c == f - 1);
        for (int32_t r = 0; r < h; r++) {
            const int32_t index = r % 2 == 0 ? data[(r / 2) * w + c] >> 4 : data[(r / 2) * w + c] & 15;
            if (index != key) FrameBuffer[(y + r + shift) * kScreenWidth + x + c] = Colour(index);
        }
    }
}
inline void SetCell(int32_t c, int32_t r, int32_t code) { tileMap[CellIndex(c, r)] = static_cast<int8_t>(code); }
inline bool ShadowBit(int32_t x, int32_t y) { return (shadowMask[(y / 8) * 160 + x] >> (y % 8) & 1) != 0; }
// The first palette entry of a colour (16 for none).
inline int32_t PaletteIndex(uint16_t colour) {
    int32_t i = 0;
    while (i < 16 && Colour(i) != colour) i++;
    return i;
}

inline std::string FileText(const std::string& path) {
    std::stringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

// Where a test may leave pictures of what it saw: build/test-frames.
inline std::string TestFramePath(const std::string& name) { return std::string(TEST_FRAME_DIR) + "/" + name + ".png"; }

// Every sound, track and halt, by name, in order: "click", "music ingame", "stop".
inline std::vector<std::string> heard;
inline const char* const kSoundNames[kSoundCount] = {"beep",     "click", "shoot",     "miss",  "hit",   "whirl",
                                                     "gameover", "money", "nextlevel", "talk1", "talk2", "talk3"};
inline std::vector<std::string> Heard() { return std::exchange(heard, {}); }

// A seed whose first draws, each taken modulo its bound, give the values asked for:
// {{4, 2}, {2, 1}} gives 2 of 4, then 1 of 2 (rand() is left after those draws).
inline uint32_t SeedFor(const std::vector<std::pair<int32_t, int32_t>>& draws) {
    for (uint32_t seed = 1;; seed++) {
        std::srand(seed);
        bool match = true;
        for (const auto& [bound, value] : draws) match = match && std::rand() % bound == value;
        if (match) return seed;
    }
}

// Seeds rand() so that its next draws give the values asked for, as SeedFor has them.
// Returns the number rand() gives after them, by which a test sees that the game took not
// a draw more or less.
inline int32_t SeedDraws(const std::vector<std::pair<int32_t, int32_t>>& draws) {
    const uint32_t seed = SeedFor(draws);
    const int32_t after = std::rand();
    std::srand(seed);
    return after;
}

// A print (FNV-1a) of what a test records rather than spells out: pictures, maps,
// searches, steps; each value folded in as 32 bits.
struct Print {
    uint64_t value = 14695981039346656037u;
    void Add(uint32_t n) { value = (value ^ n) * 1099511628211u; }
};

// The numbers rand() gives after srand(seed); the generator is seeded again after.
inline Values RandFrom(uint32_t seed, int32_t count) {
    std::srand(seed);
    Values numbers;
    for (int32_t i = 0; i < count; i++) numbers.push_back(std::rand());
    std::srand(seed);
    return numbers;
}

// A ship afloat and at rest, appended to ships.
inline Ship* AddShip(int32_t kind, int32_t x, int32_t y, int32_t headingX = 1, int32_t headingY = 0) {
    ships.Append(new Ship{-1, 0, 0, -1, -1, 0, 30, 0, 0, 500, 1, -1, -1, 0, 0, x, y, headingX, headingY, 5, kind});
    return ships[ships.Count() - 1];
}
// Our ship, sailing: the camera on it and the sailing screen up.
inline Ship* AddPlayer(int32_t x, int32_t y) {
    player = AddShip(0, x, y);
    PlaceCamera();
    GameState = ScreenSailing;
    return player;
}

class GameTest : public ::testing::Test {
protected:
    std::string home;  // a fresh home, the score file under it

    void SetUp() override {
        FreeAudio();  // whatever an earlier test's boot loaded
        InitPalettes();
        StartHeadless();
        std::srand(1);
        frameCounter = 0, GameState = ScreenStart, welcomeShown = rippleOn = false;
        menuCursor = 0, titleTick = 64, soundTestIndex = 0, sfxOn = musicOn = true, currentMusic = -1;
        dialog = Dialog{};
        ClearWorldLists();
        std::memset(tileMap, 0, sizeof tileMap);
        std::memset(shadowMask, 0, sizeof shadowMask);
        for (auto& gull : gulls) gull.reset();
        for (auto& cloud : clouds) cloud.reset();
        overlayMode = OverlayNone, peaceful = true, hudSlide = -20, cannonballCount = 6, level = cargo = gold = 0;
        highScore = deliveries = dockProgress = popupKind = popupTimer = 0;
        FillFrame(0);
        char pattern[] = "/tmp/quillbarrow-test-XXXXXX";
        home = mkdtemp(pattern);
        saveDir = home + "/.Quillbarrow/";
        heard.clear();
        static const char* const tracks[kMusicCount] = {"music menu", "music ingame", "music danger"};
        soundStarted = [](int32_t n) { heard.push_back(kSoundNames[n]); };
        musicStarted = [](int32_t i) { heard.push_back(tracks[i]); };
        musicHalted = [] { heard.push_back("stop"); };
    }
    void TearDown() override {
        soundStarted = nullptr, musicStarted = nullptr, musicHalted = nullptr;
        ClearWorldLists();
        InitPalettes();
        std::filesystem::remove_all(home);
    }

    static void Frames(int32_t n) {
        for (int32_t i = 0; i < n; i++) RunHeadlessFrame();
    }
    // Held for a frame and let go: the last frame run is the one that acts on the release.
    static void Press(std::initializer_list<int32_t> buttons) {
        for (int32_t b : buttons) SetButtonKey(b, true);
        RunHeadlessFrame();
        for (int32_t b : buttons) SetButtonKey(b, false);
        RunHeadlessFrame();
    }
    static void Press(int32_t button) { Press({button}); }
};
