#include "pirates/hazards.h"

#include <algorithm>
#include <cstdlib>

#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "platform/audio.h"
#include "platform/frame.h"
#include "texts.h"
#include "world/world.h"

namespace {

constexpr int32_t kMostBarrels = 9;
constexpr int32_t kFullMagazine = 12;

// Held at the centre, a little above it. A ship arriving is spun for 120 frames and
// loses a hit point; every frame it is held costs the whirlpool 10 frames of life. A
// pirate that dies there sinks at once.
void Capture(Ship* ship, Whirlpool* whirlpool) {
    ship->x = whirlpool->x;
    ship->y = whirlpool->y - 3;
    if (ship->spinTimer == 0) {
        if (ship == player) PlaySound(SoundWhirl);
        ship->spinTimer = 120;
        if (ship->health > 0) {
            ship->health--;
            if (ship == player) PlaySound(SoundHit);
        }
    }
    whirlpool->life -= 10;
    if (ship != player && ship->health < 1) ship->sinkTimer = 0;
}

}  // namespace

void SpawnBarrels() {
    if (barrels.Count() >= kMostBarrels || std::rand() % 400 != 1) return;
    int32_t cellX, cellY;
    DrawFreeCell(cellX, cellY);
    barrels.Append(new Barrel{cellX * kCellSize + 8, cellY * kCellSize + 5, false});
}

void SpawnWhirlpools() {
    // One chance in 550 a frame on the first islands, one in 50 from the 25th on.
    if (whirlpools.Count() >= level + 6 || std::rand() % (550 - std::min(20 * level, 500)) != 1) return;
    int32_t cellX, cellY;
    DrawFreeCell(cellX, cellY);
    whirlpools.Append(new Whirlpool{6000, cellX * kCellSize + 8, cellY * kCellSize + 5});
    tileMap[CellIndex(cellX, cellY)] = CellWhirlpool;
}

void AgeWhirlpools() {
    for (int32_t i = whirlpools.Count() - 1; i >= 0; i--) {
        Whirlpool* whirlpool = whirlpools[i];
        if (whirlpool->life < 0) {
            tileMap[CellIndex(whirlpool->x / kCellSize, whirlpool->y / kCellSize)] = CellSea;
            whirlpools.RemoveAt(i);
        } else {
            whirlpool->life--;
        }
    }
}

void PullIntoWhirlpools(Ship* ship) {
    for (int32_t i = whirlpools.Count() - 1; i >= 0; i--) {
        Whirlpool* whirlpool = whirlpools[i];
        const int32_t apartX = std::abs(whirlpool->x - ship->x), apartY = std::abs(whirlpool->y - ship->y);
        if (apartX <= 4 && apartY <= 4) {
            Capture(ship, whirlpool);
            continue;
        }
        bool pull = false;
        if (apartX <= 27 && apartY <= 27)
            pull = frameCounter % 3 != 1;
        else if (apartX <= 44 && apartY <= 44)
            pull = frameCounter % 4 == 1;
        // Reloading, reeling or sunk ships are not dragged. Level with the centre on an
        // axis, a ship is pushed toward the smaller coordinate.
        if (!pull || ship->fireCooldown >= 1 || ship->hitTimer >= 1 || ship->health <= 0) continue;
        int32_t stepX = ship->x < whirlpool->x ? 1 : -1;
        int32_t stepY = ship->y < whirlpool->y ? 1 : -1;
        StepShip(ship, stepX, stepY, TopEdge::Closed);
    }
}

void PickUpBarrels() {
    for (int32_t i = barrels.Count() - 1; i >= 0; i--) {
        Barrel* barrel = barrels[i];
        if (std::abs(barrel->x - player->x) > 8 || std::abs(barrel->y - player->y) > 8) {
            barrel->told = false;  // sailing away: the next approach is told again
            continue;
        }
        if (barrel->told) continue;
        if (cannonballCount < kFullMagazine) {
            cannonballCount = std::min(cannonballCount + 6, kFullMagazine);
            popupTimer = 29;
            popupKind = 3;
            barrels.RemoveAt(i);
        } else {
            StartDialog(1, fullMagazineText, CloseDialog);
            barrel->told = true;
            PlaySound(SoundBeep);
        }
    }
}
