// Whole frames of the sailing screen driven by scripted buttons: the camera that keeps
// the ship at the same place on the screen, the water ending at the world's edges,
// pausing with Start, and the dialog that stops the steering but not the cannonballs.
#include <algorithm>

#include "ports/ports.h"
#include "render/dialog.h"
#include "render/sprite.h"
#include "seaview_support.h"
#include "ships.h"

namespace {

class SailingFrameTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ResetWorld();
        hudSlide = -20;  // the status bar out of the picture
        popupTimer = 0;
    }
    void TearDown() override {
        ClearWorldLists();
        GameState = 100;
    }

    // Presses and lets go of a button over two frames.
    static void Tap(int32_t button) {
        SetButtonKey(button, true);
        PlayFrame();
        SetButtonKey(button, false);
        PlayFrame();
    }
};

TEST_F(SailingFrameTest, TheShipIsAlwaysDrawnAtTheCentreAndTheWaterEndsAtTheWorldsEdge) {
    struct Case { int32_t x, y; } cases[] = {{400, 400}, {7, 7}, {888, 882}, {300, -8}, {123, 457}};
    Ship* ship = AddPlayer(0, 0);
    for (const Case& k : cases) {
        ship->x = k.x, ship->y = k.y;
        hudSlide = -20;
        PlayFrame();
        // The world's water, the background beyond it, and the ship at rest facing right.
        FillFrame(Colour(0));
        for (int32_t y = std::max(0, 48 - k.y); y < std::min(120, 48 + 896 - k.y); y++)
            for (int32_t x = std::max(0, 80 - k.x); x < std::min(160, 80 + 896 - k.x); x++)
                FrameBuffer[y * 160 + x] = Colour(2);
        DrawSprite24x24(68, 36, ShipFrames + FrameSlot(24, 24, 6 * 8), SeaKey());
        for (int32_t i = 0; i < 160 * 120; i++)
            ASSERT_EQ(shownFrame[i], FrameBuffer[i]) << "ship at (" << k.x << ", " << k.y << "), pixel " << i;
        EXPECT_EQ(ship->screenX, 68);
        EXPECT_EQ(ship->screenY, 36);
        ClearFrameBuffer();  // as the frame loop leaves it
    }

    // Under way, the camera is placed where the ship starts each frame.
    ship->x = 100, ship->y = 100;
    SetButtonKey(ButtonRight, true);
    SetButtonKey(ButtonDown, true);
    for (int32_t i = 0; i < 40; i++) {
        const int32_t x = ship->x, y = ship->y;
        PlayFrame();
        EXPECT_EQ(camCellX, x / 16 - 5);
        EXPECT_EQ(camCellY, y / 16 - 3);
        EXPECT_EQ(camSubX, x % 16);
        EXPECT_EQ(camSubY, y % 16);
        EXPECT_EQ(ship->screenX, 68);
        EXPECT_EQ(ship->screenY, 36);
    }
    EXPECT_EQ(ship->x, 140);
    EXPECT_EQ(ship->y, 140);
    EXPECT_EQ(hudSlide, 0);  // the status bar has slid back in, a pixel a frame
}

TEST_F(SailingFrameTest, StartPausesInShadowAndResumes) {
    ListenToSounds();
    Ship* ship = AddPlayer(400, 400);
    SetCell(22, 23, CellLand);  // some colours whose shadows differ from the sea's
    ports.Append(new Port{22, 24, 1});
    SetCell(22, 24, CellPort);
    frameCounter = 10;
    PlayFrame();
    const std::vector<uint16_t> lit(shownFrame, shownFrame + 160 * 120);
    EXPECT_EQ(hudSlide, -19);

    SetButtonKey(ButtonStart, true);
    PlayFrame();
    EXPECT_EQ(overlayMode, 0);  // nothing happens while it is held
    SetButtonKey(ButtonStart, false);
    SetButtonKey(ButtonRight, true);
    frameCounter = 10;
    PlayFrame();
    EXPECT_EQ(overlayMode, 1);
    EXPECT_EQ(SoundsPlayed(), std::vector<int32_t>{SoundClick});
    EXPECT_EQ(ship->x, 400);  // paused in the very frame: no steering
    // Every pixel of the scene falls into shadow once (the map goes in the middle).
    for (int32_t y = 0; y < 120; y++)
        for (int32_t x = 0; x < 160; x++) {
            if (x >= 45 && x < 117 && y >= 24 && y < 96) continue;
            int32_t index = 0;
            while (Colour(index) != lit[y * 160 + x]) index++;
            ASSERT_EQ(ShownAt(x, y), static_cast<uint16_t>(shadowPalette[index])) << x << ", " << y;
        }
    for (int32_t i = 0; i < 5; i++) PlayFrame();
    EXPECT_EQ(ship->x, 400);

    Tap(ButtonStart);
    EXPECT_EQ(overlayMode, 0);
    EXPECT_EQ(SoundsPlayed(), (std::vector<int32_t>{SoundClick, SoundBeep}));
    EXPECT_EQ(ship->x, 401);  // steering again in the frame it resumed
    SetButtonKey(ButtonRight, false);
}

TEST_F(SailingFrameTest, WhileSomeoneSpeaksTheShipWaitsButCannonballsFly) {
    Ship* ship = AddPlayer(400, 400);
    cannonballs.Append(new Cannonball{30, 1, 420, 400, 1, 0});
    StartDialog(1, "Ahoy there, captain! A long word or two before you sail on.", CloseDialog);
    overlayMode = 2;
    SetButtonKey(ButtonLeft, true);
    Tap(ButtonStart);
    for (int32_t i = 0; i < 3; i++) PlayFrame();
    EXPECT_EQ(overlayMode, 2);
    EXPECT_EQ(ship->x, 400);
    EXPECT_EQ(cannonballs[0]->life, 25);
    EXPECT_EQ(cannonballs[0]->x, 425);
    SetButtonKey(ButtonLeft, false);
}

}  // namespace
