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

It fails (exit status 1) when a file is missing or is not 22050 Hz 16-bit
mono, when a sample reaches full scale, when an effect does not start and end
at silence, when a loop is shorter than 20 s, carries an offset, or jumps at its
seam (steeper than the music within 10 ms of it, and above SEAM_FLOOR), and
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
