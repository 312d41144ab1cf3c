// Pirate ships: which balls strike which ships, the side they strike, one timer at a
// time, sinking, facing, standing and firing in range, following a path, re-planning,
// and every random draw of a spawn replayed from the raw numbers.
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
        level = 0;
        music.clear();
        musicStarted = [](int32_t i) { music.push_back(i); };
    }
    void TearDown() override {
        musicStarted = nullptr;
        SeaTest::TearDown();
    }
    static inline std::vector<int32_t> music;
};

TEST_F(PirateTest, BallsStrikeOnlyTheOtherSideInsideTheHull) {
    Ship* us = AddPlayer(400, 400);
    Ship* pirate = AddShip(2, 600, 400);
    // Around (400, 400) heading right the hull spans x 397..412 and y 393..413; the ball
    // is tested at (x + 3, y), (x + 7, y), (x + 1, y + 6) and (x + 7, y + 6).
    struct Case { bool atPirate; int32_t dx, dy, life, fromPlayer, headingX, health; bool strikes; } cases[] = {
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
        target->headingX = c.headingX, target->headingY = 0, target->health = c.health, target->hitTimer = 0;
        cannonballs.Clear();
        cannonballs.Append(new Cannonball{c.life, c.fromPlayer, target->x + c.dx, target->y + c.dy, 1, 0});
        UpdateShips();
        EXPECT_EQ(cannonballs.Count(), c.strikes ? 0 : 1) << c.dx << ", " << c.dy;
        EXPECT_EQ(target->health, c.health - c.strikes) << c.dx << ", " << c.dy;
    }
}

TEST_F(PirateTest, SeveralBallsStrikeInOneFrameAndOneHitPointLeftCallsForDanger) {
    Ship* us = AddPlayer(400, 400);
    struct Case { int32_t health, balls; bool danger; } cases[] = {
        {2, 1, true}, {3, 1, false}, {3, 2, true}, {4, 2, false}, {5, 4, true}, {2, 2, true}, {1, 1, false}};
    for (const Case& c : cases) {
        us->health = c.health, us->hitTimer = 9, currentMusic = MusicInGame;
        for (int32_t i = 0; i < c.balls; i++) cannonballs.Append(new Cannonball{20, 0, 397, 400 + i, 0, 1});
        played.clear(), music.clear();
        UpdateShips();
        EXPECT_EQ(cannonballs.Count(), 0);
        EXPECT_EQ(us->health, c.health - c.balls);
        EXPECT_EQ(us->hitTimer, 15);  // the last strike set 16, the frame took one
        EXPECT_EQ(played, std::vector<int32_t>(c.balls, SoundHit));
        EXPECT_EQ(music, c.danger ? std::vector<int32_t>{MusicDanger} : std::vector<int32_t>{}) << c.health;
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
    struct Case { int32_t fire, hit, sail, spin, fireAfter, hitAfter, sailAfter, headingX, headingY; } cases[] = {
        {3, 2, 5, 0, 2, 2, 5, 1, 0},     {0, 2, 5, 0, 0, 1, 5, 1, 0},     {0, 0, 5, 0, 0, 0, 4, 1, 0},
        {0, 0, 0, 0, 0, 0, -1, 1, 0},    {0, 0, -1, 0, 0, 0, -1, 1, 0},   {1, 0, 3, 6, 0, 0, 3, -1, -1},
        {0, 0, -1, 1, 0, 0, -1, -1, 0},  {0, 0, -1, 36, 0, 0, -1, 1, 1},  {0, 0, -1, 41, 0, 0, -1, -1, 0},
        {0, 0, -1, 120, 0, 0, -1, 1, 1}, {0, 0, -1, 11, 0, 0, -1, 0, -1},
    };
    for (const Case& c : cases) {
        us->fireCooldown = c.fire, us->hitTimer = c.hit, us->sailTimer = c.sail, us->spinTimer = c.spin;
        us->headingX = 1, us->headingY = 0;
        UpdateShips();
        EXPECT_EQ(std::vector<int32_t>({us->fireCooldown, us->hitTimer, us->sailTimer, us->headingX, us->headingY}),
                  std::vector<int32_t>({c.fireAfter, c.hitAfter, c.sailAfter, c.headingX, c.headingY}))
            << c.fire << " " << c.hit << " " << c.sail << " " << c.spin;
        EXPECT_EQ(us->spinTimer, c.spin > 0 ? c.spin - 1 : 0);
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
    EXPECT_EQ(std::vector<int32_t>({stays->sinkTimer, us->sinkTimer, us->waypointX, us->waypointY}),
              std::vector<int32_t>({1, 499, -1, -1}));
}

TEST_F(PirateTest, PiratesTurnTheirBroadsideToThePlayerWithinDeadZones) {
    Ship* us = AddPlayer(0, 0);
    Ship* pirate = AddShip(1, 400, 400);
    struct Case { int32_t dX, dY, headingX, headingY; } cases[] = {
        {7, 7, 0, 0}, {-7, -7, 0, 0}, {8, 0, 0, 1}, {-8, 8, -1, -1}, {0, -20, 1, 0}, {-7, -8, 1, 0}, {100, 100, -1, 1}};
    for (const Case& c : cases) {
        us->x = 400 + c.dX, us->y = 400 + c.dY, pirate->fireCooldown = 5;  // reloading: no firing
        UpdateShips();
        EXPECT_EQ(std::make_pair(pirate->headingX, pirate->headingY), std::make_pair(c.headingX, c.headingY))
            << c.dX << ", " << c.dY;
    }
}

// The range, a little random each frame and narrower on later islands, and the chance to
// fire, replayed from the raw numbers for many seeds: in range the pirate stands (its
// timers wait), fires along its broadside, and draws nothing more.
TEST_F(PirateTest, InRangeAPirateStandsAndFiresOutOfRangeItSails) {
    Ship* us = AddPlayer(400, 400);
    Ship* pirate = AddShip(3, 400, 400);
    // strikesUs: the ball leaves inside our hull and strikes us in the same frame.
    struct Case { int32_t level, dX, dY, spin, cooldown, vx, vy; bool strikesUs; } cases[] = {
        {0, 25, 3, 0, 0, 1, 0, false}, {0, 3, -25, 0, 0, 0, -1, false}, {5, 12, 0, 0, 0, 1, 0, false},
        {7, -9, 15, 0, 0, -1, 1, false},
        {0, 3, 15, 6, 0, -1, 1, false},  // the spin's heading (-1, -1), not the player's bearing
        {0, -7, 7, 0, 0, 0, 0, true},    // level with us: a ball that does not fly
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
            *pirate = Ship{0, 0, -1, 1, 0, -1, -1, 7, 50, 0, c.spin, 500, 1, 500, 400, c.cooldown + 1, 0, 400, 400,
                           1, 0, 3, 3};
            srand(seed);
            UpdateShips();
            ASSERT_EQ(rand(), next) << c.dX << ", " << c.dY << " seed " << seed;
            const bool sails = !inRange && c.spin == 0 && c.cooldown == 0;
            ASSERT_EQ(pirate->x, sails ? 401 : 400) << seed;
            ASSERT_EQ(pirate->blockedTimer, inRange ? 7 : c.cooldown > 0 ? 199 : 6) << seed;
            ASSERT_EQ(pirate->replanTimer, inRange ? 50 : 49) << seed;
            ASSERT_EQ(pirate->fireCooldown, fires ? 16 : c.cooldown) << seed;
            ASSERT_EQ(us->health, fires && c.strikesUs ? 4 : 5) << seed;
            ASSERT_EQ(cannonballs.Count(), fires && !c.strikesUs ? 1 : 0) << seed;
            if (cannonballs.Count() == 0) continue;
            const Cannonball* ball = cannonballs[0];
            EXPECT_EQ(std::vector<int32_t>({ball->life, ball->fromPlayer, ball->x - pirate->headingX, ball->y,
                                            ball->vx, ball->vy, pirate->fireSide, pirate->fireCooldown}),
                      std::vector<int32_t>({50, 0, 400, 400, c.vx, c.vy, 0, 16}));
        }
        EXPECT_EQ(shots > 0, c.cooldown == 0 && c.dX < 40) << c.dX << ", " << c.dY;
    }
}

TEST_F(PirateTest, ABlockedOrHeldPirateTriesItsOtherSide) {
    AddPlayer(100, 800);
    Ship* pirate = AddShip(1, 408, 402);
    // Its waypoint lies to the east; its aim is 4 below or above, + 3: y 406 or 398.
    struct Case { std::vector<std::pair<int32_t, int32_t>> land; int32_t cooldown, x, y, side, blocked, heading; } cases[] = {
        {{}, 0, 409, 403, 1, 6, 1},                                   // down and right, sails set
        {{}, 4, 408, 402, -1, 199, 0},                                // held by its reload: counts as blocked
        {{{25, 26}, {26, 25}}, 0, 408, 401, -1, 6, -1},               // the other side: up
        {{{25, 26}, {26, 25}, {25, 24}}, 0, 408, 402, -1, 199, 0},    // both ways blocked
    };
    for (const Case& c : cases) {
        std::memset(tileMap, 0, sizeof tileMap);
        for (auto [cx, cy] : c.land) SetCell(cx, cy, CellLand);
        *pirate = Ship{0, 0, -1, 0, 0, -1, -1, 7, 50, 0, 0, 500, 1, 480, 399, c.cooldown + 1, 0, 408, 402, 0, 0, 3, 1};
        UpdateShips();
        EXPECT_EQ(std::vector<int32_t>({pirate->x, pirate->y, pirate->sideOffset, pirate->blockedTimer}),
                  std::vector<int32_t>({c.x, c.y, c.side, c.blocked}));
        if (c.heading == 0) continue;
        EXPECT_EQ(std::vector<int32_t>({pirate->prevX, pirate->prevY, pirate->headingY, pirate->sailTimer}),
                  std::vector<int32_t>({408, 402, c.heading, 15}));
    }
}

TEST_F(PirateTest, PiratesPlanAfreshWhenTheirTimeComesUnlessInThePlayersCell) {
    Ship* us = AddPlayer(100, 800);
    Ship* pirate = AddShip(1, 400, 400);
    // 7 is no waypoint a search could give: it stays until the pirate plans.
    pirate->waypointX = -1, pirate->waypointY = 7, pirate->replanTimer = 3, pirate->blockedTimer = 2;
    for (int32_t frame = 1; frame <= 3; frame++) {
        UpdateShips();
        EXPECT_EQ(std::vector<int32_t>({pirate->replanTimer, pirate->blockedTimer, pirate->waypointY}),
                  std::vector<int32_t>({3 - frame, std::max(2 - frame, 0), 7}));
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
    for (;; seed++) {  // the range draw misses: 15 is not below 10 + r
        srand(seed);
        if (rand() % 10 < 6) break;
    }
    const int32_t next = rand() % 15 + 5;
    pirate->waypointY = 7, pirate->replanTimer = 0;
    srand(seed);
    UpdateShips();
    EXPECT_EQ(pirate->replanTimer, next);
    EXPECT_EQ(pirate->waypointY, 7);
}

// A hand-made sea: land everywhere but a bay with a port, a whirlpool and a rock, and
// the two outermost rows and columns of the world.
void BuildBay() {
    std::memset(tileMap, CellLand, sizeof tileMap);
    for (int32_t c = 0; c < 56; c++)
        for (int32_t r = 0; r < 56; r++)
            if ((c >= 30 && c <= 50 && r >= 10 && r <= 40) || c < 2 || r < 2) SetCell(c, r, CellSea);
    SetCell(40, 20, CellPort);
    SetCell(35, 30, CellWhirlpool);
    SetCell(45, 35, -2);
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

TEST_F(PirateTest, SpawnsDrawTheirChanceThenAFreeCellThenTheRestInOrder) {
    BuildBay();
    AddPlayer(100, 100);
    // present: what the list holds already (the ships with the player); chance 0: none.
    struct Case { std::string what; int32_t level, present, chance; } cases[] = {
        {"pirate", 0, 1, 700},     {"pirate", 4, 8, 600},      {"pirate", 20, 24, 200},  {"pirate", 30, 34, 200},
        {"pirate", 0, 5, 0},       {"pirate", 30, 35, 0},      {"barrel", 0, 8, 400},    {"barrel", 30, 9, 0},
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
            std::vector<int32_t> expected;  // the new record, field by field
            if (c.chance > 0 && rand() % c.chance == 1) {
                spawned++;
                if (c.what == "pirate") {
                    const int32_t replan = rand() % 30 + 25;
                    const auto [cx, cy] = ReplayFreeCell();
                    int32_t hx, hy;
                    do hx = rand() % 3 - 1, hy = rand() % 3 - 1;
                    while (hx == 0 && hy == 0);
                    const int32_t kind = rand() % 3 + 1;
                    const int32_t health = rand() % (level + 4) / 2 + 2;
                    expected = {0, 0, -1, 0, 0, -1, -1, 0, replan, 0, 0, 500, 1, -1, -1, 0, 0, cx * 16 + 6, cy * 16 + 1,
                                hx, hy, health, kind};
                } else {
                    const auto [cx, cy] = ReplayFreeCell();
                    expected = c.what == "barrel" ? std::vector<int32_t>{cx * 16 + 8, cy * 16 + 5, 0}
                                                  : std::vector<int32_t>{6000, cx * 16 + 8, cy * 16 + 5};
                }
            }
            const int32_t next = rand();

            srand(seed);
            if (c.what == "pirate") SpawnPirates();
            if (c.what == "barrel") SpawnBarrels();
            if (c.what == "whirlpool") SpawnWhirlpools();
            ASSERT_EQ(rand(), next) << c.what << " level " << c.level << " seed " << seed;
            std::vector<int32_t> made;
            if (c.what == "pirate" && ships.Count() > c.present) {
                const int32_t* f = &ships[c.present]->prevX;
                made.assign(f, f + 23);
                ships.RemoveAt(c.present);
            }
            if (c.what == "barrel" && barrels.Count() > c.present) {
                made = {barrels[c.present]->x, barrels[c.present]->y, barrels[c.present]->told};
                barrels.RemoveAt(c.present);
            }
            if (c.what == "whirlpool" && whirlpools.Count() > c.present) {
                const Whirlpool* w = whirlpools[c.present];
                made = {w->life, w->x, w->y};
                EXPECT_EQ(tileMap[CellIndex(w->x / 16, w->y / 16)], CellWhirlpool);
                SetCell(w->x / 16, w->y / 16, CellSea);
                whirlpools.RemoveAt(c.present);
            }
            ASSERT_EQ(made, expected) << c.what << " level " << c.level << " seed " << seed;
        }
        EXPECT_EQ(spawned, c.chance > 0 ? 4 : 0) << c.what << " level " << c.level;
    }
}

}  // namespace
