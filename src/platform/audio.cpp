#include "platform/audio.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <vector>

#include "platform/messages.h"
#include "platform/wavfile.h"

// SDL_mixer reads a WAV track from its stream while the track plays, so each track's
// bytes and the stream over them live as long as the track.
static std::vector<uint8_t> musicBytes[kMusicCount];
static SDL_RWops* musicStreams[kMusicCount];

void StartChunk(int32_t n) { Mix_PlayChannelTimed(-1, sounds[n], 0, -1); }

void HaltTrack() { Mix_HaltMusic(); }

void LoopTrack(int32_t i) { Mix_PlayMusic(musicTracks[i], -1); }

void LoadAudio() {
    // Without a sound card the game plays on in silence, after one line that says so.
    HoldLibraryMessages();
    const bool opened = Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024) == 0;
    ReleaseLibraryMessages(opened);
    if (!opened) std::fprintf(stderr, "quillbarrow: playing without sound: %s\n", SDL_GetError());
    Mix_VolumeMusic(128);
    // Every file is read once and checked whole, then handed over from memory: SDL_mixer
    // gets exactly the bytes that were checked, and a file that fails the check stays
    // silent as a missing one does.
    std::vector<uint8_t> bytes;
    for (int32_t n = 0; n < kSoundCount; n++) {
        sounds[n] = ReadWavFile(soundFiles[n], &bytes)
                        ? Mix_LoadWAV_RW(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())), 1)
                        : nullptr;
    }
    for (int32_t i = 0; i < kMusicCount; i++) {
        if (!ReadWavFile(musicFiles[i], &musicBytes[i])) continue;
        musicStreams[i] = SDL_RWFromConstMem(musicBytes[i].data(), static_cast<int>(musicBytes[i].size()));
        musicTracks[i] = Mix_LoadMUS_RW(musicStreams[i]);
    }
}

void FreeAudio() {
    for (int32_t n = 0; n < kSoundCount; n++) {
        Mix_FreeChunk(sounds[n]);
        sounds[n] = nullptr;
    }
    for (int32_t i = 0; i < kMusicCount; i++) {
        Mix_FreeMusic(musicTracks[i]);
        musicTracks[i] = nullptr;
        // The track no longer reads its stream: the stream and its bytes go too.
        if (musicStreams[i] != nullptr) SDL_FreeRW(musicStreams[i]);
        musicStreams[i] = nullptr;
        std::vector<uint8_t>().swap(musicBytes[i]);
    }
}
