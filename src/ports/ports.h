// Ports and cargo: docking, taking cargo, repairs, sales, and the ports' changing roles.
// Their counters (deliveries, dockProgress, the pickup icon's, compassTarget) are kept
// with the world's, in world/world.h.
#pragma once
#include <cstdint>

struct Port;
struct Ship;

// What this frame's docking step leaves for its drawing:
extern bool docking;      // docked with something to do and the visit not complete: the bar shows
extern bool popupPaused;  // waiting at the buyer with an empty hold: the pickup icon stands still, unseen

// The docking rule, once a sailing frame after the sea view: a visit's progress, broken
// off by a dialog, a shot, a hit or sinking, and completed after 26 steps (5 frames each)
// with a sale, a load or a repair and new roles for the ports.
void UpdateDocking();

// The docking bar over the ship while docking, then the pickup icon rising over it,
// placed through the camera.
void DrawDocking(int32_t camCellX, int32_t camCellY);

// The pickup icon, once drawn, runs a frame on; the coin rings as it first shows.
void AdvancePopup();

// The pickup icon of what a visit or a barrel gave (its row, Popup...) starts rising over
// the ship: it shows for 29 frames.
void StartPopup(int32_t kind);

// The port whose jetty the ship's bow, stern or sides touch, probed in the order bottom,
// top, right, left; null when it touches none.
Port* DockedPort(const Ship* ship);

// Now and then a port that does not buy becomes active (while pirates are about).
void ReactivatePorts();

// Done action of the first-cargo lesson: closes the dialog and hands over the cargo.
void TakeFirstCargo();
