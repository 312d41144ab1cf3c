// Cannonballs: their launch from a ship's side and their flight. The sea view advances
// each ball once a frame, just before drawing it, so a ball is always drawn where it has
// just arrived.
#pragma once
#include <cstdint>

struct Ship;

// A broadside from the ship: the "shoot" sound, the firing picture for 16 frames (no
// moving or firing meanwhile) and a ball of 50 frames leaving from one pixel ahead of the
// centre along the heading's x. Side 1 (button A) fires to starboard, the heading turned
// a quarter turn clockwise on the screen; side 0 (button B, and every pirate) to port.
void FireCannonball(Ship* ship, int32_t side, int32_t fromPlayer);

// One frame of the flight of cannonballs[index]: a frame of life gone, one pixel along
// each axis of its velocity, the "miss" splash sound as it drops into the water (life 7).
// Below life 0 it is removed from the list; returns whether it is still there.
bool AdvanceCannonball(int32_t index);
