// The sea view compared pixel for pixel with the pictures expected, drawn by hand: coast
// pieces, jetties, rocks; ships by bank, frame, wake and depth; wrecks and sinking
// ships; cannonballs, markers and barrels; gulls and clouds with their shadows; the
// darkening, once per pixel, and the same as its plain rule.
#include "pirates/cannonballs.h"
#include "render/sprite.h"
#include "sailing/seaview.h"
#include "sailing/sky.h"
#include "sea.h"
#include "ships.h"
#include "test_support.h"

namespace {

class SeaViewTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        AddPlayer(400, 400);  // screen = world - (320, 352)
        FillFrame(Colour(2));
    }
};

// Where the picture the game draws first differs from the one drawn by hand, each on a
// fresh background ("" where it does not).
template <typename Expected, typename Actual>
std::string Differ(Expected expected, Actual actual, int32_t background = 2) {
    FillFrame(Colour(background));
    expected();
    const Picture want = Snapshot();
    FillFrame(Colour(background));
    actual();
    return Differs(want);
}

// A one-bit picture drawn pixel by pixel: bands of 8 rows, a byte a column.
void DrawMaskByHand(int32_t x, int32_t y, const uint8_t* mask, int32_t size, int32_t colour) {
    for (int32_t row = 0; row < size; row++)
        for (int32_t col = 0; col < size; col++)
            if ((mask[row / 8 * size + col] >> (row % 8) & 1) && x + col >= 0 && x + col < 160 && y + row >= 0 &&
                y + row < 120)
                FrameBuffer[(y + row) * 160 + x + col] = Colour(colour);
}

const uint8_t* Edge(int32_t mask) { return CoastEdgeFrames + FrameSlot(16, 16, mask - 1); }
const uint8_t* Corner(int32_t sum) { return CoastCornerFrames + FrameSlot(16, 16, sum - 1); }

TEST_F(SeaViewTest, CellsTakeTheirPiecesFromTheLandAround) {
    struct Layer { const uint8_t* picture; int32_t size; };
    struct Case { int32_t code, counter; std::vector<std::pair<int32_t, int32_t>> land; std::vector<Layer> expected; };
    const Case cases[] = {
        {0, 0, {{0, -1}, {1, 0}}, {{Edge(5), 16}}}, {0, 0, {{0, -1}, {1, 1}}, {{Edge(1), 16}}},
        {0, 0, {{-1, 1}}, {{Corner(2), 16}}},
        // What the islands never make: a bay of three sides (its upper sides, the lower shore
        // over them), land at two corners (a piece for each).
        {0, 0, {{0, -1}, {1, 0}, {0, 1}}, {{Edge(5), 16}, {Edge(8), 16}}},
        {0, 0, {{1, 1}, {-1, -1}}, {{Corner(1), 16}, {Corner(4), 16}}},
        {1, 44, {{-1, 0}}, {{Edge(2), 16}, {PortCellFrames + FrameSlot(16, 16, 1 * 8 + 0), 16}}},
        {-3, 59, {{-1, 1}}, {{Corner(2), 16}, {RockFrames + FrameSlot(24, 24, 12 + 5), 24}}},
        {6, 0, {}, {{LandFrames + FrameSlot(16, 16, 4), 16}}},
    };
    for (const Case& k : cases) {
        std::memset(tileMap, 0, sizeof tileMap);
        SetCell(21, 23, k.code);
        for (auto [dc, dr] : k.land) SetCell(21 + dc, 23 + dr, 2 + (dc + dr + 4) % 5);  // any land
        frameCounter = k.counter;
        auto layers = [&] {
            for (const Layer& layer : k.expected)
                if (layer.size == 16) DrawSprite16x16(16, 16, layer.picture, SeaKey());
                else DrawSprite24x24(12, 12, layer.picture, SeaKey());
        };
        EXPECT_EQ(Differ(layers, [] { DrawMapCell(21, 23); }), "") << "code " << k.code << ", land " << k.land.size();
    }
    // Every piece and every picture of the jetties, whirlpools and rocks, as recorded: a
    // random world of every code, seen in views across all of it and its edges, each at
    // another frame.
    for (int8_t& code : tileMap) {
        const int32_t d = std::rand() % 20;
        code = static_cast<int8_t>(d < 9    ? CellSea
                                   : d < 15 ? 2 + d % 5
                                   : d < 17 ? CellPort
                                   : d < 18 ? CellWhirlpool
                                            : -2 - d % 3);
    }
    Print print;
    for (int32_t view = 0; view < 63; view++) {
        player->x = view % 7 * 140 + view / 7 * 3, player->y = view / 7 * 110 + 5, frameCounter = view * 5 % 120;
        PlaceCamera();
        FillFrame(Colour(2));
        DrawMapCells();
        for (const uint16_t pixel : FrameBuffer) print.Add(pixel);
    }
    EXPECT_EQ(print.value, 0x4dcf9471e8f031b4u);
}

TEST_F(SeaViewTest, ShipsShowTheirBankFrameAndWake) {
    struct Case {
        int32_t kind, headingX, headingY, sailTimer, fireCooldown, fireSide, hitTimer, hitSide;
        int32_t direction, bank, frame, wake;  // wake -1: none
    } cases[] = {
        {0, 1, 0, -1, 0, 0, 0, 0, 6, 0, 0, -1},   // at rest
        {0, 0, -1, 15, 0, 0, 0, 0, 0, 0, 0, 0},   // just set sail
        {1, -1, -1, 8, 0, 0, 0, 0, 1, 0, 3, 3}, {2, -1, 1, 0, 0, 0, 0, 0, 3, 0, 7, 7},
        {0, 1, 0, -1, 16, 1, 0, 0, 6, 2, 0, 0},   // broadside A from rest: the stir shows
        {0, 1, 0, -1, 3, 1, 0, 0, 6, 2, 6, 6},
        {3, 1, 1, 6, 10, 0, 0, 0, 5, 1, 3, 3},    // broadside B under way
        {1, 0, 1, -1, 0, 0, 16, 0, 4, 3, 0, -1},  // struck at rest: no wake
        {2, 1, -1, 4, 0, 0, 5, 1, 7, 4, 5, 5},    // struck under way
        {0, -1, 0, 10, 0, 0, 1, 0, 2, 3, 7, 7},   // the hit's last frame still times the wake
        {3, 0, 0, 2, 4, 1, 9, 0, 4, 2, 6, 6},     // firing outranks the hit; (0, 0) faces down
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "kind " << k.kind << " bank " << k.bank << " frame " << k.frame);
        ClearWorldLists();
        Ship* ship = player = AddShip(k.kind, 430, 410, k.headingX, k.headingY);
        ship->sailTimer = k.sailTimer, ship->fireCooldown = k.fireCooldown, ship->fireSide = k.fireSide;
        ship->hitTimer = k.hitTimer, ship->hitSide = k.hitSide;
        auto expected = [&] {
            const int32_t picture = k.bank * 256 + k.kind * 64 + k.direction * 8 + k.frame;
            DrawSprite24x24(98, 46, ShipFrames + FrameSlot(24, 24, picture), SeaKey());
            const uint8_t* wake = ShipOverlayMasks + FrameSlot(24, 24, k.wake * 8 + k.direction);
            if (k.wake >= 0) DrawMaskByHand(98, 46, wake, 24, 8);
        };
        EXPECT_EQ(Differ(expected, DrawShips), "");
    }
}

TEST_F(SeaViewTest, LowerShipsCoverHigherOnesAndEqualOnesGoInListOrder) {
    player->y = 395;
    Ship* a = AddShip(1, 408, 406, 0, 1);
    Ship* b = AddShip(2, 404, 401, 1, 0);
    Ship* c = AddShip(3, 402, 406, -1, 0);
    Ship* farLeft = AddShip(1, 128, 400);    // column 8: 17 left of the player's
    Ship* nearLeft = AddShip(1, 144, 400);   // 16 left
    Ship* farUp = AddShip(1, 400, 150);      // row 9: 15 above
    Ship* nearUp = AddShip(1, 400, 160);     // row 10: 14 above
    Ship* farRight = AddShip(1, 1040, 900);  // off the screen, but placed
    for (Ship* s : {farLeft, nearLeft, farUp, nearUp, farRight}) s->screenX = -1;
    EXPECT_EQ(Differ([&] { for (Ship* s : {player, b, a, c}) DrawShip(s); }, DrawShips), "");
    EXPECT_EQ(Values({farLeft->screenX, farUp->screenX, nearLeft->screenX, nearUp->screenY, farRight->screenX}),
              Values({-1, -1, 144 - 320 - 12, 160 - 352 - 12, 1040 - 320 - 12}));
    for (int32_t i = 0; i < ships.Count(); i++) EXPECT_EQ(ships[i]->drawn, 1);
}

TEST_F(SeaViewTest, WrecksLieUnderTheCoastAndSinkingShipsRiseOverIt) {
    for (int32_t c = 21; c < 24; c++) SetCell(c, 24, CellLand);  // on screen x 16..63, y 32..47
    for (int32_t hitTimer : {0, 1, 5})
        for (int32_t counter : {0, 14, 15, 119}) {
            ClearWorldLists();
            AddPlayer(400, 400)->health = 0;  // a wreck too, out of the way
            Ship* sunk = AddShip(2, 360, 380, -1, 1);  // its picture reaches into the land
            sunk->health = 0, sunk->hitTimer = hitTimer;
            frameCounter = counter;
            const uint8_t* picture = hitTimer == 0 ? WreckFrames + FrameSlot(24, 24, 2 * 4 + counter / 5 % 4)
                                                   : SinkingFrames + FrameSlot(24, 24, 2 * 8 + (16 - hitTimer) / 2);
            auto expected = [&] {
                DrawSea();
                DrawShip(player);
                DrawSprite24x24(28, 16, picture, SeaKey());
                DrawMapCells();
                if (hitTimer > 0) DrawSprite24x24(28, 16, picture, SeaKey());
            };
            EXPECT_EQ(Differ(expected, DrawSeaView, 0), "") << "hitTimer " << hitTimer << " frame " << counter;
            EXPECT_EQ(Values({sunk->screenX, sunk->screenY}), Values({28, 16}));
        }
    ships[1]->fireCooldown = 12;  // a cooldown still running times the pictures instead
    auto sinking = [] { DrawSprite24x24(28, 16, SinkingFrames + FrameSlot(24, 24, 2 * 8 + 2), SeaKey()); };
    EXPECT_EQ(Differ(sinking, DrawShips), "");
}

TEST_F(SeaViewTest, CannonballsFlyThenSplashAndMarkersBob) {
    for (int32_t life : {9, 8, 0, 1, 50}) cannonballs.Append(new Cannonball{life, true, 360 + life * 2, 390, 1, -1});
    ports.Append(new Port{21, 24, RoleBuyer});
    ports.Append(new Port{25, 23, RoleInactive});
    ports.Append(new Port{27, 23, RoleRepairFirst});
    barrels.Append(new Barrel{23 * 16 + 8, 24 * 16 + 5, false});
    frameCounter = 90;
    // Over the sea and under our ship the barrel, then the balls, last to first; the markers
    // over all.
    auto expected = [] {
        DrawSprite16x16(56 - 4, 37 - 4, BarrelFrames + FrameSlot(16, 16, 90 / 15), SeaKey());
        DrawSprite8x8(141 - 4, 37, CannonballFrames + FrameSlot(8, 8, 49 & 7), SeaKey());
        DrawSprite8x8(43 - 4, 37, SplashFrames + FrameSlot(8, 8, 7), SeaKey());
        DrawSprite8x8(57 - 4, 37, SplashFrames + FrameSlot(8, 8, 0), SeaKey());
        DrawSprite8x8(59 - 4, 37, CannonballFrames + FrameSlot(8, 8, 8 & 7), SeaKey());
        DrawSprite24x24(68, 36, ShipFrames + FrameSlot(24, 24, 6 * 8), SeaKey());
        DrawSprite24x24(112 - 4, 16 - 23 - 3, PortMarkerFrames + FrameSlot(24, 24, 0), SeaKey());  // bobbed 3 up
        DrawSprite24x24(16 - 4, 32 - 23 - 3, PortMarkerFrames + FrameSlot(24, 24, 1), SeaKey());
    };
    EXPECT_EQ(Differ(expected, [] { AdvanceCannonballs(), DrawSeaView(); }), "");
    ASSERT_EQ(cannonballs.Count(), 4);
    EXPECT_EQ(Values({cannonballs[0]->life, cannonballs[1]->life, cannonballs[2]->life, cannonballs[3]->life,
                      cannonballs[3]->x, cannonballs[3]->y}),
              Values({8, 7, 0, 49, 461, 389}));
    EXPECT_EQ(Heard(), std::vector<std::string>{"miss"});  // only the ball dropping to 7
}

TEST_F(SeaViewTest, GullsFlyToRandomTargetsAndCastShadows) {
    gulls[0].reset(new Gull{100, 50, 15, 1, -1, 410, 380, 410, 380});     // at its target
    gulls[1].reset(new Gull{896, 896, 3, 0, 0, 390, 420, 300, 420});      // flying left
    gulls[2].reset(new Gull{896, 896, 0, 0, 1, 400 - 9 * 16, 400, 0, 0});  // too far left to draw
    const int32_t after = SeedDraws({{100, 40}, {50, 20}});  // a new target, x then y
    const uint8_t* restingFrame = GullFrames + FrameSlot(8, 8, 7 * 4 + 0);  // up-right, wings up
    const uint8_t* flyingFrame = GullFrames + FrameSlot(8, 8, 2 * 4 + 1);   // left, wings level
    auto birds = [&](int32_t lift) {
        DrawSprite8x8(90 - 4, 28 - 4 - lift, restingFrame, SeaKey());
        DrawSprite8x8(69 - 4, 68 - 4 - lift, flyingFrame, SeaKey());
    };
    EXPECT_EQ(Differ([&] { birds(12); }, [] { FlyGulls(), DrawGulls(); }), "");
    EXPECT_EQ(std::rand(), after);
    const Gull &resting = *gulls[0], &flying = *gulls[1];
    EXPECT_EQ(Values({resting.targetX, resting.targetY, resting.x, resting.flap, resting.stepX}),
              Values({40, 20, 410, 0, 1}));  // rests a frame, the last step kept
    EXPECT_EQ(Values({flying.x, flying.stepX, flying.stepY, flying.flap}), Values({389, -1, 0, 4}));
    EXPECT_EQ(gulls[2]->x, 400 - 9 * 16 - 1);  // flies on unseen
    FillFrame(Colour(2));
    birds(0);  // the shadows, 12 pixels below the birds
    for (int32_t y = 0; y < 120; y++)
        for (int32_t x = 0; x < 160; x++) ASSERT_EQ(ShadowBit(x, y), At(x, y) != Colour(2)) << x << ", " << y;
}

TEST_F(SeaViewTest, CloudsDriftOnceASecondAndComeBackRound) {
    clouds[0].reset(new Cloud{-48, 949, 0, 8, 6, 7, 896, 944});
    clouds[1].reset(new Cloud{410, 390, 2, 32, 5, 3, 896, 944});
    for (int32_t counter : {39, 41, 119, 80}) {
        frameCounter = counter;
        DriftClouds(), DrawClouds();
        EXPECT_EQ(clouds[0]->x, counter == 80 ? 925 : -48);
    }
    EXPECT_EQ(Values({clouds[0]->y, clouds[0]->frame, clouds[1]->x, clouds[1]->y, clouds[1]->frame}),
              Values({-83, 0, 409, 391, 4}));

    // Shadows where the clouds are and clouds 30 pixels above, as plain drawing has them,
    // for clouds strewn across every edge of the view and far from it (those are skipped).
    static const uint8_t* const kTables[4] = {CloudMasks8, CloudMasks16, CloudMasks32, CloudMasks48};
    const int32_t sizes[4] = {8, 16, 32, 48}, variants[4] = {6, 6, 5, 4};
    auto byHand = [](int32_t lift) {
        for (const auto& slot : clouds) {
            const Cloud& k = *slot;
            const uint8_t* mask = kTables[k.image] + k.frame * k.variantCount * k.size * k.size / 8;
            DrawMaskByHand(k.x - 320 - k.size / 2, k.y - 352 - k.size / 2 - lift, mask, k.size, 15);
        }
    };
    srand(77);
    frameCounter = 81;
    for (int32_t round = 0; round < 30; round++) {
        for (int32_t i = 2; i < kCloudCount; i++) {
            const int32_t image = rand() % 4, far = rand() % 8 == 0;
            const int32_t x = far ? rand() % 896 : 290 + rand() % 220, y = far ? rand() % 896 : 340 + rand() % 150;
            clouds[i].reset(new Cloud{x, y, image, sizes[image], variants[image], rand() % 8, 896, 944});
        }
        std::memset(shadowMask, 0, sizeof shadowMask);
        ASSERT_EQ(Differ([&] { byHand(30); }, [] { MarkCloudShadows(), DriftClouds(), DrawClouds(); }), "")
            << "round " << round;
        FillFrame(Colour(2));
        byHand(0);
        for (int32_t y = 0; y < 120; y++)
            for (int32_t x = 0; x < 160; x++) ASSERT_EQ(ShadowBit(x, y), At(x, y) == Colour(15)) << x << ", " << y;
    }
}

// The darkening as the rule says it: for each marked pixel, entries 0 to 15 in order.
void DarkenPlainly() {
    for (int32_t i = 0; i < 160 * 120; i++)
        if (ShadowBit(i % 160, i / 160) && PaletteIndex(FrameBuffer[i]) < 16)
            FrameBuffer[i] = static_cast<uint16_t>(shadowPalette[PaletteIndex(FrameBuffer[i])]);
}

TEST_F(SeaViewTest, OverlappingShadowsDarkenOnce) {
    for (int32_t c = 20; c < 24; c++)
        for (int32_t r = 22; r < 26; r++) SetCell(c, r, 2 + (c + r) % 5);
    gulls[0].reset(new Gull{896, 896, 0, 0, 0, 360, 380, 360, 380});  // shadow at (36, 24)
    clouds[0].reset(new Cloud{360, 380, 3, 48, 4, 0, 896, 944});    // shadow at (16, 4)
    frameCounter = 1;
    FillFrame(Colour(0));
    DrawSea(), DrawMapCells(), DrawShips();
    const Picture lit = Snapshot();
    FillFrame(Colour(2));
    DrawSprite8x8(36, 24, GullFrames + FrameSlot(8, 8, 4 * 4), SeaKey());
    DrawMaskByHand(16, 4, CloudMasks48, 48, 15);
    const Picture shaded = Snapshot();
    FillFrame(Colour(0));
    FlyGulls(), DrawSeaView(), DriftClouds(), DrawClouds();
    for (int32_t i = 22 * 160; i < 160 * 120; i++) {  // below the bird and the cloud themselves
        const uint16_t once = static_cast<uint16_t>(shadowPalette[PaletteIndex(lit[i])]);
        ASSERT_EQ(FrameBuffer[i], shaded[i] != Colour(2) ? once : lit[i]) << i;
    }

    // The pass looks colours up in a table kept for the palettes: the same as the plain
    // rule on random pictures with stray colours, masks from empty to full (and partial
    // ones with runs of whole bytes), and palettes changed from round to round, with
    // repeated colours (the first entry decides, a darkened colour is not looked up again).
    InitPalettes();
    const std::vector<uint32_t> usual(Palette, Palette + 16);
    srand(20240601);
    for (int32_t round = 0; round < 200; round++) {
        InitPalettes();
        if (round % 3 == 0) Palette[rand() % 16] = Palette[rand() % 16];
        if (round % 5 == 0) Palette[rand() % 16] = shadowPalette[rand() % 16];
        if (round % 7 == 0) shadowPalette[rand() % 16] = static_cast<uint32_t>(rand());
        uint16_t colour = 0;
        for (uint16_t& pixel : FrameBuffer) {
            // Stray colours, and the usual palette's (some perhaps not in this round's).
            if (rand() % 6 == 0) colour = static_cast<uint16_t>(rand() % 4 == 0 ? rand() : usual[rand() % 16]);
            pixel = colour;
        }
        const int32_t density = round % 4;
        for (uint8_t& bits : shadowMask)
            bits = density == 3 ? 0xFF : static_cast<uint8_t>(density == 0 ? 0 : rand() & rand() >> (4 - density));
        shadowMask[rand() % 2400] = static_cast<uint8_t>(rand());
        if (density != 3) std::fill_n(shadowMask + rand() % 2000, rand() % 400, 0xFF);
        const Picture before = Snapshot();
        DarkenPlainly();
        const Picture plain = Snapshot();
        std::copy(before.begin(), before.end(), FrameBuffer);
        DarkenShadows();
        ASSERT_EQ(Differs(plain), "") << "round " << round;
    }
}

}  // namespace
