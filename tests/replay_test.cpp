// Replay scripts: what each command does to the buttons and frames, the log, the shots
// and the home, and a mistake named by its line.
#include "harness/replay.h"
#include "test_support.h"

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
    const std::string png = FileText(home + "/page.png");
    EXPECT_EQ(png.size() > 24 ? static_cast<uint8_t>(png[18]) * 256 + static_cast<uint8_t>(png[19]) : 0, 480);  // the width
    const int32_t next = std::rand();
    EXPECT_EQ(next, RandFrom(7, 1)[0]);  // the frames so far drew nothing
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

}  // namespace
