#!/usr/bin/python3
"""Synthesises the sounds: the five string recordings, the confirmation beep and the demo recording.

- "1_2_6_E5.mp3", "3_4_A4.mp3", "5_E4.mp3", "7_8_C5.mp3", "9_10_G4.mp3": one open
  string plucked, 2.5 s, 44100 Hz mono, peak about -6 dBFS, MP3 at 128 kbit/s.
- "beep-full.wav": two soft rising blips, 44100 Hz mono 16-bit.
- "demo-tuning.wav": about 41 s at the microphone rate of 14039 Hz, the five
  courses tuned one after another (see DEMO_TIMELINE), played to the tuner when
  no microphone exists.

The plucks are additive: exact harmonic partials, each decaying faster than
the one below, so the pitch is exactly the equal-tempered one. All noise comes
from a seeded generator, so every run writes the same files.
"""

import os
import subprocess
import sys
import tempfile
import wave

import numpy as np

from output_dir import out_dir_from_args

A4 = 440.0
SEMITONES_FROM_A4 = {"E5": 7, "A4": 0, "E4": -5, "C5": 3, "G4": -2}

RECORDING_RATE = 44100
RECORDINGS = [("1_2_6_E5.mp3", "E5"), ("3_4_A4.mp3", "A4"), ("5_E4.mp3", "E4"),
              ("7_8_C5.mp3", "C5"), ("9_10_G4.mp3", "G4")]
RECORDING_SECONDS = 2.5
RECORDING_PEAK_DBFS = -6.0
# A nylon-like pluck: a strong fundamental and a handful of quieter overtones.
RECORDING_HARMONICS = [1.0, 0.55, 0.35, 0.22, 0.14, 0.09, 0.06, 0.04]
MP3_BITRATE = 128

BEEP_RATE = 44100
BEEP_BLIPS = [(1200.0, 0.00), (1600.0, 0.16)]  # (frequency in Hz, start in s)
BEEP_BLIP_SECONDS = 0.12
BEEP_SECONDS = 0.30
BEEP_PEAK_DBFS = -8.0

DEMO_RATE = 14039
DEMO_PEAK_DBFS = -12.0
DEMO_NOISE_FLOOR_DBFS = -80.0
# The detector sums the 2nd and 3rd harmonics onto the fundamental, so they are kept clearly below it.
DEMO_HARMONICS = [1.0, 0.5, 0.3, 0.15, 0.08]
DEMO_LEAD_IN = 0.5
DEMO_GAP = 1.0           # silence after each pluck, so the level meter drops
DEMO_SHORT_PLUCK = 1.4   # out-of-tune plucks
DEMO_LONG_PLUCK = 2.5    # the pluck in tune
# (note, cents of the first pluck, cents of the second pluck); the third is in tune.
DEMO_COURSES = [("E5", +30, +12), ("A4", -40, -12), ("E4", +35, -12), ("C5", -30, +12), ("G4", +40, -12)]

SEED = 20240611


def note_frequency(note, cents=0.0):
    return A4 * 2 ** ((SEMITONES_FROM_A4[note] + cents / 100) / 12)


def db_to_gain(db):
    return 10 ** (db / 20)


def pluck(frequency, seconds, rate, harmonics, rng, fundamental_decay=0.9, fade=0.4):
    """One plucked string, normalised to a peak of 1.0.

    Each partial n (exact multiple n of the frequency) decays with a time
    constant that shrinks as n grows, as a real string's overtones die first.
    A short filtered noise burst gives the pick's click; a 4 ms rise softens
    the attack and a raised-cosine fade brings the end to exact silence.
    """
    n = int(round(seconds * rate))
    t = np.arange(n) / rate
    tone = np.zeros(n)
    for number, amplitude in enumerate(harmonics, start=1):
        if number * frequency >= 0.45 * rate:
            break
        decay = fundamental_decay / (1 + 0.55 * (number - 1))
        phase = rng.uniform(0, 2 * np.pi)
        tone += amplitude * np.exp(-t / decay) * np.sin(2 * np.pi * number * frequency * t + phase)

    click = rng.standard_normal(n) * np.exp(-t / 0.006)
    smoothed = np.empty(n)
    state = 0.0
    for i, value in enumerate(click[: int(0.05 * rate)]):
        state += 0.25 * (value - state)  # one-pole low-pass: a soft thump, not a hiss
        smoothed[i] = state
    smoothed[int(0.05 * rate):] = 0.0
    tone += 0.04 * smoothed

    attack = np.minimum(t / 0.004, 1.0)
    tone *= 0.5 - 0.5 * np.cos(np.pi * attack)
    fade_len = int(fade * rate)
    tone[-fade_len:] *= 0.5 + 0.5 * np.cos(np.linspace(0, np.pi, fade_len))
    return tone / np.max(np.abs(tone))


def to_pcm16(samples):
    return np.clip(np.round(samples * 32767), -32768, 32767).astype("<i2")


def write_wav(path, samples, rate):
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(rate)
        out.writeframes(to_pcm16(samples).tobytes())


def write_mp3(path, samples, rate):
    with tempfile.TemporaryDirectory() as scratch:
        wav = os.path.join(scratch, "pluck.wav")
        write_wav(wav, samples, rate)
        subprocess.run(["lame", "--quiet", "-m", "m", "-b", str(MP3_BITRATE), "--noreplaygain", wav, path],
                       check=True)


def recordings(out_dir, rng):
    for name, note in RECORDINGS:
        tone = pluck(note_frequency(note), RECORDING_SECONDS, RECORDING_RATE, RECORDING_HARMONICS, rng)
        write_mp3(os.path.join(out_dir, name), db_to_gain(RECORDING_PEAK_DBFS) * tone, RECORDING_RATE)


def beep(out_dir):
    n = int(BEEP_SECONDS * BEEP_RATE)
    t = np.arange(n) / BEEP_RATE
    signal = np.zeros(n)
    for frequency, start in BEEP_BLIPS:
        local = t - start
        inside = (local >= 0) & (local < BEEP_BLIP_SECONDS)
        rise = 0.5 - 0.5 * np.cos(np.pi * np.clip(local / 0.008, 0, 1))
        fall = 0.5 + 0.5 * np.cos(np.pi * np.clip((local - (BEEP_BLIP_SECONDS - 0.03)) / 0.03, 0, 1))
        envelope = np.where(inside, rise * fall * np.exp(-np.clip(local, 0, None) / 0.07), 0.0)
        signal += envelope * (np.sin(2 * np.pi * frequency * local) + 0.08 * np.sin(4 * np.pi * frequency * local))
    signal *= db_to_gain(BEEP_PEAK_DBFS) / np.max(np.abs(signal))
    write_wav(os.path.join(out_dir, "beep-full.wav"), signal, BEEP_RATE)


def demo_timeline():
    """(start in s, note, cents, length in s) for every pluck of the demo, in order."""
    timeline, clock = [], DEMO_LEAD_IN
    for note, first, second in DEMO_COURSES:
        for cents, length in ((first, DEMO_SHORT_PLUCK), (second, DEMO_SHORT_PLUCK), (0, DEMO_LONG_PLUCK)):
            timeline.append((round(clock, 3), note, cents, length))
            clock += length + DEMO_GAP
    return timeline, clock


def demo(out_dir, rng):
    timeline, total = demo_timeline()
    n = int(round(total * DEMO_RATE))
    signal = rng.standard_normal(n) * db_to_gain(DEMO_NOISE_FLOOR_DBFS)
    for start, note, cents, length in timeline:
        tone = pluck(note_frequency(note, cents), length, DEMO_RATE, DEMO_HARMONICS, rng,
                     fundamental_decay=1.2, fade=0.35)
        first = int(round(start * DEMO_RATE))
        signal[first:first + len(tone)] += db_to_gain(DEMO_PEAK_DBFS) * tone
    write_wav(os.path.join(out_dir, "demo-tuning.wav"), signal, DEMO_RATE)


def main():
    out_dir = out_dir_from_args(sys.argv)
    rng = np.random.default_rng(SEED)
    recordings(out_dir, rng)
    beep(out_dir)
    demo(out_dir, rng)


if __name__ == "__main__":
    main()
