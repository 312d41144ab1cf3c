#include "world/world.h"

#include "ports/ports.h"

int8_t tileMap[kMapCells * kMapCells];

WorldList<Ship> ships;
WorldList<Port> ports;
WorldList<Cannonball> cannonballs;
WorldList<Barrel> barrels;
WorldList<Whirlpool> whirlpools;
std::unique_ptr<Gull> gulls[kGullCount];
std::unique_ptr<Cloud> clouds[kCloudCount];

Ship* player;
uint8_t shadowMask[2400];

int32_t cannonballCount = 6;
int32_t gold;
int32_t level;
int32_t cargo;
int32_t peaceful = 1;
int32_t overlayMode;
int32_t hudSlide = -20;

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
