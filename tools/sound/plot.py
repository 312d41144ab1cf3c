"""Pictures of the game's sounds, for looking at what cannot be heard.

    /usr/bin/python3 tools/sound/plot.py data /tmp/sound-plots [name ...]

writes, for every WAV (or the ones named), <name>.png: on top the waveform
(the highest and lowest sample of each pixel column, with the -3 dBFS and
clipping levels marked), below it a spectrogram (0 to 11 kHz upwards, loudness
as brightness, 60 dB of range). Music gets a third strip: the last and first
20 ms of the loop joined at the seam, sample by sample, so a click shows.
"""

import math
import os
import struct
import sys
import zlib

from dsp import RATE, read_wav

WIDTH = 800
WAVE_H = 160
SPEC_H = 128
SEAM_H = 120
FFT_SIZE = 256

# grey levels, then marker colours
COLOURS = [(12 * i, 12 * i, 14 * i) for i in range(16)]
COLOURS += [(235, 235, 240), (90, 200, 255), (255, 90, 70), (255, 210, 60), (60, 60, 70)]
WHITE, WAVE, RED, YELLOW, GRID = 16, 17, 18, 19, 20
HEAT = [(int(255 * min(1, 3 * t)), int(255 * min(1, max(0, 3 * t - 1))),
         int(255 * min(1, max(0, 3 * t - 2)))) for t in (i / 63 for i in range(64))]


def write_png(path, width, height, pixels, palette):
    """An 8-bit indexed PNG; pixels is a flat row-major list of palette indices."""
    raw = bytearray()
    for y in range(height):
        raw.append(0)
        raw.extend(pixels[y * width:(y + 1) * width])

    def chunk(kind, data):
        return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)

    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n")
        f.write(chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 3, 0, 0, 0)))
        f.write(chunk(b"PLTE", b"".join(bytes(c) for c in palette)))
        f.write(chunk(b"IDAT", zlib.compress(bytes(raw), 9)))
        f.write(chunk(b"IEND", b""))


def fft(values):
    """Magnitudes of the first half of a radix-2 FFT of real values."""
    n = len(values)
    re = list(values)
    im = [0.0] * n
    j = 0
    for i in range(1, n):
        bit = n >> 1
        while j & bit:
            j ^= bit
            bit >>= 1
        j |= bit
        if i < j:
            re[i], re[j] = re[j], re[i]
    size = 2
    while size <= n:
        half = size // 2
        step = -2.0 * math.pi / size
        for k in range(half):
            wr, wi = math.cos(step * k), math.sin(step * k)
            for start in range(0, n, size):
                a, b = start + k, start + k + half
                tr = wr * re[b] - wi * im[b]
                ti = wr * im[b] + wi * re[b]
                re[b], im[b] = re[a] - tr, im[a] - ti
                re[a], im[a] = re[a] + tr, im[a] + ti
        size *= 2
    return [math.hypot(re[i], im[i]) for i in range(n // 2)]


def picture(x, music):
    height = WAVE_H + SPEC_H + (SEAM_H if music else 0)
    px = [0] * (WIDTH * height)
    n = len(x)
    mid = WAVE_H // 2

    def put(col, row, c):
        if 0 <= col < WIDTH and 0 <= row < height:
            px[row * WIDTH + col] = c

    # waveform
    for level, c in ((0.7079, GRID), (1.0, RED)):
        for col in range(0, WIDTH, 2):
            put(col, mid - int(level * (mid - 1)), c)
            put(col, mid + int(level * (mid - 1)), c)
    for col in range(WIDTH):
        seg = x[col * n // WIDTH:max(col * n // WIDTH + 1, (col + 1) * n // WIDTH)]
        if not seg:
            continue
        hi, lo = max(seg) / 32768.0, min(seg) / 32768.0
        for row in range(mid - int(hi * (mid - 1)), mid - int(lo * (mid - 1)) + 1):
            put(col, row, WAVE)
    # spectrogram
    window = [0.5 - 0.5 * math.cos(2 * math.pi * i / FFT_SIZE) for i in range(FFT_SIZE)]
    for col in range(WIDTH):
        start = col * max(0, n - FFT_SIZE) // WIDTH
        frame = [x[start + i] / 32768.0 * window[i] if start + i < n else 0.0 for i in range(FFT_SIZE)]
        mags = fft(frame)
        for row in range(SPEC_H):
            m = mags[min(len(mags) - 1, row * len(mags) // SPEC_H)]
            level = 20 * math.log10(m / (FFT_SIZE / 4) + 1e-9)
            t = max(0.0, min(1.0, (level + 60.0) / 60.0))
            put(col, WAVE_H + SPEC_H - 1 - row, 21 + int(t * 63))
    # the seam: 20 ms either side, one sample every few pixels
    if music:
        span = int(0.02 * RATE)
        around = x[-span:] + x[:span]
        top = WAVE_H + SPEC_H
        smid = top + SEAM_H // 2
        for row in range(top, top + SEAM_H):
            put(WIDTH // 2, row, YELLOW)
        prev = None
        for i, v in enumerate(around):
            col = i * WIDTH // len(around)
            row = smid - int(v / 32768.0 * (SEAM_H // 2 - 1))
            if prev is not None:
                for r in range(min(prev, row), max(prev, row) + 1):
                    put(col, r, WHITE)
            prev = row
    return height, px


def main(argv):
    if len(argv) < 3:
        print(__doc__)
        return 2
    src, dest, names = argv[1], argv[2], argv[3:]
    os.makedirs(dest, exist_ok=True)
    palette = COLOURS + HEAT
    for fname in sorted(os.listdir(src)):
        name, ext = os.path.splitext(fname)
        if ext != ".wav" or (names and name not in names):
            continue
        _, _, _, x = read_wav(os.path.join(src, fname))
        height, px = picture(x, name in ("menu", "ingame", "danger"))
        out = os.path.join(dest, name + ".png")
        write_png(out, WIDTH, height, px, palette)
        print(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
