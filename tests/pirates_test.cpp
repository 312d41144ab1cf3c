// Pirate ships: which balls strike which ships and on which side, one timer at a time,
// wrecks, standing and firing in range, following a path, re-planning, and every random
// draw of a spawn replayed from the raw numbers.
#include <cstdlib>
#include <string>

#include "pirates/hazards.h"
#include "pirates/pirates.h"
#include "seaview_support.h"

namespace {

class PirateTest : public SeaTest {
protected:
    void SetUp() override {
        SeaTest::SetUp();
        srand(1);
    }
};

using Values = std::vector<int32_t>;

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
    cannonballs.Clear();
    for (const Volley& v : volleys) {
        us->health = v.health, us->hitTimer = 9, currentMusic = MusicInGame;
        for (int32_t i = 0; i < v.balls; i++) cannonballs.Append(new Cannonball{20, 0, 397, 400 + i, 0, 1});
        played.clear(), music.clear();
        UpdateShips();
        EXPECT_EQ(Values({cannonballs.Count(), us->health, us->hitTimer}), Values({0, v.health - v.balls, 15}));
        EXPECT_EQ(played, Values(v.balls, SoundHit));
        EXPECT_EQ(music, v.danger ? Values{MusicDanger} : Values{}) << v.health;
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
            ASSERT_EQ(cannonballs.Count(), 0);
            EXPECT_EQ(us->hitSide, side[v][h]) << "ball " << v << ", heading " << h;
        }
}

TEST_F(PirateTest, OneTimerRunsAtATimeTheSpinTurnsTheHeadingAndWrecksGoInTime) {
    Ship* us = AddPlayer(400, 400);
    // Before: fireCooldown, hitTimer, sailTimer, spinTimer; after: the same and the heading.
    const Values cases[][2] = {
        {{3, 2, 5, 0}, {2, 2, 5, 0, 1, 0}},      {{0, 2, 5, 0}, {0, 1, 5, 0, 1, 0}},
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
    // Sunk: the player's ship stays; a pirate goes when its time runs out, and the walk
    // loses no other ship.
    us->health = 0, us->waypointX = us->waypointY = 5;
    for (int32_t timer : {1, 2, 1}) {
        Ship* wreck = AddShip(1, 600, 600);
        wreck->health = 0, wreck->sinkTimer = timer;
    }
    Ship* stays = ships[2];
    UpdateShips();
    ASSERT_EQ(ships.Count(), 2);
    EXPECT_EQ(ships[1], stays);
    EXPECT_EQ(Values({stays->sinkTimer, us->sinkTimer, us->waypointX, us->waypointY}), Values({1, 499, -1, -1}));
}

// The range, a little random each frame and narrower on later islands, and the chance to
// fire, replayed from the raw numbers for many seeds: in range the pirate stands (its
// timers wait) and fires its port broadside at us, turned a quarter from our bearing but
// level on an axis within 7 pixels; out of range it sails.
TEST_F(PirateTest, InRangeAPirateStandsAndFiresOutOfRangeItSails) {
    Ship* us = AddPlayer(400, 400);
    Ship* pirate = AddShip(3, 400, 400);
    // strikesUs: the ball leaves inside our hull and strikes us in the same frame.
    struct Case { int32_t level, dX, dY, spin, cooldown, vx, vy; bool strikesUs; } cases[] = {
        {0, 25, 3, 0, 0, 1, 0, false},  {0, 3, -25, 0, 0, 0, -1, false}, {5, 12, 0, 0, 0, 1, 0, false},
        {7, -9, 15, 0, 0, -1, 1, false}, {0, -8, -15, 0, 0, -1, -1, false},
        {0, 3, 15, 6, 0, -1, 1, false},  // the spin's heading (-1, -1), not our bearing
        {0, -7, 7, 0, 0, 0, 0, true},    // level with us both ways: a ball that does not fly
        {0, 3, 3, 0, 5, 0, 0, false},    // reloading: no chance drawn
        {2, 40, 0, 0, 0, 0, 0, false},
    };
    for (const Case& c : cases) {
        level = c.level;
        const int32_t hardness = std::min(level, 5), range = 20 - 2 * hardness;
        int32_t shots = 0;
        for (int32_t seed = 1; seed <= 1000; seed++) {
            srand(seed);
            bool inRange = std::abs(c.dX) < range + rand() % 10;
            if (inRange) inRange = std::abs(c.dY) < range + rand() % 10;
            const bool fires = inRange && c.cooldown == 0 && rand() % (55 - 10 * hardness) == 1;
            const int32_t next = rand();
            shots += fires;

            cannonballs.Clear();
            us->x = 400 + c.dX, us->y = 400 + c.dY, us->health = 5;
            *pirate = Ship{-1, 1, 0, -1, -1, 7, 50, 0, c.spin, 500, 1, 500, 400, c.cooldown + 1, 0, 400, 400,
                           1, 0, 3, 3};
            srand(seed);
            UpdateShips();
            ASSERT_EQ(rand(), next) << c.dX << ", " << c.dY << " seed " << seed;
            const bool sails = !inRange && c.spin == 0 && c.cooldown == 0;
            ASSERT_EQ(Values({pirate->x, pirate->blockedTimer, pirate->replanTimer, pirate->fireCooldown, us->health,
                              cannonballs.Count()}),
                      Values({400 + sails, inRange ? 7 : c.cooldown > 0 ? 199 : 6, 50 - !inRange,
                              fires ? 16 : c.cooldown, 5 - (fires && c.strikesUs), fires && !c.strikesUs}))
                << c.dX << ", " << c.dY << " seed " << seed;
            if (cannonballs.Count() == 0) continue;
            const Cannonball* ball = cannonballs[0];
            EXPECT_EQ(Values({ball->life, ball->fromPlayer, ball->x - pirate->headingX, ball->y, ball->vx, ball->vy,
                              pirate->fireSide}),
                      Values({50, 0, 400, 400, c.vx, c.vy, 0}));
        }
        EXPECT_EQ(shots > 0, c.cooldown == 0 && c.dX < 40) << c.dX << ", " << c.dY;
    }
}

TEST_F(PirateTest, ABlockedOrHeldPirateTriesItsOtherSide) {
    AddPlayer(100, 800);
    Ship* pirate = AddShip(1, 408, 402);
    // Its waypoint lies east; it aims 4 below or above it, + 3: at y 406 or 398.
    struct Case { std::vector<std::pair<int32_t, int32_t>> land; int32_t cooldown, x, y, side, blocked, heading; } cases[] = {
        {{}, 0, 409, 403, 1, 6, 1},                                 // down and right, the sails set
        {{}, 4, 408, 402, -1, 199, 0},                              // held by its reload: counts as blocked
        {{{25, 26}, {26, 25}}, 0, 408, 401, -1, 6, -1},             // the other side: up
        {{{25, 26}, {26, 25}, {25, 24}}, 0, 408, 402, -1, 199, 0},  // both ways blocked
    };
    for (const Case& c : cases) {
        std::memset(tileMap, 0, sizeof tileMap);
        for (auto [cx, cy] : c.land) SetCell(cx, cy, CellLand);
        *pirate = Ship{-1, 0, 0, -1, -1, 7, 50, 0, 0, 500, 1, 480, 399, c.cooldown + 1, 0, 408, 402, 0, 0, 3, 1};
        UpdateShips();
        EXPECT_EQ(Values({pirate->x, pirate->y, pirate->sideOffset, pirate->blockedTimer}),
                  Values({c.x, c.y, c.side, c.blocked}));
        if (c.heading == 0) continue;
        EXPECT_EQ(Values({pirate->headingY, pirate->sailTimer}), Values({c.heading, 15}));
    }
}

TEST_F(PirateTest, PiratesPlanAfreshWhenTheirTimeComesUnlessInThePlayersCell) {
    Ship* us = AddPlayer(100, 800);
    Ship* pirate = AddShip(1, 400, 400);
    // 7 is no waypoint a search could give: it stays until the pirate plans.
    pirate->waypointX = -1, pirate->waypointY = 7, pirate->replanTimer = 3, pirate->blockedTimer = 2;
    for (int32_t frame = 1; frame <= 3; frame++) {
        UpdateShips();
        EXPECT_EQ(Values({pirate->replanTimer, pirate->blockedTimer, pirate->waypointY}),
                  Values({3 - frame, std::max(2 - frame, 0), 7}));
    }
    srand(9);
    rand();  // far out of range on x: a single range draw
    const int32_t timer = rand() % 15 + 5;
    srand(9);
    UpdateShips();
    EXPECT_EQ(pirate->replanTimer, timer);
    EXPECT_NE(pirate->waypointY, 7);

    // In the player's cell (on later islands, out of range now and then) it keeps its way.
    level = 5;
    us->x = 415, us->y = 415;
    int32_t seed = 1;
    for (srand(seed); rand() % 10 >= 6; srand(++seed)) {  // the range draw misses: 15 is not below 10 + r
    }
    const int32_t next = rand() % 15 + 5;
    pirate->x = pirate->y = 400, pirate->waypointX = -1, pirate->waypointY = 7, pirate->replanTimer = 0;
    srand(seed);
    UpdateShips();
    EXPECT_EQ(Values({pirate->replanTimer, pirate->waypointY}), Values({next, 7}));
}

// The cell drawing, replayed: column, then row, until the cell and its four neighbours
// are open sea inside the world.
std::pair<int32_t, int32_t> ReplayFreeCell() {
    const auto sea = [](int32_t c, int32_t r) { return c >= 0 && c < 56 && r >= 0 && r < 56 && tileMap[c * 56 + r] == 0; };
    for (;;) {
        const int32_t c = rand() % 55, r = rand() % 55;
        if (sea(c, r) && sea(c - 1, r) && sea(c, r - 1) && sea(c + 1, r) && sea(c, r + 1)) return {c, r};
    }
}

// The new record's fields (and a whirlpool's mark on the map), replayed from the raw
// numbers; none when the chance fails.
Values ReplaySpawn(const std::string& what, int32_t chance) {
    if (chance == 0 || rand() % chance != 1) return {};
    if (what != "pirate") {
        const auto [c, r] = ReplayFreeCell();
        return what == "barrel" ? Values{c * 16 + 8, r * 16 + 5, 0} : Values{6000, c * 16 + 8, r * 16 + 5, CellWhirlpool};
    }
    const int32_t replan = rand() % 30 + 25;
    const auto [c, r] = ReplayFreeCell();
    int32_t hx, hy;
    do hx = rand() % 3 - 1, hy = rand() % 3 - 1;
    while (hx == 0 && hy == 0);
    const int32_t kind = rand() % 3 + 1;
    const int32_t health = rand() % (level + 4) / 2 + 2;
    return {-1, 0, 0, -1, -1, 0, replan, 0, 0, 500, 1, -1, -1, 0, 0, c * 16 + 6, r * 16 + 1, hx, hy, health, kind};
}

// The record the spawn made at index i, taken out of its list again.
Values TakeSpawned(const std::string& what, int32_t i) {
    Values made;
    if (what == "pirate" && ships.Count() > i) {
        made.assign(&ships[i]->sailTimer, &ships[i]->sailTimer + 21);
        ships.RemoveAt(i);
    } else if (what == "barrel" && barrels.Count() > i) {
        made = {barrels[i]->x, barrels[i]->y, barrels[i]->told};
        barrels.RemoveAt(i);
    } else if (what == "whirlpool" && whirlpools.Count() > i) {
        const Whirlpool* w = whirlpools[i];
        made = {w->life, w->x, w->y, tileMap[CellIndex(w->x / 16, w->y / 16)]};
        SetCell(w->x / 16, w->y / 16, CellSea);
        whirlpools.RemoveAt(i);
    }
    return made;
}

TEST_F(PirateTest, SpawnsDrawTheirChanceThenAFreeCellThenTheRestInOrder) {
    // Land everywhere but a bay with a port, a whirlpool and a rock, and the two outermost
    // rows and columns of the world.
    std::memset(tileMap, CellLand, sizeof tileMap);
    for (int32_t c = 0; c < 56; c++)
        for (int32_t r = 0; r < 56; r++)
            if ((c >= 30 && c <= 50 && r >= 10 && r <= 40) || c < 2 || r < 2) SetCell(c, r, CellSea);
    SetCell(40, 20, CellPort), SetCell(35, 30, CellWhirlpool), SetCell(45, 35, -2);
    AddPlayer(100, 100);
    // present: what the list holds already (for pirates, the ships with ours); chance 0: none.
    struct Case { std::string what; int32_t level, present, chance; } cases[] = {
        {"pirate", 0, 1, 700},     {"pirate", 4, 8, 600},      {"pirate", 20, 24, 200},   {"pirate", 30, 34, 200},
        {"pirate", 0, 5, 0},       {"pirate", 30, 35, 0},      {"barrel", 0, 8, 400},     {"barrel", 30, 9, 0},
        {"whirlpool", 0, 5, 550},  {"whirlpool", 10, 15, 350}, {"whirlpool", 25, 30, 50}, {"whirlpool", 40, 45, 50},
        {"whirlpool", 3, 9, 0},
    };
    for (const Case& c : cases) {
        level = c.level;
        while (ships.Count() > 1) ships.RemoveAt(1);
        barrels.Clear(), whirlpools.Clear();
        for (int32_t i = 0; i < c.present; i++) {
            if (c.what == "pirate" && i > 0) AddShip(1, 300, 300);
            if (c.what == "barrel") barrels.Append(new Barrel{8, 5, 0});
            if (c.what == "whirlpool") whirlpools.Append(new Whirlpool{6000, 8, 5});
        }
        int32_t spawned = 0;
        for (int32_t seed = 1; seed <= 6000 && spawned < 4; seed++) {
            srand(seed);
            const Values expected = ReplaySpawn(c.what, c.chance);
            const int32_t next = rand();
            srand(seed);
            (c.what == "pirate" ? SpawnPirates : c.what == "barrel" ? SpawnBarrels : SpawnWhirlpools)();
            ASSERT_EQ(rand(), next) << c.what << " level " << c.level << " seed " << seed;
            ASSERT_EQ(TakeSpawned(c.what, c.present), expected) << c.what << " level " << c.level << " seed " << seed;
            spawned += !expected.empty();
        }
        EXPECT_EQ(spawned, c.chance > 0 ? 4 : 0) << c.what << " level " << c.level;
    }
}

}  // namespace
