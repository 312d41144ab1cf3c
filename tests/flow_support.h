// A fresh game for the flow tests: every flow global at its start value, the score file
// in a new temporary home, and every sound and track that starts written down.
#pragma once
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "flow/dispatch.h"
#include "flow/highscore.h"
#include "flow/menu.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "test_support.h"
#include "world/world.h"

inline std::vector<std::string> heard;  // "sound 1", "music 0", "stop"
inline void HearSound(int32_t n) { heard.push_back("sound " + std::to_string(n)); }
inline void HearMusic(int32_t i) { heard.push_back("music " + std::to_string(i)); }
inline void HearStop() { heard.push_back("stop"); }

// The Palette colour of pixel (c, y) of a packed picture w pixels wide.
inline uint16_t PictureColour(const uint8_t* data, int32_t w, int32_t c, int32_t y) {
    const uint8_t pair = data[(y / 2) * w + c];
    return Colour(y % 2 == 0 ? pair >> 4 : pair & 15);
}

class FlowTest : public GameTest {
protected:
    std::string home;

    void SetUp() override {
        GameTest::SetUp();
        ClearFrameBuffer();  // as after any frame but the very first
        GameState = 100, welcomeShown = 0, rippleOn = 0, menuCursor = 0, titleTick = 64, soundTestIndex = 0;
        sfxOn = 1, musicOn = 1, currentMusic = -1, highScore = 0, gold = 0, overlayMode = 0;
        char pattern[] = "/tmp/quillbarrow-test-XXXXXX";
        home = mkdtemp(pattern);
        saveDir = home + "/.Quillbarrow/";
        heard.clear();
        soundStarted = HearSound, musicStarted = HearMusic, musicHalted = HearStop;
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
    // Every pixel of the last frame shown equals the FrameBuffer, where the test drew
    // what it expects on a cleared background; then clears it for the next frame.
    void ExpectShownEqualsDrawn() {
        int32_t wrong = 0;
        for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++) wrong += shownFrame[i] != FrameBuffer[i];
        EXPECT_EQ(wrong, 0);
        ClearFrameBuffer();
    }
};
