#!/usr/bin/env python3
"""Measures how long Pallqa Tuner takes to show a pluck played into a microphone.

Starts a private sound server (build-support/sound-server.sh), runs the program
on it with its default device settings and the console frontend, and plays 25
plucks into the virtual microphone, the five courses in turn so that each one
changes the screen. For each pluck it times the moment the pluck is handed to
the server (played with a 10 ms buffer) to the moment the console prints the
matched note, and reports, for each course and for all, the median, the 90th
percentile and the worst.

    tools/measure_live_latency.py [PROGRAM]     (default build/release/app/pallqa-tuner)

Needs only Python's standard library and the packages ./test installs.
"""

import os
import statistics
import subprocess
import sys
import tempfile
import threading
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SERVER = os.path.join(ROOT, "build-support", "sound-server.sh")
RESOURCES = os.path.join(ROOT, "resources")
PLUCKS = 25
# The courses played in turn, as the recordings and the line that shows each.
NOTES = [("1_2_6_E5.mp3", 'noteDisplay="E5"'), ("3_4_A4.mp3", 'noteDisplay="A4"'), ("5_E4.mp3", 'noteDisplay="E4"'),
         ("7_8_C5.mp3", 'noteDisplay="C5"'), ("9_10_G4.mp3", 'noteDisplay="G4"')]
# Long enough for a pluck to be matched and to fade below the tuner's gate.
SECONDS_BETWEEN_PLUCKS = 3.0
# What the budget allows: one capture buffer (4096 samples at 14039 Hz) and 100 ms.
BUDGET_SECONDS = 4096 / 14039 + 0.100


def milliseconds(seconds):
    return f"{1000 * seconds:.0f}"


def ninetieth_percentile(values):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, round(0.9 * (len(ordered) - 1)))]


def start_server(folder):
    output = subprocess.run([SERVER, "start", folder], check=True, capture_output=True, text=True).stdout
    env = dict(os.environ)
    for assignment in output.replace("export ", "").split():
        name, value = assignment.split("=", 1)
        env[name] = value.strip("'")
    return env


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "release", "app", "pallqa-tuner")
    with tempfile.TemporaryDirectory(prefix="pallqa-latency-") as folder:
        env = start_server(folder)
        env["XDG_CONFIG_HOME"] = os.path.join(folder, "config")
        env["XDG_STATE_HOME"] = os.path.join(folder, "state")
        seconds = PLUCKS * SECONDS_BETWEEN_PLUCKS + 5
        tuner = subprocess.Popen([program, "--headless", "--seconds", str(seconds)], env=env,
                                 stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True, bufsize=1)
        lines = []  # (arrival time, line)
        arrived = threading.Condition()

        def read():
            for line in tuner.stdout:
                with arrived:
                    lines.append((time.monotonic(), line))
                    arrived.notify_all()

        threading.Thread(target=read, daemon=True).start()
        try:
            time.sleep(2.0)  # the tuner is listening
            delays = {recording: [] for recording, _ in NOTES}
            for pluck in range(PLUCKS):
                recording, shown = NOTES[pluck % len(NOTES)]
                with arrived:
                    seen = len(lines)
                onset = time.monotonic()
                player = subprocess.Popen(["paplay", "--latency-msec=10", "-d", "microphone_feed",
                                           os.path.join(RESOURCES, recording)], env=env)
                deadline = onset + SECONDS_BETWEEN_PLUCKS
                match = None
                with arrived:
                    while match is None and time.monotonic() < deadline:
                        match = next((at for at, line in lines[seen:] if shown in line), None)
                        if match is None:
                            arrived.wait(deadline - time.monotonic())
                player.wait()
                if match is None:
                    print(f"pluck {pluck + 1}: not matched")
                else:
                    delays[recording].append(match - onset)
                    print(f"pluck {pluck + 1} ({recording}): {1000 * (match - onset):.0f} ms")
                time.sleep(max(0.0, deadline - time.monotonic()))
        finally:
            tuner.terminate()
            tuner.wait()
            subprocess.run([SERVER, "stop", folder], check=False)
    every = [delay for course in delays.values() for delay in course]
    if not every:
        print("no pluck was matched")
        return 1
    print(f"{'':14} {'matched':>8} {'median':>8} {'90 %':>8} {'worst':>8}   (ms)")
    for name, course in [(recording, delays[recording]) for recording, _ in NOTES] + [("all", every)]:
        if course:
            print(f"{name:14} {len(course):8d} {milliseconds(statistics.median(course)):>8} "
                  f"{milliseconds(ninetieth_percentile(course)):>8} {milliseconds(max(course)):>8}")
        else:
            print(f"{name:14} {0:8d}")
    print(f"{len(every)} of {PLUCKS} plucks matched (budget {1000 * BUDGET_SECONDS:.0f} ms)")
    return 0 if len(every) == PLUCKS and max(every) <= BUDGET_SECONDS else 1


if __name__ == "__main__":
    sys.exit(main())
