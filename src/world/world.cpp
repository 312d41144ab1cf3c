#include "world/world.h"

#include <cstdlib>


int8_t tileMap[kMapCells * kMapCells];

WorldList<Ship> ships;
WorldList<Port> ports;
WorldList<Cannonball> cannonballs;
WorldList<Barrel> barrels;
WorldList<Whirlpool> whirlpools;
std::unique_ptr<Gull> gulls[kGullCount];
std::unique_ptr<Cloud> clouds[kCloudCount];

Ship* player;

int32_t cannonballCount = 6;
int32_t gold;
int32_t level;
int32_t cargo;
bool peaceful = true;
Overlay overlayMode;
int32_t hudSlide = -20;

int32_t deliveries;
int32_t dockProgress;
int32_t popupKind;
int32_t popupTimer;
Port* compassTarget;

int32_t DirectionOf(int32_t headingX, int32_t headingY) {
    static const int32_t kDirection[9] = {1, 2, 3, 0, 4, 4, 7, 6, 5};
    return kDirection[3 * headingX + headingY + 4];
}

void ClearWorldLists() {
    cannonballs.Clear();
    ports.Clear();
    ships.Clear();
    whirlpools.Clear();
    barrels.Clear();
    // The released records must not be read again: name nothing until new islands exist.
    player = nullptr;
    compassTarget = nullptr;
}

void DrawFreeCell(int32_t& cellX, int32_t& cellY) {
    const auto open = [](int32_t cx, int32_t cy) { return CellInMap(cx, cy) && tileMap[CellIndex(cx, cy)] == CellSea; };
    do {
        cellX = std::rand() % 55;
        cellY = std::rand() % 55;
    } while (!open(cellX, cellY) || !open(cellX - 1, cellY) || !open(cellX, cellY - 1) || !open(cellX + 1, cellY) ||
             !open(cellX, cellY + 1));
}

namespace {

[[gnu::always_inline]] inline bool PointBlocksShip(int32_t px, int32_t py, TopEdge topEdge) {
    if (px < 0 || (py < 0 && topEdge == TopEdge::Closed)) return true;
    const int32_t cx = px / kCellSize;
    const int32_t cy = py / kCellSize;
    if (!CellInMap(cx, cy)) return true;
    return CodeBlocksShip(tileMap[CellIndex(cx, cy)]);
}

}  // namespace

bool StepShip(Ship* ship, int32_t& stepX, int32_t& stepY, TopEdge topEdge) {
    const auto blocks = [topEdge](int32_t px, int32_t py) { return PointBlocksShip(px, py, topEdge); };
    const int32_t x = ship->x, y = ship->y;
    const int32_t ny = y + stepY;
    if (blocks(x - 7, ny - 7) || blocks(x + 7, ny - 7) || blocks(x - 7, ny + 13) || blocks(x + 7, ny + 13)) stepY = 0;
    const int32_t nx = x + stepX;
    if (blocks(nx - 7, y - 7) || blocks(nx + 7, y - 7) || blocks(nx - 7, y + 7) || blocks(nx + 7, y + 7) ||
        blocks(nx - 7, y + 13) || blocks(nx + 7, y + 13))
        stepX = 0;
    if (stepX == 0 && stepY == 0) return false;
    ship->x = x + stepX;
    ship->y = y + stepY;
    return true;
}
