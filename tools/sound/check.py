"""Checks the game's sound files.

    /usr/bin/python3 tools/sound/check.py [DIR]
    /usr/bin/python3 tools/sound/check.py --verify-reproducible [DIR]

DIR defaults to the repository's data/. For every sound the game loads it
prints the format, length, peak and RMS level (dBFS), whether anything clips,
for the effects their loudness (dsp.loudness, the measure synth.py sets them by),
and for the three music loops the seam: the step from the last sample to the
first, and the slope change there (how far the first sample lands from where
the last two pointed). Next to them it prints the largest step and slope
change of the music within 10 ms of the seam: a seam no steeper than the
music around it cannot be heard as a click.

Last it prints the mix: the median loudness of each loop in 50 ms windows (RMS),
and for each effect its loudest 50 ms and how far that stands over the loudest
loop's median; and the pitch of the three talk voices.

It fails (exit status 1) when a file is missing or is not 22050 Hz 16-bit
mono, when a sample reaches full scale, when an effect does not start and end
at silence, when a loop is shorter than 20 s, carries an offset, or jumps at its
seam (steeper than the music within 10 ms of it, and above SEAM_FLOOR), when
an effect's loudest 50 ms stand less than MIX_MARGIN over the music's median,
when the talk voices are not each VOICE_STEP higher than the one before, and
when the files together grow past 4 MiB.

--verify-reproducible first runs synth.py into a temporary directory and fails
unless every file comes out byte for byte the same as in DIR.
"""

import filecmp
import math
import os
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
if HERE not in sys.path:
    sys.path.insert(0, HERE)

from dsp import RATE, loudness, read_wav  # noqa: E402

EFFECTS = ["beep", "click", "shoot", "miss", "hit", "whirl", "gameover", "money", "nextlevel",
           "talk1", "talk2", "talk3"]
MUSIC = ["menu", "ingame", "danger"]
DEFAULT_DIR = os.path.normpath(os.path.join(HERE, "..", "..", "data"))

FULL_SCALE = 32767
SEAM_FLOOR = 300          # a step or slope change at a seam this small is never heard
EDGE_LIMIT = 64           # largest first or last sample of an effect
MIN_LOOP_SECONDS = 20.0
MAX_OFFSET = 33           # largest mean of a loop (0.1 % of full scale)
MAX_TOTAL_BYTES = 4 * 1024 * 1024
MIX_WINDOW = RATE // 20   # 50 ms, in samples
MIX_MARGIN = 6.0          # dB an effect's loudest 50 ms stand over the music's median at least
VOICES = ["talk1", "talk2", "talk3"]
VOICE_STEP = 1.25         # each talk voice's pitch over the one before it at least (a major third)


def dbfs(value):
    return 20.0 * math.log10(value / FULL_SCALE) if value > 0 else float("-inf")


def seam(x):
    """The seam of a loop, and the same measures around it for comparison:
    (step from the last sample to the first, slope change across the seam,
    largest step and slope change within 10 ms either side of it)."""
    jump = abs(x[0] - x[-1])
    bend = abs(x[0] - 2 * x[-1] + x[-2])
    span = RATE // 100
    around = x[-span:] + x[:span]
    steps = [abs(b - a) for a, b in zip(around, around[1:])]
    bends = [abs(c - 2 * b + a) for a, b, c in zip(around, around[1:], around[2:])]
    del steps[span - 1]               # the seam itself
    del bends[span - 2:span]
    return jump, bend, max(steps), max(bends)


def window_db(total, n):
    """The level in dBFS of n samples whose squares add up to total."""
    return dbfs(math.sqrt(total / n)) if total > 0 else float("-inf")


def loudest_window(x):
    """The level of the loudest 50 ms stretch of x, in dBFS."""
    squares = [v * v for v in x]
    w = min(MIX_WINDOW, len(x))
    acc = best = sum(squares[:w])
    for i in range(w, len(x)):
        acc += squares[i] - squares[i - w]
        best = max(best, acc)
    return window_db(best, w)


def median_window(x):
    """The median level of x in 50 ms windows laid end to end, in dBFS."""
    levels = sorted(window_db(sum(v * v for v in x[i:i + MIX_WINDOW]), MIX_WINDOW)
                    for i in range(0, len(x) - MIX_WINDOW + 1, MIX_WINDOW))
    return levels[len(levels) // 2]


def fundamental(x, low=60.0, high=600.0):
    """The pitch in Hz of the middle 1000 samples of x: the shortest lag at which
    they nearly repeat (a peak of their autocorrelation within 15 % of the highest,
    so that a multiple of the period is not taken for it), refined between its
    neighbours."""
    middle = len(x) // 2
    part = [float(v) for v in x[max(0, middle - 500):middle + 500]]
    lo, hi = int(RATE / high), int(RATE / low) + 1
    n = len(part) - hi - 1
    if n < lo:
        return 0.0

    def corr(lag):
        return sum(a * b for a, b in zip(part[:n], part[lag:lag + n]))

    values = [corr(lag) for lag in range(lo - 1, hi + 2)]
    top = max(values)
    best = next(i for i in range(1, len(values) - 1)
                if values[i] >= 0.85 * top and values[i - 1] <= values[i] >= values[i + 1])
    a, b, c = values[best - 1:best + 2]
    bend = a - 2 * b + c
    return RATE / (lo - 1 + best + (0.5 * (a - c) / bend if bend else 0.0))


def check_mix(folder):
    """Prints the mix table; returns the list of problems."""
    sounds = {}
    for name in EFFECTS + MUSIC:
        path = os.path.join(folder, name + ".wav")
        try:
            channels, width, rate, x = read_wav(path)
        except Exception:  # reported with the file already
            return []
        if (channels, width, rate) != (1, 2, RATE) or len(x) < MIX_WINDOW:
            return []
        sounds[name] = x
    problems = []
    medians = {name: median_window(sounds[name]) for name in MUSIC}
    bed = max(medians.values())
    print("the mix, in 50 ms windows: the music's median %s" % ", ".join(
        "%s %.1f dBFS" % (name, medians[name]) for name in MUSIC))
    print("%-10s %14s %16s" % ("effect", "loudest 50 ms", "over the music"))
    for name in EFFECTS:
        top = loudest_window(sounds[name])
        print("%-10s %9.1f dBFS %+13.1f dB" % (name, top, top - bed))
        if top - bed < MIX_MARGIN:
            problems.append("%s: its loudest 50 ms (%.1f dBFS) stand only %.1f dB over the music (%.1f dBFS)"
                            % (name, top, top - bed, bed))
    pitches = [fundamental(sounds[name]) for name in VOICES]
    print("talk voices: %s" % ", ".join("%s %.0f Hz" % (n, p) for n, p in zip(VOICES, pitches)))
    for (a, pa), (b, pb) in zip(zip(VOICES, pitches), zip(VOICES[1:], pitches[1:])):
        if pb < pa * VOICE_STEP:
            problems.append("%s (%.0f Hz) is not clearly higher than %s (%.0f Hz)" % (b, pb, a, pa))
    return problems


def check_file(path, name):
    """(report line, list of problems) for one file."""
    if not os.path.exists(path):
        return "%-10s missing" % name, ["missing"]
    try:
        channels, width, rate, x = read_wav(path)
    except Exception as error:  # a damaged header, a compressed format
        return "%-10s unreadable: %s" % (name, error), ["unreadable"]
    problems = []
    if (channels, width, rate) != (1, 2, RATE):
        problems.append("format %d ch %d bit %d Hz, wanted mono 16 bit %d Hz" % (channels, 8 * width, rate, RATE))
        return "%-10s %s" % (name, problems[0]), problems
    if len(x) < 3:
        return "%-10s empty" % name, ["empty"]
    top = max(abs(v) for v in x)
    rms = math.sqrt(sum(v * v for v in x) / len(x))
    clipped = sum(1 for v in x if abs(v) >= FULL_SCALE)
    line = "%-10s mono 16 bit %d Hz %7.3f s  peak %6.1f dBFS  rms %6.1f dBFS  %s" % (
        name, rate, len(x) / rate, dbfs(top), dbfs(rms), "CLIPS %d" % clipped if clipped else "no clipping")
    if clipped:
        problems.append("%d samples at full scale" % clipped)
    if name in MUSIC:
        jump, bend, near_jump, near_bend = seam(x)
        mean = sum(x) / len(x)
        line += "\n%10s seam: step %d, slope change %d (within 10 ms of it: up to %d and %d), offset %.1f" % (
            "", jump, bend, near_jump, near_bend, mean)
        if jump > max(SEAM_FLOOR, near_jump) or bend > max(SEAM_FLOOR, near_bend):
            problems.append("seam jumps (step %d, slope change %d; the music near it: %d, %d)" % (
                jump, bend, near_jump, near_bend))
        if len(x) < MIN_LOOP_SECONDS * rate:
            problems.append("loop shorter than %d s" % MIN_LOOP_SECONDS)
        if abs(mean) > MAX_OFFSET:
            problems.append("offset %.1f" % mean)
    else:
        line += "  loudness %5.1f" % loudness([v / FULL_SCALE for v in x])
        if abs(x[0]) > EDGE_LIMIT or abs(x[-1]) > EDGE_LIMIT:
            problems.append("does not start and end at silence (%d ... %d)" % (x[0], x[-1]))
    return line, problems


def check_dir(folder):
    """Prints the report; returns the number of problems."""
    count = 0
    total = 0
    for name in EFFECTS + MUSIC:
        path = os.path.join(folder, name + ".wav")
        line, problems = check_file(path, name)
        print(line)
        for p in problems:
            print("%10s FAIL: %s" % ("", p))
        count += len(problems)
        if os.path.exists(path):
            total += os.path.getsize(path)
    for p in check_mix(folder):
        print("FAIL: " + p)
        count += 1
    print("all files together: %d bytes (%.2f MB)" % (total, total / 1e6))
    if total > MAX_TOTAL_BYTES:
        print("FAIL: more than %d bytes" % MAX_TOTAL_BYTES)
        count += 1
    return count


def verify_reproducible(folder):
    """Regenerates everything into a temporary directory; returns the number of files that differ."""
    with tempfile.TemporaryDirectory() as tmp:
        subprocess.run([sys.executable, os.path.join(HERE, "synth.py"), tmp], check=True)
        differ = 0
        for name in EFFECTS + MUSIC:
            a, b = os.path.join(folder, name + ".wav"), os.path.join(tmp, name + ".wav")
            same = os.path.exists(a) and filecmp.cmp(a, b, shallow=False)
            if not same:
                print("FAIL: %s.wav is not what synth.py writes" % name)
                differ += 1
    print("reproducible: %s" % ("yes, every file byte for byte" if not differ else "NO, %d differ" % differ))
    return differ


def main(argv):
    args = argv[1:]
    verify = "--verify-reproducible" in args
    args = [a for a in args if a != "--verify-reproducible"]
    folder = args[0] if args else DEFAULT_DIR
    failures = check_dir(folder)
    if verify:
        failures += verify_reproducible(folder)
    print("OK" if not failures else "%d problem(s)" % failures)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
