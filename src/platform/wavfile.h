// The sound files' own check: a WAV file is read whole and its structure checked before
// any sound library sees it, so that a damaged or hostile file can neither stop the
// boot nor take the machine's memory; one that fails is treated as a missing sound.
// Nothing here calls SDL, so every platform layer can use it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

// The largest sound file read, in bytes: three minutes of 16-bit stereo at 22050 Hz,
// ten times the game's longest track. With the check's rates, channels and sample
// sizes, an effect converted for the mixer takes at most eleven times that.
constexpr size_t kMaxWavBytes = 16 << 20;

// Whether bytes hold a WAV file that SDL_mixer's loaders take safely: "RIFF", a size
// within the file, "WAVE", then chunks each lying wholly inside it and of even length:
// only "fact" or "LIST" chunks before the one "fmt " chunk (at least 16 bytes: plain
// PCM, 1 or 2 channels, 8 or 16 bits, 8000 to 96000 samples a second, the block size
// and byte rate those make), any chunks after it, and a "data" chunk of whole sample
// frames, at least one.
bool IsPlayableWav(const uint8_t* bytes, size_t size);

// Reads path whole into *bytes and checks it; false, with *bytes empty, for anything but
// a plain file of at most kMaxWavBytes holding a playable WAV. A pipe or a device is
// never opened for reading, and nothing waits.
bool ReadWavFile(const char* path, std::vector<uint8_t>* bytes);
