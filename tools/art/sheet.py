"""Indexed PNG sheets for Quillbarrow's pictures, with nothing but the standard library.

Every picture table of the game is drawn on a sheet: frames of one size laid out
left to right, top to bottom, in frame order, with no gaps.  Pixels are indices
into the game's 16 colours (PALETTE, in game order); index 2, the deep sea blue,
is the transparent key of every sprite and the "clear" pixel of every one-bit
mask.  The packer (tools/assetpack) turns the sheets into the game's tables.

    from sheet import Sheet
    s = Sheet(frame_w=16, frame_h=16, frames=12, columns=4)
    s.set(frame=3, x=5, y=7, colour=15)
    s.save("assets/art/coast_edge.png")

Drawing scripts in tools/art use this to make the first version of a sheet;
after that the PNG itself is the source an artist edits.
"""

import struct
import zlib

# The game's palette, RGB888 expansions of its RGB565 colours, in index order.
PALETTE = [
    (16, 12, 24),     # 0 near-black
    (66, 36, 49),     # 1 plum
    (49, 52, 107),    # 2 deep blue: the sea and the key
    (74, 73, 74),     # 3 dark grey
    (132, 77, 49),    # 4 brown
    (49, 101, 33),    # 5 dark green
    (214, 69, 74),    # 6 red
    (115, 113, 99),   # 7 warm grey
    (90, 125, 206),   # 8 mid blue
    (214, 125, 41),   # 9 orange
    (132, 150, 165),  # 10 steel grey
    (107, 170, 41),   # 11 green
    (214, 170, 156),  # 12 tan
    (107, 195, 206),  # 13 cyan
    (222, 215, 90),   # 14 yellow
    (222, 239, 214),  # 15 off-white
]
KEY = 2


def _chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def write_png(path, width, height, pixels, scale=1, palette=PALETTE, alpha=None):
    """Write an 8-bit indexed PNG. pixels is a flat list of indices, row-major; alpha,
    when given, is the opacity (0..255) of each palette entry in order."""
    w, h = width * scale, height * scale
    raw = bytearray()
    for y in range(h):
        raw.append(0)
        row = pixels[(y // scale) * width:(y // scale) * width + width]
        if scale == 1:
            raw.extend(row)
        else:
            for p in row:
                raw.extend([p] * scale)
    plte = b"".join(bytes(c) for c in palette)
    png = b"\x89PNG\r\n\x1a\n"
    png += _chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 3, 0, 0, 0))
    png += _chunk(b"PLTE", plte)
    if alpha is not None:
        png += _chunk(b"tRNS", bytes(alpha))
    png += _chunk(b"IDAT", zlib.compress(bytes(raw), 9))
    png += _chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def read_png(path):
    """Read an indexed PNG (bit depth 1, 2, 4 or 8). Returns (width, height, pixels)
    with pixels mapped to game palette indices by exact colour."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(path + ": not a PNG file")
    pos, idat, plte = 8, b"", None
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            width, height, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            plte = [tuple(body[i:i + 3]) for i in range(0, len(body), 3)]
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    if ctype != 3 or interlace:
        raise ValueError(path + ": only non-interlaced indexed PNGs are read here")
    lut = []
    for c in plte:
        if c not in PALETTE:
            raise ValueError("%s: colour %s is not one of the game's 16" % (path, c))
        lut.append(PALETTE.index(c))
    raw = zlib.decompress(idat)
    stride = (width * depth + 7) // 8
    bpp = 1
    prev = bytearray(stride)
    out = []
    p = 0
    for _ in range(height):
        ftype = raw[p]
        line = bytearray(raw[p + 1:p + 1 + stride])
        p += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            if ftype == 1:
                line[i] = (line[i] + a) & 255
            elif ftype == 2:
                line[i] = (line[i] + b) & 255
            elif ftype == 3:
                line[i] = (line[i] + ((a + b) >> 1)) & 255
            elif ftype == 4:
                pa, pb, pc = abs(b - c), abs(a - c), abs(a + b - 2 * c)
                pr = a if pa <= pb and pa <= pc else (b if pb <= pc else c)
                line[i] = (line[i] + pr) & 255
        prev = line
        per = 8 // depth
        for x in range(width):
            byte = line[x // per]
            shift = 8 - depth * (x % per + 1)
            out.append(lut[(byte >> shift) & ((1 << depth) - 1)])
    return width, height, out


class Sheet:
    """A sheet of equal frames. Frame n sits at column n % columns, row n // columns."""

    def __init__(self, frame_w, frame_h, frames, columns=None, fill=KEY):
        self.fw, self.fh, self.frames = frame_w, frame_h, frames
        self.columns = columns or min(frames, 16)
        self.rows = (frames + self.columns - 1) // self.columns
        self.width = self.fw * self.columns
        self.height = self.fh * self.rows
        self.pixels = [fill] * (self.width * self.height)

    def origin(self, frame):
        return (frame % self.columns) * self.fw, (frame // self.columns) * self.fh

    def set(self, frame, x, y, colour):
        """Set one pixel of a frame; pixels outside the frame are ignored."""
        if 0 <= x < self.fw and 0 <= y < self.fh:
            ox, oy = self.origin(frame)
            self.pixels[(oy + y) * self.width + ox + x] = colour

    def get(self, frame, x, y):
        ox, oy = self.origin(frame)
        return self.pixels[(oy + y) * self.width + ox + x]

    def put_frame(self, frame, grid):
        """grid: list of fh lists of fw indices (or None for 'leave as is')."""
        for y, row in enumerate(grid):
            for x, c in enumerate(row):
                if c is not None:
                    self.set(frame, x, y, c)

    def frame_grid(self, frame):
        return [[self.get(frame, x, y) for x in range(self.fw)] for y in range(self.fh)]

    def save(self, path, scale=1):
        write_png(path, self.width, self.height, self.pixels, scale)

    @classmethod
    def load(cls, path, frame_w, frame_h, frames):
        w, h, px = read_png(path)
        s = cls(frame_w, frame_h, frames, columns=w // frame_w)
        if s.width != w or h < s.height:
            raise ValueError("%s: sheet is %dx%d, expected %d columns of %dx%d frames"
                             % (path, w, h, s.columns, frame_w, frame_h))
        s.height = h
        s.pixels = px
        return s


def preview(path, sheet, scale=3, background=None):
    """Save a magnified copy of a sheet, optionally with the key shown as another colour
    (background=0 shows sprites on the game's black, as the credits and menus do)."""
    px = sheet.pixels if background is None else [background if p == KEY else p for p in sheet.pixels]
    write_png(path, sheet.width, sheet.height, px, scale)
