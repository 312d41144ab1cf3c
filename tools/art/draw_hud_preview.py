"""Mock-ups of whole game frames with the status bar, the pause map and the pickup icon.

    /usr/bin/python3 tools/art/draw_hud_preview.py [output-folder]   # build/hud-preview unless given

Reads the sheets in assets/art and writes, at 1x and 3x (suffix _1x, _3x):
    bar           sailing: 1234 gold, 5 hull, 3 cargo, the compass, 12 cannonballs
    bar_full      the crowded bar: 88888 gold, 11 hull, 8 cargo, 12 cannonballs
    map           paused: the darkened scene, the bar, the chart with an island map
    pickup_K      the ship and pickup K (0 gold, 1 cargo, 2 repair, 3 cannonballs)
                  at step 4 of its rise
and at 3x only:
    pickup_steps  around the ship: the four pickups (rows) at their ten steps
    compass       the bottom right corner with the arrow in its eight directions
    gold          the top left corner at the coin's ten frames
"""

import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import Sheet, write_png  # noqa: E402
import draw_sea_preview as sea  # noqa: E402
from draw_title import ROOT, load_font  # noqa: E402
from draw_hud import ART, TABLES, MAP_X0, MAP_Y0  # noqa: E402

FONT = load_font()


def load_hud():
    return {name: Sheet.load(os.path.join(ART, path), w, h, n) for name, path, w, h, n, _ in TABLES}


def text(cv, x, y, s, colour):
    """Text as the game draws it: 6 pixels a character, clipped."""
    for i, ch in enumerate(s):
        for gx, gy in FONT.get(ord(ch), ()):
            if 0 <= x + 6 * i + gx < cv.w and 0 <= y + gy < cv.h:
                cv.px[(y + gy) * cv.w + x + 6 * i + gx] = colour


# Islands in 2 x 2 blocks of cells, placed so that our ship sails in open water
# while the corners of the bar lie over land and coast.
SCENE = [
    "##..##",
    "#....#",
    "......",
    "#.....",
    "##..##",
]
SCENE_PORTS = [(2, 3), (9, 3)]


def scene(fc):
    """The sailing view at frame counter fc with our ship in the middle, heading left."""
    sheets = sea.load_sheets()
    m = sea.blocks_to_map(SCENE, ports=SCENE_PORTS, decor=[2, 4, 2, 6, 5, 2, 3, 2])
    cv = sea.Canvas(160, 120)
    sea.draw_cells(cv, sheets, m, 0, 0, 8, 6, fc, 11, 9)
    for (c, r), marker in zip(SCENE_PORTS, (0, 1)):
        cv.sprite(sheets["port_marker"], marker, c * 16 - 12, r * 16 - 29)
    ships = Sheet.load(os.path.join(ART, "ships.png"), 24, 24, 1280)
    cv.sprite(ships, 2 * 8 + (fc // 5) % 8, 68, 36)
    return cv


def status_bar(cv, hud, fc, gold, hull, cargo, arrow, balls):
    """The bar in the game's order: gold, cargo, compass, hull, cannonballs."""
    cv.sprite(hud["GoldIconFrames"], fc // 12, 1, 1)
    text(cv, 11, 2, str(gold), 4)
    text(cv, 11, 3, str(gold), 14)
    for i in range(cargo):
        cv.sprite(hud["CargoIcon"], 0, 133 - 10 * i, 109)
    if cargo and arrow is not None:
        cv.sprite(hud["CompassDial"], 0, 144, 103)
        cv.sprite(hud["CompassArrowFrames"], arrow, 148, 107)
    for i in range(hull):
        cv.sprite(hud["HullIcon"], 0, 150 - 10 * i, 1)
    for i in range(balls):
        cv.sprite(hud["CannonballIconFrames"], fc // 15, 9 * i, 111)


def island_map(seed=5):
    """A made-up set of islands, 56 x 56 cells of the game's codes, sea all round."""
    rnd = random.Random(seed)
    centres = [(rnd.randrange(5, 23), rnd.randrange(5, 23), rnd.uniform(2, 5)) for _ in range(7)]
    blocks = ["".join("#" if 0 < bx < 27 and 0 < by < 27 and any(
        (bx - cx) ** 2 + (by - cy) ** 2 < r * r * rnd.uniform(0.5, 1.2) for cx, cy, r in centres)
        else "." for bx in range(28)) for by in range(28)]
    m = sea.blocks_to_map(blocks, decor=[2, 2, 2, 3, 2, 5, 2, 2, 6, 4, 2])
    for c, r in ((8, 40), (30, 6), (44, 44), (20, 22)):
        m[c][r] = rnd.choice((-2, -3, -4))
    ports = []
    for c in range(1, 55):
        for r in range(1, 55):
            if m[c][r] == 0 and sea.is_land(m, c, r - 1) and len(ports) < 6 and rnd.random() < 0.15:
                m[c][r] = 1
                ports.append((c, r))
    return m, ports


def map_colour(code):
    return {0: 13, -50: 13, 1: 14, 2: 9, 3: 3, 4: 3}.get(code, 5)


def pause_map(cv, hud, fc):
    """The chart over the darkened scene, with ports, pirates and our ship blinking."""
    cv.sprite(hud["MapFrame"], 0, 45, 24)
    m, ports = island_map()
    x0, y0 = 45 + MAP_X0, 24 + MAP_Y0
    for c in range(55):
        for r in range(56):
            cv.px[(y0 + r) * 160 + x0 + c] = map_colour(m[c][r])
    blink = 15 if fc % 24 < 9 else 6
    for c, r in ((12, 30), (40, 18)):
        cv.px[(y0 + r) * 160 + x0 + c] = blink
    for i, (c, r) in enumerate(ports):
        role = (0, 1, 1, -1, 2, -1)[i]
        k = fc % 12
        if role != -1:
            colour = 14 if k >= 9 else ((9 if k < 7 else 14) if role == 0 else 3)
            cv.px[(y0 + r) * 160 + x0 + c] = colour
    px, py = x0 + 26, y0 + 34
    for dx, dy in ((0, 0), (1, -1), (1, 1), (-1, -1), (-1, 1)):
        cv.px[(py + dy) * 160 + px + dx] = blink


def crop(cv, x0, y0, w, h):
    return [cv.px[(y0 + y) * cv.w + x0 + x] for y in range(h) for x in range(w)]


def strip(pieces, w, h, columns, gap=2):
    """Crops side by side, `columns` to a row, on black."""
    rows = (len(pieces) + columns - 1) // columns
    W, H = columns * (w + gap) - gap, rows * (h + gap) - gap
    px = [0] * (W * H)
    for i, piece in enumerate(pieces):
        ox, oy = (i % columns) * (w + gap), (i // columns) * (h + gap)
        for y in range(h):
            px[(oy + y) * W + ox:(oy + y) * W + ox + w] = piece[y * w:(y + 1) * w]
    return W, H, px


def write_previews(out):
    os.makedirs(out, exist_ok=True)
    hud = load_hud()
    shots = {}
    cv = scene(0)
    status_bar(cv, hud, 30, 1234, 5, 3, 7, 12)
    shots["bar"] = cv
    cv = scene(12)
    status_bar(cv, hud, 70, 88888, 11, 8, 2, 12)
    shots["bar_full"] = cv
    cv = scene(20)
    cv.px = [sea.SHADOW[p] for p in cv.px]
    status_bar(cv, hud, 5, 450, 6, 2, 3, 9)
    pause_map(cv, hud, 5)
    shots["map"] = cv
    for kind in range(4):
        cv = scene(0)
        status_bar(cv, hud, 30, 1234, 5, 3, 7, 12)
        cv.sprite(hud["PickupIconFrames"], kind * 10 + 4, 68, 18)
        shots["pickup_%d" % kind] = cv
    for name, cv in shots.items():
        cv.save(os.path.join(out, name + "_1x.png"))
        cv.save(os.path.join(out, name + "_3x.png"), 3)

    steps = []
    for kind in range(4):
        for step in range(10):
            cv = scene(3 * step)
            cv.sprite(hud["PickupIconFrames"], kind * 10 + step, 68, 18)
            steps.append(crop(cv, 60, 12, 40, 52))
    write_png(os.path.join(out, "pickup_steps_3x.png"), *strip(steps, 40, 52, 10), scale=3)
    corners = []
    for arrow in range(8):
        cv = scene(0)
        status_bar(cv, hud, 0, 0, 0, 3, arrow, 0)
        corners.append(crop(cv, 112, 96, 48, 24))
    write_png(os.path.join(out, "compass_3x.png"), *strip(corners, 48, 24, 4), scale=3)
    coins = []
    for f in range(10):
        cv = scene(0)
        status_bar(cv, hud, 12 * f, 1234, 0, 0, None, 0)
        coins.append(crop(cv, 0, 0, 48, 14))
    write_png(os.path.join(out, "gold_3x.png"), *strip(coins, 48, 14, 5), scale=3)
    return out


if __name__ == "__main__":
    where = write_previews(sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "hud-preview"))
    print("wrote previews to " + where)
