// Pirate ships: which balls strike which ships and on which side, one timer at a time,
// wrecks, standing and firing in range, following a path, and the random draws of a
// spawn. When a pirate plans anew is pinned by the soak's recorded stretch of play.
#include "pirates/hazards.h"
#include "pirates/pirates.h"
#include "test_support.h"

namespace {

using PirateTest = GameTest;

TEST_F(PirateTest, BallsStrikeOnlyTheOtherSideInsideTheHullAndOneHitPointLeftCallsForDanger) {
    Ship* us = AddPlayer(400, 400);
    Ship* pirate = AddShip(2, 600, 400);
    // Heading right the hull spans x 397..412 and y 393..413 round (400, 400); the ball
    // is tested at (x + 3, y), (x + 7, y), (x + 1, y + 6) and (x + 7, y + 6).
    struct Case { bool atPirate; int32_t dx, dy, life; bool fromPlayer; int32_t headingX, health; bool strikes; } cases[] = {
        {false, 0, 0, 8, 0, 1, 5, true},    {false, 0, 0, 7, 0, 1, 5, false},  // a splash strikes nothing
        {false, 0, 0, 30, 1, 1, 5, false},  {true, 0, 0, 30, 0, 1, 3, false},  // nor our own, nor a pirate's a pirate
        {true, 0, 0, 30, 1, 1, 3, true},    {true, 0, 0, 30, 1, 1, 0, false},  // nor a wreck
        {false, -10, 0, 30, 0, 1, 5, true}, {false, -11, 0, 30, 0, 1, 5, false},
        {false, -12, 0, 30, 0, -1, 5, true},  // heading left moves the hull a pixel each way
        {false, 11, -10, 30, 0, 1, 5, true}, {false, 12, -10, 30, 0, 1, 5, false},
        {false, 9, 8, 30, 0, 1, 5, true},   {false, 11, 8, 30, 0, 1, 5, false},
        {false, 0, -13, 30, 0, 1, 5, true}, {false, 0, -14, 30, 0, 1, 5, false},
        {false, 0, 13, 30, 0, 1, 5, true},  {false, 0, 14, 30, 0, 1, 5, false},
    };
    for (const Case& c : cases) {
        Ship* target = c.atPirate ? pirate : us;
        target->headingX = c.headingX, target->headingY = 0, target->health = c.health;
        cannonballs.Clear();
        cannonballs.Append(new Cannonball{c.life, c.fromPlayer, target->x + c.dx, target->y + c.dy, 1, 0});
        UpdateShips();
        EXPECT_EQ(Values({cannonballs.Count(), target->health}), Values({!c.strikes, c.health - c.strikes}))
            << c.dx << ", " << c.dy;
    }
    // Several balls in one frame each take a hit point and start the stun again.
    struct Volley { int32_t health, balls; bool danger; } volleys[] = {
        {2, 1, true}, {3, 1, false}, {3, 2, true}, {4, 2, false}, {5, 4, true}, {2, 2, true}, {1, 1, false}};
    us->headingX = 1;
    cannonballs.Clear(), Heard();
    for (const Volley& v : volleys) {
        us->health = v.health, us->hitTimer = 9, currentMusic = MusicInGame;
        for (int32_t i = 0; i < v.balls; i++) cannonballs.Append(new Cannonball{20, 0, 397, 400 + i, 0, 1});
        UpdateShips();
        EXPECT_EQ(Values({cannonballs.Count(), us->health, us->hitTimer}), Values({0, v.health - v.balls, 15}));
        std::vector<std::string> sounds(v.balls, "hit");
        if (v.danger) sounds.insert(sounds.begin() + (v.health - 1), {"stop", "music danger"});
        EXPECT_EQ(Heard(), sounds) << v.health;
    }
}

TEST_F(PirateTest, TheSideStruckDependsOnTheBallsFlightAndTheShipsHeading) {
    // Rows: the ball's (vx, vy); columns: the ship's heading; both (-1, -1), (-1, 0),
    // (-1, 1), (0, -1), (0, 0), (0, 1), (1, -1), (1, 0), (1, 1).
    const int32_t side[9][9] = {
        {0, 0, 0, 1, 0, 0, 1, 0, 1}, {1, 1, 0, 1, 1, 0, 1, 1, 0}, {1, 1, 1, 1, 0, 0, 0, 1, 0},
        {0, 0, 0, 1, 0, 1, 1, 1, 1}, {0, 0, 1, 1, 0, 0, 1, 1, 0}, {1, 1, 1, 0, 1, 0, 0, 0, 0},
        {0, 0, 0, 0, 0, 1, 1, 0, 1}, {0, 0, 1, 0, 0, 1, 0, 0, 1}, {1, 1, 1, 0, 0, 1, 0, 1, 0},
    };
    Ship* us = AddPlayer(400, 400);
    for (int32_t v = 0; v < 9; v++)
        for (int32_t h = 0; h < 9; h++) {
            us->headingX = h / 3 - 1, us->headingY = h % 3 - 1, us->health = 5, us->hitSide = 1 - side[v][h];
            cannonballs.Append(new Cannonball{20, 0, 397, 400, v / 3 - 1, v % 3 - 1});
            UpdateShips();
            EXPECT_EQ(us->hitSide, side[v][h]) << "ball " << v << ", heading " << h;
        }
}

TEST_F(PirateTest, OneTimerRunsAtATimeTheSpinTurnsTheHeadingAndWrecksGoInTime) {
    Ship* us = AddPlayer(400, 400);
    us->health = 1;  // afloat still
    // Before: fireCooldown, hitTimer, sailTimer, spinTimer; after: the same and the heading.
    const Values cases[][2] = {
        {{3, 2, 5, 0}, {2, 2, 5, 0, 1, 0}},      {{0, 1, 5, 0}, {0, 0, 5, 0, 1, 0}},
        {{0, 0, 5, 0}, {0, 0, 4, 0, 1, 0}},      {{0, 0, 0, 0}, {0, 0, -1, 0, 1, 0}},
        {{0, 0, -1, 0}, {0, 0, -1, 0, 1, 0}},    {{1, 0, 3, 6}, {0, 0, 3, 5, -1, -1}},
        {{0, 0, -1, 1}, {0, 0, -1, 0, -1, 0}},   {{0, 0, -1, 11}, {0, 0, -1, 10, 0, -1}},
        {{0, 0, -1, 36}, {0, 0, -1, 35, 1, 1}},  {{0, 0, -1, 41}, {0, 0, -1, 40, -1, 0}},
    };
    for (const auto& c : cases) {
        us->fireCooldown = c[0][0], us->hitTimer = c[0][1], us->sailTimer = c[0][2], us->spinTimer = c[0][3];
        us->headingX = 1, us->headingY = 0;
        UpdateShips();
        EXPECT_EQ(Values({us->fireCooldown, us->hitTimer, us->sailTimer, us->spinTimer, us->headingX, us->headingY}),
                  c[1]);
    }
    EXPECT_EQ(us->sinkTimer, 500);
    // Sunk: the player's ship stays, and the pirates wait; a sunk pirate goes when its time
    // runs out, and the walk loses no other ship.
    us->health = 0, us->waypointX = us->waypointY = 5;
    for (int32_t timer : {1, 2, 1}) {
        Ship* wreck = AddShip(1, 600, 600);
        wreck->health = 0, wreck->sinkTimer = timer;
    }
    Ship* afloat = AddShip(2, 600, 700);
    afloat->waypointX = 700, afloat->waypointY = 700;
    Ship* stays = ships[2];
    UpdateShips();
    ASSERT_EQ(ships.Count(), 3);
    EXPECT_EQ(ships[1], stays);
    EXPECT_EQ(Values({stays->sinkTimer, us->sinkTimer, us->waypointX, us->waypointY, afloat->x, afloat->replanTimer}),
              Values({1, 499, -1, -1, 600, 30}));
}

// In range (each axis below 20 + rand() % 10 pixels, 2 less a level up to the fifth) a
// pirate stands, its timers waiting, and fires one frame in 55 (10 fewer a level) its
// port broadside at us: turned a quarter from our bearing, level on an axis within 7
// pixels. Out of range it sails.
TEST_F(PirateTest, InRangeAPirateStandsAndFiresOutOfRangeItSails) {
    Ship* us = AddPlayer(400, 400);
    Ship* pirate = AddShip(3, 400, 400);
    struct Case {
        int32_t level, dX, dY, spin, cooldown;
        std::vector<std::pair<int32_t, int32_t>> draws;
        bool inRange, fires;
        int32_t vx, vy;  // the ball's flight
    } cases[] = {
        {0, 25, 3, 0, 0, {{10, 6}, {10, 0}, {55, 1}}, true, true, 1, 0},
        {0, 25, 3, 0, 0, {{10, 5}}, false, false, 0, 0},  // 25 is not below 20 + 5
        {0, 3, -25, 0, 0, {{10, 0}, {10, 6}, {55, 1}}, true, true, 0, -1},
        {0, 3, -25, 0, 0, {{10, 9}, {10, 5}}, false, false, 0, 0},
        {0, -8, -15, 0, 0, {{10, 0}, {10, 0}, {55, 2}}, true, false, 0, 0},
        {0, -8, -15, 0, 0, {{10, 0}, {10, 0}, {55, 1}}, true, true, -1, -1},
        {5, 12, 0, 0, 0, {{10, 3}, {10, 0}, {5, 1}}, true, true, 1, 0},
        {5, 12, 0, 0, 0, {{10, 2}}, false, false, 0, 0},  // from the fifth islands on, 10 + the draw
        {7, -9, 15, 0, 0, {{10, 6}, {10, 6}, {5, 1}}, true, true, -1, 1},
        {7, -9, 15, 0, 0, {{10, 6}, {10, 5}}, false, false, 0, 0},
        {0, 3, 15, 6, 0, {{10, 0}, {10, 0}, {55, 1}}, true, true, -1, 1},  // the spin's heading (-1, -1)
        {0, 7, 15, 0, 0, {{10, 0}, {10, 0}, {55, 1}}, true, true, 0, 1},   // level on x within 7
        {0, 15, 7, 0, 0, {{10, 0}, {10, 0}, {55, 1}}, true, true, 1, 0},
        {0, -7, 7, 0, 0, {{10, 0}, {10, 0}, {55, 1}}, true, true, 0, 0},   // level both ways: it does not fly
        {0, 3, 3, 0, 5, {{10, 0}, {10, 0}}, true, false, 0, 0},            // reloading: no chance drawn
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "level " << c.level << ", " << c.dX << ", " << c.dY);
        level = c.level;
        cannonballs.Clear();
        us->x = 400 + c.dX, us->y = 400 + c.dY, us->health = 5;
        *pirate = Ship{-1, 1, 0, -1, -1, 7, 50, 0, c.spin, 500, 1, 500, 400, c.cooldown + 1, 0, 400, 400, 1, 0, 3, 3};
        const int32_t after = SeedDraws(c.draws);
        UpdateShips();
        EXPECT_EQ(std::rand(), after);
        const bool sails = !c.inRange && c.spin == 0 && c.cooldown == 0;
        const bool strikes = c.fires && c.vx == 0 && c.vy == 0;  // leaves inside our hull, and strikes at once
        EXPECT_EQ(Values({pirate->x, pirate->blockedTimer, pirate->replanTimer, pirate->fireCooldown, us->health,
                          cannonballs.Count()}),
                  Values({400 + sails, c.inRange ? 7 : c.cooldown > 0 ? 199 : 6, 50 - !c.inRange,
                          c.fires ? 16 : c.cooldown, 5 - strikes, c.fires && !strikes}));
        if (cannonballs.Count() == 0) continue;
        const Cannonball* ball = cannonballs[0];
        EXPECT_EQ(Values({ball->life, ball->fromPlayer, ball->x - pirate->headingX, ball->y, ball->vx, ball->vy,
                          pirate->fireSide}),
                  Values({50, 0, 400, 400, c.vx, c.vy, 0}));
    }
}

TEST_F(PirateTest, ABlockedOrHeldPirateTriesItsOtherSide) {
    AddPlayer(100, 800);
    Ship* pirate = AddShip(1, 408, 402);
    // Its waypoint lies east; it aims 4 below or above it, + 3: from 399, at y 406 or 398.
    struct Case { std::vector<std::pair<int32_t, int32_t>> land; int32_t waypointY, cooldown; Values after; } cases[] = {
        // x, y, sideOffset, blockedTimer, heading and sailTimer: set by a step
        {{}, 399, 0, {409, 403, 1, 6, 1, 1, 15}},                                 // down and right
        {{}, 395, 0, {409, 402, 1, 6, 1, 0, 15}},                                 // level with its aim
        {{}, 399, 4, {408, 402, -1, 199, -1, -1, -1}},                            // held by its reload: blocked
        {{{25, 26}, {26, 25}}, 399, 0, {408, 401, -1, 6, 0, -1, 15}},             // the other side: up
        {{{25, 26}, {26, 25}, {25, 24}}, 399, 0, {408, 402, -1, 199, -1, -1, -1}},  // both ways blocked
    };
    for (const Case& c : cases) {
        std::memset(tileMap, 0, sizeof tileMap);
        for (auto [cx, cy] : c.land) SetCell(cx, cy, CellLand);
        *pirate = Ship{-1, 0, 0, -1, -1, 7, 50, 0, 0, 500, 1, 480, c.waypointY, c.cooldown + 1, 0, 408, 402, 0, 0, 3, 1};
        UpdateShips();
        EXPECT_EQ(Values({pirate->x, pirate->y, pirate->sideOffset, pirate->blockedTimer, pirate->headingX,
                          pirate->headingY, pirate->sailTimer}),
                  c.after);
    }
}

// A spawn draws its chance first: one in 700 a frame for a pirate (25 fewer a level, at
// least 200), 400 for a barrel, 550 for a whirlpool (20 fewer a level, at least 50), and
// nothing at all with its list full. Then a pirate draws its replanTimer, a free cell
// (column then row, again until the cell and its four neighbours are open sea), its
// heading (again while (0, 0)), kind and health; a barrel or a whirlpool its free cell.
// On a bay in the land most cells drawn are refused; what is made comes out as recorded:
// a pirate's replanTimer, x, y, heading, health and kind, a barrel's or a whirlpool's
// place (and the whirlpool's mark on its cell), and the numbers drawn in all.
TEST_F(PirateTest, SpawnsDrawTheirChanceThenAFreeCellThenTheRestInOrder) {
    std::memset(tileMap, CellLand, sizeof tileMap);
    for (int32_t c = 0; c < 56; c++)
        for (int32_t r = 0; r < 56; r++)
            if ((c >= 30 && c <= 50 && r >= 10 && r <= 40) || c < 2 || r < 2) SetCell(c, r, CellSea);
    SetCell(40, 20, CellPort), SetCell(35, 30, CellWhirlpool), SetCell(45, 35, -2);
    AddPlayer(100, 100);
    // present: what the list holds already (for pirates, the ships with ours)
    struct Case { char what; int32_t level, present; std::vector<std::pair<int32_t, int32_t>> draws; Values made; int32_t taken; } cases[] = {
        {'p', 0, 1, {{700, 1}, {30, 0}}, {25, 790, 625, -1, 1, 2, 3}, 10}, {'p', 0, 1, {{700, 2}}, {}, 1},
        {'p', 4, 8, {{600, 1}, {30, 10}}, {35, 742, 465, -1, 1, 3, 1}, 18},
        {'p', 19, 23, {{225, 1}, {30, 20}}, {45, 678, 529, -1, 0, 6, 1}, 14},
        {'p', 30, 34, {{200, 1}, {30, 29}}, {54, 614, 529, -1, 0, 14, 3}, 14}, {'p', 0, 5, {{700, 1}}, {}, 0},
        {'p', 30, 35, {{200, 1}}, {}, 0},
        {'b', 0, 8, {{400, 1}}, {600, 597, false}, 13}, {'b', 0, 8, {{400, 0}}, {}, 1}, {'b', 30, 9, {{400, 1}}, {}, 0},
        {'w', 0, 5, {{550, 1}}, {504, 245, CellWhirlpool, 6000}, 13},
        {'w', 10, 15, {{350, 1}}, {632, 501, CellWhirlpool, 6000}, 13},
        {'w', 24, 29, {{70, 1}}, {584, 245, CellWhirlpool, 6000}, 11},
        {'w', 40, 45, {{50, 1}}, {712, 629, CellWhirlpool, 6000}, 13}, {'w', 3, 9, {{490, 1}}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.what << " level " << c.level);
        level = c.level;
        while (ships.Count() > 1) ships.RemoveAt(1);
        barrels.Clear(), whirlpools.Clear();
        for (int32_t i = c.what == 'p'; i < c.present; i++) {
            if (c.what == 'p') AddShip(1, 300, 300);
            if (c.what == 'b') barrels.Append(new Barrel{8, 5, false});
            if (c.what == 'w') whirlpools.Append(new Whirlpool{6000, 8, 5});
        }
        const Values numbers = RandFrom(SeedFor(c.draws), c.taken + 1);
        (c.what == 'p' ? SpawnPirates : c.what == 'b' ? SpawnBarrels : SpawnWhirlpools)();
        EXPECT_EQ(std::rand(), numbers[c.taken]);
        Values made;
        if (c.what == 'p' && ships.Count() > c.present) {
            const Ship& p = *ships[ships.Count() - 1];
            EXPECT_EQ(Values(&p.sailTimer, &p.replanTimer), Values({-1, 0, 0, -1, -1, 0}));
            EXPECT_EQ(Values(&p.hitTimer, &p.x), Values({0, 0, 500, 1, -1, -1, 0, 0}));
            made = {p.replanTimer, p.x, p.y, p.headingX, p.headingY, p.health, p.kind};
        }
        if (c.what == 'b' && barrels.Count() > c.present) made = {barrels[c.present]->x, barrels[c.present]->y, barrels[c.present]->told};
        if (c.what == 'w' && whirlpools.Count() > c.present) {
            const Whirlpool& w = *whirlpools[c.present];
            made = {w.x, w.y, tileMap[CellIndex(w.x / 16, w.y / 16)], w.life};
            SetCell(w.x / 16, w.y / 16, CellSea);
        }
        EXPECT_EQ(made, c.made);
    }
    // A cell is refused for land on any of its four sides, but not for land two cells off.
    for (const auto& [dx, dy] : {std::pair{-1, 0}, {0, -1}, {1, 0}, {0, 1}, {-2, 0}, {0, -2}, {2, 0}, {0, 2}}) {
        std::memset(tileMap, CellSea, sizeof tileMap);
        SetCell(20 + dx, 20 + dy, CellLand);
        SeedDraws({{55, 20}, {55, 20}});
        int32_t x, y;
        DrawFreeCell(x, y);
        EXPECT_EQ(x == 20 && y == 20, std::abs(dx + dy) == 2) << dx << ", " << dy;
    }
    // On open sea the first cell drawn is free; the heading drawn (0, 0) is drawn again.
    std::memset(tileMap, CellSea, sizeof tileMap);
    while (ships.Count() > 1) ships.RemoveAt(1);
    level = 0;
    const Values numbers = RandFrom(SeedFor({{700, 1}, {1, 0}, {1, 0}, {1, 0}, {3, 1}, {3, 1}}), 11);
    SpawnPirates();
    const Ship& p = *ships[1];
    EXPECT_EQ(Values({p.replanTimer, p.x, p.y, p.headingX, p.headingY, p.health, p.kind, std::rand()}),
              Values({31, 38, 753, 1, 0, 2, 1, numbers[10]}));
}

}  // namespace
