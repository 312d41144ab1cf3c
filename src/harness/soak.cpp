#include "harness/soak.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "flow/highscore.h"
#include "flow/menu.h"
#include "harness/headless.h"
#include "pirates/pirates.h"
#include "platform/audio.h"
#include "platform/files.h"
#include "platform/frame.h"
#include "platform/input.h"
#include "ports/ports.h"
#include "texts.h"
#include "world/world.h"

const char* const soakEventNames[kSoakEventCount] = {
    "menu: play",         "menu: instructions", "menu: credits",       "menu: music switched",
    "menu: sfx switched", "menu: sound test",   "new game",            "cargo loaded",
    "hull repaired",      "cargo sold",         "hold full",           "paused",
    "broadside fired",    "pirate appeared",    "pirate sunk",         "our ship struck",
    "whirlpool appeared", "caught in a whirlpool", "barrel appeared",  "barrel taken",
    "magazine full",      "danger music",       "new islands",         "new high score",
    "game over screen",
};

const Screen soakScreens[kSoakScreenCount] = {
    ScreenStart,     ScreenBoot,    ScreenCredits,      ScreenCreditsArt, ScreenCreditsMusic, ScreenMenu,
    ScreenHighScore, ScreenSailing, ScreenNewHighScore, ScreenGameOver,   ScreenFarewell,     ScreenWelcome,
};

void (*soakProgress)(const SoakTally& tally) = nullptr;

namespace {

bool ValidCode(int32_t code) {
    return (code >= CellSea && code <= 6) || (code >= -4 && code <= -2) || code == CellWhirlpool;
}

template <typename T>
bool Holds(const WorldList<T>& list, const T* record) {
    return std::find(list.items.begin(), list.items.end(), record) != list.items.end();
}

// The soak's own random numbers (a 64-bit xorshift), apart from the game's rand().
struct Dice {
    uint64_t state;
    int32_t operator()(int32_t n) {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<int32_t>((state >> 33) % static_cast<uint64_t>(n));
    }
};

// The cell a point lies in, truncating as the game does.
int32_t CellOf(int32_t v) { return v / kCellSize; }

bool Passable(int32_t cx, int32_t cy, bool whirlpoolsToo) {
    if (!CellInMap(cx, cy)) return false;
    const int8_t code = tileMap[CellIndex(cx, cy)];
    return code == CellSea || code == CellPort || (whirlpoolsToo && code == CellWhirlpool);
}

// The ship's hull reaches 7 pixels up and 13 down from its centre: in a cell it sits either
// high (centre 2 pixels below the cell's top, hull over the cell above too) or low (centre
// 9 pixels down, hull over the cell below). A cell the ship fits in is one of these ways.
bool ShipFits(int32_t cx, int32_t cy, bool whirlpoolsToo) {
    return Passable(cx, cy, whirlpoolsToo) &&
           (Passable(cx, cy - 1, whirlpoolsToo) || Passable(cx, cy + 1, whirlpoolsToo));
}

// Where the ship's centre goes to sit in a cell it fits.
int32_t SeatY(int32_t cx, int32_t cy) { return cy * kCellSize + (Passable(cx, cy - 1, true) ? 2 : 9); }

// The player at the controls. Buttons are pressed for one frame and let go the next, as
// a thumb does; steering is held.
struct Captain {
    Dice dice{0};
    int32_t wait = 0;          // frames before the next press on a screen of buttons only
    int32_t menuChoice = -2;   // the entry being walked to; -1 the sound test; -2 none yet
    int32_t mode = 0;          // what the captain is up to at sea (below)
    int32_t modeFrames = 0;
    // The captain's ways, chosen afresh for every game: how much cargo to gather before
    // selling (9: never sell, only load, which fills the hold), whether to fire at pirates
    // (a captain who never does fills the magazine), whether to turn away from them.
    int32_t sellAt = 1;
    bool gunner = true;
    bool wary = true;
    int32_t wanderX = 0, wanderY = 0;
    int32_t lastX = 0, lastY = 0, stuck = 0, wiggle = 0;
    int32_t pauseFrames = 0;
    std::vector<int32_t> distance = std::vector<int32_t>(kMapCells * kMapCells);
    bool tapped[kButtonSlots] = {};

    enum { ToTrade, ToWander, ToIdle, ToBarrel, ToWhirlpool, ToHunt };

    void Tap(int32_t button) {
        SetButtonKey(button, true);
        tapped[button] = true;
    }
    void Hold(int32_t dx, int32_t dy) {
        SetButtonKey(ButtonLeft, dx < 0);
        SetButtonKey(ButtonRight, dx > 0);
        SetButtonKey(ButtonUp, dy < 0);
        SetButtonKey(ButtonDown, dy > 0);
    }

    void Decide() {
        // Last frame's presses are let go; a button just let go is not pressed again at
        // once, or the game would never see it up.
        bool justLetGo = false;
        for (int32_t b = 0; b < kButtonSlots; b++)
            if (tapped[b]) {
                SetButtonKey(b, false);
                tapped[b] = false;
                justLetGo = true;
            }
        if (GameState != ScreenSailing) Hold(0, 0);
        if (justLetGo) return;

        switch (GameState) {
        case ScreenMenu:
            Menu();
            break;
        case ScreenSailing:
            Sail();
            break;
        case ScreenNewHighScore:
        case ScreenFarewell:
        case ScreenWelcome:
            if (--wait <= 0) {
                Tap(dice(4) == 0 ? ButtonStart : ButtonA);
                wait = 5 + dice(45);
            }
            break;
        default:  // credits, the high score and game-over screens
            if (--wait <= 0) {
                Tap(ButtonA);
                wait = dice(30);
            }
            break;
        }
    }

    void Menu() {
        if (menuChoice == -2) {
            const int32_t roll = dice(100);
            menuChoice = roll < 64 ? 0 : roll < 72 ? 1 : roll < 78 ? 2 : roll < 86 ? 3 : roll < 94 ? 4 : -1;
        }
        if (menuChoice == -1) {
            Tap(ButtonRight);
            menuChoice = -2;
        } else if (menuCursor < menuChoice) {
            Tap(ButtonDown);
        } else if (menuCursor > menuChoice) {
            Tap(ButtonUp);
        } else {
            Tap(ButtonA);
            menuChoice = -2;
            const int32_t sellAts[8] = {1, 1, 1, 2, 3, 8, 9, 9};
            sellAt = sellAts[dice(8)];
            gunner = dice(10) < 7;
            wary = dice(10) < 9;
        }
    }

    void Sail() {
        if (overlayMode == OverlayDialog) {
            Hold(0, 0);
            if (--wait <= 0) {
                Tap(dice(3) == 0 ? ButtonStart : ButtonA);
                wait = 3 + dice(40);
            }
            return;
        }
        if (overlayMode == OverlayPaused) {
            if (--pauseFrames <= 0) Tap(ButtonStart);
            return;
        }
        if (dice(2000) == 0) {
            Tap(ButtonStart);
            pauseFrames = 1 + dice(40);
            return;
        }
        if (Dodge()) return;
        if (gunner && Fire()) return;
        if (wary && Flee()) return;
        if (--modeFrames <= 0) {
            const int32_t roll = dice(100);
            mode = roll < 72   ? ToTrade
                   : roll < 77 ? ToWander
                   : roll < 79 ? ToIdle
                   : roll < 91 ? ToBarrel
                   : roll < 94 ? ToWhirlpool
                               : ToHunt;
            modeFrames = 100 + dice(mode == ToTrade ? 1500 : 400);
            wanderX = dice(3) - 1, wanderY = dice(3) - 1;
        }
        Steer();
    }

    // A broadside at a pirate afloat nearby when one of the eight ways a ball can fly
    // would strike it: fired at once when the ship already lies across that way, else
    // the ship first turns (a frame's step sets its heading).
    bool Fire() {
        if (cannonballCount <= 0 || player->fireCooldown > 0 || player->hitTimer > 0) return false;
        for (int32_t i = ships.Count() - 1; i > 0; i--) {
            const Ship* pirate = ships[i];
            if (pirate->health < 1 || std::abs(pirate->x - player->x) > 64 || std::abs(pirate->y - player->y) > 64)
                continue;
            for (const auto& way : spinHeadings) {
                const int32_t vx = way[0], vy = way[1];
                if (!BallWouldStrike(vx, vy, pirate)) continue;
                if (vx == -player->headingY && vy == player->headingX) {
                    Tap(ButtonA);
                } else if (vx == player->headingY && vy == -player->headingX) {
                    Tap(ButtonB);
                } else {
                    Hold(vy, -vx);  // the heading from which A fires that way
                }
                return true;
            }
        }
        return false;
    }

    // Whether a ball fired from our ship along (vx, vy) would strike the pirate where it
    // is now, in its 42 frames of flight. The ball leaves a pixel ahead of our centre along
    // the heading's x, which is vy for the side that fires that way.
    static bool BallWouldStrike(int32_t vx, int32_t vy, const Ship* pirate) {
        for (int32_t t = 1; t <= 42; t++)
            if (BallStrikes(pirate, player->x + vy + vx * t, player->y + vy * t)) return true;
        return false;
    }

    // Stepping aside from a pirate's ball that would strike the ship where it is.
    bool Dodge() {
        for (int32_t i = cannonballs.Count() - 1; i >= 0; i--) {
            const Cannonball* ball = cannonballs[i];
            if (ball->fromPlayer || ball->life < kSplashFrames) continue;
            for (int32_t t = 0; t <= ball->life - kSplashFrames; t++) {
                const int32_t bx = ball->x + ball->vx * t, by = ball->y + ball->vy * t;
                if (std::abs(bx + 4 - player->x) <= 12 && std::abs(by + 3 - player->y) <= 14) {
                    // Across the ball's way; along it when it has none (it splashes in place).
                    const int32_t sx = ball->vy != 0 || ball->vx != 0 ? -ball->vy : 1;
                    const int32_t sy = ball->vy != 0 || ball->vx != 0 ? ball->vx : 0;
                    Hold(sx, sy);
                    return true;
                }
            }
        }
        return false;
    }

    // Sailing straight away from a pirate that comes close.
    bool Flee() {
        for (int32_t i = ships.Count() - 1; i > 0; i--) {
            const Ship* pirate = ships[i];
            const int32_t dx = pirate->x - player->x, dy = pirate->y - player->y;
            if (pirate->health < 1 || std::abs(dx) > 56 || std::abs(dy) > 56) continue;
            Hold(-Sign(dx), -Sign(dy));
            return true;
        }
        return false;
    }

    void Steer() {
        int32_t tx = -1, ty = -1;
        const Port* port = nullptr;  // the port to dock at, if that is the errand
        if (mode == ToTrade || player->health <= 2) {  // low on hull: to a port that mends
            port = TradePort();
            if (port != nullptr) tx = port->cellX * kCellSize + 8, ty = port->cellY * kCellSize + 8;
        } else if (mode == ToBarrel && barrels.Count() > 0) {
            const Barrel* nearest = barrels[0];
            for (int32_t i = 1; i < barrels.Count(); i++)
                if (std::abs(barrels[i]->x - player->x) + std::abs(barrels[i]->y - player->y) <
                    std::abs(nearest->x - player->x) + std::abs(nearest->y - player->y))
                    nearest = barrels[i];
            tx = nearest->x, ty = nearest->y;
        } else if (mode == ToWhirlpool && whirlpools.Count() > 0) {
            tx = whirlpools[0]->x, ty = whirlpools[0]->y;
        } else if (mode == ToHunt && ships.Count() > 1) {
            tx = ships[1]->x, ty = ships[1]->y;
        } else if (mode == ToWander) {
            Hold(wanderX, wanderY);
            return;
        }
        if (tx < 0) {  // idle, or nothing of the kind sought
            Hold(0, 0);
            return;
        }
        if (port != nullptr && DockedPort(player) == port) {
            Hold(0, 0);  // wait out the visit
            return;
        }
        // Stuck against a coast: a few frames of anything else.
        stuck = player->x == lastX && player->y == lastY ? stuck + 1 : 0;
        lastX = player->x, lastY = player->y;
        if (stuck > 6 && wiggle == 0) wiggle = 8 + dice(24), wanderX = dice(3) - 1, wanderY = dice(3) - 1;
        if (wiggle > 0) {
            wiggle--;
            Hold(wanderX, wanderY);
            return;
        }
        const int32_t next = NextCell(CellOf(tx), CellOf(ty), mode == ToWhirlpool);
        if (next < 0) {
            Hold(Sign(tx - player->x), Sign(ty - player->y));
            return;
        }
        const int32_t nx = next / kMapCells, ny = next % kMapCells;
        const bool last = nx == CellOf(tx) && ny == CellOf(ty) && port == nullptr;
        const int32_t ax = last ? tx : nx * kCellSize + 8;
        const int32_t ay = last ? ty : SeatY(nx, ny);
        Hold(Sign(ax - player->x), Sign(ay - player->y));
    }

    // The buyer once enough cargo is aboard, else the nearest port that gives.
    const Port* TradePort() const {
        const Port* best = nullptr;
        int32_t bestDistance = 1 << 30;
        for (int32_t i = 0; i < ports.Count(); i++) {
            const Port* port = ports[i];
            const bool wanted =
                port->role == RoleBuyer ? cargo >= sellAt && player->health > 2 : port->role > RoleBuyer;
            if (!wanted) continue;
            // The buyer first when it is time to sell; with the hull worn, a port that mends.
            const bool mends = port->role == RoleRepairFirst && cargo > 0 && player->health < 5;
            const int32_t d = std::abs(port->cellX * kCellSize - player->x) +
                              std::abs(port->cellY * kCellSize - player->y) -
                              (port->role == RoleBuyer || mends ? 100000 : 0);
            if (d < bestDistance) best = port, bestDistance = d;
        }
        return best;
    }

    // The neighbour of the ship's cell one step nearer the goal over open water, or -1.
    int32_t NextCell(int32_t gx, int32_t gy, bool whirlpoolsToo) {
        if (!CellInMap(gx, gy)) return -1;
        std::fill(distance.begin(), distance.end(), -1);
        std::vector<int32_t> queue = {CellIndex(gx, gy)};
        distance[static_cast<size_t>(queue[0])] = 0;
        const int32_t sx = CellOf(player->x), sy = CellOf(player->y);
        for (size_t head = 0; head < queue.size(); head++) {
            const int32_t cell = queue[head];
            const int32_t cx = cell / kMapCells, cy = cell % kMapCells;
            if (cx == sx && cy == sy) break;
            const int32_t steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
            for (const auto& s : steps) {
                const int32_t nx = cx + s[0], ny = cy + s[1];
                if (!ShipFits(nx, ny, whirlpoolsToo) && !(nx == sx && ny == sy)) continue;
                if (!CellInMap(nx, ny) || distance[static_cast<size_t>(CellIndex(nx, ny))] >= 0) continue;
                distance[static_cast<size_t>(CellIndex(nx, ny))] = distance[static_cast<size_t>(cell)] + 1;
                queue.push_back(CellIndex(nx, ny));
            }
        }
        if (!CellInMap(sx, sy) || distance[static_cast<size_t>(CellIndex(sx, sy))] < 0) return -1;
        int32_t best = -1, bestDistance = distance[static_cast<size_t>(CellIndex(sx, sy))];
        const int32_t steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
        for (const auto& s : steps) {
            const int32_t nx = sx + s[0], ny = sy + s[1];
            if (!CellInMap(nx, ny)) continue;
            const int32_t d = distance[static_cast<size_t>(CellIndex(nx, ny))];
            if (d >= 0 && d < bestDistance) best = CellIndex(nx, ny), bestDistance = d;
        }
        return best;
    }
};

// What the soak compares from one frame to the next to see what happened.
struct Glance {
    Screen state;
    Overlay overlay;
    int32_t cargo, gold, deliveries, level, highScore, balls, health, ships, afloat, sinking,
        whirlpools, barrels, musicOn, sfxOn, music, soundTest, caught;
    const Ship* player;
    std::string dialog;
};

Glance Look() {
    Glance g{GameState, overlayMode, cargo, gold, deliveries, level, highScore, cannonballCount,
             player != nullptr ? player->health : 0, ships.Count(), 0, 0, whirlpools.Count(), barrels.Count(),
             musicOn, sfxOn, currentMusic, soundTestIndex, player != nullptr && player->spinTimer == 120, player,
             overlayMode == OverlayDialog || GameState == ScreenNewHighScore || GameState == ScreenFarewell ||
                     GameState == ScreenWelcome
                 ? dialog.text : std::string()};
    for (int32_t i = 1; i < ships.Count(); i++) {
        if (ships[i]->health > 0) g.afloat++;
        // Sunk this frame: by a cannonball (its sinking has just begun) or at a whirlpool's heart.
        else if (ships[i]->sinkTimer == 499 || ships[i]->sinkTimer == 0) g.sinking++;
    }
    return g;
}

void Tally(const Glance& a, const Glance& b, SoakTally* t) {
    auto count = [t](SoakEvent e, int64_t n = 1) { t->events[e] += n; };
    if (a.state == ScreenMenu && b.state == ScreenHighScore) count(EventPlay);
    if (a.state == ScreenMenu && b.state == ScreenWelcome)
        count(dialog.done == GoToMenu ? EventInstructions : EventPlay);
    if (a.state == ScreenMenu && b.state == ScreenCredits) count(EventCredits);
    if (a.musicOn != b.musicOn) count(EventMusicSwitch);
    if (a.sfxOn != b.sfxOn) count(EventSfxSwitch);
    if (a.soundTest != b.soundTest) count(EventSoundTest);
    if (a.state == ScreenHighScore && b.state == ScreenSailing) count(EventNewGame);
    if (a.level < b.level) count(EventNewIslands);
    if (a.highScore < b.highScore) count(EventNewHighScore);
    if (a.state != ScreenGameOver && b.state == ScreenGameOver) count(EventGameOver);
    if (a.music != b.music && b.music == MusicDanger) count(EventDangerMusic);
    if (a.state != ScreenSailing || b.state != ScreenSailing || a.player != b.player || b.player == nullptr) return;
    if (b.cargo > a.cargo) count(EventLoad);
    if (b.health > a.health) count(EventRepair);
    if (b.health < a.health) count(EventPlayerHit);
    if (b.deliveries > a.deliveries) count(EventSale);
    if (a.overlay == OverlayNone && b.overlay == OverlayPaused) count(EventPause);
    if (b.overlay == OverlayDialog && a.overlay != OverlayDialog && b.dialog == fullHoldText) count(EventFullHold);
    if (b.overlay == OverlayDialog && a.overlay != OverlayDialog && b.dialog == fullMagazineText)
        count(EventFullMagazine);
    if (b.balls < a.balls) count(EventBroadside);
    if (b.balls > a.balls) count(EventBarrelPickup);
    if (b.ships > a.ships) count(EventPirateSpawn, b.ships - a.ships);
    count(EventPirateSunk, b.sinking);
    if (b.whirlpools > a.whirlpools) count(EventWhirlpoolSpawn);
    if (b.caught) count(EventWhirlpoolCatch);
    if (b.barrels > a.barrels) count(EventBarrelSpawn);
}

int32_t ScreenIndex(int32_t state) {
    for (int32_t i = 0; i < kSoakScreenCount; i++)
        if (soakScreens[i] == state) return i;
    return -1;
}

}  // namespace

std::string CheckInvariants() {
    if (frameCounter < 0 || frameCounter > 119) return ("frameCounter is " + std::to_string(frameCounter));
    if (ScreenIndex(GameState) < 0) return ("GameState is " + std::to_string(GameState));
    if (cargo < 0 || cargo > 8) return ("cargo is " + std::to_string(cargo));
    if (cannonballCount < 0 || cannonballCount > 12) return ("cannonballCount is " + std::to_string(cannonballCount));
    if (overlayMode < 0 || overlayMode > 2) return ("overlayMode is " + std::to_string(overlayMode));
    if (hudSlide < -21 || hudSlide > 0) return ("hudSlide is " + std::to_string(hudSlide));
    if (dialog.revealed > dialog.text.size() || dialog.consumed > dialog.revealed)
        return ("the dialog has revealed " + std::to_string(dialog.revealed) + " and laid out " +
                std::to_string(dialog.consumed) +
                      " of its " + std::to_string(dialog.text.size()) + " characters");
    if (dockProgress < 0 || dockProgress > 26 || popupTimer < 0 || popupTimer > 29 || popupKind < 0 || popupKind > 3)
        return ("docking counters out of range");
    if (deliveries < 0 || deliveries > 5 || level < 0 || gold < 0) return ("deliveries, level or gold out of range");

    // Records the lists released can no longer be reached.
    if (player != nullptr && (ships.Count() == 0 || ships[0] != player)) return ("player is not the first ship");
    if (player == nullptr && ships.Count() != 0) return ("ships without a player");
    if (player == nullptr && GameState == ScreenSailing) return ("sailing without a ship");
    if (compassTarget != nullptr && !Holds(ports, static_cast<const Port*>(compassTarget)))
        return ("the compass points at a port no longer in the list");
    if (player == nullptr) return "";

    if (player->health > 11) return ("player health is " + std::to_string(player->health));
    if (ports.Count() != 6) return (std::to_string(ports.Count()) + " ports");
    if (ships.Count() > level + 5) return (std::to_string(ships.Count()) + " ships at level " + std::to_string(level));
    if (barrels.Count() > 9) return (std::to_string(barrels.Count()) + " barrels");
    if (whirlpools.Count() > level + 6)
        return (std::to_string(whirlpools.Count()) + " whirlpools at level " + std::to_string(level));
    for (int32_t i = 0; i < ships.Count(); i++) {
        const Ship* ship = ships[i];
        if (!CellInMap(CellOf(ship->x), CellOf(ship->y)))
            return ("ship " + std::to_string(i) + " outside the world at " + std::to_string(ship->x) + ", " +
                          std::to_string(ship->y));
    }
    int32_t marked = 0;
    for (int32_t cell = 0; cell < kMapCells * kMapCells; cell++) {
        if (!ValidCode(tileMap[cell])) return ("cell code " + std::to_string(tileMap[cell]));
        marked += tileMap[cell] == CellWhirlpool;
    }
    for (int32_t i = 0; i < whirlpools.Count(); i++)
        if (tileMap[CellIndex(CellOf(whirlpools[i]->x), CellOf(whirlpools[i]->y))] != CellWhirlpool)
            return ("a whirlpool's cell is not marked");
    if (marked != whirlpools.Count())
        return (std::to_string(marked) + " whirlpool cells for " + std::to_string(whirlpools.Count()) + " whirlpools");
    for (int32_t i = 0; i < ports.Count(); i++)
        if (tileMap[CellIndex(ports[i]->cellX, ports[i]->cellY)] != CellPort) return ("a port's cell is not a port");
    return "";
}

std::string RunSoak(int64_t frames, uint32_t seed, SoakTally* tally, void (*brokenOnPurpose)(), int64_t breakAt) {
    std::memset(tally, 0, sizeof *tally);
    InitPalettes();
    StartHeadless();
    GameState = ScreenStart;
    std::srand(seed);
    const std::string home = MakeTemporaryDirectory();
    saveDir = home + "/.Quillbarrow/";
    Captain captain;
    captain.dice.state = 0x9E3779B97F4A7C15ull ^ seed;
    std::string failure;
    Glance before = Look();
    Screen shownBefore = GameState;
    for (int64_t frame = 1; frame <= frames && failure.empty(); frame++) {
        captain.Decide();
        RunHeadlessFrame();
        const Glance after = Look();
        // The screen this frame showed is the one it started on.
        const int32_t screen = ScreenIndex(before.state);
        tally->screenFrames[screen]++;
        if (frame == 1 || before.state != shownBefore) tally->screenVisits[screen]++;
        shownBefore = before.state;
        Tally(before, after, tally);
        before = after;
        tally->frames = frame;
        if (brokenOnPurpose != nullptr && frame == breakAt) brokenOnPurpose();
        const std::string broken = CheckInvariants();
        if (!broken.empty()) failure = "frame " + std::to_string(frame) + ": " + broken;
        if (soakProgress != nullptr && frame % kSoakProgressFrames == 0) soakProgress(*tally);
    }
    RemoveDirectoryTree(home);
    FreeAudio();  // the sounds its boot loaded, so that the next run boots afresh
    return failure;
}

std::string SoakSummary(const SoakTally& tally) {
    std::string out = std::to_string(tally.frames) + " frames\nscreens (GameState: visits, frames):\n";
    for (int32_t i = 0; i < kSoakScreenCount; i++)
        out += "  " + std::to_string(soakScreens[i]) + ": " + std::to_string(tally.screenVisits[i]) + ", " +
               std::to_string(tally.screenFrames[i]) + "\n";
    out += "events:\n";
    for (int32_t i = 0; i < kSoakEventCount; i++)
        out += "  " + std::string(soakEventNames[i]) + ": " + std::to_string(tally.events[i]) + "\n";
    return out;
}

std::string NeverReached(const SoakTally& tally) {
    std::string missing;
    const auto add = [&missing](const std::string& what) { missing += (missing.empty() ? "" : ", ") + what; };
    for (int32_t i = 0; i < kSoakScreenCount; i++)
        if (tally.screenVisits[i] == 0) add("screen " + std::to_string(soakScreens[i]));
    for (int32_t i = 0; i < kSoakEventCount; i++)
        if (tally.events[i] == 0) add(soakEventNames[i]);
    return missing;
}
