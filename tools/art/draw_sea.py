"""Draws the first version of the sea view's picture sheets (group `sea`).

    /usr/bin/python3 tools/art/draw_sea.py

writes into assets/art/:

    sea_coast_edge.png    CoastEdgeFrames     16 x 16 x 12  edge mask - 1
    sea_coast_corner.png  CoastCornerFrames   16 x 16 x 4   corner sum - 1
    sea_land.png          LandFrames          16 x 16 x 5   cell code - 2
    sea_port.png          PortCellFrames      16 x 16 x 32  orientation x 8 + frame
    sea_whirlpool.png     WhirlpoolFrames     16 x 16 x 4   frame
    sea_rock.png          RockFrames          24 x 24 x 24  (-code - 1) x 6 + frame
    sea_barrel.png        BarrelFrames        16 x 16 x 8   frame
    sea_cannonball.png    CannonballFrames     8 x 8 x 8    life & 7
    sea_splash.png        SplashFrames         8 x 8 x 8    7 - life
    sea_port_marker.png   PortMarkerFrames    24 x 24 x 2   0 gives cargo, 1 buys
    sea_gull.png          GullFrames           8 x 8 x 32   direction x 4 + wing frame
    clouds8.png ...       CloudMasks8/16/32/48              frame x variants + variant

Once written, the PNG sheets are the source: edit them, not this script, unless
you mean to redraw a whole table.  tools/art/draw_sea_preview.py composes them into
test islands and a sailing scene; tools/art/draw_sea_check.py checks what the game
relies on (coasts without seams, opaque land, whole clouds, ...).

The coasts are not drawn by hand: every pixel of a coast piece is chosen from its
distance to the land around the cell, which is the same field on both sides of
every cell border, so edges, corners and land tiles always meet.  Everything that
stands on its own (trees, huts, rocks, barrels, markers, gulls) is drawn from the
small text grids below: '.' is the key (or the ground of a land tile), '0'-'9' and
'a'-'f' are palette indices.
"""

import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import Sheet, KEY  # noqa: E402

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "art")

# Palette roles used below.
BLACK, PLUM, SEA, DGREY, BROWN, DGREEN, RED, WGREY = 0, 1, 2, 3, 4, 5, 6, 7
MBLUE, ORANGE, STEEL, GREEN, TAN, CYAN, YELLOW, WHITE = 8, 9, 10, 11, 12, 13, 14, 15

TAU = 2 * math.pi


# ---------------------------------------------------------------- grid helpers

def parse(text, ground=KEY):
    """A text grid to rows of indices; '.' becomes `ground`, spaces are ignored."""
    rows = []
    for line in text.strip("\n").splitlines():
        line = line.split("#")[0].replace(" ", "")
        if not line:
            continue
        rows.append([ground if ch == "." else int(ch, 16) for ch in line])
    return rows


def blank(w, h, fill=KEY):
    return [[fill] * w for _ in range(h)]


def paste(dst, src, ox, oy, transparent=KEY):
    """Copy src onto dst at (ox, oy), skipping `transparent` pixels and clipping."""
    for y, row in enumerate(src):
        for x, c in enumerate(row):
            if c == transparent:
                continue
            if 0 <= oy + y < len(dst) and 0 <= ox + x < len(dst[0]):
                dst[oy + y][ox + x] = c


def outline(grid, colour=BLACK, empty=KEY):
    """Surround every non-empty pixel with a one-pixel `colour` line in empty pixels
    beside it (not at its corners, which rounds the outline)."""
    h, w = len(grid), len(grid[0])
    out = [row[:] for row in grid]
    steps = [(1, 0), (-1, 0), (0, 1), (0, -1)]
    for y in range(h):
        for x in range(w):
            if grid[y][x] != empty:
                continue
            for dx, dy in steps:
                if 0 <= x + dx < w and 0 <= y + dy < h and grid[y + dy][x + dx] != empty:
                    out[y][x] = colour
                    break
    return out


def despeckle(grid, empty=KEY):
    """Clear every pixel that has no filled neighbour up, down, left or right."""
    h, w = len(grid), len(grid[0])
    out = [row[:] for row in grid]
    for y in range(h):
        for x in range(w):
            if grid[y][x] == empty:
                continue
            if not any(0 <= x + dx < w and 0 <= y + dy < h and grid[y + dy][x + dx] != empty
                       for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))):
                out[y][x] = empty
    return out


def mirror_x(grid):
    return [row[::-1] for row in grid]


def put(sheet, frame, grid):
    sheet.put_frame(frame, grid)


# ---------------------------------------------------------------- coasts

INF = 1e9

# Land around a cell, in the cell's own pixel coordinates (the cell is 0..16 on both
# axes): a land neighbour up, left, right or down is the whole band beyond that side;
# a diagonal neighbour is the quarter plane beyond that corner.  The last item says
# along which axis the shore runs, for its swell.
EDGE_LAND = {1: (-INF, -INF, INF, 0, "x"), 2: (-INF, -INF, 0, INF, "y"),
             4: (16, -INF, INF, INF, "y"), 8: (-INF, 16, INF, INF, "x")}
CORNER_LAND = {1: (16, 16, INF, INF, None), 2: (-INF, 16, 0, INF, None),
               3: (16, -INF, INF, 0, None), 4: (-INF, -INF, 0, 0, None)}

# How far a shore's surf swells out of its straight line at each pixel along a cell's
# side.  Whole pixels in long runs draw a clean gentle curve.  It is 0 near the cell's
# ends, where a shore may turn round a corner piece (which has no swell), and the same
# read from either end, so two shores meeting in an inner corner swell alike there.
SWELL = [0, 0, 0, 1, 1, 1, 2, 2, 2, 2, 1, 1, 1, 0, 0, 0]

# Where each band of the water ends, in pixels from the land's square edge.  A ship
# may sail anywhere in a sea cell, so the coast pieces hold nothing but water: the
# surf breaking on the land, the pale shallows, and the shelf where they fall away to
# the deep sea.  The grass is the land cells' own; a land cell shows the same picture
# whatever lies around it, so there is no beach: the surf breaks on the grass.
FOAM = 1.5       # off-white surf along the land
SURF_SWELL = 0.5  # how much of the shore's swell the surf line follows
SHALLOW = 5.0    # cyan shallows
SHALLOW_SWELL = 0.25  # and how much of it their edge follows
SHELF = 6.0      # a mid blue line where the shallows fall to the deep sea
FILLET = 4.0     # how far the blend of two shores reaches out of an inner corner


def coast_colour(x, y, rects):
    """The colour of pixel (x, y) of a coast piece with land `rects` around it.

    Its distance to the nearest land, less that shore's swell, picks the band.  Where
    two shores meet in an inner corner the distances are blended, so the surf fills
    the corner in a curve, and the swell fades out there; the blend only acts within
    FILLET pixels of the corner, so every cell border agrees with its neighbour."""
    px, py = x + 0.5, y + 0.5
    found = []
    for x0, y0, x1, y1, axis in rects:
        dx = px - x1 if px > x1 else (px - x0 if px < x0 else 0.0)
        dy = py - y1 if py > y1 else (py - y0 if py < y0 else 0.0)
        found.append((math.hypot(dx, dy), dx, dy, axis))
    found.sort(key=lambda f: f[0])
    d, dx, dy, axis = found[0]
    blend = 0.0
    if len(found) > 1:
        blend = max(FILLET - (found[1][0] - d), 0.0) / FILLET
        d -= blend * blend * FILLET / 4
    swell = SWELL[x if axis == "x" else y] * (1 - blend) if axis else 0
    if d - swell * SURF_SWELL < FOAM:
        return WHITE
    e = d - swell * SHALLOW_SWELL
    if e < SHALLOW:
        return CYAN
    if e < SHELF:
        return MBLUE
    return KEY


def coast_piece(rects):
    return [[coast_colour(x, y, rects) for x in range(16)] for y in range(16)]


def edge_rects(mask):
    return [r for bit, r in EDGE_LAND.items() if mask & bit]


def draw_coasts():
    edges = Sheet(16, 16, 12, columns=4)
    for m in range(1, 13):
        put(edges, m - 1, coast_piece(edge_rects(m)))
    corners = Sheet(16, 16, 4, columns=4)
    for d in range(1, 5):
        put(corners, d - 1, coast_piece([CORNER_LAND[d]]))
    return edges, corners


# ---------------------------------------------------------------- land

# Land tiles are fully opaque and meet each other on every side, so nothing on them
# touches their border.  '.' is the lit grass.
LAND_PLAIN = """
................
................
...5.5..........
....5.......5...
..........5.5...
................
................
................
.......5........
......5.5.......
................
..5.............
.5.5........5...
...........5.5..
................
................
"""

LAND_HUT = """
................
.......00.......
......0ee0......
.....0ee990.....
....0eee9990....
...0eeee99990...
..0eeeee999990..
..0e9ee9e9e990..
.00000000000000.
..0cccc010c440..
..0cc4c010c4405.
..0cc4c010c4405.
..0000000000055.
...555555555555.
................
................
"""

LAND_BOULDERS = """
................
................
...0000.........
..0aa7770.......
.0aa777730......
.0a7777330......
.07777333055....
..03333330555...
...00000055.....
........000.....
.......0a770....
.......07730....
.......033305...
........00055...
................
................
"""

LAND_BUSH = """
................
.............6..
.....0000...6f6.
...00bb5500..6..
..0bbb5555550...
..0bb555556550..
.0bb55655555550.
.0b555555655550.
.05555555555505.
..0555655555055.
...00555550055..
.....00000555...
...e.......e....
..efe.....efe...
...e.......e....
................
"""


LAND_PALM = """
................
....000..000....
..00bbb00bbb00..
.0bbb55bb55bbb0.
0bb5500440055bb0
0b50.0b49b0.05b0
050.0b55455b0.50
.0..0500c40050.0
.....0.0c40.0...
.......0c40.....
.......0c40.....
........0c40....
........0c40....
........0c4055..
.........00555..
................
"""


def draw_land():
    land = Sheet(16, 16, 5, columns=5)
    for i, text in enumerate((LAND_PLAIN, LAND_HUT, LAND_PALM, LAND_BOULDERS, LAND_BUSH)):
        rows = parse(text, ground=GREEN)
        assert len(rows) == 16 and all(len(r) == 16 for r in rows), "land tile %d" % i
        put(land, i, rows)
    return land


# ---------------------------------------------------------------- ports

def plank(k, shade):
    """Deck colour of plank row or column k: two rows of sunlit boards, one of the gap
    between boards; darker along the shaded edge."""
    return (BROWN, BROWN, PLUM)[k % 3] if shade else (ORANGE, ORANGE, BROWN)[k % 3]


def jetty(o):
    """A wooden jetty reaching out of the land into a port cell: deck, the face of
    its far end or side where the light shows it, its piles in the water.  Returns the
    picture and the points where piles meet the water (for the ripples)."""
    g = blank(16, 16)
    if o in (0, 3):
        x0, x1 = 5, 10
        if o == 0:      # land below: the jetty runs up, we see its deck only
            y0, y1 = 3, 15
            for y in range(y0, y1 + 1):
                for x in range(x0, x1 + 1):
                    g[y][x] = plank(y - y0, x == x1)
            for x in (x0, x1):          # bollards on the far corners
                g[y0][x], g[y0 + 1][x] = DGREY, BLACK
            g[y0][x0] = WGREY
            g[y0][x1] = WGREY
            piles = [(x0, y0 - 1), (x1, y0 - 1)]
        else:           # land above: the jetty runs down and shows its end face
            y0, y1 = 0, 11
            for y in range(y0, y1 + 1):
                for x in range(x0, x1 + 1):
                    g[y][x] = plank(y - y0 + 2, x == x1)
            for x in range(x0, x1 + 1):
                g[y1 + 1][x] = BROWN if x < x1 else PLUM
                g[y1 + 2][x] = PLUM
            for x in (x0, x1):
                g[y1 + 3][x] = PLUM
            g[y1][x0], g[y1][x1] = WGREY, DGREY
            piles = [(x0, y1 + 4), (x1, y1 + 4)]
        g = outline(g)
    else:
        # land to the left: the jetty runs right; its side face and piles face us.
        x0, x1, y0, y1 = 0, 12, 5, 9
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                g[y][x] = plank(x - x0 + 1, y == y1)
        for x in range(x0, x1 + 1):
            g[y1 + 1][x] = PLUM
        pile_x = (3, 8, 12)
        for x in pile_x:
            g[y1 + 2][x] = PLUM
        g[y0][x1], g[y0 + 1][x1] = WGREY, DGREY
        g = outline(g)
        for y in (y0 - 1, y0, y1 + 1, y1 + 2):
            if g[y][0] == BLACK:
                g[y][0] = KEY        # the land end stays open
        piles = [(x, y1 + 3) for x in pile_x]
        if o == 2:
            g = mirror_x(g)
            piles = [(15 - x, y) for x, y in piles]
    return g, piles


# Water lapping round a pile over the 8 frames: a wash of foam at its foot that
# parts to either side and fades.  (offsets from the pile, colour)
LAP = [((-1, 0, 1), WHITE), ((-2, -1, 1, 2), WHITE), ((-3, -2, 2, 3), CYAN),
       ((-4, -3, 3, 4), CYAN), ((-4, 4), MBLUE), ((), None), ((), None), ((0,), CYAN)]


def draw_ports():
    ports = Sheet(16, 16, 32, columns=8)
    for o in range(4):
        deck, piles = jetty(o)
        under = coast_piece(edge_rects((8, 2, 4, 1)[o]))
        for f in range(8):
            g = blank(16, 16)
            for i, (px, py) in enumerate(piles):
                offsets, colour = LAP[(f + 3 * i) % 8]
                for dx in offsets:
                    x = px + dx
                    if 0 <= x < 16 and 0 <= py < 16 and under[py][x] in (KEY, MBLUE, CYAN) \
                            and deck[py][x] == KEY:
                        g[py][x] = colour
            paste(g, deck, 0, 0)
            put(ports, o * 8 + f, g)
    return ports


# ---------------------------------------------------------------- rocks

# Each rock is a few lumps, (centre x, centre y, half width, half height) in its 24 x 24
# frame, standing in the water up to WATERLINE.  The cell is pixels 4..19.  The game
# draws the rock of cell code k from slot -k - 1, so codes -2, -3 and -4 use slots 1..3;
# slot 0 is never drawn in play and holds a low reef, so that it is not empty.
ROCKS = [
    [(9.5, 16.5, 4.5, 2.6), (15.0, 16.8, 3.5, 2.2)],                          # 0: a reef
    [(11.5, 13.0, 6.5, 6.0), (15.5, 15.0, 4.0, 3.5)],                        # 1: a boulder
    [(9.5, 11.5, 3.6, 7.5), (14.5, 13.0, 3.2, 5.5), (12.0, 16.0, 5.0, 2.5)],  # 2: sea stacks
    [(8.5, 15.0, 3.8, 3.2), (14.0, 13.5, 4.2, 4.0), (12.5, 17.5, 2.6, 1.8)],  # 3: stones
]
WATERLINE = 18
LIGHT = (-0.55, -0.65, 0.52)


def rock_body(lumps):
    """The rock above the water, shaded as lit lumps with the light from the top left
    and the water darkening its foot; black outline."""
    g = blank(24, 24)
    for cx, cy, rx, ry in lumps:
        for y in range(24):
            for x in range(24):
                nx, ny = (x + 0.5 - cx) / rx, (y + 0.5 - cy) / ry
                if nx * nx + ny * ny > 1 or y >= WATERLINE:
                    continue
                nz = math.sqrt(max(0.0, 1 - nx * nx - ny * ny))
                lit = nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2]
                colour = STEEL if lit > 0.72 else (WGREY if lit > 0.25 else DGREY)
                if y >= WATERLINE - 1:
                    colour = DGREY if colour != DGREY else BLACK
                g[y][x] = colour
    g = outline(g)
    for x in range(24):             # the water cuts the rock off without an outline
        if g[WATERLINE][x] == BLACK:
            g[WATERLINE][x] = KEY
    return g


# The surf round a rock over its 6 frames: (ring, colour), ring 1 hugging the rock's
# foot; a wash swells out from the rock and fades while new foam breaks at its foot.
SURF = [
    [(1, WHITE), (3, CYAN)],
    [(1, WHITE), (3, MBLUE)],
    [(1, CYAN)],
    [(1, WHITE), (2, WHITE)],
    [(1, WHITE), (2, CYAN)],
    [(1, WHITE), (3, CYAN)],
]


def surf(body, rings):
    """Rings of foam round the rock's foot, seen at a slant: ellipses that grow wider
    faster than they grow tall."""
    foot = [x for x in range(24) if body[WATERLINE - 1][x] != KEY]
    cx = (foot[0] + foot[-1] + 1) / 2
    a, b, cy = (foot[-1] - foot[0] + 1) / 2, 1.5, WATERLINE - 0.5
    g = blank(24, 24)
    for y in range(24):
        for x in range(24):
            if body[y][x] != KEY:
                continue
            px, py = x + 0.5 - cx, y + 0.5 - cy
            lo, hi = 0.0, 10.0           # which ring: the k whose ellipse passes here
            for _ in range(30):
                k = (lo + hi) / 2
                if (px / (a + k)) ** 2 + (py / (b + 0.6 * k)) ** 2 > 1:
                    lo = k
                else:
                    hi = k
            for reach, colour in rings:
                if reach - 1 <= lo < reach:
                    g[y][x] = colour
    return g


def draw_rocks():
    rocks = Sheet(24, 24, 6 * len(ROCKS), columns=6)
    for v, lumps in enumerate(ROCKS):
        body = rock_body(lumps)
        for f in range(6):
            g = surf(body, SURF[f])
            paste(g, body, 0, 0)
            put(rocks, v * 6 + f, g)
    return rocks


# ---------------------------------------------------------------- whirlpool

def draw_whirlpool():
    """Three spiral arms of foam winding into a dark eye, turned a third of the way
    round to the next arm over the 4 frames: white near the eye, cyan, then mid blue
    where they fade into the sea."""
    pool = Sheet(16, 16, 4, columns=4)
    arms, twist = 3, 0.75
    for f in range(4):
        g = blank(16, 16)
        for y in range(16):
            for x in range(16):
                dx, dy = x + 0.5 - 8, (y + 0.5 - 8) * 1.15
                r = math.hypot(dx, dy)
                if r > 7.6:
                    continue
                if r < 1.4:
                    g[y][x] = BLACK
                    continue
                a = math.atan2(dy, dx)
                v = math.cos(arms * a + twist * r * 2.2 + f * TAU / (arms * 4))
                if r < 2.4:
                    g[y][x] = MBLUE if v > -0.2 else BLACK
                elif v > 0.35:
                    g[y][x] = WHITE if r < 4.2 else (CYAN if r < 6.0 else MBLUE)
                elif v > -0.25 and r < 5.2:
                    g[y][x] = MBLUE
        put(pool, f, despeckle(g))
    return pool


# ---------------------------------------------------------------- barrel

# A floating barrel of cannonballs, one of them set in its lid; the water hides
# everything below row BARREL_WATER of the frame.
BARREL = """
..000000..
.0ca3cc40.
0cc30cc440
03aa333310
0c99994410
0c99994410
03aa333310
0c99994410
0c99994410
03a3333310
0c99994410
"""
BARREL_WATER = 9
BARREL_CENTRE = 5.0

# Bobbing over the 8 frames (pixels down) and the rings washing out from the barrel:
# (half width, colour) of each ring round the waterline.
BOB = [0, 0, 0, 1, 1, 1, 1, 0]
RIPPLE = [[(5.5, WHITE)], [(5.5, WHITE), (7, CYAN)], [(5.5, CYAN), (7.5, MBLUE)], [(5.5, WHITE)],
          [(5.5, WHITE), (7, CYAN)], [(6, WHITE), (7.5, MBLUE)], [(5.5, CYAN)], [(5.5, CYAN), (7, CYAN)]]


def draw_barrels():
    barrels = Sheet(16, 16, 8, columns=8)
    body = parse(BARREL.replace(" ", ""))
    for f in range(8):
        g = blank(16, 16)
        water = BARREL_WATER + 1
        for half, colour in RIPPLE[f]:
            for y in range(water - 2, water + 4):
                for x in range(16):
                    q = math.hypot((x + 0.5 - BARREL_CENTRE) / half, (y + 0.5 - water) / (half * 0.4))
                    if 0.86 <= q < 1.1 and y >= water - 1:
                        g[y][x] = colour
        for y, row in enumerate(body):
            yy = y + BOB[f]
            if yy > BARREL_WATER:
                continue
            for x, c in enumerate(row):
                if c != KEY:
                    g[yy][x] = c
        put(barrels, f, g)
    return barrels


# ---------------------------------------------------------------- cannonballs

# A small iron ball, black rimmed so that it shows on land, lit from the top left,
# and a bright glint that runs round its rim as it spins.
BALL = """
.0000.
0a3330
0a3330
033310
033110
.0000.
"""
GLINT_PATH = [(2, 1), (3, 1), (4, 2), (4, 3), (3, 4), (2, 4), (1, 3), (1, 2)]


def draw_cannonballs():
    balls = Sheet(8, 8, 8, columns=8)
    for f in range(8):
        g = blank(8, 8)
        paste(g, parse(BALL), 1, 1)
        gx, gy = GLINT_PATH[f]
        g[1 + gy][1 + gx] = WHITE
        put(balls, f, g)
    return balls


# The ball striking the water: a spout that rises and falls back, then rings that
# spread and fade.  'f' foam, 'd' cyan, '8' mid blue.
SPLASH = ["""
........
........
........
...ff...
..f..f..
.d.ff.d.
..dddd..
........
""", """
........
........
...ff...
..dffd..
.f.ff.f.
..dffd..
.dddddd.
........
""", """
........
..f..f..
.f.ff.f.
...ff...
..dffd..
.ddffdd.
..dddd..
........
""", """
.f....f.
........
f..ff..f
...dd...
..dffd..
.dffffd.
..dddd..
........
""", """
........
f......f
........
...ff...
.ffddff.
fd....df
.ffddff.
........
""", """
........
........
........
........
.dffffd.
d......d
.dddddd.
........
""", """
........
........
........
........
.dd..dd.
8......8
.88dd88.
........
""", """
........
........
........
........
........
8......8
.88..88.
........
"""]


def draw_splashes():
    splashes = Sheet(8, 8, 8, columns=8)
    for f, text in enumerate(SPLASH):
        put(splashes, f, parse(text))
    return splashes


# ---------------------------------------------------------------- port markers

# The crate on the grey sign of a port that gives cargo: planks and a brace.
CRATE = """
0000000000
04999999a0
0499999410
0949994910
0994949910
0999499910
0994949910
0949994910
0411111110
0000000000
"""


# A marker hovers over its port and is drawn after the ships, so it covers a ship
# docked under it: it is kept to the top of its frame, a sign 14 pixels high on its
# point, ending four rows above the frame's bottom, clear of the mastheads of a ship
# lying beside its port.
SIGN_TOP, SIGN_BOTTOM = 1, 14       # rows of the sign
POINT = ((8, 15), (9, 14), (10, 13), (11, 12))  # the point's rows below it: columns


def marker_pointer(g, fill, shade):
    """The pin's point under a sign, centred on the port cell (pixels 4..19)."""
    for i, (x0, x1) in enumerate(POINT):
        for x in range(x0, x1 + 1):
            g[SIGN_BOTTOM + 1 + i][x] = shade if x >= (x0 + x1 + 1) // 2 else fill


def draw_port_markers():
    markers = Sheet(24, 24, 2, columns=2)

    # 0: a steel-grey signboard with a crate on it: this port gives cargo.
    g = blank(24, 24)
    top, bottom = SIGN_TOP, SIGN_BOTTOM
    for y in range(top, bottom + 1):
        for x in range(5, 19):
            corner = (x in (5, 18)) and (y in (top, bottom))
            if corner:
                continue
            lit = (x - 5) + (y - top) < 4
            g[y][x] = WHITE if lit and (x == 5 or y == top) else (
                STEEL if (x < 17 and y < bottom - 1) else WGREY)
    marker_pointer(g, STEEL, WGREY)
    paste(g, parse(CRATE), 7, top + 2)
    markers.put_frame(0, outline(g))

    # 1: a big gold coin: this port buys the cargo.
    g = blank(24, 24)
    r = 7.1
    cx, cy = 12.0, (SIGN_TOP + SIGN_BOTTOM + 1) / 2
    marker_pointer(g, YELLOW, ORANGE)
    for y in range(24):
        for x in range(24):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            d = math.hypot(dx, dy)
            if d > r:
                continue
            g[y][x] = YELLOW
            if d > r - 1.5 and dx + dy > -3:
                g[y][x] = ORANGE            # the rim's shaded side
            if r - 3.4 < d <= r - 2.4 and dx + dy > -6:
                g[y][x] = ORANGE            # the raised inner ring, lit on the top left
    mid = int(cy)                           # the row just below the coin's centre
    for x, y in ((8, -5), (7, -4), (9, -5), (7, -3)):
        g[mid + y][x] = WHITE               # glint
    for y in range(-2, 3):
        g[mid + y][12] = ORANGE             # the mark struck in the middle
    g[mid - 2][11], g[mid + 2][13] = ORANGE, ORANGE
    markers.put_frame(1, outline(g))
    return markers


# ---------------------------------------------------------------- gulls

# A gull flying up the screen, wings up, level and down: white with grey under the
# wings and tail and black wing tips.  Turned by quarter turns it flies left, down and
# right.  The view is from high above the sea, so wings beating across a diagonal
# heading are not turned the same way, which would make an "x" of body and wings:
# there the span lies nearly level, dipping towards the viewer, the head and body
# leaning the way the gull flies, like the gull flying up seen a little aslant.  The
# gulls flying up-left and down-left are drawn; those flying right are their mirrors.
GULL_UP = ["""
........
.0....0.
.fa..af.
..fffa..
...ff...
...aa...
........
........
""", """
........
........
...ff...
.affffa.
a..aa..a
0......0
........
........
""", """
........
........
...ff...
..affa..
.a.aa.a.
.0....0.
........
........
"""]
GULL_UP_LEFT = ["""
........
......0.
..f..af.
..fffa..
.aff....
0f.aa...
........
........
""", """
........
........
.......0
..ff.aa.
.afffa..
a..aa...
0.......
........
""", """
........
........
........
..ff....
.afffa..
a.aa.aa.
0.....0.
........
"""]
GULL_DOWN_LEFT = ["""
........
.0......
.fa..0..
..aff.a.
..fff...
.ff.....
........
........
""", """
........
0.......
.a...0..
..aff.a.
..fff..a
.ff.....
........
........
""", """
........
........
........
.aaff.a.
0.fff.0.
.ff.....
........
........
"""]
WING_FRAMES = [0, 1, 2, 1]      # wings up, level, down, level


def turn_left(grid):
    """The picture turned a quarter turn anticlockwise on the screen."""
    n = len(grid)
    return [[grid[x][n - 1 - y] for x in range(n)] for y in range(n)]


def draw_gulls():
    gulls = Sheet(8, 8, 32, columns=8)
    for d in range(8):
        for w, pose in enumerate(WING_FRAMES):
            if d % 2 == 0:
                g = parse(GULL_UP[pose])
                for _ in range(d // 2):
                    g = turn_left(g)
            else:
                g = parse((GULL_UP_LEFT if d in (1, 7) else GULL_DOWN_LEFT)[pose])
                if d > 4:
                    g = mirror_x(g)
            put(gulls, d * 4 + w, g)
    return gulls


# ---------------------------------------------------------------- clouds

# (edge, variants) of the four cloud tables; frame n of a table is animation frame
# n // variants of variant n % variants.
CLOUD_TABLES = [(8, 6), (16, 6), (32, 5), (48, 4)]
PUFF_BLEND = 1.3


def cloud_puffs(size, variant):
    """A cloud's puffs (x, y, radius, phase) in a size x size square and the height of
    its base: a row of round puffs along a flat base, the biggest near the middle, and
    a crown on top.  Each variant of each size is its own cloud, always the same one."""
    rnd = random.Random(size * 100 + variant)
    count = {8: 2, 16: 3, 32: 4, 48: 5}[size] + rnd.randint(0, 1)
    width = size * rnd.uniform(0.55, 0.68)
    base = size * rnd.uniform(0.62, 0.70)
    left = (size - width) / 2
    puffs = []
    for i in range(count):
        t = (i + 0.5) / count
        bump = math.sin(math.pi * t)            # big in the middle, small at the ends
        r = size * (0.09 + 0.08 * bump) * rnd.uniform(0.85, 1.15)
        x = left + width * t + rnd.uniform(-0.03, 0.03) * size
        y = base - r * rnd.uniform(0.6, 0.9)
        puffs.append((x, y, r, rnd.uniform(0, TAU)))
    for i in range({8: 1, 16: 1, 32: 2, 48: 3}[size]):
        x = size / 2 + (i - 0.5 * ({8: 1, 16: 1, 32: 2, 48: 3}[size] - 1)) * size * 0.16 \
            + rnd.uniform(-0.06, 0.06) * size
        r = size * rnd.uniform(0.13, 0.17)
        puffs.append((x, base - size * rnd.uniform(0.22, 0.3), r, rnd.uniform(0, TAU)))
    return puffs, base


def cloud_frame(size, puffs, base, frame):
    """One frame of a cloud: its puffs swell and drift a little round a circle over
    the 8 frames, so the shape breathes slowly and comes back to where it began."""
    a = TAU * frame / 8
    field = [[0.0] * size for _ in range(size)]
    moved = []
    for x0, y0, r0, phase in puffs:
        x = x0 + 0.025 * size * math.cos(a + phase)
        y = y0 + 0.015 * size * math.sin(a + phase)
        r = r0 * (1 + 0.06 * math.sin(a + 2 * phase))
        moved.append((x, y, r))
        reach = PUFF_BLEND * r          # puffs melt into their neighbours this far out
        for py in range(size):
            for px in range(size):
                d2 = (px + 0.5 - x) ** 2 + (py + 0.5 - y) ** 2
                if d2 < reach * reach:
                    field[py][px] += (1 - d2 / (reach * reach)) ** 3
    edge = (1 - 1 / PUFF_BLEND ** 2) ** 3   # a lone puff's field at its own radius
    g = blank(size, size)
    for py in range(size):
        for px in range(size):
            # a soft round underside rather than a ruler-straight one
            sag = max(0.0, (py + 0.5 - base) / (0.05 * size + 0.6))
            if field[py][px] >= edge * (1.0 + sag * sag):
                g[py][px] = WHITE
    g = tidy_cloud(g)
    light = [[puff_light(px, py, moved) for px in range(size)] for py in range(size)]
    return shade_cloud(g, light, body=size > 16)


CLOUD_LIGHT = (-0.45, -0.6, 0.66)   # towards the sun: from the top left and above


def puff_light(px, py, puffs):
    """How much of the light a pixel of a cloud catches (-1..1), lit as the round side
    of the puff that bulges out most there."""
    best, lit = -1e9, -1.0
    for x, y, r in puffs:
        nx, ny = (px + 0.5 - x) / r, (py + 0.5 - y) / r
        d = nx * nx + ny * ny
        if 1 - d > best:
            best = 1 - d
            if d > 1:
                nx, ny, d = nx / math.sqrt(d), ny / math.sqrt(d), 1.0
            nz = math.sqrt(1 - d)
            lit = nx * CLOUD_LIGHT[0] + ny * CLOUD_LIGHT[1] + nz * CLOUD_LIGHT[2]
    return lit


# A cloud is drawn in one colour and nothing is blended, so its shading is made of
# holes through which the sea shows: solid white where the sun strikes the puffs,
# one pixel in four left open over the body, every other pixel (a checkerboard) in
# the shade underneath and along the shaded rim.  The holes of the lighter pattern
# are a part of the darker one's, so the shades run into one another.
CLOUD_SOLID = 0.65      # light above which a pixel is solid
CLOUD_BODY = 0.2        # light above which one pixel in four is open; below, half


def cloud_open(x, y, level):
    """Whether pixel (x, y) is a hole at shade level 0 (checkerboard), 1 (one in four)
    or 2 (solid)."""
    if level == 0:
        return (x + y) % 2 == 1
    if level == 1:
        return x % 2 == 1 and y % 2 == 0
    return False


def shade_cloud(g, light, body=True):
    """Holes in a cloud's shape by the light each pixel catches; its rim facing away
    from the sun is at most half there.  Without body, the lit side is solid and only
    the shade is holed: small clouds have no room for three shades."""
    n = len(g)
    out = [row[:] for row in g]
    for y in range(n):
        for x in range(n):
            if g[y][x] == KEY:
                continue
            lit = light[y][x]
            level = 2 if lit > (CLOUD_SOLID if body else CLOUD_BODY) else (1 if lit > CLOUD_BODY else 0)
            rim = any(not (0 <= x + dx < n and 0 <= y + dy < n) or g[y + dy][x + dx] == KEY
                      for dx, dy in ((1, 0), (0, 1)))
            if rim:
                level = 0
            if cloud_open(x, y, level):
                out[y][x] = KEY
    return out


def cloud_frames(size, variant):
    """The 8 frames of one cloud, shrunk about the square's middle until every frame
    keeps clear of the square's edges."""
    puffs, base = cloud_puffs(size, variant)
    scale = 1.0
    while True:
        c = size / 2
        p = [(c + (x - c) * scale, c + (y - c) * scale, r * scale, ph) for x, y, r, ph in puffs]
        frames = [cloud_frame(size, p, c + (base - c) * scale, f) for f in range(8)]
        if all(KEY == g[0][i] == g[size - 1][i] == g[i][0] == g[i][size - 1]
               for g in frames for i in range(size)):
            return frames
        scale *= 0.95


def tidy_cloud(g):
    """No holes, no lone pixels, no one-pixel notches or spikes."""
    n = len(g)
    for _ in range(2):
        g = despeckle(g)
        out = [row[:] for row in g]
        for y in range(n):
            for x in range(n):
                near = sum(1 for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                           if 0 <= x + dx < n and 0 <= y + dy < n and g[y + dy][x + dx] != KEY)
                if g[y][x] == KEY and near >= 3:
                    out[y][x] = WHITE        # fill notches
                elif g[y][x] != KEY and near <= 1:
                    out[y][x] = KEY          # trim spikes
        g = out
    # fill holes: whatever the outside cannot reach is cloud
    seen = [[False] * n for _ in range(n)]
    todo = [(x, y) for x in range(n) for y in (0, n - 1)] + [(x, y) for y in range(n) for x in (0, n - 1)]
    while todo:
        x, y = todo.pop()
        if 0 <= x < n and 0 <= y < n and not seen[y][x] and g[y][x] == KEY:
            seen[y][x] = True
            todo += [(x + 1, y), (x - 1, y), (x, y + 1), (x, y - 1)]
    for y in range(n):
        for x in range(n):
            if g[y][x] == KEY and not seen[y][x]:
                g[y][x] = WHITE
    return g


# The smallest clouds are too small to grow from puffs: each variant is three shapes
# a pixel apart, shown in the order CLOUD8_ORDER over the 8 frames.  They are wisps
# two to four pixels high, solid: holes would break them into specks.
CLOUD8 = [
    ["...ff... ..ffff.. .ffffff.", "..ff.... .fffff.. .ffffff.", "....ff.. ..fffff. .ffffff."],
    ["..ff.... .fffff..", "...ff... .fffff..", "..fff... .fffff.."],
    ["...ff... ..ffff.. .ffffff. ..ffff..", "..fff... .fffff.. .ffffff. ..ffff..",
     "...fff.. ..fffff. .ffffff. ..fff..."],
    [".ff..ff. .ffffff. ..ffff..", ".ff.ff.. .ffffff. ..ffff..", "..ff.ff. .ffffff. ..ffff.."],
    ["..fff... .ffffff.", "...fff.. .ffffff.", "..ffff.. .ffffff."],
    ["..ff.... .ffff... ..ff....", "...ff... ..ffff.. ...ff...", "..fff... .ffff... ..ff...."],
]
CLOUD8_TOP = [2, 3, 2, 2, 3, 2]     # the row each variant's top sits on
CLOUD8_ORDER = [0, 0, 1, 1, 2, 2, 1, 1]


def cloud8_frames(variant):
    frames = []
    for key in CLOUD8_ORDER:
        g = blank(8, 8)
        for i, row in enumerate(CLOUD8[variant][key].split()):
            g[CLOUD8_TOP[variant] + i] = parse(row)[0]
        frames.append(g)
    return frames


def draw_clouds():
    sheets = {}
    for size, variants in CLOUD_TABLES:
        sheet = Sheet(size, size, 8 * variants, columns=variants)
        for v in range(variants):
            for f, g in enumerate(cloud8_frames(v) if size == 8 else cloud_frames(size, v)):
                put(sheet, f * variants + v, g)
        sheets[size] = sheet
    return sheets


def main():
    edges, corners = draw_coasts()
    edges.save(os.path.join(ART, "sea_coast_edge.png"))
    corners.save(os.path.join(ART, "sea_coast_corner.png"))
    draw_land().save(os.path.join(ART, "sea_land.png"))
    draw_ports().save(os.path.join(ART, "sea_port.png"))
    draw_rocks().save(os.path.join(ART, "sea_rock.png"))
    draw_whirlpool().save(os.path.join(ART, "sea_whirlpool.png"))
    draw_barrels().save(os.path.join(ART, "sea_barrel.png"))
    draw_cannonballs().save(os.path.join(ART, "sea_cannonball.png"))
    draw_splashes().save(os.path.join(ART, "sea_splash.png"))
    draw_port_markers().save(os.path.join(ART, "sea_port_marker.png"))
    draw_gulls().save(os.path.join(ART, "sea_gull.png"))
    for size, sheet in draw_clouds().items():
        sheet.save(os.path.join(ART, "clouds%d.png" % size))


if __name__ == "__main__":
    main()
