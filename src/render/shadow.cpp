#include "render/shadow.h"

#include <algorithm>
#include <cstring>

uint8_t shadowMask[kScreenWidth * kScreenHeight / 8];

namespace {

// In shadow each pixel takes the shadow of the first palette entry that holds its colour,
// and a colour in no entry stays as it is. shadowChanges holds, for every colour, the bits
// that flip to give its shadow: none for a colour in no entry (as it starts). It is kept
// for the palettes copied beside it, and mended when they change.
uint16_t shadowChanges[1 << 16];
uint32_t changesPalette[16];
uint32_t changesShadows[16];

const uint16_t* ShadowChanges() {
    if (std::equal(Palette, Palette + 16, changesPalette) &&
        std::equal(shadowPalette, shadowPalette + 16, changesShadows))
        return shadowChanges;
    for (const uint32_t colour : changesPalette) shadowChanges[static_cast<uint16_t>(colour)] = 0;
    // From the last entry to the first, so that the first of several with one colour wins.
    for (int32_t i = 15; i >= 0; i--)
        shadowChanges[PaletteColour(i)] = static_cast<uint16_t>(PaletteColour(i) ^ shadowPalette[i]);
    std::copy(Palette, Palette + 16, changesPalette);
    std::copy(shadowPalette, shadowPalette + 16, changesShadows);
    return shadowChanges;
}

}  // namespace

void DrawMask(int32_t x, int32_t y, const uint8_t* mask, int32_t size, int32_t colour) {
    // Most clouds are far from the view: nothing of them could land on the screen.
    if (x >= kScreenWidth || y >= kScreenHeight || x + size <= 0 || y + size <= 0) return;
    const uint16_t pixel = colour < 0 ? 0 : PaletteColour(colour);
    for (int32_t band = 0; band < size / 8; band++)
        for (int32_t c = 0; c < size; c++) {
            const uint8_t bits = mask[band * size + c];
            if (bits == 0) continue;
            for (int32_t b = 0; b < 8; b++) {
                const int32_t px = x + c, py = y + band * 8 + b;
                if ((bits >> b & 1) == 0 || !OnScreen(px, py)) continue;
                if (colour < 0)
                    MarkShadow(px, py);
                else
                    FrameBuffer[py * kScreenWidth + px] = pixel;
            }
        }
}

void DarkenShadows() {
    const uint16_t* const change = ShadowChanges();
    // The mask eight bytes at a time: in sailing frames it is mostly empty. Eight bytes
    // are eight columns of one band.
    for (int32_t at = 0; at < kScreenWidth * kScreenHeight / 8; at += 8) {
        uint64_t eight;
        std::memcpy(&eight, shadowMask + at, sizeof eight);
        if (eight == 0) continue;
        uint16_t* const corner = FrameBuffer + at / kScreenWidth * 8 * kScreenWidth + at % kScreenWidth;
        if (eight == UINT64_MAX) {  // the whole picture, behind the pause map or a dialog
            for (int32_t b = 0; b < 8; b++) {
                uint16_t* const row = corner + b * kScreenWidth;
#pragma GCC unroll 8
                for (int32_t c = 0; c < 8; c++) row[c] ^= change[row[c]];
            }
            continue;
        }
        for (int32_t c = 0; c < 8; c++) {
            uint16_t* pixel = corner + c;
            for (uint32_t bits = shadowMask[at + c]; bits != 0; bits >>= 1, pixel += kScreenWidth)
                if ((bits & 1) != 0) *pixel ^= change[*pixel];
        }
    }
}
