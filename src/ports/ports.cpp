#include "ports/ports.h"

#include <cstdlib>

#include "flow/dialog.h"
#include "flow/gamestate.h"
#include "flow/highscore.h"
#include "hud.h"
#include "platform/audio.h"
#include "platform/frame.h"
#include "render/sprite.h"
#include "texts.h"
#include "world/world.h"

bool docking;
bool popupPaused;

namespace {

constexpr int32_t kDockSteps = 26;        // progress steps, one every 5 frames: 3.25 s docked
constexpr int32_t kAfterVisit = 24;       // progress left after a visit, should the port wake again
constexpr int32_t kPopupFrames = 29;      // frames the pickup icon shows
constexpr int32_t kHoldSize = 8;          // cargo units the ship can carry
constexpr int32_t kRepairBelow = 8;       // a port offers repairs only below this much hull
constexpr int32_t kRepairAmount = 4;
constexpr int32_t kSalesPerIslands = 5;   // the fifth sale completes a set of islands
constexpr int32_t kReactivateOdds = 550;  // a port wakes one frame in 550 (while pirates are about)

int32_t PortsWithRole(PortRole role) {
    int32_t count = 0;
    for (int32_t i = 0; i < ports.Count(); i++) count += ports[i]->role == role;
    return count;
}

// A random port other than the one just visited that does not buy cargo. There always is
// one: six ports, and at most one of them buys.
Port* DrawOtherPort(const Port* visited) {
    for (;;) {
        Port* port = ports[std::rand() % ports.Count()];
        if (port != visited && port->role != RoleBuyer) return port;
    }
}

// A new buyer, which the compass then points to.
void ChooseBuyer(const Port* visited) {
    compassTarget = DrawOtherPort(visited);
    compassTarget->role = RoleBuyer;
}

// One more port gives cargo (the one drawn may give it already).
void ChooseActivePort(const Port* visited) { DrawOtherPort(visited)->role = RoleCargoFirst; }

void Repair(Ship* ship) {
    dockProgress = kAfterVisit;
    ship->health += kRepairAmount;
    StartPopup(PopupRepair);
    PlayMusic(MusicInGame);  // a mended hull calms the music, should danger be playing
}

void TakeCargo() {
    dockProgress = kAfterVisit;
    if (cargo < kHoldSize) {
        cargo++;
        StartPopup(PopupCargo);
    } else {
        StartDialog(1, fullHoldText, CloseDialog);  // the port is used up all the same
    }
}

// The fifth sale: the farewell on a screen of its own, then new islands, harder ones.
void CompleteIslands() {
    GameState = ScreenFarewell;
    level++;
    PlaySound(SoundNextLevel);
    StartDialog(1, farewellTexts[std::rand() % 5], NextIslands);
}

// Whether a visit to an active port mends the hull rather than taking on cargo. Role 1
// gives cargo first, role 2 repairs first; a ship on its last hit point is always mended,
// and an empty hold always takes cargo.
bool VisitRepairs(PortRole role, const Ship* ship) {
    if (ship->health == 1) return true;
    if (cargo == 0) return false;
    if (role == RoleCargoFirst && cargo < kHoldSize) return false;
    return ship->health < kRepairBelow;  // else cargo, which a full hold refuses
}

// A visit completed after the ship stayed docked long enough.
void CompleteVisit(Port* port, Ship* ship) {
    const PortRole role = port->role;
    const int32_t load = cargo;

    // The first load of a first game comes with a lesson, and the cargo with its end.
    if (highScore == 0 && peaceful && level == 0) {
        StartDialog(1, firstCargoText, TakeFirstCargo);
        port->role = RoleInactive;
        if (PortsWithRole(RoleBuyer) == 0) ChooseBuyer(port);
        ChooseActivePort(port);
        peaceful = false;
        dockProgress = 0;
        return;
    }

    port->role = RoleInactive;
    popupKind = role;  // the icon's row: gold for a sale, cargo or a repair else
    if (role == RoleBuyer) {
        // The whole load at once, for gold that grows with its square: 20 for one, 440 for eight.
        dockProgress = kAfterVisit;
        cargo = 0;
        deliveries++;
        gold += 5 * load * (load + 3);
        popupTimer = kPopupFrames;
        if (deliveries == kSalesPerIslands) CompleteIslands();
    } else {
        if (VisitRepairs(role, ship))
            Repair(ship);
        else
            TakeCargo();
    }

    if (cargo > 0 && PortsWithRole(RoleBuyer) == 0) ChooseBuyer(port);
    if (PortsWithRole(RoleCargoFirst) < 2) ChooseActivePort(port);
    peaceful = false;
}

// The bar above the ship filling while it stays docked: dark ground, orange fill, white rim.
void DrawDockingBar(int32_t sx, int32_t sy) {
    const auto plot = [](int32_t x, int32_t y, int32_t colour) {
        if (OnScreen(x, y)) FrameBuffer[y * kScreenWidth + x] = PaletteColour(colour);
    };
    for (int32_t y = sy - 12; y <= sy - 10; y++) {
        for (int32_t x = sx - 12; x <= sx + 11; x++) plot(x, y, 0);
        for (int32_t x = sx - 12; x < sx - 12 + dockProgress; x++) plot(x, y, 9);
        plot(sx - 12, y, 15);
        plot(sx + 12, y, 15);
    }
    for (int32_t x = sx - 12; x <= sx + 11; x++) plot(x, sy - 12, 15);
    for (int32_t x = sx - 12; x <= sx + 12; x++) plot(x, sy - 9, 15);
}

// Whether the pickup icon of what the last visit (or barrel) gave is rising over the ship.
bool PopupShows() { return !popupPaused && player->health > 0 && popupTimer > 0; }

}  // namespace

void StartPopup(int32_t kind) {
    popupKind = kind;
    popupTimer = kPopupFrames;
}

Port* DockedPort(const Ship* ship) {
    const int32_t probes[4][2] = {{0, 6}, {0, -4}, {6, 0}, {-6, 0}};
    for (const auto& probe : probes) {
        const int32_t cx = (ship->x + probe[0]) / kCellSize;
        const int32_t cy = (ship->y + probe[1]) / kCellSize;
        if (!CellInMap(cx, cy) || tileMap[CellIndex(cx, cy)] != CellPort) continue;
        for (int32_t i = 0; i < ports.Count(); i++)
            if (ports[i]->cellX == cx && ports[i]->cellY == cy) return ports[i];
        return nullptr;
    }
    return nullptr;
}

void UpdateDocking() {
    Ship* ship = player;
    docking = false;
    popupPaused = false;

    // Someone speaking, a shot, a hit or sinking breaks off the visit.
    Port* port = nullptr;
    if (overlayMode != OverlayDialog && ship->fireCooldown <= 0 && ship->hitTimer <= 0 && ship->health >= 1)
        port = DockedPort(ship);
    if (port == nullptr || port->role == RoleInactive) {
        dockProgress = 0;
        return;
    }

    // The buyer has nothing to do with an empty hold: everything waits, even the icon.
    if (port->role == RoleBuyer && cargo == 0) {
        popupPaused = true;
        return;
    }

    if (frameCounter % 5 == 1) dockProgress++;
    if (dockProgress < kDockSteps)
        docking = true;
    else
        CompleteVisit(port, ship);
}

void DrawDocking(int32_t camCellX, int32_t camCellY) {
    // Where the ship's centre is on the screen: its cell's place in the view, plus its place
    // in the cell, less the view's own offset into its first cell, which is the same. So
    // always (80, 48).
    const int32_t sx = (player->x / kCellSize - camCellX) * kCellSize;
    const int32_t sy = (player->y / kCellSize - camCellY) * kCellSize;
    if (docking) DrawDockingBar(sx, sy);
    if (PopupShows()) {
        const int32_t frame = popupKind * 10 + (30 - popupTimer) / 3;
        DrawSprite24x24(sx - 12, sy - 30, PickupIconFrames + FrameSlot(24, 24, frame), SeaKey());
    }
}

void AdvancePopup() {
    if (!PopupShows()) return;
    // The coin rings as the icon first shows.
    if (popupTimer == kPopupFrames) PlaySound(SoundMoney);
    popupTimer--;
}

void ReactivatePorts() {
    if (std::rand() % kReactivateOdds != 1) return;
    // With one port giving cargo, another joins it; otherwise any port but the buyer takes
    // either active role (drawn as rand() % 2 + 1).
    PortRole role = RoleCargoFirst;
    if (PortsWithRole(RoleCargoFirst) != 1 && std::rand() % 2 == 1) role = RoleRepairFirst;
    for (;;) {
        Port* port = ports[std::rand() % ports.Count()];
        if (port->role != RoleBuyer) {
            port->role = role;
            return;
        }
    }
}

void TakeFirstCargo() {
    overlayMode = OverlayNone;
    cargo++;
    StartPopup(PopupCargo);
}
