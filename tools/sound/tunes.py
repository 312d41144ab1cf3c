"""The three music loops of Quillbarrow, written out as notes.

Notation (see sequencer.py): one token a step; a pitch starts a note, "-" holds
it, "." is silence, "|" a bar line; chord symbols for the chord voices; drum
letters for the drums (capitals accented). Each song lists its sections with
their length in bars and the order they play in; the loop is that order once.

Tempo: a song's tick is its smallest step in samples at 22050 a second, so
every bar is a whole number of samples and the loop ends exactly on a bar.
"""

import instruments as ins
from sequencer import Song, Voice

# Where every loop peaks, in dBFS. The music is a bed under the effects: their
# loudest 50 ms stand at least 6 dB over its middling loudness (check.py measures
# it), so the speakers' voices and the clicks are heard over the tune.
MUSIC_LEVEL = -6.0

# ============================================================== menu
# "Quillbarrow Away": a shanty in D major, 6/8, a dotted crotchet at about 92.
# A verse of two four-bar lines (the second closing home), then a chorus of
# long, shouted notes with the crew singing a third below.
# One tick is a quaver.

MENU_MELODY = {
    "A1": "D5 - D5 F#5 - A5 | B5 - A5 F#5 - D5 | E5 - E5 F#5 E5 D5 | B4 - A4 A4 - . |",
    "A2": "D5 - D5 F#5 - A5 | B5 - A5 F#5 - D5 | E5 - F#5 E5 - C#5 | D5 - - D5 - . |",
    "B1": "A5! - - F#5 - - | B5! - - A5 - - | G5 - E5 F#5 - D5 | E5 - - A4 - - |",
    "B2": "A5! - - F#5 - - | B5! - - A5 - F#5 | G5 - F#5 E5 - C#5 | D5 - - D5 - . |",
}

MENU_CREW = {
    "B1": "F#5 - - D5 - - | G5 - - F#5 - - | E5 - B4 D5 - A4 | C#5 - - E4 - - |",
    "B2": "F#5 - - D5 - - | G5 - - F#5 - D5 | E5 - D5 C#5 - A4 | A4 - - F#4 - . |",
}

# the guitar strums on the off-beats of each half bar: oom-pah-pah
MENU_GUITAR = {
    "A1": ". D D . D D | . G G . D D | . Em Em . Bm Bm | . Em Em . A A |",
    "A2": ". D D . D D | . G G . D D | . A A . A7 A7 | . D D . D D |",
    "B1": ". D D . D D | . G G . D D | . Em Em . D D | . A A . A A |",
    "B2": ". D D . D D | . G G . D D | . G G . A7 A7 | . D D . D D |",
}

MENU_BASS = {
    "A1": "D3 - - A2 - - | G2 - - D3 - - | E3 - - B2 - - | E3 - - A2 - - |",
    "A2": "D3 - - A2 - - | G2 - - D3 - - | A2 - - C#3 - - | D3 - - A2 - - |",
    "B1": "D3 - - F#3 - - | G3 - - D3 - - | E3 - - D3 - - | A2 - - C#3 - E3 |",
    "B2": "D3 - - F#3 - - | G3 - - D3 - - | G2 - - A2 - - | D3 - - A2 - - |",
}

# frame drum: B the boom, t the light tip stroke
MENU_DRUM = {
    "A1": "B t t b t t | B t t b t t | B t t b t t | B t t b t t |",
    "A2": "B t t b t t | B t t b t t | B t t b t t | B t t b t t |",
    "B1": "B t t B t t | B t t B t t | B t t B t t | B t t B t T |",
    "B2": "B t t B t t | B t t B t t | B t t B t t | B t B t B b |",
}

MENU_SHAKER = {
    "B1": ". s s . s s | . s s . s s | . s s . s s | . s s . s s |",
    "B2": ". s s . s s | . s s . s s | . s s . s s | . s s . s s |",
}

MENU_KIT = {"b": ins.frame_drum, "t": ins.frame_tip, "s": ins.shaker}

MENU = Song(
    name="menu", level_db=MUSIC_LEVEL, tick=4800, bar=6,
    sections={"A1": 4, "A2": 4, "B1": 4, "B2": 4},
    order=["A1", "A2", "B1", "B2"],
    voices=[
        Voice("melody", "notes", ins.concertina, 1, MENU_MELODY, gain=1.0, echo=0.25,
              legato=0.9, humanise=(0.004, 0.06), seed=11),
        Voice("crew", "notes", ins.concertina, 1, MENU_CREW, gain=0.65, echo=0.3,
              legato=0.9, humanise=(0.006, 0.06), seed=12),
        Voice("guitar", "chords", ins.guitar, 1, MENU_GUITAR, gain=0.55, echo=0.2,
              style="strum", low=55, legato=0.7, humanise=(0.003, 0.1), seed=13),
        Voice("bass", "notes", ins.upright_bass, 1, MENU_BASS, gain=0.85, legato=0.8, seed=14),
        Voice("drum", "drums", MENU_KIT, 1, MENU_DRUM, gain=1.2, echo=0.1,
              humanise=(0.002, 0.0), seed=15),
        Voice("shaker", "drums", MENU_KIT, 1, MENU_SHAKER, gain=0.7, seed=16),
    ],
)

# ============================================================== ingame
# "Fair Wind": the sailing tune, G major, 4/4 at 120. Four four-bar phrases:
# the flute's theme, its answer coming home, a turn to E minor where the
# squeezebox takes the tune in little call-and-answer phrases over the harp,
# and a climbing last phrase that hands back to the start. The drum keeps a
# lilting 3-3-2 swell. One tick is a semiquaver.

INGAME_FLUTE = {
    "A":  "D5 - - B4 D5 - G5 - | F#5 - E5 - B4 - - - | C5 - E5 - G5 - A5 G5 | F#5 - - - D5 - - . |",
    "A2": "D5 - - B4 D5 - G5 - | A5 - G5 - E5 - B4 - | E5 - G5 - F#5 - A5 - | G5 - - - - - . . |",
    "C":  "E5 - - - G5 - - - | F#5 - - - A5 - - - | B5 - - - G5 - - - | A5 - G5 - F#5 - - . |",
}

INGAME_SQUEEZEBOX = {
    "B": ". . E5 F#5 G5 - B5 - | A5 - G5 - E5 - - . | . . D5 E5 G5 - D5 - | E5 - D5 - A4 - - . |",
}

# and under the flute's last phrase, a third or so below it
INGAME_SECONDS = {
    "C": "C5 - - - E5 - - - | D5 - - - F#5 - - - | D5 - - - B4 - - - | C5 - B4 - A4 - - . |",
}

INGAME_CHORDS = {
    "A":  "G - - - - - - - | Em - - - - - - - | C - - - - - - - | D - - - - - - - |",
    "A2": "G - - - - - - - | Em - - - - - - - | C - - - D - - - | G - - - - - - - |",
    "B":  "Em - - - - - - - | C - - - - - - - | G - - - - - - - | D - - - - - - - |",
    "C":  "C - - - - - - - | D - - - - - - - | Bm - - - Em - - - | Am - - - D - - - |",
}

# the same harmony, a chord a half bar, held by the strings
INGAME_PAD = {
    "A":  "G - | Em - | C - | D - |",
    "A2": "G - | Em - | C D | G - |",
    "B":  "Em - | C - | G - | D - |",
    "C":  "C - | D - | Bm Em | Am D |",
}

INGAME_BASS = {
    "A":  "G2 - - - D3 - - - | E2 - - - B2 - - - | C3 - - - G2 - - - | D3 - - - A2 - F#2 - |",
    "A2": "G2 - - - D3 - - - | E2 - - - B2 - - - | C3 - - - D3 - - - | G2 - - - D3 - - - |",
    "B":  "E2 - - - B2 - - - | C3 - - - G2 - - - | G2 - - - D3 - - - | D3 - - - A2 - - - |",
    "C":  "C3 - - - G2 - - - | D3 - - - A2 - - - | B2 - - - E2 - - - | A2 - - - D3 - F#2 - |",
}

INGAME_BELL = {
    "A2": ". . . . . . . . | . . . . . . . . | . . . . . . . . | . . . . B5 - D6 - |",
    "B":  ". . . . . . . . | . . . . . . B5 G5 | . . . . . . . . | . . . . . . F#5 A5 |",
}

INGAME_DRUM = {
    "A2": "B . . t . . t . | B . . t . . t . | B . . t . . t . | B . . t . . t . |",
    "B":  "b . . t . . . . | b . . t . . . . | b . . t . . . . | b . . t . . t t |",
    "C":  "B . . t . . t . | B . . t . . t . | B . . t . . t . | B . . t . t t t |",
}

INGAME_SHAKER = {
    "A":  "s S s S s S s S | s S s S s S s S | s S s S s S s S | s S s S s S s S |",
    "A2": "s S s S s S s S | s S s S s S s S | s S s S s S s S | s S s S s S s S |",
    "C":  "s S s S s S s S | s S s S s S s S | s S s S s S s S | s S s S s S s S |",
}

INGAME_KIT = {"b": ins.frame_drum, "t": ins.frame_tip, "s": ins.shaker}

INGAME = Song(
    name="ingame", level_db=MUSIC_LEVEL, tick=2756, bar=16,
    sections={"A": 4, "A2": 4, "B": 4, "C": 4},
    order=["A", "A2", "B", "C"],
    voices=[
        Voice("flute", "notes", ins.whistle, 2, INGAME_FLUTE, gain=0.85, echo=0.3,
              legato=0.95, humanise=(0.005, 0.08), seed=21),
        Voice("squeezebox", "notes", ins.concertina, 2, INGAME_SQUEEZEBOX, gain=0.85, echo=0.3,
              legato=0.92, humanise=(0.005, 0.08), seed=22),
        Voice("seconds", "notes", ins.concertina, 2, INGAME_SECONDS, gain=0.45, echo=0.3,
              legato=0.92, humanise=(0.005, 0.08), seed=29),
        Voice("harp", "chords", ins.harp, 2, INGAME_CHORDS, gain=0.9, echo=0.35,
              style="arp", low=55, pattern=[0, 1, 2, 3, 4, 3, 2, 1], legato=1.0,
              humanise=(0.003, 0.12), seed=23),
        Voice("pad", "chords", ins.pad, 8, INGAME_PAD, gain=0.35, echo=0.2, low=52, legato=1.0,
              seed=24),
        Voice("bass", "notes", ins.upright_bass, 2, INGAME_BASS, gain=0.8, legato=0.85, seed=25),
        Voice("bell", "notes", ins.bell, 2, INGAME_BELL, gain=0.7, echo=0.5, seed=26),
        Voice("drum", "drums", INGAME_KIT, 2, INGAME_DRUM, gain=1.3, echo=0.1,
              humanise=(0.002, 0.0), seed=27),
        Voice("shaker", "drums", INGAME_KIT, 2, INGAME_SHAKER, gain=0.4, seed=28),
    ],
)

# ============================================================== danger
# "Red Sails": the fight, D minor, 4/4 at about 165. A galloping bass, bitten
# string chords on a 3-3-2 push, a horn crying the theme, and a drum kit that
# never lets up; the last phrase lurches through E flat to the A that throws
# it back to the start. One tick is a semiquaver.

DANGER_HORN = {
    "A":  "D5 - - D5 E5 - F5 - | E5 - D5 - C#5 - A4 - | Bb4 - - D5 F5 - Bb5 - | A5 - - - E5 - C#5 - |",
    "A2": "D5 - - D5 E5 - F5 - | G5 - F5 - E5 - C#5 - | D5 - Bb4 - G4 - Bb4 - | A4 - - - - - . . |",
    "B":  "G5 - - - - - - - | A5 - - - Bb5 - - - | A5 - - - - - - - | F5 - - - E5 - D5 - |",
    "C":  "D5 - F5 - Bb5 - F5 - | E5 - G5 - C6 - G5 - | Eb5 - G5 - Bb5 - G5 - | A5 - - - C#5 - E5 - |",
}

DANGER_STABS = {
    "A":  "Dm . . Dm . . Dm . | Dm . . Dm . . Dm . | Bb . . Bb . . Bb . | A . . A . . A . |",
    "A2": "Dm . . Dm . . Dm . | Dm . . Dm . . Dm . | Gm . . Gm . . Gm . | A . . A . . A7 . |",
    "B":  "Gm . . Gm . . Gm . | Gm . . Gm . . Gm . | Dm . . Dm . . Dm . | Dm . . Dm . . Dm . |",
    "C":  "Bb . . Bb . . Bb . | C . . C . . C . | Eb . . Eb . . Eb . | A . . A . . A7 . |",
}

DANGER_BASS = {
    "A":  "D2 D2 D3 D2 D2 D3 C3 D3 | D2 D2 D3 D2 D2 D3 C3 A2 | Bb1 Bb1 Bb2 Bb1 Bb1 Bb2 A2 Bb2 | A1 A1 A2 A1 A1 A2 G2 E2 |",
    "A2": "D2 D2 D3 D2 D2 D3 C3 D3 | D2 D2 D3 D2 D2 D3 C3 A2 | G1 G1 G2 G1 G1 G2 F2 G2 | A1 A1 A2 A1 A1 A2 C#3 E2 |",
    "B":  "G1 G1 G2 G1 G1 G2 F2 G2 | G1 G1 G2 G1 G1 G2 A2 Bb2 | D2 D2 D3 D2 D2 D3 C3 D3 | D2 D2 D3 D2 D2 D3 E3 F3 |",
    "C":  "Bb1 Bb1 Bb2 Bb1 Bb1 Bb2 A2 Bb2 | C2 C2 C3 C2 C2 C3 Bb2 C3 | Eb2 Eb2 Eb3 Eb2 Eb2 Eb3 D3 Eb3 | A1 A1 A2 A1 A1 A2 C#3 E2 |",
}

# k kick, s snare, h hat, o open hat, t high tom, l low tom, c crash
GROOVE = "Kh . h h Sh . kh . Kh . h k Sh . h h"
CRASH = "Kc . h h Sh . kh . Kh . h k Sh . h h"
FILL = "Kh . h h Sh . kh . T . t t L . l L"
TOMS = "Kh . t . Sh . t . Kh . t t Sh . l l"
TOM_FILL = "Kh . t . Sh . t . T t t t L l L l"

DANGER_DRUMS = {
    "A":  " | ".join([CRASH, GROOVE, GROOVE, GROOVE]) + " |",
    "A2": " | ".join([GROOVE, GROOVE, GROOVE, FILL]) + " |",
    "B":  " | ".join([TOMS, TOMS, TOMS, TOM_FILL]) + " |",
    "C":  " | ".join([CRASH, GROOVE, GROOVE, FILL]) + " |",
}

DANGER_KIT = {"k": ins.kick, "s": ins.snare, "h": ins.hat, "o": ins.open_hat,
              "t": ins.tom_high, "l": ins.tom_low, "c": ins.crash}

DANGER = Song(
    name="danger", level_db=MUSIC_LEVEL, tick=2000, bar=16,
    sections={"A": 4, "A2": 4, "B": 4, "C": 4},
    order=["A", "A2", "B", "C"],
    voices=[
        Voice("horn", "notes", ins.brass, 2, DANGER_HORN, gain=0.75, echo=0.25,
              legato=0.9, humanise=(0.003, 0.05), seed=31),
        Voice("stabs", "chords", ins.stab, 2, DANGER_STABS, gain=0.45, echo=0.2,
              low=57, legato=0.6, seed=32),
        Voice("bass", "notes", ins.synth_bass, 2, DANGER_BASS, gain=0.7, legato=0.7,
              humanise=(0.0, 0.08), seed=33),
        Voice("drums", "drums", DANGER_KIT, 1, DANGER_DRUMS, gain=0.7, echo=0.08, seed=34),
    ],
)

SONGS = [MENU, INGAME, DANGER]
