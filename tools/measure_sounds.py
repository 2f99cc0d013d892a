#!/usr/bin/python3
"""Measures the generated sounds and prints Markdown tables for tools/README.md.

Levels come from `sox FILE -n stat`; pitches from a finely zero-padded FFT of
the decoded audio (Hann window, parabolic interpolation on the log
magnitude), good to about a hundredth of a hertz. The demo recording is cut
into plucks where its level rises out of the silence between them.
"""

import math
import os
import re
import subprocess
import sys

import numpy as np

from output_dir import out_dir_from_args

A4 = 440.0
NOTES = {"E4": -5, "G4": -2, "A4": 0, "C5": 3, "E5": 7}
STRING_FILES = [("1_2_6_E5.mp3", "E5"), ("3_4_A4.mp3", "A4"), ("5_E4.mp3", "E4"),
                ("7_8_C5.mp3", "C5"), ("9_10_G4.mp3", "G4")]
SILENCE_DBFS = -60.0
FRAME_SECONDS = 0.01


def note_frequency(note):
    return A4 * 2 ** (NOTES[note] / 12)


def decode(path):
    """The file's samples as floats in -1..1, and its sample rate, decoded by sox."""
    rate = int(subprocess.run(["soxi", "-r", path], check=True, capture_output=True, text=True).stdout)
    raw = subprocess.run(["sox", path, "-t", "raw", "-e", "signed-integer", "-b", "16", "-c", "1", "-"],
                         check=True, capture_output=True).stdout
    return np.frombuffer(raw, dtype="<i2").astype(np.float64) / 32768.0, rate


def sox_stat(path):
    """sox's own figures: peak level in dBFS and RMS amplitude."""
    report = subprocess.run(["sox", path, "-n", "stat"], check=True, capture_output=True, text=True).stderr
    value = lambda label: float(re.search(label + r":\s+(-?[\d.]+)", report).group(1))
    peak = max(abs(value("Maximum amplitude")), abs(value("Minimum amplitude")))
    return 20 * math.log10(peak), value("RMS     amplitude")


def strongest_frequency(samples, rate, low, high):
    """The frequency of the strongest spectral peak between low and high hertz."""
    windowed = samples * np.hanning(len(samples))
    size = 1 << 22
    magnitude = np.abs(np.fft.rfft(windowed, size))
    first, last = int(low * size / rate), int(high * size / rate)
    k = first + int(np.argmax(magnitude[first:last]))
    a, b, c = np.log(magnitude[k - 1:k + 2] + 1e-30)
    offset = 0.5 * (a - c) / (a - 2 * b + c)
    return (k + offset) * rate / size


def cents(frequency, reference):
    return 1200 * math.log2(frequency / reference)


def nearest_note(frequency):
    return min(NOTES, key=lambda note: abs(cents(frequency, note_frequency(note))))


def frame_levels(samples, rate):
    """RMS level in dBFS of consecutive 10 ms frames."""
    frame = int(FRAME_SECONDS * rate)
    count = len(samples) // frame
    rms = np.sqrt(np.mean(samples[:count * frame].reshape(count, frame) ** 2, axis=1))
    return 20 * np.log10(np.maximum(rms, 1e-12))


def plucks(samples, rate):
    """(start, end) sample ranges of the sounding parts: frames above -60 dBFS, joined across short dips."""
    loud = frame_levels(samples, rate) > SILENCE_DBFS
    frame = int(FRAME_SECONDS * rate)
    ranges, start = [], None
    for i, is_loud in enumerate(np.append(loud, False)):
        if is_loud and start is None:
            start = i
        elif not is_loud and start is not None:
            ranges.append([start * frame, i * frame])
            start = None
    return ranges


def string_table(out_dir):
    lines = ["| File | Target (Hz) | Measured (Hz) | Error (cents) | Peak (dBFS) | Length (s) |",
             "|---|---|---|---|---|---|"]
    for name, note in STRING_FILES:
        path = os.path.join(out_dir, name)
        samples, rate = decode(path)
        target = note_frequency(note)
        measured = strongest_frequency(samples[int(0.05 * rate):int(1.5 * rate)], rate, 0.9 * target, 1.1 * target)
        peak, _ = sox_stat(path)
        lines.append(f"| {name} | {target:.4f} | {measured:.4f} | {cents(measured, target):+.3f} | "
                     f"{peak:.1f} | {len(samples) / rate:.2f} |")
    return "\n".join(lines)


def beep_table(out_dir):
    path = os.path.join(out_dir, "beep-full.wav")
    samples, rate = decode(path)
    peak, _ = sox_stat(path)
    half = len(samples) // 2
    first = strongest_frequency(samples[:half], rate, 500, 3000)
    second = strongest_frequency(samples[half:], rate, 500, 3000)
    return (f"beep-full.wav: {len(samples) / rate:.3f} s at {rate} Hz, peak {peak:.1f} dBFS, "
            f"blips at {first:.1f} Hz and {second:.1f} Hz.")


def demo_table(out_dir):
    path = os.path.join(out_dir, "demo-tuning.wav")
    samples, rate = decode(path)
    peak, _ = sox_stat(path)
    ranges = plucks(samples, rate)
    lines = [f"demo-tuning.wav: {len(samples) / rate:.2f} s at {rate} Hz, peak {peak:.1f} dBFS, "
             f"{len(ranges)} plucks.", "",
             "| Start (s) | Note | Measured (Hz) | Cents | Sounding (s) | Peak (dBFS) | RMS 0-0.3 s | Silence after (s) |",
             "|---|---|---|---|---|---|---|---|"]
    for i, (start, end) in enumerate(ranges):
        part = samples[start:end]
        frequency = strongest_frequency(part[:int(0.8 * rate)], rate, 280, 760)
        note = nearest_note(frequency)
        rms = math.sqrt(np.mean(part[:int(0.3 * rate)] ** 2))
        following = (ranges[i + 1][0] if i + 1 < len(ranges) else len(samples)) - end
        lines.append(f"| {start / rate:.2f} | {note} | {frequency:.2f} | {cents(frequency, note_frequency(note)):+.1f} | "
                     f"{(end - start) / rate:.2f} | {20 * math.log10(np.max(np.abs(part))):.1f} | {rms:.3f} | "
                     f"{following / rate:.2f} |")
    return "\n".join(lines)


def main():
    out_dir = out_dir_from_args(sys.argv)
    print(string_table(out_dir), "", beep_table(out_dir), "", demo_table(out_dir), sep="\n")


if __name__ == "__main__":
    main()
