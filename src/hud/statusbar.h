// The status bar over the sea view, and the darkened overlays: the island map while
// paused, the dialog box while someone speaks.
#pragma once
#include <cstdint>

// The compass needle's frame for a bearing (dx, dy), each -1, 0 or 1, at
// (dx + 1) x 3 + (dy + 1); level on both axes shows the needle pointing down.
extern const int32_t compassArrowFrames[9];

// The palette colour of a cell code on the island map.
int32_t MapColour(int32_t code);

// The last drawing step of every sailing frame: darkening while paused or spoken to, the
// bar's slide, gold, cargo, compass, hull and cannonballs, then the map or the dialog.
void DrawStatusBar();
