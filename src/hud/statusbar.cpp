#include "hud/statusbar.h"

#include <cstring>

#include "hud.h"
#include "platform/frame.h"
#include "render/shadow.h"
#include "render/sprite.h"
#include "render/text.h"
#include "world/world.h"

namespace {

// The island map's top-left cell on the screen, inside its frame.
constexpr int32_t kMapLeft = 52;
constexpr int32_t kMapTop = 32;

void Plot(int32_t x, int32_t y, int32_t colour) {
    if (OnScreen(x, y)) FrameBuffer[y * kScreenWidth + x] = PaletteColour(colour);
}

// Blinking marks on the map: light for 9 frames, red for 15.
int32_t BlinkColour() { return frameCounter % 24 < 9 ? 15 : 6; }

// The needle's frame for a target at world point (tx, ty): the picture direction of the
// bearing, each axis counting as level with the ship within 6 pixels either way (level on
// both shows the needle pointing down).
int32_t CompassFrame(const Ship* ship, int32_t tx, int32_t ty) {
    const int32_t dx = tx < ship->x - 6 ? -1 : tx > ship->x + 6 ? 1 : 0;
    const int32_t dy = ty < ship->y - 6 ? -1 : ty > ship->y + 6 ? 1 : 0;
    return DirectionOf(dx, dy);
}

}  // namespace

void DrawIslandMap() {
    DrawPicture(45, 24, 72, 72, MapFrame, SeaKey());
    // The colour of every code a cell may hold, looked up once a frame rather than once a
    // cell. The last column is always sea and is left out.
    uint16_t colours[256];
    for (int32_t code = -128; code < 128; code++) colours[static_cast<uint8_t>(code)] = PaletteColour(MapColour(code));
    for (int32_t cx = 0; cx < kMapCells - 1; cx++)
        for (int32_t cy = 0; cy < kMapCells; cy++)
            FrameBuffer[(kMapTop + cy) * kScreenWidth + kMapLeft + cx] =
                colours[static_cast<uint8_t>(tileMap[CellIndex(cx, cy)])];

    for (int32_t i = 0; i < ships.Count(); i++) {
        const Ship* ship = ships[i];
        if (ship != player && ship->health > 0)
            Plot(kMapLeft + ship->x / kCellSize, kMapTop + ship->y / kCellSize, BlinkColour());
    }

    // Buyer orange and active ports grey most of the time, then both flash yellow.
    const int32_t phase = frameCounter % 12;
    for (int32_t i = 0; i < ports.Count(); i++) {
        const Port* port = ports[i];
        if (port->role == RoleInactive) continue;
        const int32_t colour = phase >= 9 ? 14 : port->role != RoleBuyer ? 3 : phase < 7 ? 9 : 14;
        Plot(kMapLeft + port->cellX, kMapTop + port->cellY, colour);
    }

    const int32_t px = kMapLeft + player->x / kCellSize;
    const int32_t py = kMapTop + player->y / kCellSize;
    const int32_t offsets[5][2] = {{0, 0}, {1, -1}, {1, 1}, {-1, -1}, {-1, 1}};
    for (const auto& offset : offsets) Plot(px + offset[0], py + offset[1], BlinkColour());
}

int32_t MapColour(int32_t code) {
    switch (code) {
    case CellSea:
    case CellWhirlpool:
        return 13;
    case CellPort:
        return 14;
    case CellLand:
        return 9;
    case 3:
    case 4:
        return 3;
    default:
        return 5;  // the other decorated land and rocks
    }
}

void SlideStatusBar() {
    // A dialog pushes it out faster than that.
    if (hudSlide < 0) hudSlide++;
}

void DrawStatusBar() {
    // Paused or spoken to: the whole picture falls into shadow behind the map or dialog.
    if (overlayMode == OverlayPaused || overlayMode == OverlayDialog) {
        std::memset(shadowMask, 0xFF, sizeof shadowMask);
        DarkenShadows();
    }

    // Top left: the gold, its number in a light face over a darker one.
    DrawSprite16x16(1, hudSlide + 1, GoldIconFrames + FrameSlot(16, 16, frameCounter / 12), SeaKey());
    const std::string goldText = NumberText(gold);
    DrawText(11, hudSlide + 2, goldText.c_str(), PaletteColour(4));
    DrawText(11, hudSlide + 3, goldText.c_str(), PaletteColour(14));

    // Bottom right, leftwards: a crate for each unit of cargo aboard.
    for (int32_t i = 0; i < cargo; i++)
        DrawSprite16x16(133 - 10 * i, 109 - hudSlide, CargoIcon, SeaKey());

    // Bottom right corner: while cargo is aboard, the way to the port that buys it. A game
    // that ends with a new high score has released the world's records before its last
    // bar is drawn: the target is gone then, and the sunk ship has no hull left to show.
    if (cargo > 0 && compassTarget != nullptr) {
        DrawSprite16x16(144, 103 - hudSlide, CompassDial, SeaKey());
        const int32_t frame =
            CompassFrame(player, compassTarget->cellX * kCellSize, compassTarget->cellY * kCellSize);
        DrawSprite8x8(148, 107 - hudSlide, CompassArrowFrames + FrameSlot(8, 8, frame), SeaKey());
    }

    // Top right, leftwards: one for each hit point of hull.
    const int32_t health = player != nullptr ? player->health : 0;
    for (int32_t i = 0; i < health; i++) DrawSprite16x16(150 - 10 * i, hudSlide + 1, HullIcon, SeaKey());

    // Bottom left, rightwards: the cannonballs in the magazine.
    for (int32_t i = 0; i < cannonballCount; i++)
        DrawSprite8x8(9 * i, 111 - hudSlide, CannonballIconFrames + FrameSlot(8, 8, frameCounter / 15), SeaKey());
}
