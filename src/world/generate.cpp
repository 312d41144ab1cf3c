#include "world/generate.h"

#include <cstdlib>
#include <memory>

#include "world/world.h"

int8_t pathX[28];
int8_t pathY[28];

namespace {

constexpr int32_t kCoarseCells = 28;  // the coarse grid: each coarse cell is 2 x 2 cells
constexpr int32_t kPathPoints = 27;   // drawn corner points; point 27 stays (0, 0)
constexpr int32_t kPortCount = 6;
constexpr int8_t kLoneRockMark = -1;  // a coarse cell that becomes a lone rock (or nothing)

// The coarse grid lives in the top-left corner of tileMap while the islands take shape:
// coarse cell (x, y) is the byte of cell (x, y).
int8_t& Coarse(int32_t x, int32_t y) { return tileMap[CellIndex(x, y)]; }

int8_t& Cell(int32_t cx, int32_t cy) { return tileMap[CellIndex(cx, cy)]; }

// Sea runs in from the border along one line of the coarse grid, from (x, y) in steps
// of (dx, dy), until it meets something that is not land.
void FloodFromEdge(int32_t x, int32_t y, int32_t dx, int32_t dy) {
    while (x >= 0 && x < kCoarseCells && y >= 0 && y < kCoarseCells && Coarse(x, y) == CellLand) {
        Coarse(x, y) = CellSea;
        x += dx;
        y += dy;
    }
}

bool IsSea(int32_t cx, int32_t cy) { return Cell(cx, cy) == CellSea; }

int32_t LandNeighbours(int32_t cx, int32_t cy) {
    return CodeIsLand(Cell(cx - 1, cy)) + CodeIsLand(Cell(cx + 1, cy)) + CodeIsLand(Cell(cx, cy - 1)) +
           CodeIsLand(Cell(cx, cy + 1));
}

// Size and number of shape variants of each kind of cloud.
struct CloudKind {
    int32_t size;
    int32_t variantCount;
};
const CloudKind kCloudKinds[4] = {{8, 6}, {16, 6}, {32, 5}, {48, 4}};

}  // namespace

void CutChannel(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    // Orthogonal steps that stay as close as they can to the straight line: a step goes
    // along x while the x progress (measured at the middle of the steps) lags behind y's.
    const int32_t nx = std::abs(x1 - x0);
    const int32_t ny = std::abs(y1 - y0);
    const int32_t sx = Sign(x1 - x0);
    const int32_t sy = Sign(y1 - y0);
    int32_t x = x0;
    int32_t y = y0;
    int32_t ix = 0;
    int32_t iy = 0;
    while (ix < nx || iy < ny) {
        if (ny * (2 * ix + 1) < nx * (2 * iy + 1)) {
            x += sx;
            ix++;
        } else {
            y += sy;
            iy++;
        }
        Coarse(x, y) = CellSea;
    }
}

void MakeIslands() {
    // 1. A clean sea: the old records go, and with them the old player.
    ClearWorldLists();
    deliveries = 0;
    compassTarget = nullptr;
    hudSlide = -20;

    // 2. Everything land to begin with. Column and row 55 are left: the expansion
    // below writes them.
    for (int32_t cx = 0; cx < kMapCells - 1; cx++)
        for (int32_t cy = 0; cy < kMapCells - 1; cy++) Cell(cx, cy) = CellLand;

    // 3. Coarse islands. Sea channels run through 27 random points, a few of them pushed
    // out to the edges of the grid, and back from the corner (0, 0) to the first.
    for (int32_t i = 0; i < kPathPoints; i++) {
        pathX[i] = static_cast<int8_t>(std::rand() % 27);
        pathY[i] = static_cast<int8_t>(std::rand() % 27);
    }
    pathX[std::rand() % 27] = 0;
    pathY[std::rand() % 27] = 0;
    pathX[std::rand() % 27] = 27;
    pathY[std::rand() % 27] = 27;

    for (int32_t i = 0; i < kPathPoints - 1; i++) CutChannel(pathX[i], pathY[i], pathX[i + 1], pathY[i + 1]);
    CutChannel(pathX[27], pathY[27], pathX[0], pathY[0]);

    // The open sea comes in from all four edges as far as the first water; what land is
    // left is ringed by channels.
    for (int32_t x = 0; x < kCoarseCells; x++) {
        FloodFromEdge(x, 0, 0, 1);
        FloodFromEdge(x, kCoarseCells - 1, 0, -1);
    }
    for (int32_t y = 0; y < kCoarseCells; y++) {
        FloodFromEdge(0, y, 1, 0);
        FloodFromEdge(kCoarseCells - 1, y, -1, 0);
    }

    // A coarse land cell with water on all four sides may become a lone rock.
    for (int32_t x = 2; x < kCoarseCells - 2; x++)
        for (int32_t y = 2; y < kCoarseCells - 2; y++) {
            if (Coarse(x, y) != CellLand) continue;
            if (Coarse(x - 1, y) != CellSea || Coarse(x, y - 1) != CellSea || Coarse(x + 1, y) != CellSea ||
                Coarse(x, y + 1) != CellSea)
                continue;
            if (std::rand() % 2 == 1) Coarse(x, y) = kLoneRockMark;
        }

    // 4. Each coarse cell becomes 2 x 2 cells. Going from the far corner back to (0, 0)
    // reads every coarse cell before the cells that share its byte are written. A lone
    // rock lands on its block's even-even cell, four times in five.
    for (int32_t cx = kMapCells - 1; cx >= 0; cx--)
        for (int32_t cy = kMapCells - 1; cy >= 0; cy--) {
            int8_t& coarse = Coarse(cx / 2, cy / 2);
            if (coarse != kLoneRockMark) {
                Cell(cx, cy) = coarse;
                continue;
            }
            const int32_t r = std::rand();
            if (r % 5 == 0 || cx % 2 == 1 || cy % 2 == 1) {
                Cell(cx, cy) = CellSea;
            } else {
                coarse = CellSea;  // the rock is placed; its coarse cell is spent
                Cell(cx, cy) = static_cast<int8_t>(std::rand() % 3 - 4);  // -4, -3 or -2
            }
        }

    // 5. Six ports on open water beside a coast with land on one side or three: a
    // straight shore or the end of an inlet, never a corner or a narrow channel.
    while (ports.Count() < kPortCount) {
        const int32_t cx = std::rand() % 51 + 2;
        const int32_t cy = std::rand() % 51 + 2;
        if (!IsSea(cx, cy) || LandNeighbours(cx, cy) % 2 == 0) continue;
        Cell(cx, cy) = CellPort;
        ports.Append(new Port{cx, cy, RoleInactive});
    }

    // 6. Huts, palms, boulders and flowers on a third of the land.
    for (int32_t cx = 0; cx < kMapCells - 1; cx++)
        for (int32_t cy = 0; cy < kMapCells - 1; cy++) {
            if (Cell(cx, cy) != CellLand || std::rand() % 3 != 1) continue;
            const int32_t r = std::rand() % 20;
            if (r == 1)
                Cell(cx, cy) = 3;
            else if (r == 0 || r == 2)
                Cell(cx, cy) = 4;
            else
                Cell(cx, cy) = static_cast<int8_t>(5 + std::rand() % 2);
        }

    // 7. One to three ports start with cargo; a new set of islands pays 5 gold and
    // fills the magazine.
    ports[std::rand() % kPortCount]->role = RoleCargoFirst;
    ports[std::rand() % kPortCount]->role = RoleCargoFirst;
    gold += 5;
    cannonballCount = 6;
    ports[std::rand() % kPortCount]->role = RoleCargoFirst;
    dockProgress = 0;
    popupKind = 0;
    popupTimer = 0;

    // 8. The player's new ship, facing right with full health.
    player = new Ship{};
    player->sailTimer = -1;
    player->screenX = -1;
    player->screenY = -1;
    player->replanTimer = std::rand() % 30 + 25;
    player->sinkTimer = kSinkFrames;
    player->sideOffset = 1;
    player->waypointX = -1;
    player->waypointY = -1;
    player->headingX = 1;
    player->headingY = 0;
    player->health = 5;
    player->kind = 0;

    // 9. It starts on open water with water all round, well inside the map.
    int32_t a;
    int32_t b;
    do {
        a = std::rand() % 45;
        b = std::rand() % 45 + 5;
    } while (!IsSea(a + 5, b) || !IsSea(a + 4, b) || !IsSea(a + 6, b) || !IsSea(a + 5, b - 1) ||
             !IsSea(a + 5, b + 1));
    player->x = (a + 5) * kCellSize + 8;
    player->y = b * kCellSize + 6;
    ships.Append(player);

    // 10. Gulls anywhere over the map, each already heading for a spot of its own.
    for (std::unique_ptr<Gull>& gull : gulls) {
        gull = std::make_unique<Gull>();
        gull->rangeX = kWorldSize;
        gull->rangeY = kWorldSize;
        gull->flap = std::rand() % 16;
        gull->stepX = 0;
        gull->stepY = 1;
        gull->x = std::rand() % kWorldSize;
        gull->y = std::rand() % kWorldSize;
        gull->targetX = std::rand() % kWorldSize;
        gull->targetY = std::rand() % kWorldSize;
    }

    // 11. Clouds of four sizes, each at its own point of its drifting animation.
    for (std::unique_ptr<Cloud>& cloud : clouds) {
        const int32_t r1 = std::rand();
        const int32_t r2 = std::rand();
        const int32_t k = std::rand() % 4;
        const int32_t frame = std::rand() % 8;
        cloud = std::make_unique<Cloud>();
        cloud->x = r1 % 895;
        cloud->y = r2 % 895;
        cloud->image = k;
        cloud->size = kCloudKinds[k].size;
        cloud->variantCount = kCloudKinds[k].variantCount;
        cloud->frame = frame;
        cloud->wrapX = kWorldSize;
        cloud->wrapY = 944;
    }
}
