// The title menu run through whole frames of the game with scripted buttons.
#include "flow_support.h"
#include "render/dialog.h"
#include "render/text.h"
#include "texts.h"
#include "title.h"

namespace {

class MenuTest : public FlowTest {
protected:
    void SetUp() override {
        FlowTest::SetUp();
        GameState = 2;
        frameCounter = 1;  // away from the top of the cycle, where the ripple switches
    }
    std::vector<std::string> Heard() {
        std::vector<std::string> was = heard;
        heard.clear();
        return was;
    }
    // Compares the shown rectangle with the FrameBuffer, where the test drew it.
    void ExpectRegion(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
        int32_t wrong = 0;
        for (int32_t y = y0; y < y1; y++)
            for (int32_t x = x0; x < x1; x++) wrong += ShownAt(x, y) != At(x, y);
        EXPECT_EQ(wrong, 0) << "in (" << x0 << ", " << y0 << ") - (" << x1 << ", " << y1 << ")";
        ClearFrameBuffer();
    }
};

TEST_F(MenuTest, CursorStopsSilentlyAtBothEndsAndUpIsReadBeforeDown) {
    Press(ButtonUp);
    EXPECT_EQ(menuCursor, 0);
    EXPECT_TRUE(Heard().empty());
    for (int32_t i = 0; i < 5; i++) Press(ButtonDown);
    EXPECT_EQ(menuCursor, 4);
    EXPECT_EQ(Heard(), std::vector<std::string>(4, "sound 0"));
    Press(ButtonUp);
    EXPECT_EQ(menuCursor, 3);
    EXPECT_EQ(Heard(), std::vector<std::string>{"sound 0"});
    // Up and Down let go together on Play: Up stays silently, then Down moves.
    menuCursor = 0;
    SetButtonKey(ButtonUp, true), SetButtonKey(ButtonDown, true);
    RunHeadlessFrame();
    SetButtonKey(ButtonUp, false), SetButtonKey(ButtonDown, false);
    RunHeadlessFrame();
    EXPECT_EQ(menuCursor, 1);
    EXPECT_EQ(Heard(), std::vector<std::string>{"sound 0"});
    // Down and A together on Credits: the cursor moves first, so A switches the music.
    menuCursor = 2;
    SetButtonKey(ButtonDown, true), SetButtonKey(ButtonA, true);
    RunHeadlessFrame();
    SetButtonKey(ButtonDown, false), SetButtonKey(ButtonA, false);
    RunHeadlessFrame();
    EXPECT_EQ(GameState, 2);
    EXPECT_EQ(musicOn, 0);
}

TEST_F(MenuTest, EntriesWheelAndLoudspeakerStandWhereTheyShould) {
    for (int32_t k = 0; k < 5; k++) {
        for (int32_t on = 0; on < 2; on++) {
            menuCursor = k, musicOn = on, sfxOn = on;
            frameCounter = on == 0 ? 70 : 71;  // the wheel glints from frame 71
            RunHeadlessFrame();
            // Right of the wheel: the labels, the chosen one 3 pixels further right, and the
            // mark of the switch under the cursor.
            for (int32_t i = 0; i < 5; i++) DrawText(i == k ? 48 : 45, 63 + 11 * i, menuLabels[i], Colour(15));
            if (k >= 3) {
                const uint8_t* mark = on == 1 ? SoundOnMark : SoundOffMark;
                const int32_t x = k == 3 ? 81 : 69, y = k == 3 ? 96 : 107;
                for (int32_t c = 0; c < 8; c++)
                    for (int32_t b = 0; b < 8; b++)
                        if (mark[c] >> b & 1) FrameBuffer[(y + b) * kScreenWidth + x + c] = Colour(15);
            }
            ExpectRegion(48, 63, kScreenWidth, kScreenHeight);
            // The wheel, left of every label.
            for (int32_t y = 0; y < 16; y++)
                for (int32_t c = 0; c < 13; c++) {
                    const uint16_t colour = PictureColour(MenuCursorFrames + on * 256, 16, c, y);
                    if (colour != Colour(2)) FrameBuffer[(60 + 11 * k + y) * kScreenWidth + 32 + c] = colour;
                }
            ExpectRegion(32, 60 + 11 * k, 45, 76 + 11 * k);
        }
    }
    SaveShownFrame(TestFramePath("menu_sfx_on").c_str(), 3);
}

TEST_F(MenuTest, LogoLoopsStripAThreeTimesThenPlaysTheFlourish) {
    // Menu frame n draws titleTick 64 + n, which wraps at 128.
    struct Step { int32_t frame; const uint8_t* strip; int32_t picture; } steps[] = {
        {1, LogoStripA, 0}, {2, LogoStripA, 1}, {3, LogoStripA, 1}, {32, LogoStripA, 0}, {33, LogoStripB, 0},
        {34, LogoStripB, 1}, {63, LogoStripB, 15}, {64, LogoStripA, 0}, {65, LogoStripA, 0}, {66, LogoStripA, 1}};
    int32_t frame = 0;
    menuCursor = 4;  // the wheel out of the logo's way
    for (const Step& step : steps) {
        Frames(step.frame - frame);
        frame = step.frame;
        for (int32_t y = 0; y < 60; y++)
            for (int32_t c = 0; c < 120; c++) {
                const uint16_t colour = PictureColour(step.strip + step.picture * 7200, 120, c, y);
                if (colour != Colour(2)) FrameBuffer[(2 + y) * kScreenWidth + 20 + c] = colour;
            }
        ExpectRegion(0, 0, kScreenWidth, 63);
        if (HasFailure()) FAIL() << "menu frame " << step.frame;
    }
}

TEST_F(MenuTest, RightPlaysEverySoundInTurnThenStartsAgain) {
    std::vector<std::string> want;
    for (int32_t n = 0; n < 13; n++) {
        Press(ButtonRight);
        want.push_back("sound " + std::to_string(n % 12));
    }
    EXPECT_EQ(Heard(), want);
    sfxOn = 0;
    Press(ButtonRight);
    Press(ButtonRight);
    sfxOn = 1;
    Press(ButtonRight);
    EXPECT_EQ(Heard(), std::vector<std::string>{"sound 3"});
}

TEST_F(MenuTest, MusicAndSfxSwitchesAndTheirClick) {
    menuCursor = 3;
    currentMusic = MusicMenu;
    Press(ButtonA);
    EXPECT_EQ(musicOn, 0);
    EXPECT_EQ(currentMusic, -1);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"stop", "sound 1"}));
    Press(ButtonA);
    EXPECT_EQ(musicOn, 1);
    EXPECT_EQ(currentMusic, MusicMenu);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"stop", "music 0", "sound 1"}));
    menuCursor = 4;
    Press(ButtonA);  // effects off: no click
    EXPECT_EQ(sfxOn, 0);
    EXPECT_TRUE(Heard().empty());
    Press(ButtonA);  // effects on: the click is heard
    EXPECT_EQ(sfxOn, 1);
    EXPECT_EQ(Heard(), std::vector<std::string>{"sound 1"});
}

TEST_F(MenuTest, WelcomeComesOnceBeforeTheFirstGameOfAPlayerWithoutAScore) {
    struct Case { int32_t score, shown, state; } cases[] = {{0, 0, 11}, {0, 1, 3}, {5, 0, 3}, {-2, 0, 3}};
    for (const Case& c : cases) {
        GameState = 2, menuCursor = 0, highScore = c.score, welcomeShown = c.shown, dialogDone = nullptr;
        Press(ButtonA);
        EXPECT_EQ(GameState, c.state) << c.score << " " << c.shown;
        if (c.state == 11) {
            EXPECT_EQ(dialogDone, GoToScoreScreen);
            EXPECT_EQ(dialogText, welcomeText);
            EXPECT_EQ(dialogPortrait, 1);
        }
    }
    // Instructions show the welcome and mark it seen, so Play goes straight to the score.
    GameState = 2, menuCursor = 1, highScore = 0, welcomeShown = 0;
    Press(ButtonA);
    EXPECT_EQ(GameState, 11);
    EXPECT_EQ(dialogDone, GoToMenu);
    RunHeadlessFrame();
    EXPECT_EQ(welcomeShown, 1);
    GameState = 2, menuCursor = 0;
    Press(ButtonA);
    EXPECT_EQ(GameState, 3);
    GameState = 2, menuCursor = 2;
    Press(ButtonA);
    EXPECT_EQ(GameState, 1);
}

}  // namespace
