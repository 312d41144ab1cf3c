"""Writes every sound and music track of Quillbarrow.

    /usr/bin/python3 tools/sound/synth.py data            all fifteen files
    /usr/bin/python3 tools/sound/synth.py data hit menu   only those

Files are 22050 Hz, 16-bit, mono WAV. The same command always writes the same
bytes: every effect draws its noise from its own fixed seed below, and every
voice of the music from the seed it is given in tunes.py.
"""

import os
import random
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
if HERE not in sys.path:
    sys.path.insert(0, HERE)

import effects  # noqa: E402
import tunes  # noqa: E402
from dsp import fade_edges, from_db, loudness, peak, to_pcm16, write_wav  # noqa: E402
from sequencer import render_song  # noqa: E402

# How loud every effect is made, by the measure of dsp.loudness, and the
# highest any peak may go (both dBFS). The trims set the small differences on
# purpose: the cursor, tick and voice sounds come often and sit a little back of
# the cannon, yet all stand 6 dB or more over the music (see tunes.MUSIC_LEVEL;
# check.py measures the mix).
EFFECT_LOUDNESS = -13.0
EFFECT_PEAK = -1.0

# name, how it is made, seed of its noise, trim in dB
EFFECTS = [
    ("beep", effects.beep, 101, -0.5),
    ("click", effects.click, 102, -0.5),
    ("shoot", effects.shoot, 103, 0.0),
    ("miss", effects.miss, 104, -1.0),
    ("hit", effects.hit, 105, 0.0),
    ("whirl", effects.whirl, 106, 0.0),
    ("gameover", effects.gameover, 107, -1.0),
    ("money", effects.money, 108, -0.5),
    ("nextlevel", effects.nextlevel, 109, 0.0),
    ("talk1", effects.talk1, 110, -1.5),
    ("talk2", effects.talk2, 111, -0.5),
    ("talk3", effects.talk3, 112, -1.5),
]

SONGS = {song.name: song for song in tunes.SONGS}
NAMES = [e[0] for e in EFFECTS] + [s.name for s in tunes.SONGS]


def finish_effect(x, trim_db):
    """Edges faded to silence, loudness set, and never above EFFECT_PEAK."""
    x = fade_edges(x, fade_in=0.002, fade_out=0.012)
    gain = from_db(EFFECT_LOUDNESS + trim_db - loudness(x))
    top = peak(x) * gain
    if top > from_db(EFFECT_PEAK):
        gain *= from_db(EFFECT_PEAK) / top
    return [v * gain for v in x]


def make(name):
    """The samples of one sound or track, as 16-bit integers."""
    for effect_name, fn, seed, trim in EFFECTS:
        if effect_name == name:
            return to_pcm16(finish_effect(fn(random.Random(seed)), trim))
    return to_pcm16(render_song(SONGS[name]))


def main(argv):
    if len(argv) < 2:
        print(__doc__)
        return 2
    out = argv[1]
    names = argv[2:] or NAMES
    unknown = [n for n in names if n not in NAMES]
    if unknown:
        print("unknown sound: " + ", ".join(unknown))
        return 2
    os.makedirs(out, exist_ok=True)
    for name in names:
        write_wav(os.path.join(out, name + ".wav"), make(name))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
