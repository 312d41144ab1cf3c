// The packed picture format and its blitters: layout, frame slots, clipping and the key.
#include <vector>

#include "render/sprite.h"
#include "test_support.h"

namespace {

// The colour index of source pixel (c, r) of test frame `frame`: a diagonal of key
// pixels, everything else some colour that depends on the place and the frame.
int SourceIndex(int frame, int c, int r) {
    if (c == r) return 2;
    return 3 + (c * 5 + r * 3 + frame * 7) % 13;
}

// A table of frames W x H in W x H-byte slots; the unused half of every slot is filled
// with 0xFF so that a blitter reading too far would draw colour 15.
std::vector<uint8_t> MakeTable(int w, int h, int frames) {
    std::vector<uint8_t> table(static_cast<size_t>(w) * h * frames, 0xFF);
    for (int f = 0; f < frames; f++)
        for (int d = 0; d < h / 2; d++)
            for (int c = 0; c < w; c++)
                table[f * w * h + d * w + c] =
                    static_cast<uint8_t>(SourceIndex(f, c, 2 * d) << 4 | SourceIndex(f, c, 2 * d + 1));
    return table;
}

// Every screen pixel is either the source pixel under it or the untouched background.
void ExpectDrawn(int x, int y, int w, int h, int frame, uint16_t background) {
    for (int sy = 0; sy < kScreenHeight; sy++)
        for (int sx = 0; sx < kScreenWidth; sx++) {
            int c = sx - x, r = sy - y;
            uint16_t want = background;
            if (c >= 0 && c < w && r >= 0 && r < h && SourceIndex(frame, c, r) != 2)
                want = Colour(SourceIndex(frame, c, r));
            ASSERT_EQ(At(sx, sy), want) << "screen (" << sx << ", " << sy << ")";
        }
}

class SpriteTest : public GameTest {};

TEST_F(SpriteTest, EverySquareClipsEachPixelOnItsOwn) {
    const uint16_t bg = Colour(0);
    struct Blitter { int size; void (*draw)(int32_t, int32_t, Sprite, uint16_t); } blitters[] = {
        {8, DrawSprite8x8}, {16, DrawSprite16x16}, {24, DrawSprite24x24},
    };
    for (const Blitter& b : blitters) {
        std::vector<uint8_t> table = MakeTable(b.size, b.size, 1);
        const int w = b.size;
        // Wholly on the screen, touching an edge, crossing it by a pixel or by all but one,
        // and wholly off: odd and even rows above the top among them.
        for (int x : {-w, -w + 1, -4, -1, 0, 1, 37, 159 - w, 160 - w, 161 - w, 157, 159, 160})
            for (int y : {-w, -w + 1, -3, -2, -1, 0, 1, 51, 119 - w, 120 - w, 121 - w, 118, 119, 120}) {
                SCOPED_TRACE(::testing::Message() << w << " at (" << x << ", " << y << ")");
                FillFrame(bg);
                b.draw(x, y, table.data(), SeaKey());
                ExpectDrawn(x, y, w, w, 0, bg);
            }
    }
    // Only the top-left 10 x 10 pixels of a 16 x 16 land on the screen at (150, 110).
    std::vector<uint8_t> table = MakeTable(16, 16, 1);
    FillFrame(bg);
    DrawSprite16x16(150, 110, table.data(), SeaKey());
    int drawn = 0;
    for (uint16_t p : FrameBuffer) drawn += p != bg;
    EXPECT_EQ(drawn, 10 * 10 - 10);  // less the ten key pixels of the diagonal
}

TEST_F(SpriteTest, FramesLieOneSlotApartAndOnlyHalfASlotIsRead) {
    for (int size : {8, 16, 24}) {
        SCOPED_TRACE(size);
        std::vector<uint8_t> table = MakeTable(size, size, 3);
        for (int frame = 0; frame < 3; frame++) {
            FillFrame(Colour(0));
            Sprite data = table.data() + FrameSlot(size, size, frame);
            if (size == 8) DrawSprite8x8(20, 30, data, SeaKey());
            if (size == 16) DrawSprite16x16(20, 30, data, SeaKey());
            if (size == 24) DrawSprite24x24(20, 30, data, SeaKey());
            ExpectDrawn(20, 30, size, size, frame, Colour(0));
        }
    }
    EXPECT_EQ(FrameSlot(16, 16, 5), 1280);
    EXPECT_EQ(FrameSlot(56, 56, 1), 3136);
}

TEST_F(SpriteTest, OddNegativeRowDrawsTheLowerHalfOfTheFirstByte) {
    for (int size : {8, 24}) {
        std::vector<uint8_t> table = MakeTable(size, size, 1);
        FillFrame(Colour(0));
        if (size == 8) DrawSprite8x8(3, -1, table.data(), SeaKey());
        else DrawSprite24x24(3, -1, table.data(), SeaKey());
        ExpectDrawn(3, -1, size, size, 0, Colour(0));
        EXPECT_EQ(At(3 + 2, 0), Colour(SourceIndex(0, 2, 1)));  // source row 1 on screen row 0
    }
}

TEST_F(SpriteTest, KeyIsTestedOnTheColourNotTheIndex) {
    std::vector<uint8_t> table = MakeTable(16, 16, 1);
    // Give entry 7 the key's colour: its pixels must vanish like index 2's.
    Palette[7] = Palette[2];
    FillFrame(Colour(0));
    DrawSprite16x16(10, 10, table.data(), SeaKey());
    for (int r = 0; r < 16; r++)
        for (int c = 0; c < 16; c++) {
            int index = SourceIndex(0, c, r);
            uint16_t want = (index == 2 || index == 7) ? Colour(0) : Colour(index);
            ASSERT_EQ(At(10 + c, 10 + r), want) << c << "," << r;
        }
    // Any other key: index 2 is drawn as an ordinary colour, and the key colour is not.
    InitPalettes();
    FillFrame(Colour(0));
    DrawSprite16x16(10, 10, table.data(), Colour(5));
    for (int r = 0; r < 16; r++)
        for (int c = 0; c < 16; c++) {
            int index = SourceIndex(0, c, r);
            ASSERT_EQ(At(10 + c, 10 + r), index == 5 ? Colour(0) : Colour(index)) << c << "," << r;
        }
}

TEST_F(SpriteTest, PortraitStandsAtColumnElevenAndClipsOnlyRows) {
    std::vector<uint8_t> table = MakeTable(56, 56, 2);
    for (int y : {-1, 0, 20, 100, -55, 119, 120, -56}) {
        SCOPED_TRACE(y);
        FillFrame(Colour(0));
        DrawPortrait56x56(y, table.data() + FrameSlot(56, 56, 1), SeaKey());
        ExpectDrawn(11, y, 56, 56, 1, Colour(0));
    }
}

}  // namespace
