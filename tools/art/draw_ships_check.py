#!/usr/bin/python3
"""Checks the ship sheets in assets/art against what the game needs of them.

    /usr/bin/python3 tools/art/draw_ships_check.py

Reads the sheets as they stand (an artist may have touched them up by hand since
draw_ships.py made them) and the group's .tables and header, and reports every
broken rule; the exit status is 1 if any rule is broken.
"""

import os
import re
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import Sheet, KEY  # noqa: E402

ROOT = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", ".."))
ART = os.path.join(ROOT, "assets", "art")

# Screen heading of each direction number (y grows downwards).
HEADING = [(0, -1), (-1, -1), (-1, 0), (-1, 1), (0, 1), (1, 1), (1, 0), (1, -1)]
TABLES = [  # name, sheet, width, height, frames, kind, slot
    ("ShipFrames", "ships.png", 24, 24, 1280, "sprite", None),
    ("ShipOverlayMasks", "ships_wake.png", 24, 24, 64, "mask", 576),
    ("WreckFrames", "ships_wreck.png", 24, 24, 16, "sprite", None),
    ("SinkingFrames", "ships_sinking.png", 24, 24, 32, "sprite", None),
]
COLUMNS = {"ships.png": 32, "ships_wake.png": 8, "ships_wreck.png": 4, "ships_sinking.png": 8}

failures = []


def check(ok, message):
    if not ok:
        failures.append(message)


def opaque(sheet, n):
    return {(x, y) for y in range(24) for x in range(24) if sheet.get(n, x, y) != KEY}


def ship(bank, kind, direction, frame):
    return bank * 256 + kind * 64 + direction * 8 + frame


def starboard(direction):
    hx, hy = HEADING[direction]
    return (-hy, hx)


def centroid(points):
    n = len(points) or 1
    return (sum(p[0] for p in points) / n - 12, sum(p[1] for p in points) / n - 12)


def has_skull(grid):
    """A skull that reads as one: two dark eye holes side by side in white bone, bone
    above and below each eye, between them and on either side."""
    bone = [(-1, 0), (1, 0), (3, 0), (0, -1), (2, -1), (0, 1), (2, 1)]
    return any(grid[y][x] == 0 and grid[y][x + 2] == 0
               and all(grid[y + dy][x + dx] == 15 for dx, dy in bone)
               for y in range(1, 23) for x in range(1, 21))


def check_tables():
    """The .tables lines and the header name exactly the four tables, sizes and kinds."""
    with open(os.path.join(ART, "ships.tables")) as f:
        lines = [l.split() for l in f if l.strip() and not l.startswith("#")]
    want = [[name, sheet, str(w), str(h), str(n), kind] + (["slot=%d" % slot] if slot else [])
            for name, sheet, w, h, n, kind, slot in TABLES]
    check(lines == want, "ships.tables lists %s, expected %s" % (lines, want))
    with open(os.path.join(ROOT, "assets", "ships.h")) as f:
        declared = re.findall(r"extern const uint8_t (\w+)\[\];", f.read())
    check(declared == [t[0] for t in TABLES], "ships.h declares %s" % declared)


def load():
    sheets = {}
    for name, path, w, h, n, kind, slot in TABLES:
        s = Sheet.load(os.path.join(ART, path), w, h, n)
        check(s.columns == COLUMNS[path], "%s has %d columns, expected %d" % (path, s.columns, COLUMNS[path]))
        check(s.height == s.rows * h, "%s is %d pixels high, expected %d" % (path, s.height, s.rows * h))
        sheets[name] = s
    return sheets


def check_afloat(ships):
    """Every ship afloat covers its centre, keeps its dark outline against the water
    and shows its flag; the sailing loop moves; the silhouettes of mirrored headings
    match; the bow points the way the ship sails."""
    for kind in range(4):
        for direction in range(8):
            frames = [opaque(ships, ship(0, kind, direction, f)) for f in range(8)]
            check(all((12, 12) in f for f in frames),
                  "kind %d direction %d: the ship does not cover its centre pixel (12, 12)" % (kind, direction))
            pictures = {tuple(ships.frame_grid(ship(0, kind, direction, f))[y][x]
                              for y in range(24) for x in range(24)) for f in range(8)}
            check(len(pictures) >= 4, "kind %d direction %d: the sailing loop has only %d different frames"
                  % (kind, direction, len(pictures)))
            for f in range(8):
                n = ship(0, kind, direction, f)
                grid = ships.frame_grid(n)
                edge = {grid[y][x] for x, y in frames[f]
                        if any((x + dx, y + dy) not in frames[f] for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)))}
                # outline 0 or 1; only the masts, spars (4) and the pennant (8) meet the water bare
                check(edge <= {0, 1, 4, 8}, "kind %d direction %d frame %d: colours %s meet the water without"
                      " an outline" % (kind, direction, f, sorted(edge - {0, 1, 4, 8})))
                if kind == 0:
                    check(any(8 in row for row in grid), "our ship, direction %d frame %d: no blue pennant"
                          % (direction, f))
                else:
                    check(has_skull(grid), "kind %d direction %d frame %d: no skull on a pirate flag"
                          % (kind, direction, f))
        for direction in (1, 2, 3):
            mirror = 8 - direction
            a = opaque(ships, ship(0, kind, direction, 0))
            b = {(24 - x, y) for x, y in opaque(ships, ship(0, kind, mirror, 0))}
            same = len(a & b) / max(len(a | b), 1)
            check(same > 0.75, "kind %d: directions %d and %d are not mirror shapes (%.2f alike)"
                  % (kind, direction, mirror, same))
        # seen from astern the flat stern closes the picture; from ahead the bow narrows to a point
        for direction, widest in ((0, False), (4, True)):
            pts = opaque(ships, ship(0, kind, direction, 0))
            bottom = max(y for x, y in pts)
            width = sum(1 for x, y in pts if y == bottom)
            if widest:
                check(width <= 3, "kind %d heading down: the bow is %d pixels wide at the bottom" % (kind, width))
            else:
                check(width >= 5, "kind %d heading up: the stern is only %d pixels wide" % (kind, width))
        # in the diagonal views the lowest part of the hull is the stern when sailing
        # up the screen and the bow when sailing down it: it lies on that end's side
        for direction in (1, 3, 5, 7):
            hx, hy = HEADING[direction]
            pts = opaque(ships, ship(0, kind, direction, 0))
            bottom = max(y for x, y in pts)
            low = [x - 12 for x, y in pts if y >= bottom - 2]
            lean = sum(low) / len(low) * (hx if hy > 0 else -hx)
            check(lean > 0.8, "kind %d direction %d: the lowest part of the hull is on the wrong side"
                  % (kind, direction))
        # the bow reaches out further than the stern in the side views
        for direction, sign in ((2, -1), (6, 1)):
            xs = [x for x, y in opaque(ships, ship(0, kind, direction, 0))]
            ahead, astern = (12 - min(xs), max(xs) - 12) if sign < 0 else (max(xs) - 12, 12 - min(xs))
            check(ahead > astern, "kind %d direction %d: the bow (%d) does not reach past the stern (%d)"
                  % (kind, direction, ahead, astern))


def check_sides(ships):
    """Broadsides and hits show on the right side. Where that side faces the viewer or
    lies across the screen, what a firing or struck frame adds around the ship at rest
    lies towards starboard for banks 2 and 4 and towards port for banks 1 and 3; where
    it faces away, its grey smoke and dust show over the rigging instead."""
    for kind in range(4):
        for direction in range(8):
            rest = opaque(ships, ship(0, kind, direction, 0))
            rest_grid = ships.frame_grid(ship(0, kind, direction, 0))
            # the ship heels as it fires or is struck: look outside its outline at rest
            around = {(x + dx, y + dy) for x, y in rest for dx in (-1, 0, 1) for dy in (-1, 0, 1)}
            sx, sy = starboard(direction)
            for bank, side, frames in ((1, -1, (2, 3, 4)), (2, 1, (2, 3, 4)), (3, -1, (3, 4, 5)), (4, 1, (3, 4, 5))):
                name = "kind %d direction %d bank %d" % (kind, direction, bank)
                if sy * side < 0:
                    grey = 0
                    for f in frames:
                        grid = ships.frame_grid(ship(bank, kind, direction, f))
                        grey += sum(1 for y in range(24) for x in range(24)
                                    if grid[y][x] in (3, 7, 10) and grid[y][x] != rest_grid[y][x])
                    check(grey >= 6, name + ": no smoke or dust on the far side")
                    continue
                added = set()
                for f in frames:
                    added |= opaque(ships, ship(bank, kind, direction, f)) - around
                cx, cy = centroid(added)
                toward = (cx * sx + cy * sy) * side
                check(len(added) >= 6 and toward > 1.0, name + ": the smoke or splinters are not on the %s side"
                      % ("starboard" if side > 0 else "port"))
            # the broadside's smoke grows after the flash; a hit starts with a flash
            first = len(opaque(ships, ship(1, kind, direction, 1)) - rest)
            later = len(opaque(ships, ship(1, kind, direction, 4)) - rest)
            check(later > first, "kind %d direction %d: the smoke does not grow" % (kind, direction))
            for bank in (3, 4):
                grid = ships.frame_grid(ship(bank, kind, direction, 0))
                lit = [grid[y][x] for y in range(24) for x in range(24) if grid[y][x] not in (KEY, 0)]
                check(lit.count(15) > 0.6 * len(lit), "kind %d direction %d bank %d: no flash on the hit"
                      % (kind, direction, bank))
                settled = ships.frame_grid(ship(bank, kind, direction, 7))
                differ = sum(1 for y in range(24) for x in range(24) if settled[y][x] != rest_grid[y][x])
                check(differ < 40, "kind %d direction %d bank %d: the ship has not settled by frame 7 (%d pixels)"
                      % (kind, direction, bank, differ))


def check_wake(ships, wake):
    """The wake is animated, lies astern, and never covers a ship of any kind afloat."""
    for direction in range(8):
        masks = [opaque(wake, f * 8 + direction) for f in range(8)]
        check(all(masks) and len({frozenset(m) for m in masks}) >= 4,
              "direction %d: the wake is missing or does not move" % direction)
        hx, hy = HEADING[direction]
        for f, mask in enumerate(masks):
            cx, cy = centroid(mask)
            check(cx * hx + cy * 2 * hy < 0, "direction %d frame %d: the wake is not astern" % (direction, f))
            for kind in range(4):
                body = opaque(ships, ship(0, kind, direction, f))
                check(not (mask & body), "direction %d frame %d: the wake covers kind %d at %s"
                      % (direction, f, kind, sorted(mask & body)[:4]))


def check_wrecks(wreck, sinking):
    """Wrecks bob and stay put and pirates' wrecks fly the skull; sinking ships go
    under, pirates under the skull until their mastheads go."""
    for kind in range(4):
        if kind:
            for f in range(4):
                check(has_skull(wreck.frame_grid(kind * 4 + f)), "kind %d: wreck frame %d has no skull" % (kind, f))
            for f in range(4):
                check(has_skull(sinking.frame_grid(kind * 8 + f)), "kind %d: sinking frame %d has no skull"
                      % (kind, f))
        frames = [opaque(wreck, kind * 4 + f) for f in range(4)]
        check(all(len(f) > 25 for f in frames), "kind %d: a wreck frame is nearly empty" % kind)
        check(len({frozenset(f) for f in frames}) >= 3, "kind %d: the wreck does not bob" % kind)
        counts = [len(opaque(sinking, kind * 8 + f)) for f in range(8)]
        check(counts[7] > 8 and counts[7] < 0.4 * counts[0] and counts[4] < counts[2] < counts[0],
              "kind %d: the sinking ship does not go under (%s)" % (kind, counts))


def main():
    check_tables()
    sheets = load()
    check_afloat(sheets["ShipFrames"])
    check_sides(sheets["ShipFrames"])
    check_wake(sheets["ShipFrames"], sheets["ShipOverlayMasks"])
    check_wrecks(sheets["WreckFrames"], sheets["SinkingFrames"])
    for message in failures:
        print(message)
    print("ship sheets: %s" % ("%d problems" % len(failures) if failures else "all rules hold"))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
