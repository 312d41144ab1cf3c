#!/usr/bin/python3
"""The desktop icons: our cargo ship from assets/art/ships.png on a round badge of sea.

    tools/art/draw_icons.py OUTDIR

writes OUTDIR/quillbarrow-N.png for N in 16, 32, 48, 64, 128 and 256 (the build runs
this; the installed icons are these files). Each size is drawn on its own pixel grid:
a disc of deep sea inside a mid-blue rim and a near-black outline, the ship scaled by
the largest whole factor that keeps it within three quarters of the badge, centred.
Corners outside the disc are transparent. To change the picture, change the ship's
frame (SHIP_FRAME) or the badge's colours here, or redraw the sheet.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import KEY, PALETTE, Sheet, write_png  # noqa: E402

SIZES = (16, 32, 48, 64, 128, 256)
# Our cargo ship (kind 0) heading down-right (direction 5), at rest: frame kind x 64 +
# direction x 8 (see assets/art/ships.tables).
SHIP_FRAME = 0 * 64 + 5 * 8
SEA, RIM, OUTLINE = KEY, 8, 0
CLEAR = 16  # a seventeenth palette entry, fully transparent


def ship_pixels(sheet_path):
    """The ship's opaque pixels as {(x, y): colour}, shifted so its box starts at 0, 0."""
    sheet = Sheet.load(sheet_path, 24, 24, 1280)
    opaque = {(x, y): sheet.get(SHIP_FRAME, x, y)
              for y in range(24) for x in range(24) if sheet.get(SHIP_FRAME, x, y) != KEY}
    x0 = min(x for x, _ in opaque)
    y0 = min(y for _, y in opaque)
    return {(x - x0, y - y0): c for (x, y), c in opaque.items()}


def draw_icon(size, ship):
    """The badge and ship at size x size, as a flat list of palette indices."""
    pixels = [CLEAR] * (size * size)
    radius = size / 2
    rim = max(1, size // 16)
    outline = max(1, size // 64)
    for y in range(size):
        for x in range(size):
            d = ((x + 0.5 - radius) ** 2 + (y + 0.5 - radius) ** 2) ** 0.5
            if d <= radius - outline - rim:
                pixels[y * size + x] = SEA
            elif d <= radius - outline:
                pixels[y * size + x] = RIM
            elif d <= radius:
                pixels[y * size + x] = OUTLINE
    width = max(x for x, _ in ship) + 1
    height = max(y for _, y in ship) + 1
    scale = max(1, int(size * 0.75) // max(width, height))
    left = (size - width * scale) // 2
    top = (size - height * scale) // 2
    for (x, y), colour in ship.items():
        for dy in range(scale):
            for dx in range(scale):
                px, py = left + x * scale + dx, top + y * scale + dy
                if 0 <= px < size and 0 <= py < size:
                    pixels[py * size + px] = colour
    return pixels


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: draw_icons.py OUTDIR")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    top = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    ship = ship_pixels(os.path.join(top, "assets", "art", "ships.png"))
    palette = PALETTE + [(0, 0, 0)]
    alpha = [255] * len(PALETTE) + [0]
    for size in SIZES:
        write_png(os.path.join(out, "quillbarrow-%d.png" % size), size, size,
                  draw_icon(size, ship), palette=palette, alpha=alpha)


if __name__ == "__main__":
    main()
