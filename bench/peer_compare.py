#!/usr/bin/env python3
"""`pallqa-tuner analyze` against aubiopitch (aubio-tools), the peer, on the
same recordings: plucked strings at 14039 Hz mono, 44.1 kHz mono and 48 kHz
stereo (10 s, 60 s and 600 s of each by default), generated into a temporary
folder, and any files given with --file.

Each round runs both on a file, one right after the other, the order
alternating from round to round, so that a machine's changing load falls on
the two alike; the figures are ratios within a round, peer ÷ ours (above 1
means analyze took less), as min / median / max over the rounds, for CPU
time (user + system) and wall time. Beside them: the peak resident memory of
each and the time from the process's start to its first line of output, read
from the pipe as it comes (medians over the rounds).

aubiopitch runs as it ships (yinfft, 2048-frame buffer, 256-frame hop, at the
file's own rate); analyze as the program does (4096-sample buffers at
14039 Hz, after conversion).

Not part of the test suite or CI: its figures depend on the machine. Say how
loaded the machine was (the load average is printed) with the figures.

    bench/peer_compare.py [--program build/release/app/pallqa-tuner] [--rounds 5]
                          [--jobs N] [--seconds 10 60] [--rates 14039] [--file F]...
"""

import argparse
import array
import math
import os
import pathlib
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import wave

LENGTHS = (10, 60, 600)
FORMATS = ((14039, 1), (44100, 1), (48000, 2))
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


class Run:
    """One run of a command: CPU and wall seconds, peak resident KiB, and
    seconds from its start to the end of its first line of output.

    GNU time starts the command and reports its peak: the kernel counts a
    process's peak from before its exec, so a command started straight from
    this script would count at least this script's own size. Both sides of a
    pair pay the same small cost of GNU time's start."""

    def __init__(self, command):
        with tempfile.NamedTemporaryFile(mode="r") as peak:
            start = time.monotonic()
            process = subprocess.Popen(["/usr/bin/time", "-f", "%M", "-o", peak.name, *command],
                                       stdout=subprocess.PIPE, stderr=subprocess.PIPE)
            self.first_line = math.nan
            output = process.stdout.fileno()
            while chunk := os.read(output, 1 << 16):
                if math.isnan(self.first_line) and b"\n" in chunk:
                    self.first_line = time.monotonic() - start
            _, status, usage = os.wait4(process.pid, 0)
            self.wall = time.monotonic() - start
            errors = process.stderr.read().decode(errors="replace")
            process.stdout.close()
            process.stderr.close()
            if os.waitstatus_to_exitcode(status) != 0:
                sys.exit(f"{' '.join(command)} failed: {errors}")
            self.cpu = usage.ru_utime + usage.ru_stime
            self.rss = int(peak.read().split()[-1])


def spread(values):
    """min / median / max."""
    return f"{min(values):.2f} / {statistics.median(values):.2f} / {max(values):.2f}"


def paired_runs(ours, other, rounds):
    """Runs the two commands `rounds` times, one right after the other, the
    order alternating; the pairs of runs (ours, other) and the medians of
    each, {"ours": {field: median}, "other": ...}."""
    runs = {"ours": [], "other": []}
    for round_ in range(rounds):
        order = (("ours", ours), ("other", other))
        for key, command in order if round_ % 2 == 0 else reversed(order):
            runs[key].append(Run(command))
        print(".", end="", file=sys.stderr, flush=True)
    median = {key: {field: statistics.median(getattr(run, field) for run in values)
                    for field in ("cpu", "wall", "rss", "first_line")} for key, values in runs.items()}
    return list(zip(runs["ours"], runs["other"])), median


def compare(name, ours, peer, rounds):
    pairs, median = paired_runs(ours, peer, rounds)
    print(f"\r{name:<24} {spread([p.cpu / o.cpu for o, p in pairs]):>18} {spread([p.wall / o.wall for o, p in pairs]):>18}"
          f" {median['ours']['cpu']:>7.3f} {median['other']['cpu']:>7.3f}"
          f" {median['ours']['rss'] / 1024:>6.1f} {median['other']['rss'] / 1024:>6.1f}"
          f" {1000 * median['ours']['first_line']:>6.1f} {1000 * median['other']['first_line']:>6.1f}", flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", default=str(pathlib.Path(__file__).resolve().parent.parent /
                                                 "build/release/app/pallqa-tuner"))
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--jobs", type=int, help="passed on to analyze as --jobs")
    parser.add_argument("--seconds", type=int, nargs="+", default=LENGTHS, help="lengths of the generated files")
    parser.add_argument("--rates", type=int, nargs="+", default=[rate for rate, _ in FORMATS],
                        help="which of the generated formats: 14039, 44100 (mono), 48000 (stereo)")
    parser.add_argument("--file", action="append", default=[], help="a recording of your own, also compared")
    options = parser.parse_args()
    if options.rounds < 1:
        sys.exit("--rounds must be at least 1")
    if not shutil.which("aubiopitch") or not os.path.exists("/usr/bin/time"):
        sys.exit("aubiopitch or GNU time is missing: install aubio-tools and time (build-support/packages.sh,"
                 " BENCH_PACKAGES)")
    analyze = [options.program, "analyze"] + (["--jobs", str(options.jobs)] if options.jobs else [])
    print(f"load average at the start: {' '.join(f'{load:.2f}' for load in os.getloadavg())}"
          f" on {os.cpu_count()} cores; {options.rounds} paired rounds")
    print(f"{'':<24} {'CPU aubio÷ours':>18} {'wall aubio÷ours':>18} {'CPU s':>15} {'MiB':>13} {'1st line ms':>13}")
    print(f"{'file':<24} {'min / med / max':>18} {'min / med / max':>18}"
          f" {'ours':>7} {'aubio':>7} {'ours':>6} {'aubio':>6} {'ours':>6} {'aubio':>6}")
    with tempfile.TemporaryDirectory(prefix="pallqa-peer-") as folder:
        for rate, channels in FORMATS:
            if rate not in options.rates:
                continue
            for seconds in options.seconds:
                path = pathlib.Path(folder) / f"{rate}-{channels}ch-{seconds}s.wav"
                write_recording(path, rate, channels, seconds)
                name = f"{seconds} s {rate} Hz {'mono' if channels == 1 else 'stereo'}"
                compare(name, analyze + [str(path)], ["aubiopitch", "-i", str(path)], options.rounds)
                path.unlink()
    for path in options.file:
        compare(pathlib.Path(path).name[:24], analyze + [path], ["aubiopitch", "-i", path], options.rounds)
    print(f"load average at the end: {' '.join(f'{load:.2f}' for load in os.getloadavg())}")


if __name__ == "__main__":
    main()
