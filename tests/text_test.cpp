// The font table, DrawChar's clipping and DrawText's layout.
#include "font.h"
#include "render/text.h"
#include "test_support.h"

namespace {

using TextTest = GameTest;

TEST_F(TextTest, GlyphsAreColumnsWithBitZeroOnTopClippedColumnByColumnAndRowByRow) {
    // Column bytes of a few glyphs of the classic 5x7 font, written out independently of
    // the font's source sheet; 219 is a solid block.
    const std::pair<int32_t, Values> glyphs[] = {
        {0, {0x00, 0x00, 0x00, 0x00, 0x00}}, {'g', {0x18, 0xA4, 0xA4, 0x9C, 0x78}},
        {176, {0x55, 0x00, 0x55, 0x00, 0x55}}, {219, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}};
    for (const auto& [code, columns] : glyphs) {
        EXPECT_EQ(Values(FontGlyphs + 5 * code, FontGlyphs + 5 * code + 5), columns) << code;
        // Drawn whole, and cut at every edge of the screen (x 157: columns 0-2; y 115: rows
        // 0-4; x -2: columns 2-4; y -3: rows 3-7).
        for (auto [x, y] : {std::pair{40, 50}, {157, 50}, {50, 115}, {-2, 50}, {50, -3}, {160, 50}, {50, 120}}) {
            FillFrame(Colour(0));
            DrawChar(x, y, static_cast<uint8_t>(code), Colour(15));
            for (int32_t sy = 0; sy < 120; sy++)
                for (int32_t sx = 0; sx < 160; sx++) {
                    const int32_t k = sx - x, b = sy - y;
                    const bool lit = k >= 0 && k < 5 && b >= 0 && b < 8 && (columns[k] >> b & 1);
                    ASSERT_EQ(At(sx, sy), lit ? Colour(15) : Colour(0)) << code << " at " << x << ", " << y;
                }
        }
    }
}

TEST_F(TextTest, TextAdvancesSixAndBreaksTwelveBackToItsStart) {
    // A, B, newline, C at (11, 2); a space that draws nothing but moves the pen; a byte
    // above 127, which picks an upper glyph, never a negative index.
    FillFrame(Colour(0));
    DrawText(11, 2, "AB\nC \xdb", Colour(15));
    const Picture text = Snapshot();
    FillFrame(Colour(0));
    DrawChar(11, 2, 'A', Colour(15)), DrawChar(17, 2, 'B', Colour(15)), DrawChar(11, 14, 'C', Colour(15));
    DrawChar(23, 14, 219, Colour(15));
    EXPECT_EQ(Differs(text), "");
}

}  // namespace
