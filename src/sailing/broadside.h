// The player's broadsides and the end of a game.
#pragma once
#include <cstdint>

// Fires a broadside when the button (ButtonA or ButtonB) was let go this frame.
void FireBroadside(int32_t button);

// Ends the game once the player's ship has sunk and settled.
void CheckGameOver();
