// Pictures of the dialog box: the frame pieces and the four speakers' portraits.
// Packed 4-bit frames in slots of width x height bytes unless said otherwise.
#pragma once
#include <cstdint>

// Pieces of the dialog box frame, 16 x 16, tiled from (8, 64): 0 top-left corner,
// 1 top edge, 2 top-right corner, 3 left edge, 4 centre fill, 5 right edge,
// 6 bottom-left corner, 7 bottom edge, 8 bottom-right corner.
extern const uint8_t DialogFramePieces[];

// Speaker portraits while idle, 56 x 56: frame (p - 1) x 8 + a for portrait p (1 the
// first mate, 2 the gibberish pirate, 3 the pirate captain, 4 the gentleman pirate)
// and animation frame a (0..7).
extern const uint8_t PortraitIdleFrames[];

// Speaker portraits while talking, 56 x 56, in the same order as the idle frames.
extern const uint8_t PortraitTalkFrames[];
