// The sailing screen: one frame of the game in progress.
#pragma once

// Buttons, camera, the sea view, docking, spawns, the ships, the game-over test, the
// player's steering and the status bar, in that order.
void SailingFrame();
