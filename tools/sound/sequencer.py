"""Turns tunes written as text into a seamless loop of samples.

A song is a list of sections played in order, each a whole number of bars;
each voice gives its part of every section as a line of tokens, one token a
step (a voice's step is a number of ticks, the song's smallest note):

    notes   "D5 - A4 D5 - E5 | F#5 . ."   a pitch starts a note, "-" holds the
            note on for another step, "." is a step of silence; a "!" after a
            pitch accents it, a "?" plays it softly.
    chords  "D - - G - - | A7 - - - - -"  chord symbols (root, then "", m, 7,
            m7, maj7, sus2, sus4, dim, 5), "-" and "." as above. How a chord is
            played (held, strummed or broken into an arpeggio) is the voice's.
    drums   "k . h . s . h h"            letters of the song's drum kit hit on
            that step, several letters together at once; capitals are accented.

"|" marks a bar line and must fall where a bar ends, which catches miscounted
bars. Everything is rendered into one buffer the length of the loop; the ring of
a note that runs past the end comes round to the start, so the end of the loop
flows into its beginning.
"""

import random
import re

from dsp import RATE, dc_block, looped, midi_freq, mix_into, peak, reverb, highpass1, from_db

NOTE_NAMES = {"C": 0, "D": 2, "E": 4, "F": 5, "G": 7, "A": 9, "B": 11}
NOTE_RE = re.compile(r"^([A-G])([#b]?)(-?\d)([!?]?)$")
CHORD_RE = re.compile(r"^([A-G])([#b]?)(m7|maj7|m|7|sus2|sus4|dim|5|)$")
CHORD_SHAPES = {
    "": (0, 4, 7), "m": (0, 3, 7), "7": (0, 4, 7, 10), "m7": (0, 3, 7, 10),
    "maj7": (0, 4, 7, 11), "sus2": (0, 2, 7), "sus4": (0, 5, 7), "dim": (0, 3, 6), "5": (0, 7),
}
VELOCITY = {"": 0.8, "!": 1.0, "?": 0.55}


def pitch_class(letter, accidental):
    return (NOTE_NAMES[letter] + {"": 0, "#": 1, "b": -1}[accidental]) % 12


def note_number(name):
    """MIDI number of a note name such as "F#4" (C4 = 60, A4 = 69)."""
    m = NOTE_RE.match(name)
    if not m:
        raise ValueError("not a note: " + name)
    letter, accidental, octave, _ = m.groups()
    return 12 * (int(octave) + 1) + NOTE_NAMES[letter] + {"": 0, "#": 1, "b": -1}[accidental]


def chord_tones(symbol, low):
    """The notes of a chord in close position, every tone placed in the octave
    from MIDI note low upwards, lowest first. Keeping all chords in one window
    makes them move smoothly from one to the next, as a player's hand would."""
    m = CHORD_RE.match(symbol)
    if not m:
        raise ValueError("not a chord: " + symbol)
    letter, accidental, quality = m.groups()
    root = pitch_class(letter, accidental)
    tones = [low + (root + step - low) % 12 for step in CHORD_SHAPES[quality]]
    return sorted(tones)


class Event:
    """One thing a voice does: at tick, for length ticks, play what (a MIDI
    note, a chord symbol or a drum letter) at strength vel."""
    __slots__ = ("tick", "length", "what", "vel")

    def __init__(self, tick, length, what, vel):
        self.tick, self.length, self.what, self.vel = tick, length, what, vel

    def __repr__(self):
        return "Event(%d, %d, %r, %.2f)" % (self.tick, self.length, self.what, self.vel)


def parse(text, kind, step, bar, where="line"):
    """Events of one line of notation (see the module text) and its length in ticks."""
    events = []
    tick = 0
    for token in text.split():
        if token == "|":
            if tick % bar:
                raise ValueError("%s: bar line at tick %d is not on a bar boundary" % (where, tick))
            continue
        if token == "-":
            if not events or kind == "drums" or events[-1].tick + events[-1].length != tick:
                raise ValueError("%s: '-' at tick %d holds nothing" % (where, tick))
            events[-1].length += step
        elif token == ".":
            pass
        elif kind == "notes":
            m = NOTE_RE.match(token)
            if not m:
                raise ValueError("%s: bad note %r" % (where, token))
            events.append(Event(tick, step, note_number(token.rstrip("!?")), VELOCITY[m.group(4)]))
        elif kind == "chords":
            if not CHORD_RE.match(token):
                raise ValueError("%s: bad chord %r" % (where, token))
            events.append(Event(tick, step, token, VELOCITY[""]))
        elif kind == "drums":
            for letter in token:
                events.append(Event(tick, step, letter.lower(), 1.0 if letter.isupper() else 0.7))
        else:
            raise ValueError("unknown voice kind " + kind)
        tick += step
    return events, tick


class Voice:
    """One player in the band.

    kind      notes, chords or drums (how its lines are read)
    play      for notes: an instrument; for chords: an instrument, played as
              set by style; for drums: a dict from letter to drum
    step      ticks a token lasts
    parts     section name -> line; a section a voice has no line for is rest
    gain      its level in the mix; echo: how much of it goes to the room
    legato    the fraction of each note's length that it is held
    style     for chords: "hold" (all tones together), "strum" (tones a few ms
              apart, low to high), or "arp" (tones one after another by pattern)
    low       for chords: the lowest note of the window the chords are voiced in
    pattern   for arp: the chord tones to play, one a step, as indices into the
              voiced chord (0 the lowest; 3 and up climb into the next octave)
    humanise  (seconds a note may come late, the variation in strength): a
              player is never exactly on the beat; nothing comes early, so
              nothing starts before the loop does
    """

    def __init__(self, name, kind, play, step, parts, gain=1.0, echo=0.0, legato=0.92,
                 style="hold", low=55, pattern=None, humanise=(0.0, 0.0), seed=1):
        self.name, self.kind, self.play, self.step, self.parts = name, kind, play, step, parts
        self.gain, self.echo, self.legato, self.style, self.low = gain, echo, legato, style, low
        self.pattern, self.humanise, self.seed = pattern, humanise, seed


class Song:
    """A loop: sections in order, each bars long, played by voices.
    tick is the length of one tick in samples, bar the ticks in a bar."""

    def __init__(self, name, tick, bar, sections, order, voices, level_db=-3.0):
        self.name, self.tick, self.bar = name, tick, bar
        self.sections, self.order, self.voices, self.level_db = sections, order, voices, level_db

    def section_ticks(self, section):
        return self.sections[section] * self.bar

    def total_ticks(self):
        return sum(self.section_ticks(s) for s in self.order)

    def length(self):
        """Samples in one pass of the loop."""
        return self.total_ticks() * self.tick


def voice_events(song, voice):
    """All events of a voice over the whole loop, ticks counted from its start."""
    out = []
    offset = 0
    for section in song.order:
        ticks = song.section_ticks(section)
        line = voice.parts.get(section)
        if line is not None:
            where = "%s/%s/%s" % (song.name, voice.name, section)
            events, length = parse(line, voice.kind, voice.step, song.bar, where)
            if length != ticks:
                raise ValueError("%s: %d ticks where the section has %d" % (where, length, ticks))
            for e in events:
                e.tick += offset
                out.append(e)
        offset += ticks
    return out


def _strokes(song, voice, event):
    """(delay in ticks, length in ticks, MIDI note, seconds of strum) of one event."""
    if voice.kind == "notes":
        return [(0, event.length, event.what, 0.0)]
    tones = chord_tones(event.what, voice.low)
    if voice.style == "hold":
        return [(0, event.length, t, 0.0) for t in tones]
    if voice.style == "strum":
        return [(0, event.length, t, 0.012 * i) for i, t in enumerate(tones)]
    # arpeggio: one tone a step, taken by pattern, restarting with each chord
    out = []
    for i in range(event.length // voice.step):
        index = voice.pattern[i % len(voice.pattern)]
        octave, pick = divmod(index, len(tones))
        out.append((i * voice.step, voice.step, tones[pick] + 12 * octave, 0.0))
    return out


def render_voice(song, voice, total):
    """The voice alone over the whole loop, note tails wrapped round."""
    buf = [0.0] * total
    rng = random.Random(voice.seed)
    timing, strength = voice.humanise
    drum_takes = {}
    drum_count = {}
    for event in voice_events(song, voice):
        start = event.tick * song.tick
        if voice.kind == "drums":
            drum = voice.play[event.what]
            # four takes of every stroke, used in turn, so repeats are not identical
            stroke = (event.what, event.vel)
            count = drum_count.get(stroke, 0)
            drum_count[stroke] = count + 1
            key = stroke + (count % 4,)
            take = drum_takes.get(key)
            if take is None:
                take = drum(event.vel, rng)
                drum_takes[key] = take
            jitter = int(rng.uniform(0.0, timing) * RATE) if timing else 0
            mix_into(buf, take, start + jitter, 1.0, wrap=True)
            continue
        for delay, length, note, strum in _strokes(song, voice, event):
            vel = event.vel * (1.0 + rng.uniform(-strength, strength)) if strength else event.vel
            jitter = rng.uniform(0.0, timing) if timing else 0.0
            at = start + delay * song.tick + int((jitter + strum) * RATE)
            gate = length * song.tick * voice.legato / RATE
            mix_into(buf, voice.play(midi_freq(note), gate, vel, rng), at, 1.0, wrap=True)
    return buf


def render_song(song):
    """The finished loop: voices mixed, a little room added, offset removed,
    peak set to the song's level (dBFS)."""
    total = song.length()
    dry = [0.0] * total
    send = [0.0] * total
    for voice in song.voices:
        part = render_voice(song, voice, total)
        dry = [d + voice.gain * p for d, p in zip(dry, part)]
        if voice.echo:
            send = [s + voice.gain * voice.echo * p for s, p in zip(send, part)]
    room = looped(reverb, send)
    mix = [d + r for d, r in zip(dry, room)]
    mix = dc_block(looped(lambda x: highpass1(x, 30.0), mix))
    top = peak(mix) or 1.0
    return [v * from_db(song.level_db) / top for v in mix]
