// The status bar over the sea view, and the darkened overlays: the map while paused,
// the dialog box while someone speaks.
#pragma once

// The last drawing step of every sailing frame.
void DrawStatusBar();
