// The packed picture format and its blitters: layout, frame slots, clipping and the key.
#include "render/sprite.h"
#include "test_support.h"

namespace {

// The colour index of source pixel (c, r) of test frame `frame`: a diagonal of key
// pixels, everything else some colour that depends on the place and the frame.
int32_t SourceIndex(int32_t frame, int32_t c, int32_t r) { return c == r ? 2 : 3 + (c * 5 + r * 3 + frame * 7) % 13; }

// A table of frames W x H in W x H-byte slots; the unused half of every slot is filled
// with 0xFF so that a blitter reading too far would draw colour 15.
std::vector<uint8_t> MakeTable(int32_t w, int32_t h, int32_t frames) {
    std::vector<uint8_t> table(static_cast<size_t>(w * h * frames), 0xFF);
    for (int32_t f = 0; f < frames; f++)
        for (int32_t d = 0; d < h / 2; d++)
            for (int32_t c = 0; c < w; c++)
                table[f * w * h + d * w + c] = static_cast<uint8_t>(SourceIndex(f, c, 2 * d) << 4 | SourceIndex(f, c, 2 * d + 1));
    return table;
}

// Every screen pixel is either the source pixel under it (unless its colour is keyColour)
// or the untouched background.
void ExpectDrawn(int32_t x, int32_t y, int32_t size, int32_t frame, uint16_t keyColour = Colour(2)) {
    for (int32_t sy = 0; sy < kScreenHeight; sy++)
        for (int32_t sx = 0; sx < kScreenWidth; sx++) {
            const int32_t c = sx - x, r = sy - y;
            const bool inside = c >= 0 && c < size && r >= 0 && r < size;
            const uint16_t source = inside ? Colour(SourceIndex(frame, c, r)) : keyColour;
            ASSERT_EQ(At(sx, sy), source != keyColour ? source : Colour(0)) << size << " at " << x << ", " << y << ": " << sx << ", " << sy;
        }
}

using SpriteTest = GameTest;

TEST_F(SpriteTest, EverySquareClipsEachPixelOnItsOwnAndReadsOnlyItsFrame) {
    struct Blitter { int32_t size; void (*draw)(int32_t, int32_t, Sprite, uint16_t); } blitters[] = {
        {8, DrawSprite8x8}, {16, DrawSprite16x16}, {24, DrawSprite24x24}};
    for (const Blitter& b : blitters) {
        const int32_t w = b.size;
        const std::vector<uint8_t> table = MakeTable(w, w, 3);
        // Wholly on the screen, touching an edge, crossing it by a pixel or by all but one,
        // and wholly off: odd and even rows above the top among them (from an odd one the
        // lower row of the first double row is drawn alone). Frames lie W x H bytes apart.
        for (int32_t x : {-w, -w + 1, -4, -1, 0, 1, 37, 159 - w, 160 - w, 161 - w, 157, 159, 160})
            for (int32_t y : {-w, -w + 1, -3, -2, -1, 0, 1, 51, 119 - w, 120 - w, 121 - w, 118, 119, 120}) {
                const int32_t frame = (x + y + 100) % 3;
                FillFrame(Colour(0));
                b.draw(x, y, table.data() + FrameSlot(w, w, frame), SeaKey());
                ExpectDrawn(x, y, w, frame);
            }
    }
    // The portrait's left edge is always column 11; only its rows are clipped.
    const std::vector<uint8_t> portraits = MakeTable(56, 56, 2);
    for (int32_t y : {-1, 0, 20, 100, -55, 119, 120, -56}) {
        FillFrame(Colour(0));
        DrawPortrait56x56(y, portraits.data() + FrameSlot(56, 56, 1), SeaKey());
        ExpectDrawn(11, y, 56, 1);
    }
    EXPECT_EQ(Values({FrameSlot(16, 16, 5), FrameSlot(56, 56, 1)}), Values({1280, 3136}));
}

TEST_F(SpriteTest, KeyIsTestedOnTheColourNotTheIndex) {
    const std::vector<uint8_t> table = MakeTable(16, 16, 1);
    // Entry 7 given the key's colour vanishes like index 2; with another key, index 2 is
    // drawn as an ordinary colour and the key colour is not.
    for (const auto& [entry, key] : {std::pair{7, 2}, {-1, 5}}) {
        InitPalettes();
        const uint32_t keyColour = Palette[key];
        if (entry >= 0) Palette[entry] = keyColour;
        FillFrame(Colour(0));
        DrawSprite16x16(10, 10, table.data(), static_cast<uint16_t>(keyColour));
        ExpectDrawn(10, 10, 16, 0, static_cast<uint16_t>(keyColour));
    }
}

}  // namespace
