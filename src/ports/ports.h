// Ports and cargo: docking, taking cargo, repairs, sales, and the ports' changing roles.
#pragma once
#include <cstdint>

struct Port;

extern int32_t deliveries;    // sales made on this set of islands; the fifth completes it
extern int32_t dockProgress;  // 0..26, one step every 5 frames while docked
extern int32_t popupKind;     // pickup icon row: 0 gold, 1 cargo, 2 repair, 3 cannonballs
extern int32_t popupTimer;    // frames left of the pickup icon; 29 starts it
extern Port* compassTarget;   // the buying port the compass points to, or null

// Docking, cargo and the pickup icon, once a sailing frame after the sea is drawn.
void UpdateDocking(int32_t camCellX, int32_t camCellY);

// Now and then a port that does not buy becomes active (while pirates are about).
void ReactivatePorts();

// Done action of the first-cargo lesson: closes the dialog and hands over the cargo.
void TakeFirstCargo();
