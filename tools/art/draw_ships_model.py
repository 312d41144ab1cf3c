"""A tiny renderer for Quillbarrow's ship pictures.

Ships are built from flat polygons and lines in the ship's own coordinates
(u forward along the keel, v to starboard, z up from the waterline, in pixels),
turned to one of the eight headings and seen from the south at a three-quarter
angle: screen x = centre + X, screen y = centre + Y * K - Z, where X, Y are world
pixels (y grows downwards, to the south) and K squashes the ground plane.  A
depth buffer keeps near surfaces in front; anything below the waterline is not
drawn.  Afterwards every part gets a one-pixel dark outline where it lies in
front of another part or in front of open water.

The ship's centre on the water is pixel (12, 12) of its 24 x 24 frame, so its
continuous position is (12.5, 12.5): pixel centres lie on half pixels.
"""

import math

SIZE = 24
KEY = 2
K = 0.5                    # ground squash of the three-quarter view
CENTRE = 12.5              # ship centre (pixel 12) in continuous coordinates
LIGHT = (-0.60, 0.35, 0.75)    # towards the light: from the upper left, a little from the front
_ln = math.sqrt(sum(c * c for c in LIGHT))
LIGHT = tuple(c / _ln for c in LIGHT)
VIEW = (0.0, 1.0, K)       # towards the viewer

# Heading vectors of the eight directions (screen directions, y down).
HEADINGS = [(0, -1), (-1, -1), (-1, 0), (-1, 1), (0, 1), (1, 1), (1, 0), (1, -1)]


def norm(v):
    n = math.sqrt(sum(c * c for c in v))
    return tuple(c / n for c in v) if n else v


def cross(a, b):
    return (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])


def dot(a, b):
    return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]


def sub(a, b):
    return (a[0] - b[0], a[1] - b[1], a[2] - b[2])


class Pose:
    """Where the ship is: heading, heel (roll, positive leans to starboard), trim
    (pitch, positive puts the bow down), heave (z offset) and a shift on the water."""

    def __init__(self, direction, roll=0.0, pitch=0.0, heave=0.0, shift=(0.0, 0.0)):
        hx, hy = norm(HEADINGS[direction])
        self.direction = direction
        self.h = (hx, hy)
        self.s = (-hy, hx)          # starboard: the heading turned clockwise on screen
        cr, sr = math.cos(roll), math.sin(roll)
        cp, sp = math.cos(pitch), math.sin(pitch)
        # ship-local rotation: pitch about v, then roll about u
        self.rot = [[cp, 0.0, sp], [0.0, 1.0, 0.0], [-sp, 0.0, cp]]
        # roll > 0 tips the masts towards +v (a heel to starboard)
        rollm = [[1.0, 0.0, 0.0], [0.0, cr, sr], [0.0, -sr, cr]]
        self.rot = _matmul(rollm, self.rot)
        self.heave = heave
        self.shift = shift

    def local(self, p):
        """Ship coordinates after heel and trim, before the heading turn."""
        r = self.rot
        return (r[0][0] * p[0] + r[0][1] * p[1] + r[0][2] * p[2],
                r[1][0] * p[0] + r[1][1] * p[1] + r[1][2] * p[2],
                r[2][0] * p[0] + r[2][1] * p[1] + r[2][2] * p[2] + self.heave)

    def world(self, p):
        u, v, z = self.local(p)
        hx, hy = self.h
        sx, sy = self.s
        return (u * hx + v * sx + self.shift[0], u * hy + v * sy + self.shift[1], z)

    def unworld(self, w):
        """Ship coordinates (before heel and trim are undone) of a world point."""
        x, y, z = w[0] - self.shift[0], w[1] - self.shift[1], w[2] - self.heave
        hx, hy = self.h
        sx, sy = self.s
        u = x * hx + y * hy
        v = x * sx + y * sy
        r = self.rot          # orthonormal: inverse is the transpose
        return (r[0][0] * u + r[1][0] * v + r[2][0] * z,
                r[0][1] * u + r[1][1] * v + r[2][1] * z,
                r[0][2] * u + r[1][2] * v + r[2][2] * z)

    def screen(self, p):
        return project(self.world(p))

    def vec_screen(self, d):
        """Screen direction of a ship-local horizontal vector (u, v)."""
        hx, hy = self.h
        sx, sy = self.s
        return (d[0] * hx + d[1] * sx, (d[0] * hy + d[1] * sy) * K)


def _matmul(a, b):
    return [[sum(a[i][k] * b[k][j] for k in range(3)) for j in range(3)] for i in range(3)]


def project(w):
    return (CENTRE + w[0], CENTRE + w[1] * K - w[2])


def depth_of(w):
    return w[1] + K * w[2]


class Part:
    """A named piece of the ship. outline: gets a dark edge against the open water and
    where it lies behind a part that casts one; edge: the colour of that edge where
    it lies behind another part (against the water the edge is always colour 0);
    keep: its single pixels are details, not specks to be cleaned away."""

    def __init__(self, name, outline=True, casts=True, edge=0, keep=False):
        self.name, self.outline, self.casts, self.edge, self.keep = name, outline, casts, edge, keep


class Canvas:
    def __init__(self):
        n = SIZE
        self.col = [[KEY] * n for _ in range(n)]
        self.dep = [[-1e9] * n for _ in range(n)]
        self.part = [[None] * n for _ in range(n)]
        self.wet = {}       # pixels where a surface just dips under the water: (x, y) -> depth

    # -- drawing -----------------------------------------------------------
    def poly(self, pose, pts, part, shade, clip_water=True, bias=0.0):
        """A flat convex polygon given in ship coordinates. shade(light, local, px, py, back)
        gives the colour; light is the lit fraction -1..1 of the face, back tells that
        the face is seen from behind (the normal of its corners, by the right-hand rule,
        points away from the viewer)."""
        wpts = [pose.world(p) for p in pts]
        n = cross(sub(wpts[1], wpts[0]), sub(wpts[2], wpts[0]))
        if len(wpts) > 3:
            n2 = cross(sub(wpts[2], wpts[0]), sub(wpts[3], wpts[0]))
            n = (n[0] + n2[0], n[1] + n2[1], n[2] + n2[2])
        n = norm(n)
        if abs(n[1] + K * n[2]) < 1e-6:
            return              # seen exactly edge-on
        back = dot(n, VIEW) < 0     # seeing the face from behind its winding
        if back:
            n = (-n[0], -n[1], -n[2])
        light = dot(n, LIGHT)
        c = dot(n, wpts[0])
        spts = [project(w) for w in wpts]
        area = 0.0
        for i in range(len(spts)):
            x0, y0 = spts[i]
            x1, y1 = spts[(i + 1) % len(spts)]
            area += x0 * y1 - x1 * y0
        if abs(area) < 1e-6:
            return
        sgn = 1 if area > 0 else -1
        xs = [p[0] for p in spts]
        ys = [p[1] for p in spts]
        for py in range(max(0, int(math.floor(min(ys))) - 1), min(SIZE, int(math.ceil(max(ys))) + 1)):
            for px in range(max(0, int(math.floor(min(xs))) - 1), min(SIZE, int(math.ceil(max(xs))) + 1)):
                cx, cy = px + 0.5, py + 0.5
                inside = True
                for i in range(len(spts)):
                    x0, y0 = spts[i]
                    x1, y1 = spts[(i + 1) % len(spts)]
                    if sgn * ((x1 - x0) * (cy - y0) - (y1 - y0) * (cx - x0)) < -1e-4:
                        inside = False
                        break
                if not inside:
                    continue
                # world point on the plane seen at this pixel
                q = (cx - CENTRE, (cy - CENTRE) / K, 0.0)
                # the pixel's ray is q + t (0, 1, K); it meets the plane n.p = c
                t = (c - dot(n, q)) / (n[1] + K * n[2])
                w = (q[0], q[1] + t, K * t)
                if clip_water and w[2] < -0.05:
                    if w[2] > -1.2 and part.name in WET_PARTS:
                        self.wet[(px, py)] = max(self.wet.get((px, py), -1e9), depth_of(w))
                    continue
                d = depth_of(w) + bias
                if d <= self.dep[py][px]:
                    continue
                colour = shade(light, pose.unworld(w), px, py, back)
                if colour is None:
                    continue
                self.col[py][px] = colour
                self.dep[py][px] = d
                self.part[py][px] = part

    def line(self, pose, a, b, part, colour, clip_water=True, bias=0.0):
        """A one-pixel line between two points in ship coordinates."""
        wa, wb = pose.world(a), pose.world(b)
        sa, sb = project(wa), project(wb)
        steps = int(max(abs(sb[0] - sa[0]), abs(sb[1] - sa[1])) * 2) + 1
        for i in range(steps + 1):
            f = i / steps
            w = tuple(wa[k] + (wb[k] - wa[k]) * f for k in range(3))
            sx, sy = project(w)
            px, py = int(math.floor(sx)), int(math.floor(sy))
            if clip_water and w[2] < -0.05:
                if w[2] > -0.8 and part.name in WET_PARTS:
                    self.wet[(px, py)] = max(self.wet.get((px, py), -1e9), depth_of(w))
                continue
            self.plot(px, py, colour, depth_of(w) + bias, part)

    def plot(self, px, py, colour, d, part):
        if 0 <= px < SIZE and 0 <= py < SIZE and d > self.dep[py][px]:
            self.col[py][px] = colour
            self.dep[py][px] = d
            self.part[py][px] = part

    # -- finishing ---------------------------------------------------------
    def outline(self):
        """Dark edges: a part's pixels next to a nearer part that casts an edge, and
        open water next to any outlined part."""
        n = SIZE
        marks = []
        for y in range(n):
            for x in range(n):
                a = self.part[y][x]
                if a is None or not a.outline:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    qx, qy = x + dx, y + dy
                    if not (0 <= qx < n and 0 <= qy < n):
                        continue
                    b = self.part[qy][qx]
                    if b is None or b is a or not b.casts:
                        continue
                    if self.dep[y][x] < self.dep[qy][qx] - 0.75:
                        marks.append((x, y, a.edge))
                        break
        water = []
        for y in range(n):
            for x in range(n):
                if self.part[y][x] is not None:
                    continue
                for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                    qx, qy = x + dx, y + dy
                    if 0 <= qx < n and 0 <= qy < n:
                        b = self.part[qy][qx]
                        if b is not None and b.outline:
                            water.append((x, y, self.dep[qy][qx]))
                            break
        for x, y, e in marks:
            self.col[y][x] = e
        for x, y, d in water:
            self.col[y][x] = 0
            self.dep[y][x] = d
            self.part[y][x] = OUTLINE

    def foam(self, colour=15, rim=13):
        """Foam where the ship meets the water: on open water (or its dark edge) just
        above the line where the hull goes under."""
        for (x, y), d in self.wet.items():
            a = self.part[y][x]
            if a is None or a is OUTLINE:
                below = (x, y + 1) in self.wet
                self.col[y][x] = rim if below else colour
                self.part[y][x] = FOAM
                self.dep[y][x] = d

    def despeckle(self):
        """Single pixels that differ from all four neighbours, which agree with one
        another on three sides at least, take that colour: shading noise, not
        details."""
        n = SIZE
        fixes = []
        for y in range(1, n - 1):
            for x in range(1, n - 1):
                a = self.part[y][x]
                if a is None or a.keep or a is OUTLINE:
                    continue
                c = self.col[y][x]
                around = [self.col[y + dy][x + dx] for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))]
                if c in around:
                    continue
                for cand in set(around):
                    if around.count(cand) >= 3 and cand != KEY:
                        fixes.append((x, y, cand))
                        break
        for x, y, c in fixes:
            self.col[y][x] = c

    def body(self):
        """Pixels of the ship itself and its outline (not smoke, splinters or foam)."""
        return {(x, y) for y in range(SIZE) for x in range(SIZE)
                if self.part[y][x] is not None and self.part[y][x].name not in ("effect", "foam")}

    def grid(self):
        return [row[:] for row in self.col]


OUTLINE = Part("outline", outline=False, casts=False)
WET_PARTS = ("hull", "castle", "rag", "mast")      # parts that throw up foam where they meet the water
FOAM = Part("foam", outline=False, casts=False, keep=True)

