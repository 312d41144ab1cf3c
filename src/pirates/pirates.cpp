#include "pirates/pirates.h"

// Pirates come with the pirate ships work.
void SpawnPirates() {}
void UpdateShips() {}
