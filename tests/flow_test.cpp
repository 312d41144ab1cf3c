// The screens around the game: boot, credits, high score, game over, and the actions
// that move between them.
#include "render/text.h"
#include "test_support.h"
#include "texts.h"
#include "title.h"

namespace {

using FlowTest = GameTest;

TEST_F(FlowTest, BootShowsBlackThenBackgroundThenTheFirstCreditPage) {
    Frames(1);
    EXPECT_EQ(Shown(), Picture(160 * 120, 0));  // the picture before the first frame
    EXPECT_EQ(Heard(), std::vector<std::string>{});
    highScore = 55;  // the boot frame reads the file, which does not exist yet
    Frames(1);
    EXPECT_EQ(Shown(), Picture(160 * 120, Colour(0)));
    EXPECT_EQ(Values({highScore, GameState}), Values({0, ScreenCredits}));
    EXPECT_EQ(Heard(), (std::vector<std::string>{"stop", "music menu"}));
    Frames(1);
    EXPECT_EQ(ShownAt(40, 10), Colour(CreditPictures[0] >> 4));  // the first credit page
}

TEST_F(FlowTest, CreditPagesTurnOnlyWhenAIsLetGoAndEndOnPlay) {
    struct Page { Screen state; int32_t upperX, lowerX; Screen next; } pages[] = {
        {ScreenCredits, 35, 23, ScreenCreditsArt}, {ScreenCreditsArt, 37, 23, ScreenCreditsMusic},
        {ScreenCreditsMusic, 36, 21, ScreenMenu}};
    GameState = ScreenCredits, menuCursor = 3;
    ClearFrameBuffer();
    for (int32_t page = 0; page < 3; page++) {
        SetButtonKey(ButtonA, true);  // held from before the page came up
        Frames(30);
        DrawExpected(CreditPictures + page * 6400, 80, 80, 40, 10, -1, -10);  // sea blue drawn too
        DrawText(pages[page].upperX, 95, creditLines[page][0], Colour(15));
        DrawText(pages[page].lowerX, 105, creditLines[page][1], Colour(15));
        EXPECT_EQ(ShownDiffers(), "") << page;
        Press(ButtonStart);
        EXPECT_EQ(GameState, pages[page].state);
        EXPECT_EQ(Heard(), std::vector<std::string>{});
        SetButtonKey(ButtonA, false);
        Frames(1);
        EXPECT_EQ(GameState, pages[page].next);
        EXPECT_EQ(Heard(), std::vector<std::string>{"click"});
        ClearFrameBuffer();
    }
    EXPECT_EQ(menuCursor, 0);
}

TEST_F(FlowTest, HighScoreIsCentredOnItsDigitsAndAStartsAFreshGame) {
    struct Case { int32_t score, x; } cases[] = {{0, 80}, {40, 77}, {-5, 77}, {1234, 70}, {2147483647, 49}};
    ClearFrameBuffer();
    for (const Case& c : cases) {
        GameState = ScreenHighScore, highScore = c.score;
        Frames(1);
        DrawText(49, 10, "High Score", Colour(15));
        DrawText(c.x, 101, NumberText(c.score).c_str(), Colour(15));
        EXPECT_EQ(ShownDiffers(), "") << c.score;
    }
    gold = 99, level = 3, cargo = 5, peaceful = false;
    Press(ButtonA);
    EXPECT_EQ(Values({GameState, gold, level, cargo, peaceful}), Values({ScreenSailing, 0, 0, 0, 1}));
    EXPECT_EQ(Heard().front(), "click");
}

TEST_F(FlowTest, GameOverCentresTheScoreOnItsNumberAndTheWreckRipplesEveryOtherCycle) {
    struct Case { int32_t gold, x; } cases[] = {{0, 56}, {57, 52}, {-3, 52}, {1234, 45}, {100000, 38}};
    GameState = ScreenGameOver;
    ClearFrameBuffer();
    for (int32_t frame = 0; frame < 240; frame++) {  // rippling for 120 frames, still for 120
        const Case& c = cases[frame % 5];
        gold = c.gold;
        Frames(1);
        const int32_t f = frame % 120;
        DrawExpected(GameOverFrames + (f / 15) * 3136, 56, 56, 52, 32, 6, frame < 120 ? f : -10);
        DrawText(42, 10, "Game over...", Colour(15));
        DrawText(c.x, 101, ("Score: " + NumberText(c.gold)).c_str(), Colour(15));
        ASSERT_EQ(ShownDiffers(), "") << "frame " << frame;
    }
    SaveShownFrame(TestFramePath("flow_game_over").c_str(), 3);
    currentMusic = MusicDanger;
    Press(ButtonA);
    EXPECT_EQ(Values({GameState, gold}), Values({ScreenMenu, 100000}));  // the gold stays until a new game
    EXPECT_EQ(Heard(), (std::vector<std::string>{"stop", "music menu", "click"}));
}

}  // namespace
