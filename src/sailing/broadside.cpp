#include "sailing/broadside.h"

// Broadsides and the game's end come with the broadsides work.
void FireBroadside(int32_t) {}
void CheckGameOver() {}
