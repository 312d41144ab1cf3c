#include "sailing/sailing.h"

#include "flow/dialog.h"
#include "hud/statusbar.h"
#include "pirates/cannonballs.h"
#include "pirates/hazards.h"
#include "pirates/pirates.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "ports/ports.h"
#include "sailing/broadside.h"
#include "sailing/camera.h"
#include "sailing/seaview.h"
#include "sailing/sky.h"
#include "world/world.h"

// The frame reads the buttons first. After that the rules and the drawing take turns where
// the rules order it so: the world is drawn as it stands before the ships move, and the
// status bar and the dialog come last, over everything. Every Draw step only reads.
void SailingFrame() {
    // Buttons: broadsides and pause while sailing, only unpause while paused; a dialog
    // reads its own buttons, at the end of the frame.
    if (overlayMode == OverlayNone) {
        FireBroadside(ButtonA);
        FireBroadside(ButtonB);
        if (wasReleased(ButtonStart)) {
            overlayMode = OverlayPaused;
            PlaySound(SoundClick);
        }
    } else if (overlayMode == OverlayPaused) {
        if (wasReleased(ButtonStart)) {
            overlayMode = OverlayNone;
            PlaySound(SoundBeep);
        }
    }

    // The camera on the ship where it stands before this frame's steering.
    PlaceCamera();

    // The sea view. Balls fly and gulls wheel first, so that each is drawn where it has
    // just arrived; the clouds drift after their shadows have darkened the sea and before
    // they are drawn over it.
    AdvanceCannonballs();
    FlyGulls();
    DrawSeaView();
    DriftClouds();
    DrawClouds();

    // Docking: the visit's progress, then its bar and the pickup icon, which then runs a
    // frame on (a barrel taken later in this frame shows its icon from the next).
    UpdateDocking();
    DrawDocking(camCellX, camCellY);
    AdvancePopup();

    // The world's rules. While someone speaks the world is drawn but nothing spawns, ages
    // or steers.
    if (overlayMode != OverlayDialog) {
        SpawnBarrels();
        SpawnWhirlpools();
        AgeWhirlpools();
        if (!peaceful) {
            SpawnPirates();
            ReactivatePorts();
        }
        UpdateShips();
        if (player->health < 1) CheckGameOver();
        // A game over with a new high score has released the ship by now.
        if (overlayMode == OverlayNone && player != nullptr) SteerPlayer();
    }

    // Last, over everything: the status bar, sliding back a pixel a frame, then the map
    // while paused, or the dialog, which reads its own buttons and may end the game.
    SlideStatusBar();
    DrawStatusBar();
    if (overlayMode == OverlayPaused)
        DrawIslandMap();
    else if (overlayMode == OverlayDialog)
        DialogFrame();
}

void SteerPlayer() {
    Ship* ship = player;
    int32_t dx = (isHeld(ButtonRight) ? 1 : 0) - (isHeld(ButtonLeft) ? 1 : 0);
    int32_t dy = (isHeld(ButtonDown) ? 1 : 0) - (isHeld(ButtonUp) ? 1 : 0);

    // Reloading, reeling from a hit or sunk: the ship stays where it is.
    if (ship->fireCooldown > 0 || ship->hitTimer > 0 || ship->health < 1) return;
    if (!StepShip(ship, dx, dy, TopEdge::Truncated)) return;
    // A whirlpool's spin owns the heading and the sails while it lasts.
    if (ship->spinTimer == 0) {
        if (ship->sailTimer == -1) ship->sailTimer = kSailFrames;
        ship->headingX = dx;
        ship->headingY = dy;
    }
}
