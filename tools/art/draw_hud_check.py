"""Checks the status bar, pickup icon and map frame sheets in assets/art for what the game relies on.

    /usr/bin/python3 tools/art/draw_hud_check.py [sheet-dir]   # exit status 1 and a list on a fault

The sheets are sources that may be retouched by hand; these are the rules a retouch
must keep: the tables' sizes and frame counts; icons that keep to the part of their
frame the bar leaves them (the coin clear of the gold number, with only its dark
plate under the number's first digit, and never so narrow that it reads as a digit;
hull and cargo icons clear of their neighbours); a compass arrow that points its
eight ways over a face of other colours; animations whose frames all move on; a
pickup that rises and fades; a frame that holds the island map in a ring of its own
colour.
"""

import math
import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import KEY, Sheet  # noqa: E402
from draw_hud import ART, MAP_X0, MAP_X1, MAP_Y0, MAP_Y1, TABLES  # noqa: E402

ROOT = os.path.normpath(os.path.join(ART, "..", ".."))

# What the game draws and how: name -> (width, height, frames).
CONTRACT = {
    "GoldIconFrames": (16, 16, 10), "CargoIcon": (16, 16, 1), "CompassDial": (16, 16, 1),
    "CompassArrowFrames": (8, 8, 8), "HullIcon": (16, 16, 1), "CannonballIconFrames": (8, 8, 8),
    "MapFrame": (72, 72, 1), "PickupIconFrames": (24, 24, 40),
}
# Columns and rows of each icon's frame that may be drawn on, where the bar leaves less
# than the whole frame: hull and cargo icons stand 10 pixels apart, and a cargo icon's
# rows below 10 are off the screen. The gold number starts at column 10 of the coin's
# frame: the coin keeps to columns 0..8, and only its plate reaches under the number.
ROOM = {"GoldIconFrames": (15, 9), "HullIcon": (9, 15), "CargoIcon": (9, 10)}
COIN_ROOM = 8
PLATE_COLOURS = {0, 1}     # dark, under the number's brown shadow and yellow face
PLATE_FILL = 1
DIGIT = (10, 1, 14, 8)     # where the number's first digit lies on the coin's frame
NARROWEST_COIN = 7         # a coin narrower than this beside the number reads as a "1"
# Arrow frames by heading, y growing downwards.
HEADING = [(0, -1), (-1, -1), (-1, 0), (-1, 1), (0, 1), (1, 1), (1, 0), (1, -1)]
ARROW_HEAD = 6
MAP_COLOURS = {13, 14, 9, 3, 5, 15, 6}   # sea, port, land, decorations and rocks, blinking marks


def opaque(grid):
    return [(x, y) for y, row in enumerate(grid) for x, c in enumerate(row) if c != KEY]


def changed(a, b):
    return sum(pa != pb for ra, rb in zip(a, b) for pa, pb in zip(ra, rb))


def table_faults(art):
    out = []
    with open(os.path.join(art, "hud.tables")) as f:
        lines = [line.split() for line in f if line.strip() and not line.startswith("#")]
    listed = {t[0]: tuple(t[1:]) for t in lines}
    drawn = {name: (path, str(w), str(h), str(n), "sprite") for name, path, w, h, n, columns in TABLES}
    for name in sorted(set(listed) | set(drawn)):
        if listed.get(name) != drawn.get(name):
            out.append("hud.tables has %s as %s, draw_hud.py as %s" % (name, listed.get(name), drawn.get(name)))
    sizes = {name: (w, h, n) for name, path, w, h, n, columns in TABLES}
    if sizes != CONTRACT:
        out.append("the sheets are %s, the game draws %s" % (sorted(sizes.items()), sorted(CONTRACT.items())))
    with open(os.path.join(ROOT, "assets", "hud.h")) as f:
        declared = re.findall(r"extern const uint8_t (\w+)\[\];", f.read())
    if sorted(declared) != sorted(CONTRACT):
        out.append("hud.h declares %s" % declared)
    return out


def load(art):
    t = {}
    for name, path, w, h, n, columns in TABLES:
        s = Sheet.load(os.path.join(art, path), w, h, n)
        if s.columns != columns or s.height != s.rows * h:
            raise ValueError("%s is %d x %d, expected %d columns and %d rows of %d x %d"
                             % (path, s.width, s.height, columns, s.rows, w, h))
        t[name] = [s.frame_grid(i) for i in range(n)]
    return t


def icon_faults(t):
    out = []
    for name, (last_x, last_y) in ROOM.items():
        for i, g in enumerate(t[name]):
            spill = [(x, y) for x, y in opaque(g) if x > last_x or y > last_y]
            if spill:
                out.append("%s frame %d draws at %s, outside columns 0..%d and rows 0..%d"
                           % (name, i, spill[:3], last_x, last_y))
            if not opaque(g):
                out.append("%s frame %d is empty" % (name, i))
    x0, y0, x1, y1 = DIGIT
    for i, g in enumerate(t["GoldIconFrames"]):
        coin = [(x, y) for x, y in opaque(g) if g[y][x] not in PLATE_COLOURS]
        if any(x > COIN_ROOM for x, y in coin):
            out.append("GoldIconFrames frame %d: the coin reaches past column %d, under the number"
                       % (i, COIN_ROOM))
        outline = [(x, y) for x, y in opaque(g) if x <= COIN_ROOM and g[y][x] == 0]
        if outline and max(x for x, y in outline) - min(x for x, y in outline) + 1 < NARROWEST_COIN:
            out.append("GoldIconFrames frame %d: the coin is narrower than %d pixels and reads as a digit"
                       % (i, NARROWEST_COIN))
        bare = [(x, y) for y in range(y0, y1 + 1) for x in range(x0, x1 + 1) if g[y][x] not in PLATE_COLOURS]
        if bare:
            out.append("GoldIconFrames frame %d: the number's first digit is not on the dark plate at %s"
                       % (i, bare[:3]))
    for name in ("GoldIconFrames", "CannonballIconFrames", "CompassArrowFrames"):
        frames = t[name]
        for i in range(len(frames)):
            if changed(frames[i], frames[(i + 1) % len(frames)]) == 0:
                out.append("%s frames %d and %d are the same" % (name, i, (i + 1) % len(frames)))
    return out


def compass_faults(t):
    out = []
    face = [row[4:12] for row in t["CompassDial"][0][4:12]]      # the square under the arrow
    if any(c == KEY for row in face for c in row):
        out.append("the dial has key pixels under the arrow: the sea would show through")
    arrow_colours = {c for g in t["CompassArrowFrames"] for row in g for c in row} - {KEY}
    clash = arrow_colours & {c for row in face for c in row}
    if clash:
        out.append("the dial under the arrow uses the arrow's colours %s" % sorted(clash))
    for f, (hx, hy) in enumerate(HEADING):
        head = [(x, y) for x, y in opaque(t["CompassArrowFrames"][f])
                if t["CompassArrowFrames"][f][y][x] == ARROW_HEAD]
        if not head:
            out.append("arrow frame %d has no head (colour %d)" % (f, ARROW_HEAD))
            continue
        cx = sum(x for x, y in head) / len(head) - 3.5
        cy = sum(y for x, y in head) / len(head) - 3.5
        off = abs((math.degrees(math.atan2(cy, cx) - math.atan2(hy, hx)) + 180) % 360 - 180)
        if off > 22.5 or math.hypot(cx, cy) < 1.5:
            out.append("arrow frame %d points at (%.1f, %.1f) from the centre, not towards (%d, %d)"
                       % (f, cx, cy, hx, hy))
    return out


def map_faults(t):
    out = []
    g = t["MapFrame"][0]
    inside = [(x, y) for y in range(MAP_Y0, MAP_Y1 + 1) for x in range(MAP_X0, MAP_X1 + 1) if g[y][x] != KEY]
    if inside:
        out.append("the map frame draws %d pixels where the map goes, e.g. %s" % (len(inside), inside[:3]))
    ring = {g[y][x] for y in range(MAP_Y0 - 1, MAP_Y1 + 2) for x in range(MAP_X0 - 1, MAP_X1 + 2)
            if not (MAP_X0 <= x <= MAP_X1 and MAP_Y0 <= y <= MAP_Y1)}
    if len(ring) != 1 or ring & (MAP_COLOURS | {KEY}):
        out.append("the line around the map is %s: it must be one colour, none of the map's" % sorted(ring))
    holes = [(x, y) for y in range(MAP_Y0 - 4, MAP_Y1 + 5) for x in range(MAP_X0 - 4, MAP_X1 + 5)
             if g[y][x] == KEY and not (MAP_X0 <= x <= MAP_X1 and MAP_Y0 <= y <= MAP_Y1)]
    if holes:
        out.append("the border around the map has key pixels at %s" % holes[:3])
    return out


def pickup_faults(t):
    out = []
    frames = t["PickupIconFrames"]
    for kind in range(4):
        steps = frames[kind * 10:kind * 10 + 10]
        for i in range(9):
            if changed(steps[i], steps[i + 1]) == 0:
                out.append("pickup %d steps %d and %d are the same" % (kind, i, i + 1))
        tops = [min((y for x, y in opaque(s)), default=24) for s in steps]
        if not tops[7] < tops[1]:
            out.append("pickup %d does not rise: its top row is %d at step 1 and %d at step 7"
                       % (kind, tops[1], tops[7]))
        if not len(opaque(steps[9])) < len(opaque(steps[8])) < len(opaque(steps[7])):
            out.append("pickup %d does not fade over its last steps" % kind)
    coin = {c for g in t["GoldIconFrames"] for row in g for c in row} - {PLATE_FILL}
    if {c for row in frames[1] for c in row} != coin:
        out.append("the gold pickup and the bar's coin differ in colours")
    return out


def faults(art=ART):
    try:
        out = table_faults(art)
        t = load(art)
    except (OSError, ValueError) as e:
        return ["a sheet or table does not load: %s" % e]
    return out + icon_faults(t) + compass_faults(t) + map_faults(t) + pickup_faults(t)


if __name__ == "__main__":
    found = faults(sys.argv[1] if len(sys.argv) > 1 else ART)
    for f in found:
        print("hud pictures: " + f)
    sys.exit(1 if found else 0)
