// The player's broadsides under scripted buttons, a fight to a pirate's wreck, and the
// two ends of a game played through the real loop: a new best saved and announced, or
// a last word over the frozen sea and the game-over screen.
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "flow/dialog.h"
#include "flow_support.h"
#include "seaview_support.h"
#include "texts.h"

namespace {

using Values = std::vector<int32_t>;

class BroadsideTest : public SeaTest {
protected:
    void SetUp() override {
        SeaTest::SetUp();
        srand(1);
        level = 0;
    }
    // Held for a frame, and let go: the frame that acts on it.
    static void Release(std::initializer_list<int32_t> buttons) {
        for (int32_t b : buttons) SetButtonKey(b, true);
        PlayFrame();
        for (int32_t b : buttons) SetButtonKey(b, false);
        PlayFrame();
    }
};

TEST_F(BroadsideTest, ABroadsideGoesOffWhenLetGoToTheSideOfItsButton) {
    Ship* us = AddPlayer(100, 200);
    struct Case { int32_t headingX, headingY, button, vx, vy; } cases[] = {
        {1, 0, ButtonA, 0, 1},   {1, 0, ButtonB, 0, -1},  {-1, -1, ButtonA, 1, -1},
        {-1, -1, ButtonB, -1, 1}, {0, 1, ButtonA, -1, 0}, {0, 1, ButtonB, 1, 0}};
    for (const Case& c : cases) {
        cannonballs.Clear(), played.clear();
        us->headingX = c.headingX, us->headingY = c.headingY, us->fireSide = c.button == ButtonB, cannonballCount = 1;
        Release({c.button});
        ASSERT_EQ(cannonballs.Count(), 1);
        // From a pixel ahead along the heading's x, and flown its first frame already.
        const Cannonball* ball = cannonballs[0];
        EXPECT_EQ(Values({ball->life, ball->fromPlayer, ball->x, ball->y, ball->vx, ball->vy}),
                  Values({49, 1, 100 + c.headingX + c.vx, 200 + c.vy, c.vx, c.vy}));
        EXPECT_EQ(Values({us->fireSide, us->fireCooldown, cannonballCount}), Values({c.button == ButtonA, 15, 0}));
        EXPECT_EQ(played, Values{SoundShoot});
        for (int32_t i = 0; i < 15; i++) PlayFrame();
    }

    // Both let go together: A alone. A release while reloading, struck, sunk or out of
    // shot is lost, not kept for later.
    cannonballs.Clear();
    cannonballCount = 5;
    Release({ButtonA, ButtonB});
    EXPECT_EQ(Values({cannonballs.Count(), us->fireSide, cannonballCount}), Values({1, 1, 4}));
    struct Unready { int32_t fireCooldown, hitTimer, health, balls; } unready[] = {
        {3, 0, 5, 5}, {0, 2, 5, 5}, {0, 0, 0, 5}, {0, 0, 5, 0}};
    for (const Unready& u : unready) {
        cannonballs.Clear(), played.clear();
        us->fireCooldown = u.fireCooldown, us->hitTimer = u.hitTimer, us->health = u.health, cannonballCount = u.balls;
        Release({ButtonB});
        for (int32_t i = 0; i < 4; i++) PlayFrame();
        EXPECT_EQ(Values({cannonballs.Count(), cannonballCount, static_cast<int32_t>(played.size())}),
                  Values({0, u.balls, 0}));
    }
}

// Our starboard broadside sails down onto a pirate standing off out of range: two hits
// sink it.
TEST_F(BroadsideTest, TwoBroadsidesSinkAPirateStandingOff) {
    Ship* us = AddPlayer(400, 400);
    Ship* pirate = AddShip(2, 400, 440);
    pirate->health = 2, pirate->replanTimer = 100000;
    for (int32_t shot = 1; shot <= 2; shot++) {
        Release({ButtonA});
        int32_t frames = 1;
        while (cannonballs.Count() > 0 && frames < 60) PlayFrame(), frames++;
        // The ball's lowest points reach the bow (y - 7) 27 frames after it left.
        EXPECT_EQ(frames, 27);
        EXPECT_EQ(Values({pirate->health, pirate->hitTimer, pirate->hitSide, pirate->headingX, pirate->sinkTimer}),
                  Values({2 - shot, 15, 0, 1, shot == 2 ? 499 : 500}));
    }
    EXPECT_EQ(us->health, 5);
}

// A whole game's end on a hand-made sea, with the score file in a home of its own and
// every sound and track heard.
class GameOverTest : public FlowTest {
protected:
    Ship* us = nullptr;
    void SetUp() override {
        FlowTest::SetUp();
        ClearWorldLists();
        std::memset(tileMap, 0, sizeof tileMap);
        for (auto& gull : gulls) gull.reset();
        for (auto& cloud : clouds) cloud.reset();
        peaceful = 1, level = 0, hudSlide = -20, GameState = ScreenSailing, currentMusic = MusicDanger;
        us = AddPlayer(400, 400);
        us->health = 0, us->sinkTimer = 401;
        // Both hazard lists full, so that the frames draw no random numbers of their own.
        for (int32_t i = 0; i < 9; i++) barrels.Append(new Barrel{100, 100, 0});
        for (int32_t i = 0; i < 6; i++) whirlpools.Append(new Whirlpool{6000, 800, 800});
    }
    void TearDown() override {
        ClearWorldLists();
        FlowTest::TearDown();
        GameState = ScreenStart;
    }
    std::string ScoreFile() {
        std::ifstream in(HighScoreFile());
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    // Types every page out and turns it, until the dialog has gone.
    void DismissDialog() {
        for (int32_t page = 0; page < 10 && overlayMode == OverlayDialog &&
                               (GameState == ScreenSailing || GameState == ScreenNewHighScore);
             page++) {
            Frames(90);
            Press(ButtonA);
        }
    }
};

TEST_F(GameOverTest, ANewBestIsSavedAndAnnouncedThenTheMenu) {
    SaveHighScore(40);
    highScore = 40, gold = 57;
    RunHeadlessFrame();
    EXPECT_EQ(GameState, ScreenSailing);  // 400 frames left: still going down
    EXPECT_TRUE(Heard().empty());
    RunHeadlessFrame();
    EXPECT_EQ(Heard(), (std::vector<std::string>{"stop", "sound 8"}));
    EXPECT_EQ(ScoreFile(), "57");
    EXPECT_EQ(Values({GameState, highScore, overlayMode, ships.Count(), dialog.portrait}),
              Values({ScreenNewHighScore, 57, OverlayDialog, 0, 1}));
    EXPECT_EQ(player, nullptr);
    EXPECT_EQ(dialog.text, "You got a new high score of 57!");
    EXPECT_EQ(dialog.revealed, 1u);  // the dialog took its first step in that same frame
    DismissDialog();
    EXPECT_EQ(GameState, ScreenMenu);
    EXPECT_EQ(Heard().back(), "music 0");
}

TEST_F(GameOverTest, OtherwiseALastWordOverTheFrozenSeaThenTheGameOverScreen) {
    // A seed for each of the eight lines, found by replaying the two draws.
    for (int32_t line = 0; line < 8; line++) {
        int32_t seed = 1;
        for (;; seed++) {
            srand(seed);
            const int32_t speaker = rand() % 4;
            if (speaker * 2 + rand() % 2 == line) break;
        }
        if (line > 0) TearDown(), SetUp();  // a fresh game and home for each
        std::filesystem::create_directories(home + "/.Quillbarrow");
        std::ofstream(HighScoreFile()) << "57\n";  // as no game of ours would write it
        highScore = gold = 57;
        overlayMode = line % 2 == 0 ? OverlayNone : OverlayPaused;  // paused or not, the game ends
        cannonballs.Append(new Cannonball{40, 0, 300, 300, 1, 1});
        RunHeadlessFrame();
        srand(seed);
        RunHeadlessFrame();
        EXPECT_EQ(Heard(), std::vector<std::string>{"stop"});
        EXPECT_EQ(dialog.text, gameOverLines[line]);
        EXPECT_EQ(Values({GameState, overlayMode, dialog.portrait, us->sinkTimer}),
                  Values({ScreenSailing, OverlayDialog, line / 2 + 1, 399}));
        // The sea stands still under the dialog but for the cannonballs.
        for (int32_t i = 0; i < 5; i++) RunHeadlessFrame();
        EXPECT_EQ(us->sinkTimer, 399);
        EXPECT_EQ(cannonballs[0]->x, 307);
        DismissDialog();
        EXPECT_EQ(GameState, ScreenGameOver);
        EXPECT_EQ(ships.Count() + barrels.Count() + cannonballs.Count(), 0);
        EXPECT_EQ(Heard().back(), "sound 6");
        EXPECT_EQ(ScoreFile(), "57\n");
    }
}

}  // namespace
