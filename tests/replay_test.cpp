// Replay scripts: what each command does to the buttons and frames, the log, the
// shots, the home, and whole scenes of the game played from a script.
#include <fstream>

#include "harness/replay.h"
#include "test_support.h"
#include "texts.h"

namespace {

class ReplayTest : public GameTest {
protected:
    std::string log;
    std::string Run(const std::string& script) { return RunReplay(script, home, &log); }
};

TEST_F(ReplayTest, CommandsDriveButtonsFramesAndFilesAndTheLogNumbersFrames) {
    // Boot is frame 2. A is down in frames 3-7 and seen let go in frame 8; held again in
    // frames 9-11 and seen let go in frame 12; then down for 13-16 and let go unseen.
    EXPECT_EQ(Run("# to the last page\n\nseed 7\nhome " + home + "/elsewhere\nscore 40\nwait 2\npress A 5\n"
                  "hold a 3\nwait\ndown A\nwait 4\nup A\nwait 0\nscale 3\nshot page.png\n"), "");
    EXPECT_EQ(log, "2 music stop\n2 music menu\n8 sound click\n12 sound click\n");
    EXPECT_EQ(Values({GameState, highScore}), Values({ScreenCreditsMusic, 40}));
    EXPECT_FALSE(std::filesystem::exists(home + "/.Quillbarrow"));  // the score went elsewhere
    unsigned char head[24] = {};
    std::ifstream(home + "/page.png", std::ios::binary).read(reinterpret_cast<char*>(head), 24);
    EXPECT_EQ(head[18] * 256 + head[19], 480);  // the width, in the PNG's header
    EXPECT_EQ(std::rand(), RandFrom(7, 1)[0]);  // the frames so far drew nothing
}

TEST_F(ReplayTest, AMistakeNamesItsLineAndStopsTheScript) {
    struct Case { const char* script; int32_t frames; const char* error; } cases[] = {
        {"wait 1\njump 3\nwait 9\n", 1, "line 2: unknown command 'jump'"},
        {"press X\nwait\n", 0, "line 1: unknown button 'X'"},
        {"hold A\nwait\n", 0, "line 1: hold needs a button and a number of frames"},
    };
    for (const Case& c : cases) {
        const int32_t before = frameCounter;
        EXPECT_EQ(Run(c.script), c.error);
        EXPECT_EQ(frameCounter - before, c.frames);
    }
}

// The first Play of a new player: the welcome, page by page, then the high score
// screen, then a new game opening on the first islands with its first words. Needs the
// dialog box and the island maker.
TEST_F(ReplayTest, FirstPlayShowsTheWelcomeThenTheScoreThenTheFirstIslands) {
    ASSERT_EQ(Run("seed 5\nwait 3\npress A\npress A\npress A\nwait 5\npress A\n"), "");
    EXPECT_EQ(GameState, ScreenWelcome);
    EXPECT_NE(log.find("\n16 sound click\n"), std::string::npos);  // the Play click
    EXPECT_FALSE(std::filesystem::exists(home + "/.Quillbarrow"));   // a first run, at home elsewhere
    int32_t pages = 0;
    for (size_t left = dialog.text.size(); GameState == ScreenWelcome && pages < 40; pages++) {
        Frames(100);  // a page of at most 40 letters is typed by then
        Press(ButtonA);
        EXPECT_TRUE(GameState != ScreenWelcome || dialog.text.size() < left);
        left = dialog.text.size();
    }
    EXPECT_GT(pages, 10);
    EXPECT_EQ(Values({GameState, welcomeShown}), Values({ScreenHighScore, true}));
    gold = 12;
    Press(ButtonA);
    EXPECT_EQ(Values({GameState, gold, ports.Count(), overlayMode, currentMusic}),
              Values({ScreenSailing, 0, 6, OverlayDialog, MusicInGame}));
    EXPECT_EQ(dialog.text, firstIslandsText);
}

}  // namespace
