#!/usr/bin/python3
"""The player of the handheld test: plays the port through the stand-in pad alone.

    player.py first|second REFERENCES

It presses the pad's buttons by writing "down BUTTON" and "up BUTTON" into the pipe
$TEST_PAD, where the stand-in gptokeyb turns them into the port's mapped keys, and it
looks at the game only through screenshots of the X display $DISPLAY. What a screen is
(a credit page, a dialog, the title menu, the island map, the game-over screen) it tells
by pictures the native replay tool made of the same screens in REFERENCES
(tests/handheld/references-*.replay).

first: from the credits through the welcome and the menu into a game; reads the island
map (paused with Start) for the ship and the ports, sails to a port that gives cargo and
waits under the docking bar, reads the map again for the port that buys and sails there
to sell, then waits for the pirates to sink the ship, which ends the game with a new best
score; closes its dialog and quits on hotkey + Start from the title menu. A ship sunk
before its sale is a lost game: it plays another, up to three. It plays any world: a new
game puts the ship at a spot of its cell that the map shows, and the course is worked
out from the map. A frame more or less at a turn, slow frames on a busy machine or a
pirate's stun move the ship off its course: the last hold of a course lasts until the
docking bar shows, and where it does not, the map says in which cell the ship is and it
steers again from there.

second: through the credits and Play to the high score screen, which must be exactly
REFERENCES/final.png, and quits.

Both print what they see and do, and exit 0 when they got where they meant to.
"""
import functools
import heapq
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
# Palette entries of the island map: sea, port, the buyer's and the givers' markers, the
# ship's marks (and the pirates'); white, of the docking bar's frame.
SEA, PORT, MARK_BUY, MARK_GIVE, SHIP_A, SHIP_B, WHITE = 13, 14, 9, 3, 15, 6, 15
FRAME_MS = 25
BUTTONS = {(-1, 0): ("left",), (1, 0): ("right",), (0, -1): ("up",), (0, 1): ("down",),
           (-1, -1): ("left", "up"), (1, -1): ("right", "up"), (-1, 1): ("left", "down"), (1, 1): ("right", "down")}


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
            "game over": self.sign(ref["game-over"], ref["game-over"], 30, 5, 130, 22),
            # The rightmost hull of the status bar, there while the ship sails (and drawn
            # undarkened over the paused picture).
            "hull": self.sign(ref["sailing-a"], ref["sailing-b"], 150, 1, 160, 17, also=(ref["map-a"], ref["map-b"])),
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


class Sea:
    """The 56 x 56 cells as the paused map shows them, read from several shots as the
    markers blink: what blocks a ship, the ports by role (0 buys, 1 gives cargo, -1
    neither), and the ship's cell. The cells the ship's mark hides are taken from an
    earlier look, or else kept away from."""

    def __init__(self, shots, known=None):
        f, ship = shots[0], (PALETTE[SHIP_A], PALETTE[SHIP_B])
        marks = ((x, y) for y in range(33, 87) for x in range(53, 106) if f[y][x] in ship and
                 f[y - 1][x - 1] == f[y - 1][x + 1] == f[y + 1][x - 1] == f[y + 1][x + 1] == f[y][x])
        self.ship = next(((x - 52, y - 32) for x, y in marks), (-9, -9))  # the middle of its X
        self.hidden = {(self.ship[0] + i, self.ship[1] + j) for i, j in ((0, 0), (-1, -1), (1, -1), (-1, 1), (1, 1))}
        self.blocked, self.ports, self.unknown = set(), {}, set()
        for cell in ((cx, cy) for cx in range(55) for cy in range(56)):  # the 56th column is sea, not drawn
            seen = {f[32 + cell[1]][52 + cell[0]] for f in shots}
            if cell in self.hidden and known and cell not in known.unknown:
                if cell in known.blocked:
                    self.blocked.add(cell)
                if cell in known.ports:
                    self.ports[cell] = known.ports[cell]  # its marker as it was then
            elif cell in self.hidden:
                self.unknown.add(cell)
            elif PALETTE[PORT] in seen:
                self.ports[cell] = 0 if PALETTE[MARK_BUY] in seen else 1 if PALETTE[MARK_GIVE] in seen else -1
            elif not seen <= {PALETTE[SEA], *ship}:  # sea, or a pirate on it
                self.blocked.add(cell)
        self.blocked |= self.unknown - {self.ship}

    def __str__(self):
        return "\n".join("".join("S" if (cx, cy) == self.ship else "P" if (cx, cy) in self.ports else
                                  "#" if (cx, cy) in self.blocked else "." for cx in range(56)) for cy in range(56))

    @functools.lru_cache(maxsize=None)
    def fits(self, x, y, margin=0):
        """Whether the ship's box around (x, y), grown by margin pixels, lies in cells that
        let a ship through (the game tests only its corners and sides: this is safer)."""
        return not any((cx, cy) in self.blocked or not (0 <= cx <= 55 and 0 <= cy <= 55)
                       for cx in range((x - 7 - margin) // 16, (x + 7 + margin) // 16 + 1)
                       for cy in range((y - 7 - margin) // 16, (y + 13 + margin) // 16 + 1))

    def docked_at(self, x, y):
        """The port the game's docking test finds for a ship at (x, y), or None."""
        for px, py in ((x, y + 6), (x, y - 4), (x + 6, y), (x - 6, y)):
            if px >= 0 and py >= 0 and (px // 16, py // 16) in self.ports:
                return px // 16, py // 16
        return None

    def course(self, start, role):
        """The holds of the d-pad (move, frames) that take the ship from start to where it
        docks at a port of the role even a couple of pixels off, where it ends, and the
        port: the cheapest way over a grid of 8 pixels, where a step costs 1, a turn 1
        more (every hold may end a frame off) and a step within 4 pixels of a coast 4
        more (where a frame off may touch it). None if there is no way."""
        def port_at(x, y):
            found = {self.docked_at(x + i, y + j) for i in (-2, 0, 2) for j in (-2, 0, 2)}
            port = found.pop()
            return port if not found and self.ports.get(port) == role else None

        queue, best, came = [(0, start, None)], {}, {(start, None): None}
        while queue:
            cost, at, last = heapq.heappop(queue)
            if best.get((at, last), cost) < cost:
                continue
            if port_at(*at):
                key, moves = (at, last), []
                while came[key]:
                    moves.insert(0, key[1])
                    key = came[key]
                holds = []
                for move in moves:
                    if holds and holds[-1][0] == move:
                        holds[-1][1] += 8
                    else:
                        holds.append([move, 8])
                return holds, at, port_at(*at)
            for move in BUTTONS:
                to = (at[0] + 8 * move[0], at[1] + 8 * move[1])
                # The box at the new place and, on a diagonal, at both corners of the step.
                if not all(self.fits(*p) for p in {to, (to[0], at[1]), (at[0], to[1])} - {at}):
                    continue
                price = cost + 1 + (move != last) + (0 if self.fits(*to, 4) else 4)
                if price < best.get((to, move), 1e9):
                    best[(to, move)], came[(to, move)] = price, (at, last)
                    heapq.heappush(queue, (price, to, move))
        return None, start, None


class Sunk(Exception):
    """The ship has sunk: its last words or the game-over screen are showing."""


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

    def wait_for(self, what, seconds, every=0.2, sailing=False, pages=False, needed=True):
        """Waits until what the screen shows is what, and returns that frame (or None,
        when not needed): while sailing, a sunk ship ends the wait; with pages, A turns
        a dialog's pages, one at a time."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            frame = grab()
            if what(frame):
                return frame
            if sailing and self.screens.shows(frame, "dialog", "game over"):
                raise Sunk()  # its last words, or the game-over screen
            if pages and self.screens.shows(frame, "dialog"):
                self.press("a", after=100)
            time.sleep(every)
        if needed:
            raise SystemExit(f"player: gave up waiting ({seconds} s) for {getattr(what, '__name__', what)}")
        return None

    def shows(self, *names):
        def screen(frame):
            return self.screens.shows(frame, *names)
        screen.__name__ = " or ".join(names)
        return screen

    def sailing(self, frame):
        return self.screens.shows(frame, "hull") and not self.screens.shows(frame, "dialog", "map")

    @staticmethod
    def docking(frame):
        """The docking bar's white frame over the ship."""
        return all(frame[y][x] == PALETTE[WHITE] for y in (36, 39) for x in range(68, 93))

    def through_credits(self):
        """From the start to the title menu: the first credit page must be exactly the
        native one."""
        self.wait_for(lambda f: f == self.screens.credits, 60)
        log("credits")
        for _ in range(3):
            self.press("a")
        self.wait_for(self.shows("menu"), 10)
        log("menu")

    def look(self, known=None):
        """Pauses, reads the island map from a second's shots, and sails on."""
        self.press("start")
        self.wait_for(self.shows("map"), 5, every=0.05, sailing=True)
        shots = []
        for _ in range(10):
            frame = grab()
            if self.screens.shows(frame, "map"):
                shots.append(frame)
            time.sleep(0.08)
        self.press("start")
        self.wait_for(self.sailing, 5, every=0.05, sailing=True)
        sea = Sea(shots, known)
        log("map: ship at", sea.ship, "ports", sorted(sea.ports.items()))
        return sea

    def sail(self, sea, at, role):
        """Sails from at to the nearest port of the role until the docking bar shows over
        the ship; returns where the ship is, the port and the map. Where the bar does not
        show, the map says in which cell the ship is: it steers again from where its
        reckoning puts it within that cell or, when that did not work before, from one
        of the cell's spots (its middle, its corners); and in the end it tries small
        steps around."""
        tried = set()
        for _ in range(6):
            cell = sea.ship  # the reckoning's place within it first: at itself, when in that cell
            guesses = [(cell[0] * 16 + x, cell[1] * 16 + y) for x, y in
                       ((at[0] % 16, at[1] % 16), (8, 6), (8, 14), (8, 8), (3, 3), (12, 3), (3, 12), (12, 12))]
            for at in guesses:
                holds, end, port = sea.course(at, role) if at not in tried else (None, at, None)
                tried.add(at)
                if port:
                    break
            else:
                break
            log("sailing to", port, "from", at, "in", sum(f for _, f in holds), "frames:", holds)
            for i, (move, frames) in enumerate(holds):
                self.hold(BUTTONS[move])
                time.sleep(max(frames - 16 * (i == len(holds) - 1), 0) * FRAME_MS / 1000)
            # The last hold ends when the bar shows, from 16 frames before its time to a
            # second after it (and the bar is looked for over a little more than a
            # pirate's stun, 16 frames, which hides it).
            arrived = self.wait_for(self.docking, 1.4 if holds else 0.6, every=0.05, sailing=True, needed=False)
            self.hold(())
            if arrived:
                log("docking at", port)
                return end, port, sea
            sea, at = self.look(sea), end
        # Small steps in every direction, further and further, back each time (on the
        # diagonals the game's steering slides a ship along a coast into line).
        for frames in (2, 4, 6, 9, 12):
            for move in BUTTONS:
                self.press(*BUTTONS[move], ms=frames * FRAME_MS, after=0)
                if self.wait_for(self.docking, 0.6, every=0.05, sailing=True, needed=False):
                    log("docking at", port, "after a step", move, frames)
                    return (at[0] + move[0] * frames, at[1] + move[1] * frames), port, sea
                self.press(*BUTTONS[(-move[0], -move[1])], ms=frames * FRAME_MS, after=0)
        raise SystemExit(f"player: no docking bar at a port of role {role} near {at} on\n{sea}")

    def new_game(self):
        """From the high score screen, a new game up to its first free sailing frame;
        the island map and where the ship is: where a new game puts it, (8, 6) in its
        cell."""
        self.press("a")
        self.wait_for(self.shows("dialog"), 10)
        self.wait_for(self.sailing, 120, every=0.3, pages=True)
        sea = self.look()
        return sea, (sea.ship[0] * 16 + 8, sea.ship[1] * 16 + 6)

    def one_game(self, sea, at):
        """A load of cargo, sold where it sells; the first load comes with a lesson."""
        at, port, sea = self.sail(sea, at, 1)
        self.wait_for(self.shows("dialog"), 10)
        self.wait_for(self.sailing, 30, every=0.3, pages=True)
        log("cargo taken at", port)
        sea = self.look(sea)
        for visit in range(4):
            at, port, sea = self.sail(sea, at, 0)
            # Under the bar until the sale ends the visit (the port closes, the bar goes)
            # or a pirate's hit cuts it short; the map then shows whether the port bought
            # (where the ship's mark hides it, the sale is taken as made: if it was not,
            # the game ends without a best score, and another is played).
            self.wait_for(lambda f: not self.docking(f), 15, sailing=True)
            time.sleep(0.5)
            sea = self.look(sea)
            if sea.ports.get(port) != 0 or port in sea.hidden:
                log("sold at", port)
                return
            log("the visit was cut short")
        raise SystemExit("player: the buying port did not buy")

    def first(self):
        self.through_credits()
        # Play: with no best score yet, the welcome comes first, then the high score.
        self.press("a")
        self.wait_for(self.shows("high score"), 120, every=0.3, pages=True)
        log("high score")
        best = lambda f: self.screens.shows(f, "dialog") and all(  # the new best score's dialog, alone
            f[y][x] == PALETTE[0] for y in range(120) for x in range(160) if y >= 112 or (y < 60 and x >= 100))
        for game in range(3):
            try:
                self.one_game(*self.new_game())
            except Sunk:
                pass
            # The pirates sink the ship sooner or later: with the gold of a sale the game
            # ends on the new best score's dialog, alone on the screen; without, on the
            # sinking words over the sea and then the game-over screen.
            if best(self.wait_for(lambda f: best(f) or self.screens.shows(f, "game over"), 400, every=0.3, pages=True)):
                break
            log("sunk before a sale")
            self.press("a")
            self.wait_for(self.shows("menu"), 10)
            self.press("a")
            self.wait_for(self.shows("high score"), 10)
        else:
            raise SystemExit("player: three games sunk before a sale")
        log("game over with a new best score")
        self.wait_for(self.shows("menu"), 60, every=0.3, pages=True)
        log("menu")

    def second(self):
        """The best score of the first run is read again: Play goes straight to the high
        score screen, which must be exactly the native one for that score."""
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
