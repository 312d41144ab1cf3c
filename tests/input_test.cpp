// Buttons: the keys and pad buttons of each, the keyboard and joystick latches, and when a
// release is reported.
#include "test_support.h"

namespace {

using InputTest = GameTest;

// What the screens see of a button in each frame (they run before sampling), frame by
// frame: 'h' held, 'r' let go (reported once), '.' nothing; keys and pad scripted per frame.
std::string Seen(int32_t button, const std::string& key, const std::string& pad, int32_t padButton) {
    std::string seen;
    for (size_t frame = 0; frame < key.size(); frame++) {
        SetButtonKey(button, key[frame] == '#');
        SetPadButton(padButton, pad[frame] == '#');
        seen += wasReleased(button) ? 'r' : isHeld(button) ? 'h' : '.';
        SampleButtons();
    }
    return seen;
}

TEST_F(InputTest, AReleaseIsReportedOnceAKeyInTheFrameThatSeesItUpAPadInTheNext) {
    struct Case { const char *key, *pad, *seen; } cases[] = {
        {"####......", "..........", "hhhhr....."},  // held for frames: nothing until let go, then once
        {"..........", "####......", ".hhhhr...."},  // the pad's sampling is a frame behind
        {"#####.....", "#####.....", "hhhhhhr..."},  // key and pad of one button let go: one release
    };
    for (const Case& c : cases) {
        StartHeadless(), SetPadConnected(true);
        EXPECT_EQ(Seen(ButtonA, c.key, c.pad, 2), c.seen) << c.key << " " << c.pad;
    }
    // A key pressed and released between two samplings is never seen.
    StartHeadless();
    SetButtonKey(ButtonStart, true), SetButtonKey(ButtonStart, false);
    EXPECT_EQ(Seen(ButtonStart, "...", "...", 11), "...");
}

TEST_F(InputTest, EveryKeyAndPadButtonFeedsItsOwnButtonOrNone) {
    // Left Ctrl, left Alt, the arrows and Return feed A, B, the d-pad and Start.
    const int32_t keys[][2] = {{306, ButtonA}, {308, ButtonB}, {274, ButtonDown}, {273, ButtonUp},
                               {276, ButtonLeft}, {275, ButtonRight}, {13, ButtonStart}};
    for (const auto& key : keys) {
        StartHeadless();
        SetKey(key[0], true);
        for (int32_t k = 0; k < 12; k++) EXPECT_EQ(isHeld(k), k == key[1]) << key[0] << " " << k;
    }
    // Pad button -> logical button (-1: none).
    const int32_t map[12] = {-1, ButtonB, ButtonA, -1, -1, -1, ButtonDown, ButtonLeft, ButtonUp, ButtonRight, -1, ButtonStart};
    for (int32_t b = 0; b < 12; b++) {
        StartHeadless();
        SetPadConnected(true);
        SetPadButton(b, true);
        SampleButtons();
        for (int32_t k = 0; k < 12; k++) EXPECT_EQ(isHeld(k), k == map[b]) << "pad " << b << ", button " << k;
        SetPadButton(b, false);
        SampleButtons();
        for (int32_t k = 0; k < 12; k++) EXPECT_EQ(wasReleased(k), k == map[b]) << "pad " << b << ", button " << k;
    }
    // A pad pulled out lets go of what it held; without a pad its buttons are never read.
    SetPadButton(2, true);
    SampleButtons();
    SetPadConnected(false);
    SampleButtons();
    EXPECT_FALSE(isHeld(ButtonA));
    SampleButtons();
    EXPECT_FALSE(isHeld(ButtonA));
}

}  // namespace
