// The frame: colour tables, the save directory, the order of one frame's steps, and the
// shown picture saved as an exact PNG.
#include <png.h>

#include <algorithm>
#include <set>

#include "flow/dispatch.h"
#include "test_support.h"

namespace {

TEST(FrameStartTest, TheColoursTheSaveFolderAndTheFirstPicture) {
    // Only a process of its own still has the picture as start-up leaves it (CTest runs
    // every test alone): black, at frame 0.
    if (::testing::UnitTest::GetInstance()->test_to_run_count() == 1) {
        EXPECT_EQ(Values({*std::max_element(FrameBuffer, FrameBuffer + 160 * 120), frameCounter}), Values({0, 0}));
    }
    InitPalettes();
    const std::set<uint32_t> colours(std::begin(Palette), std::end(Palette));
    EXPECT_EQ(colours.size(), 16u);  // a pixel's colour names its palette index
    EXPECT_EQ(Values({static_cast<int32_t>(Palette[0]), static_cast<int32_t>(Palette[2])}), Values({0x1063, 0x31AD}));
    for (uint32_t shade : shadowPalette) EXPECT_EQ(colours.count(shade), 1u);
    EXPECT_EQ(Values({static_cast<int32_t>(shadowPalette[15]), static_cast<int32_t>(shadowPalette[14])}),
              Values({static_cast<int32_t>(Palette[3]), static_cast<int32_t>(Palette[7])}));
    const std::string testHome = saveDir;  // the test run's own, kept for the tests after this
    for (const auto& [home, dir] : {std::pair<const char*, const char*>{"/home/u", "/home/u/.Quillbarrow/"},
                                    {"", "./.Quillbarrow/"}, {nullptr, "./.Quillbarrow/"}}) {
        saveDir = "/.Quillbarrow/";
        BuildSaveDir(home);
        EXPECT_EQ(saveDir, dir);
    }
    saveDir = testHome;
}

// What the present step saw, recorded from inside the frame.
Values presented;
void RecordPresent() { presented = {FrameBuffer[5 * 160 + 7], buttonLatch[ButtonA], frameCounter}; }

using FrameLoopTest = GameTest;

TEST_F(FrameLoopTest, SampleThenPresentThenClearThenCount) {
    FrameBuffer[5 * kScreenWidth + 7] = Colour(14);  // as if the screen had drawn it
    SetButtonKey(ButtonA, true);
    frameCounter = 41;
    RunOneFrame(RecordPresent);
    // Shown before the clear, the buttons sampled before it is shown, the counter moved after.
    EXPECT_EQ(presented, Values({Colour(14), 1, 41}));
    EXPECT_EQ(frameCounter, 42);
    EXPECT_EQ(Snapshot(), Picture(160 * 120, Colour(0)));
    Values seen;
    for (int32_t i = 0; i < 242; i++) seen.push_back(frameCounter), Frames(1);
    for (int32_t i = 0; i < 242; i++) ASSERT_EQ(seen[i], (i + 42) % 120);
}

TEST_F(FrameLoopTest, ShownFrameSavesAsAnExactPng) {
    for (int32_t i = 0; i < kScreenWidth * kScreenHeight; i++) FrameBuffer[i] = Colour(i % 16);
    Frames(1);
    const std::string path = TestFramePath("frame_test_palette");
    ASSERT_TRUE(SaveShownFrame(path.c_str(), 2));
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str()));
    image.format = PNG_FORMAT_RGB;
    std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
    ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr));
    ASSERT_EQ(Values({static_cast<int32_t>(image.width), static_cast<int32_t>(image.height)}), Values({320, 240}));
    for (int32_t i = 0; i < 320 * 240; i++)
        ASSERT_EQ((rgb[3 * i] >> 3) << 11 | (rgb[3 * i + 1] >> 2) << 5 | rgb[3 * i + 2] >> 3,
                  Colour((i / 640 * 160 + i % 320 / 2) % 16)) << i;
}

}  // namespace
