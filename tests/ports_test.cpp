// Ports and cargo: where a ship docks, what interrupts a visit, what a visit gives, the
// pickup icon, the random choice of buyers and active ports, the first cargo's lesson and
// the fifth sale that leads to new islands.
#include "hud.h"
#include "render/sprite.h"
#include "test_support.h"
#include "texts.h"

namespace {

constexpr int32_t kPortRow = 20;

// Six ports in a row along a strip of coast, each with land below it; a player who has
// taken cargo before.
class PortTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        for (int32_t i = 0; i < 6; i++) {
            SetCell(PortColumn(i), kPortRow, CellPort);
            SetCell(PortColumn(i), kPortRow + 1, CellLand);
            ports.Append(new Port{PortColumn(i), kPortRow, RoleInactive});
        }
        AddPlayer(100, 100);
        highScore = 7, peaceful = false, currentMusic = MusicInGame;
    }
    static int32_t PortColumn(int32_t i) { return 10 + 4 * i; }
    // The ship sitting on port i's jetty (its bottom probe is in the port's cell).
    static void DockAt(int32_t i) {
        player->x = PortColumn(i) * 16 + 8, player->y = kPortRow * 16 + 2;
        PlaceCamera();
    }
    static void SetRoles(const Values& roles) {
        for (int32_t i = 0; i < 6; i++) ports[i]->role = static_cast<PortRole>(roles[i]);
    }
    static Values Roles() {
        Values roles;
        for (int32_t i = 0; i < 6; i++) roles.push_back(ports[i]->role);
        return roles;
    }
    // One frame's docking step, in a frame whose counter is fc.
    static void Dock(int32_t fc = 3) {
        frameCounter = fc;
        UpdateDocking(), DrawDocking(camCellX, camCellY), AdvancePopup();
    }
    // The last step of a visit: one more step of progress completes it.
    static void CompleteVisitAt(int32_t i) {
        DockAt(i);
        dockProgress = 25;
        Dock(1);
    }
};

TEST_F(PortTest, TheShipDocksWhereItsBowSternOrSidesTouchTheJetty) {
    // Around port 0's cell, whose corner is (160, 320): probed 6 below the ship's centre, 4
    // above it, 6 right and 6 left.
    struct Case { int32_t dx, dy; bool docked; } cases[] = {
        {8, -6, true}, {8, -7, false}, {8, 19, true}, {8, 20, false},
        {-6, 8, true}, {-7, 8, false}, {21, 8, true}, {22, 8, false}};
    ports[0]->role = RoleCargoFirst;
    for (const Case& c : cases) {
        player->x = 160 + c.dx, player->y = 320 + c.dy;
        EXPECT_EQ(DockedPort(player), c.docked ? ports[0] : nullptr) << c.dx << ", " << c.dy;
    }
    // In that order, and the first jetty found counts: a used-up jetty under the ship
    // hides an active one at its side.
    SetCell(PortColumn(1) + 1, kPortRow, CellPort);
    ports.Append(new Port{PortColumn(1) + 1, kPortRow, RoleCargoFirst});
    DockAt(1);
    player->x += 4, dockProgress = 7;
    Dock(6);
    EXPECT_EQ(dockProgress, 0);
}

TEST_F(PortTest, ProgressGrowsEveryFifthFrameAndAnythingThatBreaksTheVisitResetsIt) {
    SetRoles({0, 1, -1, -1, -1, -1});
    DockAt(1);
    FillFrame(Colour(2));
    for (int32_t fc = 0; fc < 12; fc++) Dock(fc);
    EXPECT_EQ(dockProgress, 3);  // frames 1, 6 and 11
    // The bar over the ship: dark ground three pixels high, the first three orange, a
    // white rim that reaches a pixel further right below.
    const Picture bar = Snapshot();
    FillFrame(Colour(2));
    for (int32_t y = 36; y <= 38; y++)
        for (int32_t x = 68; x <= 92; x++) {
            const bool rim = x == 68 || x == 92 || y == 36;
            FrameBuffer[y * 160 + x] = Colour(rim ? 15 : x < 71 ? 9 : 0);
        }
    for (int32_t x = 68; x <= 92; x++) FrameBuffer[39 * 160 + x] = Colour(15);
    EXPECT_EQ(Differs(bar), "");
    struct Case { void (*breakIt)(); int32_t progress; } cases[] = {
        {[] {}, 8}, {[] { player->fireCooldown = 1; }, 0}, {[] { player->hitTimer = 1; }, 0},
        {[] { player->health = 0; }, 0}, {[] { overlayMode = OverlayDialog; }, 0},
        {[] { overlayMode = OverlayPaused; }, 8},  // the map does not stop a visit
        {[] { ports[1]->role = RoleInactive; }, 0},
    };
    for (const Case& k : cases) {
        ports[1]->role = RoleCargoFirst, player->fireCooldown = player->hitTimer = 0, player->health = 5;
        overlayMode = OverlayNone, dockProgress = 7;
        k.breakIt();
        Dock(6);
        EXPECT_EQ(dockProgress, k.progress) << &k - cases;
    }
    // At the buyer with an empty hold everything waits: the progress, and any icon.
    DockAt(0);
    overlayMode = OverlayNone, player->health = 5, dockProgress = 9, popupKind = 1, popupTimer = 12;
    FillFrame(Colour(2));
    Dock(6);
    EXPECT_EQ(Values({dockProgress, popupTimer}), Values({9, 12}));
    EXPECT_EQ(Differs(Picture(160 * 120, Colour(2))), "");
    cargo = 1;
    Dock(6);
    EXPECT_EQ(Values({dockProgress, popupTimer}), Values({10, 11}));
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
        {1, 7, 5, 8, 5, 1},   // role 1: cargo first while there is room
        {1, 8, 7, 8, 11, 2},  // a full hold mends instead, up to 11
        {1, 8, 8, 8, 8, -1},  // nothing to mend: the hold is full
        {2, 3, 7, 3, 11, 2},  // role 2: mending first
        {2, 3, 8, 4, 8, 1}, {2, 8, 9, 8, 9, -1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(::testing::Message() << "role " << k.role << ", cargo " << k.cargo << ", health " << k.health);
        SetRoles({0, 1, k.role, 1, -1, -1});
        cargo = k.cargo, player->health = k.health, popupKind = 3, popupTimer = 0, overlayMode = OverlayNone;
        currentMusic = MusicDanger;
        CompleteVisitAt(2);
        EXPECT_EQ(Values({cargo, player->health, ports[2]->role, dockProgress, peaceful}),
                  Values({k.cargoAfter, k.healthAfter, RoleInactive, 24, false}));  // used up, whatever it gave
        EXPECT_EQ(Values({overlayMode, popupKind, popupTimer}),
                  k.popupKind < 0 ? Values({OverlayDialog, k.role, 0}) : Values({OverlayNone, k.popupKind, 28}));
        EXPECT_EQ(dialog.text, k.popupKind < 0 ? fullHoldText : "");
        // Mending brings back the sailing music; loading leaves the danger playing.
        EXPECT_EQ(currentMusic, k.popupKind == PopupRepair ? MusicInGame : MusicDanger);
        dialog.text.clear();
    }
}

TEST_F(PortTest, ThePickupIconPlaysItsTenPicturesOnceWithOneRing) {
    // Two frames of the first picture, three of each other, a pause while the ship is sunk.
    Values steps = {0, 0, 1, 1, 1, -1};
    for (int32_t step = 2; step < 10; step++) steps.insert(steps.end(), 3, step);
    steps.push_back(-1);
    for (int32_t kind = 0; kind < 4; kind++) {
        popupKind = kind, popupTimer = 29;
        for (size_t i = 0; i < steps.size(); i++) {
            FillFrame(Colour(2));
            player->health = i == 5 ? 0 : 5;
            Dock();
            const Picture shown = Snapshot();
            FillFrame(Colour(2));
            if (steps[i] >= 0) DrawSprite24x24(68, 18, PickupIconFrames + FrameSlot(24, 24, kind * 10 + steps[i]), SeaKey());
            ASSERT_EQ(Differs(shown), "") << "kind " << kind << ", frame " << i;
        }
        EXPECT_EQ(popupTimer, 0);
        EXPECT_EQ(Heard(), std::vector<std::string>{"money"});
    }
}

// After a visit, a buyer is drawn if cargo is aboard and none buys, then a port to give
// cargo if fewer than two do: each drawn among the six until it is neither the port just
// visited nor the buyer. The first cargo's lesson draws its port to give cargo uncounted.
TEST_F(PortTest, NewBuyersAndActivePortsAreDrawnAmongTheOthersInOrder) {
    struct Case {
        Values roles;
        int32_t visited, cargo;
        bool lesson;
        Values draws;  // each of 6
        Values after;
        int32_t buyer;  // the compass's new target, -1 for none
    } cases[] = {
        {{-1, -1, 1, -1, -1, -1}, 2, 0, false, {2, 4, 4, 2, 1}, {-1, 1, -1, -1, 0, -1}, 4},
        {{0, 1, 1, 1, -1, -1}, 3, 0, false, {}, {0, 1, 1, -1, -1, -1}, -1},
        {{-1, 2, 1, -1, 0, -1}, 1, 3, false, {1, 4, 2}, {-1, -1, 1, -1, 0, -1}, -1},  // mended; 2 gives already
        {{-1, 1, 2, -1, 0, -1}, 1, 0, false, {2}, {-1, -1, 1, -1, 0, -1}, -1},         // a mending port turns
        {{0, 2, 1, 1, -1, -1}, 0, 4, false, {}, {-1, 2, 1, 1, -1, -1}, -1},            // sold: no new buyer
        {{1, 1, 1, 1, -1, -1}, 0, 0, true, {0, 1, 1, 5}, {-1, 0, 1, 1, -1, 1}, 1},
        {{1, 0, 1, 1, -1, -1}, 0, 0, true, {1, 2}, {-1, 0, 1, 1, -1, -1}, -1},
    };
    for (const Case& c : cases) {
        SetRoles(c.roles);
        cargo = c.cargo, player->health = 5, compassTarget = nullptr;
        highScore = c.lesson ? 0 : 7, peaceful = c.lesson, overlayMode = OverlayNone;
        std::vector<std::pair<int32_t, int32_t>> draws;
        for (int32_t d : c.draws) draws.push_back({6, d});
        const int32_t after = SeedDraws(draws);
        CompleteVisitAt(c.visited);
        EXPECT_EQ(Roles(), c.after) << &c - cases;
        EXPECT_EQ(std::rand(), after) << &c - cases;  // not a draw more or less
        EXPECT_EQ(compassTarget, c.buyer < 0 ? nullptr : ports[c.buyer]);
    }
}

// One frame in 550 a port wakes: with one port giving cargo first, another does too;
// otherwise a drawn role, 1 or 2. The port is drawn among the six until it is no buyer.
TEST_F(PortTest, NowAndThenAPortThatDoesNotBuyWakesUp) {
    struct Case { Values roles; std::vector<std::pair<int32_t, int32_t>> draws; Values after; } cases[] = {
        {{-1, 1, -1, 2, 0, -1}, {{550, 0}}, {-1, 1, -1, 2, 0, -1}},
        {{-1, 1, -1, 2, 0, -1}, {{550, 2}}, {-1, 1, -1, 2, 0, -1}},
        {{-1, 1, -1, 2, 0, -1}, {{550, 1}, {6, 4}, {6, 0}}, {1, 1, -1, 2, 0, -1}},
        {{1, 1, -1, -1, 0, -1}, {{550, 1}, {2, 1}, {6, 4}, {6, 2}}, {1, 1, 2, -1, 0, -1}},
        {{-1, -1, -1, -1, -1, -1}, {{550, 1}, {2, 0}, {6, 3}}, {-1, -1, -1, 1, -1, -1}},
        {{1, 1, 1, -1, 0, -1}, {{550, 1}, {2, 1}, {6, 1}}, {1, 2, 1, -1, 0, -1}},
    };
    for (const Case& c : cases) {
        SetRoles(c.roles);
        const int32_t after = SeedDraws(c.draws);
        ReactivatePorts();
        EXPECT_EQ(Roles(), c.after) << &c - cases;
        EXPECT_EQ(std::rand(), after) << &c - cases;
    }
}

TEST_F(PortTest, TheFirstCargoOfAFirstGameComesWithALesson) {
    struct Case { int32_t highScore; bool peaceful; int32_t level; bool lesson; } cases[] = {
        {0, true, 0, true}, {40, true, 0, false}, {0, false, 0, false}, {0, true, 1, false}};
    for (const Case& k : cases) {
        SetRoles({1, 1, -1, -1, -1, -1});
        highScore = k.highScore, peaceful = k.peaceful, level = k.level, cargo = 0, overlayMode = OverlayNone;
        popupTimer = 0, dialog.done = nullptr;
        CompleteVisitAt(0);
        // The cargo comes aboard when the lesson is dismissed.
        EXPECT_EQ(Values({cargo, dockProgress, popupTimer, peaceful, compassTarget->role}),
                  k.lesson ? Values({0, 0, 0, false, RoleBuyer}) : Values({1, 24, 28, false, RoleBuyer}));
        EXPECT_EQ(dialog.done, k.lesson ? TakeFirstCargo : nullptr);
        if (!k.lesson) continue;
        EXPECT_EQ(Values({dialog.portrait, overlayMode}), Values({1, OverlayDialog}));
        EXPECT_EQ(dialog.text, firstCargoText);
        dialog.done();
        EXPECT_EQ(Values({overlayMode, cargo, popupKind, popupTimer}), Values({OverlayNone, 1, PopupCargo, 29}));
    }
}

TEST_F(PortTest, TheFifthSaleSaysFarewellAloneAndSailsToNewIslands) {
    SetRoles({-1, 0, 1, -1, -1, -1});
    DockAt(1);
    cargo = 2, deliveries = 4, gold = 300, dockProgress = 25, level = 2, frameCounter = 1;
    SeedDraws({{5, 3}});  // drawn before the ports are re-supplied
    Frames(1);
    EXPECT_EQ(Values({GameState, level, gold, dockProgress}), Values({ScreenFarewell, 3, 350, 24}));
    EXPECT_EQ(Values({dialog.portrait, overlayMode}), Values({1, OverlayDialog}));
    EXPECT_EQ(dialog.text, farewellTexts[3]);
    EXPECT_EQ(dialog.done, NextIslands);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"nextlevel", "money"}));
    // On its own dark screen, page after page, until A sails on.
    for (int32_t i = 0; i < 400 && GameState == ScreenFarewell; i++) {
        SetButtonKey(ButtonA, i % 40 == 39);
        Frames(1);
        if (GameState == ScreenFarewell) {
            ASSERT_EQ(ShownAt(159, 0), Colour(0));  // no sea behind it
        }
    }
    EXPECT_EQ(Values({GameState, level, deliveries, ports.Count(), overlayMode, cargo}),
              Values({ScreenSailing, 3, 0, 6, OverlayDialog, 0}));  // the new islands' greeting
}

}  // namespace
