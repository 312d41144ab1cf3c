"""Checks the title, credit and game-over sheets in assets/art for what the game relies on.

    /usr/bin/python3 tools/art/draw_title_check.py [sheet-dir]   # exit status 1 and a list on a fault

The sheets are sources that may be retouched by hand; these are the rules a retouch
must keep: the sizes and frame counts of the tables, the flourish handing back to the
idle loop without a jump, animation frames that really move, marks no taller than the
menu's letters.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import KEY, Sheet  # noqa: E402
from draw_title import ART, RED, TABLES  # noqa: E402


def load(name, art=ART):
    for table, path, fw, fh, count, kind, columns, note in TABLES:
        if table == name:
            s = Sheet.load(os.path.join(art, path), fw, fh, count)
            return [s.frame_grid(i) for i in range(count)]
    raise KeyError(name)


def changed(a, b):
    """How many pixels differ between two frames."""
    return sum(pa != pb for ra, rb in zip(a, b) for pa, pb in zip(ra, rb))


def faults(art=ART):
    out = []
    try:
        t = {table[0]: load(table[0], art) for table in TABLES}
    except (OSError, ValueError) as e:
        return ["a sheet does not load: %s" % e]

    a, b = t["LogoStripA"], t["LogoStripB"]
    # The menu shows strip A frame 0, then the flourish, then strip A frame 0 again.
    if b[15] != a[0]:
        out.append("LogoStripB frame 15 differs from LogoStripA frame 0 in %d pixels"
                   % changed(b[15], a[0]))
    for i in range(16):
        if changed(a[i], a[(i + 1) % 16]) == 0:
            out.append("LogoStripA frames %d and %d are the same: the loop stalls" % (i, (i + 1) % 16))
    for i in range(15):
        if changed(b[i], b[i + 1]) == 0:
            out.append("LogoStripB frames %d and %d are the same" % (i, i + 1))
    if changed(a[0], b[0]) == 0:
        out.append("LogoStripB frame 0 repeats LogoStripA frame 0: the flourish starts late")

    g = t["GameOverFrames"]
    for i in range(8):
        if changed(g[i], g[(i + 1) % 8]) == 0:
            out.append("GameOverFrames %d and %d are the same" % (i, (i + 1) % 8))
        if all(p == RED for row in g[i] for p in row):
            out.append("GameOverFrames %d draws nothing" % i)

    cursor = t["MenuCursorFrames"]
    if changed(cursor[0], cursor[1]) == 0:
        out.append("MenuCursorFrames 0 and 1 are the same: the cursor never blinks")

    on, off = t["SoundOnMark"][0], t["SoundOffMark"][0]
    for name, mark in (("SoundOnMark", on), ("SoundOffMark", off)):
        if any(p != KEY for p in mark[7]):
            out.append("%s uses row 7: it hangs below the label's letters" % name)
    if changed(on, off) == 0:
        out.append("SoundOnMark and SoundOffMark are the same")

    pages = t["CreditPictures"]
    for i in range(3):
        for j in range(i + 1, 3):
            if changed(pages[i], pages[j]) == 0:
                out.append("CreditPictures %d and %d are the same" % (i, j))
    return out


if __name__ == "__main__":
    found = faults(sys.argv[1] if len(sys.argv) > 1 else ART)
    for f in found:
        print("title pictures: " + f)
    sys.exit(1 if found else 0)
