#include "render/dialog.h"

#include <cstdlib>

#include <dialog.h>  // the pictures in assets; the brackets pass over render/dialog.h here
#include "platform/audio.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "render/sprite.h"
#include "render/text.h"
#include "world/world.h"

std::string dialogText;
int32_t dialogPortrait;
void (*dialogDone)();
void (*dialogOnChar)(uint8_t);
int32_t dialogLeft;
int32_t dialogTop;
int32_t dialogWidth;
int32_t dialogHeight;
int32_t dialogTyping;
int32_t dialogFinished;
uint32_t dialogRevealed;
uint32_t dialogConsumed;
int32_t talkWordStart;
int32_t dialogBoxColumns;
int32_t dialogBoxRows;
int32_t portraitFrame;

namespace {

// Frame pieces in the order of their table.
enum : int32_t {
    PieceTopLeft = 0,
    PieceTop = 1,
    PieceTopRight = 2,
    PieceLeft = 3,
    PieceCentre = 4,
    PieceRight = 5,
    PieceBottomLeft = 6,
    PieceBottom = 7,
    PieceBottomRight = 8,
};

constexpr int32_t kOpenColumns = 7;  // box interior when fully open: 112 x 16 pixels
constexpr int32_t kOpenRows = 1;
constexpr uint8_t kMoreTextGlyph = 16;

bool IsBlank(char c) { return c == ' ' || c == '\n'; }

void DrawPiece(int32_t x, int32_t y, int32_t piece) {
    DrawSprite16x16(x, y, DialogFramePieces + FrameSlot(16, 16, piece), SeaKey());
}

// One character of the page: a dark drop shadow one pixel down, the letter over it.
void DrawDialogChar(int32_t x, int32_t y, char c) {
    DrawChar(x, y + 1, static_cast<uint8_t>(c), PaletteColour(0));
    DrawChar(x, y, static_cast<uint8_t>(c), PaletteColour(15));
}

// Characters on the line that starts at i: the longest stretch of up to 20 that ends
// just before a blank or the end of the whole text, so that a word being typed never
// starts on one line and jumps to the next once it has grown too long.
uint32_t LineLength(uint32_t i) {
    const uint32_t length = static_cast<uint32_t>(dialogText.size());
    for (uint32_t k = static_cast<uint32_t>(dialogWidth / kCharAdvance); k >= 2; k--)
        if (i + k >= length || IsBlank(dialogText[i + k])) return k;
    return 1;
}

// Draws the revealed part of the page line by line and counts in dialogConsumed how
// much of dialogText it used; marks the page full when a third line would be needed.
void LayOutPage() {
    const uint32_t revealed = dialogRevealed;
    const int32_t lastLineY = dialogTop + dialogHeight - kLineHeight;
    int32_t penY = dialogTop;
    uint32_t i = 0;
    dialogConsumed = 0;
    for (;;) {
        // Blanks at the start of a line are passed over.
        while (i < revealed && IsBlank(dialogText[i])) {
            i++;
            dialogConsumed++;
        }
        if (i >= revealed) return;

        const uint32_t n = LineLength(i);
        int32_t penX = dialogLeft;
        bool brokeAtNewline = false;
        for (uint32_t j = 0; j < n; j++) {
            if (i >= revealed) return;
            const char c = dialogText[i];
            i++;
            dialogConsumed++;
            if (c == '\n') {
                brokeAtNewline = true;
                break;
            }
            DrawDialogChar(penX, penY, c);
            penX += kCharAdvance;
        }
        // The blank that ended the line is used up with it.
        if (!brokeAtNewline) {
            if (i >= revealed) return;
            i++;
            dialogConsumed++;
        }

        penY += kLineHeight;
        if (penY > lastLineY) {
            dialogTyping = 0;
            dialogFinished = 0;
            return;
        }
    }
}

}  // namespace

void StartDialog(int32_t portrait, const char* text, void (*done)()) {
    dialogText = text;
    dialogPortrait = portrait;
    dialogDone = done;
    dialogOnChar = TalkSound;
    dialogLeft = 18;
    dialogTop = 78;
    dialogWidth = 122;
    dialogHeight = 30;
    dialogTyping = 1;
    dialogFinished = 0;
    dialogRevealed = 0;
    dialogConsumed = 0;
    talkWordStart = 0;
    dialogBoxColumns = 0;
    dialogBoxRows = 0;
    hudSlide = 0;
    overlayMode = 2;
}

void DrawDialogBox() {
    // The speaker moves to its next picture every 8 frames (200 ms).
    if (frameCounter % 8 == 0) {
        portraitFrame++;
        if (portraitFrame == 8) portraitFrame = 0;
    }

    // The portrait rises with the status bar sliding away: y 20 down to 11.
    if (dialogPortrait >= 1) {
        const uint8_t* table = dialogTyping == 1 ? PortraitTalkFrames : PortraitIdleFrames;
        const int32_t frame = (dialogPortrait - 1) * 8 + portraitFrame;
        DrawPortrait56x56((hudSlide + 1) / 2 + 20, table + FrameSlot(56, 56, frame), SeaKey());
    }

    // Edges, fill, then the corners over the ends of the edges.
    const int32_t w = dialogBoxColumns;
    const int32_t h = dialogBoxRows;
    const int32_t rightX = 16 * w + 24;
    const int32_t bottomY = (h + 5) * 16;
    for (int32_t i = 0; i < w; i++) DrawPiece(24 + 16 * i, 64, PieceTop);
    for (int32_t i = 0; i < w; i++) DrawPiece(24 + 16 * i, bottomY, PieceBottom);
    for (int32_t j = 0; j < h; j++) DrawPiece(8, 80 + 16 * j, PieceLeft);
    for (int32_t j = 0; j < h; j++) DrawPiece(rightX, 80 + 16 * j, PieceRight);
    for (int32_t j = 0; j < h; j++)
        for (int32_t i = 0; i < w; i++) DrawPiece(24 + 16 * i, 80 + 16 * j, PieceCentre);
    DrawPiece(8, 64, PieceTopLeft);
    DrawPiece(rightX, 64, PieceTopRight);
    DrawPiece(8, bottomY, PieceBottomLeft);
    DrawPiece(rightX, bottomY, PieceBottomRight);

    // The box grows a tile a frame: fully open (x 8..151, y 64..111) on the eighth frame.
    if (dialogBoxColumns < kOpenColumns) dialogBoxColumns++;
    if (dialogBoxRows < kOpenRows) dialogBoxRows++;

    // Push the status bar out of the way; the bar's own drawer pulls it back a pixel a
    // frame, so over the sea it settles at -19 or -20.
    if (hudSlide >= -19) hudSlide -= 2;
}

void UpdateDialog() {
    // One more character a frame.
    if (dialogRevealed < dialogText.size()) dialogRevealed++;
    if (dialogRevealed == 0) {
        dialogTyping = 0;
        dialogFinished = 1;
    }

    LayOutPage();

    if (dialogTyping == 1 && dialogRevealed > 0 && dialogOnChar != nullptr)
        dialogOnChar(static_cast<uint8_t>(dialogText[dialogRevealed - 1]));

    if (dialogConsumed == dialogText.size()) {
        dialogTyping = 0;
        dialogFinished = 1;
    }

    // The more-text mark blinks while the page waits: off 9 frames, on 15.
    if (dialogTyping == 0 && frameCounter % 24 >= 9) {
        DrawChar(153, dialogTop, kMoreTextGlyph, PaletteColour(0));
        DrawChar(153, dialogTop - 1, kMoreTextGlyph, PaletteColour(15));
    }

    if (wasReleased(ButtonA) || wasReleased(ButtonStart)) {
        if (dialogFinished == 1) {
            PlaySound(SoundClick);
            if (dialogDone != nullptr) dialogDone();
        } else if (dialogTyping == 0) {
            // The next page starts after what this one used up; its leading blanks are
            // passed over by the layout.
            PlaySound(SoundClick);
            dialogTyping = 1;
            dialogFinished = 0;
            dialogRevealed = 0;
            dialogText.erase(0, dialogConsumed);
            dialogConsumed = 0;  // nothing of the new page is laid out yet
        }
        // While the page is still being typed a press does nothing: it cannot be skipped.
    }
}

void TalkSound(uint8_t c) {
    if (dialogPortrait == 0) return;
    if (talkWordStart == 1) {
        const int32_t r = std::rand();
        talkWordStart = 0;
        PlaySound(SoundTalk1 + r % 3);
    }
    if (c == ' ' || c == '\n') talkWordStart = 1;
}
