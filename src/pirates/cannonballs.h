// Cannonballs: their launch from a ship's side and their flight.
#pragma once
#include <cstdint>

struct Ship;

// A broadside from the ship: the "shoot" sound, the firing picture for 16 frames (no
// moving or firing meanwhile) and a ball of 50 frames leaving from one pixel ahead of the
// centre along the heading's x. Side 1 (button A) fires to starboard, the heading turned
// a quarter turn clockwise on the screen; side 0 (button B, and every pirate) to port.
void FireCannonball(Ship* ship, int32_t side, bool fromPlayer);

// One frame of the flight of every ball, last to first: a frame of life gone, one pixel
// along each axis of its velocity, the "miss" splash sound as it drops into the water
// (life 7); below life 0 it is gone. The sailing frame runs this just before the sea view
// is drawn, so that a ball is drawn where it has just arrived.
void AdvanceCannonballs();
