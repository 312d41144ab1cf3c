// The world of a game in progress: the map, the records of ships, ports, cannonballs,
// barrels, whirlpools, gulls and clouds, the lists that own them, and the game-wide
// counters. Every part of the game reads and writes these directly.
//
// Coordinates are world pixels, x to the right and y downwards, 896 x 896 in all. A cell
// is 16 x 16 pixels; the cell of a coordinate is the coordinate / 16, truncating toward
// zero (so -1..-15 fall in cell 0).
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

constexpr int32_t kMapCells = 56;
constexpr int32_t kCellSize = 16;
constexpr int32_t kWorldSize = kMapCells * kCellSize;  // 896

// Cell codes of tileMap.
enum : int32_t {
    CellSea = 0,
    CellPort = 1,
    CellLand = 2,  // 3..6: land with a decoration
    CellWhirlpool = -50,
    // -2, -3, -4: a lone rock in the sea; -1 only while islands are being made
};

// 56 x 56 cell codes, column-major: cell (cx, cy) is tileMap[cx * 56 + cy].
extern int8_t tileMap[kMapCells * kMapCells];

inline int32_t CellIndex(int32_t cx, int32_t cy) { return cx * kMapCells + cy; }
inline bool CellInMap(int32_t cx, int32_t cy) { return cx >= 0 && cx < kMapCells && cy >= 0 && cy < kMapCells; }

// A ship may not enter a cell whose code, as an unsigned byte, is 2 or more, unless it
// is a whirlpool: land, decorated land and rocks block; sea, ports and whirlpools do not.
inline bool CodeBlocksShip(int8_t code) { return static_cast<uint8_t>(code) >= 2 && code != CellWhirlpool; }

// Coasts are drawn around cells of code 2 or more (land), never around rocks.
inline bool CodeIsLand(int8_t code) { return code >= 2; }

// Picks a cell at random, drawing column then row, until the cell and its four
// neighbours are all open sea: where pirates, barrels and whirlpools appear.
void DrawFreeCell(int32_t& cellX, int32_t& cellY);

// A ship's timers, in frames (40 a second). Each counts down by one a frame while it runs
// (pirates/pirates.cpp), only one of the first three at a time.
constexpr int32_t kBroadsideFrames = 16;  // fireCooldown after a broadside: no moving or firing
constexpr int32_t kHitFrames = 16;        // hitTimer after a cannonball strikes: the same
constexpr int32_t kSailFrames = 15;       // sailTimer set by a move when idle: the sails' 16 frames
constexpr int32_t kSpinFrames = 120;      // spinTimer when a whirlpool catches the ship
constexpr int32_t kSinkFrames = 500;      // sinkTimer's start; it runs down once the ship has sunk

struct Ship {
    int32_t sailTimer;     // sailing animation: -1 idle, a move sets 15, counts down to -1
    int32_t fireSide;      // side of the last broadside: 1 button A (starboard), 0 button B (port)
    int32_t hitSide;       // side the last cannonball struck, 0 or 1
    int32_t screenX;       // top-left of the 24 x 24 picture on screen, noted by the drawing as it draws it
    int32_t screenY;
    int32_t blockedTimer;  // pirate: frames of straight-only path searches after being blocked
    int32_t replanTimer;   // pirate: frames until the next path search
    int32_t hitTimer;      // 16 when struck, counts down; no moving or firing while above 0
    int32_t spinTimer;     // frames left spinning in a whirlpool; the heading is the spin's
    int32_t sinkTimer;     // counts down from 500 once sunk
    int32_t sideOffset;    // pirate: +1 or -1, aims 4 px below or above its waypoint
    int32_t waypointX;     // pirate: next waypoint, -1 for none
    int32_t waypointY;
    int32_t fireCooldown;  // 16 after a broadside, counts down; no moving or firing while above 0
    int32_t drawn;         // the drawing's own mark while it sorts the ships by depth; no rule reads it
    int32_t x;             // centre of the ship
    int32_t y;
    int32_t headingX;      // -1, 0 or 1
    int32_t headingY;      // -1, 0 or 1
    int32_t health;        // hit points; below 1 the ship has sunk
    int32_t kind;          // 0 the player's ship, 1..3 the pirate ships
};

// A cannonball's life, in frames: it flies 42 frames, then splashes for the last 8, when
// it can strike nothing.
constexpr int32_t kBallFrames = 50;
constexpr int32_t kSplashFrames = 8;

struct Cannonball {
    int32_t life;        // frames left: 50 at launch; flying while 8 or more, then a splash
    bool fromPlayer;     // fired by the player, else by a pirate
    int32_t x;
    int32_t y;
    int32_t vx;          // pixels a frame, -1, 0 or 1
    int32_t vy;
};

struct Barrel {
    int32_t x;     // cell column c: c * 16 + 8
    int32_t y;     // cell row r: r * 16 + 5
    bool told;     // once the player, sitting on it with a full magazine, has been told
};

struct Whirlpool {
    int32_t life;  // frames left: 6000 at spawn
    int32_t x;     // cell column c: c * 16 + 8
    int32_t y;     // cell row r: r * 16 + 5
};

// What a port does for a ship that docks there. Both active roles give cargo; they differ
// in what a visit chooses when the ship could take cargo or be mended (ports/ports.cpp).
enum PortRole : int32_t {
    RoleInactive = -1,    // no marker: docking does nothing
    RoleBuyer = 0,        // the gold marker: docking sells the whole load
    RoleCargoFirst = 1,   // grey marker: cargo, else a repair
    RoleRepairFirst = 2,  // grey marker: a repair, else cargo
};

struct Port {
    int32_t cellX;
    int32_t cellY;
    PortRole role;
};

struct Gull {
    int32_t rangeX;   // targets are picked in 0 .. range - 1
    int32_t rangeY;
    int32_t flap;     // wing counter 0..15
    int32_t stepX;    // last step, -1, 0 or 1
    int32_t stepY;
    int32_t x;
    int32_t y;
    int32_t targetX;
    int32_t targetY;
};

struct Cloud {
    int32_t x;             // centre
    int32_t y;
    int32_t image;         // which cloud mask table: 0..3 for sizes 8, 16, 32, 48
    int32_t size;          // edge of its square picture
    int32_t variantCount;  // shapes of one moment side by side in each frame; the first is shown
    int32_t frame;         // 0..7
    int32_t wrapX;         // 896
    int32_t wrapY;         // 944
};

// An ordered list that owns its records: each was allocated on its own, and is
// released when removed, when the list is cleared and when the list goes away.
// Removal keeps the order of the rest. Walk it from the last element to the first
// wherever the current element may be removed.
template <typename T>
struct WorldList {
    std::vector<T*> items;

    WorldList() = default;
    WorldList(const WorldList&) = delete;  // two lists must never own one record
    WorldList& operator=(const WorldList&) = delete;

    int32_t Count() const { return static_cast<int32_t>(items.size()); }
    T* operator[](int32_t i) const { return items[static_cast<size_t>(i)]; }
    void Append(T* record) { items.push_back(record); }
    void RemoveAt(int32_t i) {
        delete items[static_cast<size_t>(i)];
        items.erase(items.begin() + i);
    }
    void Clear() {
        while (!items.empty()) {
            delete items.back();
            items.pop_back();
        }
    }
    ~WorldList() { Clear(); }
};

extern WorldList<Ship> ships;  // the player's ship first, then the pirates
extern WorldList<Port> ports;
extern WorldList<Cannonball> cannonballs;
extern WorldList<Barrel> barrels;
extern WorldList<Whirlpool> whirlpools;

constexpr int32_t kGullCount = 18;
constexpr int32_t kCloudCount = 34;
// Refilled, releasing the old records, at every new set of islands.
extern std::unique_ptr<Gull> gulls[kGullCount];
extern std::unique_ptr<Cloud> clouds[kCloudCount];

// The player's ship, also the first element of ships; null when the lists are empty.
extern Ship* player;

// What lies over the sea view while sailing.
enum Overlay : int32_t {
    OverlayNone = 0,    // nothing: the captain sails
    OverlayPaused = 1,  // paused with the island map (Start)
    OverlayDialog = 2,  // someone speaks: nothing spawns, ages or steers
};

extern int32_t cannonballCount;  // the player's ammunition, at most 12
extern int32_t gold;             // the score
extern int32_t level;            // sets of islands completed
extern int32_t cargo;            // units aboard, at most 8
extern bool peaceful;            // until the first completed port visit: no pirates, no port changes
extern Overlay overlayMode;      // what lies over the sea view
extern int32_t hudSlide;         // status bar slide: 0 on screen .. -20 off it

// The rows of the pickup icon: what a visit or a barrel gave. A visit's row is the
// visited port's role: gold from the buyer, cargo or a repair from the others.
enum : int32_t { PopupGold = 0, PopupCargo = 1, PopupRepair = 2, PopupCannonballs = 3 };

// The ports' and the cargo's counters (ports/ports.cpp plays by them; a new set of
// islands resets them).
extern int32_t deliveries;    // sales made on this set of islands; the fifth completes it
extern int32_t dockProgress;  // 0..26, one step every 5 frames while docked
extern int32_t popupKind;     // pickup icon row: 0 gold, 1 cargo, 2 repair, 3 cannonballs (below)
extern int32_t popupTimer;    // frames left of the pickup icon; 29 starts it
extern Port* compassTarget;   // the buying port the compass points to, or null

// -1, 0 or 1: which way v points.
inline int32_t Sign(int32_t v) { return (v > 0) - (v < 0); }

// The picture direction (0 up, counting anticlockwise to 7 up-right) of a heading;
// (0, 0) counts as down. The pictures of ships, gulls and the compass needle all run in
// this order.
int32_t DirectionOf(int32_t headingX, int32_t headingY);

// Empties cannonballs, ports, ships, whirlpools and barrels, in that order, releasing
// every record. player (and the compass target) then name nothing.
void ClearWorldLists();

// How a hull meets the world's top edge. The player's steering finds a point's cell by
// truncating division, so a point up to 15 pixels above the edge stands in row 0; a
// pirate's course and a whirlpool's pull refuse every point above the edge.
enum class TopEdge { Truncated, Closed };

// One pixel's step of a ship by (stepX, stepY), each -1, 0 or 1, for the player's steering,
// a pirate's course and a whirlpool's pull alike. The hull's box runs from x - 7 to x + 7
// and from y - 7 to y + 13 (it reaches further down than up). The vertical step is tested
// first, at the old x, on the box's four corners; then the horizontal, at the old y, on
// the corners and the middle of each side. An axis whose points would not all stand in
// open water (sea, a port or a whirlpool, inside the world) is dropped: set to 0. So a
// ship pressing diagonally into a coast slides along it. Returns whether the ship moved.
bool StepShip(Ship* ship, int32_t& stepX, int32_t& stepY, TopEdge topEdge);
