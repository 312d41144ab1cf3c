#include "platform/frame.h"

uint16_t FrameBuffer[kScreenWidth * kScreenHeight];
uint32_t Palette[16];
uint32_t shadowPalette[16];
int32_t windowWidth = 320;
int32_t windowHeight = 240;
std::string saveDir = "/.Quillbarrow/";
uint32_t frameStart;
int32_t frameCounter;

void InitPalettes() {
    static const uint32_t colours[16] = {0x1063, 0x4126, 0x31AD, 0x4A49, 0x8266, 0x3324, 0xD229, 0x738C,
                                         0x5BF9, 0xD3E5, 0x84B4, 0x6D45, 0xD553, 0x6E19, 0xDEAB, 0xDF7A};
    // Each colour's shadow is another colour of the palette, by index.
    static const int shadowOf[16] = {0, 0, 0, 0, 1, 0, 1, 3, 2, 4, 3, 5, 4, 2, 7, 3};
    for (int i = 0; i < 16; i++) Palette[i] = colours[i];
    for (int i = 0; i < 16; i++) shadowPalette[i] = colours[shadowOf[i]];
}

void BuildSaveDir(const char* home) {
    saveDir = std::string(home != nullptr && home[0] != '\0' ? home : ".") + saveDir;
}

void ClearFrameBuffer() {
    const uint16_t background = PaletteColour(0);
    for (uint16_t& pixel : FrameBuffer) pixel = background;
}
