#include "pirates/pirates.h"

const int32_t spinHeadings[8][2] = {{-1, 0}, {-1, -1}, {0, -1}, {-1, 1}, {0, 1}, {1, -1}, {1, 0}, {1, 1}};

// Pirates come with the pirate ships work.
void SpawnPirates() {}
void UpdateShips() {}
