#include "world/generate.h"

int8_t pathX[28];
int8_t pathY[28];

// The island generator is being written.
void GenerateIslands() {}
