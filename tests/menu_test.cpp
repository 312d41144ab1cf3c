// The title menu run through whole frames of the game with scripted buttons.
#include "render/text.h"
#include "test_support.h"
#include "texts.h"
#include "title.h"

namespace {

class MenuTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        GameState = ScreenMenu;
        frameCounter = 1;  // away from the top of the cycle, where the ripple switches
        ClearFrameBuffer();
    }
};

TEST_F(MenuTest, CursorStopsSilentlyAtBothEndsAndMovesBeforeAChooses) {
    Press(ButtonUp);
    EXPECT_EQ(menuCursor, 0);
    for (int32_t i = 0; i < 5; i++) Press(ButtonDown);
    EXPECT_EQ(menuCursor, 4);
    Press(ButtonUp);
    EXPECT_EQ(menuCursor, 3);
    EXPECT_EQ(Heard(), std::vector<std::string>(5, "beep"));
    menuCursor = 0;
    Press({ButtonUp, ButtonDown});  // Up first stays silently on Play, then Down
    EXPECT_EQ(menuCursor, 1);
    EXPECT_EQ(Heard(), std::vector<std::string>{"beep"});
    menuCursor = 2;
    Press({ButtonDown, ButtonA});  // A chooses Music, not Credits
    EXPECT_EQ(Values({GameState, musicOn}), Values({ScreenMenu, false}));
}

TEST_F(MenuTest, LogoEntriesWheelAndLoudspeakerStandWhereTheyShould) {
    // Menu frame n draws the logo at titleTick 64 + n: strip A's pictures for two ticks
    // each, strip B from tick 97, strip A again from tick 0 (frame 64).
    struct Step { int32_t frame; const uint8_t* strip; int32_t picture; } steps[] = {
        {1, LogoStripA, 0}, {2, LogoStripA, 1}, {32, LogoStripA, 0}, {33, LogoStripB, 0},
        {63, LogoStripB, 15}, {64, LogoStripA, 0}, {66, LogoStripA, 1}};
    int32_t frame = 0;
    for (const Step& step : steps) {
        const int32_t k = step.frame % 5, on = step.frame % 2;
        menuCursor = k, musicOn = on, sfxOn = on;
        frameCounter = 72 - on - (step.frame - frame);  // the last frame run is 70 or 71,
        Frames(step.frame - frame);                     // where the wheel starts to glint
        frame = step.frame;
        DrawExpected(step.strip + step.picture * 7200, 120, 60, 20, 2, 2, -10);
        for (int32_t i = 0; i < 5; i++) DrawText(i == k ? 48 : 45, 63 + 11 * i, menuLabels[i], Colour(15));
        DrawExpected(MenuCursorFrames + (1 - on) * 256, 16, 16, 32, 60 + 11 * k, 2, -10);
        const uint8_t* mark = on == 1 ? SoundOnMark : SoundOffMark;
        for (int32_t c = 0; k >= 3 && c < 8; c++)  // only the switch under the cursor
            for (int32_t b = 0; b < 8; b++)
                if (mark[c] >> b & 1) FrameBuffer[(k == 3 ? 96 + b : 107 + b) * kScreenWidth + (k == 3 ? 81 : 69) + c] = Colour(15);
        ASSERT_EQ(ShownDiffers(), "") << "menu frame " << step.frame;
    }
    SaveShownFrame(TestFramePath("menu_music_off").c_str(), 3);
}

TEST_F(MenuTest, SwitchesClickOnlyWhenEffectsAreOnAfterwardsAndRightTestsEverySound) {
    menuCursor = 3, currentMusic = MusicMenu;
    Press(ButtonA);
    EXPECT_EQ(Values({musicOn, currentMusic}), Values({false, -1}));
    Press(ButtonA);  // the menu track from its beginning
    EXPECT_EQ(Values({musicOn, currentMusic}), Values({true, MusicMenu}));
    menuCursor = 4;
    Press(ButtonA);
    EXPECT_EQ(sfxOn, 0);
    for (int32_t n = 0; n < 2; n++) Press(ButtonRight);  // unheard, but counted
    Press(ButtonA);
    std::vector<std::string> want = {"stop", "click", "stop", "music menu", "click", "click"};
    for (int32_t n = 2; n < 15; n++) Press(ButtonRight), want.push_back(kSoundNames[n % 12]);  // then the first again
    EXPECT_EQ(Heard(), want);
}

TEST_F(MenuTest, WelcomeComesOnceBeforeTheFirstGameOfAPlayerWithoutAScore) {
    struct Case { int32_t cursor, score, shown; Screen state; void (*done)(); } cases[] = {
        {0, 0, 0, ScreenWelcome, GoToScoreScreen}, {0, 0, 1, ScreenHighScore, nullptr},
        {0, 5, 0, ScreenHighScore, nullptr},       {0, -2, 0, ScreenHighScore, nullptr},
        {1, 7, 1, ScreenWelcome, GoToMenu},        {2, 0, 0, ScreenCredits, nullptr}};
    for (const Case& c : cases) {
        GameState = ScreenMenu, menuCursor = c.cursor, highScore = c.score, welcomeShown = c.shown;
        dialog.done = nullptr;
        Press(ButtonA);
        EXPECT_EQ(GameState, c.state) << c.cursor << " " << c.score << " " << c.shown;
        EXPECT_EQ(dialog.done, c.done);
        if (c.done != nullptr) {
            EXPECT_TRUE(dialog.text == welcomeText && dialog.portrait == 1);
        }
    }
    // Instructions mark the welcome seen, so Play goes straight to the score.
    GameState = ScreenMenu, menuCursor = 1, highScore = 0, welcomeShown = 0;
    Press(ButtonA);
    Frames(1);
    GameState = ScreenMenu, menuCursor = 0;
    Press(ButtonA);
    EXPECT_EQ(GameState, ScreenHighScore);
}

}  // namespace
