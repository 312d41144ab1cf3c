// Pirate ships: spawning, and the per-frame update of every ship.
#pragma once

// Now and then a pirate appears on open water (only once the game is not peaceful).
void SpawnPirates();

// Hits, spins, timers, sinking and the pirates' hunting, for every ship.
void UpdateShips();
