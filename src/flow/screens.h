// The plain screens of the game's flow: the credit pages, the high score screen and the
// game-over screen, and the picture drawing they share with the title menu.
#pragma once
#include <cstdint>

// The ripple of the pictures on the water (the title logo, the wreck of the game-over
// screen): at the top of every 120-frame cycle rippleOn flips, so they ripple every other
// cycle. Each screen that shows one runs this once a frame, before drawing it.
void AdvanceRipple();

// A picture drawn with the ripple as it stands: while rippleOn, the crest is the column
// frameCounter, so the disturbance moves one column right a frame (DrawRippledPicture).
void DrawRippling(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* data, uint16_t key);

// Credit page 0, 1 or 2 (ScreenCredits, ScreenCreditsArt, ScreenCreditsMusic): its picture, its two lines, and A to
// turn to the next page or, after the last, to the title menu with the cursor on Play.
void CreditPageFrame(int32_t page);

// ScreenHighScore: the best score; A starts a new game.
void HighScoreFrame();

// ScreenGameOver: the wreck on the sea bed, the final score; A goes back to the menu.
void GameOverFrame();
