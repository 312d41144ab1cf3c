"""Quillbarrow's band: the instruments the tunes and the effects are played on.

A melodic instrument is a function (freq, gate, vel, rng) -> samples: freq in Hz,
gate the seconds the note is held, vel its strength 0..1, rng a seeded
random.Random for the small differences between one stroke and the next.
The sound runs on past the gate by the instrument's own release or ring.

A drum is a function (vel, rng) -> samples.
"""

import math

from dsp import (RATE, adsr, cents, decay, envelope, harmonic_table, lowpass1, highpass1, mul,
                 noise, osc, osc_glide, samples, shape_table, svf, sweep, vibrato)

SINE = harmonic_table([1.0])


# ---------------------------------------------------------------- melodic

def concertina(freq, gate, vel, rng):
    """Two free reeds a few cents apart: the squeezebox of the shanty."""
    env = adsr(gate, 0.02, 0.25, 0.78, 0.06)
    n = len(env)
    table = shape_table("reed", freq)
    a = osc(table, cents(freq, -3.0), n, rng.random())
    b = osc(table, cents(freq, 3.0), n, rng.random())
    tone = lowpass1([p + q for p, q in zip(a, b)], 1800.0 + 1.5 * freq)
    k = 0.5 * vel
    return [v * e * k for v, e in zip(tone, env)]


def whistle(freq, gate, vel, rng):
    """A wooden flute: nearly pure, a breathy start, vibrato that comes in late."""
    env = adsr(gate, 0.045, 0.5, 0.85, 0.10)
    n = len(env)
    freqs = vibrato(freq, n, 5.0, 14.0, delay=0.22, rise=0.3)
    scoop = min(n, samples(0.035))
    for i in range(scoop):
        freqs[i] *= 2.0 ** (-35.0 * (1.0 - i / scoop) / 1200.0)
    tone = osc_glide(harmonic_table([1.0, 0.22, 0.07, 0.03]), freqs, rng.random())
    chiff = mul(svf(noise(n, rng), 2.2 * freq, 2.5, "band"), decay(n, 0.01, 0.05))
    breath = svf(noise(n, rng), 3.0 * freq, 1.2, "band")
    k = 0.55 * vel
    return [(t + 0.9 * c + 0.05 * b) * e * k for t, c, b, e in zip(tone, chiff, breath, env)]


def pluck(freq, gate, vel, rng, bright=0.5, ring=1.6, release=0.08):
    """A plucked string (Karplus-Strong): a burst of noise circulating in a delay
    line one period long, softened a little on every pass. bright sets the pick
    (0 soft thumb .. 1 hard plectrum), ring the seconds the string takes to die
    away; after the gate the string is damped over release seconds."""
    period = RATE / freq
    length = int(period - 0.5)
    frac = period - 0.5 - length
    if frac < 0.1:
        length -= 1
        frac += 1.0
    coeff = (1.0 - frac) / (1.0 + frac)           # all-pass tuning of the fraction
    loss = math.exp(-period / (ring * RATE) * 3.0)  # -60 dB after ring seconds, roughly
    burst = lowpass1(noise(length, rng), 300.0 + 6000.0 * bright * bright)
    mean = sum(burst) / length
    buf = [v - mean for v in burst]
    g = max(1, samples(gate))
    total = g + samples(release)
    out = [0.0] * total
    damp_k = math.exp(-6.0 / max(1, total - g))
    idx, prev, ap_in, ap_out = 0, 0.0, 0.0, 0.0
    damp = 1.0
    for i in range(total):
        y = buf[idx]
        if i >= g:
            damp *= damp_k
        out[i] = y * damp
        avg = 0.5 * (y + prev) * loss
        prev = y
        ap_out = coeff * (avg - ap_out) + ap_in
        ap_in = avg
        buf[idx] = ap_out
        idx += 1
        if idx == length:
            idx = 0
    attack = min(total, 24)
    for i in range(attack):
        out[i] *= i / attack
    last = min(total, 64)
    for i in range(last):
        out[total - 1 - i] *= i / last
    k = 1.2 * vel
    return [v * k for v in out]


def guitar(freq, gate, vel, rng):
    return pluck(freq, gate, vel, rng, bright=0.45, ring=1.4)


def harp(freq, gate, vel, rng):
    """Soft, long-ringing strings for the sailing tune's rippling chords."""
    return pluck(freq, gate, vel, rng, bright=0.3, ring=2.5, release=0.25)


def upright_bass(freq, gate, vel, rng):
    """A thumbed string bass with a little sine under it so small speakers still hum it."""
    string = pluck(freq, gate, vel, rng, bright=0.25, ring=1.2, release=0.06)
    env = adsr(gate, 0.006, 0.25, 0.5, 0.06)
    body = osc(SINE, freq, len(env))
    return [s + 0.35 * vel * b * e for s, b, e in zip(string, body, env)]


def synth_bass(freq, gate, vel, rng):
    """A round, driving bass: saw and square through a low-pass that snaps shut."""
    env = adsr(gate, 0.004, 0.12, 0.6, 0.03)
    n = len(env)
    raw = [0.6 * a + 0.4 * b for a, b in zip(osc(shape_table("saw", freq), cents(freq, 2.0), n),
                                              osc(shape_table("square", freq), cents(freq, -2.0), n))]
    bright = decay(n, 0.002, 0.07)
    cut = [freq * (2.0 + 7.0 * b) for b in bright]
    tone = svf(raw, cut, 0.9)
    k = 0.7 * vel
    return [v * e * k for v, e in zip(tone, env)]


def strings(freq, gate, vel, rng, attack=0.12, release=0.25, bright=3.0):
    """A small string section: three saws a few cents apart behind a low-pass."""
    env = adsr(gate, attack, 0.6, 0.8, release)
    n = len(env)
    table = shape_table("saw", freq)
    raw = [0.0] * n
    for detune in (-7.0, 0.0, 6.0):
        raw = [a + b for a, b in zip(raw, osc(table, cents(freq, detune), n, rng.random()))]
    tone = svf(raw, min(5000.0, freq * bright + 300.0), 0.6)
    k = 0.3 * vel
    return [v * e * k for v, e in zip(tone, env)]


def pad(freq, gate, vel, rng):
    """Slow, dark strings that sit behind the sailing tune."""
    return strings(freq, gate, vel, rng, attack=0.35, release=0.6, bright=1.8)


def stab(freq, gate, vel, rng):
    """Short, bitten string chords for the fight music."""
    return strings(freq, gate, vel, rng, attack=0.008, release=0.06, bright=4.0)


def brass(freq, gate, vel, rng):
    """A horn: a saw whose low-pass opens as the player blows, with a scoop up to pitch."""
    env = adsr(gate, 0.03, 0.25, 0.8, 0.09)
    n = len(env)
    freqs = vibrato(freq, n, 5.5, 10.0, delay=0.3, rise=0.3)
    scoop = min(n, samples(0.04))
    for i in range(scoop):
        freqs[i] *= 2.0 ** (-60.0 * (1.0 - i / scoop) / 1200.0)
    raw = osc_glide(shape_table("saw", freq), freqs, rng.random())
    blow = adsr(gate, 0.035, 0.2, 0.45, 0.09)
    cut = [freq * (1.2 + 5.0 * b) for b in blow]
    tone = svf(raw, cut, 0.8)
    k = 0.6 * vel
    return [v * e * k for v, e in zip(tone, env)]


def bell(freq, gate, vel, rng, ring=0.9):
    """A small glockenspiel bar: a few inharmonic partials, the high ones fade first."""
    n = samples(max(gate, ring * 1.5)) + samples(0.05)
    out = [0.0] * n
    for ratio, amp, tau in ((1.0, 1.0, ring), (2.76, 0.45, ring * 0.35),
                            (5.40, 0.22, ring * 0.15), (8.93, 0.10, ring * 0.08)):
        f = freq * ratio
        if f > 10000.0:
            continue
        part = mul(osc(SINE, f, n, rng.random()), decay(n, 0.0015, tau))
        out = [a + amp * b for a, b in zip(out, part)]
    tail = samples(0.05)
    for i in range(tail):
        out[n - 1 - i] *= i / tail
    k = 0.35 * vel
    return [v * k for v in out]


# ---------------------------------------------------------------- drums

def kick(vel, rng):
    """A bass drum: a sine thumped down from 150 to 50 Hz, with a felt click on top."""
    n = samples(0.35)
    body = mul(osc_glide(SINE, [50.0 + 100.0 * math.exp(-i / (0.03 * RATE)) for i in range(n)]),
               decay(n, 0.002, 0.11))
    click = mul(svf(noise(n, rng), 1800.0, 0.8, "band"), decay(n, 0.0005, 0.006))
    return [vel * (0.6 * b + 0.5 * c) for b, c in zip(body, click)]


def snare(vel, rng):
    """A snare: a short drum-head tone and the rattle of the wires."""
    n = samples(0.25)
    tone = mul(osc_glide(SINE, sweep(230.0, 180.0, n)), decay(n, 0.001, 0.05))
    wires = mul(highpass1(svf(noise(n, rng), 5000.0, 0.5), 900.0), decay(n, 0.001, 0.075))
    return [vel * (0.45 * t + 0.75 * w) for t, w in zip(tone, wires)]


def hat(vel, rng):
    """A closed hi-hat: a tick of bright noise."""
    n = samples(0.06)
    x = highpass1(highpass1(noise(n, rng), 6000.0), 6000.0)
    return [vel * 0.55 * v * e for v, e in zip(x, decay(n, 0.0008, 0.014))]


def open_hat(vel, rng):
    n = samples(0.3)
    x = highpass1(highpass1(noise(n, rng), 5500.0), 5500.0)
    return [vel * 0.4 * v * e for v, e in zip(x, decay(n, 0.001, 0.09))]


def shaker(vel, rng):
    """Seeds in a gourd: a soft swish with a slower rise than a hat."""
    n = samples(0.09)
    x = svf(noise(n, rng), 5500.0, 1.2, "band")
    env = envelope([(0.0, 0.0), (0.015, 1.0), (0.03, 0.5), (0.09, 0.0)], n)
    return [vel * 1.2 * v * e for v, e in zip(x, env)]


def frame_drum(vel, rng, pitch=105.0, tau=0.16):
    """A goatskin frame drum struck with a stick: low boom with a papery slap."""
    n = samples(0.4)
    body = mul(osc_glide(SINE, [pitch * (1.0 + 0.5 * math.exp(-i / (0.012 * RATE))) for i in range(n)]),
               decay(n, 0.002, tau))
    skin = mul(svf(noise(n, rng), 700.0, 1.0, "band"), decay(n, 0.001, 0.025))
    return [vel * (0.5 * b + 0.8 * s) for b, s in zip(body, skin)]


def frame_tip(vel, rng):
    """The light back-stroke of the frame drum, higher and drier."""
    return [0.6 * v for v in frame_drum(vel, rng, pitch=150.0, tau=0.06)]


def tom(vel, rng, pitch=110.0):
    n = samples(0.45)
    body = mul(osc_glide(SINE, [pitch * (1.0 + 0.4 * math.exp(-i / (0.04 * RATE))) for i in range(n)]),
               decay(n, 0.002, 0.17))
    skin = mul(svf(noise(n, rng), 1200.0, 0.8, "band"), decay(n, 0.001, 0.03))
    return [vel * (0.6 * b + 0.3 * s) for b, s in zip(body, skin)]


def tom_high(vel, rng):
    return tom(vel, rng, pitch=165.0)


def tom_low(vel, rng):
    return tom(vel, rng, pitch=80.0)


def crash(vel, rng):
    """A crash cymbal: a wash of bright noise that takes a second to settle."""
    n = samples(1.4)
    x = highpass1(svf(noise(n, rng), 7000.0, 0.6), 3000.0)
    return [vel * 0.45 * v * e for v, e in zip(x, decay(n, 0.002, 0.35))]
