#!/usr/bin/env python3
"""What starting the program costs against a floor: a plain C program
(bench/plain_open.c) that links only libsndfile, libsoxr and KISS FFT and
opens the same recording. Paired rounds, the order alternating, as in
peer_compare.py: for `--version`, `chord` and the console's first screen,
the CPU and wall ratios ours ÷ floor (min / median / max; 2.0 means twice
the floor), the medians of each, the peak resident memory, and for the
console the time from the start to its first line.

Not part of the test suite or CI: its figures depend on the machine. Say how
loaded the machine was (the load average is printed) with the figures.

    bench/startup_compare.py BUILD_DIR [--rounds 9]
"""

import argparse
import os
import pathlib
import tempfile

from peer_compare import paired_runs, spread, write_recording


def compare(name, ours, floor, rounds):
    pairs, median = paired_runs(ours, floor, rounds)
    print(f"\r{name:<16} {spread([o.cpu / f.cpu for o, f in pairs]):>18} {spread([o.wall / f.wall for o, f in pairs]):>18}"
          f" {1000 * median['ours']['cpu']:>6.1f} {1000 * median['other']['cpu']:>6.1f}"
          f" {median['ours']['rss'] / 1024:>6.1f} {median['other']['rss'] / 1024:>6.1f}"
          f" {1000 * median['ours']['first_line']:>7.1f}", flush=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("build")
    parser.add_argument("--rounds", type=int, default=9)
    options = parser.parse_args()
    program = str(pathlib.Path(options.build) / "app" / "pallqa-tuner")
    plain = str(pathlib.Path(options.build) / "bench" / "plain_open")
    print(f"load average at the start: {' '.join(f'{load:.2f}' for load in os.getloadavg())}"
          f" on {os.cpu_count()} cores; {options.rounds} paired rounds")
    print(f"{'':<16} {'CPU ours÷floor':>18} {'wall ours÷floor':>18} {'CPU ms':>13} {'MiB':>13} {'1st line'}")
    print(f"{'run':<16} {'min / med / max':>18} {'min / med / max':>18}"
          f" {'ours':>6} {'floor':>6} {'ours':>6} {'floor':>6} {'ms':>7}")
    with tempfile.TemporaryDirectory(prefix="pallqa-startup-") as folder:
        os.environ.update(XDG_CONFIG_HOME=folder, XDG_STATE_HOME=folder)
        os.environ.pop("DISPLAY", None)
        os.environ.pop("WAYLAND_DISPLAY", None)
        recording = pathlib.Path(folder) / "10s.wav"
        write_recording(recording, 14039, 1, 10)
        floor = [plain, str(recording)]
        compare("--version", [program, "--version"], floor, options.rounds)
        compare("chord A m", [program, "chord", "A", "m"], floor, options.rounds)
        compare("console", [program, "--headless", "--fast", "--input", str(recording), "--seconds", "0.05"], floor,
                options.rounds)
    print(f"load average at the end: {' '.join(f'{load:.2f}' for load in os.getloadavg())}")


if __name__ == "__main__":
    main()
