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
out from the map with the game's own rules of steering. A frame more or less at a turn,
slow frames on a busy machine or a pirate's stun move the ship off its course; near the
port the map says where it is and the docking bar whether it has arrived.

second: through the credits and Play to the high score screen, which must be exactly
REFERENCES/final.png, and quits.

Both print what they see and do, and exit 0 when they got where they meant to.
"""
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
# Palette entries of the island map: sea, port, land, the buyer's and the givers'
# markers, the ship's mark.
SEA, PORT, LAND, MARK_BUY, MARK_GIVE, PLAYER_A, PLAYER_B = 13, 14, 9, 9, 3, 15, 6
W, H = 160, 120
FRAME_MS = 25


def log(*words):
    print(*words, flush=True)


# --- Pictures ---------------------------------------------------------------------------

def read_png(path):
    """An 8-bit RGB PNG as the replay tool writes it, as rows of 0xRRGGBB."""
    with open(path, "rb") as f:
        data = f.read()
    at, idat, width, height = 8, b"", 0, 0
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if kind == b"IHDR":
            width, height = struct.unpack(">II", body[:8])
        elif kind == b"IDAT":
            idat += body
        at += 12 + length
    raw, stride, rows, previous = zlib.decompress(idat), width * 3, [], bytearray(width * 3)
    for y in range(height):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 3] if i >= 3 else 0
            b, c = previous[i], previous[i - 3] if i >= 3 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 255
            elif kind == 2:
                line[i] = (line[i] + b) & 255
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 255
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append([line[3 * x] << 16 | line[3 * x + 1] << 8 | line[3 * x + 2] for x in range(width)])
        previous = line
    return rows


def grab(whole=False):
    """The X screen as the game's 160 x 120 picture (each 4 x 4 block read at one pixel).
    With whole, also whether the screen is exactly 640 x 480 and every block one colour."""
    for attempt in range(5):  # a window coming or going under it can fail one grab
        shot = subprocess.run(["xwd", "-root", "-silent"], capture_output=True)
        if shot.returncode == 0:
            break
        time.sleep(0.1)
    else:
        raise SystemExit(f"player: xwd failed: {shot.stderr.decode().strip()}")
    xwd = shot.stdout
    header = struct.unpack(">25I", xwd[:100])
    size, width, height, order, bpp, stride, ncolours = header[0], header[4], header[5], header[7], header[11], \
        header[12], header[19]
    assert bpp == 32 and order == 0 and header[14:17] == (0xFF0000, 0xFF00, 0xFF), "an unexpected X screen"
    pixels = memoryview(xwd)[size + 12 * ncolours:]

    def at(x, y):
        i = y * stride + x * 4
        return pixels[i] | pixels[i + 1] << 8 | pixels[i + 2] << 16

    frame = [[at(4 * x + 1, 4 * y + 1) for x in range(W)] for y in range(H)]
    if not whole:
        return frame
    fills = (width, height) == (640, 480) and all(
        at(x, y) == frame[y // 4][x // 4] for y in range(480) for x in range(640))
    return frame, fills


# --- What a screen is -------------------------------------------------------------------

class Screens:
    """Tells screens apart by the pixels two references of the same screen agree on."""

    def __init__(self, folder):
        ref = {name[:-4]: read_png(os.path.join(folder, name)) for name in os.listdir(folder) if name.endswith(".png")}
        self.credits = ref["credits"]
        self.final = ref.get("final")
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
    def sign(a, b, x0, y0, x1, y1, inner=None, also=()):
        """The pixels of the rectangle (but for inner) that the references agree on, but
        for the background colour, which every sparse screen shares."""
        return [(x, y, a[y][x]) for y in range(y0, y1) for x in range(x0, x1)
                if a[y][x] == b[y][x] != PALETTE[0] and all(r[y][x] == a[y][x] for r in also)
                and not (inner and inner[0] <= x < inner[2] and inner[1] <= y < inner[3])]

    def shows(self, frame, name):
        sign = self.signs[name]
        return sum(frame[y][x] == c for x, y, c in sign) >= 0.9 * len(sign)

    @staticmethod
    def on_black(frame):
        """A dialog-only screen: nothing but the background beside the box and portrait."""
        return all(frame[y][x] == PALETTE[0] for y in range(112, 120) for x in range(W)) and \
            all(frame[y][x] == PALETTE[0] for y in range(0, 60) for x in range(100, W))


# --- The pad ----------------------------------------------------------------------------

class Pad:
    def __init__(self):
        self.pipe = open(os.environ["TEST_PAD"], "w", buffering=1)
        self.held = set()

    def set(self, buttons):
        """Holds exactly these buttons from now on (nothing, once the pad mapper has
        ended with the game)."""
        try:
            for b in sorted(self.held - set(buttons)):
                self.pipe.write(f"up {b}\n")
            for b in sorted(set(buttons) - self.held):
                self.pipe.write(f"down {b}\n")
        except BrokenPipeError:
            pass
        self.held = set(buttons)

    def press(self, *buttons, ms=150, after=200):
        self.set(buttons)
        time.sleep(ms / 1000)
        self.set(())
        time.sleep(after / 1000)


# --- The island map and the ship --------------------------------------------------------

def trunc16(v):
    return int(v / 16)


class Sea:
    """The 56 x 56 cells as the paused map shows them: what blocks a ship, the ports by
    role, and the ship's cell. Read from several shots, as the markers blink."""

    def __init__(self, shots, known=None):
        colours = [[set() for _ in range(56)] for _ in range(56)]
        for frame in shots:
            for cx in range(55):
                for cy in range(56):
                    colours[cx][cy].add(PALETTE.index(frame[32 + cy][52 + cx]) if frame[32 + cy][52 + cx] in PALETTE else -1)
        for cy in range(56):
            colours[55][cy].add(SEA)  # the last column is always sea and not drawn
        self.ship = self.find_ship(shots[0])
        marks = set()
        if self.ship:
            sx, sy = self.ship
            marks = {(sx, sy), (sx - 1, sy - 1), (sx + 1, sy - 1), (sx - 1, sy + 1), (sx + 1, sy + 1)}
        self.ports = {}
        self.blocked = [[False] * 56 for _ in range(56)]
        self.unknown = set()
        for cx in range(56):
            for cy in range(56):
                seen = colours[cx][cy]
                if PORT in seen and (cx, cy) not in marks:
                    self.ports[(cx, cy)] = 0 if MARK_BUY in seen else 1 if MARK_GIVE in seen else -1
                elif (cx, cy) in marks:
                    self.unknown.add((cx, cy))
                elif seen <= {SEA, PLAYER_A, PLAYER_B}:
                    pass  # sea, or a pirate on it
                else:
                    self.blocked[cx][cy] = True
        if known is not None:  # what an earlier look saw under today's marks
            for cx, cy in self.unknown:
                self.blocked[cx][cy] = known.blocked[cx][cy]
                if (cx, cy) in known.ports:
                    self.ports.setdefault((cx, cy), known.ports[(cx, cy)])
            self.unknown = {c for c in self.unknown if c in known.unknown}
        for cx, cy in self.unknown - {self.ship}:
            self.blocked[cx][cy] = True  # not seen yet: kept away from

    @staticmethod
    def find_ship(frame):
        for y in range(33, 87):
            for x in range(53, 106):
                c = frame[y][x]
                if c in (PALETTE[PLAYER_A], PALETTE[PLAYER_B]) and \
                        frame[y - 1][x - 1] == frame[y - 1][x + 1] == frame[y + 1][x - 1] == frame[y + 1][x + 1] == c:
                    return x - 52, y - 32
        return None

    def cell_blocks(self, cx, cy):
        return not (0 <= cx <= 55 and 0 <= cy <= 55) or self.blocked[cx][cy]

    def point_blocks(self, px, py):
        return px < 0 or self.cell_blocks(trunc16(px), trunc16(py))

    def step(self, x, y, dx, dy):
        """One frame of steering, by the game's rule: the vertical step first at the old x,
        then the horizontal one at the old y, each only if its corners are free."""
        if dy and any(self.point_blocks(px, py) for px, py in
                      ((x - 7, y + dy - 7), (x + 7, y + dy - 7), (x - 7, y + dy + 13), (x + 7, y + dy + 13))):
            dy = 0
        if dx and any(self.point_blocks(px, py) for px, py in
                      ((x + dx - 7, y - 7), (x + dx + 7, y - 7), (x + dx - 7, y + 7), (x + dx + 7, y + 7),
                       (x + dx - 7, y + 13), (x + dx + 7, y + 13))):
            dx = 0
        return x + dx, y + dy

    def docked_at(self, x, y):
        """The port the docking test finds for a ship at (x, y), or None."""
        for px, py in ((x, y + 6), (x, y - 4), (x + 6, y), (x - 6, y)):
            cell = (trunc16(px), trunc16(py))
            if px >= 0 and py >= 0 and 0 <= cell[0] <= 55 and 0 <= cell[1] <= 55 and cell in self.ports:
                return cell
        return None

    def roomy(self, x, y, margin):
        """Whether the ship's box, grown by margin pixels, is clear of anything blocking."""
        return not any(self.point_blocks(px, py) for px in (x - 7 - margin, x, x + 7 + margin)
                       for py in (y - 7 - margin, y + 3, y + 13 + margin))

    def run(self, at, move, frames):
        """Where holding move for frames takes the ship from at, and whether it kept clear
        of the coasts all the way."""
        clear = True
        for _ in range(frames):
            at = self.step(*at, *move)
            clear = clear and self.roomy(*at, 3)
        return at, clear

    def free(self, c0, c1, r0, r1):
        """Whether every cell of columns c0..c1 and rows r0..r1 lets a ship through."""
        return not any(self.cell_blocks(cx, cy) for cx in range(c0, c1 + 1) for cy in range(r0, r1 + 1))

    def course(self, start, port):
        """Holds of the d-pad (direction, frames) that take the ship from start to where it
        docks at port, and where it ends.

        The ship goes from spot to spot, 16 frames in one of eight directions at a time.
        A cell has two spots: where a new game puts a ship (x 8, y 6 within the cell; its
        box then spans the cell's column and three rows, the cell's and the ones above
        and below), and 8 pixels lower (its box spans the cell's row and the one below,
        for channels two cells wide); the ship moves between the two of a cell in 8
        frames. The cheapest way (a step 1, a turn 1, a step beside a coast 6 more) is
        found by Dijkstra's search. The first steps to a spot and the last ones into the
        port are worked out frame by frame with the game's own steering, and the end is
        a spot where the ship docks at that port even a few pixels off."""
        moves = [(dx, dy) for dx in (-1, 0, 1) for dy in (-1, 0, 1) if dx or dy]

        def spot(node):
            (cx, cy), low = node
            return cx * 16 + 8, cy * 16 + 6 + 8 * low

        def rows(node):
            (cx, cy), low = node
            return cy - 1 + low, cy + 1

        def docks(at):
            return all(self.docked_at(at[0] + ex, at[1] + ey) == port for ex in (-2, 0, 2) for ey in (-2, 0, 2))

        def reaches(at, move):
            for _ in range(30):
                at = self.step(*at, *move)
                if self.docked_at(*at) == port:
                    return True
            return False

        # From start to the spots of the cells around it: along one axis and then the
        # other, or on the diagonal first.
        queue, came, best = [], {}, {}
        sx, sy = trunc16(start[0]), trunc16(start[1])
        for node in (((sx + i, sy + j), low) for i in (-1, 0, 1) for j in (-1, 0, 1) for low in (0, 1)):
            gx, gy = spot(node)
            dx, dy = gx - start[0], gy - start[1]
            sign = ((dx > 0) - (dx < 0), (dy > 0) - (dy < 0))
            diagonal = min(abs(dx), abs(dy))
            for holds in ([((0, sign[1]), abs(dy)), ((sign[0], 0), abs(dx))],
                          [((sign[0], 0), abs(dx)), ((0, sign[1]), abs(dy))],
                          [(sign, diagonal), ((sign[0], 0), abs(dx) - diagonal), ((0, sign[1]), abs(dy) - diagonal)]):
                holds = [h for h in holds if h[1] > 0]
                at = start
                for move, frames in holds:
                    at, _ = self.run(at, move, frames)
                if at == (gx, gy):
                    key = (node, holds[-1][0] if holds else None)
                    if best.get(key, 1e9) > len(holds):
                        best[key] = len(holds)
                        came[key] = (None, holds)
                        heapq.heappush(queue, (len(holds), node, key[1]))
                    break
        # The ways into the port from the spots around it; one that a ship a couple of
        # pixels off its spot would miss (into a port between two coasts, say) costs more.
        endings = {}
        for node in (((cx, cy), low) for cx in range(port[0] - 2, port[0] + 3)
                     for cy in range(port[1] - 2, port[1] + 3) for low in (0, 1)):
            if not self.free(node[0][0], node[0][0], *rows(node)):
                continue
            for move in moves:
                at = spot(node)
                for frames in range(1, 25):
                    at = self.step(*at, *move)
                    if docks(at):
                        x, y = spot(node)
                        narrow = not all(reaches((x + ex, y + ey), move) for ex, ey in ((-2, 0), (2, 0), (0, -2), (0, 2)))
                        endings.setdefault(node, []).append((move, frames, at, 4 if narrow else 0))
                        break
        finish = None
        while queue:
            cost, node, last = heapq.heappop(queue)
            if cost > best.get((node, last), 1e9):
                continue
            if finish and cost >= finish[0]:
                break
            for move, frames, at, narrow in endings.get(node, ()):
                price = cost + frames / 16 + (move != last) + narrow
                if not finish or price < finish[0]:
                    finish = (price, (node, last), [(move, frames)], at)
            cell, low = node
            steps = [(((cell[0] + dx, cell[1] + dy), low), (dx, dy), 16) for dx, dy in moves]
            steps.append(((cell, 1 - low), (0, 1 if low == 0 else -1), 8))
            for to, move, frames in steps:
                c0, c1 = min(cell[0], to[0][0]), max(cell[0], to[0][0])
                r0, r1 = min(rows(node)[0], rows(to)[0]), max(rows(node)[1], rows(to)[1])
                if not self.free(c0, c1, r0, r1):
                    continue
                price = cost + frames / 16 + (move != last and last is not None) + \
                    (0 if self.free(c0 - 1, c1 + 1, r0, r1) else 6)
                if price < best.get((to, move), 1e9):
                    best[(to, move)] = price
                    came[(to, move)] = ((node, last), [(move, frames)])
                    heapq.heappush(queue, (price, to, move))
        if not finish:
            return None, start
        _, key, holds, end = finish
        while key is not None:
            key, before = came[key]
            holds = before + holds
        merged = []
        for move, frames in holds:
            if merged and merged[-1][0] == move:
                merged[-1][1] += frames
            else:
                merged.append([move, frames])
        # Checked frame by frame: the game's steering takes the ship where the course says.
        at = start
        for move, frames in merged:
            at, _ = self.run(at, move, frames)
        assert at == end, f"a course that ends at {at}, not {end}"
        return [tuple(h) for h in merged], end


BUTTONS = {(-1, 0): ("left",), (1, 0): ("right",), (0, -1): ("up",), (0, 1): ("down",),
           (-1, -1): ("left", "up"), (1, -1): ("right", "up"), (-1, 1): ("left", "down"), (1, 1): ("right", "down")}


# --- Playing ----------------------------------------------------------------------------

class Sunk(Exception):
    """The ship has sunk: its last words or the game-over screen are showing."""


class Player:
    def __init__(self, references):
        self.screens = Screens(references)
        self.pad = Pad()

    def wait_for(self, what, seconds, every=0.2, sailing=False):
        """Waits until what the screen shows is what; while sailing, a sunk ship ends
        the wait."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            frame = grab()
            if what(frame):
                return frame
            if sailing:
                self.alive(frame)
            time.sleep(every)
        raise SystemExit(f"player: gave up waiting ({seconds} s) for {getattr(what, '__name__', what)}")

    def shows(self, name):
        return lambda frame: self.screens.shows(frame, name)

    def through_credits(self):
        """From the start to the title menu: the first credit page must be exactly the
        native one, filling the screen 4 x 4."""
        self.wait_for(lambda f: f == self.screens.credits, 60)
        frame, fills = grab(whole=True)
        log("credits", "fill the screen" if fills else "DO NOT FILL THE SCREEN")
        if not fills or frame != self.screens.credits:
            raise SystemExit("player: the first credit page is not the game's picture, 4 x 4 over the screen")
        for _ in range(3):
            self.pad.press("a")
        self.wait_for(self.shows("menu"), 10)
        log("menu")

    def dismiss(self, until, seconds=120):
        """Presses A, a page at a time, until the screen shows what is wanted."""
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            frame = grab()
            if until(frame):
                return frame
            if self.screens.shows(frame, "dialog"):
                self.pad.press("a", after=100)
            time.sleep(0.3)
        raise SystemExit("player: a dialog did not end")

    def sailing(self, frame):
        return self.screens.shows(frame, "hull") and not self.screens.shows(frame, "dialog") and \
            not self.screens.shows(frame, "map")

    def look(self, known=None):
        """Pauses, reads the island map from a second's shots, and sails on."""
        self.pad.press("start")
        self.wait_for(self.shows("map"), 5, every=0.05, sailing=True)
        shots = []
        for _ in range(10):
            frame = grab()
            if self.screens.shows(frame, "map"):
                shots.append(frame)
            time.sleep(0.08)
        self.pad.press("start")
        self.wait_for(self.sailing, 5, every=0.05, sailing=True)
        sea = Sea(shots, known)
        log("map: ship at", sea.ship, "ports", sorted(sea.ports.items()))
        return sea

    def alive(self, frame):
        """Stops a game whose ship has sunk (its last words, or the game-over screen)."""
        if self.screens.shows(frame, "dialog") or self.screens.shows(frame, "game over"):
            raise Sunk()

    def drive(self, holds):
        for move, count in holds:
            self.pad.set(BUTTONS[move])
            time.sleep(count * FRAME_MS / 1000)
        self.pad.set(())

    def sail(self, sea, at, want):
        """Sails from at to the nearest port of the role wanted, until the docking bar
        shows over the ship; returns where the ship is and the port. A frame more or
        less at each turn, slow frames on a busy machine or a pirate's stun may leave it
        off its course: then the map says in which cell it is, and it steers again from
        there; a last few pixels are found by trying small steps around."""
        routes = []
        for port, role in sea.ports.items():
            if role == want:
                holds, end = sea.course(at, port)
                if holds:
                    routes.append((sum(f for _, f in holds), port, holds, end))
        if not routes:
            for cy in range(56):
                log("".join("S" if (cx, cy) == sea.ship else "P" if (cx, cy) in sea.ports else
                            "?" if (cx, cy) in sea.unknown else "#" if sea.blocked[cx][cy] else "." for cx in range(56)))
            raise SystemExit(f"player: no way from {at} to a port of role {want}")
        frames, port, holds, end = min(routes)
        tried = set()
        for tries in range(4):
            log("sailing to", port, "from", at, "in", frames, "frames:", holds)
            tried.add(at)
            self.drive(holds)
            at = end
            if self.docked(port):
                return at, port
            cell = self.look(sea).ship
            # Where the map says the ship is: in that cell, where the reckoning puts it
            # within a cell, or else (when that did not work before) at one of the
            # cell's spots, its middle or its corners.
            guesses = [at] if cell == (trunc16(at[0]), trunc16(at[1])) else []
            guesses += [(cell[0] * 16 + at[0] % 16, cell[1] * 16 + at[1] % 16)]
            guesses += [(cell[0] * 16 + dx, cell[1] * 16 + dy) for dx, dy in
                        ((8, 6), (8, 14), (8, 8), (3, 3), (12, 3), (3, 12), (12, 12))]
            for at in (g for g in guesses if g not in tried):
                holds, end = sea.course(at, port)
                if holds:
                    break
            else:
                break
            frames = sum(f for _, f in holds)
        # Small steps in every direction, further and further, back each time (on the
        # diagonals the game's steering slides a ship along a coast into line).
        for frames in (2, 4, 6, 9, 12):
            for move in BUTTONS:
                self.drive([(move, frames)])
                if self.docked(port):
                    return sea.run(at, move, frames)[0], port
                self.drive([((-move[0], -move[1]), frames)])
        raise SystemExit(f"player: no docking bar at {port}")

    def docked(self, port):
        """Whether the docking bar shows, looked for over a little more than a pirate's
        stun (16 frames), which hides it."""
        for _ in range(5):
            time.sleep(0.12)
            frame = grab()
            self.alive(frame)
            if self.docking(frame):
                log("docking at", port)
                return True
        return False

    @staticmethod
    def docking(frame):
        """The docking bar's white frame over the ship."""
        return all(frame[36][x] == PALETTE[15] for x in range(68, 93)) and \
            all(frame[39][x] == PALETTE[15] for x in range(68, 93))

    def new_game(self):
        """From the high score screen, a new game up to its first free sailing frame;
        the island map and where the ship is: where a new game puts it, (8, 6) in its
        cell. (The cells its mark hides on the map are kept clear of until a later look.)"""
        self.pad.press("a")
        self.wait_for(self.shows("dialog"), 10)
        self.dismiss(self.sailing)
        sea = self.look()
        return sea, (sea.ship[0] * 16 + 8, sea.ship[1] * 16 + 6)

    def one_game(self, sea, at):
        """A load of cargo, sold where it sells; the first load comes with a lesson."""
        at, port = self.sail(sea, at, 1)
        self.wait_for(self.shows("dialog"), 10)
        self.dismiss(self.sailing, seconds=30)
        log("cargo taken at", port)
        sea = self.look(sea)
        for visit in range(4):
            at, port = self.sail(sea, at, 0)
            # Under the bar until the sale ends the visit (the port closes, the bar goes)
            # or a pirate's hit cuts it short; the map then shows whether the port bought.
            self.wait_for(lambda f: not self.docking(f), 15, sailing=True)
            time.sleep(0.5)
            sea = self.look(sea)
            if 0 not in sea.ports.values():
                log("sold at", port)
                return
            log("the visit was cut short")
        raise SystemExit("player: the buying port did not buy")

    def first(self):
        self.through_credits()
        # Play: with no best score yet, the welcome comes first, then the high score.
        self.pad.press("a")
        self.dismiss(self.shows("high score"))
        log("high score")
        best = lambda f: self.screens.shows(f, "dialog") and self.screens.on_black(f)
        for game in range(3):
            try:
                self.one_game(*self.new_game())
            except Sunk:
                pass
            # The pirates sink the ship sooner or later: with the gold of a sale the game
            # ends on the new best score's dialog, alone on the screen; without, on the
            # sinking words over the sea and then the game-over screen.
            frame = self.dismiss(lambda f: best(f) or self.screens.shows(f, "game over"), seconds=400)
            if best(frame):
                break
            log("sunk before a sale")
            self.pad.press("a")
            self.wait_for(self.shows("menu"), 10)
            self.pad.press("a")
            self.wait_for(self.shows("high score"), 10)
        else:
            raise SystemExit("player: three games sunk before a sale")
        log("game over with a new best score")
        self.dismiss(self.shows("menu"), seconds=60)
        log("menu")

    def second(self):
        """The best score of the first run is read again: Play goes straight to the high
        score screen, which must be exactly the native one for that score."""
        self.through_credits()
        self.pad.press("a")
        self.wait_for(lambda f: f == self.screens.final, 10)
        log("high score")

    def quit(self):
        """Hotkey + Start, as a player leaves a port."""
        self.pad.set(("guide",))
        time.sleep(0.2)
        self.pad.set(("guide", "start"))
        time.sleep(0.2)
        self.pad.set(())
        log("quit")


def main():
    player = Player(sys.argv[2])
    try:
        getattr(player, sys.argv[1])()
        player.quit()
    finally:
        player.pad.set(())


if __name__ == "__main__":
    main()
