// The player's broadsides and the end of a game.
#pragma once
#include <cstdint>

// Fires a broadside to starboard (ButtonA) or to port (ButtonB) when the button was let
// go this frame, the ship is ready and a cannonball is left.
void FireBroadside(int32_t button);

// Called each frame once the player's ship has sunk: when it has settled (101 frames
// after the sinking) the game ends, with a saved new high score and its dialog, or with
// a random last word over the frozen sea before the game-over screen.
void CheckGameOver();
