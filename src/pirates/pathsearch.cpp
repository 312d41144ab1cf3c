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
// last. It files the waiting nodes by rank, the score plus 50 x D0: never negative, and
// below 2^19, since D0 is at most 2 x 55^2 and a cost at most 5 a step for 500 steps.
// A node whose score is at or above the ceiling of 150 x D0 (a rank of 200 x D0) is not
// filed: it cannot be taken until a cheaper route lowers it.
constexpr uint32_t kRanks = 1 << 19;

// For each rank, the list of its nodes, the one found last first: the head of the lowest
// rank's list is the node to expand. A node is known by its place in pathNodes, which
// grows as nodes are found. The start node, place 0, is expanded first and never filed,
// so 0 ends a list: rankHeads holds the first place of each list (0 for none), and
// nextInRank the place after each node.
uint16_t rankHeads[kRanks];
uint16_t nextInRank[kMapCells * kMapCells];
uint32_t nodeRanks[kMapCells * kMapCells];

// Which ranks have a list, a bit a rank; above that a bit for each word of them that is
// not empty, and above that a bit for each word of those, so that the lowest rank in use
// is three steps down from the top. No word below lowestWord holds a bit: the nodes
// taken are mostly of ranks close together, and the top is seldom needed.
uint64_t rankBits[kRanks / 64];
uint64_t rankWords[kRanks / 64 / 64];
uint64_t rankGroups[kRanks / 64 / 64 / 64];
uint32_t lowestWord;

inline uint32_t Lowest(uint64_t bits) { return static_cast<uint32_t>(__builtin_ctzll(bits)); }
inline uint64_t Bit(uint32_t i) { return uint64_t{1} << (i & 63); }

inline void UseRank(uint32_t rank) {
    const uint32_t word = rank / 64;
    if (rankBits[word] == 0) {
        rankWords[word / 64] |= Bit(word);
        rankGroups[word / 64 / 64] |= Bit(word / 64);
        if (word < lowestWord) lowestWord = word;
    }
    rankBits[word] |= Bit(rank);
}

inline void ReleaseRank(uint32_t rank) {
    const uint32_t word = rank / 64;
    if ((rankBits[word] &= ~Bit(rank)) != 0) return;
    if ((rankWords[word / 64] &= ~Bit(word)) != 0) return;
    rankGroups[word / 64 / 64] &= ~Bit(word / 64);
}

// Files node n under its rank, among those found later and earlier.
inline void File(int32_t n, uint32_t rank) {
    uint16_t* link = &rankHeads[rank];
    if (*link == 0) UseRank(rank);
    while (*link > n) link = &nextInRank[*link];
    nextInRank[n] = *link;
    *link = static_cast<uint16_t>(n);
}

// Takes node n out of its rank's list.
void Unfile(int32_t n, uint32_t rank) {
    uint16_t* link = &rankHeads[rank];
    while (*link != n) link = &nextInRank[*link];
    *link = nextInRank[n];
    if (rankHeads[rank] == 0) ReleaseRank(rank);
}

// The node to expand: the one found last of the lowest rank, taken out of its list; 0
// when none is left.
inline int32_t TakeBest() {
    if (rankBits[lowestWord] == 0) {
        const uint32_t group = rankGroups[0] != 0 ? 0 : 1;
        if (rankGroups[group] == 0) return 0;
        const uint32_t words = group * 64 + Lowest(rankGroups[group]);
        lowestWord = words * 64 + Lowest(rankWords[words]);
    }
    const uint32_t rank = lowestWord * 64 + Lowest(rankBits[lowestWord]);
    const int32_t n = rankHeads[rank];
    rankHeads[rank] = nextInRank[n];
    if (nextInRank[n] == 0) ReleaseRank(rank);
    return n;
}

// Empties the files of what the last search left waiting.
void ClearFiles() {
    for (uint64_t& group : rankGroups)
        for (; group != 0; group &= group - 1) {
            const uint32_t words = static_cast<uint32_t>(&group - rankGroups) * 64 + Lowest(group);
            for (; rankWords[words] != 0; rankWords[words] &= rankWords[words] - 1) {
                const uint32_t word = words * 64 + Lowest(rankWords[words]);
                for (; rankBits[word] != 0; rankBits[word] &= rankBits[word] - 1)
                    rankHeads[word * 64 + Lowest(rankBits[word])] = 0;
            }
        }
    lowestWord = kRanks / 64 - 1;
}

// The search sees the map with a border a cell wide all round, which no route enters: no
// neighbour is ever off its map. A spot is a cell's index on it.
constexpr int32_t kSide = kMapCells + 2;
constexpr int32_t Spot(int32_t cx, int32_t cy) { return (cx + 1) * kSide + cy + 1; }

// The spin of the pirates' steering, whose order is the order in which a node's
// neighbours are tried (the odd directions are the diagonals), and the same as steps
// between spots.
constexpr int32_t kSpin[8][2] = {{-1, 0}, {-1, -1}, {0, -1}, {-1, 1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};
constexpr int32_t kSpotSteps[8] = {
    kSpin[0][0] * kSide + kSpin[0][1], kSpin[1][0] * kSide + kSpin[1][1], kSpin[2][0] * kSide + kSpin[2][1],
    kSpin[3][0] * kSide + kSpin[3][1], kSpin[4][0] * kSide + kSpin[4][1], kSpin[5][0] * kSide + kSpin[5][1],
    kSpin[6][0] * kSide + kSpin[6][1], kSpin[7][0] * kSide + kSpin[7][1],
};

// What the search knows of each spot, as its mark. A mark of 0 is a spot no route enters:
// the border, and every cell that blocks ships. Otherwise mark - markBase is the cost of
// the spot's node while it waits, 0 once it is expanded (so that no route is ever
// cheaper), and 4096 or more when the search has not reached it. Routes never cost 4096,
// so a route of cost c to a spot is news exactly when markBase + c is below the spot's
// mark. markBase falls by 4096 at every search, leaving the marks of earlier searches
// above it, so nothing needs clearing between searches.
constexpr uint32_t kUnreached = 4096;
uint32_t spotMarks[kSide * kSide];
uint32_t markBase;

// The map as the blocked cells were last marked from it. When the map has changed since
// (a whirlpool comes or goes, new islands), or markBase has run down, the marks are made
// anew.
int8_t surveyedMap[kMapCells * kMapCells];

void Survey() {
    std::memcpy(surveyedMap, tileMap, sizeof surveyedMap);
    std::memset(spotMarks, 0, sizeof spotMarks);
    for (int32_t cx = 0; cx < kMapCells; cx++)
        for (int32_t cy = 0; cy < kMapCells; cy++)
            spotMarks[Spot(cx, cy)] = CodeBlocksShip(tileMap[CellIndex(cx, cy)]) ? 0 : UINT32_MAX;
    markBase = UINT32_MAX - kUnreached;
}

// The place in pathNodes of the node of each spot the search has reached, and the spot of
// each node.
uint16_t spotPlaces[kSide * kSide];
int32_t nodeSpots[kMapCells * kMapCells];

// The search under way: the goal's cell, D0 and 50 x D0, and the ceiling on ranks.
int32_t goalX;
int32_t goalY;
int32_t startDistance;
uint32_t fullBonus;
uint32_t rankCeiling;

// The node of the cell at (cx, cy) on `spot`, found by a route of the given cost from
// `from`. Written out in each direction of the search's loop.
[[gnu::always_inline]] inline void AddNode(int32_t cx, int32_t cy, int32_t spot, uint32_t cost, PathNode* from) {
    const int32_t n = pathNodeCount++;
    pathNodes[n] = PathNode{cx, cy, static_cast<int32_t>(cost), from};
    nodeSpots[n] = spot;
    spotMarks[spot] = markBase + cost;
    spotPlaces[spot] = static_cast<uint16_t>(n);
    int32_t d = (cx - goalX) * (cx - goalX) + (cy - goalY) * (cy - goalY);
    if (d == 0) d = 1;
    const uint32_t rank = cost + fullBonus - static_cast<uint32_t>(50 * (startDistance / d));
    nodeRanks[n] = rank;
    if (rank < rankCeiling) File(n, rank);
}

// A cheaper route from `from` to a node still waiting on `spot`: it re-parents the node
// and lowers its rank.
[[gnu::noinline]] void Lower(PathNode* from, int32_t spot, uint32_t cost) {
    const int32_t n = spotPlaces[spot];
    const uint32_t rank = nodeRanks[n];
    const uint32_t lowered = rank - (static_cast<uint32_t>(pathNodes[n].cost) - cost);
    pathNodes[n].cost = static_cast<int32_t>(cost);
    pathNodes[n].parent = from;
    spotMarks[spot] = markBase + cost;
    nodeRanks[n] = lowered;
    if (rank < rankCeiling) Unfile(n, rank);
    if (lowered < rankCeiling) File(n, lowered);
}

// Expands nodes, the start's first, until the goal is taken, the budget is spent or
// nothing is left under the ceiling; returns the goal's node, or null. Only the straight
// directions, the even ones of the spin, while the pirate is blocked.
template <bool kStraightOnly>
PathNode* Search() {
    const int32_t goalSpot = Spot(goalX, goalY);
    for (int32_t n = 0, budget = kPathBudget;;) {
        PathNode* chosen = &pathNodes[n];
        closedNodes[closedNodeCount++] = chosen;
        const int32_t spot = nodeSpots[n];
        spotMarks[spot] = markBase;
        if (spot == goalSpot) return chosen;

        // Neighbours in the order of the spin. Most are expanded, blocked or no cheaper;
        // a route to one is news when its cost over markBase is below the mark.
        const uint32_t straight = markBase + static_cast<uint32_t>(chosen->cost) + 3, diagonal = straight + 2;
        const uint32_t* around = &spotMarks[spot];
#pragma GCC unroll 8
        for (int32_t k = 0; k < 8; k++) {
            if (kStraightOnly && k % 2 == 1) continue;
            const uint32_t news = k % 2 == 1 ? diagonal : straight;
            if (news >= around[kSpotSteps[k]]) continue;
            const int32_t next = spot + kSpotSteps[k];
            if (spotMarks[next] - markBase < kUnreached)
                Lower(chosen, next, news - markBase);
            else
                AddNode(chosen->cellX + kSpin[k][0], chosen->cellY + kSpin[k][1], next, news - markBase, chosen);
        }

        if (--budget == 0) return nullptr;
        n = TakeBest();
        if (n == 0) return nullptr;
    }
}

}  // namespace

void PlanPath(Ship* pirate) {
    const int32_t startX = pirate->x / kCellSize, startY = pirate->y / kCellSize;
    goalX = player->x / kCellSize;
    goalY = player->y / kCellSize;
    startDistance = (startX - goalX) * (startX - goalX) + (startY - goalY) * (startY - goalY);
    fullBonus = static_cast<uint32_t>(50 * startDistance);
    rankCeiling = static_cast<uint32_t>(200 * startDistance);

    // Last search's nodes are recycled.
    if (markBase < kUnreached || std::memcmp(surveyedMap, tileMap, sizeof surveyedMap) != 0)
        Survey();
    else
        markBase -= kUnreached;
    ClearFiles();
    closedNodeCount = 0;
    // The start cell's passability is never asked: a pirate's cell may be one that blocks
    // ships, and then keeps its mark of 0 for later searches. Its score of -50 is under
    // the ceiling and it is the first node expanded, unless the pirate is in the player's
    // cell (which the pirates never ask): then score and ceiling are 0 and nothing is
    // expanded.
    const int32_t startSpot = Spot(startX, startY);
    const bool startBlocked = spotMarks[startSpot] == 0;
    pathNodes[0] = PathNode{startX, startY, 0, nullptr};
    nodeSpots[0] = startSpot;
    pathNodeCount = 1;
    const PathNode* goal = startDistance == 0            ? nullptr
                           : pirate->blockedTimer >= 1 ? Search<true>()
                                                       : Search<false>();
    if (startBlocked) spotMarks[startSpot] = 0;

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
