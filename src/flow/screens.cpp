#include "flow/screens.h"

#include "flow/gamestate.h"
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

struct CreditPage {
    int32_t upperX;  // x of the line at y = 95
    int32_t lowerX;  // x of the line at y = 105
    Screen next;     // where A leads
};
const CreditPage kCreditPages[3] = {
    {35, 23, ScreenCreditsArt}, {37, 23, ScreenCreditsMusic}, {36, 21, ScreenMenu}};

}  // namespace

void AdvanceRipple() {
    if (frameCounter == 0) rippleOn = !rippleOn;
}

void DrawRippling(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* data, uint16_t key) {
    DrawRippledPicture(x, y, width, height, data, key, rippleOn, frameCounter);
}

// Each of these screens acts on A first and then draws itself: the frame that acts on A
// still shows the screen it leaves, as nothing it draws changes with the press.

void CreditPageFrame(int32_t page) {
    const CreditPage& credit = kCreditPages[page];
    if (wasReleased(ButtonA)) {
        PlaySound(SoundClick);
        GameState = credit.next;
        if (GameState == ScreenMenu) menuCursor = 0;
    }

    // A credit picture covers its square completely: every pixel is drawn, sea blue too.
    DrawOpaquePicture(40, 10, kCreditSize, kCreditSize, CreditPictures + FrameSlot(kCreditSize, kCreditSize, page));
    DrawText(credit.upperX, 95, creditLines[page][0], TextColour());
    DrawText(credit.lowerX, 105, creditLines[page][1], TextColour());
}

void HighScoreFrame() {
    if (wasReleased(ButtonA)) {
        PlaySound(SoundClick);
        StartNewGame();
    }

    DrawText(49, 10, "High Score", TextColour());
    const std::string score = NumberText(highScore);
    const int32_t digits = static_cast<int32_t>(score.size());
    DrawText(80 - (7 * digits - 7) / 2, 101, score.c_str(), TextColour());
}

void GameOverFrame() {
    if (wasReleased(ButtonA)) {
        PlayMusic(MusicMenu);
        PlaySound(SoundClick);
        GameState = ScreenMenu;  // the gold stays until the next game starts
    }
    AdvanceRipple();

    const int32_t frame = frameCounter / kGameOverFrameTicks;
    DrawRippling(52, 32, kGameOverSize, kGameOverSize, GameOverFrames + FrameSlot(kGameOverSize, kGameOverSize, frame),
                 PaletteColour(6));
    DrawText(42, 10, "Game over...", TextColour());
    // "Score: " and the gold, placed by the number's width alone.
    const std::string number = NumberText(gold);
    const int32_t digits = static_cast<int32_t>(number.size());
    DrawText(80 - (7 * digits + 42) / 2, 101, ("Score: " + number).c_str(), TextColour());
}
