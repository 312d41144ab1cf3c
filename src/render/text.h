// Text in the game's one 5 x 8 font: 6 pixels a character, 12 pixels a line, drawn in
// a single solid colour with no background.
#pragma once
#include <cstdint>
#include <string>

constexpr int32_t kCharAdvance = 6;
constexpr int32_t kLineHeight = 12;

// Glyph c with its top-left corner at (x, y); every pixel clips on its own.
void DrawChar(int32_t x, int32_t y, uint8_t c, uint16_t colour);

// A string from (x, y): a newline goes back to x and 12 pixels down; nothing wraps.
void DrawText(int32_t x, int32_t y, const char* text, uint16_t colour);

// The decimal text of n, as "%d" prints it.
std::string NumberText(int32_t n);
