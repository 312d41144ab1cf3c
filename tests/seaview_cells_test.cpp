// The map cells of the sea view: which coast piece a sea cell takes from the land round
// it, the jetty of each port orientation, whirlpools, rocks and land, each compared
// pixel for pixel with the one expected picture drawn by hand.
#include "sailing/seaview.h"
#include "sea.h"
#include "render/sprite.h"
#include "seaview_support.h"

namespace {

class SeaCellTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ResetWorld();
        AddPlayer(20 * 16 + 3, 20 * 16 + 9);  // camera at column 15, row 17; cell corners at -3, -9
    }
    void TearDown() override { ClearWorldLists(); }

    // Cell (c, r) drawn alone on the sea, against the expected pictures drawn by hand.
    static void ExpectCell(int32_t c, int32_t r, std::vector<std::pair<const uint8_t*, int32_t>> pictures) {
        const int32_t x = (c - camCellX) * 16 - camSubX, y = (r - camCellY) * 16 - camSubY;
        FillFrame(Colour(2));
        for (auto& [table, size] : pictures) {
            if (size == 16) DrawSprite16x16(x, y, table, SeaKey());
            else DrawSprite24x24(x - 4, y - 4, table, SeaKey());
        }
        const std::vector<uint16_t> expected = Snapshot();
        FillFrame(Colour(2));
        DrawMapCell(c, r);
        EXPECT_EQ(DiffersFrom(expected), 0) << "cell (" << c << ", " << r << ")";
    }
};

const uint8_t* Edge(int32_t mask) { return CoastEdgeFrames + FrameSlot(16, 16, mask - 1); }
const uint8_t* Corner(int32_t sum) { return CoastCornerFrames + FrameSlot(16, 16, sum - 1); }

TEST_F(SeaCellTest, CoastPiecesFollowTheLandAround) {
    // The pieces the game tells apart must look different, or this test proves nothing.
    for (int32_t a = 1; a <= 12; a++)
        for (int32_t b = a + 1; b <= 12; b++) ASSERT_NE(std::memcmp(Edge(a), Edge(b), 128), 0);
    for (int32_t a = 1; a <= 4; a++)
        for (int32_t b = a + 1; b <= 4; b++) ASSERT_NE(std::memcmp(Corner(a), Corner(b), 128), 0);

    // Sea cell (20, 20); land put at its neighbours by (dc, dr).
    struct Case { std::vector<std::pair<int32_t, int32_t>> land; const uint8_t* piece; } cases[] = {
        {{{0, -1}}, Edge(1)},              // land above
        {{{-1, 0}}, Edge(2)},              // left
        {{{1, 0}}, Edge(4)},               // right
        {{{0, 1}}, Edge(8)},               // below
        {{{0, -1}, {1, 0}}, Edge(5)},      // above and right
        {{{0, -1}, {-1, 0}, {-1, -1}}, Edge(3)},
        {{{-1, 0}, {0, 1}}, Edge(10)},
        {{{1, 0}, {0, 1}, {1, 1}}, Edge(12)},
        {{{0, -1}, {1, 1}}, Edge(1)},      // an edge wins over a corner
        {{{1, 1}}, Corner(1)},             // down-right
        {{{-1, 1}}, Corner(2)},            // down-left
        {{{1, -1}}, Corner(3)},            // up-right
        {{{-1, -1}}, Corner(4)},           // up-left
    };
    for (const Case& k : cases) {
        std::memset(tileMap, 0, sizeof tileMap);
        for (auto [dc, dr] : k.land) SetCell(20 + dc, 20 + dr, 2 + (dc + dr + 4) % 5);  // any land, decorated or not
        ExpectCell(20, 20, {{k.piece, 16}});
    }

    // Rocks and whirlpools are not land; nothing beyond the map is.
    std::memset(tileMap, 0, sizeof tileMap);
    SetCell(19, 20, -2);
    SetCell(21, 20, -50);
    SetCell(20, 19, -4);
    SetCell(20, 21, 1);
    ExpectCell(20, 20, {});
    for (int32_t r = 0; r < kMapCells; r++) SetCell(1, r, CellLand);
    ExpectCell(0, 17, {{Edge(4), 16}});
}

TEST_F(SeaCellTest, JettiesTurnToTheLandAndLapEveryFiveFrames) {
    struct Case { int32_t dc, dr, orientation; } cases[] = {{0, 1, 0}, {-1, 0, 1}, {1, 0, 2}, {0, -1, 3}};
    for (const Case& k : cases)
        for (int32_t counter : {0, 4, 5, 39, 119}) {
            std::memset(tileMap, 0, sizeof tileMap);
            SetCell(20, 20, CellPort);
            SetCell(20 + k.dc, 20 + k.dr, CellLand);
            frameCounter = counter;
            const int32_t mask = k.dr == -1 ? 1 : k.dc == -1 ? 2 : k.dc == 1 ? 4 : 8;
            const uint8_t* jetty = PortCellFrames + FrameSlot(16, 16, k.orientation * 8 + counter / 5 % 8);
            ExpectCell(20, 20, {{Edge(mask), 16}, {jetty, 16}});
        }
}

TEST_F(SeaCellTest, WhirlpoolsRocksAndLand) {
    for (int32_t counter : {0, 9, 10, 59, 119}) {
        frameCounter = counter;
        std::memset(tileMap, 0, sizeof tileMap);
        SetCell(20, 20, CellWhirlpool);
        SetCell(21, 21, CellLand);
        ExpectCell(20, 20, {{Corner(1), 16}, {WhirlpoolFrames + FrameSlot(16, 16, counter / 5 % 4), 16}});
        for (int32_t code : {-2, -3, -4}) {
            SetCell(20, 20, code);
            const uint8_t* rock = RockFrames + FrameSlot(24, 24, (-code - 1) * 6 + counter / 10 % 6);
            ExpectCell(20, 20, {{Corner(1), 16}, {rock, 24}});
        }
        for (int32_t code = 2; code <= 6; code++) {
            SetCell(20, 20, code);
            ExpectCell(20, 20, {{LandFrames + FrameSlot(16, 16, code - 2), 16}});
        }
    }
}

}  // namespace
