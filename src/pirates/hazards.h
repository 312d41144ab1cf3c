// Whirlpools and barrels of cannonballs: their spawning, the whirlpools' life and grip,
// and the barrels the player sails over.
#pragma once

struct Ship;

// Now and then a barrel floats up on open water (at most 9 at once).
void SpawnBarrels();

// Now and then a whirlpool opens on open water (fewer than level + 6 at once), marking
// its cell on the map.
void SpawnWhirlpools();

// A frame of every whirlpool's life; one that has run out frees its cell and is gone.
void AgeWhirlpools();

// Every whirlpool's grip on the ship: at the centre it is held and, on arrival, spun and
// damaged; nearer in it is pulled two frames in three, farther out one frame in four.
void PullIntoWhirlpools(Ship* ship);

// The barrels under the player's ship: six cannonballs each, up to twelve; with the
// magazine full the barrel stays and the captain hears so once per approach.
void PickUpBarrels();
