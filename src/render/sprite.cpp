#include "render/sprite.h"

#include "platform/frame.h"

namespace {

// Columns first..last-1 of one double row of pairs: the upper pixels into the FrameBuffer
// from index at (when upperOn), the lower ones into the row below (when lowerOn).
[[gnu::always_inline]] inline void DrawPairs(const uint8_t* pairs, int32_t first, int32_t last, int32_t at,
                                             bool upperOn, bool lowerOn, uint16_t key) {
    for (int32_t c = first; c < last; c++) {
        const uint16_t upper = PaletteColour(pairs[c] >> 4), lower = PaletteColour(pairs[c] & 15);
        if (upperOn && upper != key) FrameBuffer[at + c] = upper;
        if (lowerOn && lower != key) FrameBuffer[at + kScreenWidth + c] = lower;
    }
}

template <int32_t W>
void DrawSquare(int32_t x, int32_t y, Sprite data, uint16_t key) {
    if (x >= 0 && x <= kScreenWidth - W && y >= 0 && y <= kScreenHeight - W) {
        // Wholly on the screen, as most pictures are.
        for (int32_t d = 0; d < W / 2; d++)
            DrawPairs(data + d * W, 0, W, (y + 2 * d) * kScreenWidth + x, true, true, key);
        return;
    }
    // The columns on the screen are found once. The two rows of a double row are tested
    // on their own: a picture starting at an odd row above the screen still draws the
    // lower row of its first double row.
    const int32_t first = x < 0 ? -x : 0;
    const int32_t last = x > kScreenWidth - W ? kScreenWidth - x : W;
    for (int32_t d = 0; d < W / 2; d++) {
        const int32_t upper = y + 2 * d;
        const bool upperOn = OnScreen(0, upper), lowerOn = OnScreen(0, upper + 1);
        if (upperOn || lowerOn) DrawPairs(data + d * W, first, last, upper * kScreenWidth + x, upperOn, lowerOn, key);
    }
}

}  // namespace

void DrawSprite8x8(int32_t x, int32_t y, Sprite data, uint16_t key) { DrawSquare<8>(x, y, data, key); }
void DrawSprite16x16(int32_t x, int32_t y, Sprite data, uint16_t key) { DrawSquare<16>(x, y, data, key); }
void DrawSprite24x24(int32_t x, int32_t y, Sprite data, uint16_t key) { DrawSquare<24>(x, y, data, key); }

// Columns 11..66 always lie on the screen.
void DrawPortrait56x56(int32_t y, Sprite data, uint16_t key) { DrawSquare<56>(11, y, data, key); }

uint16_t SeaKey() { return PaletteColour(2); }
