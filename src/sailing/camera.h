// The camera of the sailing screen: placed on the player's ship at the start of every
// sailing frame, before that frame's steering, and used unchanged by everything drawn in
// the frame.
#pragma once
#include <cstdint>

extern int32_t camCellX;  // cell column at the left edge of the view: player x / 16 - 5
extern int32_t camCellY;  // cell row at the top edge: player y / 16 - 3
extern int32_t camSubX;   // the player's x within its cell, 0..15
extern int32_t camSubY;   // the player's y within its cell, 0..15

// Screen position of a world pixel. The player's centre is always at (80, 48): the view
// shows 80 pixels left and 79 right of it, 48 above and 71 below.
inline int32_t ScreenX(int32_t worldX) { return worldX - 16 * camCellX - camSubX; }
inline int32_t ScreenY(int32_t worldY) { return worldY - 16 * camCellY - camSubY; }

// Puts the camera on the player's ship.
void PlaceCamera();
