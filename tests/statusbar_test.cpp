// The status bar over the sea: every item where it belongs, the compass's needle, the bar
// sliding away under a dialog and back, the paused island map cell for cell, and the last
// frame of a game whose records are already gone.
#include <algorithm>

#include "hud.h"
#include "hud/statusbar.h"
#include "render/sprite.h"
#include "render/text.h"
#include "ships.h"
#include "test_support.h"

namespace {

using StatusBarTest = GameTest;

// What the bar draws over the sea at slide s, drawn by hand; the needle's frame is given.
void DrawBarByHand(int32_t s, int32_t health, int32_t arrow) {
    DrawSprite16x16(1, s + 1, GoldIconFrames + 256 * (frameCounter / 12), SeaKey());
    DrawText(11, s + 2, std::to_string(gold).c_str(), Colour(4));  // its number, a light face over a darker one
    DrawText(11, s + 3, std::to_string(gold).c_str(), Colour(14));
    for (int32_t i = 0; i < cargo; i++) DrawSprite16x16(133 - 10 * i, 109 - s, CargoIcon, SeaKey());
    if (arrow >= 0) {
        DrawSprite16x16(144, 103 - s, CompassDial, SeaKey());
        DrawSprite8x8(148, 107 - s, CompassArrowFrames + 64 * arrow, SeaKey());
    }
    for (int32_t i = 0; i < health; i++) DrawSprite16x16(150 - 10 * i, s + 1, HullIcon, SeaKey());
    for (int32_t i = 0; i < cannonballCount; i++)
        DrawSprite8x8(9 * i, 111 - s, CannonballIconFrames + 64 * (frameCounter / 15), SeaKey());
}

// The open sea with our ship at rest facing right, as every sailing frame shows it here.
void DrawSeaAndShip() {
    FillFrame(Colour(2));
    DrawSprite24x24(68, 36, ShipFrames + FrameSlot(24, 24, 6 * 8), SeaKey());
}

// Every cell code and its colour on the island map.
const int32_t kCodes[11] = {0, 1, 2, 3, 4, 5, 6, -2, -3, -4, -50};
const int32_t kMapColours[11] = {13, 14, 9, 3, 3, 5, 5, 5, 5, 5, 13};

// The paused map at frame counter f, drawn by hand over the FrameBuffer: its frame, a pixel
// a cell (but the last column), pirates afloat, ports that give or buy, our ship's X.
void DrawMapByHand(int32_t f) {
    DrawExpected(MapFrame, 72, 72, 45, 24, 2, -10);
    for (int32_t c = 0; c < 55; c++)
        for (int32_t r = 0; r < 56; r++) {
            const int32_t k = static_cast<int32_t>(std::find(kCodes, kCodes + 11, tileMap[c * 56 + r]) - kCodes);
            FrameBuffer[(32 + r) * 160 + 52 + c] = Colour(kMapColours[k]);
        }
    const int32_t blink = f % 24 < 9 ? 15 : 6;
    for (int32_t i = 1; i < ships.Count(); i++)
        if (ships[i]->health > 0) FrameBuffer[(32 + ships[i]->y / 16) * 160 + 52 + ships[i]->x / 16] = Colour(blink);
    for (int32_t i = 0; i < ports.Count(); i++) {
        const Port* port = ports[i];
        const int32_t colour = port->role == RoleInactive ? 14
                               : f % 12 >= 9              ? 14
                               : port->role != RoleBuyer  ? 3
                               : f % 12 < 7               ? 9
                                                          : 14;
        FrameBuffer[(32 + port->cellY) * 160 + 52 + port->cellX] = Colour(colour);
    }
    for (auto [dx, dy] : {std::pair{0, 0}, {1, -1}, {1, 1}, {-1, -1}, {-1, 1}})
        FrameBuffer[(32 + player->y / 16 + dy) * 160 + 52 + player->x / 16 + dx] = Colour(blink);
}

TEST_F(StatusBarTest, GoldCargoCompassHullAndCannonballsStandInTheirCorners) {
    ports.Append(new Port{25, 25, RoleInactive});  // its corner is world point (400, 400); no marker in the way
    struct Case {
        int32_t x, y, gold, cargo, health, balls, targeted, frameCounter, arrow;
    } cases[] = {
        {400, 400, 1234, 3, 5, 12, 1, 37, 4},  // level with the target on both axes: down
        {393, 400, 0, 1, 11, 1, 1, 119, 6},    // 7 pixels to its left: the needle points right
        {394, 400, 20, 8, 1, 0, 1, 0, 4},      // 6 pixels is still level
        {407, 400, 5, 2, 3, 6, 1, 60, 2}, {406, 400, 5, 2, 3, 6, 1, 60, 4}, {400, 407, 5, 2, 3, 6, 1, 60, 0},
        {400, 393, 5, 2, 3, 6, 1, 60, 4}, {393, 393, 5, 2, 3, 6, 1, 60, 5}, {407, 407, 5, 2, 3, 6, 1, 60, 1},
        {393, 407, 5, 2, 3, 6, 1, 60, 7}, {407, 393, 5, 2, 3, 6, 1, 60, 3},
        {400, 400, -7, 0, 5, 12, 1, 12, -1},  // no cargo: no compass, target or not
        {400, 400, 99999, 4, 2, 3, 0, 12, -1},  // nothing to point at
    };
    Ship* ship = AddPlayer(0, 0);
    for (const Case& k : cases) {
        ship->x = k.x, ship->y = k.y, ship->health = k.health;
        gold = k.gold, cargo = k.cargo, cannonballCount = k.balls, hudSlide = 0;
        compassTarget = k.targeted ? ports[0] : nullptr;
        frameCounter = k.frameCounter;
        Frames(1);
        frameCounter = k.frameCounter;  // as the frame drew it
        DrawSeaAndShip();
        DrawBarByHand(0, k.health, k.arrow);
        ASSERT_EQ(Differs(Shown()), "") << k.x << ", " << k.y;
    }
}

TEST_F(StatusBarTest, ADialogSlidesTheBarAwayAPixelAFrameAndClosingBringsItBack) {
    AddPlayer(400, 400);
    gold = 88, cargo = 2, cannonballCount = 4, hudSlide = 0;
    StartDialog(2, "Hra!", CloseDialog);
    // Each frame the bar comes back a pixel, is drawn, and the dialog pushes it out two.
    std::vector<int32_t> after;
    for (int32_t i = 0; i < 24; i++) {
        frameCounter = 30;
        Frames(1);
        after.push_back(hudSlide);
        if (i == 4) {  // drawn at -4: the hull icons, undarkened, over the darkened sea
            FillFrame(static_cast<uint16_t>(shadowPalette[2]));
            DrawBarByHand(-4, 5, -1);
            for (int32_t y = 0; y < 60; y++)
                for (int32_t x = 92; x < 160; x++) ASSERT_EQ(ShownAt(x, y), At(x, y)) << x << ", " << y;
        }
    }
    std::vector<int32_t> expected;
    for (int32_t i = 2; i <= 21; i++) expected.push_back(-i);
    expected.insert(expected.end(), {-20, -21, -20, -21});  // out of sight, drawn at -20 or -19
    EXPECT_EQ(after, expected);
    // The more-text mark lit, over land: its shadow shows a row below it.
    SetCell(29, 27, CellLand);
    frameCounter = 40;
    Frames(1);
    SetCell(29, 27, CellSea);
    EXPECT_EQ(Values({ShownAt(153, dialog.top - 1), ShownAt(153, dialog.top + 6)}), Values({Colour(15), Colour(0)}));

    // Dismissed: back to sailing, and the bar slides in a pixel a frame.
    SetButtonKey(ButtonA, true);
    Frames(10);
    SetButtonKey(ButtonA, false);
    Frames(1);
    ASSERT_EQ(overlayMode, OverlayNone);
    const int32_t closedAt = hudSlide;
    for (int32_t i = 1; i <= 18; i++) {
        frameCounter = 30;
        Frames(1);
        ASSERT_EQ(hudSlide, closedAt + i);
    }
    DrawSeaAndShip();
    DrawBarByHand(hudSlide, 5, -1);
    EXPECT_EQ(Differs(Shown()), "");
}

TEST_F(StatusBarTest, ThePausedMapShowsTheWorldCellForCellWithBlinkingShipsAndPorts) {
    for (int32_t c = 0; c < 56; c++)
        for (int32_t r = 0; r < 56; r++) SetCell(c, r, c == 55 ? CellLand : kCodes[(c * 7 + r * 3) % 11]);
    AddPlayer(300, 200);
    AddShip(1, 500, 600)->health = 3;
    AddShip(2, 40, 880)->health = 0;   // sunk: not on the map
    AddShip(3, 895, 10)->health = 1;   // beyond the last column drawn, still shown
    const PortRole roles[5] = {RoleInactive, RoleBuyer, RoleCargoFirst, RoleRepairFirst, RoleCargoFirst};
    for (int32_t i = 0; i < 5; i++) {
        ports.Append(new Port{3 + 11 * i, 50 - 9 * i, roles[i]});
        SetCell(3 + 11 * i, 50 - 9 * i, CellPort);
    }

    SetButtonKey(ButtonStart, true);
    Frames(1);
    SetButtonKey(ButtonStart, false);
    for (int32_t f : {0, 6, 7, 8, 9, 11, 23, 24, 100}) {
        frameCounter = f;
        Frames(1);
        ASSERT_EQ(overlayMode, OverlayPaused);
        // Over what the game drew behind it: the frame, the cells, then the marks.
        std::copy(shownFrame, shownFrame + 160 * 120, FrameBuffer);
        DrawMapByHand(f);
        ASSERT_EQ(Differs(Shown()), "") << "frame " << f;
    }
}

TEST_F(StatusBarTest, TheLastBarOfAGameWithANewBestReadsNoReleasedRecord) {
    AddPlayer(300, 300);
    ports.Append(new Port{3, 3, RoleBuyer});
    compassTarget = ports[0];
    gold = 57, cargo = 3, cannonballCount = 12, hudSlide = 0, frameCounter = 50;
    ClearWorldLists();  // as the game over does before this frame's bar
    StartDialog(1, "You got a new high score of 57!", BackToMenu);
    FillFrame(Colour(2));
    SlideStatusBar(), DrawStatusBar(), DialogFrame();
    const Picture shown = Snapshot();
    FillFrame(static_cast<uint16_t>(shadowPalette[2]));
    DrawBarByHand(0, 0, -1);  // gold, cargo and cannonballs; no hull, no compass
    for (int32_t y = 0; y < 120; y++)
        for (int32_t x = 92; x < 160; x++) ASSERT_EQ(shown[y * 160 + x], At(x, y)) << x << ", " << y;
    EXPECT_EQ(dialog.revealed, 1u);  // the dialog is drawn and typed all the same
}

// An FNV-1a print of the picture the last frame showed.
uint64_t ShownPrint() {
    Print print;
    for (const uint16_t pixel : shownFrame) print.Add(pixel);
    return print.value;
}

// The pictures of this harbour are recorded: each of their parts is drawn by hand in a
// test of its own (the bar above, the docking bar and the pickup icon with the ports).
TEST_F(StatusBarTest, ACaptainDocksLoadsFollowsTheCompassSellsAndLooksAtTheMap) {
    // A coast along row 21 with six jetties above it on row 20; two of them give cargo.
    for (int32_t c = 8; c < 40; c++) SetCell(c, 21, CellLand);
    for (int32_t i = 0; i < 6; i++) {
        SetCell(12 + 4 * i, 20, CellPort);
        ports.Append(new Port{12 + 4 * i, 20, i == 2 || i == 4 ? RoleCargoFirst : RoleInactive});
    }
    // Far away, every list at its limit, so that nothing but the ports draws numbers.
    for (int32_t i = 0; i < 9; i++) barrels.Append(new Barrel{100 + 40 * i, 800, false});
    for (int32_t i = 0; i < 6; i++) {
        whirlpools.Append(new Whirlpool{6000, 50 * 16 + 8, (5 + 2 * i) * 16 + 5});
        SetCell(50, 5 + 2 * i, CellWhirlpool);
    }
    Ship* ship = AddPlayer(268, 322);
    for (int32_t i = 0; i < 4; i++) {
        Ship* wreck = AddShip(1 + i % 3, 100 + 60 * i, 100);
        wreck->health = 0, wreck->sinkTimer = 1000000;
    }
    highScore = 10, cannonballCount = 6;
    std::srand(11);
    // Along the coast to the first jetty that gives cargo: its side touches at x 314.
    SetButtonKey(ButtonRight, true);
    while (ship->x < 318) Frames(1);
    SetButtonKey(ButtonRight, false);
    EXPECT_GT(dockProgress, 0);
    while (dockProgress != 10) Frames(1);
    EXPECT_EQ(ShownPrint(), 0x629ac8c9c02ab086u) << "docking";  // the bar over the ship ten pixels full
    // Loaded: with this seed port 5 buys now, and port 3 gives cargo beside port 4; the
    // needle points right, to the buyer, and the cargo's icon rises.
    Heard();
    while (cargo == 0) Frames(1);
    EXPECT_EQ(Values({ports[0]->role, ports[1]->role, ports[2]->role, ports[3]->role, ports[4]->role, ports[5]->role}),
              Values({-1, -1, -1, 1, 1, 0}));
    ASSERT_EQ(compassTarget, ports[5]);
    EXPECT_EQ(Heard(), std::vector<std::string>{"money"});
    Frames(1);
    EXPECT_EQ(ShownPrint(), 0xbd8fdbb85c9f34b6u) << "loaded";  // the cargo's first picture; the needle
    // Following the needle along the coast to the buyer's jetty, and waiting for the sale.
    SetButtonKey(ButtonRight, true);
    while (ship->x != 32 * 16 + 8) Frames(1);
    SetButtonKey(ButtonRight, false);
    while (cargo != 0) Frames(1);
    EXPECT_EQ(Values({gold, deliveries, ports[5]->role}), Values({20, 1, RoleInactive}));
    Frames(40);  // the coin rises and is gone
    // Start: the scene in shadow, the bar over it, and the map of this harbour.
    Press(ButtonStart);
    ASSERT_EQ(overlayMode, OverlayPaused);
    EXPECT_EQ(ShownPrint(), 0x78f55d3348111d4bu) << "paused";
}

}  // namespace
