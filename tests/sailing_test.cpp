// Steering the player's ship, and whole frames of the sailing screen under scripted
// buttons: the camera, the world's edges, pausing, and a dialog holding the ship.
#include <algorithm>

#include "flow/dialog.h"
#include "ports/ports.h"
#include "render/sprite.h"
#include "seaview_support.h"
#include "ships.h"

namespace {

class SailingTest : public SeaTest {
protected:
    static void Steer(const std::vector<int32_t>& held) {
        for (int32_t b : held) SetButtonKey(b, true);
        SteerPlayer();
        for (int32_t b : held) SetButtonKey(b, false);
    }
};

TEST_F(SailingTest, OnePixelPerAxisUnlessReloadingStruckOrSunk) {
    Ship* ship = AddPlayer(400, 400);
    struct Case { std::vector<int32_t> held; int32_t dx, dy; } cases[] = {
        {{ButtonRight}, 1, 0}, {{ButtonUp, ButtonLeft}, -1, -1}, {{ButtonLeft, ButtonRight, ButtonDown}, 0, 1},
        {{ButtonUp, ButtonDown}, 0, 0}, {{}, 0, 0}};
    for (const Case& k : cases) {
        ship->sailTimer = -1;
        const Ship before = *ship;
        Steer(k.held);
        if (k.dx == 0 && k.dy == 0) {
            EXPECT_EQ(std::memcmp(ship, &before, sizeof before), 0);  // not a field written
            continue;
        }
        // A purely vertical move points the ship straight up or down.
        EXPECT_EQ(std::vector<int32_t>({ship->x, ship->y, ship->headingX, ship->headingY, ship->sailTimer}),
                  std::vector<int32_t>({before.x + k.dx, before.y + k.dy, k.dx, k.dy, 15}));
    }
    ship->sailTimer = 6;
    Steer({ButtonRight});
    EXPECT_EQ(ship->sailTimer, 6);  // a sail animation under way is not restarted
    // In a whirlpool's spin the ship moves, but the spin keeps the heading and sails.
    ship->spinTimer = 40, ship->sailTimer = -1;
    const int32_t y = ship->y;
    Steer({ButtonDown, ButtonRight});
    EXPECT_EQ(ship->headingY, 0);
    EXPECT_EQ(ship->sailTimer, -1);
    EXPECT_EQ(y + 1, ship->y);
    ship->spinTimer = 0;
    for (int32_t which = 0; which < 3; which++) {
        ship->fireCooldown = which == 0 ? 3 : 0, ship->hitTimer = which == 1, ship->health = which == 2 ? 0 : 5;
        const int32_t x = ship->x;
        Steer({ButtonRight});
        EXPECT_EQ(ship->x, x);
    }
}

TEST_F(SailingTest, CoastsSlideTheShipAndTheWorldsEdgesHoldIt) {
    for (int32_t c = 20; c < 30; c++) SetCell(c, 27, CellLand);  // y 432..447; the hull reaches y + 13
    Ship* ship = AddPlayer(360, 418);
    Steer({ButtonDown, ButtonRight});
    EXPECT_EQ(ship->y, 418);
    EXPECT_EQ(ship->x, 361);
    EXPECT_EQ(ship->headingY, 0);
    ship->x = 312;  // west of the land's corner the ship may go down again
    Steer({ButtonDown, ButtonRight});
    EXPECT_EQ(ship->y, 419);
    EXPECT_EQ(ship->x, 313);

    // Sideways the middle of each side is tested too, at the old y; a diagonal step
    // clips a corner that neither step alone touches.
    SetCell(40, 10, -3);  // x 640..655, y 160..175
    ship->x = 632, ship->y = 165;
    Steer({ButtonRight, ButtonUp});
    EXPECT_EQ(ship->x, 632);
    EXPECT_EQ(ship->y, 164);
    ship->x = 632, ship->y = 183;
    Steer({ButtonRight, ButtonUp});
    EXPECT_EQ(ship->x, 633);
    EXPECT_EQ(ship->y, 182);
    for (int32_t code : {0, 1, -50, -2, -4, 2, 6}) {
        SetCell(40, 10, code);
        ship->x = 632, ship->y = 165;
        Steer({ButtonRight});
        EXPECT_EQ(ship->x, code == 0 || code == 1 || code == -50 ? 633 : 632) << "code " << code;
    }

    ship->x = 7;
    Steer({ButtonLeft});  // x - 7 would be -1
    ship->y = 882;
    Steer({ButtonDown});  // y + 13 would be 896, row 56
    EXPECT_EQ(ship->x, 7);
    EXPECT_EQ(ship->y, 882);
    ship->x = 888, ship->y = 7;
    for (int32_t i = 0; i < 30; i++) Steer({ButtonRight, ButtonUp});
    EXPECT_EQ(ship->x, 888);  // x + 7 would be 896, column 56
    EXPECT_EQ(ship->y, -8);   // -15..-1 still divide into row 0
}

TEST_F(SailingTest, TheShipIsAlwaysAtTheCentreAndTheWaterEndsAtTheWorldsEdge) {
    Ship* ship = AddPlayer(0, 0);
    for (auto [x, y] : {std::pair{400, 400}, {7, 7}, {888, 882}, {300, -8}, {123, 457}}) {
        ship->x = x, ship->y = y, hudSlide = -20;
        PlayFrame();
        FillFrame(Colour(0));
        for (int32_t r = std::max(0, 48 - y); r < std::min(120, 944 - y); r++)
            for (int32_t c = std::max(0, 80 - x); c < std::min(160, 976 - x); c++) FrameBuffer[r * 160 + c] = Colour(2);
        DrawSprite24x24(68, 36, ShipFrames + FrameSlot(24, 24, 6 * 8), SeaKey());  // at rest, facing right
        for (int32_t i = 0; i < 160 * 120; i++) ASSERT_EQ(shownFrame[i], FrameBuffer[i]) << x << ", " << y << ": " << i;
        ClearFrameBuffer();  // as the frame loop leaves it
    }
    // Under way, the camera is placed where the ship starts each frame.
    ship->x = 100, ship->y = 100;
    SetButtonKey(ButtonRight, true);
    SetButtonKey(ButtonDown, true);
    for (int32_t i = 0; i < 40; i++) {
        const int32_t x = ship->x, y = ship->y;
        PlayFrame();
        ASSERT_EQ(camCellX * 16 + camSubX, x - 80);
        ASSERT_EQ(camCellY * 16 + camSubY, y - 48);
        ASSERT_EQ(camSubY, y % 16);
        ASSERT_EQ(ship->screenX, 68);
        ASSERT_EQ(ship->screenY, 36);
    }
    EXPECT_EQ(ship->x, 140);
    EXPECT_EQ(hudSlide, 0);  // the status bar slid back in, a pixel a frame
}

TEST_F(SailingTest, StartPausesInShadowAndADialogHoldsTheShip) {
    Ship* ship = AddPlayer(400, 400);
    SetCell(22, 23, CellLand);  // colours whose shadows differ from the sea's
    SetCell(22, 24, CellPort);
    ports.Append(new Port{22, 24, RoleCargoFirst});
    frameCounter = 10;
    PlayFrame();
    const Picture lit(shownFrame, shownFrame + 160 * 120);

    SetButtonKey(ButtonStart, true);
    PlayFrame();
    EXPECT_EQ(overlayMode, OverlayNone);  // nothing while it is held
    SetButtonKey(ButtonStart, false);
    SetButtonKey(ButtonRight, true);
    frameCounter = 10;
    PlayFrame();
    EXPECT_EQ(overlayMode, OverlayPaused);
    EXPECT_EQ(played, std::vector<int32_t>{SoundClick});
    for (int32_t y = 0; y < 120; y++)  // all in shadow, once, round the map
        for (int32_t x = 0; x < 160; x++)
            if (x < 45 || x >= 117 || y < 24 || y >= 96) {
                ASSERT_EQ(ShownAt(x, y), shadowPalette[PaletteIndex(lit[y * 160 + x])]) << x << ", " << y;
            }
    for (int32_t i = 0; i < 3; i++) PlayFrame();
    EXPECT_EQ(ship->x, 400);
    SetButtonKey(ButtonStart, true);
    PlayFrame();
    SetButtonKey(ButtonStart, false);
    PlayFrame();
    EXPECT_EQ(overlayMode, OverlayNone);
    EXPECT_EQ(played, (std::vector<int32_t>{SoundClick, SoundBeep}));
    EXPECT_EQ(ship->x, 401);  // steering again in the frame it resumed

    cannonballs.Append(new Cannonball{30, 1, 420, 400, 1, 0});
    StartDialog(1, "Ahoy there, captain! A long word or two before you sail on.", CloseDialog);
    overlayMode = OverlayDialog;
    for (int32_t i = 0; i < 4; i++) PlayFrame();
    EXPECT_EQ(ship->x, 401);
    EXPECT_EQ(cannonballs[0]->x, 424);
    EXPECT_EQ(ShownAt(159, 0), shadowPalette[2]);  // the sea in shadow behind the dialog
    SetButtonKey(ButtonRight, false);
}

}  // namespace
