// The status bar over the sea view, and the darkened overlays: the island map while
// paused, the dialog box while someone speaks.
#pragma once
#include <cstdint>

// The palette colour of a cell code on the island map.
int32_t MapColour(int32_t code);

// The last drawing step of every sailing frame: darkening while paused or spoken to, the
// bar's slide, gold, cargo, compass, hull and cannonballs, then the map or the dialog.
void DrawStatusBar();
