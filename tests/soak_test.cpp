// The soak's checks fire: a promise broken on purpose in the middle of a game (a counter,
// the map, the lists) is reported with the frame it broke in. And a stretch of honest play
// breaks none and plays out as it was recorded, screen for screen, event for event and
// draw for draw.
#include "harness/soak.h"
#include "pirates/hazards.h"
#include "test_support.h"

namespace {

using SoakTest = GameTest;

TEST_F(SoakTest, APromiseBrokenOnPurposeIsCaughtInTheFrameItBroke) {
    struct Case { void (*breakIt)(); const char* report; } cases[] = {
        {[] { cargo = 9; }, "cargo is 9"}, {[] { player = nullptr; }, "ships without a player"},
        {[] { whirlpools.Append(new Whirlpool{100, 8, 5}); }, "a whirlpool's cell is not marked"},
    };
    for (const Case& k : cases) {
        SoakTally tally;
        const std::string failure = RunSoak(1200, 3, &tally, k.breakIt, 1100);
        EXPECT_EQ(failure.rfind(std::string("frame 1100: ") + k.report, 0), 0u) << failure;
        EXPECT_EQ(tally.frames, 1100);
        TearDown(), SetUp();
    }
}

TEST_F(SoakTest, AStretchOfPlayKeepsEveryPromiseAndPlaysOutAsRecorded) {
    SoakTally tally;
    EXPECT_EQ(RunSoak(15000, 12, &tally), "");
    // Screens in the tally's order: start, boot, the credits, menu, high score, sailing,
    // new high score, game over, farewell, welcome.
    EXPECT_EQ(std::vector<int64_t>(tally.screenFrames, tally.screenFrames + kSoakScreenCount),
              (std::vector<int64_t>{1, 1, 15, 7, 22, 10, 106, 13707, 42, 82, 108, 899}));
    EXPECT_EQ(std::vector<int64_t>(tally.screenVisits, tally.screenVisits + kSoakScreenCount),
              (std::vector<int64_t>{1, 1, 1, 1, 1, 4, 4, 5, 1, 2, 1, 1}));
    // Events as SoakEvent names them, from the menu's to a game's end.
    EXPECT_EQ(std::vector<int64_t>(tally.events, tally.events + kSoakEventCount),
              (std::vector<int64_t>{4, 0, 0, 0, 0, 1, 4, 12, 0, 5, 0, 8, 18, 13, 5, 15, 19, 0, 30, 2, 10, 3, 1, 1, 2}));
    EXPECT_EQ(std::rand(), 723700106);  // the game drew exactly as it did then
}

}  // namespace
