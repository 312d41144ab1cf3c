// Whirlpools and barrels of cannonballs: their spawning and the whirlpools' life.
#pragma once

void SpawnBarrels();
void SpawnWhirlpools();
void AgeWhirlpools();
