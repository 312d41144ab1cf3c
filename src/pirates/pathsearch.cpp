#include "pirates/pathsearch.h"

#include <cstring>

#include "pirates/pirates.h"

namespace {

// A node's score is its cost less the bonus for nearing the goal, 50 x (D0 / d), where
// D0 is the start's squared distance from the goal in cells and d the node's (1 at the
// goal). The bonus is fixed per cell, so the score moves only when the cost drops.
//
// The search expands the node of lowest score, and among equal scores the one found
// last. It files the waiting nodes by rank, the score plus 50 x D0: never negative, and
// below 2^19, since D0 is at most 2 x 55^2 and a cost at most 5 a step for 500 steps.
// A node whose score is at or above the ceiling of 150 x D0 (a rank of 200 x D0) is not
// filed: it cannot be taken until a cheaper route lowers it.
constexpr uint32_t kRanks = 1 << 19;

// The search sees the map with a border a cell wide all round, which no route enters: no
// neighbour is ever off its map. A spot is a cell's index on it.
constexpr int32_t kSide = kMapCells + 2;
constexpr int32_t Spot(int32_t cx, int32_t cy) { return (cx + 1) * kSide + cy + 1; }

// The step between spots for each of the eight directions, in the order of the pirates'
// spin, the order in which a node's neighbours are tried; the odd ones are the diagonals.
constexpr int32_t SpotStep(int32_t k) { return spinHeadings[k][0] * kSide + spinHeadings[k][1]; }
constexpr int32_t kSpotSteps[8] = {SpotStep(0), SpotStep(1), SpotStep(2), SpotStep(3),
                                   SpotStep(4), SpotStep(5), SpotStep(6), SpotStep(7)};

// Routes never cost this much: see marks below.
constexpr uint32_t kUnreached = 4096;

// Everything the search keeps, in one record (the search loop reaches every part of it
// from one address).
struct Search {
    // The nodes of the last search, in the order found, and those it expanded, in the
    // order taken (see pathsearch.h). A node is known by its place in nodes.
    PathNode nodes[kMapCells * kMapCells];
    int32_t nodeCount;
    PathNode* closed[kPathBudget];
    int32_t closedCount;

    // What the search knows of each spot, as its mark. A mark of 0 is a spot no route
    // enters: the border, and every cell that blocks ships. Otherwise mark - markBase is
    // the cost of the spot's node while it waits, 0 once it is expanded (so that no route
    // is ever cheaper), and kUnreached or more when the search has not reached it. A route
    // of cost c to a spot is thus news exactly when markBase + c is below the spot's mark.
    // markBase falls by kUnreached at every search, leaving the marks of earlier searches
    // above it, so nothing needs clearing between searches.
    uint32_t marks[kSide * kSide];
    uint32_t markBase;
    // The map as the blocked cells were last marked from it. When the map has changed
    // since (a whirlpool comes or goes, new islands), or markBase has run down, the marks
    // are made anew.
    int8_t surveyedMap[kMapCells * kMapCells];

    // The place of the node of each spot the search has reached, and each node's spot
    // and rank.
    uint16_t spotPlaces[kSide * kSide];
    int32_t nodeSpots[kMapCells * kMapCells];
    uint32_t nodeRanks[kMapCells * kMapCells];

    // For each rank, the list of its waiting nodes, the one found last first: the head of
    // the lowest rank's list is the node to expand. The start node, place 0, is expanded
    // first and never filed, so 0 ends a list: rankHeads holds the first place of each
    // list (0 for none), and nextInRank the place after each node.
    uint16_t rankHeads[kRanks];
    uint16_t nextInRank[kMapCells * kMapCells];
    // Which ranks have a list, a bit a rank; above that a bit for each word of them that
    // is not empty, and above that a bit for each word of those, so that the lowest rank
    // in use is three steps down from the top. No word below lowestWord holds a bit: the
    // nodes taken are mostly of ranks close together, and the top is seldom needed.
    uint64_t rankBits[kRanks / 64];
    uint64_t rankWords[kRanks / 64 / 64];
    uint64_t rankGroups[kRanks / 64 / 64 / 64];
    uint32_t lowestWord;

    // The search under way: the goal's cell, D0 and 50 x D0, and the ceiling on ranks.
    int32_t goalX, goalY;
    int32_t startDistance;
    // Each cell's d, the squared distance in cells from the goal's cell (but 1 at the goal
    // itself), measured for the goal on the spot measuredFor; the pirates of one frame all
    // seek the same goal.
    int32_t distances[kSide * kSide];
    int32_t measuredFor;
    uint32_t fullBonus;
    uint32_t rankCeiling;
} search;

inline uint32_t Lowest(uint64_t bits) { return static_cast<uint32_t>(__builtin_ctzll(bits)); }
inline uint64_t Bit(uint32_t i) { return uint64_t{1} << (i & 63); }

inline void UseRank(uint32_t rank) {
    const uint32_t word = rank / 64;
    if (search.rankBits[word] == 0) {
        search.rankWords[word / 64] |= Bit(word);
        search.rankGroups[word / 64 / 64] |= Bit(word / 64);
        if (word < search.lowestWord) search.lowestWord = word;
    }
    search.rankBits[word] |= Bit(rank);
}

inline void ReleaseRank(uint32_t rank) {
    const uint32_t word = rank / 64;
    if ((search.rankBits[word] &= ~Bit(rank)) != 0) return;
    if ((search.rankWords[word / 64] &= ~Bit(word)) != 0) return;
    search.rankGroups[word / 64 / 64] &= ~Bit(word / 64);
}

// Files node n, found after every other, under its rank: it heads the list.
inline void FileNew(int32_t n, uint32_t rank) {
    search.nextInRank[n] = search.rankHeads[rank];
    search.rankHeads[rank] = static_cast<uint16_t>(n);
    if (search.nextInRank[n] == 0) UseRank(rank);
}

// Files node n under its rank, after the nodes found later.
inline void File(int32_t n, uint32_t rank) {
    uint16_t* link = &search.rankHeads[rank];
    if (*link == 0) UseRank(rank);
    while (*link > n) link = &search.nextInRank[*link];
    search.nextInRank[n] = *link;
    *link = static_cast<uint16_t>(n);
}

// Takes node n out of its rank's list.
inline void Unfile(int32_t n, uint32_t rank) {
    uint16_t* link = &search.rankHeads[rank];
    while (*link != n) link = &search.nextInRank[*link];
    *link = search.nextInRank[n];
    if (search.rankHeads[rank] == 0) ReleaseRank(rank);
}

// The node to expand: the one found last of the lowest rank, taken out of its list; 0
// when none is left.
inline int32_t TakeBest() {
    if (search.rankBits[search.lowestWord] == 0) {
        const uint32_t group = search.rankGroups[0] != 0 ? 0 : 1;
        if (search.rankGroups[group] == 0) return 0;
        const uint32_t words = group * 64 + Lowest(search.rankGroups[group]);
        search.lowestWord = words * 64 + Lowest(search.rankWords[words]);
    }
    const uint32_t rank = search.lowestWord * 64 + Lowest(search.rankBits[search.lowestWord]);
    const int32_t n = search.rankHeads[rank];
    search.rankHeads[rank] = search.nextInRank[n];
    if (search.nextInRank[n] == 0) ReleaseRank(rank);
    return n;
}

// Empties the files of what the last search left waiting.
void ClearFiles() {
    for (uint32_t group = 0; group < kRanks / 64 / 64 / 64; group++)
        for (uint64_t& groupBits = search.rankGroups[group]; groupBits != 0; groupBits &= groupBits - 1) {
            const uint32_t words = group * 64 + Lowest(groupBits);
            for (uint64_t& wordBits = search.rankWords[words]; wordBits != 0; wordBits &= wordBits - 1) {
                const uint32_t word = words * 64 + Lowest(wordBits);
                for (uint64_t& bits = search.rankBits[word]; bits != 0; bits &= bits - 1)
                    search.rankHeads[word * 64 + Lowest(bits)] = 0;
            }
        }
    search.lowestWord = kRanks / 64 - 1;
}

void Survey() {
    std::memcpy(search.surveyedMap, tileMap, sizeof search.surveyedMap);
    std::memset(search.marks, 0, sizeof search.marks);
    for (int32_t cx = 0; cx < kMapCells; cx++)
        for (int32_t cy = 0; cy < kMapCells; cy++)
            search.marks[Spot(cx, cy)] = CodeBlocksShip(tileMap[CellIndex(cx, cy)]) ? 0 : UINT32_MAX;
    search.markBase = UINT32_MAX - kUnreached;
}

void MeasureDistances() {
    for (int32_t cx = 0; cx < kMapCells; cx++)
        for (int32_t cy = 0; cy < kMapCells; cy++) {
            const int32_t d = (cx - search.goalX) * (cx - search.goalX) + (cy - search.goalY) * (cy - search.goalY);
            search.distances[Spot(cx, cy)] = d == 0 ? 1 : d;
        }
    search.measuredFor = Spot(search.goalX, search.goalY);
}

// The node of the cell at (cx, cy) on `spot`, found by a route of the given cost from
// `from`. Written out in each direction of the search's loop.
[[gnu::always_inline]] inline void AddNode(int32_t cx, int32_t cy, int32_t spot, uint32_t cost, PathNode* from) {
    const int32_t n = search.nodeCount++;
    search.nodes[n] = PathNode{cx, cy, static_cast<int32_t>(cost), from};
    search.nodeSpots[n] = spot;
    search.marks[spot] = search.markBase + cost;
    search.spotPlaces[spot] = static_cast<uint16_t>(n);
    const int32_t bonus = 50 * (search.startDistance / search.distances[spot]);
    const uint32_t rank = cost + search.fullBonus - static_cast<uint32_t>(bonus);
    search.nodeRanks[n] = rank;
    if (rank < search.rankCeiling) FileNew(n, rank);
}

// A cheaper route from `from` to a node still waiting on `spot`: it re-parents the node
// and lowers its rank. Rare enough to be kept out of the search's loop.
[[gnu::noinline]] void Lower(PathNode* from, int32_t spot, uint32_t cost) {
    const int32_t n = search.spotPlaces[spot];
    const uint32_t rank = search.nodeRanks[n];
    const uint32_t lowered = rank - (static_cast<uint32_t>(search.nodes[n].cost) - cost);
    search.nodes[n].cost = static_cast<int32_t>(cost);
    search.nodes[n].parent = from;
    search.marks[spot] = search.markBase + cost;
    search.nodeRanks[n] = lowered;
    if (rank < search.rankCeiling) Unfile(n, rank);
    if (lowered < search.rankCeiling) File(n, lowered);
}

// Expands nodes, the start's first, until the goal is taken, the budget is spent or
// nothing is left under the ceiling; returns the goal's node, or null. Only the straight
// directions, the even ones of the spin, while the pirate is blocked.
template <bool kStraightOnly>
PathNode* Expand() {
    const int32_t goalSpot = Spot(search.goalX, search.goalY);
    PathNode* goal = nullptr;
    int32_t closed = 0;  // also the budget spent
    for (int32_t n = 0;;) {
        PathNode* chosen = &search.nodes[n];
        search.closed[closed++] = chosen;
        const int32_t spot = search.nodeSpots[n];
        search.marks[spot] = search.markBase;
        if (spot == goalSpot) {
            goal = chosen;
            break;
        }

        // Neighbours in the order of the spin. Most are expanded, blocked or no cheaper;
        // a route to one is news when its cost over markBase is below the mark.
        const uint32_t straight = search.markBase + static_cast<uint32_t>(chosen->cost) + 3;
        const uint32_t diagonal = straight + 2;
        const uint32_t* around = &search.marks[spot];
#pragma GCC unroll 8
        for (int32_t k = 0; k < 8; k++) {
            if (kStraightOnly && k % 2 == 1) continue;
            const uint32_t news = k % 2 == 1 ? diagonal : straight;
            if (news >= around[kSpotSteps[k]]) continue;
            const int32_t next = spot + kSpotSteps[k];
            const uint32_t cost = news - search.markBase;
            if (search.marks[next] - search.markBase < kUnreached)
                Lower(chosen, next, cost);
            else
                AddNode(chosen->cellX + spinHeadings[k][0], chosen->cellY + spinHeadings[k][1], next, cost, chosen);
        }

        if (closed == kPathBudget) break;
        n = TakeBest();
        if (n == 0) break;
    }
    search.closedCount = closed;
    return goal;
}

}  // namespace

const PathNode* const pathNodes = search.nodes;
const int32_t& pathNodeCount = search.nodeCount;
PathNode* const* const closedNodes = search.closed;
const int32_t& closedNodeCount = search.closedCount;

void PlanPath(Ship* pirate) {
    const int32_t startX = pirate->x / kCellSize, startY = pirate->y / kCellSize;
    search.goalX = player->x / kCellSize;
    search.goalY = player->y / kCellSize;
    const int32_t dx = startX - search.goalX, dy = startY - search.goalY;
    search.startDistance = dx * dx + dy * dy;
    search.fullBonus = static_cast<uint32_t>(50 * search.startDistance);
    search.rankCeiling = static_cast<uint32_t>(200 * search.startDistance);

    // The last search's nodes are recycled; the distances are measured for a new goal, and
    // the marks made anew when they must be.
    if (search.measuredFor != Spot(search.goalX, search.goalY)) MeasureDistances();
    if (search.markBase < kUnreached || std::memcmp(search.surveyedMap, tileMap, sizeof search.surveyedMap) != 0)
        Survey();
    else
        search.markBase -= kUnreached;
    ClearFiles();

    // The start cell's passability is never asked: a pirate's cell may be one that blocks
    // ships, and then keeps its mark of 0 for later searches. Its score of -50 is under
    // the ceiling and it is the first node expanded, unless the pirate is in the player's
    // cell (which the pirates never ask): then score and ceiling are 0 and nothing is
    // expanded.
    const int32_t startSpot = Spot(startX, startY);
    const bool startBlocked = search.marks[startSpot] == 0;
    search.nodes[0] = PathNode{startX, startY, 0, nullptr};
    search.nodeSpots[0] = startSpot;
    search.nodeCount = 1;
    search.closedCount = 0;
    const PathNode* goal = search.startDistance == 0 ? nullptr
                           : pirate->blockedTimer >= 1 ? Expand<true>()
                                                       : Expand<false>();
    if (startBlocked) search.marks[startSpot] = 0;

    if (goal == nullptr) {
        pirate->waypointX = -1;
        pirate->waypointY = -1;
        return;
    }
    // The first cell of the path is the one whose parent is the start.
    const PathNode* first = goal;
    while (first->parent != &search.nodes[0]) first = first->parent;
    pirate->waypointX = first->cellX * kCellSize + 8;
    pirate->waypointY = first->cellY * kCellSize;
}
