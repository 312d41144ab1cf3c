// Sound effects and music: twelve WAV chunks and three looping tracks read from ./data.
// Every missing file or device just stays silent.
#pragma once
#include <cstdint>

struct Mix_Chunk;
struct _Mix_Music;

// Sound numbers, in the order of the sound table.
enum : int32_t {
    SoundBeep = 0,
    SoundClick = 1,
    SoundShoot = 2,
    SoundMiss = 3,
    SoundHit = 4,
    SoundWhirl = 5,
    SoundGameOver = 6,
    SoundMoney = 7,
    SoundNextLevel = 8,
    SoundTalk1 = 9,
    SoundTalk2 = 10,
    SoundTalk3 = 11,
};
constexpr int32_t kSoundCount = 12;

// Music track numbers.
enum : int32_t { MusicMenu = 0, MusicInGame = 1, MusicDanger = 2 };
constexpr int32_t kMusicCount = 3;

extern const char* const soundFiles[kSoundCount];
extern Mix_Chunk* sounds[kSoundCount];
extern const char* const musicFiles[kMusicCount];
extern _Mix_Music* musicTracks[kMusicCount];

// The two switches of the title menu; both start on at every run and are never saved.
extern bool sfxOn;
extern bool musicOn;

// The track last started, -1 for none (at start and after music is switched off).
extern int32_t currentMusic;

// Plays sound n once on a free channel, while effects are on.
void PlaySound(int32_t n);

// Starts track i looping for ever, unless it is already the current one; with music
// off it only stops the music.
void PlayMusic(int32_t i);

// Halts the music without forgetting which track was current.
void StopMusic();

// Opens the audio device and loads every sound and track (the boot screen does this).
// A file that is missing, not a plain file, or damaged (see wavfile.h) stays silent.
// It frees nothing: whoever boots the game twice in one process (the soak, the tests)
// releases the first boot's sounds with FreeAudio before the next.
void LoadAudio();

// Releases every sound and track, in table order, and forgets them (at shutdown).
void FreeAudio();

// Listeners told of every effect played while effects are on (whether or not its file
// loaded), every track started and every halt of the music: the replay tool logs them
// and tests read them. Null when unused.
extern void (*soundStarted)(int32_t n);
extern void (*musicStarted)(int32_t i);
extern void (*musicHalted)();

// The playing, as each platform does it: sound n once on the first free channel (a sound
// that did not load stays silent), halting the music, and track i looping for ever.
void StartChunk(int32_t n);
void HaltTrack();
void LoopTrack(int32_t i);
