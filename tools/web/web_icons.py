#!/usr/bin/python3
"""The web app's icons: the desktop icons' badge and ship (tools/art/draw_icons.py) drawn
on their own pixel grids at the sizes a web app manifest asks for.

    tools/web/web_icons.py OUTDIR

writes OUTDIR/icon-192.png and OUTDIR/icon-512.png.
"""

import os
import sys

TOP = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
sys.path.insert(0, os.path.join(TOP, "tools", "art"))
from draw_icons import draw_icon, ship_pixels  # noqa: E402
from sheet import PALETTE, write_png  # noqa: E402

SIZES = (192, 512)


def main():
    if len(sys.argv) != 2:
        sys.exit("usage: web_icons.py OUTDIR")
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    ship = ship_pixels(os.path.join(TOP, "assets", "art", "ships.png"))
    palette = PALETTE + [(0, 0, 0)]
    alpha = [255] * len(PALETTE) + [0]  # the seventeenth entry is the clear corners
    for size in SIZES:
        write_png(os.path.join(out, "icon-%d.png" % size), size, size, draw_icon(size, ship),
                  palette=palette, alpha=alpha)


if __name__ == "__main__":
    main()
