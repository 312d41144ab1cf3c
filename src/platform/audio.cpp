#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>

#include "platform/messages.h"

const char* const soundFiles[kSoundCount] = {
    "./data/beep.wav",  "./data/click.wav",    "./data/shoot.wav", "./data/miss.wav",
    "./data/hit.wav",   "./data/whirl.wav",    "./data/gameover.wav", "./data/money.wav",
    "./data/nextlevel.wav", "./data/talk1.wav", "./data/talk2.wav", "./data/talk3.wav",
};
Mix_Chunk* sounds[kSoundCount];
const char* const musicFiles[kMusicCount] = {"./data/menu.wav", "./data/ingame.wav", "./data/danger.wav"};
Mix_Music* musicTracks[kMusicCount];

bool sfxOn = true;
bool musicOn = true;
int32_t currentMusic = -1;

void (*soundStarted)(int32_t n);
void (*musicStarted)(int32_t i);
void (*musicHalted)();

void PlaySound(int32_t n) {
    if (!sfxOn) return;
    Mix_PlayChannelTimed(-1, sounds[n], 0, -1);
    if (soundStarted != nullptr) soundStarted(n);
}

void StopMusic() {
    Mix_HaltMusic();
    if (musicHalted != nullptr) musicHalted();
}

void PlayMusic(int32_t i) {
    if (!musicOn) {
        StopMusic();
        return;
    }
    if (currentMusic == i) return;
    StopMusic();
    currentMusic = i;
    Mix_PlayMusic(musicTracks[i], -1);
    if (musicStarted != nullptr) musicStarted(i);
}

void LoadAudio() {
    // Without a sound card the game plays on in silence, after one line that says so.
    HoldLibraryMessages();
    const bool opened = Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) == 0;
    ReleaseLibraryMessages(opened);
    if (!opened) std::fprintf(stderr, "quillbarrow: playing without sound: %s\n", SDL_GetError());
    Mix_VolumeMusic(128);
    for (int32_t n = 0; n < kSoundCount; n++) sounds[n] = Mix_LoadWAV_RW(SDL_RWFromFile(soundFiles[n], "rb"), 1);
    for (int32_t i = 0; i < kMusicCount; i++) musicTracks[i] = Mix_LoadMUS(musicFiles[i]);
}

void FreeAudio() {
    for (int32_t n = 0; n < kSoundCount; n++) {
        Mix_FreeChunk(sounds[n]);
        sounds[n] = nullptr;
    }
    for (int32_t i = 0; i < kMusicCount; i++) {
        Mix_FreeMusic(musicTracks[i]);
        musicTracks[i] = nullptr;
    }
}
