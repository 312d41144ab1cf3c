// Whirlpools and barrels: the capture at the centre and the repeated one when a spin runs
// out there, the pulls on their frames, a whirlpool's life and its mark on the map, and
// barrels taken, or refused once per approach, under scripted buttons.
#include "pirates/hazards.h"
#include "pirates/pirates.h"
#include "test_support.h"
#include "texts.h"

namespace {

using HazardTest = GameTest;

Whirlpool* AddWhirlpool(int32_t cx, int32_t cy, int32_t life = 6000) {
    whirlpools.Append(new Whirlpool{life, cx * 16 + 8, cy * 16 + 5});
    SetCell(cx, cy, CellWhirlpool);
    return whirlpools[whirlpools.Count() - 1];
}

TEST_F(HazardTest, AWhirlpoolHoldsSpinsAndDamagesWhatReachesItsCentre) {
    Whirlpool* pool = AddWhirlpool(25, 25);  // centre (408, 405)
    Ship* us = AddPlayer(412, 401);
    us->health = 3, currentMusic = MusicInGame;
    Frames(1);
    EXPECT_EQ(Values({us->x, us->y, us->spinTimer, us->health, pool->life}), Values({408, 402, 120, 2, 6000 - 1 - 10}));
    EXPECT_EQ(Heard(), (std::vector<std::string>{"whirl", "hit"}));
    // Held: no more harm while it spins, 11 frames of the whirlpool's life a frame, and
    // the d-pad's pixel a frame is snapped back.
    SetButtonKey(ButtonRight, true);
    Frames(11);
    SetButtonKey(ButtonRight, false);
    EXPECT_EQ(Values({us->x, us->y, us->spinTimer, us->health, pool->life, us->headingX, us->headingY}),
              Values({409, 402, 109, 2, 5989 - 121, 1, -1}));  // spin entry 109 / 5 % 8
    EXPECT_EQ(Heard(), std::vector<std::string>{});
    // A spin that runs out at the centre is caught again at once. Down to one hit point,
    // and still no danger music.
    us->spinTimer = 1;
    Frames(1);
    EXPECT_EQ(Values({us->spinTimer, us->health}), Values({120, 1}));
    EXPECT_EQ(Heard(), (std::vector<std::string>{"whirl", "hit"}));
    // A pirate caught while reloading is held all the same, silently; dying there it
    // sinks at once and is gone the next frame. A wreck is held but harms no more.
    Whirlpool* other = AddWhirlpool(40, 40);
    AddWhirlpool(45, 40);
    Ship* pirate = AddShip(2, 648 - 4, 645 + 4);
    Ship* lasting = AddShip(1, 728, 645);
    pirate->health = 1, pirate->fireCooldown = 9, lasting->health = 2;
    Frames(1);
    EXPECT_EQ(Values({pirate->x, pirate->y, pirate->health, pirate->sinkTimer, other->life}),
              Values({648, 642, 0, 0, 5989}));
    EXPECT_EQ(Values({lasting->health, lasting->sinkTimer}), Values({1, 500}));
    EXPECT_EQ(Heard(), std::vector<std::string>{});
    Frames(1);
    EXPECT_EQ(ships.Count(), 2);
    us->health = 0, us->spinTimer = 0, us->sinkTimer = 450;
    Frames(1);
    EXPECT_EQ(Values({us->health, us->spinTimer}), Values({0, 120}));
    EXPECT_EQ(Heard(), std::vector<std::string>{"whirl"});
}

TEST_F(HazardTest, WhirlpoolsPullTwoFramesInThreeNearAndOneInFourFarther) {
    AddWhirlpool(25, 25);  // centre (408, 405)
    Ship* us = AddPlayer(0, 0);
    // Level with the centre on an axis, a ship is pushed toward the smaller coordinate.
    // Ships reloading (held 1), struck (2) or sunk (3) are not pulled.
    struct Case { int32_t dx, dy, frame, stepX, stepY, held; } cases[] = {
        {20, 0, 0, -1, -1, 0}, {20, 0, 1, 0, 0, 0},   {20, 0, 4, 0, 0, 0},   {-27, 27, 2, 1, -1, 0},
        {0, 20, 3, -1, -1, 0}, {5, 4, 3, -1, -1, 0},  {4, 5, 3, -1, -1, 0},  {28, 0, 1, -1, -1, 0},
        {28, 0, 2, 0, 0, 0},   {44, -44, 9, -1, 1, 0}, {45, 0, 1, 0, 0, 0},  {0, 45, 1, 0, 0, 0},
        {20, 5, 0, 0, 0, 1},   {20, 5, 0, 0, 0, 2},   {20, 5, 0, 0, 0, 3},
    };
    for (const Case& c : cases) {
        us->x = 408 + c.dx, us->y = 405 + c.dy, frameCounter = c.frame;
        us->fireCooldown = 2 * (c.held == 1), us->hitTimer = 2 * (c.held == 2), us->health = c.held == 3 ? 0 : 5;
        UpdateShips();
        EXPECT_EQ(Values({us->x - 408 - c.dx, us->y - 405 - c.dy}), Values({c.stepX, c.stepY}))
            << c.dx << ", " << c.dy << " in frame " << c.frame;
    }
    // Two whirlpools pull twice: here the pulls on x cancel, those on y add up; a coast
    // holds a ship against the pull.
    AddWhirlpool(28, 25);  // centre (456, 405)
    us->x = 428, us->y = 420, us->health = 5, frameCounter = 5;
    UpdateShips();
    EXPECT_EQ(Values({us->x, us->y}), Values({428, 418}));
    SetCell(26, 24, CellLand);  // y 384..399: the bow at y - 7 touches it
    us->y = 407;
    UpdateShips();
    EXPECT_EQ(Values({us->x, us->y}), Values({428, 407}));
    // Nor may a pull lift the bow above the world's top edge, where the d-pad could.
    whirlpools.Clear();
    AddWhirlpool(25, 0);  // centre (408, 5)
    us->x = 428, us->y = 7, frameCounter = 0;
    UpdateShips();
    EXPECT_EQ(Values({us->x, us->y}), Values({427, 7}));
}

TEST_F(HazardTest, AWhirlpoolLivesItsTimeThenFreesItsCell) {
    AddWhirlpool(10, 12, 0);
    AgeWhirlpools();  // its last frame: below 0 now, and still there
    EXPECT_EQ(Values({whirlpools[0]->life, tileMap[CellIndex(10, 12)]}), Values({-1, CellWhirlpool}));
    AgeWhirlpools();
    EXPECT_EQ(Values({whirlpools.Count(), tileMap[CellIndex(10, 12)]}), Values({0, CellSea}));
}

TEST_F(HazardTest, BarrelsFillTheMagazineOrSayOncePerApproachThatItIsFull) {
    Ship* us = AddPlayer(400, 400);
    struct Case { int32_t balls, dx, dy, after; bool taken; } cases[] = {
        {7, 8, -8, 12, true}, {0, -8, 8, 6, true}, {11, 0, 0, 12, true}, {6, 9, 0, 6, false}, {6, 0, -9, 6, false}};
    for (const Case& c : cases) {
        barrels.Clear();
        barrels.Append(new Barrel{400 + c.dx, 400 + c.dy, false});
        cannonballCount = c.balls, popupTimer = popupKind = 0;
        UpdateShips();
        EXPECT_EQ(Values({cannonballCount, barrels.Count(), popupTimer, popupKind}),
                  Values({c.after, !c.taken, c.taken ? 29 : 0, c.taken ? PopupCannonballs : 0}));
    }
    // Full: the barrel stays and the captain hears it once, until the ship has left it.
    barrels.Clear();
    barrels.Append(new Barrel{404, 402, false});
    cannonballCount = 12;
    Frames(1);
    EXPECT_EQ(Values({overlayMode, barrels[0]->told, cannonballCount, dialog.portrait}), Values({OverlayDialog, 1, 12, 1}));
    EXPECT_EQ(dialog.text, fullMagazineText);
    EXPECT_EQ(Heard(), std::vector<std::string>{"beep"});
    Frames(40);
    Press(ButtonA);
    EXPECT_EQ(overlayMode, OverlayNone);
    Frames(30);  // sitting on it, nothing more is said
    EXPECT_EQ(overlayMode, OverlayNone);
    for (int32_t x : {398, 396, 395}) {  // 6, 8, then 9 pixels from it
        SetButtonKey(ButtonLeft, true);
        while (us->x > x) Frames(1);
        SetButtonKey(ButtonLeft, false);
        Frames(1);
        EXPECT_EQ(Values({barrels[0]->told, overlayMode}), Values({x != 395, OverlayNone})) << x;
    }
    SetButtonKey(ButtonRight, true);
    Frames(2);
    SetButtonKey(ButtonRight, false);
    EXPECT_EQ(Values({overlayMode, barrels.Count()}), Values({OverlayDialog, 1}));  // back on it: told again
}

}  // namespace
