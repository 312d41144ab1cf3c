// Island generation: the channel walk, every random draw in its order (replayed here
// from the raw numbers on plain arrays), and the rules every generated world keeps.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "flow/highscore.h"
#include "harness/screenshot.h"
#include "platform/audio.h"
#include "ports/ports.h"
#include "test_support.h"
#include "texts.h"
#include "world/generate.h"
#include "world/world.h"

namespace {

using Cells = std::vector<std::pair<int, int>>;

TEST(GenerateChannelTest, ChannelsStepOrthogonallyCloseToTheLine) {
    struct Case {
        int x0, y0, x1, y1;
        Cells cells;  // the cells that become sea; the start cell never does
    } cases[] = {
        {0, 0, 3, 1, {{1, 0}, {1, 1}, {2, 1}, {3, 1}}},
        {3, 1, 0, 0, {{2, 1}, {2, 0}, {1, 0}, {0, 0}}},  // backwards takes other cells
        {0, 0, 2, 2, {{0, 1}, {1, 1}, {1, 2}, {2, 2}}},  // a tie steps along y
        {1, 6, 7, 4, {{2, 6}, {2, 5}, {3, 5}, {4, 5}, {5, 5}, {5, 4}, {6, 4}, {7, 4}}},
        {5, 5, 5, 2, {{5, 4}, {5, 3}, {5, 2}}},
        {4, 4, 4, 4, {}},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "(" << c.x0 << ", " << c.y0 << ") to (" << c.x1 << ", " << c.y1 << ")");
        std::fill(std::begin(tileMap), std::end(tileMap), CellLand);
        CutChannel(c.x0, c.y0, c.x1, c.y1);
        Cells sea;
        for (int x = 0; x < 28; x++)
            for (int y = 0; y < 28; y++)
                if (tileMap[x * 56 + y] == CellSea) sea.push_back({x, y});
        std::sort(c.cells.begin(), c.cells.end());
        EXPECT_EQ(sea, c.cells);
    }
}

// Takes the recorded random numbers one by one.
struct Draws {
    const std::vector<int>& numbers;
    size_t next = 0;
    int Raw() { return numbers[next++]; }
    int operator()(int n) { return Raw() % n; }
};

// Works out from the numbers what the rules make, on plain arrays, and compares it with
// what GenerateIslands made.
void ExpectWorldFrom(Draws& r, bool firstGame) {
    int px[28] = {}, py[28] = {};
    for (int i = 0; i < 27; i++) {
        px[i] = r(27);
        py[i] = r(27);
    }
    px[r(27)] = 0;
    py[r(27)] = 0;
    px[r(27)] = 27;
    py[r(27)] = 27;
    for (int i = 0; i < 28; i++) ASSERT_EQ(std::make_pair(+pathX[i], +pathY[i]), std::make_pair(px[i], py[i])) << i;

    // The coarse grid: channels (tileMap serves as the walk's scratch), sea from the
    // edges, lone rocks.
    const std::vector<int8_t> made(std::begin(tileMap), std::end(tileMap));
    std::fill(std::begin(tileMap), std::end(tileMap), CellLand);
    for (int i = 0; i < 26; i++) CutChannel(px[i], py[i], px[i + 1], py[i + 1]);
    CutChannel(0, 0, px[0], py[0]);
    int g[28][28];
    for (int x = 0; x < 28; x++)
        for (int y = 0; y < 28; y++) g[x][y] = tileMap[x * 56 + y];
    for (int x = 0; x < 28; x++) {
        for (int y = 0; y < 28 && g[x][y] == 2; y++) g[x][y] = 0;
        for (int y = 27; y >= 0 && g[x][y] == 2; y--) g[x][y] = 0;
    }
    for (int y = 0; y < 28; y++) {
        for (int x = 0; x < 28 && g[x][y] == 2; x++) g[x][y] = 0;
        for (int x = 27; x >= 0 && g[x][y] == 2; x--) g[x][y] = 0;
    }
    for (int x = 2; x < 26; x++)
        for (int y = 2; y < 26; y++)
            if (g[x][y] == 2 && g[x - 1][y] == 0 && g[x][y - 1] == 0 && g[x + 1][y] == 0 && g[x][y + 1] == 0 &&
                r(2) == 1)
                g[x][y] = -1;

    // The cells, from (55, 55) back to (0, 0); then ports and decorations.
    int m[56][56];
    for (int cx = 55; cx >= 0; cx--)
        for (int cy = 55; cy >= 0; cy--) {
            m[cx][cy] = g[cx / 2][cy / 2];
            if (m[cx][cy] != -1) continue;
            const int v = r.Raw();
            m[cx][cy] = v % 5 == 0 || cx % 2 == 1 || cy % 2 == 1 ? 0 : r(3) - 4;
        }
    Cells portCells;
    while (portCells.size() < 6) {
        const int cx = r(51) + 2, cy = r(51) + 2;
        const int land = (m[cx - 1][cy] >= 2) + (m[cx + 1][cy] >= 2) + (m[cx][cy - 1] >= 2) + (m[cx][cy + 1] >= 2);
        if (m[cx][cy] != 0 || land % 2 == 0) continue;
        m[cx][cy] = 1;
        portCells.push_back({cx, cy});
    }
    for (int cx = 0; cx < 55; cx++)
        for (int cy = 0; cy < 55; cy++) {
            if (m[cx][cy] != 2 || r(3) != 1) continue;
            const int d = r(20);
            m[cx][cy] = d == 1 ? 3 : d == 0 || d == 2 ? 4 : 5 + r(2);
        }
    int wrongCells = 0;
    for (int cx = 0; cx < 56; cx++)
        for (int cy = 0; cy < 56; cy++) wrongCells += made[cx * 56 + cy] != m[cx][cy];
    EXPECT_EQ(wrongCells, 0);
    std::copy(made.begin(), made.end(), tileMap);

    int roles[6] = {-1, -1, -1, -1, -1, -1};
    for (int i = 0; i < 3; i++) roles[r(6)] = 1;
    ASSERT_EQ(ports.Count(), 6);
    for (int i = 0; i < 6; i++) {
        EXPECT_EQ(std::make_pair(ports[i]->cellX, ports[i]->cellY), portCells[i]);
        EXPECT_EQ(ports[i]->role, roles[i]);
    }

    // The ship, its start and the gulls and clouds.
    const int replan = r(30) + 25;
    int a, b;
    do {
        a = r(45);
        b = r(45) + 5;
    } while (m[a + 5][b] != 0 || m[a + 4][b] != 0 || m[a + 6][b] != 0 || m[a + 5][b - 1] != 0 || m[a + 5][b + 1] != 0);
    ASSERT_EQ(ships.Count(), 1);
    ASSERT_EQ(ships[0], player);
    static_assert(sizeof(Ship) == 21 * sizeof(int32_t), "21 fields");
    const int32_t* fields = reinterpret_cast<const int32_t*>(player);
    EXPECT_EQ(std::vector<int32_t>(fields, fields + 21),
              std::vector<int32_t>({-1, 0, 0, -1, -1, 0, replan, 0, 0, 500, 1, -1, -1, 0, 0, (a + 5) * 16 + 8,
                                    b * 16 + 6, 1, 0, 5, 0}));
    for (auto& gull : gulls) {
        const int flap = r(16), x = r(896), y = r(896), tx = r(896), ty = r(896);
        EXPECT_EQ(std::vector<int32_t>({gull->rangeX, gull->rangeY, gull->flap, gull->stepX, gull->stepY, gull->x,
                                        gull->y, gull->targetX, gull->targetY}),
                  std::vector<int32_t>({896, 896, flap, 0, 1, x, y, tx, ty}));
    }
    const int sizes[4] = {8, 16, 32, 48}, variants[4] = {6, 6, 5, 4};
    for (auto& cloud : clouds) {
        const int x = r.Raw() % 895, y = r.Raw() % 895, k = r(4), frame = r(8);
        EXPECT_EQ(std::vector<int32_t>({cloud->x, cloud->y, cloud->image, cloud->size,
                                        cloud->variantCount, cloud->frame, cloud->wrapX, cloud->wrapY}),
                  std::vector<int32_t>({x, y, k, sizes[k], variants[k], frame, 896, 944}));
    }

    // The opening words.
    const int p = r(4) + 1;
    EXPECT_EQ(dialog.portrait, firstGame ? 1 : p);
    EXPECT_EQ(dialog.text, firstGame ? firstIslandsText : levelGreetings[(p - 1) * 4 + r(4)]);
}

// The map, one pixel a cell: sea, ports (yellow), land (green, decorated darker), rocks
// (grey) and the ship's start (white).
void SaveMapPicture(const char* name) {
    uint16_t pixels[56 * 56];
    for (int cx = 0; cx < 56; cx++)
        for (int cy = 0; cy < 56; cy++) {
            const int code = tileMap[cx * 56 + cy];
            const int colour = code == 0 ? 2 : code == 1 ? 14 : code == 2 ? 11 : code > 2 ? 5 : 7;
            pixels[cy * 56 + cx] = Colour(colour);
        }
    pixels[player->y / 16 * 56 + player->x / 16] = Colour(15);
    SavePng(TestFramePath(name).c_str(), pixels, 56, 56, 6);
}

std::vector<int32_t> tracks;
void TrackStarted(int32_t i) { tracks.push_back(i); }

class GenerateTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        musicOn = 1;
        currentMusic = -1;
        musicStarted = TrackStarted;
        tracks.clear();
    }
    void TearDown() override { musicStarted = nullptr; }
};

TEST_F(GenerateTest, EveryDrawIsTakenInTheOrderOfTheRules) {
    for (unsigned seed : {1u, 2024u}) {
        SCOPED_TRACE(seed);
        srand(seed);
        std::vector<int> numbers(100000);
        for (int& n : numbers) n = rand();
        Draws r{numbers};
        srand(seed);
        highScore = 0;
        level = 0;
        gold = 0;
        GenerateIslands();
        ExpectWorldFrom(r, true);
        EXPECT_EQ(rand(), numbers[r.next++]);  // and nothing more was drawn
        SaveMapPicture(("islands_" + std::to_string(seed)).c_str());
        EXPECT_EQ(tracks, std::vector<int32_t>({MusicInGame}));

        // The next set, from where the numbers stand, replaces everything of the last.
        ships.Append(new Ship{});
        cannonballs.Append(new Cannonball{});
        deliveries = 4;
        compassTarget = ports[0];
        dockProgress = 7;
        popupKind = 2;
        popupTimer = 12;
        cannonballCount = 1;
        overlayMode = OverlayNone;
        level = 1;
        GenerateIslands();
        ExpectWorldFrom(r, false);
        EXPECT_EQ(rand(), numbers[r.next++]);
        EXPECT_EQ(cannonballs.Count(), 0);
        EXPECT_EQ(compassTarget, nullptr);
        EXPECT_EQ(std::vector<int32_t>({deliveries, dockProgress, popupKind, popupTimer, cannonballCount, gold,
                                        overlayMode, hudSlide}),
                  std::vector<int32_t>({0, 0, 0, 0, 6, 10, OverlayDialog, 0}));
        EXPECT_EQ(tracks, std::vector<int32_t>({MusicInGame}));  // already playing
        EXPECT_EQ(dialog.done, CloseDialog);
    }
}

TEST_F(GenerateTest, EveryWorldKeepsTheRules) {
    for (unsigned seed = 0; seed < 300; seed++) {
        SCOPED_TRACE(seed);
        srand(seed);
        highScore = seed % 3 == 0 ? 0 : 90;
        level = static_cast<int32_t>(seed % 2);
        GenerateIslands();
        auto at = [](int cx, int cy) { return tileMap[cx * 56 + cy]; };

        // Sea all round; land in 2 x 2 blocks; rocks alone at even corners; six ports.
        int portCells = 0;
        for (int cx = 0; cx < 56; cx++)
            for (int cy = 0; cy < 56; cy++) {
                const int code = at(cx, cy);
                ASSERT_TRUE((code >= 0 && code <= 6) || (code >= -4 && code <= -2)) << code;
                const bool border = cx < 2 || cy < 2 || cx > 53 || cy > 53;
                ASSERT_TRUE(!border || code == 0) << cx << ", " << cy;
                const bool even = cx % 2 == 0 && cy % 2 == 0;
                const bool inner = cx >= 4 && cx <= 50 && cy >= 4 && cy <= 50;
                ASSERT_TRUE(code >= -1 || (even && inner)) << cx << ", " << cy;
                if (even && cx < 54 && cy < 54) {
                    const int land = (code >= 2) + (at(cx + 1, cy) >= 2) + (at(cx, cy + 1) >= 2) + (at(cx + 1, cy + 1) >= 2);
                    ASSERT_TRUE(land == 0 || land == 4) << cx << ", " << cy;
                }
                portCells += code == 1;
            }
        ASSERT_EQ(ports.Count(), 6);
        EXPECT_EQ(portCells, 6);
        int active = 0;
        for (int i = 0; i < 6; i++) {
            const Port& port = *ports[i];
            EXPECT_EQ(at(port.cellX, port.cellY), 1);
            EXPECT_TRUE(port.cellX >= 2 && port.cellX <= 52 && port.cellY >= 2 && port.cellY <= 52);
            const int land = (at(port.cellX - 1, port.cellY) >= 2) + (at(port.cellX + 1, port.cellY) >= 2) +
                             (at(port.cellX, port.cellY - 1) >= 2) + (at(port.cellX, port.cellY + 1) >= 2);
            EXPECT_TRUE(land == 1 || land == 3) << land;
            EXPECT_TRUE(port.role == RoleCargoFirst || port.role == RoleInactive);
            active += port.role == RoleCargoFirst;
        }
        EXPECT_TRUE(active >= 1 && active <= 3);

        // The ship starts mid-cell in open water with water on all four sides.
        ASSERT_EQ(ships.Count(), 1);
        const int cx = player->x / 16, cy = player->y / 16;
        EXPECT_EQ(std::make_pair(player->x % 16, player->y % 16), std::make_pair(8, 6));
        EXPECT_TRUE(cx >= 5 && cx <= 49 && cy >= 5 && cy <= 49) << cx << ", " << cy;
        EXPECT_EQ(at(cx, cy) | at(cx - 1, cy) | at(cx + 1, cy) | at(cx, cy - 1) | at(cx, cy + 1), 0);
    }
}

}  // namespace
