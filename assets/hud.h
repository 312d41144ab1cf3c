// Pictures of the status bar, the pickup icon over the ship and the island map's frame.
// Packed 4-bit frames in slots of width x height bytes, key index 2.
#pragma once
#include <cstdint>

// Gold coin, 16 x 16, 10 frames: frame = frameCounter / 12. The coin stands still (0, 4, 8),
// a shine sweeps across it (1-3), it turns over (5-7) and twinkles (9). Drawn at (1, 1) with
// the gold number starting at x = 11: the coin keeps to columns 0..8 and rows 0..8.
extern const uint8_t GoldIconFrames[];

// One unit of cargo, 16 x 16, 1 frame: a crate like the one on a giving port's sign, in
// columns 0..8 and rows 1..9. Drawn along the bottom edge from x = 133 leftwards, 10 pixels
// apart, at y = 109: only rows 0..10 and columns 0..9 are ever on the screen.
extern const uint8_t CargoIcon[];

// Compass dial, 16 x 16, 1 frame, at (144, 103), bottom right: a brass rim around a white
// face with four ticks, centred where pixels (7, 7) and (8, 8) meet.
extern const uint8_t CompassDial[];

// Compass arrow, 8 x 8, 8 frames, a red head on a black shaft, drawn on the dial's centre
// (148, 107): frame 0 up, 1 up-left, 2 left, 3 down-left, 4 down, 5 down-right, 6 right,
// 7 up-right.
extern const uint8_t CompassArrowFrames[];

// One hit point of hull, 16 x 16, 1 frame: our ship in miniature, a hull under a white sail
// and the blue pennant, in columns 0..8 and rows 0..8. Drawn along the top edge from
// x = 150 leftwards, 10 pixels apart, at y = 1: only columns 0..9 of the first are on the
// screen.
extern const uint8_t HullIcon[];

// One cannonball of the magazine, 8 x 8, 8 frames: frame = frameCounter / 15, an iron ball
// in columns 0..6 and rows 0..6 with a glint running round it. Drawn along the bottom edge
// from x = 0 rightwards, 9 pixels apart, at y = 111.
extern const uint8_t CannonballIconFrames[];

// The island map's frame, 72 x 72, 1 frame, at (45, 24): a parchment chart ruled in brown
// ink, a graduated band between two lines. The map itself, one pixel a cell, covers pixels
// (7, 8) to (61, 63) of it, which the frame leaves clear, as it does columns 69..71.
extern const uint8_t MapFrame[];

// Pickup icon rising over the ship, 24 x 24, 40 frames: frame = kind x 10 + step (0..9),
// kinds 0 gold (a coin, a sale), 1 cargo (a crate), 2 repair (a hammer and a plank),
// 3 cannonballs (three balls). The ten steps play once, over 29 game frames, at (68, 18),
// just above the ship: 0 a flash, 1-7 the picture rising 6 pixels (a shine crossing it at
// 3-5, a twinkle at 6), 8 the picture broken up, 9 the last sparks.
extern const uint8_t PickupIconFrames[];
