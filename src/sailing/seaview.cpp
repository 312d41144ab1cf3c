#include "sailing/seaview.h"

#include <algorithm>
#include <cstring>

#include "platform/frame.h"
#include "render/shadow.h"
#include "render/sprite.h"
#include "sailing/camera.h"
#include "sea.h"
#include "ships.h"
#include "world/world.h"

namespace {

constexpr int32_t kViewColumns = 12;
constexpr int32_t kViewRows = 9;

// The cloud mask tables by a cloud's image number.
const uint8_t* const kCloudMasks[4] = {CloudMasks8, CloudMasks16, CloudMasks32, CloudMasks48};

bool LandAt(int32_t c, int32_t r) { return CellInMap(c, r) && CodeIsLand(tileMap[CellIndex(c, r)]); }

// Sand and surf on a sea cell beside land, chosen from the land around it.
void DrawCoast(int32_t c, int32_t r, int32_t x, int32_t y) {
    const int32_t edges = LandAt(c, r - 1) * 1 + LandAt(c - 1, r) * 2 + LandAt(c + 1, r) * 4 + LandAt(c, r + 1) * 8;
    if (edges != 0) {
        if (edges <= 12) {
            DrawSprite16x16(x, y, CoastEdgeFrames + FrameSlot(16, 16, edges - 1), SeaKey());
        } else {
            // A bay with land on three or four sides: islands of 2 x 2 blocks never make
            // one, so it is drawn as its upper sides with the lower shore laid over them.
            DrawSprite16x16(x, y, CoastEdgeFrames + FrameSlot(16, 16, (edges & 7) - 1), SeaKey());
            DrawSprite16x16(x, y, CoastEdgeFrames + FrameSlot(16, 16, 8 - 1), SeaKey());
        }
        return;
    }
    const bool downRight = LandAt(c + 1, r + 1), downLeft = LandAt(c - 1, r + 1);
    const bool upRight = LandAt(c + 1, r - 1), upLeft = LandAt(c - 1, r - 1);
    const int32_t corners = downRight * 1 + downLeft * 2 + upRight * 3 + upLeft * 4;
    if (corners == 0) return;
    if (corners <= 4) {
        DrawSprite16x16(x, y, CoastCornerFrames + FrameSlot(16, 16, corners - 1), SeaKey());
        return;
    }
    // Land at several corners only (never on the islands the game makes): each corner
    // gets its own piece.
    const bool present[4] = {downRight, downLeft, upRight, upLeft};
    for (int32_t i = 0; i < 4; i++)
        if (present[i]) DrawSprite16x16(x, y, CoastCornerFrames + FrameSlot(16, 16, i), SeaKey());
}

// A sunk ship: a wreck once its last hit has played out, otherwise going down.
void DrawSunkShip(const Ship* ship) {
    if (ship->hitTimer < 1) {
        const int32_t frame = ship->kind * 4 + (frameCounter / 5) % 4;
        DrawSprite24x24(ship->screenX, ship->screenY, WreckFrames + FrameSlot(24, 24, frame), SeaKey());
        return;
    }
    const int32_t t = ship->fireCooldown > 0 ? ship->fireCooldown : ship->hitTimer;
    const int32_t frame = ship->kind * 8 + (16 - t) / 2;
    DrawSprite24x24(ship->screenX, ship->screenY, SinkingFrames + FrameSlot(24, 24, frame), SeaKey());
}

// The mask a cloud shows now: each frame holds several shapes of one moment side by side,
// and the first of them is the cloud's.
const uint8_t* CloudFrame(const Cloud* cloud) {
    const int32_t frameBytes = cloud->size * cloud->size / 8;
    return kCloudMasks[cloud->image] + cloud->frame * cloud->variantCount * frameBytes;
}

}  // namespace

void DrawSeaView() {
    std::memset(shadowMask, 0, sizeof shadowMask);  // no shadow falls yet
    DrawSea();
    DrawSunkShips();
    DrawMapCells();
    DrawBarrels();
    DrawCannonballs();
    DrawShips();
    DrawPortMarkers();
    DrawGulls();
    MarkCloudShadows();
    DarkenShadows();
}

void DrawSea() {
    int32_t left = ScreenX(0), top = ScreenY(0);
    int32_t right = ScreenX(kWorldSize), bottom = ScreenY(kWorldSize);
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > kScreenWidth) right = kScreenWidth;
    if (bottom > kScreenHeight) bottom = kScreenHeight;
    if (top >= bottom || left >= right) return;
    // The first row is filled, and the others copied from it.
    uint16_t* const first = FrameBuffer + top * kScreenWidth;
    std::fill(first + left, first + right, PaletteColour(2));
    for (int32_t y = top + 1; y < bottom; y++)
        std::copy(first + left, first + right, FrameBuffer + y * kScreenWidth + left);
}

void DrawSunkShips() {
    for (int32_t i = 0; i < ships.Count(); i++)
        if (ships[i]->health < 1) DrawShip(ships[i]);
}

void DrawMapCells() {
    for (int32_t c = camCellX; c < camCellX + kViewColumns; c++) {
        if (c < 0 || c >= kMapCells) continue;
        for (int32_t r = camCellY; r < camCellY + kViewRows; r++) {
            if (r < 0 || r >= kMapCells) continue;
            DrawMapCell(c, r);
        }
    }
}

void DrawMapCell(int32_t c, int32_t r) {
    const int32_t code = tileMap[CellIndex(c, r)];
    const int32_t x = (c - camCellX) * kCellSize - camSubX;
    const int32_t y = (r - camCellY) * kCellSize - camSubY;
    if (code >= CellLand) {
        DrawSprite16x16(x, y, LandFrames + FrameSlot(16, 16, code - CellLand), SeaKey());
        return;
    }
    DrawCoast(c, r, x, y);
    if (code == CellPort) {
        // The jetty reaches toward the port's one land neighbour: 0 below, 1 left,
        // 2 right, 3 above.
        int32_t orientation = LandAt(c - 1, r) * 1 + LandAt(c + 1, r) * 2 + LandAt(c, r - 1) * 3;
        if (orientation > 3) orientation = 3;  // a port the islands never make, in a corner
        const int32_t frame = orientation * 8 + (frameCounter / 5) % 8;
        DrawSprite16x16(x, y, PortCellFrames + FrameSlot(16, 16, frame), SeaKey());
    } else if (code == CellWhirlpool) {
        DrawSprite16x16(x, y, WhirlpoolFrames + FrameSlot(16, 16, (frameCounter / 5) % 4), SeaKey());
    } else if (code < 0) {
        // Rocks stand 4 pixels out of their cell on every side; codes -2..-4 are the
        // boulder, the sea stacks and the stones.
        const int32_t frame = (-code - 1) * 6 + (frameCounter / 10) % 6;
        DrawSprite24x24(x - 4, y - 4, RockFrames + FrameSlot(24, 24, frame), SeaKey());
    }
}

void DrawBarrels() {
    for (int32_t i = barrels.Count() - 1; i >= 0; i--) {
        const Barrel* barrel = barrels[i];
        const int32_t frame = frameCounter / 15;
        DrawSprite16x16(ScreenX(barrel->x) - 4, ScreenY(barrel->y) - 4, BarrelFrames + FrameSlot(16, 16, frame),
                        SeaKey());
    }
}

void DrawCannonballs() {
    for (int32_t i = cannonballs.Count() - 1; i >= 0; i--) {
        const Cannonball* ball = cannonballs[i];
        const int32_t x = ScreenX(ball->x) - 4, y = ScreenY(ball->y);
        if (ball->life >= kSplashFrames)
            DrawSprite8x8(x, y, CannonballFrames + FrameSlot(8, 8, ball->life & 7), SeaKey());
        else
            DrawSprite8x8(x, y, SplashFrames + FrameSlot(8, 8, 7 - ball->life), SeaKey());
    }
}

void DrawShips() {
    // Wrecks are already on the water, and ships far up or far left cannot be in view.
    const int32_t playerCellX = player->x / kCellSize, playerCellY = player->y / kCellSize;
    for (int32_t i = 0; i < ships.Count(); i++) {
        Ship* ship = ships[i];
        const bool wreck = ship->health < 1 && ship->hitTimer < 1;
        const bool outOfView = ship->x / kCellSize < playerCellX - 16 || ship->y / kCellSize < playerCellY - 14;
        ship->drawn = wreck || outOfView ? 1 : 0;
    }
    // Lowest y first, so ships lower on the screen cover those above; equal y in list order.
    for (;;) {
        int32_t lowestY = 100000;
        for (int32_t i = 0; i < ships.Count(); i++)
            if (ships[i]->drawn == 0 && ships[i]->y < lowestY) lowestY = ships[i]->y;
        bool any = false;
        for (int32_t i = 0; i < ships.Count(); i++) {
            Ship* ship = ships[i];
            if (ship->drawn != 0 || ship->y != lowestY) continue;
            DrawShip(ship);
            ship->drawn = 1;
            any = true;
        }
        if (!any) break;
    }
}

void DrawShip(Ship* ship) {
    ship->screenX = ScreenX(ship->x) - 12;
    ship->screenY = ScreenY(ship->y) - 12;
    if (ship->health < 1) {
        DrawSunkShip(ship);
        return;
    }

    // Banks: 0 sailing, 1 firing to port (B), 2 firing to starboard (A), 3 and 4 struck
    // on either side; the 16 frames of a broadside or a hit play the 8 pictures.
    int32_t bank = 0, frame = 0;
    if (ship->fireCooldown >= 1) {
        bank = ship->fireSide + 1;
        frame = (16 - ship->fireCooldown) / 2;
    } else if (ship->hitTimer > 0) {
        bank = 3 + ship->hitSide;
        frame = (16 - ship->hitTimer) / 2;
    } else if (ship->sailTimer != -1) {
        frame = (15 - ship->sailTimer) / 2;
    }
    const int32_t direction = DirectionOf(ship->headingX, ship->headingY);
    const int32_t picture = bank * 256 + ship->kind * 64 + direction * 8 + frame;
    DrawSprite24x24(ship->screenX, ship->screenY, ShipFrames + FrameSlot(24, 24, picture), SeaKey());

    // The wake: under way always, at rest only the stir of a broadside.
    int32_t wake = -1;
    if (ship->sailTimer == -1) {
        if (ship->fireCooldown > 0) wake = (16 - ship->fireCooldown) / 2;
    } else if (ship->fireCooldown > 0) {
        wake = (16 - ship->fireCooldown) / 2;
    } else if (ship->hitTimer > 0) {
        wake = (16 - ship->hitTimer) / 2;
    } else {
        wake = (15 - ship->sailTimer) / 2;
    }
    if (wake >= 0)
        DrawMask(ship->screenX, ship->screenY, ShipOverlayMasks + FrameSlot(24, 24, wake * 8 + direction), 24, 8);
}

void DrawPortMarkers() {
    // The marker hovers over its port and bobs down through 4 pixels every 120 frames.
    const int32_t bob = frameCounter / 30;
    for (int32_t i = ports.Count() - 1; i >= 0; i--) {
        const Port* port = ports[i];
        if (port->role == RoleInactive) continue;
        const int32_t frame = port->role == RoleBuyer ? 1 : 0;
        const int32_t x = (port->cellX - camCellX) * kCellSize - camSubX - 4;
        const int32_t y = (port->cellY - camCellY) * kCellSize - camSubY - 23 - bob;
        DrawSprite24x24(x, y, PortMarkerFrames + FrameSlot(24, 24, frame), SeaKey());
    }
}

void DrawGulls() {
    const int32_t playerCellX = player->x / kCellSize, playerCellY = player->y / kCellSize;
    const uint16_t key = SeaKey();
    for (const auto& slot : gulls) {
        const Gull* gull = slot.get();
        if (gull == nullptr) continue;
        if (gull->x / kCellSize < playerCellX - 8 || gull->y / kCellSize < playerCellY - 14) continue;
        const int32_t frame = DirectionOf(gull->stepX, gull->stepY) * 4 + gull->flap / 4;
        Sprite picture = GullFrames + FrameSlot(8, 8, frame);
        const int32_t x = ScreenX(gull->x) - 4, y = ScreenY(gull->y) - 4;
        // The shadow on the water has the bird's shape; the bird flies 12 pixels above it.
        MarkPictureShadow(x, y, 8, 8, picture, key);
        DrawSprite8x8(x, y - 12, picture, key);
    }
}

void MarkCloudShadows() {
    for (const auto& slot : clouds) {
        const Cloud* cloud = slot.get();
        if (cloud == nullptr) continue;
        const int32_t half = cloud->size / 2;
        DrawMask(ScreenX(cloud->x) - half, ScreenY(cloud->y) - half, CloudFrame(cloud), cloud->size, -1);
    }
}

void DrawClouds() {
    for (const auto& slot : clouds) {
        const Cloud* cloud = slot.get();
        if (cloud == nullptr) continue;
        const int32_t half = cloud->size / 2;
        DrawMask(ScreenX(cloud->x) - half, ScreenY(cloud->y) - half - 30, CloudFrame(cloud), cloud->size, 15);
    }
}
