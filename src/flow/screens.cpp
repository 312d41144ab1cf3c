#include "flow/screens.h"

#include "flow/dispatch.h"
#include "flow/highscore.h"
#include "flow/menu.h"
#include "platform/audio.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "render/sprite.h"
#include "render/text.h"
#include "texts.h"
#include "title.h"
#include "world/world.h"

namespace {

constexpr int32_t kCreditSize = 80;
constexpr int32_t kGameOverSize = 56;
constexpr int32_t kGameOverFrameTicks = 15;  // each wreck frame stays 15 frames: 8 frames, 3 s

uint16_t TextColour() { return PaletteColour(15); }

// A credit picture covers its square completely: every pixel is drawn, sea blue too.
void DrawOpaquePicture(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* data) {
    for (int32_t r = 0; r < height / 2; r++) {
        uint16_t* upper = FrameBuffer + (y + 2 * r) * kScreenWidth + x;
        uint16_t* lower = upper + kScreenWidth;
        const uint8_t* row = data + r * width;
        for (int32_t c = 0; c < width; c++) {
            upper[c] = PaletteColour(row[c] >> 4);
            lower[c] = PaletteColour(row[c] & 15);
        }
    }
}

struct CreditPage {
    int32_t upperX;     // x of the line at y = 95
    int32_t lowerX;     // x of the line at y = 105
    int32_t nextState;  // where A leads
};
const CreditPage kCreditPages[3] = {{35, 23, -1}, {37, 23, -2}, {36, 21, 2}};

}  // namespace

void DrawRippledPicture(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* data, uint16_t key) {
    if (frameCounter == 0) rippleOn = 1 - rippleOn;
    const int32_t f = frameCounter;
    for (int32_t c = 0; c < width; c++) {
        int32_t shift = 0;
        if (rippleOn != 0) shift = (c == f + 4) + (c == f + 5) - (c == f) - (c == f - 1);
        uint16_t* pixel = FrameBuffer + (y + shift) * kScreenWidth + x + c;
        const uint8_t* byte = data + c;
        for (int32_t r = 0; r < height / 2; r++) {
            const uint16_t upper = PaletteColour(*byte >> 4);
            const uint16_t lower = PaletteColour(*byte & 15);
            if (upper != key) pixel[0] = upper;
            if (lower != key) pixel[kScreenWidth] = lower;
            pixel += 2 * kScreenWidth;
            byte += width;
        }
    }
}

void CreditPageFrame(int32_t page) {
    const CreditPage& credit = kCreditPages[page];
    DrawOpaquePicture(40, 10, kCreditSize, kCreditSize, CreditPictures + FrameSlot(kCreditSize, kCreditSize, page));
    DrawText(credit.upperX, 95, creditLines[page][0], TextColour());
    DrawText(credit.lowerX, 105, creditLines[page][1], TextColour());
    if (wasReleased(ButtonA)) {
        PlaySound(SoundClick);
        GameState = credit.nextState;
        if (GameState == 2) menuCursor = 0;
    }
}

void HighScoreFrame() {
    DrawText(49, 10, "High Score", TextColour());
    const std::string score = NumberText(highScore);
    const int32_t digits = static_cast<int32_t>(score.size());
    DrawText(80 - (7 * digits - 7) / 2, 101, score.c_str(), TextColour());
    if (wasReleased(ButtonA)) {
        PlaySound(SoundClick);
        StartNewGame();
    }
}

void GameOverFrame() {
    const int32_t frame = frameCounter / kGameOverFrameTicks;
    DrawRippledPicture(52, 32, kGameOverSize, kGameOverSize,
                       GameOverFrames + FrameSlot(kGameOverSize, kGameOverSize, frame), PaletteColour(6));
    DrawText(42, 10, "Game over...", TextColour());
    // "Score: " and the gold, placed by the number's width alone.
    const std::string number = NumberText(gold);
    const int32_t digits = static_cast<int32_t>(number.size());
    DrawText(80 - (7 * digits + 42) / 2, 101, ("Score: " + number).c_str(), TextColour());
    if (wasReleased(ButtonA)) {
        PlayMusic(MusicMenu);
        PlaySound(SoundClick);
        GameState = 2;  // the gold stays until the next game starts
    }
}
