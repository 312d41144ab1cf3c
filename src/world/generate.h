// Making a new set of islands from the random generator.
#pragma once
#include <cstdint>

// Corner points of the sea channels on the 28 x 28 coarse grid; point 27 is always the
// corner (0, 0).
extern int8_t pathX[28];
extern int8_t pathY[28];

// Cuts a sea channel on the coarse grid from (x0, y0) to (x1, y1) in orthogonal steps,
// turning every cell it steps onto to sea; the start cell is left as it is.
void CutChannel(int32_t x0, int32_t y0, int32_t x1, int32_t y1);

// Builds a new set of islands: the map, six ports (one to three of them giving cargo), the
// player's ship, gulls and clouds; resets the ports' counters and the magazine, and adds
// the islands' purse to the gold.
void MakeIslands();
