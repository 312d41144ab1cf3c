// Ports and cargo: docking and its interruptions, what a visit gives, the pickup icon, the
// random choice of buyers and active ports (replayed here from the raw numbers), the first
// cargo's lesson and the fifth sale that leads to new islands.
#include <algorithm>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "flow/dialog.h"
#include "flow/highscore.h"
#include "hud.h"
#include "ports/ports.h"
#include "render/sprite.h"
#include "seaview_support.h"
#include "texts.h"

namespace {

constexpr int32_t kPortRow = 20;

// Six ports in a row along a strip of coast, each with land below it.
class PortTest : public SeaTest {
protected:
    void SetUp() override {
        SeaTest::SetUp();
        for (int32_t i = 0; i < 6; i++) {
            SetCell(PortColumn(i), kPortRow, CellPort);
            SetCell(PortColumn(i), kPortRow + 1, CellLand);
            ports.Append(new Port{PortColumn(i), kPortRow, RoleInactive});
        }
        AddPlayer(100, 100);
        highScore = 7, peaceful = 0;
        musicOn = 1, currentMusic = MusicInGame;
    }
    static int32_t PortColumn(int32_t i) { return 10 + 4 * i; }

    // The ship sitting on port i's jetty (its bottom probe is in the port's cell).
    static void DockAt(int32_t i) {
        player->x = PortColumn(i) * 16 + 8;
        player->y = kPortRow * 16 + 2;
        PlaceCamera();
    }
    // Roles by their numbers, -1..2 (the rules reckon with them so).
    static void SetRoles(const std::vector<int32_t>& roles) {
        for (int32_t i = 0; i < 6; i++) ports[i]->role = static_cast<PortRole>(roles[static_cast<size_t>(i)]);
    }
    static std::vector<int32_t> Roles() {
        std::vector<int32_t> roles;
        for (int32_t i = 0; i < 6; i++) roles.push_back(ports[i]->role);
        return roles;
    }
    // One frame's docking step, in a frame whose counter is fc.
    static void Dock(int32_t fc = 3) {
        frameCounter = fc;
        UpdateDocking();
        DrawDocking(camCellX, camCellY);
        AdvancePopup();
    }
    // The last step of a visit: one more step of progress completes it.
    static void CompleteVisitAt(int32_t i) {
        DockAt(i);
        dockProgress = 25;
        Dock(1);
    }
};

TEST_F(PortTest, ASalePaysFiveTimesTheLoadTimesTheLoadPlusThree) {
    const int32_t pay[9] = {0, 20, 50, 90, 140, 200, 270, 350, 440};
    for (int32_t n = 1; n <= 8; n++) {
        SetRoles({-1, 0, 1, 1, -1, -1});
        cargo = n, gold = 1000, deliveries = 2, popupTimer = 0;
        played.clear();
        CompleteVisitAt(1);
        EXPECT_EQ(gold, 1000 + pay[n]) << n;
        EXPECT_EQ(cargo, 0);
        EXPECT_EQ(deliveries, 3);
        EXPECT_EQ(dockProgress, 24);
        EXPECT_EQ(ports[1]->role, RoleInactive);
        EXPECT_EQ(popupKind, 0);
        EXPECT_EQ(popupTimer, 28);  // shown once already, with its coin's ring
        EXPECT_EQ(played, std::vector<int32_t>{SoundMoney});
        EXPECT_EQ(Roles(), (std::vector<int32_t>{-1, -1, 1, 1, -1, -1}));  // no new buyer while the hold is empty
    }
}

TEST_F(PortTest, AnActivePortMendsOrLoadsInItsOrderOfTests) {
    struct Case {
        int32_t role, cargo, health;
        int32_t cargoAfter, healthAfter, popupKind;  // popupKind -1: the full hold's message, no icon
    } cases[] = {
        {1, 0, 1, 0, 5, 2},   // the last hit point is always mended, even with room for cargo
        {2, 6, 1, 6, 5, 2},
        {1, 0, 5, 1, 5, 1},   // an empty hold always loads
        {2, 0, 3, 1, 3, 1},
        {1, 3, 5, 4, 5, 1},   // role 1: cargo first while there is room
        {1, 8, 7, 8, 11, 2},  // a full hold mends instead, up to 11
        {1, 8, 8, 8, 8, -1},  // nothing to mend: the hold is full
        {2, 3, 7, 3, 11, 2},  // role 2: mending first
        {2, 3, 8, 4, 8, 1},
        {2, 8, 9, 8, 9, -1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "role " << k.role << ", cargo " << k.cargo << ", health " << k.health);
        SetRoles({0, 1, k.role, 1, -1, -1});
        cargo = k.cargo, player->health = k.health, popupKind = 3, popupTimer = 0, overlayMode = OverlayNone;
        currentMusic = MusicDanger;
        CompleteVisitAt(2);
        EXPECT_EQ(cargo, k.cargoAfter);
        EXPECT_EQ(player->health, k.healthAfter);
        EXPECT_EQ(ports[2]->role, RoleInactive);  // used up, whatever it gave
        EXPECT_EQ(dockProgress, 24);
        EXPECT_EQ(peaceful, 0);
        if (k.popupKind < 0) {
            EXPECT_EQ(overlayMode, OverlayDialog);
            EXPECT_EQ(dialog.text, fullHoldText);
            EXPECT_EQ(popupTimer, 0);
            EXPECT_EQ(popupKind, k.role);
        } else {
            EXPECT_EQ(overlayMode, OverlayNone);
            EXPECT_EQ(popupKind, k.popupKind);
            EXPECT_EQ(popupTimer, 28);
        }
        // Mending brings back the sailing music; loading leaves the danger playing.
        EXPECT_EQ(currentMusic, k.popupKind == 2 ? MusicInGame : MusicDanger);
    }
}

TEST_F(PortTest, ProgressGrowsEveryFifthFrameAndAnythingThatBreaksTheVisitResetsIt) {
    SetRoles({0, 1, -1, -1, -1, -1});
    DockAt(1);
    for (int32_t fc = 0; fc < 12; fc++) Dock(fc);
    EXPECT_EQ(dockProgress, 3);  // frames 1, 6 and 11

    struct Case {
        const char* what;
        void (*breakIt)();
        int32_t progress;
    } cases[] = {
        {"firing", [] { player->fireCooldown = 5; }, 0},
        {"struck", [] { player->hitTimer = 1; }, 0},
        {"sunk", [] { player->health = 0; }, 0},
        {"spoken to", [] { overlayMode = OverlayDialog; }, 0},
        {"paused", [] { overlayMode = OverlayPaused; }, 8},  // the map does not stop a visit
        {"sailed off", [] { player->y -= 12; }, 0},
        {"port used up", [] { ports[1]->role = RoleInactive; }, 0},
        {"jetty above the centre", [] { player->y += 10; }, 8},  // probed 4 pixels up
        {"jetty beside it", [] { player->x -= 14; }, 8},          // probed 6 pixels right
    };
    for (const Case& k : cases) {
        DockAt(1);
        ports[1]->role = RoleCargoFirst, player->fireCooldown = 0, player->hitTimer = 0, player->health = 5,
        overlayMode = OverlayNone;
        dockProgress = 7;
        k.breakIt();
        PlaceCamera();
        Dock(6);
        EXPECT_EQ(dockProgress, k.progress) << k.what;
    }

    // The probes go bottom, top, right, left, and the first jetty found counts: a used-up
    // jetty under the ship hides an active one at its side.
    SetCell(PortColumn(1) + 1, kPortRow, CellPort);
    ports.Append(new Port{PortColumn(1) + 1, kPortRow, RoleCargoFirst});
    DockAt(1);
    ports[1]->role = RoleInactive, dockProgress = 7, player->x += 4;
    Dock(6);
    EXPECT_EQ(dockProgress, 0);
    ports.RemoveAt(6);
    SetCell(PortColumn(1) + 1, kPortRow, CellSea);

    // At the buyer with an empty hold everything waits: the progress, and any icon.
    DockAt(0);
    overlayMode = OverlayNone, player->health = 5, dockProgress = 9, popupKind = 1, popupTimer = 12;
    FillFrame(Colour(2));
    const Picture before = Snapshot();
    Dock(6);
    EXPECT_EQ(dockProgress, 9);
    EXPECT_EQ(popupTimer, 12);
    EXPECT_EQ(DiffersFrom(before), 0);
    cargo = 1;
    Dock(6);
    EXPECT_EQ(dockProgress, 10);
    EXPECT_EQ(popupTimer, 11);
}

TEST_F(PortTest, ThePickupIconPlaysItsTenPicturesOnceWithOneRing) {
    // Two frames of the first picture, three of each other, a pause while the ship is sunk.
    std::vector<int32_t> steps = {0, 0, 1, 1, 1, -1};
    for (int32_t step = 2; step < 10; step++) steps.insert(steps.end(), 3, step);
    steps.push_back(-1);
    for (int32_t kind = 0; kind < 4; kind++) {
        popupKind = kind, popupTimer = 29;
        played.clear();
        for (size_t i = 0; i < steps.size(); i++) {
            FillFrame(Colour(2));
            if (i == 5) player->health = 0;
            Dock();
            player->health = 5;
            const Picture shown = Snapshot();
            FillFrame(Colour(2));
            if (steps[i] >= 0)
                DrawSprite24x24(68, 18, PickupIconFrames + FrameSlot(24, 24, kind * 10 + steps[i]), SeaKey());
            ASSERT_EQ(DiffersFrom(shown), 0) << "kind " << kind << ", frame " << i;
        }
        EXPECT_EQ(popupTimer, 0);
        EXPECT_EQ(played, std::vector<int32_t>{SoundMoney});
    }
}

// Port roles worked out from the raw numbers, as a visit to port p0 leaves them.
struct Resupply {
    std::vector<int32_t> roles;
    const std::vector<int32_t>& numbers;
    size_t next = 0;
    int32_t buyer = -1;

    int32_t Count(int32_t role) const { return static_cast<int32_t>(std::count(roles.begin(), roles.end(), role)); }
    int32_t Other(int32_t p0) {
        for (;;) {
            const int32_t i = numbers[next++] % 6;
            if (i != p0 && roles[static_cast<size_t>(i)] != 0) return i;
        }
    }
    void After(int32_t p0, int32_t cargoAboard) {
        if (cargoAboard > 0 && Count(0) == 0) roles[static_cast<size_t>(buyer = Other(p0))] = 0;
        if (Count(1) < 2) roles[static_cast<size_t>(Other(p0))] = 1;
    }
};

TEST_F(PortTest, NewBuyersAndActivePortsAreDrawnAmongTheOthersInOrder) {
    std::mt19937 pick(5);
    for (uint32_t seed = 1; seed <= 400; seed++) {
        std::vector<int32_t> roles(6);
        for (int32_t& role : roles) role = static_cast<int32_t>(pick() % 4) - 1;
        const int32_t p0 = static_cast<int32_t>(pick() % 6);
        roles[static_cast<size_t>(p0)] = static_cast<int32_t>(pick() % 2 + 1);  // an active port
        while (std::count(roles.begin(), roles.end(), 0) > 1) *std::find(roles.begin(), roles.end(), 0) = -1;
        SetRoles(roles);
        cargo = static_cast<int32_t>(pick() % 3), player->health = 5;
        const bool lesson = seed % 5 == 0;
        highScore = lesson ? 0 : 7, peaceful = lesson ? 1 : 0, overlayMode = OverlayNone, compassTarget = nullptr;

        const std::vector<int32_t> numbers = RandFrom(seed, 200);
        Resupply model{roles, numbers};
        model.roles[static_cast<size_t>(p0)] = -1;
        if (lesson) {
            if (model.Count(0) == 0) model.roles[static_cast<size_t>(model.buyer = model.Other(p0))] = 0;
            model.roles[static_cast<size_t>(model.Other(p0))] = 1;  // without counting
        } else {
            model.After(p0, roles[static_cast<size_t>(p0)] == 2 && cargo > 0 ? cargo : cargo + 1);  // mends or loads
        }
        CompleteVisitAt(p0);
        SCOPED_TRACE(::testing::Message() << "seed " << seed);
        EXPECT_EQ(Roles(), model.roles);
        EXPECT_EQ(std::rand(), numbers[model.next]);  // not a draw more or less
        if (model.buyer >= 0) {
            EXPECT_EQ(compassTarget, ports[model.buyer]);
        }
        EXPECT_EQ(peaceful, 0);
    }
}

TEST_F(PortTest, NowAndThenAPortThatDoesNotBuyWakesUp) {
    std::mt19937 pick(9);
    int32_t woken = 0;
    for (uint32_t seed = 1; woken < 30; seed++) {
        const std::vector<int32_t> numbers = RandFrom(seed, 60);
        const bool wakes = numbers[0] % 550 == 1;
        if (!wakes && seed % 50 != 0) continue;  // mostly the seeds that do something
        std::vector<int32_t> roles(6);
        for (int32_t& role : roles) role = static_cast<int32_t>(pick() % 4) - 1;
        roles[0] = seed % 2 == 0 ? 0 : roles[0];
        if (seed % 3 == 0) roles = {-1, 1, -1, 2, 0, -1};  // exactly one port gives cargo first
        SetRoles(roles);
        size_t next = 1;
        if (wakes) {
            woken++;
            const int32_t role = std::count(roles.begin(), roles.end(), 1) == 1 ? 1 : numbers[next++] % 2 + 1;
            for (;;) {
                const size_t i = static_cast<size_t>(numbers[next++] % 6);
                if (roles[i] != 0) {
                    roles[i] = role;
                    break;
                }
            }
        }
        ReactivatePorts();
        EXPECT_EQ(Roles(), roles) << "seed " << seed;
        EXPECT_EQ(std::rand(), numbers[next]) << "seed " << seed;
    }
}

TEST_F(PortTest, TheFirstCargoOfAFirstGameComesWithALesson) {
    struct Case { int32_t highScore, peaceful, level; bool lesson; } cases[] = {
        {0, 1, 0, true}, {40, 1, 0, false}, {0, 0, 0, false}, {0, 1, 1, false}};
    for (const Case& k : cases) {
        SetRoles({1, 1, -1, -1, -1, -1});
        highScore = k.highScore, peaceful = k.peaceful, level = k.level, cargo = 0, overlayMode = OverlayNone,
        popupTimer = 0;
        CompleteVisitAt(0);
        EXPECT_EQ(peaceful, 0);
        EXPECT_EQ(compassTarget != nullptr && compassTarget->role == RoleBuyer, true);
        if (!k.lesson) {
            EXPECT_EQ(cargo, 1);
            EXPECT_EQ(overlayMode, OverlayNone);
            continue;
        }
        // The cargo comes aboard when the lesson is dismissed.
        EXPECT_EQ(cargo, 0);
        EXPECT_EQ(dockProgress, 0);
        EXPECT_EQ(popupTimer, 0);
        EXPECT_EQ(dialog.text, firstCargoText);
        EXPECT_EQ(dialog.done, TakeFirstCargo);
        dialog.done();
        EXPECT_EQ(overlayMode, OverlayNone);
        EXPECT_EQ(cargo, 1);
        EXPECT_EQ(popupKind, 1);
        EXPECT_EQ(popupTimer, 29);
    }
}

TEST_F(PortTest, TheFifthSaleSaysFarewellAloneAndSailsToNewIslands) {
    SetRoles({-1, 0, 1, -1, -1, -1});
    DockAt(1);
    cargo = 2, deliveries = 4, gold = 300, dockProgress = 25, level = 2;
    const std::vector<int32_t> numbers = RandFrom(77, 10);
    frameCounter = 1;  // a frame of progress: the visit completes
    PlayFrame();
    EXPECT_EQ(GameState, ScreenFarewell);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(gold, 350);
    EXPECT_EQ(dialog.text, farewellTexts[numbers[0] % 5]);  // drawn before the ports are re-supplied
    EXPECT_EQ(dialog.done, NextIslands);
    EXPECT_EQ(played, (std::vector<int32_t>{SoundNextLevel, SoundMoney}));

    // On its own dark screen, page after page, until A sails on.
    for (int32_t i = 0; i < 400 && GameState == ScreenFarewell; i++) {
        SetButtonKey(ButtonA, i % 40 == 39);
        RunHeadlessFrame();
        if (GameState == ScreenFarewell) {
            EXPECT_EQ(ShownAt(159, 0), Colour(0));  // no sea behind it
        }
    }
    SetButtonKey(ButtonA, false);
    EXPECT_EQ(GameState, ScreenSailing);
    EXPECT_EQ(level, 3);
    EXPECT_EQ(deliveries, 0);
    EXPECT_EQ(ports.Count(), 6);
    EXPECT_EQ(overlayMode, OverlayDialog);  // the new islands' greeting
    EXPECT_EQ(compassTarget, nullptr);
    EXPECT_EQ(cargo, 0);
}

}  // namespace
