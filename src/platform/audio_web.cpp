// Sound effects and music in the browser, played through Web Audio instead of SDL_mixer
// (the tables and switches are the desktop's: sounds.cpp). The page fetches the sounds
// compressed (data/NAME.ogg, made from data/NAME.wav at build time), has the browser
// decode them before the game starts, and opens the audio on the player's first gesture;
// this file plays them as SDL_mixer would: effects on the first free of eight channels,
// dropped when all eight are busy, and one music track that loops with no seam until it
// is halted.
#include "platform/audio.h"

#include <emscripten.h>

// A loaded sound or track is the number of its decoded buffer in the page's mixer.
struct Mix_Chunk {
    int32_t buffer;
};
struct _Mix_Music {
    int32_t buffer;
};

// The mixer, as the page's Module.mixer: the audio context the page opened (none when
// the browser has no Web Audio), the buffers by number, SDL_mixer's default eight
// effect channels, the music track playing, and how often each sound was started (the
// page's tests read these). While the page is hidden the whole context is suspended,
// so effects and music pause where they are and go on when it is shown.
EM_JS(void, OpenMixer, (), {
    const context = Module.audioContext || null;
    const mixer = {context: context, buffers: [null], channels: new Array(8).fill(null), music: null, played: {}};
    if (context) {
        mixer.output = context.createGain();
        mixer.output.connect(context.destination);
        document.addEventListener("visibilitychange", () => {
            if (document.hidden) context.suspend();
            else context.resume();
        });
    }
    Module.mixer = mixer;
});

// The number of the decoded sound data/NAME.wav stands for, 0 when there is none (a
// file that could not be fetched or decoded, or no Web Audio): the sound stays silent.
EM_JS(int, LoadBuffer, (const char* path), {
    const mixer = Module.mixer;
    const name = UTF8ToString(path).split("/").pop().replace(/[.]wav$/, "");
    const buffer = Module.sounds && Module.sounds[name];
    if (!mixer.context || !buffer) return 0;
    mixer.buffers.push({name: name, buffer: buffer});
    return mixer.buffers.length - 1;
});

EM_JS(void, PlayOnFreeChannel, (int number), {
    const mixer = Module.mixer;
    const channel = mixer.channels.indexOf(null);
    if (channel < 0) return;
    const sound = mixer.buffers[number];
    const source = mixer.context.createBufferSource();
    source.buffer = sound.buffer;
    source.connect(mixer.output);
    source.onended = () => { if (mixer.channels[channel] === source) mixer.channels[channel] = null; };
    mixer.channels[channel] = source;
    mixer.played[sound.name] = (mixer.played[sound.name] || 0) + 1;
    source.start();
});

EM_JS(void, LoopMusic, (int number), {
    const mixer = Module.mixer;
    const source = mixer.context.createBufferSource();
    source.buffer = mixer.buffers[number].buffer;
    source.loop = true;
    source.connect(mixer.output);
    source.start();
    mixer.music = {name: mixer.buffers[number].name, source: source};
});

EM_JS(void, HaltMusic, (), {
    const mixer = Module.mixer;
    if (mixer && mixer.music) {
        mixer.music.source.stop();
        mixer.music.source.disconnect();
        mixer.music = null;
    }
});

// Forgets a buffer, first stopping whatever plays it, as SDL_mixer halts the channels
// of a chunk it frees.
EM_JS(void, ReleaseBuffer, (int number), {
    const mixer = Module.mixer;
    if (!mixer || !mixer.buffers[number]) return;
    mixer.channels.forEach((source, channel) => {
        if (source && source.buffer === mixer.buffers[number].buffer) {
            source.stop();
            mixer.channels[channel] = null;
        }
    });
    if (mixer.music && mixer.music.source.buffer === mixer.buffers[number].buffer) {
        mixer.music.source.stop();
        mixer.music = null;
    }
    mixer.buffers[number] = null;
});

static Mix_Chunk chunks[kSoundCount];
static _Mix_Music tracks[kMusicCount];

void StartChunk(int32_t n) {
    if (sounds[n] != nullptr) PlayOnFreeChannel(sounds[n]->buffer);
}

void HaltTrack() { HaltMusic(); }

void LoopTrack(int32_t i) {
    if (musicTracks[i] != nullptr) LoopMusic(musicTracks[i]->buffer);
}

void LoadAudio() {
    OpenMixer();
    for (int32_t n = 0; n < kSoundCount; n++) {
        chunks[n].buffer = LoadBuffer(soundFiles[n]);
        sounds[n] = chunks[n].buffer != 0 ? &chunks[n] : nullptr;
    }
    for (int32_t i = 0; i < kMusicCount; i++) {
        tracks[i].buffer = LoadBuffer(musicFiles[i]);
        musicTracks[i] = tracks[i].buffer != 0 ? &tracks[i] : nullptr;
    }
}

void FreeAudio() {
    for (int32_t n = 0; n < kSoundCount; n++) {
        if (sounds[n] != nullptr) ReleaseBuffer(sounds[n]->buffer);
        sounds[n] = nullptr;
    }
    for (int32_t i = 0; i < kMusicCount; i++) {
        if (musicTracks[i] != nullptr) ReleaseBuffer(musicTracks[i]->buffer);
        musicTracks[i] = nullptr;
    }
}
