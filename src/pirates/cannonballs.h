// The flight of cannonballs. The sea view advances each ball once a frame, just before
// drawing it, so a ball is always drawn where it has just arrived.
#pragma once
#include <cstdint>

// One frame of the flight of cannonballs[index]: a frame of life gone, one pixel along
// each axis of its velocity, the "miss" splash sound as it drops into the water (life 7).
// Below life 0 it is removed from the list; returns whether it is still there.
bool AdvanceCannonball(int32_t index);
