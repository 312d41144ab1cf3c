// The font table, DrawChar's clipping and DrawText's layout.
#include "font.h"
#include "render/text.h"
#include "test_support.h"

namespace {

class TextTest : public GameTest {};

// Column bytes of a few glyphs of the classic 5x7 font, written out independently of
// the font's source sheet.
struct KnownGlyph {
    int code;
    uint8_t columns[5];
};
const KnownGlyph kKnownGlyphs[] = {
    {0, {0x00, 0x00, 0x00, 0x00, 0x00}},   {1, {0x3E, 0x5B, 0x4F, 0x5B, 0x3E}},
    {16, {0x7F, 0x3E, 0x1C, 0x1C, 0x08}},  {'A', {0x7C, 0x12, 0x11, 0x12, 0x7C}},
    {'g', {0x18, 0xA4, 0xA4, 0x9C, 0x78}}, {'0', {0x3E, 0x51, 0x49, 0x45, 0x3E}},
    {'!', {0x00, 0x00, 0x5F, 0x00, 0x00}}, {176, {0x55, 0x00, 0x55, 0x00, 0x55}},
    {219, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF}}, {254, {0x00, 0x3C, 0x3C, 0x3C, 0x3C}},
};

TEST_F(TextTest, GlyphsAreColumnsWithBitZeroOnTop) {
    for (const KnownGlyph& g : kKnownGlyphs) {
        SCOPED_TRACE(g.code);
        for (int k = 0; k < 5; k++) EXPECT_EQ(FontGlyphs[5 * g.code + k], g.columns[k]) << "column " << k;
        FillFrame(Colour(0));
        DrawChar(40, 50, static_cast<uint8_t>(g.code), Colour(15));
        for (int y = 45; y < 65; y++)
            for (int x = 35; x < 50; x++) {
                int k = x - 40, b = y - 50;
                bool lit = k >= 0 && k < 5 && b >= 0 && b < 8 && (g.columns[k] >> b & 1);
                ASSERT_EQ(At(x, y), lit ? Colour(15) : Colour(0)) << x << "," << y;
            }
    }
}

TEST_F(TextTest, DrawCharClipsColumnsAndRowsSeparately) {
    // 219 is a solid block: every pixel of the 5 x 8 cell is lit.
    struct Case { int x, y, firstColumn, columns, firstRow, rows; } cases[] = {
        {157, 50, 0, 3, 0, 8}, {50, 115, 0, 5, 0, 5}, {-2, 50, 2, 3, 0, 8},
        {50, -3, 0, 5, 3, 5},  {160, 50, 0, 0, 0, 8}, {50, 120, 0, 5, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "at (" << c.x << ", " << c.y << ")");
        FillFrame(Colour(0));
        DrawChar(c.x, c.y, 219, Colour(9));
        int lit = 0;
        for (uint16_t p : FrameBuffer) lit += p == Colour(9);
        EXPECT_EQ(lit, c.columns * c.rows);
        if (c.columns * c.rows > 0) {
            EXPECT_EQ(At(c.x + c.firstColumn, c.y + c.firstRow), Colour(9));
        }
    }
}

TEST_F(TextTest, TextAdvancesSixAndBreaksTwelveBackToItsStart) {
    FillFrame(Colour(0));
    DrawText(11, 2, "AB\nC", Colour(15));
    uint16_t expected[kScreenWidth * kScreenHeight];
    std::copy(std::begin(FrameBuffer), std::end(FrameBuffer), expected);
    FillFrame(Colour(0));
    DrawChar(11, 2, 'A', Colour(15));
    DrawChar(17, 2, 'B', Colour(15));
    DrawChar(11, 14, 'C', Colour(15));
    EXPECT_TRUE(std::equal(std::begin(FrameBuffer), std::end(FrameBuffer), expected));

    // A space draws nothing but still moves the pen.
    FillFrame(Colour(0));
    DrawText(0, 0, " !", Colour(15));
    EXPECT_EQ(At(6 + 2, 0), Colour(15));
    for (int x = 0; x < 6; x++)
        for (int y = 0; y < 8; y++) EXPECT_EQ(At(x, y), Colour(0));

    // Bytes above 127 pick the upper glyphs, never negative indices.
    FillFrame(Colour(0));
    DrawText(0, 0, "\xdb", Colour(15));
    EXPECT_EQ(At(4, 7), Colour(15));
}

TEST(NumberTextTest, PrintsLikePercentD) {
    EXPECT_EQ(NumberText(0), "0");
    EXPECT_EQ(NumberText(-5), "-5");
    EXPECT_EQ(NumberText(1234), "1234");
    EXPECT_EQ(NumberText(-2147483647 - 1), "-2147483648");
    EXPECT_EQ(NumberText(2147483647), "2147483647");
}

}  // namespace
