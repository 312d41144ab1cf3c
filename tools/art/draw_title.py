"""Draws the pictures of the title menu, the credit pages and the game-over screen.

    /usr/bin/python3 tools/art/draw_title.py            # writes the sheets into assets/art
    /usr/bin/python3 tools/art/draw_title.py --preview  # also writes previews into /tmp/title_preview

Sheets written (frame order in assets/art/title.tables and assets/title.h):
    logo_strip_a.png      120 x 60 x 16  the title logo's idle loop
    logo_strip_b.png      120 x 60 x 16  the logo's flourish, ending on strip A's frame 0
    title_cursor.png       16 x 16 x 2   the menu cursor: ship's wheel, then glinting
    title_sound_on.png      8 x 8        loudspeaker with sound waves (one-bit mask)
    title_sound_off.png     8 x 8        loudspeaker with a cross (one-bit mask)
    credits.png            80 x 80 x 3   the three credit pages' pictures, drawn opaque
    gameover.png           56 x 56 x 8   the sunken ship of the game-over screen, key red

Everything is drawn from shapes and small text grids here; once written, the sheets
are the sources and may be touched up by hand.
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import KEY, Sheet, write_png  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
ART = os.path.join(ROOT, "assets", "art")

# Colour names, index order of the game's palette.
BLACK, PLUM, SEA, GREY, BROWN, DKGREEN, RED, WARMGREY = 0, 1, 2, 3, 4, 5, 6, 7
BLUE, ORANGE, STEEL, GREEN, TAN, CYAN, YELLOW, WHITE = 8, 9, 10, 11, 12, 13, 14, 15

CLEAR = -1  # "nothing here" on a working canvas, before it is flattened onto a frame


# ---------------------------------------------------------------------------
# A small canvas of palette indices
# ---------------------------------------------------------------------------

class Pic:
    def __init__(self, w, h, fill=CLEAR):
        self.w, self.h = w, h
        self.px = [fill] * (w * h)

    def copy(self):
        p = Pic(self.w, self.h)
        p.px = list(self.px)
        return p

    def inside(self, x, y):
        return 0 <= x < self.w and 0 <= y < self.h

    def get(self, x, y, default=CLEAR):
        return self.px[y * self.w + x] if self.inside(x, y) else default

    def set(self, x, y, c):
        if self.inside(x, y):
            self.px[y * self.w + x] = c

    def rect(self, x0, y0, x1, y1, c):
        """Fill the rectangle with corners (x0, y0) and (x1, y1), both inclusive."""
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                self.set(x, y, c)

    def line(self, x0, y0, x1, y1, c):
        dx, dy = abs(x1 - x0), -abs(y1 - y0)
        sx, sy = (1 if x1 > x0 else -1), (1 if y1 > y0 else -1)
        err = dx + dy
        while True:
            self.set(x0, y0, c)
            if x0 == x1 and y0 == y1:
                return
            e2 = 2 * err
            if e2 >= dy:
                err += dy
                x0 += sx
            if e2 <= dx:
                err += dx
                y0 += sy

    def poly(self, pts, c):
        """Fill a polygon: every pixel whose centre lies inside."""
        ys = [p[1] for p in pts]
        for y in range(int(math.floor(min(ys))), int(math.ceil(max(ys))) + 1):
            cy = y + 0.5
            xs = []
            for i in range(len(pts)):
                (ax, ay), (bx, by) = pts[i], pts[(i + 1) % len(pts)]
                if (ay <= cy < by) or (by <= cy < ay):
                    xs.append(ax + (cy - ay) * (bx - ax) / (by - ay))
            xs.sort()
            for i in range(0, len(xs) - 1, 2):
                for x in range(int(math.ceil(xs[i] - 0.5)), int(math.floor(xs[i + 1] - 0.5)) + 1):
                    self.set(x, y, c)

    def ellipse(self, cx, cy, rx, ry, c):
        """Fill the ellipse centred on (cx, cy) (pixel centres may be half-integers)."""
        for y in range(int(cy - ry) - 1, int(cy + ry) + 2):
            for x in range(int(cx - rx) - 1, int(cx + rx) + 2):
                if ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0:
                    self.set(x, y, c)

    def grid(self, text, x0, y0, cmap=None):
        """Paste a text grid: hex digits are colours, '.' leaves the pixel alone; cmap maps
        other characters to colours."""
        rows = text.strip("\n").split("\n")
        for y, row in enumerate(rows):
            for x, ch in enumerate(row):
                if ch in ". ":
                    continue
                if cmap and ch in cmap:
                    c = cmap[ch]
                else:
                    c = int(ch, 16)
                self.set(x0 + x, y0 + y, c)

    def blit(self, other, x0, y0):
        for y in range(other.h):
            for x in range(other.w):
                c = other.px[y * other.w + x]
                if c != CLEAR:
                    self.set(x0 + x, y0 + y, c)

    def filled(self, x, y):
        return self.get(x, y) != CLEAR

    def outline(self, c, diagonal=False):
        """Put colour c on every clear pixel next to a filled one."""
        around = [(1, 0), (-1, 0), (0, 1), (0, -1)]
        if diagonal:
            around += [(1, 1), (1, -1), (-1, 1), (-1, -1)]
        todo = []
        for y in range(self.h):
            for x in range(self.w):
                if not self.filled(x, y) and any(self.filled(x + dx, y + dy) for dx, dy in around):
                    todo.append((x, y))
        for x, y in todo:
            self.set(x, y, c)

    def recolour(self, mapping):
        self.px = [mapping.get(c, c) for c in self.px]

    def frame(self, background=KEY):
        """The picture as rows of palette indices, clear pixels becoming background."""
        return [[background if self.px[y * self.w + x] == CLEAR else self.px[y * self.w + x]
                 for x in range(self.w)] for y in range(self.h)]


def grid_mask(text):
    """A text grid of '#' and '.' as a set of (x, y)."""
    rows = text.strip("\n").split("\n")
    return {(x, y) for y, row in enumerate(rows) for x, ch in enumerate(row) if ch == "#"}


# ---------------------------------------------------------------------------
# The word "Quillbarrow": chunky letters of our own, 3-pixel stems, 2-pixel bars.
# Row 0 is the top of the tall letters, row 5 the top of the short ones, row 15
# the baseline's last row; the Q's tail hangs one row below.
# ---------------------------------------------------------------------------

LETTERS = {
    "Q": """
..########....
.##########...
###......###..
###......###..
###......###..
###......###..
###......###..
###......###..
###......###..
###......###..
###......###..
###......###..
###...##.###..
###....#####..
.############.
..############
...........###
""",
    "u": """
..........
..........
..........
..........
..........
###....###
###....###
###....###
###....###
###....###
###....###
###....###
###....###
###....###
##########
.#########
""",
    "i": """
###
###
###
...
...
###
###
###
###
###
###
###
###
###
###
###
""",
    "l": "\n".join(["###"] * 16),
    "b": """
###.......
###.......
###.......
###.......
###.......
#########.
##########
###....###
###....###
###....###
###....###
###....###
###....###
###....###
##########
#########.
""",
    "a": """
..........
..........
..........
..........
..........
#########.
##########
.......###
.#########
##########
###....###
###....###
###....###
###....###
##########
.#########
""",
    "r": """
........
........
........
........
........
###.####
########
####..##
###.....
###.....
###.....
###.....
###.....
###.....
###.....
###.....
""",
    "o": """
..........
..........
..........
..........
..........
.########.
##########
###....###
###....###
###....###
###....###
###....###
###....###
###....###
##########
.########.
""",
    "w": """
.............
.............
.............
.............
.............
###.......###
###.......###
###.......###
###..###..###
###..###..###
###..###..###
###..###..###
###..###..###
###..###..###
#############
.####.#####..
""",
}

LETTER_GAP = 2
GOLD_SPLIT = 10  # rows above this are lit yellow, the rest orange


def word_face(word, x0, y0):
    """The pixels of the word's letter faces, top-left of the first tall letter at (x0, y0)."""
    face = set()
    x = x0
    for ch in word:
        m = grid_mask(LETTERS[ch])
        for (a, b) in m:
            face.add((x + a, y0 + b))
        x += max(a for a, b in m) + 1 + LETTER_GAP
    return face


def word_width(word):
    return max(x for x, y in word_face(word, 0, 0)) + 1


def draw_word(pic, face, y0, shine=None):
    """Gold letters lit from the top left on a two-pixel brown block, outlined in plum.
    shine(x, y) gives 2 for a face pixel in the core of the flourish's glint, 1 in its
    soft edge, 0 elsewhere."""
    block = {(x + k, y + k) for (x, y) in face for k in (1, 2)} - face
    layer = Pic(pic.w, pic.h)
    for (x, y) in block:
        below = (x, y + 1)
        layer.set(x, y, PLUM if below not in block and below not in face else BROWN)
    for (x, y) in face:
        row = y - y0
        c = YELLOW if row < GOLD_SPLIT else ORANGE
        if (x, y - 1) not in face and row < GOLD_SPLIT:
            c = WHITE
        if shine:
            lit = shine(x, y)  # 0 outside the glint, 1 its soft edge, 2 its core
            if lit == 2:
                c = WHITE
            elif lit == 1:
                c = WHITE if c == YELLOW else YELLOW
        layer.set(x, y, c)
    layer.outline(PLUM)
    pic.blit(layer, 0, 0)


# ---------------------------------------------------------------------------
# Our cargo ship, two masts, sailing to the right: white sails, blue pennant,
# brown hull with a gold wale. About 51 x 27 pixels, waterline at row 25.
# ---------------------------------------------------------------------------

# The pennant streaming ahead of the main masthead in the following wind, four shapes
# of a flutter.
PENNANTS = [
    """
88888888
8888888.
.888....
""",
    """
8888888.
88888888
.8888...
""",
    """
88888...
8888888.
8888.88.
""",
    """
888.....
8888888.
8888888.
""",
]


def sail(x0, y0, x1, y1, billow=1):
    """A square sail hanging from its yard on its own layer: lit on the left, the right
    quarter and the belly's bottom edge in shade, outlined in black."""
    layer = Pic(60, 40)
    w = x1 - x0 + 1
    for x in range(x0, x1 + 1):
        t = (x - x0 + 0.5) / w
        bottom = y1 + int(round(billow * math.sin(math.pi * t)))
        for y in range(y0, bottom + 1):
            c = WHITE
            if x >= x1 - max(1, w // 4) + 1 or y > y1:
                c = STEEL
            layer.set(x, y, c)
    layer.outline(BLACK)
    return layer


def ship_picture(pennant=0):
    p = Pic(52, 30)
    # masts and bowsprit
    rig = Pic(52, 30)
    rig.rect(18, 1, 18, 18, BROWN)
    rig.rect(32, 3, 32, 18, BROWN)
    rig.line(44, 16, 50, 13, BROWN)
    rig.outline(BLACK)
    p.blit(rig, 0, 0)
    # sails on their yards, aft to fore, each outlined so they stand apart
    for (x0, y0, x1, y1) in [(13, 3, 23, 8), (11, 10, 25, 16), (28, 6, 36, 10), (26, 12, 38, 17)]:
        layer = sail(x0, y0, x1, y1)
        layer.rect(x0 - 1, y0 - 1, x1 + 1, y0 - 1, BROWN)
        p.blit(layer, 0, 0)
    jib = Pic(52, 30)
    jib.poly([(33.5, 4), (49.5, 14), (36.5, 17.5)], WHITE)
    jib.line(37, 16, 46, 14, STEEL)
    jib.outline(BLACK)
    p.blit(jib, 0, 0)
    # hull: high stern, low waist, raised bow with a pointed stem
    hull = Pic(52, 30)
    hull.poly([(3, 15), (10, 15), (10, 18), (37, 18), (39, 16), (45, 16), (49, 15), (46, 20),
               (42, 24), (38, 25.5), (12, 25.5), (7, 24), (4, 20)], BROWN)
    for y in range(hull.h):
        for x in range(hull.w):
            if not hull.filled(x, y):
                continue
            if not hull.filled(x, y - 1):
                hull.set(x, y, TAN)
            elif y >= 23 or not hull.filled(x + 1, y):
                hull.set(x, y, PLUM)
    for x in range(4, 47):
        if hull.get(x, 21) == BROWN:
            hull.set(x, 21, ORANGE)
    for x in (15, 20, 25, 30, 35):
        hull.set(x, 21, BLACK)
    hull.set(5, 17, YELLOW)  # stern windows
    hull.set(7, 17, YELLOW)
    hull.outline(BLACK)
    p.blit(hull, 0, 0)
    # pennant at the main masthead
    pen = Pic(52, 30)
    pen.grid(PENNANTS[pennant], 19, 0)
    pen.outline(BLACK)
    p.blit(pen, 0, 0)
    p.set(18, 0, BROWN)
    return p


# ---------------------------------------------------------------------------
# Sea: rolling waves in mid blue with cyan and white crests (never the key colour)
# ---------------------------------------------------------------------------

def wave_surface(x, phase, period, amp):
    return amp * math.sin(2 * math.pi * (x - phase) / period)


def sea_band(pic, x0, x1, top, bottom, phase):
    """Water under a ship: a back swell at row top, rolling crests three rows lower, then
    the swell's body narrowing downward into stripes, between columns x0 and x1 at its
    widest. phase 0..15: the crests roll one pixel right a phase, the back swell half as
    fast the other way; both loop in 16 phases."""
    mid, half = (x0 + x1) / 2.0, (x1 - x0) / 2.0
    for x in range(x0, x1 + 1):
        back = top + int(round(wave_surface(x, -phase / 2.0, 8, 1.0)))
        front = top + 3 + int(round(wave_surface(x, phase, 16, 1.6)))
        for y in range(back, bottom + 1):
            # the band narrows like the bottom half of an ellipse
            depth = (y - top) / float(bottom - top)
            reach = half * math.sqrt(max(0.0, 1.0 - depth * depth))
            if abs(x - mid) > reach:
                continue
            if y < front:
                c = CYAN if y == back else BLUE
            elif y == front:
                c = WHITE if wave_surface(x, phase, 16, 1.0) > 0.6 else CYAN
            elif y <= top + 7:
                c = CYAN if y == top + 6 and (x - phase) % 16 in (9, 10, 11, 12) else BLUE
            elif (y - top) % 2 == 1:
                c = BLUE  # the deep swell breaks into bands
            else:
                continue
            pic.set(x, y, c)


# ---------------------------------------------------------------------------
# The title logo: our ship on a rolling swell over the gold word
# ---------------------------------------------------------------------------

LOGO_W, LOGO_H = 120, 60
WORD = "Quillbarrow"
WORD_TOP = 35
WORD_LEFT = (LOGO_W - word_width(WORD) - 3) // 2 + 1
SHIP_LEFT, SHIP_TOP = 34, 3

# The flourish's glint: a diagonal stripe crossing the letters, and a twinkle on the
# last letter's shoulder as it leaves. Step k of 0..14; step 15 is the plain logo.
SHINE_START, SHINE_STEP = 0, 9
SHINE_CORE = (1, 2, 3, 4, 7)
SHINE_SOFT = (0, 5, 6, 8)
TWINKLES = {
    12: """
.f.
fff
.f.
""",
    13: """
...f...
...f...
..efe..
fffffff
..efe..
...f...
...f...
""",
    14: """
f...f
.e.e.
..f..
.e.e.
f...f
""",
}


# Two gulls wheeling over the ship, four wing beats: up, level, down, level.
LOGO_GULLS = [
    """
f...f
.f.f.
..a..
""",
    """
.....
ff.ff
..a..
""",
    """
.....
..a..
ff.ff
""",
    """
.....
ff.ff
..a..
""",
]


def logo_frame(phase, shine=None):
    """One frame of the logo. phase 0..15 drives the swell, the pennant and the ship's
    bob (a 16-frame loop); shine is the flourish step or None."""
    p = Pic(LOGO_W, LOGO_H)
    bob = 1 if 4 <= phase < 12 else 0
    p.blit(ship_picture((phase // 4) % 4), SHIP_LEFT, SHIP_TOP + bob)
    sea_band(p, 12, 107, 25, 40, phase)
    for (x, y, beat) in [(18, 9, 0), (97, 5, 2)]:
        k = (phase // 2 + beat) % 4
        lift = 1 if (phase + 2 * beat) % 16 < 8 else 0
        p.grid(LOGO_GULLS[k], x, y - lift)
    face = word_face(WORD, WORD_LEFT, WORD_TOP)
    glint = None
    if shine is not None and shine < 15:
        edge = SHINE_START + SHINE_STEP * shine

        def glint(x, y):
            # a broad stripe and a thin one behind it, both leaning with the letters' light
            d = x + (y - WORD_TOP) - edge
            if d in SHINE_CORE:
                return 2
            if d in SHINE_SOFT:
                return 1
            return 0
    draw_word(p, face, WORD_TOP, glint)
    if shine in TWINKLES:
        star = TWINKLES[shine].strip("\n").split("\n")
        cx, cy = max(x for x, y in face) - 1, WORD_TOP + 5
        p.grid("\n".join(star), cx - len(star) // 2, cy - len(star) // 2)
    return p


# ---------------------------------------------------------------------------
# Credit pages: 80 x 80 pictures in a wooden frame, drawn opaque on black
# ---------------------------------------------------------------------------

CREDIT = 80
INNER = 4  # the frame is four pixels wide; the picture inside is 72 x 72


def picture_frame(p):
    """A wooden frame lit from the top left with brass studs in its corners."""
    n = CREDIT
    for i in range(n):
        for j in range(n):
            ring = min(i, j, n - 1 - i, n - 1 - j)
            if ring >= INNER:
                continue
            lit = i + j < n - 1 and (i == ring or j == ring)  # top or left side
            if ring == 0:
                c = BLACK
            elif ring == 1:
                c = TAN if lit else BROWN
            elif ring == 2:
                c = BROWN if lit else PLUM
            else:
                c = BLACK
            p.set(j, i, c)
    for (x, y) in [(1, 1), (n - 3, 1), (1, n - 3), (n - 3, n - 3)]:
        p.grid("""
ee
e9
""", x, y)


def gull(p, x, y, flap):
    """A small gull, wings up (flap 0) or level (1)."""
    p.grid(["f...f\n.f.f.\n..0..", "ff.ff\n..0.."][flap], x, y)


def credit_sea_scene():
    """Page one: our ship under full sail on a bright day, an island on the horizon."""
    p = Pic(CREDIT, CREDIT)
    horizon = 47
    # sky: mid blue overhead, cyan low over the horizon, one dithered row between
    for y in range(INNER, horizon):
        for x in range(INNER, CREDIT - INNER):
            if y < 24:
                c = BLUE
            elif y == 24:
                c = BLUE if x % 2 else CYAN
            else:
                c = CYAN
            p.set(x, y, c)
    # sun with a soft ring
    p.ellipse(62.5, 13.5, 5.2, 5.2, YELLOW)
    p.ellipse(62.5, 13.5, 3.6, 3.6, WHITE)
    # clouds: white puffs with steel undersides
    for (cx, cy, w) in [(20, 14, 9), (47, 25, 6)]:
        cl = Pic(CREDIT, CREDIT)
        cl.ellipse(cx, cy, w, 3.2, WHITE)
        cl.ellipse(cx - w * 0.35, cy - 2, w * 0.45, 2.6, WHITE)
        cl.ellipse(cx + w * 0.25, cy - 3, w * 0.4, 2.8, WHITE)
        for y in range(cl.h):
            for x in range(cl.w):
                if cl.filled(x, y) and not cl.filled(x, y + 2):
                    cl.set(x, y, STEEL)
        p.blit(cl, 0, 0)
    gull(p, 40, 9, 0)
    gull(p, 48, 14, 1)
    # an island on the horizon: a green hump on a strip of sand, one palm
    isl = Pic(CREDIT, CREDIT)
    isl.ellipse(68, horizon + 1, 9, 5, GREEN)
    for y in range(isl.h):
        for x in range(isl.w):
            if isl.filled(x, y) and (x - 68) + (y - horizon) * 2 > 0:
                isl.set(x, y, DKGREEN)
    isl.rect(57, horizon - 1, 77, horizon, YELLOW)
    p.blit(isl, 0, 0)
    p.grid("""
.55b55.
5b.4.b5
b..4..5
...4...
...4...
...4...
""", 64, horizon - 13)
    # the sea: deep blue, a line of surf on the horizon, wave marks longer toward us
    for y in range(horizon, CREDIT - INNER):
        for x in range(INNER, CREDIT - INNER):
            p.set(x, y, SEA)
    p.rect(INNER, horizon, CREDIT - INNER - 1, horizon, CYAN)
    p.rect(56, horizon, 76, horizon, WHITE)
    marks = [(49, [(8, 2), (40, 2), (68, 3)]),
             (52, [(61, 3), (71, 3)]),
             (55, [(6, 4), (66, 4)]),
             (59, [(13, 5), (35, 5), (57, 5)]),
             (63, [(4, 6), (25, 6), (47, 6), (67, 6)]),
             (68, [(14, 7), (38, 7), (60, 7)]),
             (73, [(4, 8), (28, 8), (52, 8)])]
    for y, runs in marks:
        for x0, n in runs:
            for x in range(x0, min(x0 + n, CREDIT - INNER)):
                p.set(x, y, BLUE)
            if n >= 5:
                for x in range(x0 + 1, x0 + n // 2 + 1):
                    p.set(x, y - 1, CYAN)
    # the ship, its hull sunk to the waterline, foam at the bow and along her side
    ship = ship_picture(1)
    sx, sy = 5, 29
    p.blit(ship, sx, sy)
    water = sy + 24
    for x in range(INNER, CREDIT - INNER):
        for y in range(water, water + 3):
            if p.get(x, y) in (PLUM, BROWN, BLACK, ORANGE, TAN):
                p.set(x, y, SEA)
    for x in range(sx + 9, sx + 46):
        p.set(x, water, BLUE if x % 5 else CYAN)
    p.grid("""
..fd.
.fd.d
fd...
""", sx + 44, water - 2)
    p.grid("""
dd.d
""", sx + 4, water)
    picture_frame(p)
    return p


def shaded(layer, lit, mid, dark, cx, cy):
    """Recolour a one-colour shape: its top-left rim lit, its bottom-right rim dark,
    judged from the centre (cx, cy)."""
    out = layer.copy()
    for y in range(layer.h):
        for x in range(layer.w):
            if not layer.filled(x, y):
                continue
            rim_up = not layer.filled(x, y - 1) or not layer.filled(x - 1, y)
            rim_down = not layer.filled(x, y + 1) or not layer.filled(x + 1, y)
            side = (x - cx) + (y - cy)
            if rim_down and side > 0:
                out.set(x, y, dark)
            elif rim_up and side < 0:
                out.set(x, y, lit)
            else:
                out.set(x, y, mid)
    return out


def paint_blob(p, x, y, colour):
    """A dab of paint on the palette: round, lit on its top left."""
    shade = {WHITE: STEEL, YELLOW: ORANGE, CYAN: BLUE, GREEN: DKGREEN, RED: PLUM,
             ORANGE: BROWN, BLUE: SEA}[colour]
    p.grid("""
.ccc.
cfccd
ccccd
.ddd.
""".replace("c", "%x" % colour).replace("d", "%x" % shade), x, y)


def along(tip, length_from, length_to, half_from, half_to):
    """A quadrilateral along the brush's axis (pointing up-left at 45 degrees from its
    tip), from distance length_from to length_to, half-widths half_from and half_to."""
    ux, uy = math.sqrt(0.5), math.sqrt(0.5)  # from the tip toward the handle
    nx, ny = -uy, ux
    tx, ty = tip
    a0 = (tx + ux * length_from, ty + uy * length_from)
    a1 = (tx + ux * length_to, ty + uy * length_to)
    return [(a0[0] + nx * half_from, a0[1] + ny * half_from),
            (a1[0] + nx * half_to, a1[1] + ny * half_to),
            (a1[0] - nx * half_to, a1[1] - ny * half_to),
            (a0[0] - nx * half_from, a0[1] - ny * half_from)]


def credit_pixel_art():
    """Page two: a brush laying a heart of pixels onto a grid, over the painter's palette."""
    p = Pic(CREDIT, CREDIT)
    cell = 6
    # the canvas: deep blue cells ruled in plum, like an editor's pixel grid
    for y in range(INNER, CREDIT - INNER):
        for x in range(INNER, CREDIT - INNER):
            on_line = (x - INNER) % cell == cell - 1 or (y - INNER) % cell == cell - 1
            p.set(x, y, PLUM if on_line else SEA)
    # the heart the brush is painting, one cell at a time
    heart = ["11011", "11111", "11111", "01110", "00100"]
    for r, row in enumerate(heart):
        for c, bit in enumerate(row):
            if bit == "1":
                gx, gy = INNER + cell * (c + 1), INNER + cell * (r + 1)
                p.rect(gx, gy, gx + cell - 2, gy + cell - 2, RED)
    for (c, r) in [(0, 1), (1, 0)]:  # the heart's shine
        gx, gy = INNER + cell * (c + 1), INNER + cell * (r + 1)
        p.rect(gx, gy, gx + cell - 2, gy + cell - 2, TAN)
    # the palette: a tan board with a thumb hole, dabs of paint around its edge
    board = Pic(CREDIT, CREDIT)
    board.ellipse(36, 60, 29, 13, TAN)
    hole = [(x, y) for y in range(CREDIT) for x in range(CREDIT)
            if ((x - 16.5) / 3.2) ** 2 + ((y - 62.5) / 2.7) ** 2 <= 1]
    for (x, y) in hole:
        board.set(x, y, CLEAR)
    board = shaded(board, WHITE, TAN, BROWN, 36, 60)
    for (x, y) in hole:  # the hole's right rim catches the light, its top left is in shade
        if board.filled(x + 1, y):
            board.set(x + 1, y, TAN)
        for dx, dy in ((-1, 0), (0, -1)):
            if board.filled(x + dx, y + dy):
                board.set(x + dx, y + dy, BROWN)
    board.outline(BLACK)
    p.blit(board, 0, 0)
    for (x, y, c) in [(24, 51, ORANGE), (32, 49, YELLOW), (40, 50, GREEN),
                      (22, 65, BLUE), (30, 67, WHITE), (38, 66, CYAN)]:
        paint_blob(p, x, y, c)
    # the brush, lying from the heart's point down to the bottom right corner
    tip = (30.5, 34.5)
    brush = Pic(CREDIT, CREDIT)
    brush.poly(along(tip, 15, 58, 2.6, 1.8), ORANGE)
    brush.poly(along(tip, 9, 16, 2.8, 2.8), STEEL)
    brush.poly(along(tip, 0, 9.5, 0.8, 2.8), BROWN)
    brush.poly(along(tip, 0, 4, 0.8, 2.0), RED)
    for y in range(brush.h):
        for x in range(brush.w):
            c = brush.get(x, y)
            if c in (ORANGE, STEEL) and not brush.filled(x + 1, y - 1) and \
                    brush.get(x - 1, y + 1) == c:
                brush.set(x, y, YELLOW if c == ORANGE else WHITE)
    brush.outline(BLACK)
    p.blit(brush, 0, 0)
    picture_frame(p)
    return p


def note_head(p, x, y, colour=WHITE):
    """A tilted note head, 5 x 4, its top-left corner at (x, y)."""
    p.grid("""
..cc.
.cccc
cccc.
.cc..
""".replace("c", "%x" % colour), x, y)


def credit_music():
    """Page three: a concertina squeezing out notes over a stave."""
    p = Pic(CREDIT, CREDIT)
    for y in range(INNER, CREDIT - INNER):
        for x in range(INNER, CREDIT - INNER):
            p.set(x, y, SEA)
    # the stave
    stave = [10, 15, 20, 25, 30]
    for y in stave:
        p.rect(INNER, y, CREDIT - INNER - 1, y, BLUE)
    # notes: a pair joined by a beam, and a single one with its flag
    notes = Pic(CREDIT, CREDIT)
    for (x, y) in [(16, 22), (28, 17)]:
        note_head(notes, x, y)
        notes.rect(x + 4, y - 12, x + 4, y + 1, WHITE)
    notes.poly([(19.5, 8.5), (33.5, 3.5), (33.5, 6.5), (19.5, 11.5)], WHITE)
    note_head(notes, 50, 24)
    notes.rect(54, 12, 54, 25, WHITE)
    notes.grid("""
f..
ff.
.ff
..f
..f
.f.
""", 55, 13)
    shine = [(17, 23), (29, 18), (51, 25)]
    notes.outline(BLACK)
    for (x, y) in shine:
        notes.set(x + 1, y, CYAN)
    p.blit(notes, 0, 0)
    # the concertina: two wooden ends, red bellows with dark folds
    c = Pic(CREDIT, CREDIT)
    top, bottom = 45, 71
    left, right, end_w = 13, 66, 14
    for x in range(left + end_w, right - end_w + 2):
        k = (x - left - end_w) % 4
        dip = 0 if k in (0, 3) else 1
        for y in range(top + 2 + dip, bottom - 1 - dip):
            if k == 0:
                col = PLUM
            elif k == 3:
                col = TAN if y < (top + bottom) // 2 else RED
            else:
                col = RED
            c.set(x, y, col)
        if k in (1, 2):  # the binding round the middle of the pleats
            c.set(x, (top + bottom) // 2, ORANGE)
    for x0 in (left, right - end_w + 1):
        x1 = x0 + end_w - 1
        board = Pic(CREDIT, CREDIT)
        board.poly([(x0 + 3, top), (x1 - 2, top), (x1 + 1, top + 3), (x1 + 1, bottom - 3),
                    (x1 - 2, bottom), (x0 + 3, bottom), (x0, bottom - 3), (x0, top + 3)], BROWN)
        board = shaded(board, TAN, BROWN, PLUM, (x0 + x1) / 2.0, (top + bottom) / 2.0)
        # a gold fretwork rose, and the buttons round it
        cx, cy = x0 + 7, top + 10
        board.grid("""
.999.
9...9
9.e.9
9...9
.999.
""", cx - 2, cy - 2)
        for (bx, by) in [(-4, -6), (0, -7), (4, -6), (-5, 0), (5, 0), (-4, 6), (0, 7), (4, 6)]:
            board.set(cx + bx, cy + by, WHITE)
        board.rect(x0 + 2, bottom - 5, x1 - 1, bottom - 4, PLUM)  # the hand strap
        board.rect(x0 + 2, bottom - 5, x1 - 1, bottom - 5, ORANGE)
        c.blit(board, 0, 0)
    c.outline(BLACK)
    p.blit(c, 0, 0)
    # the sound coming out of both ends
    arcs = """
.d...d..
..d...d.
..d...d.
..d...d.
.d...d..
"""
    flipped = "\n".join(r[::-1] for r in arcs.strip("\n").split("\n"))
    p.grid(arcs, 68, 53)
    p.grid(flipped, 4, 53)
    # and a note rising from the bellows
    rising = Pic(CREDIT, CREDIT)
    note_head(rising, 35, 37)
    rising.rect(39, 29, 39, 38, WHITE)
    rising.grid("""
f.
ff
.f
""", 40, 29)
    rising.outline(BLACK)
    rising.set(36, 38, CYAN)
    p.blit(rising, 0, 0)
    picture_frame(p)
    return p


# ---------------------------------------------------------------------------
# The game-over picture: our ship on the sea bed, her broken mast above the waves.
# 56 x 56, eight frames looping; red is the key, everything else is drawn.
# ---------------------------------------------------------------------------

GO = 56
GO_KEY = RED
SURFACE = 15  # the mean row of the sea's surface

# colours of the wreck seen through the water
UNDERWATER = {WHITE: STEEL, STEEL: BLUE, TAN: WARMGREY, ORANGE: BROWN, YELLOW: TAN,
              BROWN: BROWN, PLUM: PLUM, BLACK: BLACK, BLUE: SEA}

# the torn pennant at the masthead, four flutters (two frames each)
RAGS = [
    """
888888
8888..
.88...
""",
    """
88888.
888888
..8...
""",
    """
8888..
88888.
8888..
""",
    """
888888
88.88.
.8....
""",
]


def in_bowl(x, y):
    """The picture's round-bottomed cut of sea."""
    return (x + 0.5 - GO / 2.0) ** 2 + (y + 0.5 - 26.0) ** 2 <= 30.0 ** 2


def surface_row(x, frame):
    """The waves roll two pixels right a frame: a 16-pixel swell loops in eight frames."""
    return SURFACE + int(round(1.3 * math.sin(2 * math.pi * (x - 2 * frame) / 16.0)))


def wreck_picture(frame):
    p = Pic(GO, GO)
    # mast first: from the deck up through the surface, leaning with the hull
    p.line(27, 40, 33, 6, BROWN)
    p.line(28, 40, 34, 6, BROWN)
    p.set(33, 5, BROWN)
    # the yard with a torn sail hanging from it, under water
    p.line(25, 22, 40, 19, BROWN)
    sail = Pic(GO, GO)
    sail.poly([(26, 23), (39.5, 20), (40, 27), (37, 30), (35, 28), (32, 31), (29, 29), (26, 31)],
              WHITE)
    for y in range(GO):
        for x in range(GO):
            if sail.filled(x, y) and (x > 36 or not sail.filled(x, y + 1)):
                sail.set(x, y, STEEL)
    p.blit(sail, 0, 0)
    # a stump of the mizzen, snapped off
    p.poly([(12, 44), (15, 44), (14.5, 35), (13, 33.5), (12.5, 36)], BROWN)
    # the hull on its keel, tilted, stern high on the right, a hole in her side
    hull = Pic(GO, GO)
    hull.poly([(4, 46), (9, 42), (39, 37), (45, 34), (49, 35), (48, 41), (43, 46), (17, 51.5),
               (8, 51)], BROWN)
    for y in range(GO):
        for x in range(GO):
            if not hull.filled(x, y):
                continue
            if not hull.filled(x, y - 1):
                hull.set(x, y, TAN)
            elif int(round(y + 0.2 * x)) % 4 == 0 or not hull.filled(x, y + 1):
                hull.set(x, y, PLUM)
    hull.poly([(16, 44), (21, 42.5), (22, 46.5), (18, 48)], BLACK)  # the shot hole
    for (x, y) in [(43, 38), (46, 37)]:  # dark stern windows
        hull.set(x, y, BLACK)
    p.blit(hull, 0, 0)
    p.outline(BLACK)
    # everything under the surface is seen through the water
    for y in range(GO):
        for x in range(GO):
            if p.filled(x, y) and y > surface_row(x, frame):
                p.set(x, y, UNDERWATER.get(p.get(x, y), p.get(x, y)) if in_bowl(x, y) else CLEAR)
    # the pennant, still flying
    rag = Pic(GO, GO)
    rag.grid(RAGS[frame // 2], 35, 4)
    rag.outline(BLACK)
    p.blit(rag, 0, 0)
    return p


def gameover_frame(frame):
    """Frame 0..7 of the game-over picture, as palette indices with the red key."""
    p = Pic(GO, GO)
    # the water
    for y in range(GO):
        for x in range(GO):
            if not in_bowl(x, y):
                continue
            s = surface_row(x, frame)
            if y < s:
                continue
            if y == s:
                crest = math.sin(2 * math.pi * (x - 2 * frame) / 16.0) > 0.55
                c = WHITE if crest else CYAN
            elif y <= s + 2:
                c = BLUE
            else:
                c = SEA
            p.set(x, y, c)
    # the sea bed: a bank of sand with a rock or two
    bed = Pic(GO, GO)
    for x in range(GO):
        top = 47 + int(round(2.5 * math.cos((x - 40) / 9.0)))
        for y in range(top, GO):
            if in_bowl(x, y):
                bed.set(x, y, TAN if y == top else (WARMGREY if y < top + 3 else BROWN))
    p.blit(bed, 0, 0)
    # the wreck
    p.blit(wreck_picture(frame), 0, 0)
    # weed waving on the sand, two strands to a clump
    for (x0, y0, h, phase) in [(9, 50, 8, 0), (37, 49, 6, 3), (45, 48, 9, 5)]:
        for strand in (0, 1):
            for k in range(h - 2 * strand):
                wave = math.sin(2 * math.pi * (frame + phase + 2 * strand) / 8.0 + k * 0.5)
                sway = int(round(wave * k / 3.5))
                p.set(x0 + 2 * strand + sway, y0 - k, GREEN if (k + strand) % 3 else DKGREEN)
    # bubbles rising from the shot hole and the hatch, three pixels a frame
    for (x0, y0, start) in [(19, 43, 0), (20, 43, 4), (44, 35, 2), (45, 35, 6)]:
        for lap in range(3):
            age = (frame + start) % 8 + 8 * lap
            y = y0 - 3 * age
            x = x0 + int(round(math.sin(age * 0.9 + start)))
            if y <= surface_row(x, frame) + 2 or not in_bowl(x, y):
                continue
            if age >= 4:
                p.grid("""
.d.
f.d
.d.
""", x - 1, y - 1)
            else:
                p.set(x, y, CYAN)
    # everything left is the key
    out = Pic(GO, GO)
    for y in range(GO):
        for x in range(GO):
            c = p.get(x, y)
            out.set(x, y, GO_KEY if c == CLEAR else c)
    return out


# ---------------------------------------------------------------------------
# The menu cursor: a ship's wheel beside the chosen entry
# ---------------------------------------------------------------------------

WHEEL_STILL = """
......e......
.e....4....e.
..4.ccc99.4..
...c..4..9...
..c.4.4.4.9..
..c..444..9..
e4c444e44494e
..9..444..4..
..9.4.4.4.4..
...9..4..4...
..4.99444.4..
.e....4....e.
......e......
"""

# The same wheel catching the light: its rim, hub and top handles glint.
WHEEL_GLINT = """
......f......
.f....4....e.
..4.ffc99.4..
...f..4..9...
..c.4.4.4.9..
..c..444..9..
e4c444f44494e
..9..444..4..
..9.4.4.4.4..
...9..4..4...
..4.99444.4..
.e....4....e.
......e......
"""


def wheel_picture(grid):
    """A ship's wheel centred on (6, 7) of a 16 x 16 frame."""
    p = Pic(16, 16)
    p.grid(grid, 0, 1)
    p.outline(BLACK)
    return p


# ---------------------------------------------------------------------------
# The loudspeaker marks beside "Music" and "SFX" (one-bit masks, 7 rows like the font)
# ---------------------------------------------------------------------------

SOUND_ON = """
...#..#.
..##...#
####.#.#
####.#.#
####.#.#
..##...#
...#..#.
........
"""

SOUND_OFF = """
...#....
..##....
####.#.#
####..#.
####.#.#
..##....
...#....
........
"""


# ---------------------------------------------------------------------------
# Previews: mock screens as the game draws them
# ---------------------------------------------------------------------------

FONT_FILE = os.path.join(ART, "font.txt")


def load_font():
    """The game's font from its text grid: glyph code -> set of lit (x, y)."""
    glyphs = {}
    try:
        with open(FONT_FILE) as f:
            lines = [line.split() for line in f if line.strip() and not line.startswith("#")]
    except OSError:
        return glyphs
    for band in range(len(lines) // 8):
        for col in range(16):
            lit = set()
            for y in range(8):
                cells = lines[band * 8 + y][col]
                lit |= {(x, y) for x, ch in enumerate(cells) if ch == "f"}
            glyphs[band * 16 + col] = lit
    return glyphs


class Screen:
    """A 160 x 120 frame, cleared to black, drawn into like the game does."""

    def __init__(self, fill=BLACK):
        self.pic = Pic(160, 120, fill)
        self.font = load_font()

    def text(self, x, y, s, colour=WHITE):
        for i, ch in enumerate(s):
            for (gx, gy) in self.font.get(ord(ch), ()):
                self.pic.set(x + 6 * i + gx, y + gy, colour)

    def sprite(self, x, y, grid, key=KEY):
        for r, row in enumerate(grid):
            for c, v in enumerate(row):
                if v != key:
                    self.pic.set(x + c, y + r, v)

    def rippled(self, x0, y0, grid, key, frame_counter):
        """The ripple loop of the title logo and the game-over picture, ripple on."""
        f = frame_counter
        for r, row in enumerate(grid):
            for c, v in enumerate(row):
                d = (c == f + 4) + (c == f + 5) - (c == f) - (c == f - 1)
                if v != key:
                    self.pic.set(x0 + c, y0 + r + d, v)

    def save(self, path, scale=1):
        write_png(path, 160, 120, self.pic.px, scale)


# ---------------------------------------------------------------------------
# Writing the sheets, the table list and the header
# ---------------------------------------------------------------------------

def to_grid(pic, background=KEY):
    return pic.frame(background)


def logo_strip_a():
    return [to_grid(logo_frame(phase)) for phase in range(16)]


def logo_strip_b():
    # The flourish follows strip A's frame 0, carries the swell on one phase a frame, and
    # comes back to the phase of strip A's frame 0 on its last frame.
    return [to_grid(logo_frame((k + 1) % 16, k)) for k in range(16)]


def credit_pictures():
    return [to_grid(pic, BLACK) for pic in (credit_sea_scene(), credit_pixel_art(), credit_music())]


def mark_grid(text):
    cells = grid_mask(text)
    return [[WHITE if (x, y) in cells else KEY for x in range(8)] for y in range(8)]


# name, file, frame w, h, frames, kind, columns on the sheet, comment for the table list
TABLES = [
    ("CreditPictures", "credits.png", 80, 80, 3, "sprite", 3,
     "Credit page pictures, drawn opaque: 0 our ship at sea (game), 1 palette and brush "
     "(pixel art), 2 concertina and notes (music and sound)."),
    ("GameOverFrames", "gameover.png", 56, 56, 8, "sprite", 4,
     "Game-over picture, key red (6): frame = frameCounter / 15, the wreck's waves rolling, "
     "bubbles rising, pennant fluttering; loops."),
    ("LogoStripA", "logo_strip_a.png", 120, 60, 16, "sprite", 4,
     "Title logo idle loop: frames 0-15 are phases of the swell, the pennant, the gulls' "
     "wings and the ship's bob (each shown 2 game frames); loops."),
    ("LogoStripB", "logo_strip_b.png", 120, 60, 16, "sprite", 4,
     "Title logo flourish: frames 0-14 a glint sweeping across the word, then a twinkle; "
     "frame 15 is strip A's frame 0."),
    ("MenuCursorFrames", "title_cursor.png", 16, 16, 2, "sprite", 2,
     "Menu cursor: 0 the ship's wheel, 1 the wheel glinting (rim, hub and top handles lit)."),
    ("SoundOnMark", "title_sound_on.png", 8, 8, 1, "mask", 1,
     "Loudspeaker with sound waves, one byte per column, bit 0 the top row."),
    ("SoundOffMark", "title_sound_off.png", 8, 8, 1, "mask", 1,
     "Loudspeaker with a cross, one byte per column, bit 0 the top row."),
]

HEADER = """// Pictures of the title menu, the credit pages and the game-over screen.
// Packed 4-bit frames in slots of width x height bytes unless said otherwise.
#pragma once
#include <cstdint>

// Credit page pictures, 80 x 80, 3 frames (slots of 6400 bytes): 0 the game (our ship at
// sea), 1 the pixel art (a palette and a brush), 2 the music and sound (a concertina).
// Drawn opaque: every pixel, index 2 included.
extern const uint8_t CreditPictures[];

// The game-over picture, 56 x 56, 8 frames (slots of 3136 bytes), frame = frameCounter / 15:
// our ship on the sea bed under rolling waves, bubbles rising. The key is red (index 6);
// index 2 is drawn.
extern const uint8_t GameOverFrames[];

// The title logo, 120 x 60, 16 frames each (slots of 7200 bytes), key index 2. Strip A is
// the idle loop: the swell rolls, the pennant flutters, two gulls beat their wings and
// the ship bobs. Strip B is the flourish, a glint sweeping across the word and a twinkle
// on its last letter; its frame 15 is strip A's frame 0.
extern const uint8_t LogoStripA[];
extern const uint8_t LogoStripB[];

// The menu cursor, 16 x 16, 2 frames (slots of 256 bytes), key index 2: 0 a ship's wheel,
// 1 the wheel glinting. The wheel's centre is pixel (6, 7).
extern const uint8_t MenuCursorFrames[];

// Loudspeaker marks drawn beside "Music" and "SFX", 8 x 8 one-bit masks: 8 bytes, one
// per column from the left, bit 0 the top row; set bits are drawn. Rows 0-6 only.
extern const uint8_t SoundOnMark[];
extern const uint8_t SoundOffMark[];
"""


def sheet_of(frames, fw, fh, columns):
    s = Sheet(fw, fh, len(frames), columns=columns)
    for i, grid in enumerate(frames):
        s.put_frame(i, grid)
    return s


def all_frames():
    return {
        "CreditPictures": credit_pictures(),
        "GameOverFrames": [to_grid(gameover_frame(f)) for f in range(8)],
        "LogoStripA": logo_strip_a(),
        "LogoStripB": logo_strip_b(),
        "MenuCursorFrames": [to_grid(wheel_picture(WHEEL_STILL)), to_grid(wheel_picture(WHEEL_GLINT))],
        "SoundOnMark": [mark_grid(SOUND_ON)],
        "SoundOffMark": [mark_grid(SOUND_OFF)],
    }


def write_all():
    frames = all_frames()
    sheets = {}
    for name, path, fw, fh, count, kind, columns, note in TABLES:
        assert len(frames[name]) == count, name
        sheets[name] = sheet_of(frames[name], fw, fh, columns)
        sheets[name].save(os.path.join(ART, path))
    with open(os.path.join(ART, "title.tables"), "w") as f:
        f.write("# Pictures of the title menu, the credit pages and the game-over screen "
                "(tools/art/draw_title.py made them).\n")
        for name, path, fw, fh, count, kind, columns, note in TABLES:
            f.write("# %s\n" % note)
            f.write("%-17s %-19s %3d %3d %3d  %s\n" % (name, path, fw, fh, count, kind))
    with open(os.path.join(ROOT, "assets", "title.h"), "w") as f:
        f.write(HEADER)
    return sheets


if __name__ == "__main__":
    write_all()
    if "--preview" in sys.argv:
        import draw_title_preview
        draw_title_preview.write_previews()
