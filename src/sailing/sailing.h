// The sailing screen: one frame of the game in progress and the player's steering.
#pragma once

// One frame of the game in progress, in this order: the buttons; the camera; the balls'
// flight and the gulls'; the sea view; the clouds' drift and the clouds; docking, its bar
// and the pickup icon's next frame; unless someone speaks, the spawns, the ships, the
// game-over test and the player's steering; the status bar's slide and the bar; then the
// island map while paused, or the dialog.
void SailingFrame();

// One pixel's move of the player's ship under the d-pad (StepShip), heading and sails
// following the move unless a whirlpool's spin owns them.
void SteerPlayer();
