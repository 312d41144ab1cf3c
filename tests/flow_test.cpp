// The screens around the game: boot, credits, high score, game over, and the actions
// that move between them.
#include "flow_support.h"
#include "render/text.h"
#include "texts.h"
#include "title.h"

namespace {

void DrawCreditPage(int32_t page, int32_t upperX, int32_t lowerX) {
    DrawExpected(CreditPictures + page * 6400, 80, 80, 40, 10, -1, -10);  // sea blue drawn too
    DrawText(upperX, 95, creditLines[page][0], Colour(15));
    DrawText(lowerX, 105, creditLines[page][1], Colour(15));
}

TEST_F(FlowTest, BootShowsBlackThenBackgroundThenTheFirstCreditPage) {
    FillFrame(0);  // the picture before the first frame
    RunHeadlessFrame();
    for (uint16_t p : shownFrame) ASSERT_EQ(p, 0);
    EXPECT_TRUE(heard.empty());
    highScore = 55;  // the boot frame reads the file, which does not exist yet
    RunHeadlessFrame();
    for (uint16_t p : shownFrame) ASSERT_EQ(p, Colour(0));
    EXPECT_EQ(highScore, 0);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"stop", "music 0"}));
    RunHeadlessFrame();
    EXPECT_EQ(ShownAt(40, 10), Colour(CreditPictures[0] >> 4));  // the first credit page
}

TEST_F(FlowTest, CreditPagesTurnOnlyWhenAIsLetGoAndEndOnPlay) {
    struct Page { Screen state; int32_t picture, upperX, lowerX; Screen next; } pages[] = {
        {ScreenCredits, 0, 35, 23, ScreenCreditsArt},
        {ScreenCreditsArt, 1, 37, 23, ScreenCreditsMusic},
        {ScreenCreditsMusic, 2, 36, 21, ScreenMenu}};
    GameState = ScreenCredits, menuCursor = 3;
    for (const Page& page : pages) {
        SetButtonKey(ButtonA, true);  // held from before the page came up
        Frames(30);
        DrawCreditPage(page.picture, page.upperX, page.lowerX);
        ExpectShown();
        Press(ButtonStart);
        EXPECT_EQ(GameState, page.state);
        EXPECT_TRUE(heard.empty());
        SetButtonKey(ButtonA, false);
        RunHeadlessFrame();
        EXPECT_EQ(GameState, page.next);
        EXPECT_EQ(Heard(), std::vector<std::string>{"sound 1"});
    }
    EXPECT_EQ(menuCursor, 0);
}

TEST_F(FlowTest, HighScoreIsCentredOnItsDigitsAndAStartsAFreshGame) {
    struct Case { int32_t score, x; } cases[] = {{0, 80}, {40, 77}, {-5, 77}, {1234, 70}, {2147483647, 49}};
    for (const Case& c : cases) {
        GameState = ScreenHighScore, highScore = c.score;
        RunHeadlessFrame();
        DrawText(49, 10, "High Score", Colour(15));
        DrawText(c.x, 101, NumberText(c.score).c_str(), Colour(15));
        ExpectShown();
    }
    gold = 99, level = 3, cargo = 5, peaceful = 0;
    Press(ButtonA);
    EXPECT_EQ(std::vector<int32_t>({GameState, gold, level, cargo, peaceful}),
              std::vector<int32_t>({ScreenSailing, 0, 0, 0, 1}));
    EXPECT_EQ(heard.front(), "sound 1");
}

TEST_F(FlowTest, GameOverCentresTheScoreOnItsNumberAndTheWreckRipplesEveryOtherCycle) {
    struct Case { int32_t gold, x; } cases[] = {{0, 56}, {57, 52}, {-3, 52}, {1234, 45}, {100000, 38}};
    GameState = ScreenGameOver, frameCounter = 0;
    for (int32_t frame = 0; frame < 240; frame++) {  // rippling for 120 frames, still for 120
        const Case& c = cases[frame % 5];
        gold = c.gold;
        RunHeadlessFrame();
        const int32_t f = frame % 120;
        DrawExpected(GameOverFrames + (f / 15) * 3136, 56, 56, 52, 32, 6, frame < 120 ? f : -10);
        DrawText(42, 10, "Game over...", Colour(15));
        DrawText(c.x, 101, ("Score: " + NumberText(c.gold)).c_str(), Colour(15));
        ExpectShown();
        if (HasFailure()) FAIL() << "frame " << frame;
    }
    SaveShownFrame(TestFramePath("flow_game_over").c_str(), 3);
    currentMusic = MusicDanger;
    Press(ButtonA);
    EXPECT_EQ(GameState * 1000000 + gold, ScreenMenu * 1000000 + 100000);  // the gold stays until a new game
    EXPECT_EQ(Heard(), (std::vector<std::string>{"stop", "music 0", "sound 1"}));
}

}  // namespace
