// The player's broadsides under scripted buttons, and the two ends of a game played
// through the real loop: a new best saved and announced, or a last word over the frozen
// sea and the game-over screen. (Where a ball strikes a pirate is shown with the pirates.)
#include "test_support.h"
#include "texts.h"

namespace {

using BroadsideTest = GameTest;

TEST_F(BroadsideTest, ABroadsideGoesOffWhenLetGoToTheSideOfItsButton) {
    Ship* us = AddPlayer(100, 200);
    struct Case { int32_t headingX, headingY, button, vx, vy; } cases[] = {
        {1, 0, ButtonA, 0, 1},    {1, 0, ButtonB, 0, -1}, {-1, -1, ButtonA, 1, -1},
        {-1, -1, ButtonB, -1, 1}, {0, 1, ButtonA, -1, 0}, {0, 1, ButtonB, 1, 0}};
    for (const Case& c : cases) {
        cannonballs.Clear();
        us->headingX = c.headingX, us->headingY = c.headingY, us->fireSide = c.button == ButtonB, cannonballCount = 1;
        Press(c.button);
        ASSERT_EQ(cannonballs.Count(), 1);
        // From a pixel ahead along the heading's x, and flown its first frame already.
        const Cannonball* ball = cannonballs[0];
        EXPECT_EQ(Values({ball->life, ball->fromPlayer, ball->x, ball->y, ball->vx, ball->vy}),
                  Values({49, 1, 100 + c.headingX + c.vx, 200 + c.vy, c.vx, c.vy}));
        EXPECT_EQ(Values({us->fireSide, us->fireCooldown, cannonballCount}), Values({c.button == ButtonA, 15, 0}));
        EXPECT_EQ(Heard(), std::vector<std::string>{"shoot"});
        Frames(15);
    }
    // Both let go together: A alone. A release while reloading, struck, sunk or out of
    // shot is lost, not kept for later.
    cannonballs.Clear(), cannonballCount = 5;
    Press({ButtonA, ButtonB});
    EXPECT_EQ(Values({cannonballs.Count(), us->fireSide, cannonballCount}), Values({1, 1, 4}));
    struct Unready { int32_t fireCooldown, hitTimer, health, balls; } unready[] = {
        {3, 0, 5, 5}, {0, 2, 5, 5}, {0, 0, 0, 5}, {0, 0, 5, 0}};
    for (const Unready& u : unready) {
        cannonballs.Clear(), Heard();
        us->fireCooldown = u.fireCooldown, us->hitTimer = u.hitTimer, us->health = u.health, cannonballCount = u.balls;
        Press(ButtonB);
        Frames(4);
        EXPECT_EQ(Values({cannonballs.Count(), cannonballCount}), Values({0, u.balls}));
        EXPECT_EQ(Heard(), std::vector<std::string>{});
    }
}

// A whole game's end on a hand-made sea, the ship sunk 99 frames ago, with the score file
// in a home of its own.
class GameOverTest : public GameTest {
protected:
    Ship* us = nullptr;
    void SetUp() override {
        GameTest::SetUp();
        currentMusic = MusicDanger;
        us = AddPlayer(400, 400);
        us->health = 0, us->sinkTimer = 401;
        // Both hazard lists full, so that the frames draw no random numbers of their own.
        for (int32_t i = 0; i < 9; i++) barrels.Append(new Barrel{100, 100, false});
        for (int32_t i = 0; i < 6; i++) whirlpools.Append(new Whirlpool{6000, 800, 800});
    }
    // Types every page out and turns it, until the dialog has gone.
    void DismissDialog() {
        const auto talking = [] { return GameState == ScreenSailing || GameState == ScreenNewHighScore; };
        for (int32_t page = 0; page < 10 && overlayMode == OverlayDialog && talking(); page++) Frames(90), Press(ButtonA);
    }
};

TEST_F(GameOverTest, ANewBestIsSavedAndAnnouncedThenTheMenu) {
    SaveHighScore(40);
    highScore = 40, gold = 57;
    Frames(1);
    EXPECT_EQ(GameState, ScreenSailing);  // 400 frames left: still going down
    EXPECT_EQ(Heard(), std::vector<std::string>{});
    Frames(1);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"stop", "nextlevel"}));
    EXPECT_EQ(FileText(HighScoreFile()), "57");
    EXPECT_EQ(Values({GameState, highScore, overlayMode, ships.Count(), dialog.portrait}),
              Values({ScreenNewHighScore, 57, OverlayDialog, 0, 1}));
    EXPECT_EQ(player, nullptr);
    EXPECT_EQ(dialog.text, "You got a new high score of 57!");
    EXPECT_EQ(dialog.revealed, 1u);  // the dialog took its first step in that same frame
    DismissDialog();
    EXPECT_EQ(GameState, ScreenMenu);
    EXPECT_EQ(Heard().back(), "music menu");
}

TEST_F(GameOverTest, OtherwiseALastWordOverTheFrozenSeaThenTheGameOverScreen) {
    for (int32_t line = 0; line < 8; line++) {
        if (line > 0) TearDown(), SetUp();  // a fresh game and home for each
        std::filesystem::create_directories(home + "/.Quillbarrow");
        std::ofstream(HighScoreFile()) << "57\n";  // as no game of ours would write it
        highScore = gold = 57;
        overlayMode = line % 2 == 0 ? OverlayNone : OverlayPaused;  // paused or not, the game ends
        cannonballs.Append(new Cannonball{40, 0, 300, 300, 1, 1});
        Frames(1);
        SeedDraws({{4, line / 2}, {2, line % 2}});  // the speaker, then one of its two lines
        Frames(1);
        EXPECT_EQ(Heard(), std::vector<std::string>{"stop"});
        EXPECT_EQ(dialog.text, gameOverLines[line]);
        EXPECT_EQ(Values({GameState, overlayMode, dialog.portrait, us->sinkTimer}),
                  Values({ScreenSailing, OverlayDialog, line / 2 + 1, 399}));
        // The sea stands still under the dialog but for the cannonballs.
        Frames(5);
        EXPECT_EQ(Values({us->sinkTimer, cannonballs[0]->x}), Values({399, 307}));
        DismissDialog();
        EXPECT_EQ(GameState, ScreenGameOver);
        EXPECT_EQ(ships.Count() + barrels.Count() + cannonballs.Count(), 0);
        EXPECT_EQ(Heard().back(), "gameover");
        EXPECT_EQ(FileText(HighScoreFile()), "57\n");
    }
}

}  // namespace
