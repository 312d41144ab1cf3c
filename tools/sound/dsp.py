"""The building blocks of Quillbarrow's synthesiser: plain Python, standard library only.

A sound is a list of floats at RATE samples a second, nominally within -1..1.
Everything here is deterministic: noise comes from a random.Random that the
caller seeds, so the same script always writes the same bytes.

Oscillators read precomputed single-cycle tables, envelopes and filters are
ordinary per-sample loops or list comprehensions; nothing is clever, so a
sound can be followed from the instrument down to the sample.
"""

import array
import math
import sys
import wave

RATE = 22050          # samples a second, the rate the game opens the mixer at
TABLE_SIZE = 4096     # samples in one cycle of an oscillator table
TABLE_MASK = TABLE_SIZE - 1
TWO_PI = 2.0 * math.pi
NYQUIST_SAFE = 9500.0 # highest partial an oscillator table may hold, in Hz


def samples(seconds):
    """Number of samples in a span of time."""
    return int(round(seconds * RATE))


def midi_freq(note):
    """Frequency of a MIDI note number (69 = A4 = 440 Hz)."""
    return 440.0 * 2.0 ** ((note - 69) / 12.0)


def cents(freq, amount):
    """freq moved by amount hundredths of a semitone."""
    return freq * 2.0 ** (amount / 1200.0)


# ---------------------------------------------------------------- oscillators

_tables = {}


def harmonic_table(amps):
    """One cycle holding harmonic k+1 at amplitude amps[k] (sine phase), peak 1."""
    key = tuple(amps)
    table = _tables.get(key)
    if table is None:
        step = TWO_PI / TABLE_SIZE
        partials = [(k + 1, a) for k, a in enumerate(amps) if a != 0.0]
        table = [sum(a * math.sin(k * i * step) for k, a in partials) for i in range(TABLE_SIZE)]
        peak = max(abs(v) for v in table) or 1.0
        table = [v / peak for v in table]
        _tables[key] = table
    return table


# Harmonic counts a shape table is built with; a note gets the richest one
# whose top partial stays below NYQUIST_SAFE, so few tables are ever made.
_HARMONIC_STEPS = (1, 2, 3, 4, 6, 8, 12, 16, 24, 32, 48)


def _harmonic_count(freq):
    limit = NYQUIST_SAFE / max(freq, 1.0)
    count = 1
    for h in _HARMONIC_STEPS:
        if h <= limit:
            count = h
    return count


def shape_table(shape, freq):
    """A band-limited table of a classic wave shape for a note of freq Hz.

    saw: all harmonics 1/k; square: odd harmonics 1/k; triangle: odd harmonics
    1/k^2 with alternating sign; reed: a saw with a dip at the 2nd harmonic,
    the nasal tone of a free reed; sine: one partial.
    """
    n = _harmonic_count(freq)
    if shape == "sine":
        amps = [1.0]
    elif shape == "saw":
        amps = [1.0 / k for k in range(1, n + 1)]
    elif shape == "square":
        amps = [1.0 / k if k % 2 else 0.0 for k in range(1, n + 1)]
    elif shape == "triangle":
        amps = [((-1) ** ((k - 1) // 2)) / (k * k) if k % 2 else 0.0 for k in range(1, n + 1)]
    elif shape == "reed":
        amps = [(0.45 if k == 2 else 1.0) / k ** 0.85 for k in range(1, n + 1)]
    else:
        raise ValueError("unknown wave shape " + shape)
    return harmonic_table(amps)


def osc(table, freq, n, phase=0.0):
    """n samples of table played at a steady freq; phase in cycles (0..1)."""
    inc = freq * TABLE_SIZE / RATE
    p0 = phase * TABLE_SIZE
    return [table[int(p0 + i * inc) & TABLE_MASK] for i in range(n)]


def osc_glide(table, freqs, phase=0.0):
    """The table played at a frequency that changes every sample (vibrato, slides)."""
    k = TABLE_SIZE / RATE
    p = phase * TABLE_SIZE
    out = []
    append = out.append
    for f in freqs:
        append(table[int(p) & TABLE_MASK])
        p += f * k
    return out


def vibrato(freq, n, rate, depth_cents, delay=0.0, rise=0.15):
    """Per-sample frequencies of a note with vibrato that fades in after delay seconds."""
    d0, r = samples(delay), max(1, samples(rise))
    w = TWO_PI * rate / RATE
    depth = depth_cents / 1200.0 * math.log(2.0)
    out = []
    for i in range(n):
        amount = 0.0 if i < d0 else min(1.0, (i - d0) / r)
        out.append(freq * math.exp(depth * amount * math.sin(w * (i - d0))))
    return out


def sweep(f0, f1, n, curve="exp"):
    """Frequencies going from f0 to f1 over n samples, exponentially or linearly."""
    if n <= 1:
        return [f0] * n
    if curve == "exp":
        ratio = (f1 / f0) ** (1.0 / (n - 1))
        return [f0 * ratio ** i for i in range(n)]
    return [f0 + (f1 - f0) * i / (n - 1) for i in range(n)]


def noise(n, rng):
    """White noise from a seeded random.Random."""
    r = rng.random
    return [2.0 * r() - 1.0 for _ in range(n)]


# ---------------------------------------------------------------- envelopes

def envelope(points, n):
    """Breakpoint envelope: points are (seconds, level), joined by straight lines;
    the level holds after the last point. Used for shaping effects by hand."""
    out = [0.0] * n
    pts = [(samples(t), v) for t, v in points]
    for (i0, v0), (i1, v1) in zip(pts, pts[1:]):
        span = max(1, i1 - i0)
        for i in range(max(0, i0), min(n, i1)):
            out[i] = v0 + (v1 - v0) * (i - i0) / span
    last_i, last_v = pts[-1]
    for i in range(max(0, last_i), n):
        out[i] = last_v
    return out


def decay(n, attack, tau, hold=0.0):
    """Percussive envelope: a straight rise over attack seconds, an optional hold,
    then an exponential fall with time constant tau seconds."""
    a, h = max(1, samples(attack)), samples(hold)
    k = math.exp(-1.0 / max(1.0, tau * RATE))
    out = [0.0] * n
    level = 1.0
    for i in range(n):
        if i < a:
            out[i] = i / a
        elif i < a + h:
            out[i] = 1.0
        else:
            out[i] = level
            level *= k
    return out


def adsr(gate, attack, dec, sustain, release):
    """Classic note envelope. gate is the held length in seconds; the result runs
    on for release seconds after it. Attack is a straight rise, decay and release
    fall exponentially (time constants), so long notes settle and never click off."""
    g = max(1, samples(gate))
    a = max(1, samples(attack))
    rel = max(1, samples(release))
    kd = math.exp(-1.0 / max(1.0, dec * RATE))
    out = []
    level = 0.0
    for i in range(g):
        if i < a:
            level = (i + 1) / a
        else:
            level = sustain + (level - sustain) * kd
        out.append(level)
    # release: exponential towards zero, then a straight last stretch to exactly 0
    kr = math.exp(-5.0 / rel)
    for i in range(rel):
        level *= kr
        out.append(level * (1.0 - (i + 1) / rel))
    return out


def fade_edges(x, fade_in=0.003, fade_out=0.010):
    """Straight fades at both ends so a sound starts and ends at silence."""
    n = len(x)
    a = min(n, max(1, samples(fade_in)))
    b = min(n, max(1, samples(fade_out)))
    y = list(x)
    for i in range(a):
        y[i] *= i / a
    for i in range(b):
        y[n - 1 - i] *= i / b
    return y


# ---------------------------------------------------------------- arithmetic

def mul(x, y):
    """Sample-by-sample product (the shorter length)."""
    return [a * b for a, b in zip(x, y)]


def scale(x, g):
    return [a * g for a in x]


def mix_into(dest, src, at=0, gain=1.0, wrap=False):
    """Add src into dest from sample at. With wrap, whatever runs past the end
    comes round to the start: that is how a loop carries its own note tails."""
    n = len(dest)
    if wrap:
        pos = at % n
        while src:
            room = n - pos
            part, src = src[:room], src[room:]
            dest[pos:pos + len(part)] = [d + gain * s for d, s in zip(dest[pos:pos + len(part)], part)]
            pos = 0
        return dest
    if at >= n:
        return dest
    if at < 0:
        src, at = src[-at:], 0
    end = min(n, at + len(src))
    dest[at:end] = [d + gain * s for d, s in zip(dest[at:end], src)]
    return dest


def silence(seconds):
    return [0.0] * samples(seconds)


def peak(x):
    return max((abs(v) for v in x), default=0.0)


def rms(x):
    return math.sqrt(sum(v * v for v in x) / len(x)) if x else 0.0


def db(ratio):
    return 20.0 * math.log10(ratio) if ratio > 0 else -999.0


def from_db(value):
    return 10.0 ** (value / 20.0)


# ---------------------------------------------------------------- filters

def lowpass1(x, cutoff):
    """One-pole low-pass, 6 dB an octave (trapezoidal, so the cutoff is true
    even high up)."""
    g = math.tan(math.pi * min(cutoff, RATE * 0.45) / RATE)
    k = g / (1.0 + g)
    y, s = [], 0.0
    append = y.append
    for v in x:
        u = (v - s) * k
        low = u + s
        s = low + u
        append(low)
    return y


def highpass1(x, cutoff):
    """One-pole high-pass (the input minus its one-pole low-pass)."""
    return [a - b for a, b in zip(x, lowpass1(x, cutoff))]


def svf(x, cutoff, q=0.707, mode="low"):
    """State-variable filter (trapezoidal, stable at any setting).

    cutoff is a number or a list with one frequency per sample, for sweeps;
    mode is low, band (peak gain 1 at the centre) or high."""
    n = len(x)
    if isinstance(cutoff, (int, float)):
        cutoff = [cutoff] * n
    r = 1.0 / (2.0 * q)
    ic1 = ic2 = 0.0
    out = []
    append = out.append
    pi_over_rate = math.pi / RATE
    tan = math.tan
    last_f, g, a1, a2, a3 = None, 0.0, 0.0, 0.0, 0.0
    for i in range(n):
        f = cutoff[i]
        if f != last_f:
            last_f = f
            g = tan(pi_over_rate * min(f, RATE * 0.45))
            a1 = 1.0 / (1.0 + 2.0 * r * g + g * g)
            a2 = g * a1
            a3 = g * a2
        v0 = x[i]
        v3 = v0 - ic2
        v1 = a1 * ic1 + a2 * v3
        v2 = ic2 + a2 * ic1 + a3 * v3
        ic1 = 2.0 * v1 - ic1
        ic2 = 2.0 * v2 - ic2
        if mode == "low":
            append(v2)
        elif mode == "band":
            append(2.0 * r * v1)
        else:
            append(v0 - 2.0 * r * v1 - v2)
    return out


def resonator(x, freq, q):
    """A band-pass tuned to freq: the formants of a voice, the ring of a hull plank."""
    return svf(x, freq, q, "band")


def saturate(x, drive):
    """Soft clipping: the signal, scaled to peak 1, through tanh(drive*x). Rounds off
    the first instant of an impact so its body can be heard at the same peak."""
    top = peak(x) or 1.0
    k = 1.0 / math.tanh(drive)
    return [k * math.tanh(drive * v / top) for v in x]


def dc_block(x):
    """Remove any steady offset: subtract the mean."""
    if not x:
        return x
    m = sum(x) / len(x)
    return [v - m for v in x]


# ---------------------------------------------------------------- reverb

def _comb(x, delay, gain):
    """Feedback comb y[n] = x[n] + gain*y[n-delay], worked a block of delay samples at a time."""
    y = list(x)
    for start in range(delay, len(y), delay):
        end = min(len(y), start + delay)
        y[start:end] = [a + gain * b for a, b in zip(y[start:end], y[start - delay:end - delay])]
    return y


def _allpass(x, delay, gain):
    """Schroeder all-pass y[n] = -g x[n] + x[n-d] + g y[n-d], a block at a time."""
    y = [-gain * v for v in x[:delay]]
    for start in range(delay, len(x), delay):
        end = min(len(x), start + delay)
        y.extend(-gain * a + b + gain * c
                 for a, b, c in zip(x[start:end], x[start - delay:end - delay], y[start - delay:end - delay]))
    return y


def reverb(x, size=1.0, tone=3000.0):
    """A small Schroeder room: four parallel combs and two all-passes. Returns the
    wet signal only (the caller mixes it in); tone darkens what goes in."""
    src = lowpass1(x, tone)
    combs = ((1116, 0.80), (1188, 0.79), (1277, 0.78), (1356, 0.77))
    wet = [0.0] * len(x)
    for d, g in combs:
        c = _comb(src, max(1, int(d * size * RATE / 44100)), g)
        wet = [a + b for a, b in zip(wet, c)]
    for d in (556, 341):
        wet = _allpass(wet, max(1, int(d * RATE / 44100)), 0.5)
    return scale(wet, 0.25)


def looped(process, x):
    """Run a filter over a loop as if it had been playing for ever: process two
    copies back to back and keep the second, whose start has heard the end."""
    n = len(x)
    return process(x + x)[n:]


# ---------------------------------------------------------------- loudness

def loudness(x, window=0.05):
    """How loud a sound seems, in dBFS: the loudest 50 ms stretch of the signal
    after a gentle high-pass, since a boom of the same energy as a blip sounds
    softer. All effects are set to one loudness by this measure."""
    y = highpass1(highpass1(x, 150.0), 150.0)
    w = max(1, samples(window))
    best = 0.0
    acc = 0.0
    sq = [v * v for v in y]
    for i, v in enumerate(sq):
        acc += v
        if i >= w:
            acc -= sq[i - w]
        if acc > best:
            best = acc
    return db(math.sqrt(best / w)) if best > 0 else -999.0


# ---------------------------------------------------------------- files

def to_pcm16(x, level=1.0):
    """Floats to 16-bit samples, x*level*32767 rounded; stops at +-32767."""
    k = level * 32767.0
    out = array.array("h", (max(-32767, min(32767, int(round(v * k)))) for v in x))
    return out


def write_wav(path, pcm):
    """Write 16-bit mono PCM (an array('h')) as a WAV file at RATE."""
    data = array.array("h", pcm)
    if sys.byteorder == "big":
        data.byteswap()
    with wave.open(path, "wb") as w:
        w.setnchannels(1)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def read_wav(path):
    """(channels, sample width, rate, samples of the first channel as ints)."""
    with wave.open(path, "rb") as w:
        ch, width, rate, n = w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes()
        raw = w.readframes(n)
    if width != 2:
        return ch, width, rate, []
    data = array.array("h")
    data.frombytes(raw[:len(raw) // 2 * 2])
    if sys.byteorder == "big":
        data.byteswap()
    return ch, width, rate, list(data[::ch])
