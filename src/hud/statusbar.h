// The status bar over the sea view, and the island map shown while paused.
#pragma once
#include <cstdint>

// The palette colour of a cell code on the island map.
int32_t MapColour(int32_t code);

// The bar slides back toward the screen a pixel a frame, from as far as -20 (hudSlide).
void SlideStatusBar();

// Over the sea view: the whole picture darkened while paused or spoken to, then the bar:
// gold, cargo, compass, hull and cannonballs, each at its place slid by hudSlide.
void DrawStatusBar();

// The paused screen's chart: the islands cell for cell, pirates afloat, the ports that
// give or buy cargo blinking in their colours, and our ship as an X.
void DrawIslandMap();
