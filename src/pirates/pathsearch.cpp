#include "pirates/pathsearch.h"

#include <cstring>

#include "pirates/pirates.h"

PathNode pathNodes[kMapCells * kMapCells];
int32_t pathNodeCount;
PathNode* closedNodes[kPathBudget];
int32_t closedNodeCount;

namespace {

// A node's score is its cost less the bonus for nearing the goal, 50 x (D0 / d), where
// D0 is the start's squared distance from the goal in cells and d the node's (1 at the
// goal). The bonus is fixed per cell, so the score moves only when the cost drops.
//
// The search expands the node of lowest score, and among equal scores the one found
// last. Both fit in one number, the node's key: score + 50 x D0 (never negative, below
// 2^19) in the high bits and the node's place in pathNodes, counted down from 4095, in
// the low 12; the smallest key is the node to take.
constexpr int32_t kPlaceBits = 12;
constexpr uint32_t kLastPlace = (1u << kPlaceBits) - 1;

// The keys of the nodes waiting to be expanded, as a binary heap with the smallest on
// top, and each node's slot in it. Nodes whose score is at or above the ceiling are not
// in it: they cannot be taken until a cheaper route lowers them. The slot after the last
// key holds kNoKey, so that a last child never needs a brother.
constexpr uint32_t kNoKey = 0xFFFFFFFF;
uint32_t openNodes[kMapCells * kMapCells + 1];
int32_t openCount;
int16_t heapSlots[kMapCells * kMapCells];
// True while the top key is the node being expanded: it stays until the first key pushed
// in its expansion takes its place, or is taken off after the expansion.
bool topTaken;

// The current key of each node of pathNodes.
uint32_t openKeys[kMapCells * kMapCells];

// What the search knows of each cell. mark - markBase is the cost of the cell's node
// while it waits, 0 once it is expanded or the cell is found blocked (so that no route
// is ever cheaper), and 4096 or more when the search has not reached the cell: the
// marks of earlier searches lie below markBase, so nothing needs clearing between
// searches. Routes never cost 4096.
constexpr uint32_t kUnreached = 1u << kPlaceBits;
uint32_t cellMarks[kMapCells * kMapCells];
uint32_t markBase;

// The place in pathNodes of the node of each cell the search has reached.
uint16_t cellPlaces[kMapCells * kMapCells];

// The search under way: the goal's cell, D0, and the ceiling on the high bits of keys
// (a score of 150 x D0 is a key of 200 x D0).
int32_t goalX;
int32_t goalY;
int32_t startDistance;
uint32_t keyCeiling;

// Puts a key in a slot of the heap, and notes the slot for its node.
void PutKey(int32_t slot, uint32_t key) {
    openNodes[slot] = key;
    heapSlots[kLastPlace - (key & kLastPlace)] = static_cast<int16_t>(slot);
}

// Moves a key up from a slot past the greater keys above it.
void Climb(int32_t slot, uint32_t key) {
    while (slot > 0 && key < openNodes[(slot - 1) / 2]) {
        PutKey(slot, openNodes[(slot - 1) / 2]);
        slot = (slot - 1) / 2;
    }
    PutKey(slot, key);
}

// Puts a key in the top slot, sinking it along the smaller children as far as it must:
// not far at all when it is the smallest, as a key just pushed often is.
void ReplaceTop(uint32_t key) {
    int32_t hole = 0;
    for (int32_t child = 1; child < openCount; child = 2 * hole + 1) {
        child += openNodes[child + 1] < openNodes[child];
        if (key < openNodes[child]) break;
        PutKey(hole, openNodes[child]);
        hole = child;
    }
    PutKey(hole, key);
}

// Takes the top key off: the last key takes its place.
void PopOpen() {
    const uint32_t last = openNodes[--openCount];
    openNodes[openCount] = kNoKey;
    if (openCount > 0) ReplaceTop(last);
}

void PushOpen(uint32_t key) {
    if (key >> kPlaceBits >= keyCeiling) return;
    if (topTaken) {
        topTaken = false;
        ReplaceTop(key);
        return;
    }
    openNodes[++openCount] = kNoKey;
    Climb(openCount - 1, key);
}

// The node of the cell at (cx, cy), tileMap index `cell`, found by a route of the given
// cost from `from`.
void AddNode(int32_t cx, int32_t cy, int32_t cell, uint32_t cost, PathNode* from) {
    const int32_t n = pathNodeCount++;
    pathNodes[n] = PathNode{cx, cy, static_cast<int32_t>(cost), from};
    cellMarks[cell] = markBase + cost;
    cellPlaces[cell] = static_cast<uint16_t>(n);
    int32_t d = (cx - goalX) * (cx - goalX) + (cy - goalY) * (cy - goalY);
    if (d == 0) d = 1;
    const uint32_t bonusLeft = static_cast<uint32_t>(50 * startDistance - 50 * (startDistance / d));
    openKeys[n] = (cost + bonusLeft) << kPlaceBits | (kLastPlace - static_cast<uint32_t>(n));
    PushOpen(openKeys[n]);
}

// A route of the given cost from `from` to its neighbour in direction k, cheaper than
// what the search knows of that cell (known, as in cellMarks). Kept out of the loop over
// the neighbours, which mostly finds nothing to do, so that the loop stays lean.
[[gnu::noinline]] void Reach(PathNode* from, int32_t k, int32_t cell, uint32_t cost, uint32_t known) {
    if (known < kUnreached) {
        // Still waiting: the cheaper route re-parents the node and lowers its key.
        const int32_t n = cellPlaces[cell];
        pathNodes[n].cost = static_cast<int32_t>(cost);
        pathNodes[n].parent = from;
        cellMarks[cell] = markBase + cost;
        const bool queued = openKeys[n] >> kPlaceBits < keyCeiling;
        openKeys[n] -= (known - cost) << kPlaceBits;
        if (!queued) {
            PushOpen(openKeys[n]);
            return;
        }
        // The expanded node on top must go first, or the lowered key could climb over it.
        if (topTaken) {
            topTaken = false;
            PopOpen();
        }
        Climb(heapSlots[n], openKeys[n]);
    } else if (CodeBlocksShip(tileMap[cell])) {
        cellMarks[cell] = markBase;  // never asked again
    } else {
        AddNode(from->cellX + spinHeadings[k][0], from->cellY + spinHeadings[k][1], cell, cost, from);
    }
}

}  // namespace

void PlanPath(Ship* pirate) {
    const int32_t startX = pirate->x / kCellSize, startY = pirate->y / kCellSize;
    goalX = player->x / kCellSize;
    goalY = player->y / kCellSize;
    startDistance = (startX - goalX) * (startX - goalX) + (startY - goalY) * (startY - goalY);
    keyCeiling = static_cast<uint32_t>(200 * startDistance);

    // Last search's nodes are recycled. Every 2^20 searches the marks wrap round and are
    // cleared.
    markBase += kUnreached;
    if (markBase == 0) {
        std::memset(cellMarks, 0, sizeof cellMarks);
        markBase = kUnreached;
    }
    pathNodeCount = 0;
    closedNodeCount = 0;
    openCount = 0;
    topTaken = false;
    // The start cell's passability is never asked.
    AddNode(startX, startY, CellIndex(startX, startY), 0, nullptr);

    // Straight steps only while blocked: the diagonals are the odd directions. The
    // directions of the spin as bits, bit k for entry k, by the edges they would cross.
    const uint32_t allowed = pirate->blockedTimer >= 1 ? 0x55 : 0xFF;
    uint32_t westward = 0, eastward = 0, northward = 0, southward = 0;
    for (int32_t k = 0; k < 8; k++) {
        westward |= (spinHeadings[k][0] < 0) << k;
        eastward |= (spinHeadings[k][0] > 0) << k;
        northward |= (spinHeadings[k][1] < 0) << k;
        southward |= (spinHeadings[k][1] > 0) << k;
    }
    PathNode* goal = nullptr;
    for (int32_t budget = kPathBudget; openCount > 0;) {
        const uint32_t place = kLastPlace - (openNodes[0] & kLastPlace);
        topTaken = true;
        PathNode* chosen = &pathNodes[place];
        closedNodes[closedNodeCount++] = chosen;
        const int32_t cell = CellIndex(chosen->cellX, chosen->cellY);
        cellMarks[cell] = markBase;
        if (chosen->cellX == goalX && chosen->cellY == goalY) {
            goal = chosen;
            break;
        }

        // Neighbours in the order of the spin. Most are expanded, blocked or no cheaper.
        const uint32_t chosenCost = static_cast<uint32_t>(chosen->cost);
        uint32_t ways = allowed;
        if (chosen->cellX == 0) ways &= ~westward;
        if (chosen->cellX == kMapCells - 1) ways &= ~eastward;
        if (chosen->cellY == 0) ways &= ~northward;
        if (chosen->cellY == kMapCells - 1) ways &= ~southward;
        // Unrolled: the test of each direction is a few instructions in a row.
#pragma GCC unroll 8
        for (int32_t k = 0; k < 8; k++) {
            if ((ways >> k & 1) == 0) continue;
            const int32_t next = cell + CellIndex(spinHeadings[k][0], spinHeadings[k][1]);
            const uint32_t cost = chosenCost + (k % 2 == 1 ? 5 : 3);
            const uint32_t known = cellMarks[next] - markBase;
            if (cost < known) Reach(chosen, k, next, cost, known);
        }
        if (topTaken) {
            PopOpen();
            topTaken = false;
        }

        if (--budget == 0) break;
    }

    if (goal == nullptr) {
        pirate->waypointX = -1;
        pirate->waypointY = -1;
        return;
    }
    // The first cell of the path is the one whose parent is the start.
    const PathNode* first = goal;
    while (first->parent != &pathNodes[0]) first = first->parent;
    pirate->waypointX = first->cellX * kCellSize + 8;
    pirate->waypointY = first->cellY * kCellSize;
}
