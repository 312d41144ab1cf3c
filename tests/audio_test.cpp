// Sound effects and music: the files load, the switches gate them, the current track is
// never restarted, and a missing data folder leaves the game silent but running.
#include <SDL.h>
#include <SDL_mixer.h>
#include <stdlib.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "platform/audio.h"
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

// Every effect started, track started ("m" and its number) and halt ("halt"), in order.
std::vector<std::string> played;
void SoundPlayed(int32_t n) { played.push_back(std::to_string(n)); }
void MusicPlayed(int32_t i) { played.push_back("m" + std::to_string(i)); }
void MusicHalted() { played.push_back("halt"); }

class AudioTest : public GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        played.clear();
        soundStarted = SoundPlayed;
        musicStarted = MusicPlayed;
        musicHalted = MusicHalted;
        sfxOn = 1;
        musicOn = 1;
        currentMusic = -1;
    }
    void TearDown() override {
        FreeAudio();
        Mix_CloseAudio();
        soundStarted = nullptr;
        musicStarted = nullptr;
        musicHalted = nullptr;
    }
    std::vector<std::string> Played() {
        std::vector<std::string> p = played;
        played.clear();
        return p;
    }
};

TEST_F(AudioTest, EveryFileLoadsAndPlaysAsTheSwitchesAllow) {
    // A boot loads and frees nothing; only shutdown frees, each sound and then each track
    // once, in table order.
    freed.clear();
    LoadAudio();
    EXPECT_TRUE(freed.empty()) << freed.size() << " handles freed while loading";
    int frequency = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_EQ(Mix_QuerySpec(&frequency, &format, &channels), 1);
    EXPECT_EQ(frequency, 22050);
    EXPECT_EQ(format, AUDIO_S16LSB);
    EXPECT_EQ(channels, 2);
    for (int32_t n = 0; n < kSoundCount; n++) EXPECT_NE(sounds[n], nullptr) << soundFiles[n];
    for (int32_t i = 0; i < kMusicCount; i++) EXPECT_NE(musicTracks[i], nullptr) << musicFiles[i];

    // Effects play while they are switched on.
    sfxOn = 0;
    PlaySound(SoundBeep);
    EXPECT_EQ(Mix_Playing(-1), 0);
    sfxOn = 1;
    PlaySound(SoundBeep);
    EXPECT_EQ(Mix_Playing(-1), 1);

    PlayMusic(MusicMenu);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    PlayMusic(MusicMenu);  // asked again (as callers may every frame): nothing happens
    EXPECT_EQ(currentMusic, MusicMenu);
    PlayMusic(MusicDanger);
    EXPECT_EQ(Played(), (std::vector<std::string>{"0", "halt", "m0", "halt", "m2"}));

    // Music off: a request only stops the music and keeps the current track.
    musicOn = 0;
    PlayMusic(MusicInGame);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    EXPECT_EQ(currentMusic, MusicDanger);
    // Stopped outright, the track stays current: asking for it again does not restart it,
    // another track does.
    musicOn = 1;
    PlayMusic(MusicDanger);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    PlayMusic(MusicInGame);
    EXPECT_EQ(Mix_PlayingMusic(), 1);
    EXPECT_EQ(currentMusic, MusicInGame);
    EXPECT_EQ(Played(), (std::vector<std::string>{"halt", "halt", "m1"}));

    std::vector<std::pair<std::string, const void*>> expected;
    for (int32_t n = 0; n < kSoundCount; n++) expected.emplace_back("chunk", sounds[n]);
    for (int32_t i = 0; i < kMusicCount; i++) expected.emplace_back("music", musicTracks[i]);
    FreeAudio();
    EXPECT_EQ(freed, expected);
}

TEST_F(AudioTest, WithoutTheDataFolderEverythingStaysSilent) {
    char here[4096];
    ASSERT_NE(getcwd(here, sizeof here), nullptr);
    char empty[] = "/tmp/quillbarrow-nodata-XXXXXX";
    ASSERT_NE(mkdtemp(empty), nullptr);
    ASSERT_EQ(chdir(empty), 0);

    LoadAudio();
    for (int32_t n = 0; n < kSoundCount; n++) {
        EXPECT_EQ(sounds[n], nullptr);
        PlaySound(n);
    }
    for (int32_t i = 0; i < kMusicCount; i++) {
        EXPECT_EQ(musicTracks[i], nullptr);
        PlayMusic(i);
    }
    EXPECT_EQ(Mix_Playing(-1), 0);
    EXPECT_EQ(Mix_PlayingMusic(), 0);
    FreeAudio();

    ASSERT_EQ(chdir(here), 0);
    rmdir(empty);
}

}  // namespace
