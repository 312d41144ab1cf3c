// The world's lists own their records: removal keeps the order of the rest, and a
// session of adding, removing, sailing and clearing leaves nothing behind (run this file
// under valgrind or the QUILLBARROW_ASAN build to see that).
#include "ports/ports.h"
#include "seaview_support.h"

namespace {

class WorldListTest : public SeaTest {};

TEST_F(WorldListTest, RemovingWhileWalkingBackwardsVisitsEveryRecordOnce) {
    for (int32_t i = 0; i < 10; i++) barrels.Append(new Barrel{i, 0, 0});
    std::vector<int32_t> visited;
    for (int32_t i = barrels.Count() - 1; i >= 0; i--) {
        visited.push_back(barrels[i]->x);
        if (barrels[i]->x % 3 != 1) barrels.RemoveAt(i);
    }
    EXPECT_EQ(visited, (std::vector<int32_t>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
    ASSERT_EQ(barrels.Count(), 3);
    for (int32_t i = 0; i < 3; i++) EXPECT_EQ(barrels[i]->x, 1 + 3 * i);
    SetCell(3, 5, CellLand);
    EXPECT_EQ(tileMap[173], CellLand);  // column-major: the next byte is the cell below
}

TEST_F(WorldListTest, ASessionOfSailingLeavesNothingBehind) {
    ports.Append(new Port{21, 21, RoleBuyer});
    SetCell(21, 21, CellPort);
    compassTarget = ports[0];
    Ship* ship = AddPlayer(330, 380);
    for (int32_t i = 0; i < 6; i++) {  // pirates sunk or sinking, so that none fires at us
        Ship* pirate = AddShip(1 + i % 3, 300 + 20 * i, 420, 1, i % 2);
        pirate->health = 0, pirate->hitTimer = i;
    }
    for (int32_t i = 0; i < 12; i++) cannonballs.Append(new Cannonball{4 * i + 2, i % 2 == 1, 250, 380 + i, 1, -1});  // behind us
    for (int32_t i = 0; i < 4; i++) barrels.Append(new Barrel{100 * i + 8, 405, 0});
    for (int32_t i = 0; i < 3; i++) whirlpools.Append(new Whirlpool{6000, (30 + i) * 16 + 8, 30 * 16 + 5});
    const int32_t sizes[4] = {8, 16, 32, 48}, variants[4] = {6, 6, 5, 4};
    for (int32_t round = 0; round < 2; round++) {  // made twice, as for two sets of islands
        for (int32_t i = 0; i < kGullCount; i++) gulls[i].reset(new Gull{896, 896, 0, 0, 1, 300 + i, 400, 320, 400});
        for (int32_t i = 0; i < kCloudCount; i++)
            clouds[i].reset(new Cloud{300 + 9 * i, 380, i % 4, sizes[i % 4], variants[i % 4], i % 8, 896, 944});
    }
    ships.RemoveAt(3);
    barrels.RemoveAt(0);
    whirlpools.RemoveAt(1);
    SetButtonKey(ButtonRight, true);
    for (int32_t i = 0; i < 60; i++) PlayFrame();  // the cannonballs splash and go one by one
    SetButtonKey(ButtonRight, false);
    EXPECT_EQ(cannonballs.Count(), 0);
    EXPECT_GT(ship->x, 330);
    ClearWorldLists();
    EXPECT_EQ(ships.Count() + ports.Count() + cannonballs.Count() + barrels.Count() + whirlpools.Count(), 0);
    EXPECT_EQ(player, nullptr);
    EXPECT_EQ(compassTarget, nullptr);
}

}  // namespace
