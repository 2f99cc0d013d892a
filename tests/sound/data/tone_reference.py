#!/usr/bin/env python3
"""Reference recordings of the tuning-fork tone for the golden tests.

Computes the tone the way the synthesiser is defined -- the pitch and its
per-frame increment in single precision, the multiply-adds of the triangle
and the sawtooth fused (done here in exact rational arithmetic, rounded once),
everything else in double precision, left to right -- independently of the
program's own code, and writes it as a 44100 Hz 16-bit stereo WAV file.

    python3 tone_reference.py NOTE SECONDS OUT.wav     e.g.  A4 0.05 tone-A4-50ms.wav
    python3 tone_reference.py state NOTE SECONDS       the oscillators afterwards, exactly
"""
import math
import struct
import sys
from fractions import Fraction

SAMPLE_RATE = 44100
PI = 3.141592653589793
TWO_PI = 6.283185307179586
NOTES = {"E5": "659.3", "A4": "440", "E4": "329.6", "C5": "523.2", "G4": "392"}


def to_float32(value: Fraction) -> float:
    """Rounds to the nearest single-precision number, ties to even (normal range)."""
    if value == 0:
        return 0.0
    sign = -1 if value < 0 else 1
    value = abs(value)
    exponent = value.numerator.bit_length() - value.denominator.bit_length()
    if value < Fraction(2) ** exponent:
        exponent -= 1
    scaled = value / Fraction(2) ** (exponent - 23)  # in [2**23, 2**24)
    mantissa = scaled.numerator // scaled.denominator
    rest = scaled - mantissa
    if rest > Fraction(1, 2) or (rest == Fraction(1, 2) and mantissa % 2 == 1):
        mantissa += 1
    return sign * float(mantissa * Fraction(2) ** (exponent - 23))


def fma(a: float, b: float, c: float) -> float:
    return float(Fraction(a) * Fraction(b) + Fraction(c))


def tone(frequency_text: str, frames: int, selector: int = 1, final_state=None):
    frequency = to_float32(Fraction(frequency_text))
    increment = to_float32(Fraction(frequency) / SAMPLE_RATE)
    phase, triangle, direction, sawtooth, square = 0.0, 0.0, 1.0, 0.0, 0.0
    for _ in range(frames):
        sine = math.sin(phase)
        wave = {1: triangle, 2: sawtooth, 3: square}.get(selector, sine)
        mix = sine + ((wave - sine) * 50.0) / 100.0
        yield int(mix / TWO_PI * 32767 * 6 * 0.95)
        phase = phase + increment * TWO_PI
        if phase > TWO_PI:
            phase -= TWO_PI
        triangle = fma(direction * 4.0, increment, triangle)
        if abs(triangle) > 1.0:
            triangle = (2.0 - abs(triangle)) * direction
            direction = -direction
        sawtooth = fma(increment, 2.0, sawtooth)
        if sawtooth > 1.0:
            sawtooth -= 2.0
        square = 1.0 if phase <= PI else -1.0
    if final_state is not None:
        final_state.update(sinePhase=phase, triangleValue=triangle, triangleDirection=direction,
                           sawtoothValue=sawtooth, squareValue=square)


def main():
    if sys.argv[1] == "state":
        note, seconds = sys.argv[2], float(sys.argv[3])
        state = {}
        for _ in tone(NOTES[note], round(seconds * SAMPLE_RATE), final_state=state):
            pass
        for name, value in state.items():
            print(f"{name} {value.hex()}")
        return
    note, seconds, out = sys.argv[1], float(sys.argv[2]), sys.argv[3]
    frames = round(seconds * SAMPLE_RATE)
    data = b"".join(struct.pack("<hh", s, s) for s in tone(NOTES[note], frames))
    header = struct.pack("<4sI4s4sIHHIIHH4sI", b"RIFF", 36 + len(data), b"WAVE", b"fmt ", 16, 1, 2,
                         SAMPLE_RATE, SAMPLE_RATE * 4, 4, 16, b"data", len(data))
    with open(out, "wb") as f:
        f.write(header + data)


if __name__ == "__main__":
    main()
