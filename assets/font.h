// The game's one font.
#pragma once
#include <cstdint>

// 256 glyphs in character-code order, 5 bytes each: one byte per column from left to
// right, bit 0 the top row and bit 7 the bottom row; set bits are drawn. Glyph 16 is
// the right-pointing triangle that marks more text in a dialog.
extern const uint8_t FontGlyphs[];
