"""The twelve sound effects of Quillbarrow.

Each effect is a function rng -> samples (floats); synth.py gives it a fixed
seed, finishes its edges and sets its loudness. The little tunes among them
(gameover, nextlevel) are written in the same notation as the music.
"""

import math

import instruments as ins
from dsp import (RATE, decay, envelope, highpass1, lowpass1, midi_freq, mix_into, mul, noise, osc,
                 osc_glide, resonator, reverb, samples, saturate, shape_table, silence, svf, sweep)
from sequencer import parse

SINE = ins.SINE


def score(buf, instrument, line, step, at=0.0, gain=1.0, rng=None, legato=0.95):
    """Play one line of note notation into buf: step seconds a token, from at seconds."""
    events, _ = parse(line, "notes", 1, 1, "effect")
    for e in events:
        note = instrument(midi_freq(e.what), e.length * step * legato, e.vel, rng)
        mix_into(buf, note, samples(at + e.tick * step), gain)
    return buf


def blip(freq, length, tau, glide=1.0, shape="triangle"):
    """A short tone that falls away, its pitch sliding from freq*glide to freq."""
    n = samples(length)
    slide = samples(0.015)
    freqs = [freq * (glide + (1.0 - glide) * min(1.0, i / slide)) for i in range(n)]
    return mul(osc_glide(shape_table(shape, freq * max(1.0, glide)), freqs), decay(n, 0.002, tau))


# ---------------------------------------------------------------- interface

def beep(rng):
    """A light blip for moving the menu cursor: a soft tone that flicks up to E6."""
    return blip(1318.5, 0.085, 0.028, glide=0.85)


def click(rng):
    """A crisp wooden tick for confirming: a tap ringing two small hard resonances,
    driven hard so that its short ring carries over the music."""
    n = samples(0.06)
    tap = mul(noise(n, rng), decay(n, 0.0003, 0.002))
    body = [0.6 * a + 0.45 * b + 0.3 * c for a, b, c in zip(resonator(tap, 2300.0, 30.0),
                                                          resonator(tap, 3900.0, 36.0),
                                                          resonator(tap, 900.0, 12.0))]
    snap = highpass1(tap, 3000.0)
    return saturate([b + 0.05 * s for b, s in zip(body, snap)], 4.0)


# ---------------------------------------------------------------- cannon

def shoot(rng):
    """A cannon: the crack of the charge, a boom that drops away, then a puff of smoke."""
    n = samples(1.0)
    boom = mul(osc_glide(SINE, [50.0 + 130.0 * math.exp(-i / (0.05 * RATE)) for i in range(n)]),
               decay(n, 0.003, 0.16))
    blast = mul(lowpass1(lowpass1(noise(n, rng), 900.0), 900.0), decay(n, 0.002, 0.10))
    crack = mul(lowpass1(noise(n, rng), 4000.0), decay(n, 0.0008, 0.018))
    rumble = mul(lowpass1(lowpass1(noise(n, rng), 350.0), 350.0), decay(n, 0.01, 0.30))
    puff = mul(svf(noise(n, rng), sweep(1400.0, 500.0, n), 1.2, "band"),
               envelope([(0.0, 0.0), (0.05, 0.2), (0.11, 1.0), (0.35, 0.35), (0.9, 0.0)], n))
    return saturate([0.6 * b + 2.0 * x + 0.8 * c + 2.0 * r + 0.7 * p
                     for b, x, c, r, p in zip(boom, blast, crack, rumble, puff)], 2.5)


def miss(rng):
    """A ball dropping into the sea: a deep plunge, a spray of water, then bubbles."""
    n = samples(0.65)
    plunge = mul(osc_glide(SINE, sweep(260.0, 90.0, n)), decay(n, 0.004, 0.07))
    spray = mul(svf(noise(n, rng), sweep(2600.0, 900.0, n), 0.9, "band"),
                envelope([(0.0, 0.0), (0.012, 1.0), (0.08, 0.55), (0.3, 0.12), (0.6, 0.0)], n))
    wash = mul(lowpass1(noise(n, rng), 600.0), envelope([(0.0, 0.0), (0.03, 1.0), (0.5, 0.0)], n))
    out = [0.7 * p + 1.1 * s + 0.9 * w for p, s, w in zip(plunge, spray, wash)]
    # bubbles: little rising chirps, fewer and softer as the water settles
    at = 0.06
    while at < 0.5:
        f = rng.uniform(550.0, 1300.0)
        length = rng.uniform(0.02, 0.045)
        m = samples(length)
        bubble = mul(osc_glide(SINE, sweep(f, f * 1.9, m)), decay(m, 0.002, length * 0.4))
        mix_into(out, bubble, samples(at), 0.35 * (1.0 - at / 0.55))
        at += rng.uniform(0.03, 0.08)
    return out


def hit(rng):
    """A ball smashing into a hull: a heavy thud, planks ringing, splinters flying."""
    n = samples(0.5)
    thud = mul(osc_glide(SINE, [80.0 + 120.0 * math.exp(-i / (0.025 * RATE)) for i in range(n)]),
               decay(n, 0.002, 0.08))
    knock = mul(noise(n, rng), decay(n, 0.0005, 0.01))
    planks = [0.0] * n
    for freq, q, amp in ((210.0, 7.0, 1.0), (455.0, 9.0, 0.8), (870.0, 10.0, 0.5), (1650.0, 8.0, 0.3)):
        planks = [p + amp * r for p, r in zip(planks, resonator(knock, freq, q))]
    # splinters: short crackles of noise at random moments, dying out
    crackle = [0.0] * n
    at = 0.004
    while at < 0.22:
        m = samples(rng.uniform(0.003, 0.010))
        grain = mul(svf(noise(m, rng), rng.uniform(900.0, 3500.0), 1.5, "band"), decay(m, 0.0005, m / RATE / 3))
        mix_into(crackle, grain, samples(at), 1.0 - at / 0.25)
        at += rng.uniform(0.006, 0.025)
    return saturate([0.6 * t + 2.6 * p + 2.6 * c for t, p, c in zip(thud, planks, crackle)], 3.0)


# ---------------------------------------------------------------- sea

def whirl(rng):
    """A whirlpool taking hold: a rushing of water that swirls faster and sinks lower."""
    n = samples(1.3)
    base = noise(n, rng)
    out = [0.0] * n
    # two streams of water circling half a turn apart
    for phase, q in ((0.0, 3.0), (math.pi, 4.0)):
        centre = []
        angle = phase
        for i in range(n):
            t = i / n
            angle += 2.0 * math.pi * (2.5 + 5.0 * t) / RATE
            centre.append((1700.0 - 1200.0 * t) * (1.0 + 0.45 * math.sin(angle)))
        stream = svf(base, centre, q, "band")
        out = [o + s for o, s in zip(out, stream)]
    gurgle = mul(osc_glide(SINE, [90.0 + 25.0 * math.sin(2.0 * math.pi * 6.0 * i / RATE) for i in range(n)]),
                 envelope([(0.0, 0.0), (0.4, 0.0), (0.8, 1.0), (1.3, 0.0)], n))
    swell = envelope([(0.0, 0.0), (0.25, 1.0), (0.85, 0.8), (1.3, 0.0)], n)
    return [(o + 0.3 * g) * s for o, g, s in zip(out, gurgle, swell)]


# ---------------------------------------------------------------- tunes

def gameover(rng):
    """The ship is lost: the squeezebox sighs down a D minor line over a falling bass."""
    buf = silence(2.4)
    step = 0.3
    score(buf, ins.concertina, "A4 G4 F4 E4 D4 - - .", step, gain=1.0, rng=rng)
    score(buf, ins.upright_bass, "D3 Bb2 A2 A2 D2 - - .", step, gain=0.8, rng=rng)
    for i, note in enumerate(("D3", "F3", "A3")):
        score(buf, ins.pad, ". . . . " + note + " - - .", step, at=0.01 * i, gain=0.6, rng=rng)
    return mix_into(buf, reverb(buf), 0, 0.5)


def money(rng):
    """Coins: a clink, then a quick bright run of bells up a C major chord."""
    buf = silence(0.6)
    score(buf, lambda f, g, v, r: ins.bell(f, g, v, r, ring=0.25), "C6 E6 G6 C7!", 0.045, at=0.01, rng=rng)
    n = samples(0.08)
    clink = [0.0] * n
    for f, a in ((3150.0, 1.0), (4720.0, 0.6), (6010.0, 0.35)):
        clink = [c + a * v for c, v in zip(clink, mul(osc(SINE, f, n, rng.random()), decay(n, 0.0005, 0.015)))]
    return mix_into(buf, clink, 0, 0.35)


def nextlevel(rng):
    """A fanfare: horns in thirds ride up a C major call to a held top C, drums
    under it, and the hall ringing after."""
    step = 0.11
    buf = silence(2.0)
    score(buf, ins.brass, "G4 C5 E5 G5 - - E5 G5! - - - - - - -", step, gain=1.0, rng=rng)
    score(buf, ins.brass, "E4 G4 C5 E5 - - C5 E5 - - - - - - -", step, gain=0.6, rng=rng)
    score(buf, ins.brass, "C4 E4 G4 C5 - - G4 C5 - - - - - - -", step, gain=0.45, rng=rng)
    score(buf, ins.upright_bass, "C3 . . C3 - - G2 C3 - - - - - - -", step, gain=0.8, rng=rng)
    for at, drum, gain in ((0.0, ins.tom_low, 0.5), (3 * step, ins.tom_low, 0.6),
                           (6 * step, ins.tom_high, 0.4), (7 * step, ins.tom_low, 0.8),
                           (7 * step, ins.crash, 0.5)):
        mix_into(buf, drum(1.0, rng), samples(at), gain)
    return mix_into(buf, reverb(buf), 0, 0.5)


# ---------------------------------------------------------------- voices

def voice(rng, pitch, glide, vowel, length):
    """A blip of a made-up tongue: a buzzing throat (pitch sliding by the ratio
    glide) shaped by the two formants of a vowel, rounded at both ends."""
    n = samples(length)
    freqs = [pitch * glide ** (i / n) for i in range(n)]
    throat = osc_glide(shape_table("saw", pitch), freqs, rng.random())
    (f1, q1, a1), (f2, q2, a2) = vowel
    tone = [a1 * p + a2 * q for p, q in zip(resonator(throat, f1, q1), resonator(throat, f2, q2))]
    tone = lowpass1(tone, 3000.0)
    rise = samples(0.012)
    env = [min(1.0, i / rise) * (0.5 + 0.5 * math.cos(math.pi * i / n)) ** 0.7 for i in range(n)]
    return mul(tone, env)


VOWEL_O = ((480.0, 5.0, 1.0), (880.0, 6.0, 0.55))
VOWEL_A = ((760.0, 5.0, 1.0), (1250.0, 6.0, 0.6))
VOWEL_E = ((420.0, 5.0, 0.8), (1950.0, 7.0, 0.5))


def talk1(rng):
    """A low, round "o", falling: a gruff old sailor."""
    return voice(rng, 140.0, 0.85, VOWEL_O, 0.105)


def talk2(rng):
    """A middling "a" that lifts, like a question."""
    return voice(rng, 205.0, 1.15, VOWEL_A, 0.085)


def talk3(rng):
    """A high, quick "e", dipping a little."""
    return voice(rng, 290.0, 0.92, VOWEL_E, 0.07)
