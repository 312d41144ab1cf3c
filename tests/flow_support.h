// A fresh game for the flow tests: every flow global at its start value, the score file
// in a new temporary home, and every sound and track that starts written down.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "flow/gamestate.h"
#include "flow/highscore.h"
#include "flow/menu.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "test_support.h"
#include "world/world.h"

inline std::vector<std::string> heard;  // "sound 1", "music 0", "stop"
inline std::vector<std::string> Heard() { return std::exchange(heard, {}); }

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

class FlowTest : public GameTest {
protected:
    std::string home;

    void SetUp() override {
        GameTest::SetUp();
        ClearFrameBuffer();  // as after any frame but the very first
        GameState = ScreenStart, welcomeShown = 0, rippleOn = 0, menuCursor = 0, titleTick = 64, soundTestIndex = 0;
        sfxOn = 1, musicOn = 1, currentMusic = -1, highScore = 0, gold = 0, overlayMode = OverlayNone;
        char pattern[] = "/tmp/quillbarrow-test-XXXXXX";
        home = mkdtemp(pattern);
        saveDir = home + "/.Quillbarrow/";
        heard.clear();
        soundStarted = [](int32_t n) { heard.push_back("sound " + std::to_string(n)); };
        musicStarted = [](int32_t i) { heard.push_back("music " + std::to_string(i)); };
        musicHalted = [] { heard.push_back("stop"); };
    }
    void TearDown() override {
        soundStarted = nullptr, musicStarted = nullptr, musicHalted = nullptr;
        std::filesystem::remove_all(home);
    }
    void Frames(int32_t n) {
        for (int32_t i = 0; i < n; i++) RunHeadlessFrame();
    }
    // Press and let go; the last frame run is the one that acts on the release.
    void Press(int32_t button) {
        SetButtonKey(button, true);
        RunHeadlessFrame();
        SetButtonKey(button, false);
        RunHeadlessFrame();
    }
    // The last frame shown equals the FrameBuffer, where the test drew what it expects
    // on a cleared background; then the FrameBuffer is cleared for the next frame.
    void ExpectShown() {
        int32_t wrong = 0;
        for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++) wrong += shownFrame[i] != FrameBuffer[i];
        EXPECT_EQ(wrong, 0);
        ClearFrameBuffer();
    }
};
