#include "render/text.h"

#include "font.h"
#include "platform/frame.h"

void DrawChar(int32_t x, int32_t y, uint8_t c, uint16_t colour) {
    const uint8_t* glyph = FontGlyphs + 5 * c;
    for (int32_t k = 0; k < 5; k++) {
        const int32_t column = x + k;
        if (static_cast<uint32_t>(column) >= static_cast<uint32_t>(kScreenWidth)) continue;
        for (int32_t b = 0; b < 8; b++) {
            const int32_t row = y + b;
            if ((glyph[k] >> b & 1) != 0 && static_cast<uint32_t>(row) < static_cast<uint32_t>(kScreenHeight))
                FrameBuffer[row * kScreenWidth + column] = colour;
        }
    }
}

void DrawText(int32_t x, int32_t y, const char* text, uint16_t colour) {
    int32_t penX = x;
    int32_t penY = y;
    for (const char* p = text; *p != '\0'; p++) {
        if (*p == '\n') {
            penX = x;
            penY += kLineHeight;
            continue;
        }
        DrawChar(penX, penY, static_cast<uint8_t>(*p), colour);
        penX += kCharAdvance;
    }
}

std::string NumberText(int32_t n) {
    return std::to_string(n);
}
