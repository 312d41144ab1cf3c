#include "sailing/sailing.h"

#include <cstring>

#include "hud/statusbar.h"
#include "pirates/hazards.h"
#include "pirates/pirates.h"
#include "platform/audio.h"
#include "platform/input.h"
#include "ports/ports.h"
#include "render/shadow.h"
#include "sailing/broadside.h"
#include "sailing/seaview.h"
#include "world/world.h"

int32_t camCellX;
int32_t camCellY;
int32_t camSubX;
int32_t camSubY;

void SailingFrame() {
    // Buttons: broadsides and pause while sailing, only unpause while paused; a dialog
    // reads its own buttons.
    if (overlayMode == 0) {
        FireBroadside(ButtonA);
        FireBroadside(ButtonB);
        if (wasReleased(ButtonStart)) {
            overlayMode = 1;
            PlaySound(SoundClick);
        }
    } else if (overlayMode == 1) {
        if (wasReleased(ButtonStart)) {
            overlayMode = 0;
            PlaySound(SoundBeep);
        }
    }

    std::memset(shadowMask, 0, sizeof shadowMask);
    PlaceCamera();
    DrawSeaView();
    UpdateDocking(camCellX, camCellY);

    // While someone speaks the world is drawn but nothing spawns, ages or steers.
    if (overlayMode != 2) {
        SpawnBarrels();
        SpawnWhirlpools();
        AgeWhirlpools();
        if (peaceful == 0) {
            SpawnPirates();
            ReactivatePorts();
        }
        UpdateShips();
        if (player->health < 1) CheckGameOver();
        // A game over with a new high score has released the ship by now.
        if (overlayMode == 0 && player != nullptr) SteerPlayer();
    }

    DrawStatusBar();
}

void PlaceCamera() {
    camCellX = player->x / kCellSize - 5;
    camCellY = player->y / kCellSize - 3;
    camSubX = player->x % kCellSize;
    camSubY = player->y % kCellSize;
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
        if (ship->sailTimer == -1) ship->sailTimer = 15;
        ship->headingX = dx;
        ship->headingY = dy;
    }
}
