// The sea view: the world round the player's ship, drawn into the FrameBuffer layer by
// layer from the bottom up, through the camera of the sailing frame. It only draws: the
// balls' flight and the gulls' and clouds' motion are steps of the sailing frame around it.
#pragma once
#include <cstdint>

struct Ship;

// Layers 1 to 10 below, in this order, once a sailing frame, with shadowMask cleared
// first. The clouds, layer 11, are drawn after they drift, which the frame does between.
void DrawSeaView();

// 1. The water of the world; beyond its edges the background stays.
void DrawSea();
// 2. Wrecks and ships going down, under everything afloat.
void DrawSunkShips();
// 3. The 12 x 9 cells in view: land, coasts, jetties, whirlpools and rocks.
void DrawMapCells();
// 4. Floating barrels.
void DrawBarrels();
// 5. Cannonballs in flight, and their splashes.
void DrawCannonballs();
// 6. The ships afloat (and sinking), the higher on the screen the earlier, with their wakes.
void DrawShips();
// 7. The markers hovering over ports that give or buy cargo.
void DrawPortMarkers();
// 8. Gulls: their shadows on the water and the birds 12 pixels above.
void DrawGulls();
// 9. The shadows of the clouds.
void MarkCloudShadows();
// 10. Every pixel marked in shadowMask darkened once, however many shadows fall on it:
// DarkenShadows (render/shadow.h).
// 11. The clouds, 30 pixels above their shadows.
void DrawClouds();

// One cell of the map at column c, row r (inside the map), at its place in the view.
void DrawMapCell(int32_t c, int32_t r);

// One ship at its place in the view, afloat or going down; remembers where it was drawn.
void DrawShip(Ship* ship);
