// The title menu (ScreenMenu): the rippling logo, five entries with a blinking wheel
// for a cursor, loudspeaker marks for the two sound switches, and a hidden sound test
// on Right.
#pragma once
#include <cstdint>

constexpr int32_t kMenuEntries = 5;

extern const char* const menuLabels[kMenuEntries];  // "Play", "Instructions", "Credits", "Music", "SFX"
extern void (*const menuActions[kMenuEntries])();   // what A does on each entry

extern int32_t menuCursor;      // the chosen entry 0..4; back on Play after the credits
extern int32_t titleTick;       // 0..127, the logo's animation cycle; starts half way, at 64
extern int32_t soundTestIndex;  // the sound the next Right press plays

// One frame of the menu: the sound test, the logo's tick and the cursor, then the drawing,
// then A choosing the entry under the cursor.
void MenuFrame();

// The logo with its ripple, the five entries, the wheel and the mark of the sound switch
// under the cursor.
void DrawMenu();

// The five actions, in menu order.
void PlayAction();        // the high score screen; first the welcome on a first run
void ShowInstructions();  // the welcome text, then back to the menu
void ShowCredits();       // the three credit pages, then back to the menu
void ToggleMusic();
void ToggleSfx();
