// The typewriter dialog box: a speaker's portrait above a framed box at the bottom of
// the screen, the text typed one character a frame with a talk sound at each word,
// page by page; A or Start turns a page and, after the last, calls the done action.
#pragma once
#include <cstdint>
#include <string>

extern std::string dialogText;        // the current page and everything after it
extern int32_t dialogPortrait;        // speaker 1..4; 0 no portrait and no talk sounds
extern void (*dialogDone)();          // called when the last page is dismissed
extern void (*dialogOnChar)(uint8_t); // called with each newly revealed character
extern int32_t dialogLeft;            // text area, in screen pixels
extern int32_t dialogTop;
extern int32_t dialogWidth;
extern int32_t dialogHeight;
extern int32_t dialogTyping;          // 1 while the page is still being typed
extern int32_t dialogFinished;        // 1 once the whole text has been shown
extern uint32_t dialogRevealed;       // characters of dialogText revealed so far
extern uint32_t dialogConsumed;       // characters the current page's layout used up
extern int32_t talkWordStart;         // 1 when the last character talked was a blank
extern int32_t dialogBoxColumns;      // box interior in 16-pixel tiles, grows to 7
extern int32_t dialogBoxRows;         // grows to 1
extern int32_t portraitFrame;         // 0..7, shared by every dialog

// Opens a dialog (portrait 0..4) and puts it on screen (overlayMode 2, hudSlide 0).
void StartDialog(int32_t portrait, const char* text, void (*done)());

// The portrait and the box for this frame; the box grows open over eight frames.
void DrawDialogBox();

// Types one more character, lays out and draws the page, and handles A and Start.
void UpdateDialog();

// The usual per-character action: a random talk sound at the start of each word.
void TalkSound(uint8_t c);
