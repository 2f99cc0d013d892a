#!/usr/bin/env python3
"""`pallqa-tuner analyze` against aubiopitch (aubio-tools), the peer, on the
same recordings: 10 s, 60 s and 600 s of plucked strings at 14039 Hz mono,
44.1 kHz mono and 48 kHz stereo, generated into a temporary folder. The two
run interleaved, file by file, so that a machine's changing load falls on both
alike; each run's time is the best of --repeat. Prints, per file, the speed
as × real time (seconds of sound per second of wall clock), the peak resident
memory of each, and the ratios: speed as analyze ÷ aubiopitch (above 1 means
analyze is faster), memory as analyze ÷ aubiopitch (below 1 means it holds
less).

aubiopitch runs as it ships (yinfft, 2048-frame buffer, 256-frame hop, at the
file's own rate); analyze as the program does (4096-sample buffers at
14039 Hz, after conversion).

Not part of the test suite or CI: its figures depend on the machine.

    bench/peer_compare.py [--program build/release/app/pallqa-tuner] [--repeat 3]
"""

import argparse
import array
import math
import os
import pathlib
import shutil
import subprocess
import sys
import tempfile
import time
import wave

LENGTHS = (10, 60, 600)
FORMATS = (("14039 Hz mono", 14039, 1), ("44.1 kHz mono", 44100, 1), ("48 kHz stereo", 48000, 2))
# The five open strings, one plucked each second, the cycle repeated.
STRINGS = (659.255, 440.0, 329.628, 523.251, 391.995)


def cycle_frames(rate, channels):
    """Five seconds of plucked strings as 16-bit frames."""
    frames = array.array("h")
    for pitch in STRINGS:
        for n in range(rate):
            t = n / rate
            fade = math.exp(-2.5 * t)
            value = sum(strength * math.sin(2 * math.pi * pitch * harmonic * t)
                        for harmonic, strength in ((1, 0.5), (2, 0.25), (3, 0.12), (4, 0.06)))
            sample = int(round(12000 * fade * value))
            for channel in range(channels):
                # The second channel a little quieter, so a mix-down is no copy.
                frames.append(sample if channel == 0 else int(sample * 0.8))
    return frames.tobytes()


def write_recording(path, rate, channels, seconds):
    cycle = cycle_frames(rate, channels)
    with wave.open(str(path), "wb") as out:
        out.setnchannels(channels)
        out.setsampwidth(2)
        out.setframerate(rate)
        for _ in range(seconds // len(STRINGS)):
            out.writeframes(cycle)


def measure(command):
    """Wall seconds and peak resident KiB of one run, its output discarded."""
    start = time.monotonic()
    with open(os.devnull, "wb") as sink:
        process = subprocess.Popen(command, stdout=sink, stderr=subprocess.PIPE)
        _, status, usage = os.wait4(process.pid, 0)
        wall = time.monotonic() - start
        errors = process.stderr.read().decode(errors="replace")
        process.stderr.close()
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit(f"{' '.join(command)} failed: {errors}")
    return wall, usage.ru_maxrss


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", default=str(pathlib.Path(__file__).resolve().parent.parent /
                                                 "build/release/app/pallqa-tuner"))
    parser.add_argument("--repeat", type=int, default=3)
    parser.add_argument("--jobs", type=int, help="passed on to analyze as --jobs")
    options = parser.parse_args()
    if not shutil.which("aubiopitch"):
        sys.exit("aubiopitch is missing: install aubio-tools (build-support/packages.sh, BENCH_PACKAGES)")
    analyze = [options.program, "analyze"]
    with tempfile.TemporaryDirectory(prefix="pallqa-peer-") as folder:
        print(f"{'file':<22} {'analyze ×rt':>12} {'aubio ×rt':>10} {'speed':>6}"
              f" {'analyze MiB':>12} {'aubio MiB':>10} {'memory':>7}")
        for name, rate, channels in FORMATS:
            for seconds in LENGTHS:
                path = pathlib.Path(folder) / f"{rate}-{channels}ch-{seconds}s.wav"
                write_recording(path, rate, channels, seconds)
                ours = analyze + [str(path)] + (["--jobs", str(options.jobs)] if options.jobs else [])
                peer = ["aubiopitch", "-i", str(path)]
                best = {"ours": (math.inf, 0), "peer": (math.inf, 0)}
                for round_ in range(options.repeat):
                    # Alternate which goes first, so neither always follows the other.
                    order = (("ours", ours), ("peer", peer)) if round_ % 2 == 0 else (("peer", peer), ("ours", ours))
                    for key, command in order:
                        wall, rss = measure(command)
                        best[key] = (min(best[key][0], wall), max(best[key][1], rss))
                    print(".", end="", file=sys.stderr, flush=True)
                path.unlink()
                ours_speed = seconds / best["ours"][0]
                peer_speed = seconds / best["peer"][0]
                print(f"\r{seconds:>4} s {name:<16} {ours_speed:>12.1f} {peer_speed:>10.1f}"
                      f" {ours_speed / peer_speed:>6.2f} {best['ours'][1] / 1024:>12.1f}"
                      f" {best['peer'][1] / 1024:>10.1f} {best['ours'][1] / best['peer'][1]:>7.2f}", flush=True)


if __name__ == "__main__":
    main()
