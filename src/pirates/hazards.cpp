#include "pirates/hazards.h"

// Whirlpools and barrels come with the hazards work.
void SpawnBarrels() {}
void SpawnWhirlpools() {}
void AgeWhirlpools() {}
