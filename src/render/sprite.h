// Packed 4-bit pictures and the blitters that copy them into the FrameBuffer.
//
// A picture W pixels wide and H high (H even) is W x H / 2 bytes: one byte holds two
// vertically adjacent pixels of one column (upper pixel in the high nibble), stored
// double row after double row from the top, each double row W bytes from left to right.
// Each nibble indexes Palette. Frames of one table lie W x H bytes apart, so the
// second half of every frame slot is unused.
//
// Every blitter skips a pixel whose Palette colour equals the key (an RGB565 colour,
// normally that of Palette[2]) and clips each pixel to the screen on its own, so any
// position is allowed, negative ones included.
#pragma once
#include <cstdint>

using Sprite = const uint8_t*;

// Byte offset of frame n in a table of W x H frames.
constexpr int32_t FrameSlot(int32_t width, int32_t height, int32_t n) { return width * height * n; }

void DrawSprite8x8(int32_t x, int32_t y, Sprite data, uint16_t key);
void DrawSprite16x16(int32_t x, int32_t y, Sprite data, uint16_t key);
void DrawSprite24x24(int32_t x, int32_t y, Sprite data, uint16_t key);

// A 56 x 56 speaker portrait, always at columns 11..66; only its rows are clipped.
void DrawPortrait56x56(int32_t y, Sprite data, uint16_t key);

// A picture of any size (the map's frame, the title logo).
void DrawPicture(int32_t x, int32_t y, int32_t width, int32_t height, Sprite data, uint16_t key);

// A picture with no key: every pixel is drawn, the sea's colour too (the credit pictures).
void DrawOpaquePicture(int32_t x, int32_t y, int32_t width, int32_t height, Sprite data);

// A picture on the water with a travelling ripple: while rippling, columns crest and
// crest - 1 are lifted a pixel and columns crest + 4 and crest + 5 lowered a pixel.
void DrawRippledPicture(int32_t x, int32_t y, int32_t width, int32_t height, Sprite data, uint16_t key,
                        bool rippling, int32_t crest);

// Marks in shadowMask (render/shadow.h) every pixel of a picture that is not the key's
// colour and lies on the screen: the shadow a picture casts in its own shape.
void MarkPictureShadow(int32_t x, int32_t y, int32_t width, int32_t height, Sprite data, uint16_t key);

// The colour of Palette[2], the key of nearly every picture.
uint16_t SeaKey();
