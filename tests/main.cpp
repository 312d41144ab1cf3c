// The test runner: everything runs headless, whatever the machine has.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/frame.h"
#include "platform/video.h"

int main(int argc, char** argv) {
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    // Any test that runs the boot frame reads (and on a first run writes) the score file:
    // keep it in a folder of this run's own, never in anybody's home or the tree.
    char pattern[] = "/tmp/quillbarrow-tests-XXXXXX";
    const std::string home = mkdtemp(pattern);
    saveDir = home + "/.Quillbarrow/";
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    // A test that ran the boot frame opened the sound device: close it, so the mixer's
    // thread stops before the libraries it runs in are unloaded at exit.
    ShutDown();
    std::filesystem::remove_all(home);
    return result;
}
