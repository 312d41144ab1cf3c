// The pirates' path search as the rule reads, step by step: two owning lists of nodes,
// scanned from end to start for every choice and every membership test. Slow but plain:
// the tests' recorded searches were recorded while the game's PlanPath matched it node for
// node, and the benchmarks measure both.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "pirates/pathsearch.h"
#include "pirates/pirates.h"
#include "world/world.h"

namespace literal {

// Both own their nodes: found and not yet expanded, and expanded; insertion order.
inline std::vector<std::unique_ptr<PathNode>> openNodes;
inline std::vector<std::unique_ptr<PathNode>> closedNodes;

inline bool Passable(int32_t cx, int32_t cy) {
    const int8_t code = tileMap[cx * 56 + cy];
    return code == 0 || code == 1 || code == -50;
}

// Kept out of line, so that a profiler can count it on its own.
[[gnu::noinline]] inline void PlanPath(Ship* pirate) {
    const int32_t sx = pirate->x / 16, sy = pirate->y / 16;
    const int32_t gx = player->x / 16, gy = player->y / 16;

    openNodes.clear();
    closedNodes.clear();

    openNodes.emplace_back(new PathNode{sx, sy, 10000, nullptr});
    openNodes.back()->cost = 0;
    PathNode* goal = nullptr;

    const int32_t d0 = (sx - gx) * (sx - gx) + (sy - gy) * (sy - gy);
    const int32_t ceiling = 150 * d0;
    int32_t budget = 500;

    for (;;) {
        if (openNodes.empty()) break;

        // The lowest score below the ceiling, the last in the list among equals.
        int32_t best = ceiling;
        int32_t chosenAt = -1;
        for (int32_t i = static_cast<int32_t>(openNodes.size()) - 1; i >= 0; i--) {
            const PathNode* n = openNodes[i].get();
            int32_t d = (n->cellX - gx) * (n->cellX - gx) + (n->cellY - gy) * (n->cellY - gy);
            if (d == 0) d = 1;
            const int32_t score = n->cost - 50 * (d0 / d);
            if (score < best) {
                chosenAt = i;
                best = score;
            }
        }
        if (chosenAt < 0) break;

        PathNode* chosen = openNodes[chosenAt].get();
        closedNodes.push_back(std::move(openNodes[chosenAt]));
        openNodes.erase(openNodes.begin() + chosenAt);

        if (chosen->cellX == gx && chosen->cellY == gy) {
            goal = chosen;
            break;
        }

        // Neighbours in the order of the spin; the odd ones are diagonals.
        for (int32_t k = 0; k < 8; k++) {
            if (k % 2 == 1 && pirate->blockedTimer >= 1) continue;
            const int32_t nx = chosen->cellX + spinHeadings[k][0];
            const int32_t ny = chosen->cellY + spinHeadings[k][1];
            if (nx < 0 || nx > 55 || ny < 0 || ny > 55 || !Passable(nx, ny)) continue;
            bool closed = false;
            for (int32_t i = static_cast<int32_t>(closedNodes.size()) - 1; i >= 0 && !closed; i--)
                closed = closedNodes[i]->cellX == nx && closedNodes[i]->cellY == ny;
            if (closed) continue;
            const int32_t cost = chosen->cost + (k % 2 == 1 ? 5 : 3);
            PathNode* open = nullptr;
            for (int32_t i = static_cast<int32_t>(openNodes.size()) - 1; i >= 0 && open == nullptr; i--)
                if (openNodes[i]->cellX == nx && openNodes[i]->cellY == ny) open = openNodes[i].get();
            if (open != nullptr) {
                if (cost < open->cost) {
                    open->cost = cost;
                    open->parent = chosen;
                }
            } else {
                openNodes.emplace_back(new PathNode{nx, ny, cost, chosen});
            }
        }

        budget -= 1;
        if (budget == 0) break;
    }

    if (goal == nullptr) {
        pirate->waypointX = pirate->waypointY = -1;
        return;
    }
    // Back from the goal to the cell after the start.
    const PathNode* n = goal;
    while (n->parent != nullptr && !(n->parent->cellX == sx && n->parent->cellY == sy)) n = n->parent;
    pirate->waypointX = n->cellX * 16 + 8;
    pirate->waypointY = n->cellY * 16;
}

}  // namespace literal
