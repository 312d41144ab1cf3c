// The handhelds' mixer: the few SDL_mixer calls the game and its tests make, played by
// a small mixer of our own on SDL2's audio (src/platform/mixer_sdl2.cpp), so that the
// handheld port needs no SDL_mixer and none of the codec libraries it pulls in. The
// game's sound rules (src/platform/audio.cpp) are the same on every platform; what is
// heard is what SDL_mixer 1.2 plays for them: eight channels, a sound on the first
// free one (or not at all), one music track looping, music first and each channel then
// added on with clipping, at full volume.
//
// Sounds and tracks are WAV files in any form SDL2 reads; they are converted once, at
// loading, to the format the device was opened with.
#pragma once
#include <SDL.h>

struct Mix_Chunk;
typedef struct _Mix_Music Mix_Music;

#define MIX_CHANNELS 8

extern "C" {

// Opens the sound device (starting SDL's sound first when it is not running yet) and
// starts mixing; the mixer counts its openings, and a second one only counts. 0 when
// open, -1 with SDL's error set when not.
int Mix_OpenAudio(int frequency, Uint16 format, int channels, int chunksize);

// Takes back one opening; the last one stops every sound and the music and closes
// the device.
void Mix_CloseAudio();

// How many openings are outstanding (0: closed), and the format of the open device.
// Any pointer may be null.
int Mix_QuerySpec(int* frequency, Uint16* format, int* channels);

// The music's volume, 0 to 128 (the default), applied to what follows.
int Mix_VolumeMusic(int volume);

// A sound read from src (closed afterwards when freesrc is 1), converted for the open
// device; null when no device is open or src is no WAV file SDL can read.
Mix_Chunk* Mix_LoadWAV_RW(SDL_RWops* src, int freesrc);

// A music track read from src (left open: it stays the caller's), converted for the
// device's format (the one asked for when none is open yet); null when src is null or
// no WAV file SDL can read.
Mix_Music* Mix_LoadMUS_RW(SDL_RWops* src);

// Stop whatever channel plays the sound, or the music if it is that track, and free it.
// Null does nothing.
void Mix_FreeChunk(Mix_Chunk* chunk);
void Mix_FreeMusic(Mix_Music* music);

// Plays chunk on channel (-1: the first free one) loops + 1 times. Only whole plays
// (ticks -1) and one play (loops 0) are supported, as the game asks for nothing else.
// The channel, or -1 when the chunk is null, no device is open or every channel plays.
int Mix_PlayChannelTimed(int channel, Mix_Chunk* chunk, int loops, int ticks);

// Starts music from its start, in place of any track playing, looping for ever when
// loops is -1 (else once). -1, leaving the music as it was, when music is null or no
// device is open.
int Mix_PlayMusic(Mix_Music* music, int loops);

int Mix_HaltMusic();

// The number of channels playing (channel -1), or whether that channel plays.
int Mix_Playing(int channel);

// 1 while a track plays.
int Mix_PlayingMusic();
}

// Mixes the next len bytes of what the music and the channels play into stream, as the
// device's thread asks for them (the device is SDL's first, opened with SDL_OpenAudio).
// Tests pause the device (SDL_PauseAudio(1)) and call it themselves.
void MixInto(Uint8* stream, int len);
