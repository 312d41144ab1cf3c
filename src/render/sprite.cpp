#include "render/sprite.h"

#include "platform/frame.h"

namespace {

inline void PutPixel(int32_t x, int32_t y, uint8_t nibble, uint16_t key) {
    const uint16_t colour = PaletteColour(nibble);
    if (OnScreen(x, y) && colour != key) FrameBuffer[y * kScreenWidth + x] = colour;
}

template <int32_t W>
void DrawSquare(int32_t x, int32_t y, Sprite data, uint16_t key) {
    for (int32_t d = 0; d < W / 2; d++) {
        const int32_t upper = y + 2 * d;
        const uint8_t* row = data + d * W;
        for (int32_t c = 0; c < W; c++) {
            PutPixel(x + c, upper, row[c] >> 4, key);
            PutPixel(x + c, upper + 1, row[c] & 15, key);
        }
    }
}

}  // namespace

void DrawSprite8x8(int32_t x, int32_t y, Sprite data, uint16_t key) { DrawSquare<8>(x, y, data, key); }
void DrawSprite16x16(int32_t x, int32_t y, Sprite data, uint16_t key) { DrawSquare<16>(x, y, data, key); }
void DrawSprite24x24(int32_t x, int32_t y, Sprite data, uint16_t key) { DrawSquare<24>(x, y, data, key); }

void DrawPortrait56x56(int32_t y, Sprite data, uint16_t key) {
    // Columns 11..66 always lie on the screen; only the rows need testing.
    for (int32_t d = 0; d < 28; d++) {
        const int32_t upper = y + 2 * d;
        const uint8_t* row = data + d * 56;
        for (int32_t c = 0; c < 56; c++) {
            PutPixel(11 + c, upper, row[c] >> 4, key);
            PutPixel(11 + c, upper + 1, row[c] & 15, key);
        }
    }
}

uint16_t SeaKey() { return PaletteColour(2); }
