// A look at the sea view: a hand-made harbour with every kind of coast, a port of each
// orientation, rocks, a whirlpool, ships of every kind in many headings and moods,
// barrels, cannonballs, gulls and clouds, sailed through by real sailing frames.
//
//     build/seaview [folder]
//
// writes, into the folder (/tmp/seaview unless given), one picture at 1x and 3x of each
// moment the ship stops: harbour-1x.png / harbour-3x.png first, then south, east,
// buyer and north, sailing round a cross-shaped island. docs/sea-view.png is harbour-3x.png.
#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "flow/gamestate.h"
#include "harness/headless.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "world/world.h"

namespace {

void SetCell(int32_t c, int32_t r, int32_t code) { tileMap[CellIndex(c, r)] = static_cast<int8_t>(code); }

// Land in aligned 2 x 2 blocks of cells, as the island maker lays it.
void LandBlock(int32_t blockX, int32_t blockY) {
    for (int32_t c = 0; c < 2; c++)
        for (int32_t r = 0; r < 2; r++) SetCell(2 * blockX + c, 2 * blockY + r, CellLand);
}

void AddPort(int32_t c, int32_t r, PortRole role) {
    SetCell(c, r, CellPort);
    ports.Append(new Port{c, r, role});
}

Ship* AddShip(int32_t kind, int32_t x, int32_t y, int32_t headingX, int32_t headingY) {
    Ship* ship = new Ship{};
    ship->sailTimer = -1;
    ship->screenX = ship->screenY = -1;
    ship->sinkTimer = 500;
    ship->sideOffset = 1;
    ship->waypointX = ship->waypointY = -1;
    ship->x = x;
    ship->y = y;
    ship->headingX = headingX;
    ship->headingY = headingY;
    ship->health = kind == 0 ? 5 : 3;
    ship->kind = kind;
    ships.Append(ship);
    return ship;
}

void AddBall(int32_t x, int32_t y, int32_t vx, int32_t vy, int32_t life) {
    cannonballs.Append(new Cannonball{life, 1, x, y, vx, vy});
}

// The harbour: a cross-shaped island of five blocks (cells 20..25 both ways), which
// has every straight shore, every outer corner and every inner corner; a lone block
// island to the east; a port on each side of the cross; rocks of the three kinds and a
// whirlpool in the open water.
void BuildHarbour() {
    ClearWorldLists();
    std::memset(tileMap, 0, sizeof tileMap);
    LandBlock(11, 10);
    LandBlock(10, 11);
    LandBlock(11, 11);
    LandBlock(12, 11);
    LandBlock(11, 12);
    LandBlock(14, 10);
    // A hut, a palm, boulders and a bush among the grass.
    SetCell(22, 22, 3);
    SetCell(23, 21, 4);
    SetCell(24, 23, 5);
    SetCell(22, 25, 6);
    SetCell(29, 20, 4);

    AddPort(22, 19, RoleInactive);     // land below: inactive, no marker
    AddPort(19, 22, RoleCargoFirst);   // land right: gives cargo
    AddPort(26, 23, RoleBuyer);        // land left: buys cargo
    AddPort(23, 26, RoleRepairFirst);  // land above: gives cargo

    SetCell(17, 26, -2);
    SetCell(16, 28, -3);
    SetCell(14, 24, -4);
    SetCell(15, 21, CellWhirlpool);
    whirlpools.Append(new Whirlpool{6000, 15 * 16 + 8, 21 * 16 + 5});

    // Our ship rests west of the cross, by the jetty of the port that gives cargo.
    player = AddShip(0, 18 * 16 + 8, 23 * 16 + 2, 1, 0);

    // Pirates of all three kinds: under sail, firing, struck, going down, wrecked, and
    // two more further off.
    Ship* sloop = AddShip(1, 16 * 16 + 8, 20 * 16 + 8, 1, 1);
    sloop->sailTimer = 9;
    Ship* brig = AddShip(2, 15 * 16 + 8, 26 * 16 + 8, 0, -1);
    brig->fireCooldown = 9;
    brig->sailTimer = 4;
    Ship* galleon = AddShip(3, 21 * 16 + 8, 26 * 16 + 8, -1, 0);
    galleon->hitTimer = 7;
    galleon->hitSide = 1;
    Ship* sinking = AddShip(1, 16 * 16 + 8, 23 * 16 + 8, -1, 1);
    sinking->health = 0;
    sinking->hitTimer = 6;
    Ship* wreck = AddShip(2, 19 * 16 + 8, 25 * 16 + 8, -1, 1);
    wreck->health = 0;
    AddShip(3, 28 * 16 + 6, 18 * 16 + 4, 1, -1)->sailTimer = 12;
    AddShip(1, 27 * 16, 27 * 16 + 8, -1, -1)->sailTimer = 2;

    // Our broadside falling short of the brig, and its answer in the air.
    AddBall(18 * 16 + 9, 24 * 16 + 8, 0, 1, 36);
    AddBall(15 * 16 + 2, 25 * 16 + 12, -1, 0, 9);
    AddBall(17 * 16 + 6, 27 * 16, 1, -1, 5);
    AddBall(20 * 16 + 14, 27 * 16 + 4, -1, 0, 2);
    AddBall(16 * 16 + 6, 24 * 16 + 14, 1, -1, 40);

    barrels.Append(new Barrel{17 * 16 + 8, 21 * 16 + 5, 0});
    barrels.Append(new Barrel{25 * 16 + 8, 26 * 16 + 5, 0});

    // Gulls circling the harbour; two clouds over it and the rest far away.
    std::srand(7);
    for (int32_t i = 0; i < kGullCount; i++) {
        const int32_t x = 14 * 16 + std::rand() % 160, y = 20 * 16 + std::rand() % 120;
        gulls[i].reset(new Gull{kWorldSize, kWorldSize, std::rand() % 16, 0, 1, x, y, x + std::rand() % 120 - 60,
                                y + std::rand() % 120 - 60});
    }
    static const int32_t kSizes[4] = {8, 16, 32, 48};
    static const int32_t kVariants[4] = {6, 6, 5, 4};
    for (int32_t i = 0; i < kCloudCount; i++) {
        const int32_t image = i == 0 ? 2 : i == 1 ? 1 : i % 4;
        int32_t x = 500 + std::rand() % 390, y = std::rand() % 895;
        if (i == 0) x = 22 * 16, y = 23 * 16;
        if (i == 1) x = 14 * 16 + 8, y = 25 * 16;
        clouds[i].reset(new Cloud{x, y, image, kSizes[image], kVariants[image], std::rand() % 8, kWorldSize, 944});
    }

    overlayMode = OverlayNone;
    peaceful = 1;
    hudSlide = 0;
}

// One frame of the game loop on the sailing screen.
void PlayFrame() {
    GameState = ScreenSailing;
    RunHeadlessFrame();
}

// Holds a direction for some frames, then lets go.
void Sail(int32_t button, int32_t frames) {
    SetButtonKey(button, true);
    for (int32_t i = 0; i < frames; i++) PlayFrame();
    SetButtonKey(button, false);
}

void Save(const std::string& folder, const char* name) {
    for (int32_t scale : {1, 3}) {
        std::string path = folder + "/" + name + "-" + std::to_string(scale) + "x.png";
        if (!SaveShownFrame(path.c_str(), scale)) std::fprintf(stderr, "cannot write %s\n", path.c_str());
        else std::printf("%s\n", path.c_str());
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::string folder = argc > 1 ? argv[1] : "/tmp/seaview";
    mkdir(folder.c_str(), 0755);
    InitPalettes();
    StartHeadless();
    BuildHarbour();

    frameCounter = 0;
    for (int32_t i = 0; i < 14; i++) PlayFrame();
    Save(folder, "harbour");

    // Round the south of the cross, up its east side to the buying port (whose coin
    // hovers over a docked ship), and over the top to the jetty facing north.
    Sail(ButtonDown, 70);
    Save(folder, "south");
    Sail(ButtonRight, 150);
    Save(folder, "east");
    Sail(ButtonUp, 110);
    Sail(ButtonLeft, 40);
    Save(folder, "buyer");
    Sail(ButtonUp, 60);
    Sail(ButtonLeft, 100);
    Save(folder, "north");
    ClearWorldLists();
    return 0;
}
