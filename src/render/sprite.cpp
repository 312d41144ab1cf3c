#include "render/sprite.h"

#include "platform/frame.h"
#include "render/shadow.h"

namespace {

// The one reading of the packed format. Columns first..last-1 of one double row of pairs:
// put(index, colour) for the upper pixels at FrameBuffer index at + c (when upperOn) and
// for the lower ones a row below (when lowerOn), passing over the key's colour when Keyed.
template <bool Keyed, typename Put>
[[gnu::always_inline]] inline void PutPairs(const uint8_t* pairs, int32_t first, int32_t last, int32_t at,
                                            bool upperOn, bool lowerOn, uint16_t key, Put put) {
    for (int32_t c = first; c < last; c++) {
        const uint16_t upper = PaletteColour(pairs[c] >> 4), lower = PaletteColour(pairs[c] & 15);
        if (upperOn && (!Keyed || upper != key)) put(at + c, upper);
        if (lowerOn && (!Keyed || lower != key)) put(at + kScreenWidth + c, lower);
    }
}

// A whole picture with its top-left corner at (x, y), clipped to the screen.
template <bool Keyed, typename Put>
[[gnu::always_inline]] inline void PutPicture(int32_t x, int32_t y, int32_t width, int32_t height, Sprite data,
                                              uint16_t key, Put put) {
    if (x >= 0 && x <= kScreenWidth - width && y >= 0 && y <= kScreenHeight - height) {
        // Wholly on the screen, as most pictures are.
        for (int32_t d = 0; d < height / 2; d++)
            PutPairs<Keyed>(data + d * width, 0, width, (y + 2 * d) * kScreenWidth + x, true, true, key, put);
        return;
    }
    // The columns on the screen are found once. The two rows of a double row are tested
    // on their own: a picture starting at an odd row above the screen still draws the
    // lower row of its first double row.
    const int32_t first = x < 0 ? -x : 0;
    const int32_t last = x > kScreenWidth - width ? kScreenWidth - x : width;
    for (int32_t d = 0; d < height / 2; d++) {
        const int32_t upper = y + 2 * d;
        const bool upperOn = OnScreen(0, upper), lowerOn = OnScreen(0, upper + 1);
        if (upperOn || lowerOn)
            PutPairs<Keyed>(data + d * width, first, last, upper * kScreenWidth + x, upperOn, lowerOn, key, put);
    }
}

// Puts a pixel of a picture into the FrameBuffer.
constexpr auto Draw = [](int32_t at, uint16_t colour) { FrameBuffer[at] = colour; };

}  // namespace

void DrawSprite8x8(int32_t x, int32_t y, Sprite data, uint16_t key) { PutPicture<true>(x, y, 8, 8, data, key, Draw); }
void DrawSprite16x16(int32_t x, int32_t y, Sprite data, uint16_t key) {
    PutPicture<true>(x, y, 16, 16, data, key, Draw);
}
void DrawSprite24x24(int32_t x, int32_t y, Sprite data, uint16_t key) {
    PutPicture<true>(x, y, 24, 24, data, key, Draw);
}

// Columns 11..66 always lie on the screen.
void DrawPortrait56x56(int32_t y, Sprite data, uint16_t key) { PutPicture<true>(11, y, 56, 56, data, key, Draw); }

void DrawPicture(int32_t x, int32_t y, int32_t width, int32_t height, Sprite data, uint16_t key) {
    PutPicture<true>(x, y, width, height, data, key, Draw);
}

void DrawOpaquePicture(int32_t x, int32_t y, int32_t width, int32_t height, Sprite data) {
    PutPicture<false>(x, y, width, height, data, 0, Draw);
}

void DrawRippledPicture(int32_t x, int32_t y, int32_t width, int32_t height, Sprite data, uint16_t key,
                        bool rippling, int32_t crest) {
    // Column by column, each shifted up or down by the ripple as it passes; the pictures
    // that ripple lie wholly on the screen, shifted or not.
    for (int32_t c = 0; c < width; c++) {
        int32_t shift = 0;
        if (rippling) shift = (c == crest + 4) + (c == crest + 5) - (c == crest) - (c == crest - 1);
        for (int32_t d = 0; d < height / 2; d++)
            PutPairs<true>(data + d * width, c, c + 1, (y + shift + 2 * d) * kScreenWidth + x, true, true, key, Draw);
    }
}

void MarkPictureShadow(int32_t x, int32_t y, int32_t width, int32_t height, Sprite data, uint16_t key) {
    PutPicture<true>(x, y, width, height, data, key,
               [](int32_t at, uint16_t) { MarkShadow(at % kScreenWidth, at / kScreenWidth); });
}

uint16_t SeaKey() { return PaletteColour(2); }
