"""Magnified previews of the dialog box and portrait sheets in assets/art.

    /usr/bin/python3 tools/art/draw_dialog_preview.py OUT-DIR [sheet-dir]

writes to OUT-DIR:
  dialog_pieces.png              the nine pieces apart, 6x
  dialog_box_opening_*.png       the box at each of its eight opening sizes, as it
                                 stands on the screen, over black and over the
                                 darkened sea, 4x
  portrait_N_*.png               speaker N's idle loop above its talking loop, over
                                 black and over the sea blue, 4x
  mock_*_pN_yY_1x.png / _3x.png  the whole dialog screen: the box, two lines of text
                                 as letter-sized blocks with their shadows, the
                                 more-text mark and speaker N at y = Y (20 as the
                                 dialog opens, 11 once the status bar has gone)
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import KEY, write_png  # noqa: E402
from draw_dialog import ART, OPENING, assemble_box  # noqa: E402
from draw_dialog_check import load  # noqa: E402

# What each colour becomes on the darkened screen behind a dialog.
SHADOW = [0, 0, 0, 0, 1, 0, 1, 3, 2, 4, 3, 5, 4, 2, 7, 3]


def sea_scene():
    """A stretch of sea with an island and some wave crests, darkened as the screen
    is behind a dialog."""
    scr = [[2] * 160 for _ in range(120)]
    for y in range(120):
        for x in range(160):
            a = math.atan2(y - 38, x - 114)
            r = math.hypot((x - 114) / 36.0, (y - 38) / 24.0) * (1 + 0.08 * math.sin(3 * a))
            if r < 0.62:
                scr[y][x] = 11
            elif r < 0.8:
                scr[y][x] = 14
            elif r < 0.9:
                scr[y][x] = 13
            elif r < 0.96:
                scr[y][x] = 15
    for cx, cy in ((20, 12), (60, 30), (34, 52), (90, 8), (140, 80), (70, 96), (12, 100),
                   (110, 112), (150, 20), (46, 76)):
        for dx, dy in ((0, 1), (1, 0), (2, 0), (3, 1), (4, 1), (5, 0), (6, 0)):
            if 0 <= cx + dx < 160 and 0 <= cy + dy < 120 and scr[cy + dy][cx + dx] == 2:
                scr[cy + dy][cx + dx] = 8
    return [[SHADOW[v] for v in r] for r in scr]


def draw(scr, x0, y0, g):
    """A picture onto a screen grid, skipping the key and empty pixels, clipped."""
    for y, r in enumerate(g):
        for x, v in enumerate(r):
            if v not in (None, KEY) and 0 <= x0 + x < len(scr[0]) and 0 <= y0 + y < len(scr):
                scr[y0 + y][x0 + x] = v


def text_blocks(scr, x0, y0, words):
    """A line of text as blocks the size of the font's letters (5 x 7, six pixels
    apart), shadow first, one row lower, as the dialog draws its characters."""
    for colour, dy in ((0, 1), (15, 0)):
        x = x0
        for word in words.split(" "):
            for _ in word:
                for yy in range(7):
                    for xx in range(5):
                        if not (yy in (0, 6) and xx in (0, 4)):
                            scr[y0 + dy + yy][x + xx] = colour
                x += 6
            x += 6


def more_mark(scr):
    """The blinking right-pointing triangle at (153, 77), with its shadow."""
    for dy, colour in ((1, 0), (0, 15)):
        for x in range(5):
            for y in range(x, 7 - x):
                scr[77 + dy + y][153 + x] = colour


def mock_screen(pieces, portrait, portrait_y, background):
    scr = sea_scene() if background == "sea" else [[0] * 160 for _ in range(120)]
    draw(scr, 11, portrait_y, portrait)
    draw(scr, 8, 64, assemble_box(pieces, 7, 1))
    text_blocks(scr, 18, 78, "Ahoy there sailor the")
    text_blocks(scr, 18, 90, "sea is wide and wild")
    more_mark(scr)
    return scr


def save(path, grid, scale, background=0):
    px = [background if v in (None, KEY) else v for r in grid for v in r]
    write_png(path, len(grid[0]), len(grid), px, scale)


def main(out, art=ART):
    os.makedirs(out, exist_ok=True)
    pieces = load("DialogFramePieces", art)
    idle = load("PortraitIdleFrames", art)
    talk = load("PortraitTalkFrames", art)

    apart = [[7] * 56 for _ in range(56)]
    for k, g in enumerate(pieces):
        draw(apart, 2 + 18 * (k % 3), 2 + 18 * (k // 3), g)
    save(os.path.join(out, "dialog_pieces.png"), apart, 6)

    sea = sea_scene()
    for background in ("black", "sea"):
        scr = [(sea[y % 120][:] if background == "sea" else [0] * 160) for y in range(8 * 52)]
        for n, (w, h) in enumerate(OPENING):
            draw(scr, 8, n * 52, assemble_box(pieces, w, h))
        save(os.path.join(out, "dialog_box_opening_%s.png" % background), scr, 4)

    for p in range(4):
        for name, background in (("black", 0), ("sea", KEY)):
            grid = [[7] * (8 * 58 + 2) for _ in range(2 * 58 + 2)]
            for a in range(8):
                for t, frames in enumerate((idle, talk)):
                    img = frames[p * 8 + a]
                    for y in range(56):
                        for x in range(56):
                            v = img[y][x]
                            grid[2 + t * 58 + y][2 + a * 58 + x] = background if v == KEY else v
            save(os.path.join(out, "portrait_%d_%s.png" % (p + 1, name)), grid, 4)

    for background in ("black", "sea"):
        for p in range(4):
            for y in (20, 11):
                scr = mock_screen(pieces, talk[p * 8 + 1], y, background)
                base = os.path.join(out, "mock_%s_p%d_y%d" % (background, p + 1, y))
                save(base + "_1x.png", scr, 1)
                save(base + "_3x.png", scr, 3)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    main(sys.argv[1], sys.argv[2] if len(sys.argv) > 2 else ART)
