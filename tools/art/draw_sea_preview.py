"""Composes the sea view's sheets into test scenes and checks the coasts for seams.

    /usr/bin/python3 tools/art/draw_sea_preview.py [output-folder]

Reads the sheets in assets/art (see draw_sea.py) and writes, into the output folder
(/tmp/sea_preview unless given):

    sheet_<name>_sea.png / _black.png   every sheet at 4x on the sea and on black
    sheet_<name>_1x_sea.png / _black    the same at 1x
    islands_1x.png, islands_4x.png      test islands built of 2 x 2 blocks, pieces
                                        chosen exactly as the game chooses them
    scene_1x.png, scene_4x.png          one 160 x 120 sailing picture: coasts, land,
                                        ports, rocks, a whirlpool, a barrel, balls,
                                        splashes, markers, gulls and a cloud with shadows
    scene_anim_2x.png                   that scene at 8 moments, 5 game frames apart

It prints every coast seam it finds in the test islands: two neighbouring pixels
across a cell border whose coast bands differ by more than one step (grass, bank or
sand, foam, shallows, sea; the dark bank is absent on lit shores, so it counts with
the sand).  tools/art/draw_sea_check.py runs the same test on random islands.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import Sheet, KEY, write_png  # noqa: E402

ART = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "assets", "art")

# name: (file, frame width, frame height, frames)
SHEETS = {
    "coast_edge": ("sea_coast_edge.png", 16, 16, 12),
    "coast_corner": ("sea_coast_corner.png", 16, 16, 4),
    "land": ("sea_land.png", 16, 16, 5),
    "port": ("sea_port.png", 16, 16, 32),
    "whirlpool": ("sea_whirlpool.png", 16, 16, 4),
    "rock": ("sea_rock.png", 24, 24, 24),
    "barrel": ("sea_barrel.png", 16, 16, 8),
    "cannonball": ("sea_cannonball.png", 8, 8, 8),
    "splash": ("sea_splash.png", 8, 8, 8),
    "port_marker": ("sea_port_marker.png", 24, 24, 2),
    "gull": ("sea_gull.png", 8, 8, 32),
    "clouds8": ("clouds8.png", 8, 8, 48),
    "clouds16": ("clouds16.png", 16, 16, 48),
    "clouds32": ("clouds32.png", 32, 32, 40),
    "clouds48": ("clouds48.png", 48, 48, 32),
}

# The game's darkening of each palette entry under a shadow.
SHADOW = [0, 0, 0, 0, 1, 0, 1, 3, 2, 4, 3, 5, 4, 2, 7, 3]


def load_sheets():
    sheets = {}
    for name, (path, w, h, n) in SHEETS.items():
        full = os.path.join(ART, path)
        if os.path.exists(full):
            sheets[name] = Sheet.load(full, w, h, n)
    return sheets


class Canvas:
    """A picture of palette indices with the game's drawing rules: sprites skip the
    key, everything clips, shadows are marked in a mask and applied once."""

    def __init__(self, w, h, fill=KEY):
        self.w, self.h = w, h
        self.px = [fill] * (w * h)
        self.shadow = [False] * (w * h)

    def sprite(self, sheet, frame, x0, y0):
        for y in range(sheet.fh):
            for x in range(sheet.fw):
                c = sheet.get(frame, x, y)
                if c != KEY and 0 <= x0 + x < self.w and 0 <= y0 + y < self.h:
                    self.px[(y0 + y) * self.w + x0 + x] = c

    def mark_shadow(self, sheet, frame, x0, y0):
        for y in range(sheet.fh):
            for x in range(sheet.fw):
                if sheet.get(frame, x, y) != KEY and 0 <= x0 + x < self.w and 0 <= y0 + y < self.h:
                    self.shadow[(y0 + y) * self.w + x0 + x] = True

    def mask(self, sheet, frame, x0, y0, colour):
        for y in range(sheet.fh):
            for x in range(sheet.fw):
                if sheet.get(frame, x, y) != KEY and 0 <= x0 + x < self.w and 0 <= y0 + y < self.h:
                    self.px[(y0 + y) * self.w + x0 + x] = colour

    def darken(self):
        for i, s in enumerate(self.shadow):
            if s:
                self.px[i] = SHADOW[self.px[i]]
        self.shadow = [False] * (self.w * self.h)

    def save(self, path, scale=1):
        write_png(path, self.w, self.h, self.px, scale)


# ---------------------------------------------------------------- maps

def blocks_to_map(rows, rocks=(), ports=(), whirls=(), decor=None):
    """A map of cells from a grid of 2 x 2 blocks ('#' land, '.' sea), with rocks
    (cell, code), ports and whirlpools at given cells.  Codes as in the game:
    0 sea, 1 port, 2..6 land, -2..-4 rock, -50 whirlpool.  map[c][r]."""
    bw, bh = len(rows[0]), len(rows)
    cols, rws = bw * 2, bh * 2
    m = [[0] * rws for _ in range(cols)]
    for by, row in enumerate(rows):
        for bx, ch in enumerate(row):
            if ch == "#":
                for c in (2 * bx, 2 * bx + 1):
                    for r in (2 * by, 2 * by + 1):
                        m[c][r] = 2
    if decor:
        k = 0
        for c in range(cols):
            for r in range(rws):
                if m[c][r] == 2:
                    m[c][r] = decor[k % len(decor)]
                    k += 1
    for (c, r), code in rocks:
        m[c][r] = code
    for c, r in ports:
        m[c][r] = 1
    for c, r in whirls:
        m[c][r] = -50
    return m


def is_land(m, c, r):
    return 0 <= c < len(m) and 0 <= r < len(m[0]) and m[c][r] >= 2


def draw_cells(cv, sh, m, cam_c, cam_r, sub_x, sub_y, frame_counter, ncols=12, nrows=9):
    """The map cell layer, choosing pictures exactly as the game does."""
    for c in range(cam_c, cam_c + ncols):
        for r in range(cam_r, cam_r + nrows):
            if not (0 <= c < len(m) and 0 <= r < len(m[0])):
                continue
            k = m[c][r]
            cx, cy = (c - cam_c) * 16 - sub_x, (r - cam_r) * 16 - sub_y
            if k >= 2:
                cv.sprite(sh["land"], k - 2, cx, cy)
                continue
            edge = (is_land(m, c, r - 1) * 1 + is_land(m, c - 1, r) * 2
                    + is_land(m, c + 1, r) * 4 + is_land(m, c, r + 1) * 8)
            assert edge <= 12, "cell (%d, %d): land on three sides" % (c, r)
            if edge:
                cv.sprite(sh["coast_edge"], edge - 1, cx, cy)
            else:
                d = (is_land(m, c + 1, r + 1) * 1 + is_land(m, c - 1, r + 1) * 2
                     + is_land(m, c + 1, r - 1) * 3 + is_land(m, c - 1, r - 1) * 4)
                if d:
                    cv.sprite(sh["coast_corner"], d - 1, cx, cy)
            if k == 1 and "port" in sh:
                o = is_land(m, c - 1, r) * 1 + is_land(m, c + 1, r) * 2 + is_land(m, c, r - 1) * 3
                cv.sprite(sh["port"], o * 8 + (frame_counter // 5) % 8, cx, cy)
            elif k == -50 and "whirlpool" in sh:
                cv.sprite(sh["whirlpool"], (frame_counter // 5) % 4, cx, cy)
            elif k < 0 and k != -50 and "rock" in sh:
                cv.sprite(sh["rock"], (-k - 1) * 6 + (frame_counter // 10) % 6, cx - 4, cy - 4)


# Coast bands in order from the land outward, for the seam check.
BAND = {11: 0, 5: 1, 14: 1, 15: 2, 13: 3, 8: 4, KEY: 5}


def seam_check(cv, m, label):
    """Across every cell border inside the picture, neighbouring coast pixels must be
    in the same band or the next one."""
    problems = 0
    for y in range(cv.h):
        for x in range(cv.w):
            a = cv.px[y * cv.w + x]
            for dx, dy in ((1, 0), (0, 1)):
                x2, y2 = x + dx, y + dy
                if x2 >= cv.w or y2 >= cv.h:
                    continue
                if (dx and x2 % 16) or (dy and y2 % 16):
                    continue        # not a cell border
                c1, r1, c2, r2 = x // 16, y // 16, x2 // 16, y2 // 16
                if m[c1][r1] not in (0,) or m[c2][r2] not in (0,):
                    continue        # only plain coast cells are compared
                b = cv.px[y2 * cv.w + x2]
                if a in BAND and b in BAND and abs(BAND[a] - BAND[b]) > 1:
                    problems += 1
                    print("%s: seam at (%d, %d)-(%d, %d): %d next to %d" % (label, x, y, x2, y2, a, b))
    return problems


ISLANDS = [
    "..............",
    ".#....##......",
    "......##...#..",
    "...##..#..#...",
    "...#.......##.",
    ".......#......",
    "..##..#...##..",
    "..............",
]


ISLAND_PORTS = [(2, 1), (4, 2), (1, 3), (3, 4), (13, 1), (21, 14)]
ISLAND_ROCKS = [((10, 10), -2), ((18, 2), -3), ((26, 10), -4)]
ISLAND_WHIRLS = [(9, 9)]


def islands_picture(sh, out):
    m = blocks_to_map(ISLANDS, ISLAND_ROCKS, ISLAND_PORTS, ISLAND_WHIRLS,
                      decor=[2, 2, 5, 2, 6, 2, 4, 2, 5, 3, 2, 6])
    cv = Canvas(len(m) * 16, len(m[0]) * 16)
    draw_cells(cv, sh, m, 0, 0, 0, 0, 0, len(m), len(m[0]))
    cv.save(os.path.join(out, "islands_1x.png"))
    cv.save(os.path.join(out, "islands_4x.png"), 4)
    # The seams are looked for on the bare coast, without anything drawn over it.
    bare_map = blocks_to_map(ISLANDS, decor=[2])
    bare = Canvas(cv.w, cv.h)
    draw_cells(bare, sh, bare_map, 0, 0, 0, 0, 0, len(m), len(m[0]))
    return seam_check(bare, bare_map, "islands")


SCENE = [
    "......",
    ".##...",
    ".#...#",
    "....##",
    "......",
]
SCENE_PORTS = {(3, 1): 1, (6, 2): 1, (1, 4): -1, (3, 6): 0}     # cell: role
SCENE_ROCKS = [((8, 2), -3), ((0, 6), -2), ((10, 0), -4)]
SCENE_WHIRLS = [(6, 5)]
SCENE_SUB = (4, 6)                  # the camera's offset into its top-left cell


def scene_picture(sh, fc):
    """One sailing picture at frame counter fc, drawn in the game's layer order."""
    m = blocks_to_map(SCENE, SCENE_ROCKS, list(SCENE_PORTS), SCENE_WHIRLS,
                      decor=[2, 4, 2, 6, 5, 2, 2, 3, 2, 6, 2, 2, 5, 2, 4, 2])
    sub_x, sub_y = SCENE_SUB
    cv = Canvas(160, 120)

    def sx(wx):
        return wx - sub_x

    def sy(wy):
        return wy - sub_y

    draw_cells(cv, sh, m, 0, 0, sub_x, sub_y, fc, 11, 9)
    # barrels, at cell (c, r) x = c * 16 + 8, y = r * 16 + 5
    for c, r in ((6, 7), (9, 1)):
        cv.sprite(sh["barrel"], (fc // 15) % 8, sx(c * 16 + 8) - 4, sy(r * 16 + 5) - 4)
    # cannonballs flying and splashing: (x, y at launch, vx, vy, life at launch)
    for x0, y0, vx, vy, life0 in ((60, 110, 1, 0, 30), (100, 40, 1, 1, 20),
                                  (120, 100, -1, 0, 12), (30, 20, 0, 1, 44)):
        life = life0 - fc % 40
        if life < 0:
            continue
        x, y = x0 + vx * (life0 - life), y0 + vy * (life0 - life)
        if life >= 8:
            cv.sprite(sh["cannonball"], life & 7, sx(x) - 4, sy(y))
        else:
            cv.sprite(sh["splash"], 7 - life, sx(x) - 4, sy(y))
    # port markers hover over their ports and bob
    for (c, r), role in SCENE_PORTS.items():
        if role != -1:
            cv.sprite(sh["port_marker"], 1 if role == 0 else 0,
                      c * 16 - sub_x - 4, r * 16 - sub_y - 23 - (fc % 120) // 30)
    # gulls: a shadow on the sea, the gull 12 pixels higher
    for i, (gx, gy, d) in enumerate(((70, 60, 6), (130, 30, 1), (40, 100, 4))):
        frame = d * 4 + ((fc + 5 * i) % 16) // 4
        cv.mark_shadow(sh["gull"], frame, sx(gx) - 4, sy(gy) - 4)
        cv.sprite(sh["gull"], frame, sx(gx) - 4, sy(gy) - 16)
    # a big cloud and a small one: shadows first, then the clouds 30 pixels higher
    clouds = ((sh["clouds48"], 48, 4, 138, 100), (sh["clouds16"], 16, 6, 30, 90))
    for table, size, variants, cx, cy in clouds:
        frame = ((fc // 40) % 8) * variants
        cv.mark_shadow(table, frame, sx(cx) - size // 2, sy(cy) - size // 2)
    cv.darken()
    for table, size, variants, cx, cy in clouds:
        frame = ((fc // 40) % 8) * variants
        cv.mask(table, frame, sx(cx) - size // 2, sy(cy) - size // 2 - 30, 15)
    return cv


def scene_previews(sh, out):
    cv = scene_picture(sh, 0)
    cv.save(os.path.join(out, "scene_1x.png"))
    cv.save(os.path.join(out, "scene_4x.png"), 4)
    # 8 moments of the scene, 5 game frames apart, 4 to a row
    w, h = 162 * 4, 122 * 2
    px = [0] * (w * h)
    for i in range(8):
        f = scene_picture(sh, i * 5)
        ox, oy = (i % 4) * 162, (i // 4) * 122
        for y in range(120):
            px[(oy + y) * w + ox:(oy + y) * w + ox + 160] = f.px[y * 160:(y + 1) * 160]
    write_png(os.path.join(out, "scene_anim_2x.png"), w, h, px, 2)


def sheet_previews(sh, out):
    for name, s in sh.items():
        for bg, label in ((KEY, "sea"), (0, "black")):
            px = [bg if p == KEY else p for p in s.pixels]
            write_png(os.path.join(out, "sheet_%s_%s.png" % (name, label)), s.width, s.height, px, 4)
            write_png(os.path.join(out, "sheet_%s_1x_%s.png" % (name, label)), s.width, s.height, px, 1)


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else "/tmp/sea_preview"
    os.makedirs(out, exist_ok=True)
    sh = load_sheets()
    sheet_previews(sh, out)
    seams = islands_picture(sh, out)
    scene_previews(sh, out)
    print("wrote previews to %s; %d seam pixel(s)" % (out, seams))
    return 1 if seams else 0


if __name__ == "__main__":
    sys.exit(main())
