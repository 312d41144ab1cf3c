#include "hud/statusbar.h"

#include <cstring>

#include "render/dialog.h"
#include "sailing/seaview.h"
#include "world/world.h"

void DrawStatusBar() {
    // Paused or spoken to: the whole picture falls into shadow behind the map or dialog.
    if (overlayMode == 1 || overlayMode == 2) {
        std::memset(shadowMask, 0xFF, sizeof shadowMask);
        DarkenShadows();
    }

    // The bar slides back one pixel a frame (a dialog pushes it out faster than that).
    if (hudSlide < 0) hudSlide++;

    // The gold, cargo, compass, hull and cannonball icons go here once they are drawn.

    if (overlayMode == 1) {
        // The island map goes here once its frame is drawn.
    } else if (overlayMode == 2) {
        DrawDialogBox();
        UpdateDialog();
    }
}
