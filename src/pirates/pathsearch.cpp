#include "pirates/pathsearch.h"

#include "world/world.h"

// The search itself comes with the pirate path search work.
void PlanPath(Ship* pirate) {
    pirate->waypointX = -1;
    pirate->waypointY = -1;
}
