// Pirate ships: spawning, and the per-frame update of every ship, the player's included.
#pragma once
#include <cstdint>

struct Ship;

// The eight headings (dx, dy) in the order a whirlpool's spin turns a ship, which is also
// the order in which the path search tries a cell's neighbours; odd entries are diagonals.
inline constexpr int32_t spinHeadings[8][2] = {{-1, 0}, {-1, -1}, {0, -1}, {-1, 1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};

// Now and then a pirate appears on open water, while the ships (the player's included)
// are fewer than level + 5. The sailing frame asks only once the game is not peaceful.
void SpawnPirates();

// For every ship, last to first: cannonball hits, the whirlpool's spin, one running
// timer, sinking (a pirate is removed when sunk long enough), then the player's barrels
// or a pirate's hunting, and last the whirlpools' grip.
void UpdateShips();
