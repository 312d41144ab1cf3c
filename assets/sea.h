// Pictures of the sea view: coasts, land, ports, whirlpools, rocks, barrels, cannonballs,
// splashes, port markers, gulls and clouds.
// Packed 4-bit frames in slots of width x height bytes, key index 2, unless said otherwise.
#pragma once
#include <cstdint>

// Coast pieces drawn on a sea cell, 16 x 16, 12 frames: frame = edge mask - 1, where the mask
// adds 1 for land above, 2 land left, 4 land right, 8 land below. Sand and surf on the land
// side(s), the rest key so the sea shows.
extern const uint8_t CoastEdgeFrames[];

// Coast pieces drawn on a sea cell whose only land is diagonal, 16 x 16, 4 frames:
// frame = corner sum - 1, the sum being 1 land down-right, 2 down-left, 3 up-right, 4 up-left.
extern const uint8_t CoastCornerFrames[];

// Land cells, 16 x 16, 5 frames, fully opaque: frame = cell code - 2: 0 plain grass, 1 a hut,
// 2 a palm, 3 boulders, 4 a bush with flowers.
extern const uint8_t LandFrames[];

// Jetties on port cells, 16 x 16, 32 frames, drawn over the cell's coast piece:
// frame = orientation x 8 + (frameCounter / 5) % 8, orientation 0 land below, 1 land left,
// 2 land right, 3 land above. Water laps round the piles over the 8 frames.
extern const uint8_t PortCellFrames[];

// A whirlpool over a sea cell, 16 x 16, 4 frames: frame = (frameCounter / 5) % 4, turning.
extern const uint8_t WhirlpoolFrames[];

// Rocks in the sea, 24 x 24, 24 frames, drawn at the cell's corner minus (4, 4):
// frame = (-code - 1) x 6 + (frameCounter / 10) % 6, surf washing round the rock's foot.
// Codes -2, -3, -4 show a boulder, sea stacks and stones (frames 6..23); frames 0..5, a low
// reef, are never drawn in play.
extern const uint8_t RockFrames[];

// A floating barrel of cannonballs, 16 x 16, 8 frames, drawn at its position minus (4, 4):
// frame = frameCounter / 15, the barrel bobbing and ripples spreading round it.
extern const uint8_t BarrelFrames[];

// A cannonball in flight, 8 x 8, 8 frames: frame = life & 7, a glint running round the ball.
extern const uint8_t CannonballFrames[];

// A cannonball striking the water, 8 x 8, 8 frames: frame = 7 - life; 0..3 the spout rises
// and falls back, 4..7 rings spread and fade.
extern const uint8_t SplashFrames[];

// Markers hovering over ports, 24 x 24, 2 frames, the point on the bottom rows over the
// port cell's pixels 4..19: 0 a grey sign with a crate (the port gives cargo), 1 a gold
// coin (the port buys it).
extern const uint8_t PortMarkerFrames[];

// Gulls, 8 x 8, 32 frames: frame = direction x 4 + wing frame; directions 0 up, 1 up-left,
// 2 left, 3 down-left, 4 down, 5 down-right, 6 right, 7 up-right; wing frames 0 up,
// 1 level, 2 down, 3 level. The game makes the shadow from the opaque pixels.
extern const uint8_t GullFrames[];

// Clouds, one-bit masks, frames following one another without gaps: for each band of 8
// rows one byte per column, bit b the row 8 x band + b (set = cloud). Frame = animation
// frame (0..7) x variants + variant; in play the variant is 0. Every cloud stays clear
// of its square's edges.
extern const uint8_t CloudMasks8[];   // 8 x 8, 8 bytes a frame, 6 variants, 48 frames
extern const uint8_t CloudMasks16[];  // 16 x 16, 32 bytes a frame, 6 variants, 48 frames
extern const uint8_t CloudMasks32[];  // 32 x 32, 128 bytes a frame, 5 variants, 40 frames
extern const uint8_t CloudMasks48[];  // 48 x 48, 288 bytes a frame, 4 variants, 32 frames
