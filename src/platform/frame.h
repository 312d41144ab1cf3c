// The frame: the picture every screen draws into, the colour tables and the frame
// counter.
#pragma once
#include <cstdint>
#include <string>

constexpr int32_t kScreenWidth = 160;
constexpr int32_t kScreenHeight = 120;
constexpr uint32_t kFramePeriodMs = 25;  // 40 frames a second

// 160 x 120 RGB565 pixels, row-major. Black before the first frame; cleared to
// Palette[0] after every frame is shown.
extern uint16_t FrameBuffer[kScreenWidth * kScreenHeight];

// The 16 colours every picture and text indexes (RGB565 in the low 16 bits), and the
// colour each of them takes in shadow. Filled by InitPalettes at start-up.
extern uint32_t Palette[16];
extern uint32_t shadowPalette[16];

// Size of the video mode; 320 x 240 until the window is resized.
extern int32_t windowWidth;
extern int32_t windowHeight;

// Where the high score lives: the home directory (or ".") and "/.Quillbarrow/".
// Holds only the suffix until BuildSaveDir runs at start-up.
extern std::string saveDir;

// Tick count (ms) at the top of the current frame.
extern uint32_t frameStart;

// 0..119, advanced once a frame after the picture is shown; screens take animation
// frames from it by division and blinking by remainder.
extern int32_t frameCounter;

void InitPalettes();

// The RGB565 colour of palette entry index, as it is written into the FrameBuffer.
inline uint16_t PaletteColour(int32_t index) { return static_cast<uint16_t>(Palette[index]); }

// The 24-bit colour (0xRRGGBB) an RGB565 pixel is shown as in a PNG or the browser's
// canvas: each channel's bits repeated to fill eight.
inline uint32_t Rgb888(uint16_t pixel) {
    const uint32_t r5 = pixel >> 11, g6 = (pixel >> 5) & 63, b5 = pixel & 31;
    return (r5 << 3 | r5 >> 2) << 16 | (g6 << 2 | g6 >> 4) << 8 | (b5 << 3 | b5 >> 2);
}

// Whether (x, y) is a pixel of the FrameBuffer. The tests are unsigned, so negative
// positions fail them too and clip rather than wrap.
inline bool OnScreen(int32_t x, int32_t y) {
    return static_cast<uint32_t>(x) < static_cast<uint32_t>(kScreenWidth) &&
           static_cast<uint32_t>(y) < static_cast<uint32_t>(kScreenHeight);
}

// Puts the home directory (or "." when home is null or empty) in front of saveDir.
void BuildSaveDir(const char* home);

void ClearFrameBuffer();
