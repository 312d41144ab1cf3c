// Small helpers shared by the tests.
#pragma once
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "flow/gamestate.h"
#include "harness/headless.h"
#include "platform/audio.h"
#include "platform/frame.h"

inline uint16_t Colour(int index) { return static_cast<uint16_t>(Palette[index]); }

inline void FillFrame(uint16_t colour) {
    for (uint16_t& p : FrameBuffer) p = colour;
}

inline uint16_t At(int32_t x, int32_t y) { return FrameBuffer[y * kScreenWidth + x]; }
inline uint16_t ShownAt(int32_t x, int32_t y) { return shownFrame[y * kScreenWidth + x]; }

// Where a test may leave pictures of what it saw: build/test-frames.
inline std::string TestFramePath(const std::string& name) {
    return std::string(TEST_FRAME_DIR) + "/" + name + ".png";
}

// Palettes filled, buttons scripted and released, frame counter at 0, buffer black,
// and the game at its first frame (which draws nothing).
class GameTest : public ::testing::Test {
protected:
    void SetUp() override {
        FreeAudio();  // whatever an earlier test's boot loaded
        InitPalettes();
        StartHeadless();
        frameCounter = 0;
        GameState = ScreenStart;
        FillFrame(0);
    }
};
