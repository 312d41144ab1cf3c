// Pictures of the ships: ours and the three pirates, afloat, firing, struck, sinking and
// wrecked, and the wake drawn over a ship under way.
// Packed 4-bit frames in slots of width x height bytes unless said otherwise.
// Directions: 0 up, 1 up-left, 2 left, 3 down-left, 4 down, 5 down-right, 6 right, 7 up-right.
// Kinds: 0 our cargo ship (white sails, blue pennant), 1 the pirate sloop (one mast, red sail),
// 2 the pirate brig (two masts, black sails), 3 the pirate galleon (three masts, red sails).
#pragma once
#include <cstdint>

// Ships, 24 x 24, 1280 frames (slots of 576 bytes), key index 2; the ship's centre on the
// water is pixel (12, 12), its masts and sails rise above.
// Frame = bank x 256 + kind x 64 + direction x 8 + frame (0..7). Banks: 0 sailing, an 8-frame
// loop whose frame 0 is also the ship at rest; 1 firing to port (button B, and every pirate);
// 2 firing to starboard (button A); 3 struck on the port side; 4 struck on the starboard side.
// Banks 1 to 4 play frames 0..7 over 16 game frames.
extern const uint8_t ShipFrames[];

// Wake and bow spray around a ship under way, 24 x 24 one-bit masks, 64 frames in slots of
// 576 bytes (72 bytes used): for each band of 8 rows one byte per column, bit b the row
// 8 x band + b. Frame = animation frame (0..7) x 8 + direction. Set bits are drawn in mid
// blue over the ship's picture; they only cover water, never a ship of any kind.
extern const uint8_t ShipOverlayMasks[];

// Wrecks, 24 x 24, 16 frames (slots of 576 bytes), key index 2: frame = kind x 4 + bobbing
// frame (0..3). Broken masts, rags of sail and flotsam on the water.
extern const uint8_t WreckFrames[];

// Sinking ships, 24 x 24, 32 frames (slots of 576 bytes), key index 2: frame = kind x 8 +
// frame (0..7), from the ship listing to bubbles around its masthead.
extern const uint8_t SinkingFrames[];
