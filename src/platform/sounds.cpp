// What the desktop's and the browser's sound share: the tables of files, the two switches
// and when an effect or a track starts. The playing itself is each platform's own:
// audio.cpp through SDL_mixer, audio_web.cpp through Web Audio.
#include "platform/audio.h"

const char* const soundFiles[kSoundCount] = {
    "./data/beep.wav",  "./data/click.wav",    "./data/shoot.wav", "./data/miss.wav",
    "./data/hit.wav",   "./data/whirl.wav",    "./data/gameover.wav", "./data/money.wav",
    "./data/nextlevel.wav", "./data/talk1.wav", "./data/talk2.wav", "./data/talk3.wav",
};
Mix_Chunk* sounds[kSoundCount];
const char* const musicFiles[kMusicCount] = {"./data/menu.wav", "./data/ingame.wav", "./data/danger.wav"};
_Mix_Music* musicTracks[kMusicCount];

bool sfxOn = true;
bool musicOn = true;
int32_t currentMusic = -1;

void (*soundStarted)(int32_t n);
void (*musicStarted)(int32_t i);
void (*musicHalted)();

void PlaySound(int32_t n) {
    if (!sfxOn) return;
    StartChunk(n);
    if (soundStarted != nullptr) soundStarted(n);
}

void StopMusic() {
    HaltTrack();
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
    LoopTrack(i);
    if (musicStarted != nullptr) musicStarted(i);
}
