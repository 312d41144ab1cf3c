// The plain screens of the game's flow: the credit pages, the high score screen and the
// game-over screen, and the picture drawing they share with the title menu.
#pragma once
#include <cstdint>

// Draws a packed 4-bit picture (width x height, height even) with its top-left corner
// at (x, y), skipping the pixels whose colour is key, with the travelling ripple: at
// the top of every 120-frame cycle rippleOn flips, and while it is on two columns are
// lifted a pixel and the two columns four to their right lowered a pixel, the
// disturbance moving one column right a frame. The picture must lie wholly on screen.
void DrawRippledPicture(int32_t x, int32_t y, int32_t width, int32_t height, const uint8_t* data, uint16_t key);

// Credit page 0, 1 or 2 (GameState 1, -1, -2): its picture, its two lines, and A to
// turn to the next page or, after the last, to the title menu with the cursor on Play.
void CreditPageFrame(int32_t page);

// GameState 3: the best score; A starts a new game.
void HighScoreFrame();

// GameState 6: the wreck on the sea bed, the final score; A goes back to the menu.
void GameOverFrame();
