// Steering the player's ship, the hull's probes against rocks and the world's edges, and
// whole frames of the sailing screen under scripted buttons: the camera and pausing.
#include <algorithm>

#include "render/sprite.h"
#include "sailing/sailing.h"
#include "ships.h"
#include "test_support.h"

namespace {

class SailingTest : public GameTest {
protected:
    static void Steer(const Values& held) {
        for (int32_t b : held) SetButtonKey(b, true);
        SteerPlayer();
        for (int32_t b : held) SetButtonKey(b, false);
    }
};

TEST_F(SailingTest, OnePixelPerAxisUnlessReloadingStruckOrSunk) {
    Ship* ship = AddPlayer(400, 400);
    struct Case { Values held; int32_t dx, dy; } cases[] = {
        {{ButtonRight}, 1, 0}, {{ButtonUp, ButtonLeft}, -1, -1}, {{ButtonLeft, ButtonRight, ButtonDown}, 0, 1},
        {{ButtonUp, ButtonDown}, 0, 0}, {{}, 0, 0}};
    for (const Case& k : cases) {
        ship->sailTimer = -1;
        const Ship before = *ship;
        Steer(k.held);
        if (k.dx == 0 && k.dy == 0) {
            EXPECT_EQ(std::memcmp(ship, &before, sizeof before), 0);  // not a field written
            continue;
        }
        // A purely vertical move points the ship straight up or down.
        EXPECT_EQ(Values({ship->x, ship->y, ship->headingX, ship->headingY, ship->sailTimer}),
                  Values({before.x + k.dx, before.y + k.dy, k.dx, k.dy, 15}));
    }
    ship->sailTimer = 6;
    Steer({ButtonRight});
    EXPECT_EQ(ship->sailTimer, 6);  // a sail animation under way is not restarted
    // In a whirlpool's spin the ship moves, but the spin keeps the heading and sails.
    ship->spinTimer = 40, ship->sailTimer = -1;
    Steer({ButtonDown, ButtonRight});
    EXPECT_EQ(Values({ship->x, ship->y, ship->headingY, ship->sailTimer}), Values({402, 401, 0, -1}));
    ship->spinTimer = 0;
    for (int32_t which = 0; which < 3; which++) {
        ship->fireCooldown = which == 0, ship->hitTimer = which == 1, ship->health = which == 2 ? 0 : 1;
        Steer({ButtonRight});
        EXPECT_EQ(ship->x, 402);
    }
    ship->hitTimer = 0, ship->health = 1;  // the last hit point still sails
    Steer({ButtonRight});
    EXPECT_EQ(ship->x, 403);
    // Pressing diagonally into a coast below, the ship slides along it.
    for (int32_t c = 20; c < 30; c++) SetCell(c, 27, CellLand);  // y 432..447; the hull reaches y + 13
    *ship = Ship{-1, 0, 0, -1, -1, 0, 30, 0, 0, 500, 1, -1, -1, 0, 0, 360, 418, 0, 1, 5, 0};
    Steer({ButtonDown, ButtonRight});
    EXPECT_EQ(Values({ship->x, ship->y, ship->headingX, ship->headingY}), Values({361, 418, 1, 0}));
}

// What one step by (stepX, stepY) from (x, y) did: whether the ship moved, where it is,
// and the step as StepShip left it.
Values StepFrom(int32_t x, int32_t y, int32_t stepX, int32_t stepY, TopEdge top) {
    Ship ship{};
    ship.x = x, ship.y = y;
    const bool moved = StepShip(&ship, stepX, stepY, top);
    return {moved, ship.x, ship.y, stepX, stepY};
}

// A ship's step is tested, vertically first at the old x, on the hull's four corners (7 to
// either side, 7 up and 13 down), then sideways at the old y on its corners and the
// middles of its sides. With a rock in the cell just beyond a probe the step is taken; in
// the cell of one probe alone it is not. Outside the world every point blocks, but a
// point up to 15 pixels above the top still lies in row 0 for the player's steering.
TEST_F(SailingTest, TheHullIsTestedAtItsCornersAndTheMiddlesOfItsSides) {
    struct Case { int32_t x, y, stepX, stepY, rockX, rockY; bool moves; } cases[] = {
        {407, 400, 0, -1, 24, 24, true},  {400, 401, 0, 1, 24, 26, true},  {400, 407, -1, 0, 24, 24, true},
        {400, 407, 0, -1, 24, 24, false}, {400, 402, 0, 1, 25, 26, false}, {407, 403, -1, 0, 24, 25, false},
    };
    for (const Case& c : cases) {
        std::memset(tileMap, 0, sizeof tileMap);
        SetCell(c.rockX, c.rockY, -3);
        EXPECT_EQ(StepFrom(c.x, c.y, c.stepX, c.stepY, TopEdge::Truncated)[0], c.moves) << c.x << ", " << c.y;
    }
    // Every step from every place round a cell of each kind (sea, ports and whirlpools are
    // open water; land and rocks are not), and at the world's edges, folded into a print
    // of what each step did, as recorded.
    Print print;
    const auto step = [&print](int32_t x, int32_t y, int32_t s, TopEdge top) {
        for (int32_t n : StepFrom(x, y, s % 3 - 1, s / 3 - 1, top)) print.Add(n);
    };
    for (int32_t code : {-3, 0, 1, -50, -2, -4, 2, 6})
        for (int32_t cell = 0; cell < 9; cell++) {
            std::memset(tileMap, 0, sizeof tileMap);
            SetCell(24 + cell % 3, 24 + cell / 3, code);
            for (int32_t x = 399; x <= 410; x++)
                for (int32_t y = 399; y <= 410; y++)
                    for (int32_t s = 0; s < 9; s++) step(x, y, s, TopEdge::Truncated);
        }
    std::memset(tileMap, 0, sizeof tileMap);
    for (int32_t x : {7, 8, 400, 887, 888})
        for (int32_t y : {-9, -8, 6, 7, 400, 881, 882})
            for (int32_t s = 0; s < 9; s++)
                for (TopEdge top : {TopEdge::Truncated, TopEdge::Closed}) step(x, y, s, top);
    EXPECT_EQ(print.value, 0xaca017ec2bfeec89u);
}

TEST_F(SailingTest, TheShipIsAlwaysAtTheCentreAndTheWaterEndsAtTheWorldsEdge) {
    Ship* ship = AddPlayer(0, 0);
    for (auto [x, y] : {std::pair{400, 400}, {7, 7}, {888, 882}, {300, -8}, {123, 457}}) {
        ship->x = x, ship->y = y, hudSlide = -20;
        Frames(1);
        FillFrame(Colour(0));
        for (int32_t r = std::max(0, 48 - y); r < std::min(120, 944 - y); r++)
            for (int32_t c = std::max(0, 80 - x); c < std::min(160, 976 - x); c++) FrameBuffer[r * 160 + c] = Colour(2);
        DrawSprite24x24(68, 36, ShipFrames + FrameSlot(24, 24, 6 * 8), SeaKey());  // at rest, facing right
        ASSERT_EQ(Differs(Shown()), "") << x << ", " << y;
        ClearFrameBuffer();  // as the frame loop leaves it
    }
    // Under way, the camera is placed where the ship starts each frame.
    ship->x = 100, ship->y = 100;
    SetButtonKey(ButtonRight, true), SetButtonKey(ButtonDown, true);
    for (int32_t i = 0; i < 40; i++) {
        const int32_t x = ship->x, y = ship->y;
        Frames(1);
        ASSERT_EQ(Values({camCellX * 16 + camSubX, camCellY * 16 + camSubY, camSubY, ship->screenX, ship->screenY}),
                  Values({x - 80, y - 48, y % 16, 68, 36}));
    }
    EXPECT_EQ(ship->x, 140);
    EXPECT_EQ(hudSlide, 0);  // the status bar slid back in, a pixel a frame
}

TEST_F(SailingTest, StartPausesOnLettingGoAndTheShipWaitsTillItResumes) {
    Ship* ship = AddPlayer(400, 400);
    SetButtonKey(ButtonStart, true);
    Frames(1);
    EXPECT_EQ(overlayMode, OverlayNone);  // nothing while it is held
    SetButtonKey(ButtonStart, false), SetButtonKey(ButtonRight, true);
    Frames(4);
    EXPECT_EQ(Values({overlayMode, ship->x}), Values({OverlayPaused, 400}));
    EXPECT_EQ(Heard(), std::vector<std::string>{"click"});
    Press(ButtonStart);
    EXPECT_EQ(Values({overlayMode, ship->x}), Values({OverlayNone, 401}));  // steering again in the frame it resumed
    EXPECT_EQ(Heard(), std::vector<std::string>{"beep"});
    SetButtonKey(ButtonRight, false);
}

}  // namespace
