// Shadows on the picture, and one-bit pictures (masks). The pixels that fall in shadow are
// gathered in shadowMask while a frame is drawn, then darkened in one pass, so that a
// pixel under several shadows is darkened once.
//
// A mask of size x size pixels is stored in bands of 8 rows from the top: one byte per
// column, left to right, bit b of a byte being row 8 x band + b.
#pragma once
#include <cstdint>

#include "platform/frame.h"

// One bit per FrameBuffer pixel: bit r % 8 of byte (r / 8) * 160 + c is pixel (c, r).
// Cleared at the start of each sailing frame, filled by the shadows of gulls and clouds,
// or wholly by the darkening behind the map and the dialog.
extern uint8_t shadowMask[kScreenWidth * kScreenHeight / 8];

// Puts pixel (x, y), which must be on the screen, in shadow.
inline void MarkShadow(int32_t x, int32_t y) {
    shadowMask[(y >> 3) * kScreenWidth + x] |= static_cast<uint8_t>(1 << (y & 7));
}

// A mask with its top-left corner at (x, y): every set bit on the screen becomes a pixel
// of the palette colour, or, with colour -1, a mark in shadowMask.
void DrawMask(int32_t x, int32_t y, const uint8_t* mask, int32_t size, int32_t colour);

// Every pixel marked in shadowMask takes the shadowPalette colour of the first Palette
// entry that holds its colour; a colour in no entry stays as it is.
void DarkenShadows();
