// The soak's checks fire: each promise broken on purpose in the middle of a game is
// reported with the frame it broke in, and an honest stretch of play breaks none.
#include <cstring>
#include <string>

#include "flow/dialog.h"
#include "harness/soak.h"
#include "pirates/hazards.h"
#include "platform/audio.h"
#include "ports/ports.h"
#include "test_support.h"
#include "world/world.h"

namespace {

// The world and the counters as a new process has them, whatever earlier tests left.
class SoakTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        Fresh();
    }
    void TearDown() override { Fresh(); }
    static void Fresh() {
        ClearWorldLists();
        std::memset(tileMap, 0, sizeof tileMap);
        cargo = 0, cannonballCount = 6, frameCounter = 0, overlayMode = OverlayNone, hudSlide = -20, sfxOn = 1,
        musicOn = 1;
        dialog.text.clear(), dialog.revealed = 0, dialog.consumed = 0;
    }
};

TEST_F(SoakTest, EveryPromiseBrokenOnPurposeIsCaughtInTheFrameItBroke) {
    struct Case {
        const char* what;
        void (*breakIt)();
        const char* report;
    } cases[] = {
        {"cargo", [] { cargo = 9; }, "cargo is 9"},
        {"ammunition", [] { cannonballCount = 13; }, "cannonballCount is 13"},
        {"hull", [] { player->health = 12; }, "player health is 12"},
        {"frame counter", [] { frameCounter = 120; }, "frameCounter is 120"},
        {"map code", [] { tileMap[CellIndex(0, 0)] = 7; }, "cell code 7"},
        {"unmarked whirlpool",
         [] {
             whirlpools.Append(new Whirlpool{100, 8, 5});
         },
         "a whirlpool's cell is not marked"},
        {"stray whirlpool mark",
         [] {
             for (int32_t i = 0; i < whirlpools.Count(); i++) whirlpools[i]->life = -1;
             AgeWhirlpools();  // every whirlpool gone, with its mark
             tileMap[CellIndex(0, 0)] = CellWhirlpool;
         },
         "1 whirlpool cells for 0 whirlpools"},
        {"ship adrift", [] { ships[0]->x = 900; }, "ship 0 outside the world at 900"},
        {"too many barrels",
         [] {
             for (int i = 0; i < 10; i++) barrels.Append(new Barrel{8, 5, 0});
         },
         "10 barrels"},
        {"dialog", [] { dialog.revealed = static_cast<uint32_t>(dialog.text.size()) + 1; }, "the dialog has revealed"},
        {"released port",
         [] {
             static Port gone{1, 1, RoleBuyer};
             compassTarget = &gone;
         },
         "the compass points at a port no"},
        {"released ship", [] { player = nullptr; }, "ships without a player"},
    };
    for (const Case& k : cases) {
        SoakTally tally;
        const std::string failure = RunSoak(1200, 3, &tally, k.breakIt, 1100);
        EXPECT_EQ(failure.rfind(std::string("frame 1100: ") + k.report, 0), 0u) << k.what << ": " << failure;
        EXPECT_EQ(tally.frames, 1100);
        Fresh();
    }
}

TEST_F(SoakTest, AStretchOfPlayKeepsEveryPromiseAndGoesToSea) {
    SoakTally tally;
    EXPECT_EQ(RunSoak(6000, 5, &tally), "");
    EXPECT_EQ(tally.frames, 6000);
    EXPECT_GT(tally.events[EventNewGame], 0);
    EXPECT_GT(tally.events[EventLoad], 0);
}

}  // namespace
