#!/usr/bin/python3
"""Draws the dialog group: the nine pieces of the dialog box and the speakers' portraits.

    /usr/bin/python3 tools/art/draw_dialog.py

writes assets/art/dialog_frame.png (9 pieces of 16 x 16, three to a row),
assets/art/portraits_idle.png and assets/art/portraits_talk.png (32 frames of
56 x 56, one speaker to a row of eight) and checks them with draw_dialog_check.py.
draw_dialog_preview.py makes magnified previews of the sheets.

The box is a dark plum panel in a brass-studded wooden frame with brass corner
plates.  The game tiles it at (8, 64): corners at both ends, the edges repeated,
the fill in the middle, growing from the four corners alone to 144 x 48.  The
frame bar is six pixels wide on every side, so the panel inside runs from x = 14
to 145 and y = 70 to 105 when the box is open, clear around the two text lines
(y = 78 and 90, from x = 18, twenty characters of six pixels).
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

import draw_dialog_faces as faces  # noqa: E402
from sheet import KEY, Sheet  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
ART = os.path.join(ROOT, "assets", "art")

# ---------------------------------------------------------------------------
# The dialog box

PANEL = 1                      # the plum panel the text is written on
BAR = [0, 9, 4, 4, 1, 0]       # the frame bar across its width, top to bottom or left
                               # to right on every side: outline, lit edge, wood,
                               # wood, shaded edge, the groove before the panel
STUD = [[15, 14],              # a brass stud on the middle of every edge piece
        [14, 9]]
PLATE = ["00000000",           # the brass plate over each corner joint
         "0feeeee0",
         "0eeeee90",
         "0ee40e90",
         "0ee00e90",
         "0eeeee90",
         "0e999990",
         "00000000"]

TOP_LEFT, TOP, TOP_RIGHT, LEFT, CENTRE, RIGHT, BOTTOM_LEFT, BOTTOM, BOTTOM_RIGHT = range(9)


def frame_piece(k):
    """Piece k (in table order) as 16 rows of 16 colour indices."""
    row, col = divmod(k, 3)
    g = [[PANEL] * 16 for _ in range(16)]
    for y in range(16):
        for x in range(16):
            if row == 0 and y < 6:
                g[y][x] = BAR[y]
            if row == 2 and y >= 10:
                g[y][x] = BAR[y - 10]
            if col == 0 and x < 6:
                g[y][x] = BAR[x]
            if col == 2 and x >= 10:
                g[y][x] = BAR[x - 10]
    if row != 1 and col == 1:              # a stud in the middle of the top and bottom bars
        by = 2 if row == 0 else 12
        for dy in range(2):
            for dx in range(2):
                g[by + dy][7 + dx] = STUD[dy][dx]
    if col != 1 and row == 1:              # and of the side bars
        bx = 2 if col == 0 else 12
        for dy in range(2):
            for dx in range(2):
                g[7 + dy][bx + dx] = STUD[dy][dx]
    if row != 1 and col != 1:              # a corner: its plate, rounded on the outside
        ox, oy = (0 if col == 0 else 8), (0 if row == 0 else 8)
        for y in range(8):
            for x in range(8):
                g[oy + y][ox + x] = int(PLATE[y][x], 16)
        g[0 if row == 0 else 15][0 if col == 0 else 15] = KEY
    return g


def assemble_box(pieces, w, h):
    """The box as the game tiles it, w x h tiles inside, on a (32 + 16 w) x (32 + 16 h)
    grid of colour indices with None where nothing is drawn; the same order of drawing."""
    width, height = 32 + 16 * w, 32 + 16 * h
    img = [[None] * width for _ in range(height)]

    def put(px, py, k):
        for y in range(16):
            for x in range(16):
                if pieces[k][y][x] != KEY:
                    img[py + y][px + x] = pieces[k][y][x]

    for i in range(w):
        put(16 + 16 * i, 0, TOP)
        put(16 + 16 * i, 16 + 16 * h, BOTTOM)
    for j in range(h):
        put(0, 16 + 16 * j, LEFT)
        put(16 * w + 16, 16 + 16 * j, RIGHT)
    for j in range(h):
        for i in range(w):
            put(16 + 16 * i, 16 + 16 * j, CENTRE)
    put(0, 0, TOP_LEFT)
    put(16 * w + 16, 0, TOP_RIGHT)
    put(0, 16 * h + 16, BOTTOM_LEFT)
    put(16 * w + 16, 16 * h + 16, BOTTOM_RIGHT)
    return img


# The box's opening: (columns, rows) inside on each of its first eight frames.
OPENING = [(0, 0)] + [(c, 1) for c in range(1, 8)]


# ---------------------------------------------------------------------------
# Sheets

# name, sheet, frame width, frame height, frames, columns of the sheet
TABLES = [
    ("DialogFramePieces", "dialog_frame.png", 16, 16, 9, 3),
    ("PortraitIdleFrames", "portraits_idle.png", 56, 56, 32, 8),
    ("PortraitTalkFrames", "portraits_talk.png", 56, 56, 32, 8),
]


def all_portraits():
    """The idle and the talking frames, each in table order."""
    idle = [faces.frame(p, a, False) for p in range(1, 5) for a in range(8)]
    talk = [faces.frame(p, a, True) for p in range(1, 5) for a in range(8)]
    return idle, talk


def main():
    import draw_dialog_check
    idle, talk = all_portraits()
    frames = {"DialogFramePieces": [frame_piece(k) for k in range(9)],
              "PortraitIdleFrames": idle, "PortraitTalkFrames": talk}
    for name, path, fw, fh, count, columns in TABLES:
        s = Sheet(fw, fh, count, columns=columns)
        for n, grid in enumerate(frames[name]):
            s.put_frame(n, grid)
        s.save(os.path.join(ART, path))
    found = draw_dialog_check.faults(ART)
    for f in found:
        print("dialog pictures: " + f)
    sys.exit(1 if found else 0)


if __name__ == "__main__":
    main()
