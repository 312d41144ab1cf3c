// What floats and flies in the sea view: ships by bank, frame and depth, wrecks under
// the coast and sinking ships over it, cannonballs and splashes, markers, barrels,
// gulls and clouds with their shadows, and the single darkening pass.
#include <cstdlib>

#include "render/sprite.h"
#include "sailing/seaview.h"
#include "sea.h"
#include "seaview_support.h"
#include "ships.h"

namespace {

class SeaObjectTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ResetWorld();
        AddPlayer(400, 400);  // camera at column 20, row 22, both sub-cells 0
        FillFrame(Colour(2));
    }
    void TearDown() override { ClearWorldLists(); }
};

// A one-bit picture drawn by hand: bands of 8 rows, a byte a column.
void DrawMaskByHand(int32_t x, int32_t y, const uint8_t* mask, int32_t size, int32_t colour) {
    for (int32_t row = 0; row < size; row++)
        for (int32_t col = 0; col < size; col++)
            if ((mask[row / 8 * size + col] >> (row % 8) & 1) && x + col >= 0 && x + col < 160 && y + row >= 0 &&
                y + row < 120)
                FrameBuffer[(y + row) * 160 + x + col] = Colour(colour);
}

const uint8_t* ShipPicture(int32_t n) { return ShipFrames + FrameSlot(24, 24, n); }

TEST_F(SeaObjectTest, ShipsShowTheirBankFrameAndWake) {
    struct Case {
        int32_t kind, headingX, headingY, sailTimer, fireCooldown, fireSide, hitTimer, hitSide;
        int32_t direction, bank, frame, wake;  // wake -1: none
    } cases[] = {
        {0, 1, 0, -1, 0, 0, 0, 0, 6, 0, 0, -1},   // at rest
        {0, 0, -1, 15, 0, 0, 0, 0, 0, 0, 0, 0},   // just set sail
        {1, -1, -1, 8, 0, 0, 0, 0, 1, 0, 3, 3},
        {2, -1, 1, 0, 0, 0, 0, 0, 3, 0, 7, 7},
        {0, 1, 0, -1, 16, 1, 0, 0, 6, 2, 0, 0},   // broadside A from rest: the stir shows
        {0, 1, 0, -1, 1, 1, 0, 0, 6, 2, 7, 7},
        {3, 1, 1, 6, 10, 0, 0, 0, 5, 1, 3, 3},    // broadside B under way
        {1, 0, 1, -1, 0, 0, 16, 0, 4, 3, 0, -1},  // struck at rest: no wake
        {2, 1, -1, 4, 0, 0, 5, 1, 7, 4, 5, 5},    // struck under way
        {0, -1, 0, 10, 0, 0, 1, 0, 2, 3, 7, 7},   // the hit's last frame still times the wake
        {3, 0, 0, 2, 4, 1, 9, 0, 4, 2, 6, 6},     // firing outranks the hit; (0, 0) faces down
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "kind " << k.kind << " bank " << k.bank << " frame " << k.frame);
        Ship* ship = AddShip(k.kind, 430, 410, k.headingX, k.headingY);
        ship->sailTimer = k.sailTimer, ship->fireCooldown = k.fireCooldown, ship->fireSide = k.fireSide;
        ship->hitTimer = k.hitTimer, ship->hitSide = k.hitSide;
        ships.RemoveAt(0);  // the player's record goes; the camera stays
        player = ship;
        FillFrame(Colour(2));
        DrawSprite24x24(98, 46, ShipPicture(k.bank * 256 + k.kind * 64 + k.direction * 8 + k.frame), SeaKey());
        if (k.wake >= 0) DrawMaskByHand(98, 46, ShipOverlayMasks + FrameSlot(24, 24, k.wake * 8 + k.direction), 24, 8);
        const std::vector<uint16_t> expected = Snapshot();
        FillFrame(Colour(2));
        DrawShips();
        EXPECT_EQ(DiffersFrom(expected), 0);
        EXPECT_EQ(ship->screenX, 98);
        EXPECT_EQ(ship->screenY, 46);
    }
}

TEST_F(SeaObjectTest, WrecksLieUnderTheCoastAndSinkingShipsRiseOverIt) {
    for (int32_t c = 21; c < 24; c++) SetCell(c, 24, CellLand);  // on screen x 16..63, y 32..47
    for (int32_t hitTimer : {0, 5}) {
        for (int32_t counter : {0, 14, 15, 119}) {
            ClearWorldLists();
            AddPlayer(400, 400)->health = 0;  // a wreck too, out of the way
            Ship* sunk = AddShip(2, 360, 380, -1, 1);  // its picture reaches into the land
            sunk->health = 0, sunk->hitTimer = hitTimer;
            frameCounter = counter;
            const uint8_t* picture = hitTimer == 0 ? WreckFrames + FrameSlot(24, 24, 2 * 4 + counter / 5 % 4)
                                                   : SinkingFrames + FrameSlot(24, 24, 2 * 8 + (16 - 5) / 2);
            FillFrame(Colour(0));
            DrawSea();
            DrawShip(player);
            DrawSprite24x24(28, 16, picture, SeaKey());
            DrawMapCells();
            if (hitTimer > 0) DrawSprite24x24(28, 16, picture, SeaKey());
            const std::vector<uint16_t> expected = Snapshot();
            FillFrame(Colour(0));
            DrawSeaView();
            EXPECT_EQ(DiffersFrom(expected), 0) << "hitTimer " << hitTimer << " frame " << counter;
            EXPECT_EQ(sunk->screenX, 28);
            EXPECT_EQ(sunk->screenY, 16);
        }
    }
    // A cooldown still running on a sinking ship times its pictures instead of the hit.
    ships[1]->fireCooldown = 12;
    FillFrame(Colour(2));
    DrawShips();
    const std::vector<uint16_t> drawn = Snapshot();
    FillFrame(Colour(2));
    DrawSprite24x24(28, 16, SinkingFrames + FrameSlot(24, 24, 2 * 8 + 2), SeaKey());
    EXPECT_EQ(DiffersFrom(drawn), 0);
}

TEST_F(SeaObjectTest, LowerShipsCoverHigherOnesAndEqualOnesGoInListOrder) {
    player->y = 395;
    Ship* a = AddShip(1, 408, 406, 0, 1);
    Ship* b = AddShip(2, 404, 401, 1, 0);
    Ship* c = AddShip(3, 402, 406, -1, 0);
    Ship* farLeft = AddShip(1, 400 - 17 * 16, 400);
    Ship* nearLeft = AddShip(1, 400 - 16 * 16, 400);
    Ship* farUp = AddShip(1, 400, 150);  // row 9, 15 rows above the player's
    Ship* farRight = AddShip(1, 400 + 40 * 16, 900);
    auto drawInOrder = [](std::vector<Ship*> order) {
        FillFrame(Colour(2));
        for (Ship* s : order) DrawShip(s);
        return Snapshot();
    };
    const std::vector<uint16_t> byDepth = drawInOrder({player, b, a, c});
    ASSERT_NE(byDepth, drawInOrder({player, b, c, a}));  // the order shows
    ASSERT_NE(byDepth, drawInOrder({player, a, b, c}));
    for (Ship* s : {farLeft, nearLeft, farUp, farRight}) s->screenX = s->screenY = -1;
    FillFrame(Colour(2));
    DrawShips();
    EXPECT_EQ(DiffersFrom(byDepth), 0);
    // Ships that cannot be in view are skipped; the rest are placed even off screen.
    EXPECT_EQ(farLeft->screenX, -1);
    EXPECT_EQ(farUp->screenX, -1);
    EXPECT_EQ(nearLeft->screenX, 80 - 16 * 16 - 12);
    EXPECT_EQ(farRight->screenX, 80 + 40 * 16 - 12);
    for (int32_t i = 0; i < ships.Count(); i++) EXPECT_EQ(ships[i]->drawn, 1);
}

TEST_F(SeaObjectTest, CannonballsFlyThenSplashThenGo) {
    ListenToSounds();
    // life, x, y, vx, vy: each far enough from the others not to overlap.
    cannonballs.Append(new Cannonball{10, 1, 380, 390, 1, 0});
    cannonballs.Append(new Cannonball{8, 0, 400, 390, 0, -1});
    cannonballs.Append(new Cannonball{0, 1, 420, 390, 1, 1});
    cannonballs.Append(new Cannonball{1, 0, 440, 390, -1, 1});
    cannonballs.Append(new Cannonball{50, 1, 460, 390, 1, -1});
    DrawCannonballs();
    ASSERT_EQ(cannonballs.Count(), 4);
    const int32_t expected[4][3] = {{9, 381, 390}, {7, 400, 389}, {0, 439, 391}, {49, 461, 389}};
    for (int32_t i = 0; i < 4; i++) {
        EXPECT_EQ(cannonballs[i]->life, expected[i][0]);
        EXPECT_EQ(cannonballs[i]->x, expected[i][1]);
        EXPECT_EQ(cannonballs[i]->y, expected[i][2]);
    }
    EXPECT_EQ(SoundsPlayed(), std::vector<int32_t>{SoundMiss});  // only the ball dropping to 7
    const std::vector<uint16_t> drawn = Snapshot();
    FillFrame(Colour(2));
    DrawSprite8x8(381 - 320 - 4, 390 - 352, CannonballFrames + FrameSlot(8, 8, 9 & 7), SeaKey());
    DrawSprite8x8(400 - 320 - 4, 389 - 352, SplashFrames + FrameSlot(8, 8, 0), SeaKey());
    DrawSprite8x8(439 - 320 - 4, 391 - 352, SplashFrames + FrameSlot(8, 8, 7), SeaKey());
    DrawSprite8x8(461 - 320 - 4, 389 - 352, CannonballFrames + FrameSlot(8, 8, 49 & 7), SeaKey());
    EXPECT_EQ(DiffersFrom(drawn), 0);
}

TEST_F(SeaObjectTest, PortMarkersHoverAndBobAndBarrelsFloat) {
    ports.Append(new Port{21, 24, 0});
    ports.Append(new Port{25, 23, -1});
    ports.Append(new Port{18, 25, 2});
    barrels.Append(new Barrel{23 * 16 + 8, 24 * 16 + 5, 0});
    for (int32_t counter : {0, 29, 30, 95, 119}) {
        frameCounter = counter;
        FillFrame(Colour(2));
        DrawSprite24x24(16 - 4, 32 - 23 - counter / 30, PortMarkerFrames + FrameSlot(24, 24, 1), SeaKey());
        DrawSprite24x24(-32 - 4, 48 - 23 - counter / 30, PortMarkerFrames + FrameSlot(24, 24, 0), SeaKey());
        DrawSprite16x16(56 - 4, 37 - 4, BarrelFrames + FrameSlot(16, 16, counter / 15), SeaKey());
        const std::vector<uint16_t> expected = Snapshot();
        FillFrame(Colour(2));
        DrawPortMarkers();
        DrawBarrels();
        EXPECT_EQ(DiffersFrom(expected), 0) << "frame " << counter;
    }
}

TEST_F(SeaObjectTest, GullsFlyToRandomTargetsAndCastShadows) {
    // At its target: rests a frame and draws a new target, x then y.
    gulls[0].reset(new Gull{100, 50, 15, 1, -1, 410, 380, 410, 380});
    gulls[1].reset(new Gull{896, 896, 6, 0, 0, 390, 420, 300, 420});   // flies left
    gulls[2].reset(new Gull{896, 896, 0, 0, 1, 400 - 9 * 16, 400, 0, 0});  // too far left to draw
    srand(1234);
    const int32_t targetX = rand() % 100, targetY = rand() % 50, after = rand();
    srand(1234);
    DrawGulls();
    EXPECT_EQ(rand(), after);  // exactly two draws
    const Gull& resting = *gulls[0];
    EXPECT_EQ(resting.targetX, targetX);
    EXPECT_EQ(resting.targetY, targetY);
    EXPECT_EQ(resting.x, 410);
    EXPECT_EQ(resting.flap, 0);
    EXPECT_EQ(resting.stepX, 1);  // the last step stays, and so does the heading drawn
    EXPECT_EQ(gulls[1]->x, 389);
    EXPECT_EQ(gulls[1]->stepX, -1);
    EXPECT_EQ(gulls[1]->stepY, 0);
    EXPECT_EQ(gulls[1]->flap, 7);
    EXPECT_EQ(gulls[2]->x, 400 - 9 * 16 - 1);  // flies on unseen

    const std::vector<uint16_t> drawn = Snapshot();
    FillFrame(Colour(2));
    const uint8_t* restingFrame = GullFrames + FrameSlot(8, 8, 7 * 4 + 0);  // up-right, wings up
    const uint8_t* flyingFrame = GullFrames + FrameSlot(8, 8, 2 * 4 + 1);   // left, wings level
    DrawSprite8x8(90 - 4, 28 - 16, restingFrame, SeaKey());
    DrawSprite8x8(69 - 4, 68 - 16, flyingFrame, SeaKey());
    EXPECT_EQ(DiffersFrom(drawn), 0);
    // The shadows: every opaque pixel of each bird, 12 pixels below it, and nothing else.
    FillFrame(Colour(2));
    DrawSprite8x8(90 - 4, 28 - 4, restingFrame, SeaKey());
    DrawSprite8x8(69 - 4, 68 - 4, flyingFrame, SeaKey());
    for (int32_t y = 0; y < 120; y++)
        for (int32_t x = 0; x < 160; x++) ASSERT_EQ(ShadowBit(x, y), At(x, y) != Colour(2)) << x << ", " << y;
}

TEST_F(SeaObjectTest, CloudsDriftOnceASecondAndComeBackRound) {
    clouds[0].reset(new Cloud{-48, 949, 0, 8, 0, 6, 7, 896, 944});
    clouds[1].reset(new Cloud{410, 390, 2, 32, 1, 5, 3, 896, 944});
    for (int32_t counter : {39, 41, 119}) {
        frameCounter = counter;
        DrawClouds();
    }
    EXPECT_EQ(clouds[0]->x, -48);  // no drift outside whole seconds
    frameCounter = 80;
    DrawClouds();
    EXPECT_EQ(clouds[0]->x, 925);
    EXPECT_EQ(clouds[0]->y, -83);
    EXPECT_EQ(clouds[0]->frame, 0);
    EXPECT_EQ(clouds[1]->x, 409);
    EXPECT_EQ(clouds[1]->y, 391);
    EXPECT_EQ(clouds[1]->frame, 4);

    frameCounter = 81;
    // The shadow falls at the cloud's place, the cloud floats 30 pixels above it.
    const uint8_t* mask = CloudMasks32 + (4 * 5 + 1) * 128;
    std::memset(shadowMask, 0, sizeof shadowMask);
    FillFrame(Colour(2));
    MarkCloudShadows();
    DrawClouds();
    const std::vector<uint16_t> drawn = Snapshot();
    FillFrame(Colour(2));
    DrawMaskByHand(89 - 16, 39 - 16 - 30, mask, 32, 15);
    EXPECT_EQ(DiffersFrom(drawn), 0);
    FillFrame(Colour(2));
    DrawMaskByHand(89 - 16, 39 - 16, mask, 32, 15);
    for (int32_t y = 0; y < 120; y++)
        for (int32_t x = 0; x < 160; x++) ASSERT_EQ(ShadowBit(x, y), At(x, y) == Colour(15)) << x << ", " << y;
}

TEST_F(SeaObjectTest, OverlappingShadowsDarkenOnce) {
    // Land under a resting gull and a big cloud (shadows at (36, 24) and (16, 4)).
    for (int32_t c = 20; c < 24; c++)
        for (int32_t r = 22; r < 26; r++) SetCell(c, r, 2 + (c + r) % 5);
    gulls[0].reset(new Gull{896, 896, 0, 0, 0, 360, 380, 360, 380});
    clouds[0].reset(new Cloud{360, 380, 3, 48, 0, 4, 0, 896, 944});
    frameCounter = 1;
    FillFrame(Colour(0));
    DrawSea();
    DrawMapCells();
    DrawShips();
    const std::vector<uint16_t> land = Snapshot();
    FillFrame(Colour(2));
    DrawSprite8x8(36, 24, GullFrames + FrameSlot(8, 8, 4 * 4 + 0), SeaKey());
    const std::vector<uint16_t> gullShadow = Snapshot();
    FillFrame(Colour(2));
    DrawMaskByHand(16, 4, CloudMasks48, 48, 15);
    const std::vector<uint16_t> cloudShadow = Snapshot();

    FillFrame(Colour(0));
    DrawSeaView();
    int32_t overlaps = 0;
    for (int32_t y = 22; y < 120; y++)  // below the bird and the cloud themselves
        for (int32_t x = 0; x < 160; x++) {
            const int32_t i = y * 160 + x;
            const bool shaded = gullShadow[i] != Colour(2) || cloudShadow[i] != Colour(2);
            int32_t index = 0;
            while (Colour(index) != land[i]) index++;
            EXPECT_EQ(At(x, y), shaded ? static_cast<uint16_t>(shadowPalette[index]) : land[i]) << x << ", " << y;
            overlaps += gullShadow[i] != Colour(2) && cloudShadow[i] != Colour(2) &&
                        shadowPalette[index] != Palette[index];
        }
    EXPECT_GT(overlaps, 5);

    // The first palette entry of the pixel's colour decides, and the darkened colour is
    // not looked up again; other colours stay.
    std::memset(shadowMask, 0xFF, sizeof shadowMask);
    Palette[12] = Palette[4];
    Palette[9] = shadowPalette[4];
    FillFrame(Colour(4));
    FrameBuffer[5] = 0x1234;
    DarkenShadows();
    EXPECT_EQ(At(0, 0), static_cast<uint16_t>(shadowPalette[4]));
    EXPECT_EQ(At(5, 0), 0x1234);
    InitPalettes();
}

}  // namespace
