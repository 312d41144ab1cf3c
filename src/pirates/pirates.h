// Pirate ships: spawning, and the per-frame update of every ship.
#pragma once
#include <cstdint>

// The eight headings (dx, dy) in the order a whirlpool's spin turns a ship, which is also
// the order in which the path search tries a cell's neighbours; odd entries are diagonals.
extern const int32_t spinHeadings[8][2];

// Now and then a pirate appears on open water (only once the game is not peaceful).
void SpawnPirates();

// Hits, spins, timers, sinking and the pirates' hunting, for every ship.
void UpdateShips();
