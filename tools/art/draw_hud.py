"""Draws the pictures of the status bar, the pickup icon over the ship and the island map's frame.

    /usr/bin/python3 tools/art/draw_hud.py     # writes the sheets into assets/art

Sheets written (table names, sizes and frame order in assets/art/hud.tables):
    hud_gold.png        16 x 16 x 10  gold coin on a plate: shine sweeping, a rock, a twinkle
    hud_cargo.png       16 x 16       a crate, like the one on a giving port's sign
    hud_compass.png     16 x 16       brass-rimmed compass dial
    hud_arrow.png        8 x 8 x 8    the dial's arrow, from up turning anticlockwise
    hud_hull.png        16 x 16       our ship in miniature: hull, white sail, pennant
    hud_cannonball.png   8 x 8 x 8    an iron ball, a glint running round it
    hud_map_frame.png   72 x 72       a brass-cornered wooden frame around the island map
    hud_pickup.png      24 x 24 x 40  gold, crate, hammer and plank, three balls: each
                                      flashes up, rises, glints and dissolves

Icons are text grids ('.' leaves the pixel clear, hex digits are palette indices);
the crate, the dial and the map's frame are drawn by rule.  The pickup's coin,
crate and cannonballs are the bar's, larger or piled, so that each reads as what
it adds to the bar.  Once written, the sheets are the sources: retouch them by
hand, then run draw_hud_check.py and look at draw_hud_preview.py's mock-ups.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import Sheet  # noqa: E402
from draw_title import ART, CLEAR, Pic  # noqa: E402
from draw_dialog import BAR, PLATE as CORNER_PLATE, STUD as STUD_COLOURS  # noqa: E402

BLACK, PLUM, SEA, GREY, BROWN, DKGREEN, RED, WARMGREY = 0, 1, 2, 3, 4, 5, 6, 7
BLUE, ORANGE, STEEL, GREEN, TAN, CYAN, YELLOW, WHITE = 8, 9, 10, 11, 12, 13, 14, 15

# name, sheet, frame width, height, frames, columns on the sheet
TABLES = [
    ("GoldIconFrames", "hud_gold.png", 16, 16, 10, 10),
    ("CargoIcon", "hud_cargo.png", 16, 16, 1, 1),
    ("CompassDial", "hud_compass.png", 16, 16, 1, 1),
    ("CompassArrowFrames", "hud_arrow.png", 8, 8, 8, 8),
    ("HullIcon", "hud_hull.png", 16, 16, 1, 1),
    ("CannonballIconFrames", "hud_cannonball.png", 8, 8, 8, 8),
    ("MapFrame", "hud_map_frame.png", 72, 72, 1, 1),
    ("PickupIconFrames", "hud_pickup.png", 24, 24, 40, 10),
]

# Where the island map lies on the map frame: columns 7..61, rows 8..63.
MAP_X0, MAP_Y0, MAP_X1, MAP_Y1 = 7, 8, 61, 63


def pic(w, h, text=None):
    """A w x h picture, painted from a text grid of exactly that size if given."""
    p = Pic(w, h)
    if text:
        rows = text.strip("\n").split("\n")
        assert len(rows) == h and all(len(r) == w for r in rows), text
        p.grid(text, 0, 0)
    return p


def placed(p, x, y, w=16, h=16):
    """p on a clear w x h frame with its top left at (x, y)."""
    q = Pic(w, h)
    q.blit(p, x, y)
    return q


# ---------------------------------------------------------------------------
# Gold: a coin lit from the top left, its rim shaded to the bottom right, a bar
# struck in the middle. The bar's coin rocks a little on its plate and back, never
# narrower than seven pixels, so that no frame of it reads as a "1" before the gold
# number; the pickup's coin is the same coin, larger. The coin sits on the end of a
# dark plate that reaches under the number's first digit (the only part of the
# number the icon's frame reaches), so that digit reads over sand, foam or huts.
# ---------------------------------------------------------------------------

COIN = """
..00000..
.0eeeee0.
0eefeee90
0efe9ee90
0eee9ee90
0eee9ee90
0eeeee990
.0999990.
..00000..
"""
COIN_TILTED = """
..0000...
.0eeee0..
0eefee90.
0efe9e90.
0eee9e90.
0eee9e90.
0eeee990.
.099990..
..0000...
"""
COIN_TURNED = """
...000...
..0eee0..
.0eeee90.
.0fee990.
.0eee990.
.0eee990.
.0ee9990.
..09990..
...000...
"""
BIG_COIN = """
....00000....
..00eeeee00..
.0efeeeeee90.
.0feeeeeee90.
0efeee9eee990
0eeeee9eee990
0eeeee9eee990
0eeeee9eee990
0eeeee9ee9990
.0eeeeeee990.
.0ee99999990.
..009999900..
....00000....
"""

# What each colour becomes where a shine crosses a picture.
BRIGHTER = {ORANGE: YELLOW, YELLOW: WHITE, TAN: WHITE, BROWN: ORANGE, GREY: STEEL, STEEL: WHITE}


def shined(p, k, width=1):
    """A copy of p brightened along the diagonal band k <= x + y < k + width."""
    q = p.copy()
    for y in range(p.h):
        for x in range(k - y, k - y + width):
            q.set(x, y, BRIGHTER.get(p.get(x, y), p.get(x, y)))
    return q


def twinkle(p, x, y, arm):
    """A four-pointed white star centred on (x, y)."""
    p.set(x, y, WHITE)
    for k in range(1, arm + 1):
        for dx, dy in ((k, 0), (-k, 0), (0, k), (0, -k)):
            p.set(x + dx, y + dy, WHITE)


# The plate, in the coin's 16 x 16 frame: a plum panel in a black line like the
# dialog box's, from behind the coin to column 15 (the gap after the first digit,
# which the game writes from column 10, rows 1 to 8), rounded at its free end.
GOLD_PLATE = """
.......00000000.
......0111111110
......0111111110
......0111111110
......0111111110
......0111111110
......0111111110
......0111111110
......0111111110
.......00000000.
"""


def gold_frames():
    # steps 1-3 a shine sweeps across, 5-7 the coin rocks and comes back, 9 it twinkles
    coin = pic(9, 9, COIN)
    pictures = [coin, shined(coin, 3), shined(coin, 6), shined(coin, 9), coin,
                pic(9, 9, COIN_TILTED), pic(9, 9, COIN_TURNED), pic(9, 9, COIN_TILTED), coin, coin.copy()]
    twinkle(pictures[9], 2, 2, 2)
    frames = []
    for p in pictures:
        q = Pic(16, 16)
        q.grid(GOLD_PLATE, 0, 0)
        q.blit(p, 0, 0)
        frames.append(q)
    return frames


# ---------------------------------------------------------------------------
# Cargo: a crate, any size, lit boards along the top and left, shaded ones along
# the bottom and right, an X brace across orange planks, as on a port's sign.
# ---------------------------------------------------------------------------

def crate(size):
    p = Pic(size, size)
    n = size - 1
    for y in range(size):
        for x in range(size):
            if x in (0, n) or y in (0, n):
                colour = BLACK
            elif x == 1 or y == 1:
                colour = ORANGE if (x == n - 1 or y == n - 1) else TAN
            elif x == n - 1 or y == n - 1:
                colour = PLUM if (x == n - 1 and y == n - 1) else BROWN
            elif x == y or x + y == n:
                colour = BROWN
            else:
                colour = ORANGE
            p.set(x, y, colour)
    return p


# ---------------------------------------------------------------------------
# Hull: our ship in miniature, a hull under a white sail and the blue pennant.
# ---------------------------------------------------------------------------

HULL = """
....0880.
...0f0...
..0ff70..
.0fff70..
0ffff770.
000000000
0ccc4cc90
.0999940.
..00000..
"""


# ---------------------------------------------------------------------------
# Cannonballs: an iron ball lit from the top left, a glint running round it.
# ---------------------------------------------------------------------------

BALL = """
..000..
.0aa30.
0a33330
0a33310
0333310
.03110.
..000..
"""
BALL_GLINT = [(2, 1), (4, 1), (5, 2), (5, 4), (4, 5), (2, 5), (1, 4), (1, 2)]


def cannonball_frames():
    frames = []
    for gx, gy in BALL_GLINT:
        p = placed(pic(7, 7, BALL), 0, 0, 8, 8)
        p.set(gx, gy, WHITE)
        frames.append(p)
    return frames


# ---------------------------------------------------------------------------
# Compass: a brass-rimmed dial with a white face and four ticks; the arrow,
# a red head on a black shaft, turns about the dial's centre (8, 8).
# ---------------------------------------------------------------------------

def dial():
    p = Pic(16, 16)
    for y in range(16):
        for x in range(16):
            dx, dy = x + 0.5 - 8, y + 0.5 - 8
            d = (dx * dx + dy * dy) ** 0.5
            lit = -(dx + dy) / max(d, 0.01)          # 1 facing the light, -1 away
            if d > 7.3:
                continue
            if d > 5.3:
                colour = YELLOW if lit > 0.4 else (ORANGE if lit > -0.7 else BROWN)
            elif d > 4.3 and lit > 0.3:
                colour = STEEL                        # the rim's shadow on the face
            else:
                colour = WHITE
            p.set(x, y, colour)
    for x, y in ((7, 3), (8, 3), (3, 7), (3, 8), (12, 7), (12, 8), (7, 12), (8, 12)):
        p.set(x, y, GREY)
    p.outline(BLACK)
    return p


ARROW_UP = """
...66...
..6666..
.666666.
...00...
...00...
...00...
...00...
........
"""
ARROW_UP_LEFT = """
6666....
666.....
6600....
6.000...
...000..
....000.
.....0..
........
"""


def turned(p, quarter_turns):
    """The picture turned anticlockwise by 90 degrees, quarter_turns times."""
    for _ in range(quarter_turns % 4):
        q = Pic(p.h, p.w)
        for y in range(p.h):
            for x in range(p.w):
                q.set(y, p.w - 1 - x, p.get(x, y))
        p = q
    return p


def arrow_frames():
    # frame 0 up, 1 up-left, 2 left, ... 7 up-right: two frames on is a quarter turn on.
    up, up_left = pic(8, 8, ARROW_UP), pic(8, 8, ARROW_UP_LEFT)
    return [turned(up if f % 2 == 0 else up_left, f // 2) for f in range(8)]


# ---------------------------------------------------------------------------
# The chart's frame, in the dialog box's style: a wooden bar lit along its top or
# left edge and shaded along the other, a black groove against the map, brass
# studs along the bars and brass plates over the corner joints. The sides have
# room for a bar one pixel wider than the dialog box's, the top and bottom for
# two; the extra pixels are wood. The map is laid just inside the groove; the
# last three columns stay clear, so the frame is as wide on the right of the map
# as on the left.
# ---------------------------------------------------------------------------

STUD = "\n".join("".join("%x" % c for c in row) for row in STUD_COLOURS)


def bar(width):
    """The dialog box's bar stretched to width pixels: outline, lit edge, wood,
    shaded edge, groove."""
    return BAR[:2] + [BAR[2]] * (width - 4) + BAR[-2:]


def map_frame():
    p = Pic(72, 72)
    right, bottom = MAP_X1 + 7, MAP_Y1 + 8        # the frame's last column and row
    side, top = bar(MAP_X0), bar(MAP_Y0)
    for y in range(bottom + 1):
        for x in range(right + 1):
            if y < MAP_Y0:
                p.set(x, y, top[y])
            elif y > MAP_Y1:
                p.set(x, y, top[y - MAP_Y1 - 1])
            elif x < MAP_X0:
                p.set(x, y, side[x])
            elif x > MAP_X1:
                p.set(x, y, side[x - MAP_X1 - 1])
    # a stud every 16 pixels along each bar, out from the middle, on the wood
    # just inside the lit edge
    for x in range((MAP_X0 + MAP_X1) // 2 % 16, MAP_X1, 16):
        if x > MAP_X0:
            for y0 in (2, MAP_Y1 + 3):
                p.grid(STUD, x, y0)
    for y in range((MAP_Y0 + MAP_Y1) // 2 % 16, MAP_Y1, 16):
        if y > MAP_Y0:
            for x0 in (2, MAP_X1 + 3):
                p.grid(STUD, x0, y)
    # the corner plates, the dialog box's with one column fewer, rounded outside
    plate = "\n".join(row[:4] + row[5:] for row in CORNER_PLATE)
    for x0, y0 in ((0, 0), (MAP_X1 + 1, 0), (0, MAP_Y1 + 1), (MAP_X1 + 1, MAP_Y1 + 1)):
        p.grid(plate, x0, y0)
    for x, y in ((0, 0), (right, 0), (0, bottom), (right, bottom)):
        p.set(x, y, CLEAR)
    p.rect(MAP_X0, MAP_Y0, MAP_X1, MAP_Y1, CLEAR)
    return p


# ---------------------------------------------------------------------------
# The pickup icon: a flash where the picture will be, the picture rising out of
# the ship with easing, a shine crossing it, a twinkle, then it breaks up and
# the last sparks fade.
# ---------------------------------------------------------------------------

HAMMER_AND_PLANK = """
....000000...
...0faaaaa00.
..0faaaaaa330
..0a33333300.
...000440....
.....0940....
.....0940....
.....0940....
000000940000.
0ccc30940c3c0
0cccc0940ccc0
044440440444.
.000000000000
"""


def pickup_pictures():
    balls = Pic(13, 13)
    for x, y in ((0, 6), (6, 6), (3, 1)):      # two balls and one on top
        balls.grid(BALL, x, y)
        balls.set(x + 2, y + 1, WHITE)
    return [pic(13, 13, BIG_COIN), crate(13), pic(13, 13, HAMMER_AND_PLANK), balls]


RISE = [0, 0, 2, 3, 4, 5, 6, 6, 7, 8]        # pixels above the first place, by step
SHINE = {3: 2, 4: 8, 5: 14}                   # where the shine's band starts, by step
SPARKS = [(3, 2), (9, 1), (6, 6), (11, 8), (2, 9), (8, 11)]


def pickup_frames():
    frames = []
    for icon in pickup_pictures():
        for step in range(10):
            p = Pic(24, 24)
            top = 9 - RISE[step]
            if step == 0:
                twinkle(p, 12, 15, 3)
                for dx, dy in ((-3, -3), (3, -3), (-3, 3), (3, 3)):
                    p.set(12 + dx, 15 + dy, YELLOW)
            elif step < 8:
                p.blit(shined(icon, SHINE[step], 3) if step in SHINE else icon, 6, top)
                if step == 6:
                    twinkle(p, 9, top + 2, 2)
            elif step == 8:
                for y in range(13):
                    for x in range(13):
                        if (x + y) % 2 == 0 and icon.filled(x, y):
                            p.set(6 + x, top + y, icon.get(x, y))
            else:
                for x, y in SPARKS:
                    p.set(6 + x, top + y, WHITE if (x + y) % 3 else YELLOW)
            frames.append(p)
    return frames


def all_frames():
    return {
        "GoldIconFrames": gold_frames(),
        "CargoIcon": [placed(crate(9), 0, 1)],
        "CompassDial": [dial()],
        "CompassArrowFrames": arrow_frames(),
        "HullIcon": [placed(pic(9, 9, HULL), 0, 0)],
        "CannonballIconFrames": cannonball_frames(),
        "MapFrame": [map_frame()],
        "PickupIconFrames": pickup_frames(),
    }


def write_all():
    frames = all_frames()
    for name, path, fw, fh, count, columns in TABLES:
        assert len(frames[name]) == count, name
        s = Sheet(fw, fh, count, columns=columns)
        for i, p in enumerate(frames[name]):
            s.put_frame(i, p.frame())
        s.save(os.path.join(ART, path))


if __name__ == "__main__":
    write_all()
