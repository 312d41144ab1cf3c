"""Checks the sea view's sheets in assets/art for what the game relies on.

    /usr/bin/python3 tools/art/draw_sea_check.py     # exit status 1 and a list on a fault

The sheets are sources that may be retouched by hand; these are the rules a retouch
must keep: table sizes, opaque land, coasts of water alone that meet without seams
on any map of 2 x 2 blocks, animations that move, clouds that are whole, stay inside
their squares and (but for the smallest wisps) are shaded by holes, lit from the top
left, markers that tell giving from buying at a glance, a barrel sitting on its
position, gulls small enough to be gulls.
"""

import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import KEY  # noqa: E402
import draw_sea_preview as preview  # noqa: E402


# The colours of water: foam, shallows, the shelf and the deep sea (the key).
WATER = {15, 13, 8, KEY}
MARKER_LOWEST = 19  # a marker's lowest row: the ships are drawn under it
CLOUD_OPEN = 0.18   # at least this much of a cloud's shape is holes, where the sea shows
CLOUD_LIT = 0.05    # and its lit half is this much more cloud than its shaded half
NEAR = [(1, 0), (-1, 0), (0, 1), (0, -1)]
AROUND = NEAR + [(1, 1), (1, -1), (-1, 1), (-1, -1)]


def frames(sheet):
    return [sheet.frame_grid(i) for i in range(sheet.frames)]


def changed(a, b):
    return sum(pa != pb for ra, rb in zip(a, b) for pa, pb in zip(ra, rb))


def opaque(grid, colours=None):
    return [(x, y) for y, row in enumerate(grid) for x, c in enumerate(row)
            if c != KEY and (colours is None or c in colours)]


def random_blocks(seed, size=20):
    """A map of 2 x 2 blocks like the game's: land blocks scattered over the sea, the
    outer ring of blocks always sea."""
    rnd = random.Random(seed)
    return ["".join("#" if 0 < x < size - 1 and 0 < y < size - 1 and rnd.random() < 0.45 else "."
                    for x in range(size)) for y in range(size)]


def coast_faults(sh):
    out = []
    for seed in range(3):
        m = preview.blocks_to_map(random_blocks(seed))
        cv = preview.Canvas(len(m) * 16, len(m[0]) * 16)
        preview.draw_cells(cv, sh, m, 0, 0, 0, 0, 0, len(m), len(m[0]))
        if preview.seam_check(cv, m, "random islands %d" % seed):
            out.append("coast pieces do not meet on random islands %d" % seed)
        # every coast piece leaves open water somewhere on its sea side
        for c in range(len(m)):
            for r in range(len(m[0])):
                if m[c][r] >= 2:
                    continue
                cell = [cv.px[(r * 16 + y) * cv.w + c * 16 + x] for y in range(16) for x in range(16)]
                if KEY not in cell and not (preview.is_land(m, c - 1, r) and preview.is_land(m, c + 1, r)) \
                        and not (preview.is_land(m, c, r - 1) and preview.is_land(m, c, r + 1)):
                    out.append("sea cell (%d, %d) of random islands %d is all beach" % (c, r, seed))
    return out


def pieces(cells, steps):
    """How many pieces the cells make, joined by the given steps."""
    seen, count = set(), 0
    for start in cells:
        if start in seen:
            continue
        count += 1
        todo = [start]
        while todo:
            p = todo.pop()
            if p in seen or p not in cells:
                continue
            seen.add(p)
            todo += [(p[0] + dx, p[1] + dy) for dx, dy in steps]
    return count


def cloud_faults(label, cells, size):
    """What is wrong with one cloud frame, its set pixels `cells`, size pixels square."""
    if not cells:
        return ["%s is empty" % label]
    out = []
    if any(x in (0, size - 1) or y in (0, size - 1) for x, y in cells):
        out.append("%s touches its square's edge" % label)
    if pieces(cells, AROUND) != 1:
        out.append("%s is in %d pieces" % (label, pieces(cells, AROUND)))
    if size == 8:
        # a wisp: no lone pixels, no holes
        lone = [p for p in cells if not any((p[0] + dx, p[1] + dy) in cells for dx, dy in NEAR)]
        if lone:
            out.append("%s has a lone pixel at %s" % (label, lone[0]))
        outside = {(x, y) for x in range(size) for y in range(size)} - cells
        if pieces(outside, NEAR) != 1:
            out.append("%s has a hole" % label)
        return out
    # its shape: the cloud and the holes in it and in its rim, clear pixels with cloud
    # on two sides at least
    holes = {(x, y) for x in range(size) for y in range(size)
             if (x, y) not in cells and sum((x + dx, y + dy) in cells for dx, dy in NEAR) >= 2}
    shape = cells | holes
    if len(holes) < CLOUD_OPEN * len(shape):
        out.append("%s is a flat shape: only %.2f of it is open" % (label, len(holes) / len(shape)))
    if size > 16:
        # the half of it towards the sun, at the top left, is more cloud than the other
        sums = sorted(x + y for x, y in shape)
        lit = {p for p in shape if p[0] + p[1] < sums[len(sums) // 2]}

        def fill(part):
            return len(part & cells) / max(len(part), 1)
        if fill(lit) < fill(shape - lit) + CLOUD_LIT:
            out.append("%s is not lit from the top left: %.2f of its lit half and %.2f of the other are cloud"
                       % (label, fill(lit), fill(shape - lit)))
    return out


def faults():
    out = []
    try:
        sh = preview.load_sheets()
    except (OSError, ValueError) as e:
        return ["a sheet does not load: %s" % e]
    for name, (path, w, h, n) in preview.SHEETS.items():
        if name not in sh:
            out.append("%s is missing" % path)
        elif sh[name].width % w or sh[name].height < sh[name].rows * h:
            out.append("%s is not a sheet of %d frames of %d x %d" % (path, n, w, h))
    if out:
        return out

    for i, g in enumerate(frames(sh["land"])):
        if len(opaque(g)) != 256:
            out.append("land frame %d has key pixels: the sea would show through" % i)

    out += coast_faults(sh)
    # A ship may sail anywhere in a sea cell: the pieces drawn there show only water.
    for name in ("coast_edge", "coast_corner"):
        for i, g in enumerate(frames(sh[name])):
            land = sorted({c for row in g for c in row} - WATER)
            if land:
                out.append("%s frame %d paints %s into the sea: only water (%s) belongs there"
                           % (name, i, land, sorted(WATER)))

    # Animations move something in every step.
    for name, loops in (("port", 4), ("whirlpool", 1), ("rock", 3), ("barrel", 1),
                        ("cannonball", 1), ("splash", 1)):
        f = frames(sh[name])
        n = len(f) // loops
        for loop in range(loops):
            for i in range(n):
                if changed(f[loop * n + i], f[loop * n + (i + 1) % n]) == 0 and name != "splash":
                    out.append("%s frames %d and %d are the same" % (name, loop * n + i, loop * n + (i + 1) % n))
    gulls = frames(sh["gull"])
    for d in range(8):
        if changed(gulls[d * 4], gulls[d * 4 + 1]) == 0 or changed(gulls[d * 4 + 1], gulls[d * 4 + 2]) == 0:
            out.append("gull direction %d does not flap" % d)
        for w in range(4):
            g = gulls[d * 4 + w]
            xs = [x for x, y in opaque(g)]
            if not 3 <= len(xs) <= 24 or max(xs) - min(xs) > 7:
                out.append("gull frame %d is not a small gull" % (d * 4 + w))

    # Clouds: whole, inside their squares, changing over their 8 frames; the smallest
    # solid wisps, the others shaded by holes, lit above and open in the shade below.
    for name, variants in (("clouds8", 6), ("clouds16", 6), ("clouds32", 5), ("clouds48", 4)):
        f = frames(sh[name])
        size = sh[name].fw
        for i, g in enumerate(f):
            out += cloud_faults("%s frame %d" % (name, i), set(opaque(g)), size)
        for v in range(variants):
            seq = [f[k * variants + v] for k in range(8)]
            if all(changed(seq[0], s) == 0 for s in seq):
                out.append("%s variant %d never changes shape" % (name, v))

    # Markers: the giving port's sign is grey, the buying port's gold.
    m = frames(sh["port_marker"])
    grey = len(opaque(m[0], (7, 10))) > len(opaque(m[0], (9, 14)))
    gold = len(opaque(m[1], (9, 14))) > 3 * len(opaque(m[1], (7, 10)))
    if not (grey and gold):
        out.append("port marker 0 must be mostly grey and marker 1 mostly gold")
    for i, g in enumerate(m):
        cells = opaque(g)
        low = max(y for x, y in cells)
        tip = [x for x, y in cells if y == low]
        if len(tip) > 4 or not 10 <= sum(tip) / len(tip) <= 13:
            out.append("port marker %d does not point down to the middle of its port" % i)
        if low > MARKER_LOWEST:
            out.append("port marker %d reaches down to row %d, over a ship docked beside its port" % (i, low))

    # The barrel sits on its position, pixel (4, 4), about 10 pixels across.
    for i, g in enumerate(frames(sh["barrel"])):
        wood = opaque(g, (1, 3, 4, 9, 10, 12))
        cx = sum(x for x, y in wood) / max(len(wood), 1)
        cy = sum(y for x, y in wood) / max(len(wood), 1)
        if not (3 <= cx <= 7 and 3 <= cy <= 7):
            out.append("barrel frame %d is centred on (%.1f, %.1f), not near (4..6, 4..6)" % (i, cx, cy))
    return out


def main():
    found = faults()
    for f in found:
        print(f)
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main())
