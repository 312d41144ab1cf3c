// The screens around the game: boot, credits, high score, game over, and the actions
// that move between them.
#include "flow/screens.h"
#include "flow_support.h"
#include "render/text.h"
#include "texts.h"
#include "title.h"

namespace {

// What a credit page should show: its picture opaque at (40, 10), its two lines.
void DrawCreditPage(int32_t page, int32_t upperX, int32_t lowerX) {
    ClearFrameBuffer();
    for (int32_t y = 0; y < 80; y++)
        for (int32_t c = 0; c < 80; c++)
            FrameBuffer[(10 + y) * kScreenWidth + 40 + c] = PictureColour(CreditPictures + page * 6400, 80, c, y);
    DrawText(upperX, 95, creditLines[page][0], Colour(15));
    DrawText(lowerX, 105, creditLines[page][1], Colour(15));
}

// What the game-over screen should show at frameCounter f: the wreck with the ripple
// (columns f and f - 1 a pixel up, f + 4 and f + 5 a pixel down), red left out.
void DrawGameOver(int32_t f, bool ripple, int32_t scoreX, const char* score) {
    ClearFrameBuffer();
    for (int32_t c = 0; c < 56; c++) {
        int32_t shift = 0;
        if (ripple && (c == f || c == f - 1)) shift = -1;
        if (ripple && (c == f + 4 || c == f + 5)) shift = 1;
        for (int32_t y = 0; y < 56; y++) {
            const uint16_t colour = PictureColour(GameOverFrames + (f / 15) * 3136, 56, c, y);
            if (colour != Colour(6)) FrameBuffer[(32 + y + shift) * kScreenWidth + 52 + c] = colour;
        }
    }
    DrawText(42, 10, "Game over...", Colour(15));
    DrawText(scoreX, 101, score, Colour(15));
}

TEST_F(FlowTest, BootShowsBlackThenBackgroundThenTheFirstCreditPage) {
    FillFrame(0);  // the picture before the first frame
    RunHeadlessFrame();
    for (uint16_t p : shownFrame) ASSERT_EQ(p, 0);
    EXPECT_EQ(GameState, 0);
    EXPECT_TRUE(heard.empty());
    highScore = 55;  // the boot frame reads the file, which does not exist yet
    RunHeadlessFrame();
    for (uint16_t p : shownFrame) ASSERT_EQ(p, Colour(0));
    EXPECT_EQ(GameState, 1);
    EXPECT_EQ(highScore, 0);
    EXPECT_EQ(heard, (std::vector<std::string>{"stop", "music 0"}));
    RunHeadlessFrame();
    DrawCreditPage(0, 35, 23);
    ExpectShownEqualsDrawn();
}

TEST_F(FlowTest, CreditPagesTurnOnlyWhenAIsLetGoAndEndOnPlay) {
    struct Page { int32_t state, upperX, lowerX, next; } pages[] = {{1, 35, 23, -1}, {-1, 37, 23, -2}, {-2, 36, 21, 2}};
    GameState = 1;
    menuCursor = 3;
    SetButtonKey(ButtonA, true);  // held from before the page came up
    for (const Page& page : pages) {
        Frames(30);
        DrawCreditPage(page.state == 1 ? 0 : -page.state, page.upperX, page.lowerX);
        ExpectShownEqualsDrawn();
        Press(ButtonStart);
        EXPECT_EQ(GameState, page.state);
        EXPECT_TRUE(heard.empty());
        SetButtonKey(ButtonA, false);
        RunHeadlessFrame();
        EXPECT_EQ(GameState, page.next);
        EXPECT_EQ(heard, std::vector<std::string>{"sound 1"});
        heard.clear();
        if (page.next != 2) SetButtonKey(ButtonA, true);
    }
    EXPECT_EQ(menuCursor, 0);
    // A page uses every colour of its picture, the sea blue that other pictures leave out too.
    int32_t seaBlue = 0;
    for (int32_t i = 0; i < 3200; i++) seaBlue += (CreditPictures[i] >> 4) == 2 || (CreditPictures[i] & 15) == 2;
    EXPECT_GT(seaBlue, 0);
}

TEST_F(FlowTest, HighScoreIsCentredOnItsDigitsAndAStartsAFreshGame) {
    struct Case { int32_t score, x; } cases[] = {{0, 80}, {7, 80}, {40, 77}, {-5, 77}, {1234, 70}, {2147483647, 49}};
    for (const Case& c : cases) {
        GameState = 3;
        highScore = c.score;
        RunHeadlessFrame();
        ClearFrameBuffer();
        DrawText(49, 10, "High Score", Colour(15));
        DrawText(c.x, 101, NumberText(c.score).c_str(), Colour(15));
        ExpectShownEqualsDrawn();
    }
    highScore = 0;
    RunHeadlessFrame();
    // "0" at x = 80: its first column is lit from the second row on; the H's from the first.
    EXPECT_EQ(ShownAt(80, 101), Colour(0));
    EXPECT_EQ(ShownAt(80, 102), Colour(15));
    EXPECT_EQ(ShownAt(48, 10), Colour(0));
    EXPECT_EQ(ShownAt(49, 10), Colour(15));

    gold = 99, level = 3, cargo = 5, peaceful = 0;
    Press(ButtonA);
    EXPECT_EQ(GameState, 4);
    EXPECT_EQ(gold, 0);
    EXPECT_EQ(level, 0);
    EXPECT_EQ(cargo, 0);
    EXPECT_EQ(peaceful, 1);
    EXPECT_EQ(heard.front(), "sound 1");
}

TEST_F(FlowTest, GameOverShowsTheScoreCentredOnTheNumberAndTheWreckEveryFifteenFrames) {
    struct Case { int32_t gold, x; } cases[] = {{0, 56}, {57, 52}, {-3, 52}, {1234, 45}, {100000, 38}};
    for (const Case& c : cases) {
        GameState = 6;
        gold = c.gold;
        frameCounter = 37;
        RunHeadlessFrame();
        DrawGameOver(37, false, c.x, ("Score: " + NumberText(c.gold)).c_str());
        ExpectShownEqualsDrawn();
    }
    // From the top of a cycle the wreck ripples for 120 frames, then lies still for 120.
    frameCounter = 0;
    gold = 1234;
    for (int32_t frame = 0; frame < 240; frame++) {
        RunHeadlessFrame();
        DrawGameOver(frame % 120, frame < 120, 45, "Score: 1234");
        ExpectShownEqualsDrawn();
        if (HasFailure()) FAIL() << "frame " << frame;
    }
    SaveShownFrame(TestFramePath("flow_game_over").c_str(), 3);
    currentMusic = MusicDanger;
    Press(ButtonA);
    EXPECT_EQ(GameState, 2);
    EXPECT_EQ(gold, 1234);
    EXPECT_EQ(heard, (std::vector<std::string>{"stop", "music 0", "sound 1"}));
}

TEST_F(FlowTest, DialogDoneActionsGoWhereTheyShould) {
    GameState = 4, overlayMode = 2;
    CloseDialog();
    EXPECT_EQ(GameState, 4);
    EXPECT_EQ(overlayMode, 0);
    GoToScoreScreen();
    EXPECT_EQ(GameState, 3);
    GoToMenu();
    EXPECT_EQ(GameState, 2);
    EXPECT_TRUE(heard.empty());
    currentMusic = MusicInGame;
    BackToMenu();
    EXPECT_EQ(GameState, 2);
    EXPECT_EQ(heard, (std::vector<std::string>{"stop", "music 0"}));

    heard.clear();
    ships.Append(new Ship{}), ports.Append(new Port{}), cannonballs.Append(new Cannonball{});
    barrels.Append(new Barrel{}), whirlpools.Append(new Whirlpool{});
    EnterGameOver();
    EXPECT_EQ(GameState, 6);
    EXPECT_EQ(ships.Count() + ports.Count() + cannonballs.Count() + barrels.Count() + whirlpools.Count(), 0);
    EXPECT_EQ(heard, std::vector<std::string>{"sound 6"});

    // Only the welcome screen marks the welcome as seen.
    for (int32_t state : {5, 7, 11}) {
        GameState = state;
        RunHeadlessFrame();
        EXPECT_EQ(welcomeShown, state == 11 ? 1 : 0);
    }
}

}  // namespace
