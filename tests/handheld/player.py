#!/usr/bin/python3
"""The player of the handheld test: plays the port through the stand-in pad alone.

    player.py first|second REFERENCES

It presses the pad's buttons by writing "down BUTTON" and "up BUTTON" into the pipe
$TEST_PAD, where the stand-in gptokeyb turns them into the port's mapped keys, and it
looks at the game only through screenshots of the X display $DISPLAY. What a screen is
(a credit page, a dialog, the title menu, the island map, the sea) it tells
by pictures the native replay tool made of the same screens in REFERENCES
(tests/handheld/references-*.replay).

first: a first run, from the credits (exactly the native first page) through the welcome,
the menu and the high score screen into a game; at sea it steers the ship each way of
the d-pad, reading on the island map (paused with Start) where it went, and fires a
broadside with B.

second: through the credits and Play to the high score screen, which must be exactly
REFERENCES/final.png.

Both print what they see and do, and exit 0 when they got where they meant to.
"""
import os
import struct
import subprocess
import sys
import time
import zlib

PALETTE565 = [0x1063, 0x4126, 0x31AD, 0x4A49, 0x8266, 0x3324, 0xD229, 0x738C,
              0x5BF9, 0xD3E5, 0x84B4, 0x6D45, 0xD553, 0x6E19, 0xDEAB, 0xDF7A]  # src/platform/frame.cpp


def rgb888(pixel):
    r5, g6, b5 = pixel >> 11, (pixel >> 5) & 63, pixel & 31
    return (r5 << 3 | r5 >> 2) << 16 | (g6 << 2 | g6 >> 4) << 8 | (b5 << 3 | b5 >> 2)


PALETTE = [rgb888(p) for p in PALETTE565]
# The two colours the ship's X on the island map blinks between.
SHIP = (PALETTE[15], PALETTE[6])
FRAME_MS = 25
# The d-pad's four ways, as steps on the island map.
WAYS = {"left": (-1, 0), "right": (1, 0), "up": (0, -1), "down": (0, 1)}


def log(*words):
    print(*words, flush=True)


def read_png(path):
    """An 8-bit RGB PNG as the replay tool writes it, as rows of 0xRRGGBB."""
    with open(path, "rb") as f:
        data = f.read()
    at, idat = 8, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        if kind == b"IHDR":
            width, height = struct.unpack(">II", data[at + 8:at + 16])
        elif kind == b"IDAT":
            idat += data[at + 8:at + 8 + length]
        at += 12 + length
    raw, stride, rows, above = zlib.decompress(idat), width * 3 + 1, [], bytearray(width * 3)
    for y in range(height):
        kind, line = raw[y * stride], bytearray(raw[y * stride + 1:(y + 1) * stride])
        for i in range(len(line)):
            a, b, c = line[i - 3] if i >= 3 else 0, above[i], above[i - 3] if i >= 3 else 0
            p = a + b - c
            paeth = min((abs(p - a), 0, a), (abs(p - b), 1, b), (abs(p - c), 2, c))[2]
            line[i] = (line[i] + (0, a, b, (a + b) // 2, paeth)[kind]) & 255
        rows.append([line[3 * x] << 16 | line[3 * x + 1] << 8 | line[3 * x + 2] for x in range(width)])
        above = line
    return rows


def grab():
    """The X screen as the game's 160 x 120 picture, each 4 x 4 block read at one pixel
    (that the game fills the screen with whole blocks, tests/handheld/sdl2_test.cpp)."""
    for attempt in range(5):  # a window coming or going under it can fail one grab
        shot = subprocess.run(["xwd", "-root", "-silent"], capture_output=True)
        if shot.returncode == 0:
            break
        time.sleep(0.1)
    else:
        raise SystemExit(f"player: xwd failed: {shot.stderr.decode().strip()}")
    header = struct.unpack(">25I", shot.stdout[:100])
    assert header[11] == 32 and header[7] == 0 and header[14:17] == (0xFF0000, 0xFF00, 0xFF), "an unexpected X screen"
    pixels, stride = memoryview(shot.stdout)[header[0] + 12 * header[19]:], header[12]

    def at(x, y):
        return int.from_bytes(pixels[y * stride + 4 * x:y * stride + 4 * x + 3], "little")

    return [[at(4 * x + 1, 4 * y + 1) for x in range(160)] for y in range(120)]


class Screens:
    """Tells screens apart by the pixels two references of the same screen agree on."""

    def __init__(self, folder):
        ref = {name[:-4]: read_png(os.path.join(folder, name)) for name in os.listdir(folder) if name.endswith(".png")}
        self.credits, self.final = ref["credits"], ref.get("final")
        self.signs = {
            # The dialog box, but for its text; the island map's frame, but for the map.
            "dialog": self.sign(ref["dialog-sea-a"], ref["dialog-sea-b"], 8, 64, 152, 112, inner=(16, 76, 144, 104)),
            "map": self.sign(ref["map-a"], ref["map-b"], 45, 24, 117, 96, inner=(52, 32, 107, 88)),
            "menu": self.sign(ref["menu-a"], ref["menu-b"], 30, 63, 120, 118),
            "high score": self.sign(ref["high-score"], ref["high-score"], 40, 5, 120, 22),
            # The rightmost hull of the status bar, there while the ship sails (and drawn
            # undarkened over the paused picture).
            "hull": self.sign(ref["sailing-a"], ref["sailing-b"], 150, 1, 160, 17, also=(ref["map-a"], ref["map-b"])),
            # The sixth cannonball of the status bar, at its lower left: what is gone once
            # it is fired (its glint moves, a pixel or two of the 30).
            "sixth ball": [(x, y, ref["sailing-a"][y][x]) for y in range(111, 120) for x in range(45, 54)
                           if ref["sailing-a"][y][x] != ref["fired"][y][x]],
        }

    @staticmethod
    def sign(a, b, x0, y0, x1, y1, inner=(0, 0, 0, 0), also=()):
        """The pixels of the rectangle (but for inner) that the references agree on, but
        for the background colour, which every sparse screen shares."""
        return [(x, y, a[y][x]) for y in range(y0, y1) for x in range(x0, x1)
                if a[y][x] == b[y][x] != PALETTE[0] and all(r[y][x] == a[y][x] for r in also)
                and not (inner[0] <= x < inner[2] and inner[1] <= y < inner[3])]

    def shows(self, frame, *names):
        """Whether the frame shows any of the named screens."""
        return any(sum(frame[y][x] == c for x, y, c in self.signs[n]) >= 0.9 * len(self.signs[n]) for n in names)


class Player:
    def __init__(self, references):
        self.screens = Screens(references)
        self.pad = open(os.environ["TEST_PAD"], "w", buffering=1)
        self.held = set()

    def hold(self, buttons):
        """Holds exactly these buttons of the pad from now on (nothing, once the pad
        mapper has ended with the game)."""
        try:
            for b in sorted(self.held - set(buttons)):
                self.pad.write(f"up {b}\n")
            for b in sorted(set(buttons) - self.held):
                self.pad.write(f"down {b}\n")
        except BrokenPipeError:
            pass
        self.held = set(buttons)

    def press(self, *buttons, ms=150, after=200):
        self.hold(buttons)
        time.sleep(ms / 1000)
        self.hold(())
        time.sleep(after / 1000)

    def wait_for(self, what, seconds, every=0.2, pages=False):
        """Waits until what the screen shows is what: with pages, A turns a dialog's
        pages, one at a time."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            frame = grab()
            if what(frame):
                return
            if pages and self.screens.shows(frame, "dialog"):
                self.press("a", after=100)
            time.sleep(every)
        raise SystemExit(f"player: gave up waiting ({seconds} s) for {getattr(what, '__name__', what)}")

    def shows(self, *names):
        def screen(frame):
            return self.screens.shows(frame, *names)
        screen.__name__ = " or ".join(names)
        return screen

    def sailing(self, frame):
        return self.screens.shows(frame, "hull") and not self.screens.shows(frame, "dialog", "map")

    def through_credits(self):
        """From the start to the title menu: the first credit page must be exactly the
        native one."""
        self.wait_for(lambda f: f == self.screens.credits, 60)
        log("credits")
        for _ in range(3):
            self.press("a")
        self.wait_for(self.shows("menu"), 10)
        log("menu")

    def ship(self):
        """Pauses, reads the ship's cell from its X on the island map, and sails on."""
        self.press("start")
        self.wait_for(self.shows("map"), 5, every=0.05)
        for _ in range(40):  # the X blinks between two colours; either will do
            f = grab()
            marks = [(x - 52, y - 32) for y in range(33, 87) for x in range(53, 106) if f[y][x] in SHIP and
                     f[y - 1][x - 1] == f[y - 1][x + 1] == f[y + 1][x - 1] == f[y + 1][x + 1] == f[y][x]]
            if marks:
                break
            time.sleep(0.05)
        else:
            raise SystemExit("player: no ship on the island map")
        self.press("start")
        self.wait_for(self.sailing, 5, every=0.05)
        return marks[0]

    def first(self):
        """A first run: Play gives the welcome, then the high score screen; A starts a
        game, whose greeting's pages A turns. At sea, each way of the d-pad held for 24
        frames takes the ship a cell or two that way (in open water around where every
        game of this world starts), and B fires a broadside: the last of the six
        cannonballs of the status bar goes."""
        self.through_credits()
        self.press("a")
        self.wait_for(self.shows("high score"), 120, every=0.3, pages=True)
        log("high score")
        self.press("a")
        self.wait_for(self.shows("dialog"), 10)
        self.wait_for(self.sailing, 120, every=0.3, pages=True)
        log("sailing")
        at = self.ship()
        for way, (dx, dy) in WAYS.items():
            self.press(way, ms=24 * FRAME_MS)
            to = self.ship()
            log("held", way, "from cell", at, "to", to)
            if (to[0] - at[0]) * dx + (to[1] - at[1]) * dy < 1:
                raise SystemExit(f"player: the ship did not go {way}")
            at = to
        if not self.screens.shows(grab(), "sixth ball"):
            raise SystemExit("player: no sixth cannonball before a broadside")
        self.press("b")
        self.wait_for(lambda f: not self.screens.shows(f, "sixth ball"), 2)
        log("broadside")

    def second(self):
        """The best score put in the port's folder is read: Play goes straight to the
        high score screen, which must be exactly the native one for that score."""
        self.through_credits()
        self.press("a")
        self.wait_for(lambda f: f == self.screens.final, 10)
        log("high score")

    def quit(self):
        """Hotkey + Start, as a player leaves a port."""
        self.hold(("guide",))
        time.sleep(0.2)
        self.hold(("guide", "start"))
        time.sleep(0.2)
        self.hold(())
        log("quit")


def main():
    player = Player(sys.argv[2])
    try:
        getattr(player, sys.argv[1])()
        player.quit()
    finally:
        player.hold(())


if __name__ == "__main__":
    main()
