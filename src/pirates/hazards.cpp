#include "pirates/hazards.h"

#include <algorithm>
#include <cstdlib>

#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "platform/audio.h"
#include "platform/frame.h"
#include "ports/ports.h"
#include "texts.h"
#include "world/world.h"

namespace {

// Barrels float up, one chance in kBarrelOdds a frame, at most kMostBarrels at once; each
// holds kBarrelBalls cannonballs for a magazine of kFullMagazine.
constexpr int32_t kBarrelOdds = 400;
constexpr int32_t kMostBarrels = 9;
constexpr int32_t kBarrelBalls = 6;
constexpr int32_t kFullMagazine = 12;
constexpr int32_t kBarrelReach = 8;  // pixels on each axis between the ship's centre and the barrel

// Whirlpools open, one chance in kWhirlpoolOdds a frame on the first islands, 20 fewer for
// every set completed, one in 50 from the 25th on; fewer than level + 6 at once.
constexpr int32_t kWhirlpoolOdds = 550;
constexpr int32_t kWhirlpoolOddsPerLevel = 20;
constexpr int32_t kWhirlpoolOddsCut = 500;
constexpr int32_t kWhirlpoolsBeyondLevel = 6;
constexpr int32_t kWhirlpoolFrames = 6000;  // a whirlpool's life
constexpr int32_t kHoldCost = 10;           // frames of life each frame a ship is held costs it

// The grip, by pixels between the ship's centre and the whirlpool's on each axis.
constexpr int32_t kCentre = 4;     // held at the centre
constexpr int32_t kNearPull = 27;  // pulled two frames in three
constexpr int32_t kFarPull = 44;   // pulled one frame in four

// Held at the centre, a little above it. A ship arriving is spun for 120 frames and
// loses a hit point; every frame it is held costs the whirlpool 10 frames of life. A
// pirate that dies there sinks at once.
void Capture(Ship* ship, Whirlpool* whirlpool) {
    ship->x = whirlpool->x;
    ship->y = whirlpool->y - 3;
    if (ship->spinTimer == 0) {
        if (ship == player) PlaySound(SoundWhirl);
        ship->spinTimer = kSpinFrames;
        if (ship->health > 0) {
            ship->health--;
            if (ship == player) PlaySound(SoundHit);
        }
    }
    whirlpool->life -= kHoldCost;
    if (ship != player && ship->health < 1) ship->sinkTimer = 0;
}

}  // namespace

void SpawnBarrels() {
    if (barrels.Count() >= kMostBarrels || std::rand() % kBarrelOdds != 1) return;
    int32_t cellX, cellY;
    DrawFreeCell(cellX, cellY);
    barrels.Append(new Barrel{cellX * kCellSize + 8, cellY * kCellSize + 5, false});
}

void SpawnWhirlpools() {
    if (whirlpools.Count() >= level + kWhirlpoolsBeyondLevel ||
        std::rand() % (kWhirlpoolOdds - std::min(kWhirlpoolOddsPerLevel * level, kWhirlpoolOddsCut)) != 1)
        return;
    int32_t cellX, cellY;
    DrawFreeCell(cellX, cellY);
    whirlpools.Append(new Whirlpool{kWhirlpoolFrames, cellX * kCellSize + 8, cellY * kCellSize + 5});
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
        if (apartX <= kCentre && apartY <= kCentre) {
            Capture(ship, whirlpool);
            continue;
        }
        bool pull = false;
        if (apartX <= kNearPull && apartY <= kNearPull)
            pull = frameCounter % 3 != 1;
        else if (apartX <= kFarPull && apartY <= kFarPull)
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
        if (std::abs(barrel->x - player->x) > kBarrelReach || std::abs(barrel->y - player->y) > kBarrelReach) {
            barrel->told = false;  // sailing away: the next approach is told again
            continue;
        }
        if (barrel->told) continue;
        if (cannonballCount < kFullMagazine) {
            cannonballCount = std::min(cannonballCount + kBarrelBalls, kFullMagazine);
            StartPopup(PopupCannonballs);
            barrels.RemoveAt(i);
        } else {
            StartDialog(1, fullMagazineText, CloseDialog);
            barrel->told = true;
            PlaySound(SoundBeep);
        }
    }
}
