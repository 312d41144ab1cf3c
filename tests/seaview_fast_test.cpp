// The sea view's quick ways against the plain rules they replace, on many random
// pictures: the darkening that remembers its last colour, the clouds skipped when far
// from the view, and the water filled a row at a time.
#include <algorithm>
#include <cstdlib>

#include "sailing/seaview.h"
#include "sea.h"
#include "seaview_support.h"

namespace {

class SeaViewFastTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        ResetWorld();
        srand(20240601);
    }
    void TearDown() override {
        ClearWorldLists();
        ResetWorld();
        InitPalettes();
    }
};

// The darkening as the rule says it: for each marked pixel, entries 0 to 15 in order.
void DarkenPlainly() {
    for (int32_t y = 0; y < 120; y++)
        for (int32_t x = 0; x < 160; x++) {
            if (!ShadowBit(x, y)) continue;
            uint16_t& pixel = FrameBuffer[y * 160 + x];
            for (int32_t i = 0; i < 16; i++)
                if (static_cast<uint16_t>(Palette[i]) == pixel) {
                    pixel = static_cast<uint16_t>(shadowPalette[i]);
                    break;
                }
        }
}

TEST_F(SeaViewFastTest, DarkeningMatchesThePlainRule) {
    for (int32_t round = 0; round < 200; round++) {
        // Palettes with repeated colours now and then; pictures in runs of palette
        // colours and stray colours; masks from sparse to full.
        InitPalettes();
        if (round % 3 == 0) Palette[rand() % 16] = Palette[rand() % 16];
        if (round % 5 == 0) Palette[rand() % 16] = shadowPalette[rand() % 16];
        uint16_t colour = 0;
        for (uint16_t& pixel : FrameBuffer) {
            if (rand() % 6 == 0) colour = rand() % 4 == 0 ? static_cast<uint16_t>(rand()) : Colour(rand() % 16);
            pixel = colour;
        }
        const int32_t density = round % 4;
        for (uint8_t& bits : shadowMask)
            bits = density == 3 ? 0xFF : static_cast<uint8_t>(density == 0 ? 0 : rand() & rand() >> (4 - density));
        if (density == 0) shadowMask[rand() % 2400] = static_cast<uint8_t>(rand());
        const std::vector<uint16_t> before = Snapshot();
        DarkenPlainly();
        const std::vector<uint16_t> plain = Snapshot();
        std::copy(before.begin(), before.end(), FrameBuffer);
        DarkenShadows();
        ASSERT_EQ(DiffersFrom(plain), 0) << "round " << round;
    }
}

TEST_F(SeaViewFastTest, CloudsAndWaterMatchThePlainRules) {
    static const uint8_t* const kTables[4] = {CloudMasks8, CloudMasks16, CloudMasks32, CloudMasks48};
    static const int32_t kSizes[4] = {8, 16, 32, 48}, kVariants[4] = {6, 6, 5, 4};
    for (int32_t round = 0; round < 40; round++) {
        ClearWorldLists();
        AddPlayer(rand() % 896, rand() % 896);
        for (auto& slot : clouds) {
            const int32_t image = rand() % 4;
            // Around and across the view, and now and then anywhere.
            const int32_t x = rand() % 10 == 0 ? rand() % 896 : player->x - 110 + rand() % 220;
            const int32_t y = rand() % 10 == 0 ? rand() % 896 : player->y - 60 + rand() % 210;
            slot.reset(new Cloud{x, y, image, kSizes[image], rand() % kVariants[image], kVariants[image], rand() % 8,
                                 896, 944});
        }
        frameCounter = 1 + rand() % 39;

        // The plain rules: water over the whole world clipped to the screen, then every
        // bit of every cloud tested against the screen.
        std::memset(shadowMask, 0, sizeof shadowMask);
        FillFrame(Colour(0));
        for (int32_t y = 0; y < 120; y++)
            for (int32_t x = 0; x < 160; x++) {
                const int32_t worldX = x + player->x - 80, worldY = y + player->y - 48;
                if (worldX >= 0 && worldX < 896 && worldY >= 0 && worldY < 896) FrameBuffer[y * 160 + x] = Colour(2);
            }
        for (int32_t pass = 0; pass < 2; pass++)
            for (const auto& slot : clouds) {
                const Cloud& cloud = *slot;
                const int32_t s = cloud.size;
                const uint8_t* mask = kTables[cloud.image] + (cloud.frame * cloud.variantCount + cloud.variant) * s * s / 8;
                for (int32_t row = 0; row < s; row++)
                    for (int32_t col = 0; col < s; col++) {
                        const int32_t x = cloud.x - player->x + 80 - s / 2 + col;
                        const int32_t y = cloud.y - player->y + 48 - s / 2 + row - 30 * pass;
                        if (!(mask[row / 8 * s + col] >> (row % 8) & 1) || x < 0 || x >= 160 || y < 0 || y >= 120)
                            continue;
                        if (pass == 0) shadowMask[y / 8 * 160 + x] |= static_cast<uint8_t>(1 << (y % 8));
                        else FrameBuffer[y * 160 + x] = Colour(15);
                    }
            }
        const std::vector<uint16_t> plainPicture = Snapshot();
        const std::vector<uint8_t> plainShadows(shadowMask, shadowMask + 2400);

        std::memset(shadowMask, 0, sizeof shadowMask);
        FillFrame(Colour(0));
        DrawSea();
        MarkCloudShadows();
        DrawClouds();
        ASSERT_EQ(DiffersFrom(plainPicture), 0) << "round " << round;
        ASSERT_EQ(std::vector<uint8_t>(shadowMask, shadowMask + 2400), plainShadows) << "round " << round;
    }
}

}  // namespace
