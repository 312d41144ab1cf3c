// Replay scripts: what each command does to the buttons and frames, the log, the
// shots, the home, and whole scenes of the game played from a script.
#include <png.h>

#include <cstring>
#include <fstream>

#include "flow/replay.h"
#include "flow_support.h"
#include "render/dialog.h"
#include "texts.h"

namespace {

class ReplayTest : public FlowTest {
protected:
    std::string log;
    std::string Run(const std::string& script) { return RunReplay(script, home, &log); }
};

TEST_F(ReplayTest, PressHoldsThenRunsTheReleaseFrameAndTheLogNumbersFrames) {
    // Boot is frame 2. A is down in frames 3-7 and seen let go in frame 8; held again in
    // frames 9-11 and seen let go in frame 12; then down for 13-16 and let go unseen.
    EXPECT_EQ(Run("# to the last page\n\nwait 2\npress A 5\nhold a 3\nwait\ndown A\nwait 4\nup A\nwait 0\n"), "");
    EXPECT_EQ(log, "2 music stop\n2 music menu\n8 sound click\n12 sound click\n");
    EXPECT_EQ(GameState, -2);
    // A second replay goes on from there with every button up, counting its own frames:
    // the release left unseen is forgotten.
    EXPECT_EQ(Run("wait\npress A\n"), "");
    EXPECT_EQ(log, "2 music stop\n2 music menu\n8 sound click\n12 sound click\n3 sound click\n");
    EXPECT_EQ(GameState, 2);
}

TEST_F(ReplayTest, SeedHomeAndScoreSetUpTheRun) {
    EXPECT_EQ(Run("seed 7\n"), "");
    const int32_t afterSeven = rand();
    srand(7);
    EXPECT_EQ(afterSeven, rand());
    EXPECT_EQ(Run("home " + home + "/elsewhere\nscore 40\nwait 2\n"), "");
    EXPECT_EQ(highScore, 40);
    EXPECT_TRUE(std::filesystem::exists(home + "/elsewhere/.Quillbarrow/score"));
    EXPECT_FALSE(std::filesystem::exists(home + "/.Quillbarrow"));
}

TEST_F(ReplayTest, ShotSavesTheFrameShownMagnified) {
    EXPECT_EQ(Run("wait 3\nscale 3\nshot page.png\n"), "");
    EXPECT_TRUE(std::filesystem::exists(home + "/.Quillbarrow/score"));  // the default home
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, (home + "/page.png").c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> pixels(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, pixels.data(), 0, nullptr));
    EXPECT_EQ(image.width, 480u);
    EXPECT_EQ(image.height, 360u);
    // Pixel (40, 10), the credit picture's corner, fills a 3 x 3 square from (120, 30).
    const uint16_t corner = ShownAt(40, 10);
    const uint8_t* rgb = &pixels[(32 * 480 + 122) * 3];
    EXPECT_EQ(rgb[0] >> 3, corner >> 11);
    EXPECT_EQ(rgb[1] >> 2, (corner >> 5) & 63);
    EXPECT_EQ(rgb[2] >> 3, corner & 31);
}

TEST_F(ReplayTest, MistakesNameTheirLineAndStopTheScript) {
    struct Case { const char* script; const char* error; } cases[] = {
        {"wait 1\njump 3\nwait 9\n", "line 2: unknown command 'jump'"},
        {"press X\n", "line 1: unknown button 'X'"},
        {"hold A\n", "line 1: hold needs a button and a number of frames"},
        {"press A 0\n", "line 1: press needs a button and a number of frames"},
        {"wait ten\n", "line 1: wait needs a number of frames"},
        {"seed\n", "line 1: seed needs one number"},
        {"scale 0\n", "line 1: scale must be 1 or more"},
        {"shot\n", "line 1: shot needs one path"},
        {"up A 2\n", "line 1: up takes only a button"},
    };
    for (const Case& c : cases) {
        log.clear();
        EXPECT_EQ(Run(c.script), c.error);
        EXPECT_EQ(log, "");  // nothing after the mistake ran: the boot frame never came
    }
}

// The first Play of a new player: the welcome, page by page, then the high score
// screen, then a new game opening on the first islands with its first words. Needs the
// dialog box and the island maker.
TEST_F(ReplayTest, FirstPlayShowsTheWelcomeThenTheScoreThenTheFirstIslands) {
    ASSERT_EQ(Run("seed 5\nwait 3\npress A\npress A\npress A\nwait 5\npress A\n"), "");
    EXPECT_EQ(GameState, 11);
    EXPECT_NE(log.find("\n16 sound click\n"), std::string::npos);  // the Play click
    int32_t pages = 0;
    for (size_t left = dialogText.size(); GameState == 11 && pages < 40; pages++) {
        Frames(100);  // a page of at most 40 letters is typed by then
        Press(ButtonA);
        EXPECT_TRUE(GameState != 11 || dialogText.size() < left);
        left = dialogText.size();
    }
    EXPECT_GT(pages, 10);
    EXPECT_EQ(GameState, 3);
    EXPECT_EQ(welcomeShown, 1);
    gold = 12;
    Press(ButtonA);
    EXPECT_EQ(GameState, 4);
    EXPECT_EQ(gold, 0);
    EXPECT_EQ(ports.Count(), 6);
    EXPECT_EQ(overlayMode, 2);
    EXPECT_EQ(dialogText, firstIslandsText);
    EXPECT_EQ(currentMusic, MusicInGame);
}

}  // namespace
