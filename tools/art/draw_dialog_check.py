"""Checks the dialog box and portrait sheets in assets/art for what the game relies on.

    /usr/bin/python3 tools/art/draw_dialog_check.py [sheet-dir]   # exit status 1 and a list on a fault

The sheets are sources that may be retouched by hand; these are the rules a retouch
must keep: the frame pieces meet without seams at every size of the opening box and
cover it without holes, the two text lines lie on the bare panel, and the portraits
stand free on the key with a dark outline, blink and breathe when idle and move on
every talking frame.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import KEY, Sheet  # noqa: E402
from draw_dialog import (ART, BOTTOM, BOTTOM_LEFT, BOTTOM_RIGHT, CENTRE, LEFT,  # noqa: E402
                         OPENING, RIGHT, TABLES, TOP, TOP_LEFT, TOP_RIGHT, assemble_box)

# Where the dialog draws its text on the 160 x 120 screen, with the box at (8, 64):
# twenty characters of six pixels from x = 18, lines at y = 78 and 90, each character
# with its shadow one row below.
TEXT_LEFT, TEXT_RIGHT, TEXT_TOP, TEXT_BOTTOM = 18, 18 + 20 * 6 - 2, 78, 90 + 8
BOX_X, BOX_Y = 8, 64


def load(name, art=ART):
    for table, path, fw, fh, count, columns in TABLES:
        if table == name:
            s = Sheet.load(os.path.join(art, path), fw, fh, count)
            return [s.frame_grid(i) for i in range(count)]
    raise KeyError(name)


def changed(a, b):
    """How many pixels differ between two frames."""
    return sum(pa != pb for ra, rb in zip(a, b) for pa, pb in zip(ra, rb))


NAMES = ["top-left corner", "top edge", "top-right corner", "left edge", "centre fill",
         "right edge", "bottom-left corner", "bottom edge", "bottom-right corner"]


def frame_faults(pieces):
    out = []
    fill = pieces[CENTRE][0][0]
    if any(v != fill for row in pieces[CENTRE] for v in row):
        out.append("the centre fill is not one solid colour")
    if fill in (KEY, 0, 15):
        out.append("the centre fill is colour %d: the text (15 on a shadow of 0) needs "
                   "a ground of its own" % fill)

    def col(k, x):
        return [pieces[k][y][x] for y in range(16)]

    # Pieces that meet in the box carry the same colours across the seam.
    for a, b in ((TOP_LEFT, TOP), (TOP, TOP), (TOP, TOP_RIGHT), (TOP_LEFT, TOP_RIGHT),
                 (LEFT, CENTRE), (CENTRE, CENTRE), (CENTRE, RIGHT), (LEFT, RIGHT),
                 (BOTTOM_LEFT, BOTTOM), (BOTTOM, BOTTOM), (BOTTOM, BOTTOM_RIGHT),
                 (BOTTOM_LEFT, BOTTOM_RIGHT)):
        if col(a, 15) != col(b, 0):
            out.append("seam between the %s and the %s" % (NAMES[a], NAMES[b]))
    for a, b in ((TOP_LEFT, LEFT), (LEFT, LEFT), (LEFT, BOTTOM_LEFT), (TOP_LEFT, BOTTOM_LEFT),
                 (TOP, CENTRE), (CENTRE, CENTRE), (CENTRE, BOTTOM), (TOP, BOTTOM),
                 (TOP_RIGHT, RIGHT), (RIGHT, RIGHT), (RIGHT, BOTTOM_RIGHT),
                 (TOP_RIGHT, BOTTOM_RIGHT)):
        if pieces[a][15] != pieces[b][0]:
            out.append("seam between the %s and the %s" % (NAMES[a], NAMES[b]))

    # Every size of the opening box is covered, the rounded outer corners aside, so
    # neither the portrait nor the sea shows through it.
    for w, h in OPENING:
        img = assemble_box(pieces, w, h)
        last_x, last_y = len(img[0]) - 1, len(img) - 1
        corners = {(0, 0), (last_x, 0), (0, last_y), (last_x, last_y)}
        holes = [(x, y) for y, r in enumerate(img) for x, v in enumerate(r)
                 if v is None and (x, y) not in corners]
        if holes:
            out.append("the box %d x %d tiles inside has %d holes, the first at (%d, %d)"
                       % ((w, h, len(holes)) + holes[0]))

    # The open box: both text lines lie on the bare panel.
    img = assemble_box(pieces, 7, 1)
    for y in range(TEXT_TOP, TEXT_BOTTOM + 1):
        for x in range(TEXT_LEFT, TEXT_RIGHT + 1):
            if img[y - BOX_Y][x - BOX_X] != fill:
                out.append("the text area is not bare panel at (%d, %d)" % (x, y))
                return out
    return out


def portrait_faults(idle, talk):
    out = []
    for frames, kind in ((idle, "idle"), (talk, "talking")):
        for n, img in enumerate(frames):
            where = "%s portrait %d frame %d" % (kind, n // 8 + 1, n % 8)
            if any(v != KEY for v in img[0]) or \
                    any(img[y][0] != KEY or img[y][55] != KEY for y in range(56)):
                out.append("%s touches the top or the sides of its frame" % where)
            bare = [(x, y) for y in range(56) for x in range(56)
                    if img[y][x] not in (KEY, 0, 1) and any(
                        0 <= x + dx < 56 and 0 <= y + dy < 56 and img[y + dy][x + dx] == KEY
                        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))]
            if bare:
                out.append("%s has %d light pixels on the background without an outline, "
                           "the first at (%d, %d)" % ((where, len(bare)) + bare[0]))
    for p in range(4):
        loop = talk[p * 8:p * 8 + 8]
        for a in range(8):
            if changed(loop[a], loop[(a + 1) % 8]) == 0:
                out.append("talking portrait %d frames %d and %d are the same"
                           % (p + 1, a, (a + 1) % 8))
        if len({str(img) for img in idle[p * 8:p * 8 + 8]}) < 3:
            out.append("idle portrait %d hardly moves: it should breathe and blink" % (p + 1))
        for q in range(p):
            if changed(idle[p * 8], idle[q * 8]) < 56 * 56 // 4:
                out.append("portraits %d and %d look alike" % (q + 1, p + 1))
    return out


def faults(art=ART):
    try:
        pieces = load("DialogFramePieces", art)
        idle = load("PortraitIdleFrames", art)
        talk = load("PortraitTalkFrames", art)
    except (OSError, ValueError) as e:
        return ["a sheet does not load: %s" % e]
    return frame_faults(pieces) + portrait_faults(idle, talk)


if __name__ == "__main__":
    found = faults(sys.argv[1] if len(sys.argv) > 1 else ART)
    for f in found:
        print("dialog pictures: " + f)
    sys.exit(1 if found else 0)
