// A start without a sound card: the libraries' complaints are held back, and the game
// says in one line of its own that it plays without sound.
#include <SDL.h>
#include <SDL_mixer.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "platform/audio.h"
#include "platform/messages.h"
#include "test_support.h"

namespace {

TEST(LibraryMessagesTest, HeldLinesArePassedOnOnlyWhenAskedInTheOrderWritten) {
    const struct Case { bool passOn; const char* shown; } cases[] = {
        {true, "before\nheld by stdio\nheld by a raw write\nafter\n"},
        {false, "before\nafter\n"},
    };
    for (const Case& c : cases) {
        testing::internal::CaptureStderr();
        std::fprintf(stderr, "before\n");
        HoldLibraryMessages();
        std::fprintf(stderr, "held by stdio\n");
        ASSERT_EQ(write(STDERR_FILENO, "held by a raw write\n", 20), 20);
        ReleaseLibraryMessages(c.passOn);
        std::fprintf(stderr, "after\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), c.shown);
    }
}

TEST(LibraryMessagesTest, NoSoundDeviceIsOneLineAndASilentGame) {
    // Frames that ran the boot screen before this, in the same process, left the device
    // open on the dummy driver.
    int frequency, channels;
    Uint16 format;
    while (Mix_QuerySpec(&frequency, &format, &channels) != 0) Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    setenv("SDL_AUDIODRIVER", "no-such-sound-driver", 1);
    testing::internal::CaptureStderr();
    LoadAudio();
    const std::string said = testing::internal::GetCapturedStderr();
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    EXPECT_EQ(said.rfind("quillbarrow: playing without sound: ", 0), 0u) << said;
    EXPECT_EQ(said.find('\n'), said.size() - 1) << said;
    for (Mix_Chunk* sound : sounds) EXPECT_EQ(sound, nullptr);
    PlaySound(SoundClick);
    FreeAudio();
}

}  // namespace
