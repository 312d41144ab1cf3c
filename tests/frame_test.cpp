// The frame: colour tables, the save directory, and the order of one frame's steps.
#include <png.h>

#include <cstring>
#include <set>
#include <vector>

#include "flow/dispatch.h"
#include "platform/input.h"
#include "test_support.h"

namespace {

TEST(FrameStartTest, FrameBufferIsBlackBeforeTheFirstFrame) {
    // Only a process of its own still has the picture as start-up leaves it; CTest runs
    // every test alone.
    if (::testing::UnitTest::GetInstance()->test_to_run_count() > 1)
        GTEST_SKIP() << "run alone to see the start-up picture";
    for (uint16_t p : FrameBuffer) ASSERT_EQ(p, 0);
    EXPECT_EQ(frameCounter, 0);
}

TEST(FrameStartTest, ColoursAreDistinctAndEveryShadowIsAPaletteColour) {
    InitPalettes();
    std::set<uint32_t> colours(std::begin(Palette), std::end(Palette));
    EXPECT_EQ(colours.size(), 16u);  // a pixel's colour names its palette index
    EXPECT_EQ(Palette[0], 0x1063u);
    EXPECT_EQ(Palette[2], 0x31ADu);
    for (uint32_t shade : shadowPalette) EXPECT_EQ(colours.count(shade), 1u);
    EXPECT_EQ(shadowPalette[15], Palette[3]);
    EXPECT_EQ(shadowPalette[14], Palette[7]);
}

TEST(FrameStartTest, SaveDirectoryComesFromHomeOrTheWorkingDirectory) {
    struct Case { const char* home; const char* dir; } cases[] = {
        {"/home/u", "/home/u/.Quillbarrow/"}, {"", "./.Quillbarrow/"}, {nullptr, "./.Quillbarrow/"}};
    const std::string testHome = saveDir;  // the test run's own, kept for the tests after this
    for (const Case& c : cases) {
        saveDir = "/.Quillbarrow/";
        BuildSaveDir(c.home);
        EXPECT_EQ(saveDir, c.dir);
    }
    saveDir = testHome;
}

// What the present step saw, recorded from inside the frame.
uint16_t presentedPixel;
uint8_t presentedLatch;
int32_t presentedCounter;
void RecordPresent() {
    presentedPixel = FrameBuffer[5 * kScreenWidth + 7];
    presentedLatch = buttonLatch[ButtonA];
    presentedCounter = frameCounter;
}

class FrameLoopTest : public GameTest {};

TEST_F(FrameLoopTest, SampleThenPresentThenClearThenCount) {
    FrameBuffer[5 * kScreenWidth + 7] = Colour(14);  // as if the screen had drawn it
    SetButtonKey(ButtonA, true);
    frameCounter = 41;
    RunOneFrame(RecordPresent);
    EXPECT_EQ(presentedPixel, Colour(14));  // shown before the clear
    EXPECT_EQ(presentedLatch, 1);           // buttons sampled before the picture is shown
    EXPECT_EQ(presentedCounter, 41);        // the counter moves after it
    EXPECT_EQ(frameCounter, 42);
    for (uint16_t p : FrameBuffer) ASSERT_EQ(p, Colour(0));
}

TEST_F(FrameLoopTest, CounterRunsToOneHundredNineteenAndWraps) {
    std::vector<int32_t> seen;
    for (int i = 0; i < 242; i++) {
        seen.push_back(frameCounter);
        RunHeadlessFrame();
    }
    for (int i = 0; i < 242; i++) ASSERT_EQ(seen[i], i % 120);
}

TEST_F(FrameLoopTest, ShownFrameSavesAsAnExactPng) {
    for (int i = 0; i < kScreenWidth * kScreenHeight; i++) FrameBuffer[i] = Colour(i % 16);
    RunHeadlessFrame();
    std::string path = TestFramePath("frame_test_palette");
    ASSERT_TRUE(SaveShownFrame(path.c_str(), 2));
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    ASSERT_EQ(image.width, 320u);
    ASSERT_EQ(image.height, 240u);
    for (int y = 0; y < 240; y++)
        for (int x = 0; x < 320; x++) {
            const uint8_t* p = &rgb[(y * 320 + x) * 3];
            uint16_t back = static_cast<uint16_t>((p[0] >> 3) << 11 | (p[1] >> 2) << 5 | p[2] >> 3);
            ASSERT_EQ(back, Colour(((y / 2) * kScreenWidth + x / 2) % 16)) << x << "," << y;
        }
}

}  // namespace
