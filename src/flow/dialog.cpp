#include "flow/dialog.h"

#include <cstdlib>

#include <dialog.h>  // the pictures in assets; the brackets pass over flow/dialog.h here
#include "platform/audio.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "render/sprite.h"
#include "render/text.h"
#include "world/world.h"

Dialog dialog;

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
    const uint32_t length = static_cast<uint32_t>(dialog.text.size());
    for (uint32_t k = static_cast<uint32_t>(dialog.width / kCharAdvance); k >= 2; k--)
        if (i + k >= length || IsBlank(dialog.text[i + k])) return k;
    return 1;
}

struct PageLayout {
    uint32_t consumed;  // characters of the text the page used up, blanks and breaks included
    bool full;          // a third line would be needed: the rest waits for the next page
};

// The revealed part of the page, line by line, as the typing step reckons it and the
// drawing step shows it: place(x, y, c) for every character on the page.
template <typename Place>
PageLayout LayOutPage(Place place) {
    const uint32_t revealed = dialog.revealed;
    const std::string& text = dialog.text;
    const int32_t lastLineY = dialog.top + dialog.height - kLineHeight;
    int32_t penY = dialog.top;
    uint32_t i = 0;  // also what the page has used up so far
    for (;;) {
        // Blanks at the start of a line are passed over.
        while (i < revealed && IsBlank(text[i])) i++;
        if (i >= revealed) return {i, false};

        const uint32_t n = LineLength(i);
        int32_t penX = dialog.left;
        bool brokeAtNewline = false;
        for (uint32_t j = 0; j < n; j++) {
            if (i >= revealed) return {i, false};
            const char c = text[i];
            i++;
            if (c == '\n') {
                brokeAtNewline = true;
                break;
            }
            place(penX, penY, c);
            penX += kCharAdvance;
        }
        // The blank that ended the line is used up with it.
        if (!brokeAtNewline) {
            if (i >= revealed) return {i, false};
            i++;
        }

        penY += kLineHeight;
        if (penY > lastLineY) return {i, true};
    }
}

}  // namespace

void StartDialog(int32_t portrait, const char* text, void (*done)()) {
    dialog.text = text;
    dialog.portrait = portrait;
    dialog.done = done;
    dialog.onChar = TalkSound;
    dialog.left = 18;
    dialog.top = 78;
    dialog.width = 122;
    dialog.height = 30;
    dialog.typing = true;
    dialog.finished = false;
    dialog.revealed = 0;
    dialog.consumed = 0;
    dialog.talkWordStart = false;
    dialog.boxColumns = 0;
    dialog.boxRows = 0;
    hudSlide = 0;
    overlayMode = OverlayDialog;
}

void DialogFrame() {
    // The portrait shows the speaker as the frame begins, talking or not; the box is drawn
    // before it grows, and the page after its character is typed.
    AnimatePortrait();
    DrawDialogBox();
    OpenDialogBox();
    UpdateDialog();
    DrawDialogPage();
    AnswerDialog();
}

void AnimatePortrait() {
    if (frameCounter % 8 == 0) {
        dialog.portraitFrame++;
        if (dialog.portraitFrame == 8) dialog.portraitFrame = 0;
    }
}

void DrawDialogBox() {
    // The portrait rises with the status bar sliding away: y 20 down to 11.
    if (dialog.portrait >= 1) {
        const uint8_t* table = dialog.typing ? PortraitTalkFrames : PortraitIdleFrames;
        const int32_t frame = (dialog.portrait - 1) * 8 + dialog.portraitFrame;
        DrawPortrait56x56((hudSlide + 1) / 2 + 20, table + FrameSlot(56, 56, frame), SeaKey());
    }

    // Edges, fill, then the corners over the ends of the edges.
    const int32_t w = dialog.boxColumns;
    const int32_t h = dialog.boxRows;
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
}

void OpenDialogBox() {
    // The box grows a tile a frame: fully open (x 8..151, y 64..111) on the eighth frame.
    if (dialog.boxColumns < kOpenColumns) dialog.boxColumns++;
    if (dialog.boxRows < kOpenRows) dialog.boxRows++;

    // Push the status bar out of the way; the bar's own step pulls it back a pixel a
    // frame, so over the sea it settles at -19 or -20.
    if (hudSlide >= -19) hudSlide -= 2;
}

void UpdateDialog() {
    // One more character a frame.
    if (dialog.revealed < dialog.text.size()) dialog.revealed++;
    if (dialog.revealed == 0) {
        dialog.typing = false;
        dialog.finished = true;
    }

    const PageLayout page = LayOutPage([](int32_t, int32_t, char) {});
    dialog.consumed = page.consumed;
    if (page.full) {
        dialog.typing = false;
        dialog.finished = false;
    }

    if (dialog.typing && dialog.revealed > 0 && dialog.onChar != nullptr)
        dialog.onChar(static_cast<uint8_t>(dialog.text[dialog.revealed - 1]));

    if (dialog.consumed == dialog.text.size()) {
        dialog.typing = false;
        dialog.finished = true;
    }
}

void DrawDialogPage() {
    LayOutPage(DrawDialogChar);

    // The more-text mark blinks while the page waits: off 9 frames, on 15.
    if (!dialog.typing && frameCounter % 24 >= 9) {
        DrawChar(153, dialog.top, kMoreTextGlyph, PaletteColour(0));
        DrawChar(153, dialog.top - 1, kMoreTextGlyph, PaletteColour(15));
    }
}

void AnswerDialog() {
    if (!wasReleased(ButtonA) && !wasReleased(ButtonStart)) return;
    if (dialog.finished) {
        PlaySound(SoundClick);
        if (dialog.done != nullptr) dialog.done();
    } else if (!dialog.typing) {
        // The next page starts after what this one used up; its leading blanks are passed
        // over by the layout.
        PlaySound(SoundClick);
        dialog.typing = true;
        dialog.finished = false;
        dialog.revealed = 0;
        dialog.text.erase(0, dialog.consumed);
        dialog.consumed = 0;  // nothing of the new page is laid out yet
    }
    // While the page is still being typed a press does nothing: it cannot be skipped.
}

void TalkSound(uint8_t c) {
    if (dialog.portrait == 0) return;
    if (dialog.talkWordStart) {
        const int32_t r = std::rand();
        dialog.talkWordStart = false;
        PlaySound(SoundTalk1 + r % 3);
    }
    if (c == ' ' || c == '\n') dialog.talkWordStart = true;
}
