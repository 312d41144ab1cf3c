// The handhelds' mixer on SDL2's audio: what src/platform/sdl2/SDL_mixer.h promises.
// The device is SDL's first (SDL_OpenAudio), and SDL converts what we mix to whatever
// the sound card takes, so the mixer works in one format only: the one the game asks
// for (22050 Hz, 16-bit, stereo). Everything the device's thread reads is changed only
// with the device locked.
#include <SDL_mixer.h>

#include <algorithm>
#include <cstddef>
#include <vector>

// A sound or a track, converted at loading to the device's format.
struct Mix_Chunk {
    std::vector<Uint8> data;
};
struct _Mix_Music {
    std::vector<Uint8> data;
};

namespace {

int openings;         // Mix_OpenAudio calls not yet taken back; 0 while closed
SDL_AudioSpec spec;   // the device's format, while open
const Mix_Chunk* channelChunk[MIX_CHANNELS];  // what each channel plays; null when free
size_t channelAt[MIX_CHANNELS];               // bytes of it played so far
const Mix_Music* music;                       // the track playing, or null
size_t musicAt;                               // bytes of it played so far
bool musicLoops;
int musicVolume = SDL_MIX_MAXVOLUME;

void MixCallback(void*, Uint8* stream, int len) {
    MixInto(stream, len);
}

// Changes to what the device's thread reads are made between two of its turns.
void Lock() {
    if (openings > 0) SDL_LockAudio();
}
void Unlock() {
    if (openings > 0) SDL_UnlockAudio();
}

// Reads the WAV file in src and converts it to frequency, format and channels. The
// game's own sounds (16-bit mono at the device's rate) are only doubled into stereo, as
// SDL_mixer 1.2 did, sample for sample; SDL2's converter, which would take any other
// form, works in floating point and moves many samples by one.
bool LoadConverted(SDL_RWops* src, int freesrc, int frequency, Uint16 format, int channels,
                   std::vector<Uint8>* data) {
    SDL_AudioSpec wav;
    Uint8* samples;
    Uint32 length;
    if (SDL_LoadWAV_RW(src, freesrc, &wav, &samples, &length) == nullptr) return false;
    const size_t frameSize = SDL_AUDIO_BITSIZE(format) / 8 * static_cast<size_t>(channels);
    bool converted = true;
    if (wav.format == format && wav.freq == frequency && wav.channels == channels) {
        data->assign(samples, samples + length);
    } else if (wav.format == format && wav.freq == frequency && wav.channels == 1 && channels == 2) {
        const size_t sampleSize = frameSize / 2;
        data->resize(length / sampleSize * frameSize);
        for (size_t i = 0; i < length / sampleSize; i++) {
            std::copy(samples + i * sampleSize, samples + (i + 1) * sampleSize, data->begin() + i * frameSize);
            std::copy(samples + i * sampleSize, samples + (i + 1) * sampleSize, data->begin() + i * frameSize + sampleSize);
        }
    } else {
        SDL_AudioCVT cvt;
        converted = SDL_BuildAudioCVT(&cvt, wav.format, wav.channels, wav.freq, format, static_cast<Uint8>(channels),
                                      frequency) >= 0;
        if (converted) {
            data->assign(static_cast<size_t>(length) * static_cast<size_t>(cvt.len_mult), 0);
            std::copy(samples, samples + length, data->begin());
            cvt.buf = data->data();
            cvt.len = static_cast<int>(length);
            converted = SDL_ConvertAudio(&cvt) == 0;
            data->resize(static_cast<size_t>(cvt.len_cvt));
        }
    }
    SDL_FreeWAV(samples);
    data->resize(data->size() / frameSize * frameSize);  // whole frames only
    return converted;
}

// Adds as much of data as fits, from *at on, into stream at volume; moves *at on.
// Returns the bytes mixed.
int MixSome(Uint8* stream, int len, const std::vector<Uint8>& data, size_t* at, int volume) {
    const int count = static_cast<int>(std::min(static_cast<size_t>(len), data.size() - *at));
    SDL_MixAudioFormat(stream, data.data() + *at, spec.format, static_cast<Uint32>(count), volume);
    *at += static_cast<size_t>(count);
    return count;
}

}  // namespace

void MixInto(Uint8* stream, int len) {
    SDL_memset(stream, spec.silence, static_cast<size_t>(len));
    // The music first, from its start again whenever a looping track runs out.
    for (int done = 0; music != nullptr && done < len;) {
        done += MixSome(stream + done, len - done, music->data, &musicAt, musicVolume);
        if (musicAt == music->data.size()) {
            musicAt = 0;
            if (!musicLoops || music->data.empty()) music = nullptr;
        }
    }
    // Then each channel, at full volume, freed when its sound is over.
    for (int c = 0; c < MIX_CHANNELS; c++) {
        if (channelChunk[c] == nullptr) continue;
        MixSome(stream, len, channelChunk[c]->data, &channelAt[c], SDL_MIX_MAXVOLUME);
        if (channelAt[c] == channelChunk[c]->data.size()) channelChunk[c] = nullptr;
    }
}

int Mix_OpenAudio(int frequency, Uint16 format, int channels, int chunksize) {
    if (openings > 0) {
        openings++;
        return 0;
    }
    if (SDL_WasInit(SDL_INIT_AUDIO) == 0 && SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return -1;
    SDL_AudioSpec wanted = {};
    wanted.freq = frequency;
    wanted.format = format;
    wanted.channels = static_cast<Uint8>(channels);
    wanted.samples = static_cast<Uint16>(chunksize);
    wanted.callback = MixCallback;
    // With no format asked back, SDL converts from this one to the card's.
    if (SDL_OpenAudio(&wanted, nullptr) != 0) return -1;
    spec = wanted;
    std::fill(std::begin(channelChunk), std::end(channelChunk), nullptr);
    music = nullptr;
    openings = 1;
    SDL_PauseAudio(0);
    return 0;
}

void Mix_CloseAudio() {
    if (openings == 0 || --openings > 0) return;
    SDL_CloseAudio();
    std::fill(std::begin(channelChunk), std::end(channelChunk), nullptr);
    music = nullptr;
}

int Mix_QuerySpec(int* frequency, Uint16* format, int* channels) {
    if (openings > 0) {
        if (frequency != nullptr) *frequency = spec.freq;
        if (format != nullptr) *format = spec.format;
        if (channels != nullptr) *channels = spec.channels;
    }
    return openings;
}

int Mix_VolumeMusic(int volume) {
    const int was = musicVolume;
    if (volume >= 0) {
        Lock();
        musicVolume = std::min(volume, SDL_MIX_MAXVOLUME);
        Unlock();
    }
    return was;
}

Mix_Chunk* Mix_LoadWAV_RW(SDL_RWops* src, int freesrc) {
    if (openings == 0) {
        if (freesrc != 0 && src != nullptr) src->close(src);  // SDL_RWclose is a function only from SDL 2.0.10
        SDL_SetError("Audio device hasn't been opened");
        return nullptr;
    }
    Mix_Chunk* chunk = new Mix_Chunk;
    if (LoadConverted(src, freesrc, spec.freq, spec.format, spec.channels, &chunk->data)) return chunk;
    delete chunk;
    return nullptr;
}

Mix_Music* Mix_LoadMUS_RW(SDL_RWops* src) {
    // Before the device opens, tracks take the format the game will open it with. The
    // track is converted whole at once, so it no longer needs src, which stays the caller's.
    const bool open = openings > 0;
    Mix_Music* track = new Mix_Music;
    if (LoadConverted(src, 0, open ? spec.freq : 22050, open ? spec.format : AUDIO_S16LSB, open ? spec.channels : 2,
                      &track->data))
        return track;
    delete track;
    return nullptr;
}

void Mix_FreeChunk(Mix_Chunk* chunk) {
    if (chunk == nullptr) return;
    Lock();
    for (const Mix_Chunk*& playing : channelChunk)
        if (playing == chunk) playing = nullptr;
    Unlock();
    delete chunk;
}

void Mix_FreeMusic(Mix_Music* track) {
    if (track == nullptr) return;
    Lock();
    if (music == track) music = nullptr;
    Unlock();
    delete track;
}

int Mix_PlayChannelTimed(int channel, Mix_Chunk* chunk, int, int) {
    if (chunk == nullptr || openings == 0) return -1;
    Lock();
    if (channel == -1)
        channel = static_cast<int>(std::find(std::begin(channelChunk), std::end(channelChunk), nullptr) -
                                   std::begin(channelChunk));
    const bool playing = channel >= 0 && channel < MIX_CHANNELS;
    if (playing) {
        channelChunk[channel] = chunk;
        channelAt[channel] = 0;
    }
    Unlock();
    return playing ? channel : -1;
}

int Mix_PlayMusic(Mix_Music* track, int loops) {
    if (track == nullptr || openings == 0) return -1;
    Lock();
    music = track;
    musicAt = 0;
    musicLoops = loops == -1;
    Unlock();
    return 0;
}

int Mix_HaltMusic() {
    Lock();
    music = nullptr;
    Unlock();
    return 0;
}

int Mix_Playing(int channel) {
    if (channel >= 0 && channel < MIX_CHANNELS) return channelChunk[channel] != nullptr ? 1 : 0;
    return static_cast<int>(MIX_CHANNELS - std::count(std::begin(channelChunk), std::end(channelChunk), nullptr));
}

int Mix_PlayingMusic() {
    return music != nullptr ? 1 : 0;
}
