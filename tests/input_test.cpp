// Buttons: the keyboard and joystick latches and when a release is reported.
#include "platform/input.h"
#include "test_support.h"

namespace {

class InputTest : public GameTest {
protected:
    // What the screens see in a frame (they run before sampling), then the sampling.
    bool ReleasedThisFrame(int32_t button) {
        bool released = wasReleased(button);
        SampleButtons();
        return released;
    }
};

TEST_F(InputTest, KeyReleaseIsReportedOnceInTheFrameThatSeesTheKeyUp) {
    std::vector<bool> seen;
    SetButtonKey(ButtonA, true);
    for (int i = 0; i < 30; i++) {
        EXPECT_TRUE(isHeld(ButtonA));
        seen.push_back(ReleasedThisFrame(ButtonA));
    }
    SetButtonKey(ButtonA, false);
    EXPECT_FALSE(isHeld(ButtonA));
    for (int i = 0; i < 5; i++) seen.push_back(ReleasedThisFrame(ButtonA));
    std::vector<bool> want(35, false);
    want[30] = true;
    EXPECT_EQ(seen, want);
}

TEST_F(InputTest, KeyPressedAndReleasedBetweenSamplingsIsNeverSeen) {
    SetButtonKey(ButtonStart, true);
    SetButtonKey(ButtonStart, false);  // both events drained in the same frame
    for (int i = 0; i < 3; i++) EXPECT_FALSE(ReleasedThisFrame(ButtonStart));
}

TEST_F(InputTest, JoystickReleaseComesOneFrameAfterTheSamplingThatSawIt) {
    SetPadConnected(true);
    SetPadButton(2, true);  // pad button 2 is A
    std::vector<bool> released;
    std::vector<bool> held;
    for (int frame = 0; frame < 8; frame++) {
        if (frame == 4) SetPadButton(2, false);
        held.push_back(isHeld(ButtonA));
        released.push_back(ReleasedThisFrame(ButtonA));
    }
    // Frame 0 runs before any sampling saw the pad; frame 4's sampling sees it up.
    EXPECT_EQ(held, (std::vector<bool>{false, true, true, true, true, false, false, false}));
    EXPECT_EQ(released, (std::vector<bool>{false, false, false, false, false, true, false, false}));
}

TEST_F(InputTest, KeyAndPadButtonOfOneButtonLetGoTogetherReportOneRelease) {
    SetPadConnected(true);
    SetButtonKey(ButtonB, true);
    SetPadButton(1, true);
    int releases = 0;
    for (int frame = 0; frame < 10; frame++) {
        if (frame == 5) {
            SetButtonKey(ButtonB, false);
            SetPadButton(1, false);
        }
        releases += ReleasedThisFrame(ButtonB);
    }
    EXPECT_EQ(releases, 1);
}

TEST_F(InputTest, EveryPadButtonFeedsItsOwnButtonOrNone) {
    SetPadConnected(true);
    // Pad button -> logical button (-1: none).
    const int32_t map[12] = {-1, ButtonB, ButtonA, -1, -1, -1, ButtonDown, ButtonLeft, ButtonUp, ButtonRight, -1, ButtonStart};
    for (int32_t b = 0; b < 12; b++) {
        SCOPED_TRACE(b);
        StartHeadless();
        SetPadConnected(true);
        SetPadButton(b, true);
        SampleButtons();
        SetPadButton(b, false);
        SampleButtons();
        for (int32_t k = 0; k < 12; k++) {
            EXPECT_EQ(wasReleased(k), k == map[b]) << "button " << k;
        }
    }
    // Without a pad the pad's buttons are never read.
    StartHeadless();
    SetPadButton(2, true);
    SampleButtons();
    EXPECT_FALSE(isHeld(ButtonA));
}

TEST_F(InputTest, KeysOfTheKeyMap) {
    // Left Ctrl, left Alt, the arrows and Return feed A, B, the d-pad and Start.
    const int32_t keys[][2] = {{306, ButtonA}, {308, ButtonB}, {274, ButtonDown}, {273, ButtonUp},
                               {276, ButtonLeft}, {275, ButtonRight}, {13, ButtonStart}};
    for (const auto& key : keys) {
        StartHeadless();
        SetKey(key[0], true);
        for (int32_t k = 0; k < 12; k++) EXPECT_EQ(isHeld(k), k == key[1]) << key[0] << " " << k;
    }
}

}  // namespace
