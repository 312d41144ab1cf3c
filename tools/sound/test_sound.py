"""Tests of the sound tools: /usr/bin/python3 -m unittest discover -s tools/sound"""

import array
import contextlib
import io
import math
import os
import random
import sys
import tempfile
import unittest
import wave

HERE = os.path.dirname(os.path.abspath(__file__))
if HERE not in sys.path:
    sys.path.insert(0, HERE)

import check  # noqa: E402
import dsp  # noqa: E402
import instruments as ins  # noqa: E402
import synth  # noqa: E402
import tunes  # noqa: E402
from sequencer import Song, Voice, chord_tones, parse, render_song, render_voice, voice_events  # noqa: E402


def pitch(x, near):
    """The fundamental of x in Hz, looked for within a fifth of near: the lag of
    the strongest autocorrelation, refined between its neighbours."""
    lo, hi = int(dsp.RATE / (near * 1.5)), int(dsp.RATE / (near / 1.5)) + 1
    n = len(x) - hi

    def corr(lag):
        return sum(a * b for a, b in zip(x[:n], x[lag:lag + n]))

    values = [corr(lag) for lag in range(lo - 1, hi + 2)]
    best = max(range(1, len(values) - 1), key=values.__getitem__)
    a, b, c = values[best - 1:best + 2]
    return dsp.RATE / (lo - 1 + best + 0.5 * (a - c) / (a - 2 * b + c))


def constant(length):
    """A test instrument: a block of ones, length samples long, whatever the note."""
    return lambda freq, gate, vel, rng: [1.0] * length


class NotationTest(unittest.TestCase):
    def test_notes_holds_rests_accents_and_bar_lines(self):
        events, ticks = parse("D5 - . F#4! | Bb3? - - C4 |", "notes", 2, 8)
        self.assertEqual(ticks, 16)
        self.assertEqual([(e.tick, e.length, e.what, e.vel) for e in events],
                         [(0, 4, 74, 0.8), (6, 2, 66, 1.0), (8, 6, 58, 0.55), (14, 2, 60, 0.8)])
        with self.assertRaisesRegex(ValueError, "bar boundary"):
            parse("D5 - - | E5", "notes", 1, 4)
        with self.assertRaisesRegex(ValueError, "holds nothing"):
            parse("D5 . - E5", "notes", 1, 4)
        with self.assertRaisesRegex(ValueError, "bad note"):
            parse("H5", "notes", 1, 4)

    def test_drum_letters_strike_together_and_capitals_accent(self):
        events, ticks = parse("Kh . s", "drums", 1, 3)
        self.assertEqual(ticks, 3)
        self.assertEqual([(e.tick, e.what, e.vel) for e in events],
                         [(0, "k", 1.0), (0, "h", 0.7), (2, "s", 0.7)])

    def test_chords_are_voiced_inside_one_octave(self):
        self.assertEqual(chord_tones("D", 55), [57, 62, 66])        # A3 D4 F#4
        self.assertEqual(chord_tones("A7", 55), [55, 57, 61, 64])   # G3 A3 C#4 E4
        self.assertEqual(chord_tones("Bb", 57), [58, 62, 65])       # Bb3 D4 F4
        self.assertEqual(chord_tones("Em", 52), [52, 55, 59])       # E3 G3 B3
        with self.assertRaises(ValueError):
            chord_tones("Hm", 55)

    def test_arpeggio_follows_its_pattern_and_restarts_with_each_chord(self):
        played = []

        def keep(freq, gate, vel, rng):
            played.append(round(12 * math.log2(freq / 440.0)) + 69)
            return [0.0]

        song = Song("t", tick=10, bar=8, sections={"S": 1}, order=["S"], voices=[])
        voice = Voice("arp", "chords", keep, 1, {"S": "G - - - - Em - - |"}, style="arp",
                      low=55, pattern=[0, 1, 2, 3, 4])
        render_voice(song, voice, song.length())
        self.assertEqual(played, [55, 59, 62, 67, 71, 55, 59, 64])


class BuildingBlockTest(unittest.TestCase):
    def gain_db(self, process, freq):
        """Level in dB of a steady sine of freq Hz after process."""
        n = 8000
        tone = [math.sin(2 * math.pi * freq * i / dsp.RATE) for i in range(n)]
        return dsp.db(dsp.rms(process(tone)[n // 2:]) / dsp.rms(tone[n // 2:]))

    def test_filters_cut_where_they_say(self):
        cases = [(lambda x: dsp.lowpass1(x, 1000.0), 1000.0, -3.01), (lambda x: dsp.lowpass1(x, 6000.0), 6000.0, -3.01),
                 (lambda x: dsp.highpass1(x, 6000.0), 6000.0, -3.01), (lambda x: dsp.highpass1(x, 500.0), 125.0, -12.3),
                 (lambda x: dsp.resonator(x, 1250.0, 6.0), 1250.0, 0.0), (lambda x: dsp.resonator(x, 1250.0, 6.0), 2500.0, -19.6),
                 (lambda x: dsp.svf(x, 2000.0), 2000.0, -3.01), (lambda x: dsp.svf(x, 2000.0), 500.0, 0.0)]
        for process, freq, want in cases:
            self.assertAlmostEqual(self.gain_db(process, freq), want, delta=0.3)

    def test_oscillator_tables_hold_no_partial_the_rate_cannot_carry(self):
        for shape, freq, top in (("saw", 2000.0, 4), ("square", 1000.0, 7), ("saw", 100.0, 48), ("triangle", 3000.0, 3)):
            table = dsp.shape_table(shape, freq)
            size = len(table)
            strength = [abs(sum(v * math.sin(2 * math.pi * k * i / size) for i, v in enumerate(table))) * 2 / size
                        for k in range(1, top + 4)]
            self.assertGreater(strength[top - 1], 0.005, (shape, freq))
            self.assertLess(max(strength[top:]), 1e-9, (shape, freq))
            self.assertLessEqual(top * freq, dsp.NYQUIST_SAFE)

    def test_wav_files_are_mono_16_bit_little_endian_at_22050(self):
        with tempfile.TemporaryDirectory() as folder:
            path = os.path.join(folder, "t.wav")
            dsp.write_wav(path, dsp.to_pcm16([0.0, 0.5, -0.5, 1.2, -1.2, 1.0 / 32767.0]))
            with open(path, "rb") as f:
                data = f.read()
        self.assertEqual(data[:12], b"RIFF" + (36 + 12).to_bytes(4, "little") + b"WAVE")
        self.assertEqual(data[20:36], bytes([1, 0, 1, 0]) + (22050).to_bytes(4, "little")
                         + (44100).to_bytes(4, "little") + bytes([2, 0, 16, 0]))
        self.assertEqual(data[36:44], b"data" + (12).to_bytes(4, "little"))
        self.assertEqual(data[44:], bytes([0, 0, 0x00, 0x40, 0x00, 0xC0, 0xFF, 0x7F, 0x01, 0x80, 1, 0]))


class LoopTest(unittest.TestCase):
    def test_strums_run_low_to_high_and_no_note_comes_early(self):
        song = Song("t", tick=1000, bar=4, sections={"S": 1}, order=["S"], voices=[])
        strum = Voice("g", "chords", constant(1), 1, {"S": "D . Em . |"}, style="strum", low=55)
        hits = [i for i, v in enumerate(render_voice(song, strum, song.length())) if v]
        self.assertEqual(hits, [0, 264, 529, 2000, 2264, 2529])
        loose = Voice("g", "notes", constant(1), 1, {"S": "C4 D4 E4 F4 |"}, humanise=(0.004, 0.0), seed=3)
        hits = [i for i, v in enumerate(render_voice(song, loose, song.length())) if v]
        self.assertEqual(len(hits), 4)
        for beat, at in enumerate(hits):
            self.assertTrue(1000 * beat <= at <= 1000 * beat + 88, hits)
        self.assertNotEqual([at % 1000 for at in hits], [0, 0, 0, 0])

    def test_a_note_ringing_past_the_end_comes_round_to_the_start(self):
        song = Song("t", tick=100, bar=4, sections={"S": 1}, order=["S"], voices=[])
        voice = Voice("v", "notes", constant(250), 1, {"S": ". . . C4 |"})
        buf = render_voice(song, voice, song.length())
        self.assertEqual(len(buf), 400)
        self.assertEqual(buf, [1.0] * 150 + [0.0] * 150 + [1.0] * 100)

    def test_a_rendered_loop_flows_across_its_seam(self):
        def hum(freq, gate, vel, rng):
            return [math.sin(2 * math.pi * 97.0 * i / dsp.RATE) for i in range(dsp.samples(gate) + 4000)]

        song = Song("t", tick=2205, bar=4, sections={"S": 2}, order=["S"],
                    voices=[Voice("v", "notes", hum, 1, {"S": "C4 . . . | . . . A3 |"}, legato=1.0,
                                  echo=0.5)])
        x = render_song(song)
        self.assertEqual(len(x), 8 * 2205)
        self.assertAlmostEqual(dsp.peak(x), dsp.from_db(-3.0), places=9)
        self.assertAlmostEqual(sum(x), 0.0, places=6)
        largest = max(abs(b - a) for a, b in zip(x, x[1:]))
        self.assertLess(abs(x[0] - x[-1]), largest)
        self.assertLess(abs(x[0] - (2 * x[-1] - x[-2])), 0.01)

    def test_every_tune_is_whole_bars_and_at_least_twenty_seconds(self):
        total_bytes = 0
        for song in tunes.SONGS:
            for voice in song.voices:
                events = voice_events(song, voice)
                self.assertTrue(events, song.name + "/" + voice.name)
                if voice.kind == "drums":
                    self.assertTrue(all(e.what in voice.play for e in events), voice.name)
            self.assertGreaterEqual(song.length(), 20 * dsp.RATE, song.name)
            total_bytes += 2 * song.length()
        self.assertLess(total_bytes, 3.6e6)


class InstrumentTest(unittest.TestCase):
    def test_every_instrument_plays_in_tune(self):
        cases = [(ins.concertina, (62, 81)), (ins.whistle, (74, 86)), (ins.guitar, (55, 76)),
                 (ins.harp, (57, 79)), (ins.upright_bass, (40, 50)), (ins.synth_bass, (33, 45)),
                 (ins.brass, (60, 79)), (ins.stab, (57, 69))]
        for play, notes in cases:
            for note in notes:
                freq = dsp.midi_freq(note)
                x = play(freq, 0.6, 0.8, random.Random(note))
                start = dsp.samples(0.3)
                heard = pitch(x[start:start + 2048], freq)
                self.assertLess(abs(1200 * math.log2(heard / freq)), 4.0, (play.__name__, note, heard))

    def test_notes_start_and_end_at_silence(self):
        for play in (ins.concertina, ins.whistle, ins.guitar, ins.synth_bass, ins.pad, ins.brass, ins.bell):
            x = play(440.0, 0.3, 1.0, random.Random(1))
            self.assertLess(abs(x[0]), 1e-3, play.__name__)
            self.assertEqual(x[-1], 0.0, play.__name__)
            self.assertLess(max(abs(v) for v in x[:8]), 0.2, play.__name__)


class EffectTest(unittest.TestCase):
    def test_finishing_sets_loudness_or_stops_at_the_peak_limit(self):
        rng = random.Random(5)
        hum = [0.1 * math.sin(i * 0.2) for i in range(4000)]
        tick = [0.0] * 4000
        tick[2000], tick[2001] = 1.0, -1.0
        soft = synth.finish_effect(hum, -2.0)
        self.assertAlmostEqual(dsp.loudness(soft), synth.EFFECT_LOUDNESS - 2.0, places=6)
        sharp = synth.finish_effect([t + 0.001 * (rng.random() - 0.5) for t in tick], 0.0)
        self.assertAlmostEqual(dsp.peak(sharp), dsp.from_db(synth.EFFECT_PEAK), places=9)
        for x in (soft, sharp):
            self.assertEqual((x[0], x[-1]), (0.0, 0.0))

    def test_effects_are_repeatable_and_fit_their_moments(self):
        seconds = {"beep": (0.04, 0.15), "click": (0.02, 0.1), "money": (0.2, 0.8),
                   "talk1": (0.06, 0.12), "talk2": (0.06, 0.12), "talk3": (0.06, 0.12),
                   "gameover": (1.5, 2.5), "nextlevel": (1.5, 2.0)}
        for name, (shortest, longest) in seconds.items():
            x = synth.make(name)
            self.assertEqual(x, synth.make(name), name)
            self.assertTrue(shortest <= len(x) / dsp.RATE <= longest, (name, len(x)))
            self.assertEqual((x[0], x[-1]), (0, 0), name)
            self.assertLess(max(abs(v) for v in x), 32767, name)

    def test_the_three_voices_are_low_middle_and_high(self):
        heard = []
        for name, near in (("talk1", 130.0), ("talk2", 220.0), ("talk3", 280.0)):
            x = [v / 32767.0 for v in synth.make(name)]
            middle = len(x) // 2
            heard.append(pitch(x[middle - 500:middle + 500], near))
        self.assertLess(heard[0] * 1.25, heard[1])
        self.assertLess(heard[1] * 1.25, heard[2])


class CheckTest(unittest.TestCase):
    def write(self, folder, name, x, channels=1, rate=dsp.RATE):
        with wave.open(os.path.join(folder, name + ".wav"), "wb") as w:
            w.setnchannels(channels)
            w.setsampwidth(2)
            w.setframerate(rate)
            w.writeframes(array.array("h", x).tobytes())

    def test_check_passes_good_files_and_names_each_fault(self):
        loop = [int(8000 * math.sin(2 * math.pi * i / 50)) for i in range(21 * dsp.RATE)]
        blip = [int(8000 * math.sin(i / 3) * math.sin(math.pi * i / 400)) for i in range(400)]
        cases = {
            "good effect": ("beep", blip, 1, dsp.RATE, None),
            "good loop": ("menu", loop, 1, dsp.RATE, None),
            "clipping": ("beep", blip[:200] + [32767] + blip[201:], 1, dsp.RATE, "full scale"),
            "clicks in": ("beep", [3000] + blip[1:], 1, dsp.RATE, "silence"),
            "wrong rate": ("beep", blip, 1, 44100, "format"),
            "stereo": ("beep", blip + blip, 2, dsp.RATE, "format"),
            "seam jump": ("menu", loop[:-7], 1, dsp.RATE, "seam"),
            "short loop": ("menu", loop[:19 * dsp.RATE], 1, dsp.RATE, "shorter"),
            "offset": ("menu", [v + 100 for v in loop], 1, dsp.RATE, "offset"),
        }
        with tempfile.TemporaryDirectory() as folder:
            for case, (name, x, channels, rate, fault) in cases.items():
                self.write(folder, name, x, channels, rate)
                _, problems = check.check_file(os.path.join(folder, name + ".wav"), name)
                if fault is None:
                    self.assertEqual(problems, [], case)
                else:
                    self.assertEqual(len(problems), 1, (case, problems))
                    self.assertIn(fault, problems[0], case)
            _, problems = check.check_file(os.path.join(folder, "hit.wav"), "hit")
            self.assertEqual(problems, ["missing"])

    def test_the_mix_puts_every_effect_over_the_music_and_the_voices_apart(self):
        def tone(freq, amplitude, seconds):
            return [int(amplitude * math.sin(2 * math.pi * freq * i / dsp.RATE))
                    for i in range(int(seconds * dsp.RATE))]
        # the loudest loop's median: 5000 / sqrt 2 is -19.3 dBFS; 50 ms of 10000 stand 6.0 dB over it
        music = {"menu": tone(220, 3000, 1), "ingame": tone(330, 5000, 1), "danger": tone(110, 4000, 1)}
        pitches = {"talk1": 130.0, "talk2": 200.0, "talk3": 300.0}
        cases = [
            ({}, []),
            ({"click": tone(900, 9800, 0.06)}, ["click"]),      # 5.8 dB over the music
            ({"money": tone(900, 10100, 0.05)}, []),           # a loudest 50 ms that is the whole sound
            ({"talk3": tone(240, 12000, 0.1)}, ["talk3"]),      # not a major third over talk2
            ({"talk2": tone(150, 12000, 0.1)}, ["talk2"]),
        ]
        for changed, named in cases:
            with tempfile.TemporaryDirectory() as folder:
                for name in check.EFFECTS:
                    x = changed.get(name, tone(pitches.get(name, 700.0), 12000, 0.1))
                    self.write(folder, name, x)
                for name, x in music.items():
                    self.write(folder, name, x)
                with contextlib.redirect_stdout(io.StringIO()):
                    problems = check.check_mix(folder)
                self.assertEqual([p.split()[0].rstrip(":") for p in problems], named, (changed.keys(), problems))
        self.assertAlmostEqual(check.fundamental(tone(216.0, 9000, 0.1)), 216.0, delta=1.0)


if __name__ == "__main__":
    unittest.main()
