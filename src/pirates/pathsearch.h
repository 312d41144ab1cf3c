// The pirates' way through the islands: a best-first search over the cells of the map
// from a pirate's cell toward the player's, with step costs, a bonus for nearing the
// goal, a score ceiling and a budget of 500 expansions. Only the first cell of the path
// it finds is kept, as the pirate's next waypoint.
#pragma once
#include <cstdint>

#include "world/world.h"

// One cell the search has reached.
struct PathNode {
    int32_t cellX;     // 0..55
    int32_t cellY;     // 0..55
    int32_t cost;      // of the best route known from the start cell: 3 a straight step, 5 a diagonal
    PathNode* parent;  // the node that route came from; null for the start
};

constexpr int32_t kPathBudget = 500;  // expansions a search may make

// The nodes of the last search, kept until the next one starts: a node for every cell it
// reached (at most one a cell), in the order it found them, the start cell's first. A
// node waiting to be expanded keeps its place in this order, and among equal scores the
// one found last is expanded first. These are views into the search's own records, to
// read only.
extern const PathNode* const pathNodes;
extern const int32_t& pathNodeCount;

// The nodes the last search expanded, in the order it took them; when it reached the
// player's cell, that node is the last.
extern PathNode* const* const closedNodes;
extern const int32_t& closedNodeCount;

// Sets the pirate's waypoint (the centre column and top row of the first cell of its path
// toward the player's cell), or -1, -1 when no path is found. The pirate's cell must not
// be the player's. While the pirate's blockedTimer runs, the path takes straight steps only.
void PlanPath(Ship* pirate);
