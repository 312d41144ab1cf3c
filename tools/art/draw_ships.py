#!/usr/bin/python3
"""Draws the ship pictures of Quillbarrow (group `ships`) into assets/art/.

    /usr/bin/python3 tools/art/draw_ships.py [--previews DIR]

Every ship is a small model (hull, castles, masts, sails, flags; see
draw_ships_model.py) turned to each of the eight headings and posed for each
frame: the sailing loop bobs the hull and fills the sails, broadsides flash and
smoke on the firing side with a recoil, hits throw splinters off the struck side
and jolt the ship, the sinking ship heels and goes under.  The wake masks, the
wrecks and the sinking sequences are made here as well.

Sheets written (frame order as in assets/art/ships.tables):
    ships.png          ShipFrames       24 x 24, 1280 frames, 32 a row
    ships_wake.png     ShipOverlayMasks 24 x 24,   64 frames,  8 a row
    ships_wreck.png    WreckFrames      24 x 24,   16 frames,  4 a row
    ships_sinking.png  SinkingFrames    24 x 24,   32 frames,  8 a row
"""

import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import Sheet, preview  # noqa: E402
from draw_ships_model import (Canvas, Part, Pose, project, dot, sub, SIZE, KEY,  # noqa: E402
                              CENTRE, OUTLINE, LIGHT)

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
ART = os.path.join(ROOT, "assets", "art")

KINDS = 4
DIRECTIONS = 8
FRAMES = 8
BANKS = 5
SAILING, FIRE_PORT, FIRE_STARBOARD, STRUCK_PORT, STRUCK_STARBOARD = range(BANKS)
WRECK_FRAMES = 4
SINK_FRAMES = 8
# The wrecks and sinking ships are seen from one side only: heading down-left.
SINK_DIRECTION = 3

# Parts of a ship. Hulls keep their single pixels (windows, gun ports); only the
# shading of the sails is cleaned of specks.
HULL = Part("hull", keep=True)
CASTLE = Part("castle", keep=True)
CARGO = Part("cargo", keep=True)
MAST = Part("mast", outline=False, casts=False, keep=True)
FLAG = Part("flag", outline=False, casts=False, keep=True)
EFFECT = Part("effect", outline=False, casts=False, keep=True)


# --------------------------------------------------------------------------
# The four ships

class Design:
    """One kind of ship, in pixels of its own coordinates (u forward, v starboard,
    z up from the waterline):
    length, beam (half the width), transom (half the width of the stern), bow (how
    full the bow is: higher is blunter), beam_at (where the hull is widest, as a
    fraction of the length from amidships), freeboard (deck height);
    side (hull colours: shade, body, lit), rail, deck, deck_dark;
    castle, forecastle ((from u, to u, height) or None);
    masts [(u, masthead height, [(sail foot, sail head, half width at the foot,
    half width at the head)])];
    jib (bowsprit reach beyond the stem, its rise); sail (cloth colours: deep
    shade, shade, cloth, highlight), sail_back (the cloth seen from behind),
    sail_edge (where one sail lies behind another); guns (u of each gun port);
    flag ("pennant" or "jolly"); crates (u, v of each crate on deck); windows
    (colour of the lit stern windows, or None)."""

    def __init__(self, **kw):
        self.__dict__.update(kw)


DESIGNS = [
    # 0: the player's cargo ship: a round-bellied trader, two masts with white sails,
    # crates on deck, a blue pennant.
    Design(length=15.0, beam=4.2, transom=3.0, bow=1.5, beam_at=-0.08, freeboard=3.4,
           side=(1, 4, 4), rail=9, deck=12, deck_dark=7,
           castle=(-7.5, -4.4, 1.4), forecastle=None,
           masts=[(1.8, 10.8, [(4.4, 9.9, 5.4, 3.6)]),
                  (-3.6, 9.8, [(4.9, 8.8, 4.0, 3.0)])],
           jib=(3.2, 0.6), sail=(7, 10, 15, 15), sail_back=10, sail_edge=7, guns=[-1.0, 3.0],
           flag="pennant", crates=[(-1.0, 0.0)], windows=14),
    # 1: the sloop: small, low and slender, one mast with a big red square sail and a
    # jib, red-railed brown sides that stand out on the sea.
    Design(length=11.5, beam=2.9, transom=1.7, bow=1.3, beam_at=-0.12, freeboard=2.4,
           side=(1, 4, 4), rail=6, deck=12, deck_dark=7,
           castle=None, forecastle=None,
           masts=[(1.0, 11.4, [(3.8, 8.6, 4.8, 3.4)])],
           jib=(3.6, 0.6), sail=(1, 1, 6, 6), sail_back=6, sail_edge=1, guns=[-2.0, 1.5],
           flag="jolly", crates=[], windows=None),
    # 2: the brig: two masts of black sails, brown sides with a yellow gun stripe.
    Design(length=16.0, beam=3.9, transom=2.6, bow=1.8, beam_at=-0.05, freeboard=3.4,
           side=(1, 4, 4), rail=14, deck=7, deck_dark=3,
           castle=(-8.0, -5.2, 1.2), forecastle=None,
           masts=[(2.6, 10.8, [(4.4, 9.9, 5.0, 3.4)]),
                  (-2.8, 10.3, [(4.4, 9.4, 5.0, 3.2)])],
           jib=(3.0, 0.6), sail=(0, 0, 3, 7), sail_back=0, sail_edge=0, guns=[-4.0, -0.5, 3.0],
           flag="jolly", crates=[], windows=9),
    # 3: the galleon: long, broad and high, castles fore and aft, dark wood with
    # gold trim, three masts of red sails.
    Design(length=17.6, beam=4.7, transom=3.6, bow=1.7, beam_at=-0.05, freeboard=3.6,
           side=(0, 1, 1), rail=14, deck=4, deck_dark=1,
           castle=(-8.8, -4.9, 1.7), forecastle=(4.6, 7.6, 1.1),
           masts=[(4.2, 9.8, [(5.0, 9.2, 4.6, 3.2)]),
                  (-0.4, 10.8, [(4.6, 10.2, 6.0, 4.0)]),
                  (-5.0, 9.6, [(5.8, 9.0, 4.0, 2.8)])],
           jib=(2.0, 0.6), sail=(1, 1, 6, 6), sail_back=6, sail_edge=1, guns=[-3.8, -0.9, 2.0, 4.8],
           flag="jolly", crates=[], windows=14),
]


def half_beam(d, u):
    """Half the width of the hull at u (0 beyond the ends)."""
    us, ub = -d.length / 2, d.length / 2
    um = d.beam_at * d.length
    if u < us or u > ub:
        return 0.0
    if u <= um:
        f = (u - us) / (um - us)
        return d.transom + (d.beam - d.transom) * math.sin(f * math.pi / 2)
    f = (u - um) / (ub - um)
    return d.beam * max(0.0, 1 - f ** d.bow) ** 0.5


def hull_plan(d, n=8):
    """The hull's outline seen from above, convex, starboard side first."""
    us, ub = -d.length / 2, d.length / 2
    side = [(us + (ub - us) * i / n, half_beam(d, us + (ub - us) * i / n)) for i in range(n + 1)]
    pts = [(u, w) for u, w in side if w > 0.01] + [(ub, 0.0)]
    pts += [(u, -w) for u, w in reversed(side) if w > 0.01]
    return pts


# --------------------------------------------------------------------------
# Colours of the surfaces

def hull_light(pose, d, u, v):
    """Light on the hull's side at (u, v), from the smooth curve of the hull rather
    than from the flat pieces it is built of."""
    if u < -d.length / 2 + 0.3:
        n = (-1.0, 0.0)                 # the flat transom
    else:
        e = 0.3
        slope = (half_beam(d, min(u + e, d.length / 2)) - half_beam(d, max(u - e, -d.length / 2))) / (2 * e)
        n = (-slope, 1.0 if v >= 0 else -1.0)
    hx, hy = pose.h
    sx, sy = pose.s
    wx, wy = n[0] * hx + n[1] * sx, n[0] * hy + n[1] * sy
    length = math.hypot(wx, wy) or 1.0
    return (wx * LIGHT[0] + wy * LIGHT[1]) / length


def hull_side_colour(d, pose, flash=None):
    """The hull's sides: the rail along the top, the wet strake at the waterline, the
    gun ports, the stern windows of a ship without a castle, and between them the
    wood lit by the curve of the hull."""
    dark, mid, lit = d.side

    def f(light, p, px, py, back):
        u, v, z = p
        if flash is not None:
            return flash
        light = hull_light(pose, d, u, v)
        transom = u < -d.length / 2 + 0.35
        if z > d.freeboard - 0.75:
            return d.rail if light > -0.2 and not transom else mid
        if z < 0.7:
            return dark
        if d.windows is not None and not d.castle and transom and d.freeboard - 2.2 < z < d.freeboard - 1.0:
            # stern windows across the transom
            return d.windows if int(math.floor(v + 0.5 + 8)) % 2 == 0 else dark
        if d.guns and abs(z - (d.freeboard - 1.6)) < 0.5 and not transom:
            for g in d.guns:
                if abs(u - g) < 0.6:
                    return 0
        return lit if light > 0.45 else (mid if light > -0.25 else dark)
    return f


def flat(colour):
    return lambda light, p, px, py, back: colour


def deck_colour(d, flash=None, wet=False):
    def f(light, p, px, py, back):
        if flash is not None:
            return flash
        if wet:
            return d.side[1]            # soaked planks, dark as the hull
        return d.deck if light > 0.3 else d.deck_dark
    return f


def sail_colour(d, flash=None):
    def f(light, p, px, py, back):
        if flash is not None:
            return flash
        return d.sail_back if back else (d.sail[2] if light > -0.3 else d.sail[1])
    return f


# --------------------------------------------------------------------------
# Building one posed ship

class Look:
    """Per-frame variation of one ship: how full the sails are (fill), which wave of
    the flag, a colour flashed over the whole ship or over its hull alone, sails in
    rags (torn), whether the jib and the other sails are set, foam where the hull
    meets the water."""

    def __init__(self, fill=1.0, flag=0, flash=None, hull_flash=None, torn=False, jib=True, foam=False,
                 sails=True):
        self.fill, self.flag, self.flash = fill, flag, flash
        self.torn, self.jib, self.foam, self.sails = torn, jib, foam, sails
        self.wet = torn or foam             # decks awash look dark
        # the hull alone lit up by a hit
        self.hull_flash = flash if flash is not None else hull_flash


def box(cv, pose, plan, z0, z1, part, side, top):
    n = len(plan)
    for i in range(n):
        a, b = plan[i], plan[(i + 1) % n]
        cv.poly(pose, [(a[0], a[1], z0), (b[0], b[1], z0), (b[0], b[1], z1), (a[0], a[1], z1)], part, side)
    cv.poly(pose, [(u, v, z1) for u, v in plan], part, top)


def draw_hull(cv, pose, d, look):
    H = d.freeboard
    plan = hull_plan(d)
    inner = [(u * 0.9, v * 0.7) for u, v in plan]
    side = hull_side_colour(d, pose, look.hull_flash)
    n = len(plan)
    for i in range(n):
        a, b = plan[i], plan[(i + 1) % n]
        cv.poly(pose, [(a[0], a[1], -4), (b[0], b[1], -4), (b[0], b[1], H), (a[0], a[1], H)], HULL, side)
        ai, bi = inner[i], inner[(i + 1) % n]
        # the inside of the bulwarks, sloping down to the deck
        cv.poly(pose, [(a[0], a[1], H), (b[0], b[1], H), (bi[0], bi[1], H - 1.2), (ai[0], ai[1], H - 1.2)],
                HULL, flat(look.hull_flash if look.hull_flash is not None else d.side[0]))
    cv.poly(pose, [(u, v, H - 1.2) for u, v in inner], HULL, deck_colour(d, look.hull_flash, look.wet))

    def castle_plan(u0, u1, shrink):
        pts = []
        for u in (u0, u1):
            w = half_beam(d, min(max(u, -d.length / 2 + 0.01), d.length / 2 - 0.01)) * shrink
            pts.append((u, w))
        return [(pts[0][0], -pts[0][1]), (pts[1][0], -pts[1][1]), (pts[1][0], pts[1][1]), (pts[0][0], pts[0][1])]

    if d.castle:
        u0, u1, h = d.castle
        plan = castle_plan(u0 + 0.01, u1, 0.92)
        box(cv, pose, plan, H - 1.2, H + h, CASTLE, hull_side_colour_castle(d, look.hull_flash),
            deck_colour(d, look.hull_flash, look.wet))
    if d.forecastle:
        u0, u1, h = d.forecastle
        plan = castle_plan(u0, u1, 0.85)
        box(cv, pose, plan, H - 1.2, H + h, CASTLE, hull_side_colour_castle(d, look.hull_flash),
            deck_colour(d, look.hull_flash, look.wet))
    def crate_side(light, p, px, py, back):
        return look.hull_flash if look.hull_flash is not None else (4 if light > 0.0 else 1)

    def crate_lid(light, p, px, py, back):
        return look.hull_flash if look.hull_flash is not None else 9
    for cu, cvv in d.crates:
        plan = [(cu - 1.0, cvv - 1.3), (cu + 1.0, cvv - 1.3), (cu + 1.0, cvv + 1.3), (cu - 1.0, cvv + 1.3)]
        box(cv, pose, plan, H - 1.2, H + 0.6, CARGO, crate_side, crate_lid)


def hull_side_colour_castle(d, flash):
    """The walls of a castle: flat planes, lit or in shade, the stern windows across
    the aft wall."""
    dark, mid, lit = d.side

    def f(light, p, px, py, back):
        u, v, z = p
        if flash is not None:
            return flash
        if d.windows is not None and u < -d.length / 2 + 0.6 and abs(z - (d.freeboard + 0.6)) < 0.5:
            return d.windows if int(math.floor(v + 0.5 + 8)) % 2 == 0 else dark
        return lit if light > 0.45 else mid
    return f


def brace(pose):
    """The angle the yards are braced round by, so that the sails turn their face to
    the viewer: square across in the views from ahead and astern, round far enough
    in the diagonal views to lie across the screen, and nearly fore and aft in the
    side views with the far end leading, so that the sails lean the way the ship
    sails."""
    sx, sy = pose.vec_screen((0, 1))
    if abs(sy) < 0.05:
        return 0.0
    if abs(sx) < 0.05:
        return 1.2 if sy < 0 else -1.2
    # of the two ways round, the one that puts the yard closer to across the screen
    for amount in (0.6, -0.6):
        if abs(pose.vec_screen((math.sin(amount), math.cos(amount)))[1]) < 0.2:
            return amount
    return 0.0


def cloth(cv, pose, d, look, P, part, foot=1.0, nx=4, ny=3):
    """A sail given as a surface P(s, t), s and t running 0..1 (t = foot at its
    foot), cut into triangles. Its colours follow the cloth, not the facets: the
    side of the sail towards the light (the left of the screen) catches a
    highlight, the other side and the foot lie in shade; seen from behind, the
    whole sail is in shade but for its lit edge. d.sail is (deep shade, shade,
    cloth, highlight)."""
    deep, shadow, main, high = d.sail
    x0 = pose.screen(P(0.0, 0.5))[0]
    x1 = pose.screen(P(1.0, 0.5))[0]
    lit_end = 0.0 if x0 <= x1 else 1.0
    narrow = abs(x1 - x0) < 2.0          # seen edge on: light by the sail's turn alone

    def colour(s, t, light, back):
        from_head = t if foot else 1.0 - t
        if look.torn and from_head > 0.42 + 0.22 * math.sin(s * 17.0) + 0.12 * math.sin(s * 41.0):
            return None     # a wreck's sails hang in rags
        sigma = abs(s - lit_end)        # 0 at the lit edge, 1 at the shaded one
        at_foot = abs(t - foot) < 0.13
        if narrow:
            return main if light > -0.1 else shadow
        if back:
            if at_foot:
                return deep
            return main if sigma < 0.25 else d.sail_back
        if at_foot or sigma > 0.8:
            return shadow
        if sigma < 0.2 and abs(t - foot) > 0.45:
            return high
        return main

    def triangle(corners):
        pts = [P(s, t) for s, t in corners]
        e1, e2 = sub(pts[1], pts[0]), sub(pts[2], pts[0])
        d11, d12, d22 = dot(e1, e1), dot(e1, e2), dot(e2, e2)
        det = d11 * d22 - d12 * d12 or 1e-9

        def shade(light, p, px, py, back):
            if look.flash is not None:
                return look.flash
            q = sub(p, pts[0])
            b1 = (d22 * dot(q, e1) - d12 * dot(q, e2)) / det
            b2 = (d11 * dot(q, e2) - d12 * dot(q, e1)) / det
            s = corners[0][0] * (1 - b1 - b2) + corners[1][0] * b1 + corners[2][0] * b2
            t = corners[0][1] * (1 - b1 - b2) + corners[1][1] * b1 + corners[2][1] * b2
            return colour(s, t, light, back)
        cv.poly(pose, pts, part, shade)

    for i in range(nx):
        for j in range(ny):
            s0, s1 = i / nx, (i + 1) / nx
            t0, t1 = j / ny, (j + 1) / ny
            # corners run so that the normal points out of the belly
            triangle([(s0, t0), (s1, t1), (s1, t0)])
            triangle([(s0, t0), (s0, t1), (s1, t1)])


def square_sail(cv, pose, d, look, um, zb, zt, a, br, bulge, part, top_a=None):
    """A square sail hanging from its yard at height zt down to zb, a to either side
    of the mast at its foot and top_a at its head (a course with its topsail above,
    seen as one spread of cloth), its belly pushed forward by the wind."""
    if top_a is None:
        top_a = a
    yd = (math.sin(br), math.cos(br))
    fw = (math.cos(br), -math.sin(br))

    def P(s, t):
        s = 2 * s - 1
        z = zt - t * (zt - zb)
        b = bulge * (1 - s * s) * math.sin(math.pi * (0.2 + 0.65 * t))
        w = top_a + (a - top_a) * t
        return (um + s * w * yd[0] + b * fw[0], s * w * yd[1] + b * fw[1], z)
    cloth(cv, pose, d, look, P, part)
    # the yard it hangs from, a little longer than the sail is wide, where it shows
    # as a clean bar across the screen
    r = top_a + 0.6
    dx, dy = pose.vec_screen(yd)
    if abs(dy) < 0.3 * abs(dx):
        cv.line(pose, (um - r * yd[0], -r * yd[1], zt + 0.3), (um + r * yd[0], r * yd[1], zt + 0.3), MAST,
                4 if look.flash is None else look.flash, bias=0.3)


def leeward(pose, swing=0.5):
    """The side (1 starboard, -1 port) a fore-and-aft sail swings out to: the one
    that turns it most across the screen, and of two equal ones the side nearer the
    viewer."""
    best = None
    for side in (1.0, -1.0):
        dx, dy = pose.vec_screen((-math.cos(swing), side * math.sin(swing)))
        slope = abs(dy) / (abs(dx) + 1e-6)
        near = pose.vec_screen((0.0, side))[1]
        key = (round(slope, 3), -near)
        if best is None or key < best[0]:
            best = (key, side)
    return best[1]


def jib(cv, pose, d, look, part):
    """The triangular headsail from the foremast to the end of the bowsprit."""
    fore_u, fore_top, _ = d.masts[0]
    reach, rise = d.jib
    tip = (d.length / 2 + reach, 0.0, d.freeboard + rise)
    head = (fore_u + 0.4, 0.0, fore_top - 2.0)
    foot = (d.length / 2 - 1.2, 0.0, d.freeboard + 0.3)
    area = abs(_screen_area(pose, [tip, head, foot]))
    if area < 6.0:
        cv.line(pose, (d.length / 2 - 0.6, 0, d.freeboard), tip, MAST, 4)
        return              # seen edge on: only the bowsprit shows
    belly = 0.9 * look.fill * leeward(pose)
    mid = ((tip[0] + head[0] + foot[0]) / 3 + 0.3, belly, (tip[2] + head[2] + foot[2]) / 3)
    shade = sail_colour(d, look.flash)
    cv.poly(pose, [tip, head, mid], part, shade)
    cv.poly(pose, [head, foot, mid], part, shade)
    cv.poly(pose, [foot, tip, mid], part, shade)
    cv.line(pose, (d.length / 2 - 0.6, 0, d.freeboard), tip, MAST, 4)


def _screen_area(pose, pts):
    sp = [pose.screen(p) for p in pts]
    return sum(sp[i][0] * sp[(i + 1) % len(sp)][1] - sp[(i + 1) % len(sp)][0] * sp[i][1]
               for i in range(len(sp))) / 2


FLAG_PICTURES = {
    # streaming to the right; two waves each. '0' black, 'f' white, '8' blue.
    "pennant": [["888", ".88"], ["88.", ".888"]],
    # the jolly roger: a skull with its two eye holes and its teeth on a black flag
    # whose corners flutter at the fly; big enough to read as a skull on a ship going
    # down, with black all round it so that the bone never meets the water
    "jolly": [["0000000", "00fff00", "0f0f0f0", "00f0f00", "0000000"],
              ["000000.", "00fff00", "0f0f0f0", "00f0f00", "000000."]],
}


def draw_flag(cv, pose, d, look, head=None):
    """The flag at the tallest masthead (or at head), streaming to the side of the
    screen that is aft, or to the right when the ship sails straight up or down."""
    if head is None:
        mu, top, _ = max(d.masts, key=lambda m: m[1])
        head = (mu, 0.0, top)
    if pose.world(head)[2] < 1.0:
        return              # the masthead has gone under
    sx, sy = pose.screen(head)
    back = pose.vec_screen((-1.0, 0.0))
    right = back[0] > -0.2
    pics = FLAG_PICTURES[d.flag][look.flag % 2]
    px = int(math.floor(sx))
    py = int(math.floor(sy))
    for j, row in enumerate(pics):
        for i, ch in enumerate(row):
            if ch == ".":
                continue
            x = px + 1 + i if right else px - 1 - i
            cv.plot(x, py + j, look.flash if look.flash is not None and ch != "0" else int(ch, 16), 1e6, FLAG)


def draw_ship(kind, pose, look):
    """One ship of a kind in a pose: hull, masts and sails, jib and flag, outlined;
    returns the canvas, on which effects may still be drawn."""
    d = DESIGNS[kind]
    cv = Canvas()
    draw_hull(cv, pose, d, look)
    br = brace(pose)
    cloths = [Part("sail%d" % i, edge=d.sail_edge) for i in range(8)]
    k = 0
    for mu, top, sails in d.masts:
        cv.line(pose, (mu, 0, d.freeboard - 1.2), (mu, 0, top), MAST, 4 if look.flash is None else look.flash)
        if not look.sails:
            continue
        for zb, zt, a, top_a in sails:
            square_sail(cv, pose, d, look, mu, zb, zt, a, br, 1.5 * look.fill * (a / 5.0), cloths[k], top_a)
            k += 1
    if look.jib:
        jib(cv, pose, d, look, cloths[k])
    draw_flag(cv, pose, d, look)
    cv.outline()
    if look.foam:
        cv.foam()
    cv.despeckle()
    return cv


# --------------------------------------------------------------------------
# Smoke, flashes, splinters, bubbles

SOLID = ("hull", "castle", "cargo")


def effect_plot(cv, x, y, colour, far):
    """Smoke and splinters are drawn over the ship, except that those on the far
    side of the ship stay behind its hull (they still show over the sails and the
    water, which is how a player sees which side it is)."""
    if not (0 <= x < SIZE and 0 <= y < SIZE):
        return
    if far:
        part = cv.part[y][x]
        if part is not None and part.name in SOLID:
            return
        if part is OUTLINE:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                q = cv.part[y + dy][x + dx] if 0 <= x + dx < SIZE and 0 <= y + dy < SIZE else None
                if q is not None and q.name in SOLID:
                    return
    cv.col[y][x] = colour
    cv.part[y][x] = EFFECT


def far_side(pose, side):
    """Whether the ship's side (-1 port, 1 starboard) faces away from the viewer."""
    return pose.vec_screen((0.0, side))[1] < -0.05


def puff(cv, cx, cy, r, far, thin=0, colours=(15, 10, 7)):
    """A round cloud of smoke centred on screen point (cx, cy), lit from the top
    left; thin > 0 leaves holes in its rim as it blows away."""
    for y in range(int(math.floor(cy - r - 1)), int(math.ceil(cy + r + 1))):
        for x in range(int(math.floor(cx - r - 1)), int(math.ceil(cx + r + 1))):
            dx, dy = x + 0.5 - cx, y + 0.5 - cy
            dist = math.hypot(dx, dy)
            if dist > r + 0.05:
                continue
            if thin and dist > r - thin and (x + y) % 2:
                continue
            shade = (dx + dy) / (r * 1.41) if r > 0 else 0
            colour = colours[0] if shade < 0.15 else (colours[1] if shade < 0.6 else colours[2])
            effect_plot(cv, x, y, colour, far)


def muzzle_flash(cv, x, y, out, big, far):
    """The fire of one gun at pixel (x, y), blowing out along screen step out."""
    ox, oy = out
    effect_plot(cv, x, y, 15, far)
    for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
        effect_plot(cv, x + dx, y + dy, 14, far)
    effect_plot(cv, x + ox, y + oy, 14 if big else 9, far)
    if big:
        effect_plot(cv, x + 2 * ox, y + 2 * oy, 9, far)
        effect_plot(cv, x + ox - oy, y + oy + ox, 9, far)
        effect_plot(cv, x + ox + oy, y + oy - ox, 9, far)


def screen_step(pose, v):
    """The whole-pixel screen step that best follows ship-local direction v."""
    dx, dy = pose.vec_screen(v)
    n = max(abs(dx), abs(dy)) or 1.0
    return (int(round(dx / n)), int(round(dy / n)))


def gun_point(d, u, side, out=0.0, up=0.0):
    """A point by the gun port at u on the side (-1 port, 1 starboard), out from the
    hull and up from the port by the amounts given."""
    return (u, side * (half_beam(d, u) + out), d.freeboard - 1.6 + up)


# The broadside: the ship heels away from its guns, which flash and leave smoke
# that grows, drifts off the side and thins out.
RECOIL = [0.16, 0.12, 0.07, 0.02, -0.03, -0.02, 0.0, 0.0]
SMOKE_RADIUS = [0.0, 1.3, 1.8, 2.2, 2.5, 2.5, 2.2, 1.7]
SMOKE_OUT = [0.0, 2.2, 3.8, 5.0, 5.9, 6.6, 7.1, 7.5]
SMOKE_THIN = [0, 0, 0, 0, 0, 0.6, 1.0, 1.4]


def firing_frame(kind, direction, frame, side):
    """Frame 0..7 of a broadside to the side (-1 port, 1 starboard)."""
    d = DESIGNS[kind]
    pose = Pose(direction, roll=-side * RECOIL[frame])
    cv = draw_ship(kind, pose, Look(fill=1.0, flag=(frame // 2) % 2))
    out = screen_step(pose, (0.0, side))
    far = far_side(pose, side)
    for g in d.guns:
        if frame < 2:
            x, y = project_px(pose.world(gun_point(d, g, side, out=0.6)))
            muzzle_flash(cv, x + out[0], y + out[1], out, frame == 0, far)
        if SMOKE_RADIUS[frame] > 0:
            # near-side smoke hangs over the water, far-side smoke climbs into view
            up = (1.2 + 0.8 * frame) if far else -0.1 * frame
            w = pose.world(gun_point(d, g - 0.3 * frame, side, out=SMOKE_OUT[frame], up=up))
            sx, sy = project(w)
            # smoke behind the ship lies in its shade
            puff(cv, sx, sy, SMOKE_RADIUS[frame], far, SMOKE_THIN[frame],
                 colours=(10, 7, 3) if far else (15, 10, 7))
    return cv


# A hit: a white flash, a jolt that heels the ship away from the shot and back,
# splinters thrown off the struck side that fall into the water, a puff of dust.
JOLT = [0.12, 0.15, 0.08, -0.04, -0.07, -0.03, 0.02, 0.0]
SPLINTERS = [  # along the hull, outwards, upwards (pixels a frame), colour, second pixel
    (-0.6, 1.3, 1.9, 12, (1, 0)), (0.5, 1.7, 1.2, 9, (0, 1)), (1.0, 1.0, 2.3, 12, (0, 1)),
    (-0.2, 2.1, 0.8, 4, (1, 0)), (0.8, 1.4, 1.6, 9, None), (-1.2, 0.8, 1.4, 12, None),
    (0.2, 1.9, 2.0, 12, (1, 0)), (-0.9, 1.6, 0.6, 9, (0, 1)),
]
GRAVITY = 0.3


def struck_frame(kind, direction, frame, side):
    """Frame 0..7 of a hit on the side (-1 port, 1 starboard)."""
    d = DESIGNS[kind]
    pose = Pose(direction, roll=-side * JOLT[frame])
    look = Look(fill=1.0, flag=(frame // 2) % 2, flash=15 if frame == 0 else None,
                hull_flash=15 if frame == 2 else None)
    cv = draw_ship(kind, pose, look)
    far = far_side(pose, side)
    hit_u = d.guns[len(d.guns) // 2] - 0.8
    z0 = d.freeboard - 1.0
    if frame == 1:
        # the shot bursting on the planks
        x, y = project_px(pose.world(gun_point(d, hit_u, side, out=0.8)))
        muzzle_flash(cv, x, y, screen_step(pose, (0.0, side)), True, far)
    if 2 <= frame <= 6:
        w = pose.world(gun_point(d, hit_u, side, out=1.2 + 0.8 * frame, up=0.5 * frame + (1.5 if far else 0)))
        sx, sy = project(w)
        puff(cv, sx, sy, [0, 0, 1.6, 2.0, 2.1, 1.9, 1.5][frame], far,
             [0, 0, 0, 0, 0.6, 1.0, 1.6][frame], colours=(7, 3, 3))
    t = frame + 1.0
    for du, vout, vup, colour, tail in SPLINTERS:
        z = z0 + vup * t - GRAVITY * t * t
        lift = 2.0 if far else 0.0       # thrown high enough to be seen over the far rail
        p = (hit_u + du * t * 0.5, side * (half_beam(d, hit_u) + 0.5 + vout * t * 0.7), max(z, 0.0) + lift * (z > 0))
        x, y = project_px(pose.world(p))
        if z <= 0:
            zp = z0 + vup * (t - 1) - GRAVITY * (t - 1) * (t - 1)
            if zp > 0 and not far:      # behind the ship the splash is out of sight
                # the splash where it comes down
                effect_plot(cv, x, y, 15, far)
                effect_plot(cv, x - 1, y, 13, far)
                effect_plot(cv, x + 1, y, 13, far)
            continue
        effect_plot(cv, x, y, colour, far)
        if tail:
            effect_plot(cv, x + tail[0], y + tail[1], 4 if colour != 4 else 1, far)
    return cv


def project_px(w):
    """The pixel that world point w falls on."""
    x, y = project(w)
    return int(math.floor(x)), int(math.floor(y))


# --------------------------------------------------------------------------
# Wake: one mask a heading and frame, shared by all four kinds

WAKE_BOW = 8.0           # the stem of a middling ship: where the bow wave starts
WAKE_SPREAD = 0.5        # how fast the two arms of the wake open out
WAKE_DASH = 5.0          # the arms' ripples run aft one ripple length a loop


def wake_points(direction, frame):
    """Pixels of the wake and bow spray on the water around a ship sailing this
    heading, before the ships themselves are cut out of it."""
    pose = Pose(direction)
    pts = set()
    phase = WAKE_DASH * frame / FRAMES

    def put(u, v):
        x, y = project_px(pose.world((u, v, 0.0)))
        if 0 <= x < SIZE and 0 <= y < SIZE:
            pts.add((x, y))

    def steps(length):
        return [i * 0.25 for i in range(int(length * 4))]
    # the two arms of the bow wave, broken by gaps that travel aft
    for t in steps(18.0):
        if (t - phase) % WAKE_DASH < WAKE_DASH * 0.72:
            for side in (-1, 1):
                put(WAKE_BOW - t, side * (0.6 + WAKE_SPREAD * t))
    # the churned water straight astern
    for t in steps(9.0):
        if (t - phase * 0.6) % 3.0 < 1.8:
            for side in (-1, 1):
                put(-7.2 - t, side * (0.8 + 0.15 * t))
    # spray at the stem, flickering
    spray = ((0.9, 0.0), (0.4, 1.3), (0.4, -1.3)) if frame % 2 == 0 else \
        ((0.7, 0.7), (0.7, -0.7), (0.0, 1.8), (0.0, -1.8))
    for u, v in spray:
        put(WAKE_BOW + u, v)
    return pts


def wake_mask(direction, frame, covered):
    """The wake minus every pixel a ship of any kind covers in this heading and frame."""
    return sorted(p for p in wake_points(direction, frame) if p not in covered)


# --------------------------------------------------------------------------
# Going down, and what is left

def bubble(cv, x, y, big):
    """A bubble on the water: a one-pixel fleck, or a little ring with a glint."""
    if big:
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            effect_plot(cv, x + dx, y + dy, 13, False)
        effect_plot(cv, x, y - 1, 15, False)
    else:
        effect_plot(cv, x, y, 15, False)


# Bubbles around a sinking ship: (x, y) offsets from the centre, the frame each
# first shows, and whether it is a big one. They rise a pixel a frame.
BUBBLES = [(-6, 2, 2, False), (4, 3, 2, True), (-2, 4, 3, True), (7, 1, 3, False),
           (-8, 0, 4, True), (1, 3, 4, False), (5, -1, 5, False), (-4, 1, 5, True),
           (2, 2, 6, True), (-1, -1, 6, False), (6, 3, 6, False), (-6, 3, 7, False),
           (3, 0, 7, True), (-3, 3, 7, False), (0, 4, 5, False), (8, 4, 7, True)]


SINK_HEAVE = [-0.4, -1.0, -1.9, -3.0, -4.3, -5.4, -6.2, -6.9]


def sinking_pose(frame):
    """Down by the bow, heeling over, the stern the last of the hull to go."""
    p = frame / (SINK_FRAMES - 1)
    return Pose(SINK_DIRECTION, roll=-(0.1 + 0.25 * p), pitch=0.05 + 0.4 * p, heave=SINK_HEAVE[frame])


def sinking_frame(kind, frame):
    d = DESIGNS[kind]
    # the sails go under with the hull; at the end only the masts stand out of the foam
    look = Look(fill=max(0.0, 1.0 - frame * 0.2), flag=frame % 2, jib=frame < 3, foam=True,
                sails=frame < 5)
    cv = draw_ship(kind, sinking_pose(frame), look)
    c = int(CENTRE)
    for bx, by, first, big in BUBBLES:
        age = frame - first
        if 0 <= age < 3:
            bubble(cv, c + bx, c + by - age, big and age < 2)
    return cv.grid()


WRECK_HEAVE = [0.0, -0.3, -0.5, -0.2]
# What sticks out of a wreck, per kind: for each standing mast its index, the
# fraction of it left, its lean (forward, to starboard, per pixel of height) and
# whether a rag of sail still hangs from it.
WRECK_MASTS = [
    [(0, 0.75, (0.25, 0.45), True), (1, 0.5, (-0.4, -0.2), False)],
    [(0, 0.8, (-0.2, 0.5), True)],
    [(0, 0.55, (0.45, 0.15), False), (1, 0.8, (-0.15, 0.45), True)],
    [(0, 0.45, (0.5, -0.1), False), (1, 0.75, (0.1, 0.45), True), (2, 0.5, (-0.45, 0.25), False)],
]
# Flotsam around a wreck: hand-drawn bits (plank, barrel, spar) at offsets from
# the centre, bobbing a pixel on alternate frames.
FLOTSAM = [
    ((-11, 4), [".0000.", "0c9940", ".0000."], 0),
    ((6, 5), [".00.", "0940", "0410", ".00."], 1),
    ((-4, 7), ["00...", "0400.", ".0440", "..00."], 2),
]


def wreck_frame(kind, frame):
    d = DESIGNS[kind]
    # settled by the bow, the stern and the stumps of the masts above the water
    pose = Pose(SINK_DIRECTION, roll=-0.25, pitch=0.3, heave=-(d.freeboard + 0.3) + WRECK_HEAVE[frame])
    look = Look(fill=0.5, flag=frame // 2, torn=True, jib=False)
    cv = Canvas()
    draw_hull(cv, pose, d, look)
    rag = Part("rag", edge=d.sail_edge)
    head = None
    for index, left, (lu, lv), has_rag in WRECK_MASTS[kind]:
        mu, top, sails = d.masts[index]
        base = (mu, 0.0, d.freeboard - 1.2)
        h = (top - base[2]) * left
        tip = (mu + lu * h, lv * h, base[2] + h)
        cv.line(pose, base, tip, MAST, 4)
        if has_rag:
            # a broken yard across the stump with the rag of its sail below
            yard = 2.6
            cv.line(pose, (tip[0] - 0.5, tip[1] - yard, tip[2] - 0.8), (tip[0] + 0.5, tip[1] + yard, tip[2] - 1.6), MAST, 4)
            square_sail(cv, pose, d, look, tip[0], tip[2] - 5.0, tip[2] - 1.2, yard, brace(pose), 0.6, rag)
            head = tip
    if head is not None:
        draw_flag(cv, pose, d, look, head)
    cv.outline()
    cv.foam()
    cv.despeckle()
    c = int(CENTRE)
    for (ox, oy), rows, phase in FLOTSAM:
        bob = 1 if (frame + phase) % 4 in (1, 2) else 0
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch != ".":
                    effect_plot(cv, c + ox + i, c + oy + j + bob, int(ch, 16), False)
    return cv.grid()


# --------------------------------------------------------------------------
# Sheets

def sailing_frame(kind, direction, frame):
    """Frame 0..7 of the sailing loop: the hull rises and falls once and pitches a
    little, the sails fill and slacken, the flag flaps every two frames."""
    phase = 2 * math.pi * frame / FRAMES
    pose = Pose(direction, pitch=0.025 * math.sin(phase), heave=-0.45 * (1 - math.cos(phase)))
    look = Look(fill=1.0 + 0.25 * math.sin(phase), flag=(frame // 2) % 2)
    return draw_ship(kind, pose, look)


def ship_frame(bank, kind, direction, frame):
    """The canvas of one frame of the ship table."""
    if bank == SAILING:
        return sailing_frame(kind, direction, frame)
    if bank in (FIRE_PORT, FIRE_STARBOARD):
        return firing_frame(kind, direction, frame, -1 if bank == FIRE_PORT else 1)
    return struck_frame(kind, direction, frame, -1 if bank == STRUCK_PORT else 1)


def build():
    """All four sheets: (ships, wake, wreck, sinking)."""
    ships = Sheet(24, 24, BANKS * KINDS * DIRECTIONS * FRAMES, columns=32)
    covered = {(d, f): set() for d in range(DIRECTIONS) for f in range(FRAMES)}
    for bank in range(BANKS):
        for kind in range(KINDS):
            for direction in range(DIRECTIONS):
                for frame in range(FRAMES):
                    cv = ship_frame(bank, kind, direction, frame)
                    ships.put_frame(bank * 256 + kind * 64 + direction * 8 + frame, cv.grid())
                    # the wake is drawn over every kind in every bank: keep it off their hulls and sails
                    covered[direction, frame] |= cv.body()
    wake = Sheet(24, 24, FRAMES * DIRECTIONS, columns=8)
    for frame in range(FRAMES):
        for direction in range(DIRECTIONS):
            for x, y in wake_mask(direction, frame, covered[direction, frame]):
                wake.set(frame * 8 + direction, x, y, 8)
    wreck = Sheet(24, 24, KINDS * WRECK_FRAMES, columns=4)
    sinking = Sheet(24, 24, KINDS * SINK_FRAMES, columns=8)
    for kind in range(KINDS):
        for frame in range(WRECK_FRAMES):
            wreck.put_frame(kind * 4 + frame, wreck_frame(kind, frame))
        for frame in range(SINK_FRAMES):
            sinking.put_frame(kind * 8 + frame, sinking_frame(kind, frame))
    return ships, wake, wreck, sinking


def main():
    previews = None
    if "--previews" in sys.argv:
        previews = sys.argv[sys.argv.index("--previews") + 1]
    ships, wake, wreck, sinking = build()
    ships.save(os.path.join(ART, "ships.png"))
    wake.save(os.path.join(ART, "ships_wake.png"))
    wreck.save(os.path.join(ART, "ships_wreck.png"))
    sinking.save(os.path.join(ART, "ships_sinking.png"))
    if previews:
        write_previews(previews, ships, wake, wreck, sinking)


def write_previews(folder, ships, wake, wreck, sinking):
    """Pictures for looking at: every still ship at 1x and 4x, on the sea and on
    black; one heading through all five banks; the sailing loop with its wake;
    the wrecks and the sinking ships."""
    os.makedirs(folder, exist_ok=True)
    still = Sheet(24, 24, 32, columns=8)
    for kind in range(KINDS):
        for direction in range(DIRECTIONS):
            still.put_frame(kind * 8 + direction, ships.frame_grid(kind * 64 + direction * 8))
    for scale in (1, 4):
        preview(os.path.join(folder, "ships_still_%dx.png" % scale), still, scale=scale)
        preview(os.path.join(folder, "ships_still_%dx_black.png" % scale), still, scale=scale, background=0)
    for kind in range(KINDS):
        banks = Sheet(24, 24, BANKS * FRAMES, columns=8)
        for bank in range(BANKS):
            for frame in range(FRAMES):
                banks.put_frame(bank * 8 + frame, ships.frame_grid(bank * 256 + kind * 64 + 3 * 8 + frame))
        preview(os.path.join(folder, "ships_banks_kind%d_4x.png" % kind), banks, scale=4)
    waking = Sheet(24, 24, DIRECTIONS * FRAMES, columns=8)
    for direction in range(DIRECTIONS):
        for frame in range(FRAMES):
            n = direction * 8 + frame
            waking.put_frame(n, ships.frame_grid(n))
            for y in range(SIZE):
                for x in range(SIZE):
                    if wake.get(frame * 8 + direction, x, y) != KEY:
                        waking.set(n, x, y, 8)
    preview(os.path.join(folder, "ships_wake_4x.png"), waking, scale=4)
    preview(os.path.join(folder, "ships_wreck_4x.png"), wreck, scale=4)
    preview(os.path.join(folder, "ships_sinking_4x.png"), sinking, scale=4)
    for name, sheet in (("wreck", wreck), ("sinking", sinking)):
        preview(os.path.join(folder, "ships_%s_1x_black.png" % name), sheet, scale=1, background=0)


if __name__ == "__main__":
    main()
