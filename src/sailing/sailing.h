// The sailing screen: one frame of the game in progress and the player's steering.
#pragma once

// Buttons, camera, the sea view, docking, spawns, the ships, the game-over test, the
// player's steering and the status bar, in that order.
void SailingFrame();

// One pixel's move of the player's ship under the d-pad (StepShip), heading and sails
// following the move unless a whirlpool's spin owns them.
void SteerPlayer();
