// The typewriter dialog that every message of the game uses: a speaker's portrait above a
// framed box at the bottom of the screen, the text typed one character a frame with a talk
// sound at each word, page by page; A or Start turns a page and, after the last, calls the
// done action, which decides what follows. Only one dialog exists at a time.
#pragma once
#include <cstdint>
#include <string>

struct Dialog {
    std::string text;         // the current page and everything after it
    int32_t portrait;         // speaker 1..4; 0 no portrait and no talk sounds
    void (*done)();           // called when the last page is dismissed
    void (*onChar)(uint8_t);  // called with each newly revealed character
    int32_t left;             // the text area, in screen pixels
    int32_t top;
    int32_t width;
    int32_t height;
    bool typing;              // while the page is still being typed
    bool finished;            // once the whole text has been shown
    uint32_t revealed;        // characters of text revealed so far
    uint32_t consumed;        // characters the current page's layout used up
    bool talkWordStart;       // the last character talked was a blank
    int32_t boxColumns;       // box interior in 16-pixel tiles, grows to 7
    int32_t boxRows;          // grows to 1
    int32_t portraitFrame;    // 0..7; a new dialog goes on from where the last left it
};

// The dialog on screen, or the last one shown. Written by StartDialog and by the steps
// below, and by nothing else.
extern Dialog dialog;

// Opens a dialog (portrait 0..4) and puts it on screen: OverlayDialog, hudSlide 0.
// GameState stays as it is: a caller that wants the dialog alone on a dark screen sets a
// dialog screen itself.
void StartDialog(int32_t portrait, const char* text, void (*done)());

// One frame of the dialog, drawn over whatever is behind it: its steps in their order.
void DialogFrame();

// The steps of DialogFrame, in order:
void AnimatePortrait();  // the speaker's next picture every 8 frames (200 ms)
void DrawDialogBox();    // the portrait and the box as they stand
void OpenDialogBox();    // the box grows a tile a frame; the status bar is pushed away
void UpdateDialog();     // one more character, the page laid out, the talk sound, the end of the text
void DrawDialogPage();   // the page's text and the blinking more-text mark
void AnswerDialog();     // A or Start turns a full page or, after the last, calls the done action

// The usual per-character action: a random talk sound at the start of each word.
void TalkSound(uint8_t c);
