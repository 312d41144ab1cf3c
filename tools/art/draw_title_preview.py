"""Previews of the title, credit and game-over pictures, composed the way the game draws
them, from the sheets in assets/art (so hand edits to a sheet show up here too).

    /usr/bin/python3 tools/art/draw_title_preview.py [output-dir]   # default /tmp/title_preview

Writes: menu_1x.png and menu_3x.png (the title menu with the cursor on "Play" and on
"Music"), logo_a_4x.png, logo_b_4x.png, cursor_4x.png, marks_4x.png, gameover_4x.png,
credits_4x.png (contact sheets, on black and on the sea colour), sheets_1x.png (every
sheet at 1x on black and on the sea), credits_1x.png / credits_3x.png and
gameover_1x.png / gameover_3x.png (the screens with their text mocked).
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from sheet import KEY, Sheet, write_png  # noqa: E402
from draw_title import ART, BLACK, RED, SEA, STEEL, TABLES, WHITE, Pic, Screen  # noqa: E402

GAP = 2


def load_tables():
    """Every table of the group as a list of frames (rows of palette indices)."""
    out = {}
    for name, path, fw, fh, count, kind, columns, note in TABLES:
        s = Sheet.load(os.path.join(ART, path), fw, fh, count)
        out[name] = [s.frame_grid(i) for i in range(count)]
    return out


def mask_bits(frame):
    """A mask frame as the game holds it: one byte per column, bit 0 the top row."""
    return [sum(1 << y for y in range(8) if frame[y][x] != KEY) for x in range(8)]


def contact(frames, columns, background, key=KEY, scale=4):
    """Frames side by side on a grey ground, key pixels shown as background."""
    fh, fw = len(frames[0]), len(frames[0][0])
    rows = (len(frames) + columns - 1) // columns
    p = Pic(columns * (fw + GAP) + GAP, rows * (fh + GAP) + GAP, STEEL)
    for i, f in enumerate(frames):
        ox, oy = GAP + (i % columns) * (fw + GAP), GAP + (i // columns) * (fh + GAP)
        for y in range(fh):
            for x in range(fw):
                p.set(ox + x, oy + y, background if f[y][x] == key else f[y][x])
    return p


def stack(pics, gap=GAP, fill=STEEL):
    w = max(p.w for p in pics)
    h = sum(p.h for p in pics) + gap * (len(pics) - 1)
    out = Pic(w, h, fill)
    y = 0
    for p in pics:
        out.blit(p, 0, y)
        y += p.h + gap
    return out


def side_by_side(pics, gap=4, fill=STEEL):
    w = sum(p.w for p in pics) + gap * (len(pics) - 1)
    out = Pic(w, max(p.h for p in pics), fill)
    x = 0
    for p in pics:
        out.blit(p, x, 0)
        x += p.w + gap
    return out


def save(pic, path, scale):
    write_png(path, pic.w, pic.h, pic.px, scale)


def menu_screen(t, cursor, frame_counter, logo, ripple):
    """The title menu as one frame draws it: logo with the ripple, labels, cursor, mark."""
    sc = Screen()
    if ripple:
        sc.rippled(20, 2, logo, KEY, frame_counter)
    else:
        sc.sprite(20, 2, logo)
    labels = ["Play", "Instructions", "Credits", "Music", "SFX"]
    for i, label in enumerate(labels):
        sc.text(48 if i == cursor else 45, 63 + 11 * i, label)
    sc.sprite(32, 60 + 11 * cursor, t["MenuCursorFrames"][0 if frame_counter < 71 else 1])
    if cursor in (3, 4):
        mark = mask_bits(t["SoundOnMark"][0] if cursor == 3 else t["SoundOffMark"][0])
        mx, my = (81, 96) if cursor == 3 else (69, 107)
        for c, byte in enumerate(mark):
            for b in range(8):
                if byte >> b & 1 and my + b < 120:
                    sc.pic.set(mx + c, my + b, WHITE)
    return sc.pic


CREDIT_LINES = [
    [(35, 95, "A. Shipwright"), (23, 105, "@shipwright qb.example")],
    [(37, 95, " Pixel Art By: "), (23, 105, "    @inkypixel    ")],
    [(36, 95, " Music/SFX By:"), (21, 105, "    @squeezebox     ")],
]


def credit_screen(t, page):
    sc = Screen()
    sc.sprite(40, 10, t["CreditPictures"][page], key=None)
    for x, y, text in CREDIT_LINES[page]:
        sc.text(x, y, text)
    return sc.pic


def gameover_screen(t, frame_counter, ripple, gold=1234):
    sc = Screen()
    frame = t["GameOverFrames"][frame_counter // 15]
    if ripple:
        sc.rippled(52, 32, frame, RED, frame_counter)
    else:
        sc.sprite(52, 32, frame, key=RED)
    sc.text(42, 10, "Game over...")
    n = len(str(gold))
    sc.text(80 - ((7 * n + 42) // 2), 101, "Score: %d" % gold)
    return sc.pic


def write_previews(out_dir="/tmp/title_preview"):
    os.makedirs(out_dir, exist_ok=True)
    t = load_tables()

    # the menu: cursor on Play at rest, and on Music mid-blink with the ripple running
    menus = side_by_side([menu_screen(t, 0, 10, t["LogoStripA"][0], False),
                          menu_screen(t, 3, 90, t["LogoStripB"][6], True)], fill=STEEL)
    save(menus, os.path.join(out_dir, "menu_1x.png"), 1)
    save(menus, os.path.join(out_dir, "menu_3x.png"), 3)

    # contact sheets, each on black and on the sea
    for name, table, columns, key in [("logo_a", "LogoStripA", 4, KEY), ("logo_b", "LogoStripB", 4, KEY),
                                      ("cursor", "MenuCursorFrames", 2, KEY),
                                      ("gameover", "GameOverFrames", 4, RED),
                                      ("credits", "CreditPictures", 3, None)]:
        frames = t[table]
        pic = stack([contact(frames, columns, BLACK, key), contact(frames, columns, SEA, key)])
        save(pic, os.path.join(out_dir, name + "_4x.png"), 4)
    marks = t["SoundOnMark"] + t["SoundOffMark"]
    save(stack([contact(marks, 2, BLACK), contact(marks, 2, SEA)]),
         os.path.join(out_dir, "marks_4x.png"), 8)

    # every sheet at 1x, on black and on the sea
    rows = []
    for background in (BLACK, SEA):
        rows.append(side_by_side([
            contact(t["LogoStripA"], 4, background), contact(t["LogoStripB"], 4, background),
            stack([contact(t["CreditPictures"], 3, background, None),
                   side_by_side([contact(t["GameOverFrames"], 4, background, RED),
                                 stack([contact(t["MenuCursorFrames"], 2, background),
                                        contact(marks, 2, background)])])])]))
    save(stack(rows, 6), os.path.join(out_dir, "sheets_1x.png"), 1)

    # the credit pages and the game-over screen with their text
    credits = side_by_side([credit_screen(t, page) for page in range(3)])
    save(credits, os.path.join(out_dir, "credits_1x.png"), 1)
    save(credits, os.path.join(out_dir, "credits_3x.png"), 3)
    over = side_by_side([gameover_screen(t, 0, False), gameover_screen(t, 50, True)])
    save(over, os.path.join(out_dir, "gameover_1x.png"), 1)
    save(over, os.path.join(out_dir, "gameover_3x.png"), 3)
    return out_dir


if __name__ == "__main__":
    print(write_previews(sys.argv[1] if len(sys.argv) > 1 else "/tmp/title_preview"))
