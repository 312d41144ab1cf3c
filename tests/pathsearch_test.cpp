// The pirates' path search: forty thousand searches on ten thousand generated sets of
// islands come out node for node as recorded (recorded when every one of them matched the
// rule followed literally, bench/pathsearch_literal.h), and small hand-made seas show what
// a player sees of it.
#include <algorithm>
#include <array>

#include "pirates/pathsearch.h"
#include "test_support.h"

namespace {

using PathSearchTest = GameTest;

// A node as the rule sees it: its cell, its cost and its parent's cell.
using NodeView = std::array<int32_t, 5>;

NodeView View(const PathNode* n) {
    return {n->cellX, n->cellY, n->cost, n->parent ? n->parent->cellX : -1, n->parent ? n->parent->cellY : -1};
}

// Folds a search's outcome into a print: the waypoint, the nodes expanded in
// order and the nodes left waiting in the order they were found, with cost and parent.
void Fold(Print* print, const Ship& pirate) {
    print->Add(pirate.waypointX), print->Add(pirate.waypointY);
    std::vector<bool> expanded(pathNodeCount);
    for (int32_t i = 0; i < closedNodeCount; i++) {
        expanded[closedNodes[i] - pathNodes] = true;
        for (int32_t n : View(closedNodes[i])) print->Add(n);
    }
    print->Add(-2);
    for (int32_t i = 0; i < pathNodeCount; i++)
        if (!expanded[i])
            for (int32_t n : View(&pathNodes[i])) print->Add(n);
    print->Add(-3);
}

// A pixel in cell c; row and column 0 also take -15..-1, which divide into cell 0.
int32_t PixelIn(int32_t c) { return c == 0 ? rand() % 31 - 15 : c * 16 + rand() % 16; }

TEST_F(PathSearchTest, EverySearchComesOutAsRecordedNodeForNode) {
    int32_t searches = 0, found = 0, exhausted = 0, cut = 0, blocked = 0;
    Print print;
    for (unsigned seed = 0; seed < 10000; seed++) {
        std::srand(seed);
        level = static_cast<int32_t>(seed % 6);
        GenerateIslands();
        // Whirlpools on open sea in half the worlds. A quarter are lanes of sea a cell wide,
        // each wall between two with one gap: a near player may be far by water, and
        // the ceiling cuts the search short.
        if (seed % 4 == 3) {
            for (int32_t cy = 1; cy < 56; cy += 2) {
                for (int32_t cx = 0; cx < 56; cx++) tileMap[CellIndex(cx, cy)] = CellLand;
                tileMap[CellIndex(rand() % 56, cy)] = CellSea;
            }
        } else if (seed % 2 == 1) {
            for (int32_t i = rand() % 12; i > 0; i--) {
                const int32_t cell = rand() % (56 * 56);
                if (tileMap[cell] == CellSea) tileMap[cell] = CellWhirlpool;
            }
        }
        // Near pairs; pairs anywhere, often far, half of them after the same player; pairs
        // from a port or a whirlpool; and last the player walled in, with the pirate far
        // (the search spends its whole budget) or near (the ceiling cuts it short).
        int32_t gx = 0, gy = 0;
        for (int32_t kind = 0; kind < 4; kind++) {
            int32_t sx = rand() % 56, sy = rand() % 56;
            if (kind == 0) {
                gx = std::clamp(sx + rand() % 5 - 2, 0, 55), gy = std::clamp(sy + rand() % 5 - 2, 0, 55);
            } else if (kind != 1 || rand() % 2 == 0) {
                gx = rand() % 56, gy = rand() % 56;
            }
            if (kind == 2) {
                const Port* port = ports[rand() % ports.Count()];
                sx = port->cellX, sy = port->cellY;
                for (int32_t cell = 0; cell < 56 * 56; cell++)
                    if (tileMap[cell] == CellWhirlpool && rand() % 4 == 0) gx = cell / 56, gy = cell % 56;
            }
            if (kind == 3) {
                gx = 2 + rand() % 52, gy = 2 + rand() % 52, sx = 55 - gx, sy = 55 - gy;
                if (rand() % 2 == 0) sx = std::clamp(gx + rand() % 9 - 4, 0, 55), sy = std::clamp(gy + rand() % 9 - 4, 0, 55);
                const int8_t walls[] = {2, 3, 4, 5, 6, -2, -3, -4};
                for (int32_t dx = -1; dx <= 1; dx++)
                    for (int32_t dy = -1; dy <= 1; dy++)
                        if (dx != 0 || dy != 0) tileMap[CellIndex(gx + dx, gy + dy)] = walls[rand() % 8];
            }
            player->x = PixelIn(gx), player->y = PixelIn(gy);
            Ship pirate{};
            pirate.x = PixelIn(sx), pirate.y = PixelIn(sy);
            pirate.blockedTimer = rand() % 3 == 0 ? 1 + rand() % 200 : 0;
            SCOPED_TRACE(::testing::Message() << "seed " << seed << " kind " << kind << " from " << sx << ", " << sy
                                              << " to " << gx << ", " << gy << " blocked " << pirate.blockedTimer);

            PlanPath(&pirate);
            Fold(&print, pirate);
            searches++;
            found += pirate.waypointX != -1;
            exhausted += closedNodeCount == kPathBudget;
            cut += pirate.waypointX == -1 && closedNodeCount < kPathBudget && pathNodeCount > closedNodeCount;
            blocked += pirate.blockedTimer > 0;
        }
    }
    EXPECT_EQ(print.value, 0x2bb976f2d4b5b9eau);
    // Every ending is well represented: found, the budget spent, the sea searched out, cut
    // short by the ceiling; and blocked pirates.
    EXPECT_EQ(Values({searches, found, exhausted, cut, blocked}), Values({40000, 17980, 10444, 595, 13206}));
    level = 0;
}

// What the search knows of each cell is kept from one search to the next and made anew
// only about once in a million searches: on either side of that the player next door is
// still found at the second expansion.
TEST_F(PathSearchTest, SearchesStillFindTheWayAMillionSearchesLater) {
    SetCell(55, 55, -3);  // a sea no other test has: its first search marks it anew
    AddPlayer(0, 0);
    for (int32_t i = 0; i < (1 << 20) + 8192; i++) {  // on every cell of the open sea in turn
        const int32_t cx = i % 55, cy = i / 55 % 55;
        Ship pirate{};
        pirate.x = cx * 16 + 8, pirate.y = cy * 16 + 8, player->x = pirate.x + 16, player->y = pirate.y;
        PlanPath(&pirate);
        ASSERT_EQ(Values({pirate.waypointX, closedNodeCount}), Values({player->x, 2})) << "search " << i;
    }
}

// From a corner of an open sea to the far one the search files its nodes at ranks above
// 2^18, in the second group of its files: emptied after each search, they leave nothing
// behind, and the same search again comes out the same.
TEST_F(PathSearchTest, TheFarthestSearchComesOutTheSameEachTime) {
    AddPlayer(54 * 16 + 8, 55 * 16 + 8);
    Values first;
    for (int32_t i = 0; i < 3; i++) {
        Ship pirate{};
        pirate.x = pirate.y = 8;
        PlanPath(&pirate);
        const Values now({pirate.waypointX, pirate.waypointY, closedNodeCount, pathNodeCount});
        if (i == 0) first = now;
        EXPECT_EQ(now, first) << "search " << i;
    }
}

// Hand-made seas: a picture of cells with its top left corner at (left, top), on a sea
// that is otherwise all water or all land. '.' sea, '#' land, 'r' a rock, 'P' a port
// (whirlpools and land are among the recorded searches).
TEST_F(PathSearchTest, WhatThePiratesFind) {
    const std::string corridor = std::string(56, '.');
    struct Case {
        const char* what;
        int32_t outside;
        int32_t left, top;
        std::vector<std::string> picture;
        int32_t sx, sy, gx, gy, blockedTimer;
        int32_t wx, wy;  // the waypoint's cell, -1, -1 for none
        int32_t expanded;
    } cases[] = {
        {"the player next door", CellSea, 0, 0, {}, 10, 10, 11, 10, 0, 11, 10, 2},
        // The straight neighbours next to the player score better than the player's cell
        // and are expanded first, offering it no cheaper route.
        {"the player a diagonal away", CellSea, 0, 0, {}, 10, 10, 11, 11, 0, 11, 11, 4},
        // Straight steps only: (10, 11) and (11, 10) score alike, and the one found
        // later, (11, 10), is taken first; the goal is found from it, and (10, 11)
        // offers no cheaper route.
        {"the diagonal while blocked", CellSea, 0, 0, {}, 10, 10, 11, 11, 1, 11, 10, 4},
        {"through a diagonal gap", CellSea, 9, 9, {"....", "..##", ".#.#", ".###"}, 10, 10, 11, 11, 0, 11, 11, 2},
        {"not through it while blocked", CellSea, 9, 9, {"....", "..##", ".#.#", ".###"}, 10, 10, 11, 11, 200, -1, -1,
         500},
        {"walled in, far away", CellSea, 39, 39, {"###", "#.#", "###"}, 5, 5, 40, 40, 0, -1, -1, 500},
        // The player's cell is land. A score of 150 is not below the ceiling: the 51st
        // cell of the channel, 150 away, is never taken.
        {"out of reach next door", CellLand, 0, 10, {corridor}, 0, 10, 0, 11, 0, -1, -1, 50},
        {"past a port to a port", CellLand, 0, 10, {"...P..P" + corridor}, 0, 10, 6, 10, 0, 1, 10, 7},
        {"not past a rock", CellLand, 0, 10, {"...r..." + corridor}, 0, 10, 6, 10, 0, -1, -1, 3},
        // (13, 12) is found from (12, 11) at cost 10; the later route from (13, 11)
        // costs 6 and re-parents it while it waits, so the path leaves by (13, 11).
        {"a cheaper route while waiting", CellLand, 9, 9, {"######", "##.#.#", "#....#", "####.#", "#....#", "######"}, 13,
         10, 10, 13, 0, 13, 11, 9},
        // (12, 11) is expanded at cost 11, reached by way of (11, 13) and (12, 12); the
        // route of 10 from (11, 12) comes after and changes nothing.
        {"no cheaper route once expanded", CellLand, 9, 9,
         {"#######", "##...##", "#...#.#", "#...#.#", "#...#.#", "#######"}, 10, 13, 14, 13, 0, 11, 13, 12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::memset(tileMap, static_cast<int8_t>(c.outside), sizeof tileMap);
        for (size_t row = 0; row < c.picture.size(); row++)
            for (size_t col = 0; col < c.picture[row].size() && c.left + col < 56; col++) {
                const char m = c.picture[row][col];
                SetCell(c.left + static_cast<int32_t>(col), c.top + static_cast<int32_t>(row),
                        m == '#' ? CellLand : m == 'r' ? -3 : m == 'P' ? CellPort : CellSea);
            }
        AddPlayer(c.gx * 16 + 8, c.gy * 16 + 6);
        Ship pirate{};
        pirate.x = c.sx * 16 + 15, pirate.y = c.sy * 16;
        pirate.blockedTimer = c.blockedTimer;
        const std::vector<int32_t> expected =
            c.wx < 0 ? std::vector<int32_t>{-1, -1} : std::vector<int32_t>{c.wx * 16 + 8, c.wy * 16};
        PlanPath(&pirate);
        EXPECT_EQ(Values({pirate.waypointX, pirate.waypointY, closedNodeCount}), Values({expected[0], expected[1], c.expanded}));
        ClearWorldLists();
    }
}

}  // namespace
