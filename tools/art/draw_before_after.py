"""A sheet of every picture that changed since a git revision: before above after.

    /usr/bin/python3 tools/art/draw_before_after.py [REVISION] [OUTPUT-FOLDER]

REVISION is main unless given, the folder build/before-after.  For every table in
assets/art/*.tables whose sheet differs from the revision's, it shows the frames
that differ, the old above the new, on the sea (index 2), under the table's name
in the game's font: all of them for a small table, for a large one every second or
third (of the ships, each kind and heading at rest).  Masks are shown in white.
Writes art-before-after-1x.png and art-before-after-4x.png.  The pair in docs/ shows
the redrawn coasts, pirates, gulls, clouds, coin, map frame and port markers:
    /usr/bin/python3 tools/art/draw_before_after.py 15f74ba docs
"""

import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import KEY, Sheet, write_png  # noqa: E402
from draw_title import ROOT, ART, load_font  # noqa: E402

BLACK, WHITE, GREY = 0, 15, 7
GAP = 2                 # pixels between frames
WIDTH = 480             # the sheet's width at 1x: rows of frames wrap at it
MOST = 24               # frames of one table shown at most
FONT = load_font()


def tables():
    """(name, source, width, height, frames, kind) of every packed table."""
    out = []
    for group in sorted(f for f in os.listdir(ART) if f.endswith(".tables")):
        with open(os.path.join(ART, group)) as f:
            for line in f:
                words = line.split()
                if words and not words[0].startswith("#"):
                    out.append((words[0], words[1], int(words[2]), int(words[3]), int(words[4]), words[5]))
    return out


def old_sheet(revision, source, w, h, n):
    """The sheet as it was at the revision, or None where it did not exist."""
    found = subprocess.run(["git", "-C", ROOT, "show", "%s:assets/art/%s" % (revision, source)],
                           capture_output=True)
    if found.returncode:
        return None
    with tempfile.NamedTemporaryFile(suffix=".png") as f:
        f.write(found.stdout)
        f.flush()
        return Sheet.load(f.name, w, h, n)


def shown(name, changed):
    """The changed frames worth showing: of the ships, each kind and heading at rest;
    of another table all, or evenly spread, at most MOST."""
    if name == "ShipFrames":
        changed = [n for n in changed if n < 256 and n % 8 == 0]
    stride = (len(changed) + MOST - 1) // MOST
    return changed[::stride]


class Board:
    """Rows of pictures on black, laid out left to right and wrapped."""

    def __init__(self):
        self.items = []         # (x, y, w, h, pixels)
        self.x = self.y = GAP
        self.row = 0

    def newline(self):
        self.x, self.y, self.row = GAP, self.y + self.row + GAP, 0

    def put(self, w, h, pixels):
        if self.x + w > WIDTH - GAP:
            self.newline()
        self.items.append((self.x, self.y, w, h, pixels))
        self.x += w + GAP
        self.row = max(self.row, h)

    def label(self, text):
        self.newline()
        w = 6 * len(text)
        pixels = [BLACK] * (w * 8)
        for i, ch in enumerate(text):
            for gx, gy in FONT.get(ord(ch), ()):
                pixels[gy * w + 6 * i + gx] = WHITE
        self.put(w, 8, pixels)
        self.newline()

    def pixels(self):
        height = self.y + self.row + GAP
        out = [BLACK] * (WIDTH * height)
        for x0, y0, w, h, px in self.items:
            for y in range(h):
                out[(y0 + y) * WIDTH + x0:(y0 + y) * WIDTH + x0 + w] = px[y * w:(y + 1) * w]
        return height, out


def frame_pixels(sheet, n, mask):
    """Frame n on the sea; a mask's set pixels white."""
    px = []
    for y in range(sheet.fh):
        for x in range(sheet.fw):
            c = sheet.get(n, x, y)
            px.append(KEY if c == KEY else (WHITE if mask else c))
    return px


def main(argv):
    revision = argv[1] if len(argv) > 1 else "main"
    out = argv[2] if len(argv) > 2 else os.path.join(ROOT, "build", "before-after")
    board = Board()
    count = 0
    for name, source, w, h, n, kind in tables():
        if not source.endswith(".png"):
            continue
        new = Sheet.load(os.path.join(ART, source), w, h, n)
        old = old_sheet(revision, source, w, h, n)
        if old is None:
            continue
        changed = [i for i in range(n) if old.frame_grid(i) != new.frame_grid(i)]
        if not changed:
            continue
        count += 1
        frames = shown(name, changed)
        board.label("%s: %d of %d frames changed, %d shown; before, then after"
                    % (name, len(changed), n, len(frames)))
        for sheet in (old, new):
            for i in frames:
                board.put(w, h, frame_pixels(sheet, i, kind == "mask"))
            board.newline()
    height, px = board.pixels()
    os.makedirs(out, exist_ok=True)
    for scale in (1, 4):
        write_png(os.path.join(out, "art-before-after-%dx.png" % scale), WIDTH, height, px, scale)
    print("%d changed tables since %s; wrote %s/art-before-after-1x.png and -4x.png" % (count, revision, out))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
