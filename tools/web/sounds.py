#!/usr/bin/python3
"""The browser's sounds: each WAV of data/ as Ogg Vorbis, and the table of their lengths.

    tools/web/sounds.py encode WAV OGG      encodes one sound (needs oggenc)
    tools/web/sounds.py lengths WAV...      prints {"NAME": [samples, rate], ...} as JSON

Browsers decode Ogg Vorbis themselves, but Chromium drops up to one block (a few
hundred samples) at the end of a stream. So each sound is encoded with 2048 samples of
silence after it, and the page cuts what the browser decoded back to the WAV's own
length from the table: effects keep their last samples and their length (the time they
hold a mixing channel), and each music track loops at exactly its length, on the beat.
Quality 2 is about 48 kbit/s for the game's 22050 Hz mono sounds; a fixed stream serial
number makes the same WAV give the same file at every build.
"""

import io
import json
import os
import subprocess
import sys
import wave

PADDING = 2048  # samples of silence after each sound, more than a Vorbis block


def encode(wav_path, ogg_path):
    with wave.open(wav_path, "rb") as wav:
        params = wav.getparams()
        frames = wav.readframes(wav.getnframes())
    padded = io.BytesIO()
    with wave.open(padded, "wb") as out:
        out.setparams(params)
        silence = b"\x80" if params.sampwidth == 1 else bytes(params.sampwidth)  # 8-bit samples are unsigned
        out.writeframes(frames + silence * (PADDING * params.nchannels))
    subprocess.run(["oggenc", "--quiet", "--quality", "2", "--serial", "1", "--output", ogg_path, "-"],
                   input=padded.getvalue(), check=True)


def lengths(wav_paths):
    table = {}
    for path in sorted(wav_paths):
        with wave.open(path, "rb") as wav:
            table[os.path.splitext(os.path.basename(path))[0]] = [wav.getnframes(), wav.getframerate()]
    return table


def main():
    if len(sys.argv) == 4 and sys.argv[1] == "encode":
        encode(sys.argv[2], sys.argv[3])
    elif len(sys.argv) >= 2 and sys.argv[1] == "lengths":
        print(json.dumps(lengths(sys.argv[2:]), separators=(",", ":")))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
