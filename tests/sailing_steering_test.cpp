// Steering the player's ship: one pixel a frame per axis, each axis tested on its own
// against land, rocks and the world's edges, and what stops or spares the ship.
#include "seaview_support.h"

namespace {

class SteeringTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ResetWorld();
    }
    void TearDown() override { ClearWorldLists(); }

    // Steers once with the given buttons held, then lets them go.
    static void SteerHolding(const std::vector<int32_t>& held) {
        for (int32_t b : held) SetButtonKey(b, true);
        SteerPlayer();
        for (int32_t b : held) SetButtonKey(b, false);
    }
};

TEST_F(SteeringTest, OnePixelPerAxisAndOpposedButtonsCancel) {
    Ship* ship = AddPlayer(400, 400);
    struct Case { std::vector<int32_t> held; int32_t dx, dy; } cases[] = {
        {{ButtonRight}, 1, 0},
        {{ButtonUp, ButtonLeft}, -1, -1},
        {{ButtonDown}, 0, 1},
        {{ButtonLeft, ButtonRight, ButtonDown}, 0, 1},
        {{ButtonUp, ButtonDown, ButtonRight}, 1, 0},
    };
    for (const Case& k : cases) {
        const int32_t x = ship->x, y = ship->y;
        ship->sailTimer = -1;
        SteerHolding(k.held);
        EXPECT_EQ(ship->x, x + k.dx);
        EXPECT_EQ(ship->y, y + k.dy);
        EXPECT_EQ(ship->prevX, x);
        EXPECT_EQ(ship->prevY, y);
        EXPECT_EQ(ship->headingX, k.dx);  // a purely vertical move points straight up or down
        EXPECT_EQ(ship->headingY, k.dy);
        EXPECT_EQ(ship->sailTimer, 15);
    }
    // A sail animation already playing is not restarted.
    ship->sailTimer = 6;
    SteerHolding({ButtonRight});
    EXPECT_EQ(ship->sailTimer, 6);
}

TEST_F(SteeringTest, NothingIsWrittenWithoutAMove) {
    Ship* ship = AddPlayer(400, 400);
    ship->prevX = 11, ship->prevY = 12, ship->headingX = -1, ship->headingY = 1, ship->sailTimer = 3;
    const Ship before = *ship;
    SteerHolding({});
    SteerHolding({ButtonLeft, ButtonRight, ButtonUp, ButtonDown});
    // Reloading, reeling from a hit, or sunk: the buttons do nothing.
    for (int32_t which = 0; which < 3; which++) {
        ship->fireCooldown = which == 0 ? 3 : 0;
        ship->hitTimer = which == 1 ? 1 : 0;
        ship->health = which == 2 ? 0 : 5;
        SteerHolding({ButtonRight, ButtonDown});
        EXPECT_EQ(ship->x, before.x);
        EXPECT_EQ(ship->y, before.y);
    }
    ship->health = 5, ship->hitTimer = 0, ship->fireCooldown = 0;
    EXPECT_EQ(std::memcmp(ship, &before, sizeof before), 0);
}

TEST_F(SteeringTest, ASpinningShipMovesButKeepsItsHeadingAndSails) {
    Ship* ship = AddPlayer(400, 400);
    ship->spinTimer = 40, ship->headingX = 0, ship->headingY = -1;
    SteerHolding({ButtonRight, ButtonDown});
    EXPECT_EQ(ship->x, 401);
    EXPECT_EQ(ship->y, 401);
    EXPECT_EQ(ship->headingX, 0);
    EXPECT_EQ(ship->headingY, -1);
    EXPECT_EQ(ship->sailTimer, -1);
}

TEST_F(SteeringTest, PressingDiagonallyIntoACoastSlidesAlongIt) {
    // Land fills row 27 (y 432..447) from column 20 on; the hull reaches y + 13.
    for (int32_t c = 20; c < 30; c++) SetCell(c, 27, CellLand);
    Ship* ship = AddPlayer(360, 418);
    SteerHolding({ButtonDown, ButtonRight});
    EXPECT_EQ(ship->y, 418);
    EXPECT_EQ(ship->x, 361);
    EXPECT_EQ(ship->headingX, 1);
    EXPECT_EQ(ship->headingY, 0);
    // Moving off the land's corner to the west, the ship may go down again.
    ship->x = 312;
    SteerHolding({ButtonDown, ButtonRight});
    EXPECT_EQ(ship->y, 419);
    EXPECT_EQ(ship->x, 313);

    // The horizontal test is made at the old y: a rock beside the middle of the hull
    // stops a sideways move that the corners alone would allow, and the vertical move
    // still goes ahead.
    SetCell(40, 10, -3);  // x 640..655, y 160..175
    ship->x = 632, ship->y = 165;  // right side at 639; y + 7 = 172 is beside the rock
    SteerHolding({ButtonRight, ButtonUp});
    EXPECT_EQ(ship->x, 632);
    EXPECT_EQ(ship->y, 164);
    // Each axis is tested against the other's old place: a diagonal step clips the
    // rock's corner when neither step alone touches it.
    ship->x = 632, ship->y = 183;  // right side at 639, top at 176, the rock at 640, 175
    SteerHolding({ButtonRight, ButtonUp});
    EXPECT_EQ(ship->x, 633);
    EXPECT_EQ(ship->y, 182);
    // Whirlpools, ports and the other sea codes do not block; every rock code does.
    for (int32_t code : {0, 1, -50, -2, -4, 2, 6}) {
        SetCell(40, 10, code);
        ship->x = 632, ship->y = 165;
        SteerHolding({ButtonRight});
        EXPECT_EQ(ship->x, code == 0 || code == 1 || code == -50 ? 633 : 632) << "code " << code;
    }
}

TEST_F(SteeringTest, TheWorldsEdgesHoldTheShip) {
    Ship* ship = AddPlayer(7, 400);
    SteerHolding({ButtonLeft});  // x - 7 would be -1
    EXPECT_EQ(ship->x, 7);
    ship->x = 888;
    SteerHolding({ButtonRight});  // x + 7 would be 896, column 56
    EXPECT_EQ(ship->x, 888);
    ship->y = 882;
    SteerHolding({ButtonDown});  // y + 13 would be 896
    EXPECT_EQ(ship->y, 882);
    // Up top, -15..-1 still divide into row 0: the bow may poke 15 pixels out of the
    // world before row -1 stops it.
    ship->y = 7;
    for (int32_t i = 0; i < 30; i++) SteerHolding({ButtonUp});
    EXPECT_EQ(ship->y, -8);
}

}  // namespace
