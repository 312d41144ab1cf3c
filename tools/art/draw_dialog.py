#!/usr/bin/python3
"""Draws the dialog group: the nine pieces of the dialog box and the speakers' portraits.

    /usr/bin/python3 tools/art/draw_dialog.py [--preview DIR]

writes assets/art/dialog_frame.png (9 pieces of 16 x 16, three to a row),
assets/art/portraits_idle.png and assets/art/portraits_talk.png (32 frames of
56 x 56, one speaker to a row of eight), checks them, and with --preview also
writes magnified previews to DIR: every opening size of the box, each speaker's
sixteen frames, and the whole dialog screen over the darkened sea and over black.

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
from sheet import KEY, Sheet, write_png  # noqa: E402

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
# Checks: what the game relies on, and what keeps the pictures clean

def check_frame(pieces):
    for k, g in enumerate(pieces):
        assert len(g) == 16 and all(len(r) == 16 for r in g)
    # the fill is solid panel, so text always has the same dark ground
    assert all(v == PANEL for r in pieces[CENTRE] for v in r)
    # pieces that meet must carry the same colours across the seam
    def col(k, x):
        return [pieces[k][y][x] for y in range(16)]

    def row(k, y):
        return pieces[k][y]
    for a, b in ((TOP_LEFT, TOP), (TOP, TOP), (TOP, TOP_RIGHT), (TOP_LEFT, TOP_RIGHT),
                 (LEFT, CENTRE), (CENTRE, CENTRE), (CENTRE, RIGHT), (LEFT, RIGHT),
                 (BOTTOM_LEFT, BOTTOM), (BOTTOM, BOTTOM), (BOTTOM, BOTTOM_RIGHT),
                 (BOTTOM_LEFT, BOTTOM_RIGHT)):
        assert col(a, 15) == col(b, 0), ("seam", a, b)
    for a, b in ((TOP_LEFT, LEFT), (LEFT, LEFT), (LEFT, BOTTOM_LEFT), (TOP_LEFT, BOTTOM_LEFT),
                 (TOP, CENTRE), (CENTRE, CENTRE), (CENTRE, BOTTOM), (TOP, BOTTOM),
                 (TOP_RIGHT, RIGHT), (RIGHT, RIGHT), (RIGHT, BOTTOM_RIGHT),
                 (TOP_RIGHT, BOTTOM_RIGHT)):
        assert row(a, 15) == row(b, 0), ("seam", a, b)
    # every opening size is covered with no holes but the four rounded outer corners
    for w, h in OPENING:
        img = assemble_box(pieces, w, h)
        holes = [(x, y) for y, r in enumerate(img) for x, v in enumerate(r) if v is None]
        last_x, last_y = len(img[0]) - 1, len(img) - 1
        assert sorted(holes) == sorted([(0, 0), (last_x, 0), (0, last_y), (last_x, last_y)])
    # the open box on the screen: both text lines (with the shadow row below) and the
    # twenty characters lie on the bare panel
    img = assemble_box(pieces, 7, 1)
    for y in range(78 - 64, 98 - 64 + 1):
        for x in range(18 - 8, 18 + 20 * 6 - 1 - 8):
            assert img[y][x] == PANEL, ("text area", x + 8, y + 64)


def check_portrait(img, name):
    assert len(img) == 56 and all(len(r) == 56 for r in img)
    # the speaker stands free above the box: the top row and the side columns are key
    assert all(v == KEY for v in img[0]), name
    assert all(img[y][0] == KEY and img[y][55] == KEY for y in range(56)), name
    # a dark outline wherever the figure meets the background
    for y in range(56):
        for x in range(56):
            if img[y][x] == KEY:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= ny < 56 and 0 <= nx < 56 and img[ny][nx] == KEY:
                    assert img[y][x] in (0, 1), ("outline", name, x, y, img[y][x])


def check_portraits(idle, talk):
    for p in range(4):
        for a in range(8):
            check_portrait(idle[p * 8 + a], "idle %d/%d" % (p + 1, a))
            check_portrait(talk[p * 8 + a], "talk %d/%d" % (p + 1, a))
        # something visibly moves from every talking frame to the next
        for a in range(8):
            assert talk[p * 8 + a] != talk[p * 8 + (a + 1) % 8], ("talk", p + 1, a)
        # the idle loop blinks and breathes
        assert len({str(idle[p * 8 + a]) for a in range(8)}) >= 3, ("idle", p + 1)


# ---------------------------------------------------------------------------
# Sheets

def frame_sheet(pieces):
    s = Sheet(16, 16, 9, columns=3)
    for k, g in enumerate(pieces):
        s.put_frame(k, g)
    return s


def portrait_sheet(frames):
    s = Sheet(56, 56, 32, columns=8)
    for n, img in enumerate(frames):
        s.put_frame(n, img)
    return s


def all_portraits():
    idle = [faces.frame(p, a, False) for p in range(1, 5) for a in range(8)]
    talk = [faces.frame(p, a, True) for p in range(1, 5) for a in range(8)]
    return idle, talk


# ---------------------------------------------------------------------------
# Previews

# What each colour becomes on the darkened screen behind a dialog.
SHADOW = [0, 0, 0, 0, 1, 0, 1, 3, 2, 4, 3, 5, 4, 2, 7, 3]


def sea_scene():
    """A small stretch of sea with an island and some wave crests, as the sea view
    would show it, already darkened the way the screen is behind a dialog."""
    import math
    scr = [[2] * 160 for _ in range(120)]
    for y in range(120):
        for x in range(160):
            a = math.atan2(y - 38, x - 114)
            r = math.hypot((x - 114) / 36.0, (y - 38) / 24.0) * (1 + 0.08 * math.sin(3 * a))
            if r < 0.62:
                scr[y][x] = 5 if r > 0.5 and a > 0 else 11
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


def draw_sprite(scr, x0, y0, g):
    for y, r in enumerate(g):
        for x, v in enumerate(r):
            if v not in (None, KEY) and 0 <= x0 + x < len(scr[0]) and 0 <= y0 + y < len(scr):
                scr[y0 + y][x0 + x] = v


def placeholder_text(scr, x0, y0, words):
    """The two text lines as blocks the size of the font's letters (5 x 7, 6 apart),
    with the shadow row below as the game draws it."""
    for colour, dy in ((0, 1), (15, 0)):
        x = x0
        for word in words.split(" "):
            for _ in word:
                for yy in range(7):
                    for xx in range(5):
                        if yy in (0, 6) and xx in (0, 4):
                            continue
                        scr[y0 + dy + yy][x + xx] = colour
                x += 6
            x += 6


def mock_screen(pieces, portrait, portrait_y, background, more_mark=True):
    scr = sea_scene() if background == "sea" else [[0] * 160 for _ in range(120)]
    draw_sprite(scr, 11, portrait_y, portrait)
    draw_sprite(scr, 8, 64, assemble_box(pieces, 7, 1))
    placeholder_text(scr, 18, 78, "Ahoy there sailor the")
    placeholder_text(scr, 18, 90, "sea is wide and wild")
    if more_mark:                           # the font's right-pointing triangle
        for dy, colour in ((1, 0), (0, 15)):
            for x in range(5):
                for y in range(x, 7 - x):
                    scr[77 + dy + y][153 + x] = colour
    return scr


def save(path, grid, scale, background=0):
    h, w = len(grid), len(grid[0])
    px = [background if v in (None, KEY) else v for r in grid for v in r]
    write_png(path, w, h, px, scale)


def previews(out, pieces, idle, talk):
    os.makedirs(out, exist_ok=True)
    # every opening size of the box, as on the screen, on black and on the darkened sea
    for background in ("black", "sea"):
        scr = [[0] * 160 for _ in range(8 * 52)]
        if background == "sea":
            sea = sea_scene()
            scr = [sea[y % 120][:] for y in range(8 * 52)]
        for n, (w, h) in enumerate(OPENING):
            draw_sprite(scr, 8, n * 52, assemble_box(pieces, w, h))
        save(os.path.join(out, "dialog_box_opening_%s.png" % background), scr, 4)
    # the pieces themselves, apart
    sheet = [[7] * 56 for _ in range(56)]
    for k, g in enumerate(pieces):
        draw_sprite(sheet, 2 + 18 * (k % 3), 2 + 18 * (k // 3), g)
    save(os.path.join(out, "dialog_pieces.png"), sheet, 6)
    # each speaker: the idle loop over the talking loop, on black and on the sea blue
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
            write_png(os.path.join(out, "portrait_%d_%s.png" % (p + 1, name)),
                      len(grid[0]), len(grid), [v for r in grid for v in r], 4)
    # the dialog screen: the portrait as it rises (y = 20) and at rest (y = 11)
    for background in ("black", "sea"):
        for p in range(4):
            for y in (20, 11):
                scr = mock_screen(pieces, talk[p * 8 + 1], y, background)
                base = os.path.join(out, "mock_%s_p%d_y%d" % (background, p + 1, y))
                save(base + "_1x.png", scr, 1)
                save(base + "_3x.png", scr, 3)


# ---------------------------------------------------------------------------

def main(argv):
    pieces = [frame_piece(k) for k in range(9)]
    check_frame(pieces)
    idle, talk = all_portraits()
    check_portraits(idle, talk)
    frame_sheet(pieces).save(os.path.join(ART, "dialog_frame.png"))
    portrait_sheet(idle).save(os.path.join(ART, "portraits_idle.png"))
    portrait_sheet(talk).save(os.path.join(ART, "portraits_talk.png"))
    if "--preview" in argv:
        previews(argv[argv.index("--preview") + 1], pieces, idle, talk)


if __name__ == "__main__":
    main(sys.argv[1:])
