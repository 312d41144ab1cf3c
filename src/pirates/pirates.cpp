#include "pirates/pirates.h"

#include <algorithm>
#include <cstdlib>

#include "pirates/cannonballs.h"
#include "pirates/hazards.h"
#include "pirates/pathsearch.h"
#include "platform/audio.h"
#include "world/world.h"

namespace {

// Pirates appear, one chance in kPirateOdds a frame on the first islands, 25 fewer for
// every set completed, and from the 20th on one in 200; fewer than level + 5 ships sail.
constexpr int32_t kPirateOdds = 700;
constexpr int32_t kPirateOddsPerLevel = 25;
constexpr int32_t kPirateOddsCut = 500;
constexpr int32_t kShipsBeyondLevel = 5;

// In range a pirate stands and fires, one chance in kFireOdds a frame; the range narrows
// and the odds shorten with the islands, up to the fifth set.
constexpr int32_t kRange = 20;         // pixels on each axis, plus up to 9 at random each frame
constexpr int32_t kFireOdds = 55;
constexpr int32_t kHardestLevel = 5;   // each level up to it: range 2 pixels less, odds 10 shorter

constexpr int32_t kBlockedFrames = 200;  // of straight-only path searches after being held up
constexpr int32_t kLevelWithin = 7;      // pixels within which a pirate counts as level with the player

// The side a ball strikes, by its velocity (rows) and the ship's heading (columns), both
// in the order (-1, -1), (-1, 0), (-1, 1), (0, -1), (0, 0), (0, 1), (1, -1), (1, 0), (1, 1).
const int32_t kHitSide[9][9] = {
    {0, 0, 0, 1, 0, 0, 1, 0, 1}, {1, 1, 0, 1, 1, 0, 1, 1, 0}, {1, 1, 1, 1, 0, 0, 0, 1, 0},
    {0, 0, 0, 1, 0, 1, 1, 1, 1}, {0, 0, 1, 1, 0, 0, 1, 1, 0}, {1, 1, 1, 0, 1, 0, 0, 0, 0},
    {0, 0, 0, 0, 0, 1, 1, 0, 1}, {0, 0, 1, 0, 0, 1, 0, 0, 1}, {1, 1, 1, 0, 0, 1, 0, 1, 0},
};

int32_t HeadingIndex(int32_t dx, int32_t dy) { return 3 * dx + dy + 4; }

// The player's balls strike only pirates and the pirates' only the player; a splash
// strikes nothing. Several balls may strike in one frame.
void TakeHits(Ship* ship) {
    const bool pirate = ship != player;
    for (int32_t i = cannonballs.Count() - 1; i >= 0; i--) {
        const Cannonball* ball = cannonballs[i];
        if (ball->life < kSplashFrames || ship->health <= 0 || ball->fromPlayer != pirate) continue;
        if (!BallStrikes(ship, ball->x, ball->y)) continue;
        PlaySound(SoundHit);
        ship->hitSide = kHitSide[HeadingIndex(ball->vx, ball->vy)][HeadingIndex(ship->headingX, ship->headingY)];
        ship->hitTimer = kHitFrames;
        ship->health--;
        if (ship == player && ship->health == 1) PlayMusic(MusicDanger);
        cannonballs.RemoveAt(i);
    }
}

// Turning a quarter turn from the player's bearing points the port broadside at the
// player; within 7 pixels on an axis that axis counts as level.
void FacePlayer(Ship* pirate, int32_t dX, int32_t dY) {
    pirate->headingY = std::abs(dX) <= kLevelWithin ? 0 : Sign(dX);
    pirate->headingX = std::abs(dY) <= kLevelWithin ? 0 : -Sign(dY);
}

// The aim is 4 pixels below or above the waypoint (by sideOffset), so that a pirate
// blocked on one side of a channel tries the other.
int32_t AimStepY(const Ship* pirate) { return Sign(pirate->waypointY + 4 * pirate->sideOffset + 3 - pirate->y); }

void FollowPath(Ship* pirate) {
    if (pirate->spinTimer > 0 || pirate->waypointX == -1 || pirate->waypointY == -1) return;
    const int32_t stepX = Sign(pirate->waypointX - pirate->x);
    // Held by its own broadside or a hit: it counts as blocked.
    if (pirate->fireCooldown > 0 || pirate->hitTimer > 0) {
        pirate->sideOffset = -pirate->sideOffset;
        pirate->blockedTimer = kBlockedFrames;
        return;
    }
    int32_t sX = stepX, sY = AimStepY(pirate);
    if (!StepShip(pirate, sX, sY, TopEdge::Closed)) {
        pirate->sideOffset = -pirate->sideOffset;
        sX = stepX, sY = AimStepY(pirate);
        if (!StepShip(pirate, sX, sY, TopEdge::Closed)) {
            pirate->blockedTimer = kBlockedFrames;
            return;
        }
    }
    if (pirate->sailTimer == -1) pirate->sailTimer = kSailFrames;
    pirate->headingX = sX;
    pirate->headingY = sY;
}

void Replan(Ship* pirate) {
    if (pirate->blockedTimer > 0) pirate->blockedTimer--;
    if (pirate->replanTimer > 0) {
        pirate->replanTimer--;
        return;
    }
    pirate->replanTimer = std::rand() % 15 + 5;  // the next search in 5 to 19 frames
    // Sharing the player's cell, the pirate keeps its waypoint.
    if (pirate->x / kCellSize == player->x / kCellSize && pirate->y / kCellSize == player->y / kCellSize) return;
    PlanPath(pirate);
}

// A pirate afloat while the player is afloat: it faces the player, and stands and fires
// when close (the range a little random each frame, narrower on later islands), or else
// sails its path and now and then plans it anew.
void PirateTurn(Ship* pirate) {
    const int32_t dX = player->x - pirate->x, dY = player->y - pirate->y;
    if (pirate->spinTimer == 0) FacePlayer(pirate, dX, dY);

    const int32_t hardness = std::min(level, kHardestLevel);
    const int32_t range = kRange - 2 * hardness;
    if (std::abs(dX) < range + std::rand() % 10 && std::abs(dY) < range + std::rand() % 10) {
        if (pirate->fireCooldown > 0 || pirate->hitTimer > 0) return;
        if (std::rand() % (kFireOdds - 10 * hardness) == 1) FireCannonball(pirate, 0, false);
        return;
    }
    FollowPath(pirate);
    Replan(pirate);
}

}  // namespace

void SpawnPirates() {
    if (ships.Count() >= level + kShipsBeyondLevel) return;
    if (std::rand() % (kPirateOdds - std::min(kPirateOddsPerLevel * level, kPirateOddsCut)) != 1) return;
    Ship* pirate = new Ship{};
    pirate->sailTimer = pirate->screenX = pirate->screenY = -1;
    pirate->replanTimer = std::rand() % 30 + 25;
    pirate->sinkTimer = kSinkFrames;
    pirate->sideOffset = 1;
    pirate->waypointX = pirate->waypointY = -1;
    int32_t cellX, cellY;
    DrawFreeCell(cellX, cellY);
    pirate->x = cellX * kCellSize + 6;
    pirate->y = cellY * kCellSize + 1;
    do {
        pirate->headingX = std::rand() % 3 - 1;
        pirate->headingY = std::rand() % 3 - 1;
    } while (pirate->headingX == 0 && pirate->headingY == 0);
    pirate->kind = std::rand() % 3 + 1;
    pirate->health = (std::rand() % (level + 4)) / 2 + 2;
    ships.Append(pirate);
}

void UpdateShips() {
    for (int32_t i = ships.Count() - 1; i >= 0; i--) {
        Ship* ship = ships[i];
        TakeHits(ship);

        // A whirlpool's spin turns the heading every 5 frames.
        if (ship->spinTimer > 0) {
            ship->spinTimer--;
            const int32_t* heading = spinHeadings[(ship->spinTimer / 5) % 8];
            ship->headingX = heading[0];
            ship->headingY = heading[1];
        }

        // One timer runs at a time: the broadside's, else the hit's, else the sails'.
        if (ship->fireCooldown >= 1)
            ship->fireCooldown--;
        else if (ship->hitTimer >= 1)
            ship->hitTimer--;
        else if (ship->sailTimer >= 0)
            ship->sailTimer--;

        if (ship->health < 1) {
            ship->sinkTimer--;
            ship->waypointX = ship->waypointY = -1;
            if (ship != player && ship->sinkTimer <= 0) {
                ships.RemoveAt(i);
                continue;
            }
        } else if (ship == player) {
            PickUpBarrels();
        } else if (player->health > 0) {
            PirateTurn(ship);  // with the player sunk, pirates only drift in whirlpools
        }

        PullIntoWhirlpools(ship);
    }
}
