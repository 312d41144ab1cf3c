// Pirate ships: spawning, and the per-frame update of every ship, the player's included.
#pragma once
#include <cstdint>

#include "world/world.h"

// The eight headings (dx, dy) in the order a whirlpool's spin turns a ship, which is also
// the order in which the path search tries a cell's neighbours; odd entries are diagonals.
inline constexpr int32_t spinHeadings[8][2] = {{-1, 0}, {-1, -1}, {0, -1}, {-1, 1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};

// Now and then a pirate appears on open water, while the ships (the player's included)
// are fewer than level + 5. The sailing frame asks only once the game is not peaceful.
void SpawnPirates();

// Whether a ball at (ballX, ballY) would strike the ship: one of four points of the ball,
// (3, 0), (7, 0), (1, 6) and (7, 6) from its corner, inside the hull's box. The box runs
// from 7 pixels above the ship's centre to 13 below and, shifted a pixel along the
// heading's x, from 4 pixels left of it to 11 right.
inline bool BallStrikes(const Ship* ship, int32_t ballX, int32_t ballY) {
    const int32_t left = ship->x + ship->headingX - 5, top = ship->y - 7;
    const auto inHull = [&](int32_t px, int32_t py) {
        return px > left && px <= left + 16 && py >= top && py <= top + 20;
    };
    return inHull(ballX + 3, ballY) || inHull(ballX + 7, ballY) || inHull(ballX + 1, ballY + 6) ||
           inHull(ballX + 7, ballY + 6);
}

// For every ship, last to first: cannonball hits, the whirlpool's spin, one running
// timer, sinking (a pirate is removed when sunk long enough), then the player's barrels
// or a pirate's hunting, and last the whirlpools' grip.
void UpdateShips();
