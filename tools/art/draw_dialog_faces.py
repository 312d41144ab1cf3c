"""The four speakers of Quillbarrow's dialog box, drawn as 56 x 56 portraits.

1 the first mate: ginger braid, steel-grey coat, blue neckerchief, a friendly smile
2 the gibberish pirate: red spotted bandana, wild black hair, eye patch, gap teeth
3 the pirate captain: skull-and-bones tricorn, great brown beard, red coat
4 the gentleman pirate: powdered wig, monocle, raised eyebrow, lace cravat, green coat

Each portrait is built from two layers, the body (shoulders, clothes, neck) and the
head, so that talking can nod the head while the shoulders stay put.  A layer is a
map of materials painted with shape code (symmetric row spans, explicit spans,
column runs); painting gives every material its one-pixel dark outline, its base
colour, a shaded band on the lower right and, where asked, a lit rim on the upper
left.  The faces, hair strands and clothes details are then placed by hand as small
text grids ("patches"), in the README's grid notation: hex digits are colours, "."
is the key, a space leaves the pixel as it is.

frame(portrait, a, talking) gives animation frame a (0..7) of the idle or the talking
loop as 56 rows of 56 colour indices.
"""

W = H = 56
KEY = 2


class Layer:
    """A 56 x 56 picture being made: materials first, then colours and patches."""

    def __init__(self):
        self.m = [[None] * W for _ in range(H)]
        self.px = [[KEY] * W for _ in range(H)]

    # --- shapes (materials) ---
    def sym(self, y0, half_widths, mat, cx2=55):
        """Rows from y0 down, each centred on x = cx2 / 2 with the given half width."""
        for i, hw in enumerate(half_widths):
            if hw > 0:
                self.run(y0 + i, (cx2 + 1) // 2 - hw, cx2 // 2 + hw, mat)

    def spans(self, y0, spans, mat):
        """Rows from y0 down, each an inclusive (left, right) span."""
        for i, (left, right) in enumerate(spans):
            self.run(y0 + i, left, right, mat)

    def cols(self, cols, mat):
        """Column runs: {x: (top, bottom)}."""
        for x, (top, bottom) in cols.items():
            for y in range(top, bottom + 1):
                self.run(y, x, x, mat)

    def run(self, y, left, right, mat):
        if 0 <= y < H:
            for x in range(max(left, 0), min(right, W - 1) + 1):
                self.m[y][x] = mat

    def mat(self, x, y):
        return self.m[y][x] if 0 <= x < W and 0 <= y < H else None

    # --- colours ---
    def paint(self, mats):
        """Colour every material.  mats[name] is a dict:
        base, shade: colours; deep: the colour of lower-right corners (optional);
        hi: the lit rim colour on the upper left (optional);
        outline: the colour next to empty pixels (0 unless given; None = no outline);
        rw: how many pixels wide the shaded band on the right is (1)."""
        boxes = {}
        for y in range(H):
            for x in range(W):
                k = self.m[y][x]
                if k is not None:
                    b = boxes.setdefault(k, [x, y, x, y])
                    b[0], b[1] = min(b[0], x), min(b[1], y)
                    b[2], b[3] = max(b[2], x), max(b[3], y)
        for y in range(H):
            for x in range(W):
                k = self.m[y][x]
                if k is None:
                    continue
                spec = mats[k]

                def same(dx, dy):
                    # the picture's bottom edge is cut by the box, not an edge of the shape
                    return y + dy >= H or self.mat(x + dx, y + dy) == k

                outline = spec.get("outline", 0)
                bare = any(self.mat(x + dx, y + dy) is None
                           for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1))
                           if 0 <= y + dy < H)
                if bare and outline is not None:
                    self.px[y][x] = outline
                    continue
                c = spec["base"]
                rw = spec.get("rw", 1)
                if any(not same(d, 0) for d in range(1, rw + 1)) or not same(0, 1) \
                        or not same(1, 1):
                    c = spec["shade"]
                if spec.get("deep") is not None and not same(1, 0) and not same(0, 1):
                    c = spec["deep"]
                if spec.get("hi") is not None:
                    b = boxes[k]
                    cx, cy = (b[0] + b[2]) / 2, (b[1] + b[3]) / 2
                    side = (x - cx) / (b[2] - b[0] + 1) + (y - cy) / (b[3] - b[1] + 1)
                    if (not same(-1, 0) or not same(0, -1)) and side < -0.1:
                        c = spec["hi"]
                self.px[y][x] = c

    def patch(self, x0, y0, rows):
        """Hand-placed pixels: hex digit = colour, '.' = key, ' ' = leave."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                x, y = x0 + i, y0 + j
                if ch != " " and 0 <= x < W and 0 <= y < H:
                    self.px[y][x] = KEY if ch == "." else int(ch, 16)

    def swap(self, x0, y0, x1, y1, frm, to):
        """Recolour one colour within a rectangle."""
        for y in range(max(y0, 0), min(y1, H - 1) + 1):
            for x in range(max(x0, 0), min(x1, W - 1) + 1):
                if self.px[y][x] == frm:
                    self.px[y][x] = to


def compose(body, head, head_dy):
    """The head layer over the body layer, the head moved head_dy rows down."""
    out = [row[:] for row in body.px]
    for y in range(H):
        sy = y - head_dy
        if 0 <= sy < H:
            for x in range(W):
                if head.px[sy][x] != KEY:
                    out[y][x] = head.px[sy][x]
    return out


def shift(img, dy):
    """The whole picture moved dy rows down (rows moved in from above are key)."""
    return [img[y - dy][:] if 0 <= y - dy < H else [KEY] * W for y in range(H)]


def mirror(rows, recolour):
    """A patch flipped left to right, recoloured (the far side of a face is in shade)."""
    width = max(len(r) for r in rows)
    return ["".join(recolour.get(c, c) for c in reversed(r.ljust(width))) for r in rows]


# ---------------------------------------------------------------------------
# 1: the first mate

# Her head and braid; the eyes and the mouth are drawn over it for each pose.
#   x: 0         1         2         3         4         5
#      01234567890123456789012345678901234567890123456789012345
MATE_HEAD = [
    "........................................................",
    "........................................................",
    ".......................0000000000.......................",
    "....................00099999999990000...................",
    "..................0099e99eeee99999999000................",
    "................0099ee9eeee9ee999999999400..............",
    "...............099ee99ee999999ee99999999940.............",
    "..............0999e99e999999999999999999440.............",
    "..............099999999999999999999999999440............",
    ".............0999999149999999999999999999440............",
    ".............09999914999999999999999999999440...........",
    ".............0999914999e99999e9999e9999999440...........",
    ".............049914c4999e99999e9999e999999440...........",
    ".............04914cc14999e99999e9999e99994440...........",
    ".............0491ccccc14999e999994999e9944440...........",
    ".............0441cccccc1449949994c14999414440...........",
    ".............0441ccccccc1441449cccc14441c1440...........",
    ".............0441cccccccccc1c11cccccc11cc1440...........",
    ".............0441ccc4444ccccccccc4444ccc14410...........",
    ".............0441cc4ccccccccccccccccc4cc14410...........",
    ".............0441cccc000cccccccc000ccc4414410...........",
    ".............0441ccc0f000cccccc000f0cc4414410...........",
    ".............0441ccc0f880cccccc088f0cc441440............",
    ".............04410cccccccccccc4cccccc4441e9400..........",
    "..............0440ccccccccccccc4ccccc44409e99400........",
    "..............04410cccccccccccc4ccccc44409999440........",
    "..............04440cccccccccccc44cccc440144441400.......",
    "...............0440cccccccccccccccccc4440e9999440.......",
    "................040cccccccccccccccccc44009e994440.......",
    ".................00ccccccccccccccccc444009999440........",
    "..................0cccccccccccccccc4440.014444140.......",
    "...................0cccccccccccccc4440..0e9999440.......",
    "....................0cccccccccccc4400...09e994440.......",
    ".....................00cccccccc4400.....09999440........",
    ".......................00000000.........014444140.......",
    "........................................0e9999440.......",
    "........................................09e994440.......",
    "........................................09999440........",
    "........................................014444140.......",
    "........................................0e9999440.......",
    "........................................09e994440.......",
    "........................................09999440........",
    "........................................00444400........",
    ".........................................088880.........",
    "........................................08dd8830........",
    "........................................00888800........",
    ".........................................0e9940.........",
    ".........................................09940..........",
    "..........................................000...........",
    "........................................................",
    "........................................................",
    "........................................................",
    "........................................................",
    "........................................................",
    "........................................................",
    "........................................................",
]


def mate(pose):
    body, head = Layer(), Layer()
    body.sym(28, [5] * 14, "neck")
    body.sym(37, [7, 10, 13, 16, 18, 20, 21, 22, 23, 23] + [24] * 9, "coat")
    body.sym(37, [5, 5, 5, 4, 4, 4, 3, 3, 2, 2, 1], "shirt")
    body.sym(37, [4, 3, 3, 2], "scarf")
    body.paint({
        "coat": dict(base=10, shade=3, deep=3, hi=15, rw=2),
        "shirt": dict(base=15, shade=10, deep=10, outline=None),
        "neck": dict(base=12, shade=4, deep=4, rw=2),
        "scarf": dict(base=8, shade=3, deep=1, hi=13),
    })
    body.swap(23, 34, 32, 35, 12, 4)        # the chin's shadow on the neck
    # lapels: the lit left one, the shaded right one; the arms; brass buttons
    for i, (left, right) in enumerate([(22, 33), (22, 33), (22, 33), (23, 32), (23, 32),
                                       (23, 32), (24, 31), (24, 31), (25, 30), (25, 30),
                                       (26, 29)]):
        body.patch(left, 38 + i, ["f"])
        body.patch(right, 38 + i, ["3"])
    body.patch(11, 43, ["   3", "  3", " 3", " 3", "3", "3", "3", "3", "3", "3", "3", "3", "3"])
    body.patch(41, 43, ["3", " 3", "  3", "  3", "   3", "   3", "   3", "   3", "   3",
                        "   3", "   3", "   3", "   3"])
    for x, y in ((20, 47), (20, 51), (34, 47), (34, 51)):
        body.patch(x, y, ["e9", "94"])
    head.patch(0, 0, MATE_HEAD)
    if pose["blink"]:
        head.patch(20, 20, ["ccccc",
                            "c0000",
                            "ccccc"])
        head.patch(32, 20, ["ccccc",
                            "0000c",
                            "ccccc"])
    head.patch(25, 27, MATE_MOUTHS[pose["mouth"]])
    return body, head


MATE_MOUTHS = {
    "shut": ["        ",
             "1      1",
             " 000000 ",
             "  4444  "],
    "ajar": ["        ",
             "1      1",
             " 0ffff0 ",
             "  0110  ",
             "   44   "],
    "wide": ["        ",
             " 000000 ",
             "0ffffff0",
             "01111110",
             " 016610 ",
             "  0000  "],
    "round": ["        ",
              "  0000  ",
              " 011110 ",
              " 016610 ",
              "  0000  "],
}


# ---------------------------------------------------------------------------
# 2: the gibberish pirate

def rascal(pose):
    body, head = Layer(), Layer()
    body.sym(28, [5] * 12, "neck")
    body.sym(38, [8, 12, 15, 18, 20, 21, 22, 23, 24, 24] + [25] * 8, "shirt")
    body.spans(38, [(19, 21), (16, 21), (13, 21), (10, 21), (8, 21), (7, 21), (6, 21),
                    (5, 22), (4, 22), (3, 22), (3, 22), (3, 23), (3, 23), (3, 23), (3, 23),
                    (3, 23), (3, 23), (3, 23)], "vest")
    body.spans(38, [(34, 36), (34, 39), (34, 42), (34, 45), (34, 47), (34, 48), (34, 49),
                    (33, 50), (33, 51), (33, 52), (33, 52), (32, 52), (32, 52), (32, 52),
                    (32, 52), (32, 52), (32, 52), (32, 52)], "vest")
    body.paint({
        "neck": dict(base=12, shade=4, deep=4, rw=2),
        "shirt": dict(base=15, shade=10, deep=10),
        "vest": dict(base=4, shade=1, deep=1),
    })
    for y in range(40, 56, 3):            # the shirt's blue stripes
        body.swap(20, y, 35, y + 1, 15, 8)
        body.swap(20, y, 35, y + 1, 10, 8)
    body.swap(22, 36, 33, 37, 12, 4)        # the chin's shadow on the neck
    body.patch(8, 41, ["   99", " 99", "9"])  # the vest's lit shoulder seam
    body.patch(19, 40, ["9", "9", " 9", " 9", " 9", " 9", " 9", "  9", "  9", "  9"])

    head.sym(18, [13, 13, 13, 13, 13, 12, 12], "ear")
    head.sym(8, [10, 11] + [11] * 20 + [10, 10, 9, 9, 8, 7, 6, 4], "face")
    head.sym(2, [5, 8, 10, 11, 12, 12, 12, 13, 13, 13, 13, 13], "band")
    head.paint({
        "ear": dict(base=12, shade=4, deep=1),
        "face": dict(base=12, shade=4, deep=4, rw=2),
        "band": dict(base=6, shade=1, deep=1, hi=9),
    })
    head.swap(15, 12, 40, 13, 6, 1)          # the bandana's hem
    # wild hair bursting out under the bandana
    head.patch(4, 11, ["         000",
                       "      00037 ",
                       "   0003777  ",
                       " 00337330   ",
                       "0333333330  ",
                       " 0003333330 ",
                       "    0033330 ",
                       "  00373330  ",
                       " 0333333300 ",
                       "0333330033  ",
                       " 00003373   ",
                       "   03333330 ",
                       "  03330 330 ",
                       "  0330  00  ",
                       "   00       "])
    head.patch(40, 11, ["000         ",
                        " 7730       ",
                        "  373300    ",
                        "  033333000 ",
                        "   03333330 ",
                        "   0333330  ",
                        "    0333300 ",
                        "   033333330",
                        "   003333300",
                        "    033 0   ",
                        "    0333300 ",
                        "   0333333 0",
                        "    0330330 ",
                        "     00  0  "])
    # spots on the bandana
    for x, y in ((20, 6), (27, 4), (33, 6), (23, 9), (30, 9), (17, 10)):
        head.patch(x, y, ["ff", "fa"])
    head.patch(38, 6, RASCAL_KNOTS[pose["extra"] % 2])
    # the strap and the patch over the right eye
    head.patch(22, 14, ["00", "  00", "    00", "      00"])
    head.patch(31, 18, [" 0000", "003330", "033330", "033300", "00300", " 000"])
    head.patch(36, 17, ["00", "  00", "   00"])
    # the staring left eye under a wild brow
    head.patch(17, 14, [" 0000 ", "033330", "0    0"])
    if pose["blink"]:
        head.patch(18, 17, ["cccccc", "cccccc", "000000", "c4444c", "cccccc", "cccccc"])
    else:
        head.patch(18, 17, [" 0000 ", "0ffff0", "0f00f0", "0f00f0", "0ffff0", " 4444 "])
    # the nose
    head.patch(24, 21, ["    4", "    4", "   cc4", "  cfcc4", " 1cccc41", " 1404041",
                        "  1441"])
    head.patch(20, 28, RASCAL_MOUTHS[pose["mouth"]])
    # scruffy tuft on the chin
    head.patch(25, 35, ["0333330", " 03330", " 0330", "  00"])
    # a gold ring in the left ear
    head.patch(12, 23, [" 000 ", "0eee0", "0e0e0", "0e0e0", "09990", " 000 "])
    return body, head


RASCAL_KNOTS = [
    ["  000          ",
     " 06610000      ",
     "0669616666000  ",
     "066610666666600",
     " 0000 0166611 0",
     "      0 001110 ",
     "         000   "],
    ["  000          ",
     " 066100        ",
     "066961600      ",
     "06661066600    ",
     " 0000 066660   ",
     "      0166660  ",
     "       01660   ",
     "       0000    "],
]

RASCAL_MOUTHS = {
    "shut": ["1              1",
             " 00000000000000 ",
             "  0ff0fefff0ff0 ",
             "   04444444440  "],
    "ajar": ["1              1",
             " 00000000000000 ",
             "  0ff0fefff0ff0 ",
             "   01111111110  ",
             "    016666610   ",
             "     0000000    "],
    "wide": ["                ",
             "  000000000000  ",
             " 0ff0fefff0ff0  ",
             " 0111111111110  ",
             "  01166666110   ",
             "   011111110    ",
             "    0000000     "],
    "round": ["                ",
              "     000000     ",
              "    0ff0ff0     ",
              "    0111110     ",
              "    0166610     ",
              "     00000      "],
}


# ---------------------------------------------------------------------------
# 3: the pirate captain

def captain(pose):
    body, head = Layer(), Layer()
    body.sym(37, [10, 14, 17, 19, 21, 22, 23, 24, 24] + [25] * 10, "coat")
    body.paint({"coat": dict(base=6, shade=1, deep=1, hi=9, rw=2)})
    body.patch(27, 44, ["00"] * 12)              # the coat's front edge
    body.patch(26, 44, ["9"] * 12)
    for y in (46, 50, 54):
        body.patch(23, y, ["e9"])
        body.patch(31, y, ["e9"])
    for x0 in (5, 40):                           # epaulettes with gold fringe
        body.patch(x0, 38, ["  000000000 ",
                            " 0eeeeeee90 ",
                            "0eeeeeee9990",
                            "0e9e9e9e9e90",
                            "0e0e0e0e0e0 ",
                            " 0 0 0 0 0  "])

    head.sym(9, [10, 11] + [11] * 18, "face")
    head.sym(17, [13, 13, 13, 13, 12], "ear")
    head.sym(16, [12, 12, 12, 12, 12, 13, 13, 14, 14, 14, 14, 14, 14, 14, 14, 13, 13, 12, 12,
                  11, 10, 9, 8, 7, 6, 5, 4, 3, 2], "beard")
    head.sym(16, [9, 9, 9, 9, 9, 9, 8, 7, 5], "face")      # cheeks above the beard
    brim = {}                # the hat seen from the front: a wide crescent, points out
    for x in range(6, 50):
        d = abs(x - 27.5) / 22
        brim[x] = (round(1.4 + 5 * d ** 1.6), round(15.4 - 6.4 * d ** 1.4))
    head.cols(brim, "brim")
    head.paint({
        "beard": dict(base=4, shade=1, deep=1, hi=9),
        "face": dict(base=12, shade=4, deep=4, rw=2),
        "ear": dict(base=12, shade=4, deep=1),
        "brim": dict(base=3, shade=0, deep=0, hi=7, rw=2),
    })
    for x, (top, bottom) in brim.items():          # gold braid along the hat's edge
        if 7 <= x <= 48:
            head.patch(x, top + 1, ["e" if x < 28 else "9"])
            head.patch(x, top + 2, ["9" if x < 28 else "4"])
    head.swap(16, 13, 39, 15, 12, 4)                # the brim's shadow on the brow
    head.swap(16, 13, 39, 14, 4, 1)
    # the beard falls in locks: a shaded parting, lit on its left side
    for x, y, rows in ((17, 28, ["1", "19", " 19", " 19", "  19", "  19", "   1"]),
                       (21, 29, ["19", "19", " 19", " 19", "  19", "  19", "   1", "   1"]),
                       (27, 30, ["1", "19", "19", "19", "19", "19", "1", "1", "1"]),
                       (33, 29, [" 1", " 1", "1", "1", "1 ", "1", "1"]),
                       (38, 28, ["  1", " 1", " 1", "1", "1", "1"])):
        head.patch(x, y, rows)
    # the face between hat and beard: low scowling brows, glaring eyes, a big nose
    face = ["44444444444444444444",
            "c0000cccccccccc00004",
            "c0944400cccc00444404",
            "ccc00000cccc0000ccc4",
            "cc0ff00ccc4cc00ff0c4",
            "ccc444cccc4cc0444cc4",
            "cccccccccfcc4cccccc4",
            "ccccccc144441cccc444"]
    for i, row in enumerate(face):
        head.patch(14, 15 + i, ["0944" + row + "4410"])
    if pose["blink"]:
        head.patch(19, 19, ["cc0000", "ccc444"])
        head.patch(31, 19, ["00000c", "c444cc"])
    # the moustache, curling up at both ends
    left = ["0           ",
            "90     00000",
            "990 0099999e",
            "09999999eee9",
            " 04999999994",
            "  004444444 ",
            "    0000000 "]
    head.patch(16, 22, left)
    head.patch(28, 22, mirror(left, {"9": "4", "e": "9", "4": "1"}))
    head.patch(24, 29, CAPTAIN_MOUTHS[pose["mouth"]])
    # skull and crossbones on the front of the hat
    head.patch(20, 5, [" 00   000000   00 ",
                       "0ff0 0ffffff0 0fa0",
                       " 0ff0ffffffffa0aa0 ",
                       "  00ff00ff00fa00  ",
                       "    0f00ff00a0    ",
                       "   0fffff0ffaa0   ",
                       "  0ff0f0f0fa0aa0  ",
                       " 0ff0 0ffaa0 0aa0 ",
                       "  00   0000   00  "])
    return body, head


CAPTAIN_MOUTHS = {
    "shut": ["  1111  "],
    "ajar": [" 000000 ",
             " 0ffff0 ",
             "  0660  ",
             "   00   "],
    "wide": [" 000000 ",
             "0ffffff0",
             "01111110",
             "01666610",
             " 011110 ",
             "  0000  "],
    "round": ["  0000  ",
              " 011110 ",
              " 016610 ",
              " 011110 ",
              "  0000  "],
}


# ---------------------------------------------------------------------------
# 4: the gentleman pirate

def gentleman(pose):
    body, head = Layer(), Layer()
    body.sym(28, [5] * 12, "neck")
    body.sym(38, [9, 12, 15, 17, 19, 20, 21, 22, 22, 23, 23, 23, 23, 23, 23, 23, 23, 23], "coat")
    body.sym(40, [7, 7, 7, 7, 6, 6, 6, 5, 5, 5, 4, 4, 4, 3, 3, 3], "waistcoat")
    body.paint({
        "neck": dict(base=12, shade=4, deep=4, rw=2),
        "coat": dict(base=5, shade=0, deep=0, hi=11, rw=2),
        "waistcoat": dict(base=6, shade=1, deep=1, outline=None),
    })
    body.swap(22, 33, 33, 35, 12, 4)           # the jaw's shadow on the neck
    for i, hw in enumerate([7, 7, 7, 7, 6, 6, 6, 5, 5, 5, 4, 4, 4, 3, 3, 3]):
        body.patch(28 - hw - 1, 40 + i, ["e"])  # gold trim down both lapels
        body.patch(27 + hw + 1, 40 + i, ["9"])
    for y in (46, 50, 54):
        body.patch(27, y, ["e9"])
    # light on the left shoulder, the seams of both sleeves
    body.patch(8, 39, ["         bbb", "      bbb", "    bb", "  bb", " b", "b"])
    body.patch(12, 44, ["  0", " 0", " 0", "0", "0", "0", "0", "0", "0", "0", "0", "0"])
    body.patch(41, 44, ["0", " 0", " 0", "  0", "  0", "  0", "  0", "  0", "  0", "  0",
                        "  0", "  0"])
    # the lace cravat, ruffle over ruffle
    body.patch(19, 33, ["    0000000000    ",
                        "   0ffffffffff0   ",
                        "  0fffafffffaff0  ",
                        "  0ffaffaffaaff0  ",
                        "   0a0aa0aa0aa0   ",
                        "   0fffaffffaf0   ",
                        "   0ffaffaffaa0   ",
                        "    0a0aa0aa00    ",
                        "    0ffaffffa0    ",
                        "    0faffaffa0    ",
                        "     0a0aa0a0     ",
                        "     0ffaffa0     ",
                        "      0a0aa0      ",
                        "       0000       "])

    head.sym(1, [5, 8, 10, 11, 12, 13, 13, 13, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14, 14,
                 14, 14, 14, 14, 14, 13, 13, 12, 11, 10], "wig")
    head.sym(11, [7, 8, 9] + [9] * 13 + [9, 8, 8, 7, 6, 5, 3], "face")
    head.paint({
        "face": dict(base=12, shade=4, deep=4, rw=2),
        "wig": dict(base=15, shade=10, deep=7, hi=15, rw=2),
    })
    head.patch(20, 4, ["aaaa", "", "    aaaaaa"])
    head.patch(31, 5, ["aaa"])
    # the wig's rolled curls, three on each side
    curl = [" 00000 ",
            "0fffff0",
            "0faaa70",
            " 07770 ",
            "  000"]
    for i, y in enumerate((12, 16, 20, 24)):
        head.patch(10 - (i + 1) // 2, y, curl)
        head.patch(39 + (i + 1) // 2, y, mirror(curl, {"f": "a", "a": "7", "7": "3"}))
    # one brow raised high, the other low behind the monocle
    brow = 1 if pose["extra"] in (2, 3) else 0
    head.patch(20, 15 - brow, [" 0000", "0    0"])
    head.patch(31, 17, ["00000"])
    if pose["blink"]:
        head.patch(20, 19, ["ccccc", "00000", "c444c"])
        head.patch(31, 19, ["ccccc", "00000", "c444c"])
    else:
        head.patch(20, 19, ["ccccc", "00000", "0f80c", "c444c"])
        head.patch(31, 19, ["ccccc", "00000", "c08f0", "c444c"])
    # the monocle and its chain
    head.patch(29, 16, ["  000  ",
                        " 0eee0 ",
                        "0e   90",
                        "0e   90",
                        "0e   90",
                        " 09990 ",
                        "  000  "])
    if pose["extra"] in (4, 5):
        head.patch(31, 18, ["f"])
    else:
        head.patch(31, 18, ["d"])
    head.patch(35, 23, ["e", "", " 9", "", " e", "", "9"])
    # a long nose for looking down
    head.patch(27, 18, [" 4", " 4", " 4", " 4", " 4", "cc4", "1441"])
    # a pencil moustache curled at the tips
    head.patch(22, 24, ["0          0", "03330  03330", " 000    000"])
    head.patch(22, 27, GENTLEMAN_MOUTHS[pose["mouth"]])
    return body, head


GENTLEMAN_MOUTHS = {
    "shut": ["        0 ",
             "   000000 ",
             "    4444  "],
    "ajar": ["        0 ",
             "   000000 ",
             "   0fff10 ",
             "    0000  "],
    "wide": ["          ",
             "  0000000 ",
             " 0fffffff0",
             " 011111110",
             "  0166610 ",
             "   00000  "],
    "round": ["          ",
              "    0000  ",
              "   011110 ",
              "   016610 ",
              "    0000  "],
}


# ---------------------------------------------------------------------------
# The loops

PORTRAITS = {1: mate, 2: rascal, 3: captain, 4: gentleman}

# Idle: a breath (the whole bust one row down for the second half) and a blink.
IDLE_BOB = [0, 0, 0, 0, 1, 1, 1, 1]
IDLE_BLINK = [0, 0, 0, 0, 0, 0, 1, 0]
# Talking: the mouth works through its shapes and the head nods.
TALK_MOUTH = ["ajar", "wide", "ajar", "shut", "round", "wide", "ajar", "shut"]
TALK_NOD = [0, 1, 1, 0, 0, 1, 0, 0]


def outlined(img):
    """Closes the outline: a background pixel beside a light pixel of the figure
    becomes dark, so hair tips and ribbon ends are outlined like the rest."""
    out = [row[:] for row in img]
    for y in range(H):
        for x in range(W):
            if img[y][x] != KEY:
                continue
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                nx, ny = x + dx, y + dy
                if 0 <= nx < W and 0 <= ny < H and img[ny][nx] not in (KEY, 0, 1):
                    out[y][x] = 0
    return out


def frame(portrait, a, talking):
    """Frame a (0..7) of speaker portrait (1..4), talking or idle.  Each speaker's
    drawing takes a pose: blink, the mouth ("shut", "ajar", "wide" or "round") and
    extra, the frame number, for a motion of the speaker's own (the bandana's knot
    flapping, the gentleman's brow going up and his monocle catching the light)."""
    draw = PORTRAITS[portrait]
    if talking:
        body, head = draw(dict(blink=False, mouth=TALK_MOUTH[a], extra=a))
        return outlined(compose(body, head, TALK_NOD[a]))
    body, head = draw(dict(blink=bool(IDLE_BLINK[a]), mouth="shut", extra=a))
    return outlined(shift(compose(body, head, 0), IDLE_BOB[a]))
