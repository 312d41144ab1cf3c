// Sound effects and music: the files load, the switches gate them, the current track is
// never restarted, and the libraries' complaints during start-up are held back unless
// they are wanted. (Without sound files or a device the game plays on: environment_test.)
#include <SDL.h>
#include <SDL_mixer.h>
#include <unistd.h>

#include <algorithm>

#include "platform/messages.h"
#include "test_support.h"

// Every call the game makes to free a sound or a track, in order ("chunk" or "music" and
// the handle). The suite is linked with these in place of SDL_mixer's own, which they
// call in turn.
std::vector<std::pair<std::string, const void*>> freed;
extern "C" void __real_Mix_FreeChunk(Mix_Chunk* chunk);
extern "C" void __real_Mix_FreeMusic(Mix_Music* music);
extern "C" void __wrap_Mix_FreeChunk(Mix_Chunk* chunk) {
    freed.emplace_back("chunk", chunk);
    __real_Mix_FreeChunk(chunk);
}
extern "C" void __wrap_Mix_FreeMusic(Mix_Music* music) {
    freed.emplace_back("music", music);
    __real_Mix_FreeMusic(music);
}

namespace {

using AudioTest = GameTest;

TEST_F(AudioTest, EveryFileLoadsAndPlaysAsTheSwitchesAllow) {
    while (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0) Mix_CloseAudio();  // whatever earlier tests opened
    // A boot loads and frees nothing; only shutdown frees, each sound and then each track
    // once, in table order.
    freed.clear();
    LoadAudio();
    EXPECT_TRUE(freed.empty()) << freed.size() << " handles freed while loading";
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(Values({frequency, format, channels}), Values({22050, AUDIO_S16LSB, 2}));
    // Effects play while they are switched on.
    sfxOn = false;
    PlaySound(SoundBeep);
    EXPECT_EQ(Mix_Playing(-1), 0);
    sfxOn = true;
    PlaySound(SoundBeep);
    EXPECT_EQ(Mix_Playing(-1), 1);
    PlayMusic(MusicMenu);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    PlayMusic(MusicMenu);  // asked again (as callers may every frame): nothing happens
    EXPECT_EQ(currentMusic, MusicMenu);
    PlayMusic(MusicDanger);
    EXPECT_EQ(Heard(), (std::vector<std::string>{"beep", "stop", "music menu", "stop", "music danger"}));
    // Music off: a request only stops the music and keeps the current track. Stopped
    // outright, the track stays current: asking for it again does not restart it, another
    // track does.
    musicOn = false;
    PlayMusic(MusicInGame);
    EXPECT_EQ(Values({Mix_PlayingMusic(), currentMusic}), Values({0, MusicDanger}));
    musicOn = true;
    PlayMusic(MusicDanger);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    PlayMusic(MusicInGame);
    EXPECT_EQ(Values({Mix_PlayingMusic(), currentMusic}), Values({1, MusicInGame}));
    EXPECT_EQ(Heard(), (std::vector<std::string>{"stop", "stop", "music ingame"}));
    std::vector<std::pair<std::string, const void*>> expected;
    for (int32_t n = 0; n < kSoundCount; n++) expected.emplace_back("chunk", sounds[n]);
    for (int32_t i = 0; i < kMusicCount; i++) expected.emplace_back("music", musicTracks[i]);
    FreeAudio();
    EXPECT_EQ(freed, expected);
    Mix_CloseAudio();
}

TEST(LibraryMessagesTest, HeldLinesArePassedOnOnlyWhenAskedInTheOrderWritten) {
    for (const auto& [passOn, shown] : {std::pair{true, "before\nheld by stdio\nheld by a raw write\nafter\n"},
                                        {false, "before\nafter\n"}}) {
        testing::internal::CaptureStderr();
        std::fprintf(stderr, "before\n");
        HoldLibraryMessages();
        std::fprintf(stderr, "held by stdio\n");
        ASSERT_EQ(write(STDERR_FILENO, "held by a raw write\n", 20), 20);
        ReleaseLibraryMessages(passOn);
        std::fprintf(stderr, "after\n");
        EXPECT_EQ(testing::internal::GetCapturedStderr(), shown);
    }
}

}  // namespace
