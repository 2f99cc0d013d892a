#!/usr/bin/env python3
"""Measures how long Pallqa Tuner takes to show a pluck played into a microphone.

Starts a private sound server (build-support/sound-server.sh), runs the program
on it with its default device settings and the console frontend, and plays 25
plucks into the virtual microphone, the five courses in turn so that each one
changes the screen. For each pluck it times, from the pluck's onset (the
moment the recording is handed to the server, played with a 10 ms buffer, plus
where its first loud sample lies in the recording), two moments: the console
printing the matched note, and the console printing the guide's first reading
that names the course. It reports, for each course and for all, the median,
the 90th percentile and the worst of each.

    tools/measure_live_latency.py [PROGRAM]     (default build/release/app/pallqa-tuner)

Needs only Python's standard library and the packages ./test installs.
"""

import array
import ctypes
import ctypes.util
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
# The courses played in turn: the recording, the matched line and the guide's line that show each.
NOTES = [("1_2_6_E5.mp3", 'noteDisplay="E5"', 'guideCourse="Course 1 · E5"'),
         ("3_4_A4.mp3", 'noteDisplay="A4"', 'guideCourse="Course 2 · A4"'),
         ("5_E4.mp3", 'noteDisplay="E4"', 'guideCourse="Course 3 · E4"'),
         ("7_8_C5.mp3", 'noteDisplay="C5"', 'guideCourse="Course 4 · C5"'),
         ("9_10_G4.mp3", 'noteDisplay="G4"', 'guideCourse="Course 5 · G4"')]
# A pluck starts at its first sample this loud, of the recording's loudest.
ONSET_SHARE = 0.05
# Long enough for a pluck to be matched and to fade below the tuner's gate.
SECONDS_BETWEEN_PLUCKS = 3.0
# What the budget allows: one capture buffer (4096 samples at 14039 Hz) and 100 ms.
BUDGET_SECONDS = 4096 / 14039 + 0.100
# The guide's budget: its first reading naming the course within 200 ms of the onset.
GUIDE_BUDGET_SECONDS = 0.200


def milliseconds(seconds):
    return f"{1000 * seconds:.0f}"


def ninetieth_percentile(values):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, round(0.9 * (len(ordered) - 1)))]


class SfInfo(ctypes.Structure):
    _fields_ = [("frames", ctypes.c_int64), ("samplerate", ctypes.c_int), ("channels", ctypes.c_int),
                ("format", ctypes.c_int), ("sections", ctypes.c_int), ("seekable", ctypes.c_int)]


def onset_seconds(path):
    """Where the pluck starts in a recording: its first sample at ONSET_SHARE of the loudest (libsndfile reads it)."""
    sndfile = ctypes.CDLL(ctypes.util.find_library("sndfile"))
    sndfile.sf_open.restype = ctypes.c_void_p
    sndfile.sf_open.argtypes = [ctypes.c_char_p, ctypes.c_int, ctypes.POINTER(SfInfo)]
    sndfile.sf_readf_short.restype = ctypes.c_int64
    sndfile.sf_readf_short.argtypes = [ctypes.c_void_p, ctypes.c_void_p, ctypes.c_int64]
    sndfile.sf_close.argtypes = [ctypes.c_void_p]
    info = SfInfo()
    handle = sndfile.sf_open(path.encode(), 0x10, ctypes.byref(info))  # SFM_READ
    if not handle:
        raise RuntimeError(f"cannot read {path}")
    try:
        samples = array.array("h", bytes(2 * info.frames * info.channels))
        read = sndfile.sf_readf_short(handle, samples.buffer_info()[0], info.frames)
    finally:
        sndfile.sf_close(handle)
    samples = samples[:read * info.channels]
    threshold = ONSET_SHARE * max(abs(sample) for sample in samples)
    first = next(index for index, sample in enumerate(samples) if abs(sample) >= threshold)
    return first // info.channels / info.samplerate


def summary_rows(name, delays):
    """The table's cells of one row: count, median, 90th percentile, worst."""
    if not delays:
        return [name, "0", "", "", ""]
    return [name, str(len(delays)), milliseconds(statistics.median(delays)),
            milliseconds(ninetieth_percentile(delays)), milliseconds(max(delays))]


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
            onsets = {recording: onset_seconds(os.path.join(RESOURCES, recording)) for recording, _, _ in NOTES}
            matched = {recording: [] for recording, _, _ in NOTES}
            guided = {recording: [] for recording, _, _ in NOTES}
            for pluck in range(PLUCKS):
                recording, match_line, guide_line = NOTES[pluck % len(NOTES)]
                with arrived:
                    seen = len(lines)
                started = time.monotonic()
                player = subprocess.Popen(["paplay", "--latency-msec=10", "-d", "microphone_feed",
                                           os.path.join(RESOURCES, recording)], env=env)
                onset = started + onsets[recording]
                deadline = started + SECONDS_BETWEEN_PLUCKS
                shown = {match_line: None, guide_line: None}
                with arrived:
                    while None in shown.values() and time.monotonic() < deadline:
                        for wanted in shown:
                            if shown[wanted] is None:
                                shown[wanted] = next((at for at, line in lines[seen:] if wanted in line), None)
                        if None in shown.values():
                            arrived.wait(max(0.0, deadline - time.monotonic()))
                player.wait()
                said = []
                for wanted, delays, what in ((match_line, matched, "matched"), (guide_line, guided, "guide")):
                    if shown[wanted] is None:
                        said.append(f"{what}: not shown")
                    else:
                        delays[recording].append(shown[wanted] - onset)
                        said.append(f"{what}: {milliseconds(shown[wanted] - onset)} ms")
                print(f"pluck {pluck + 1} ({recording}): " + ", ".join(said))
                time.sleep(max(0.0, deadline - time.monotonic()))
        finally:
            tuner.terminate()
            tuner.wait()
            subprocess.run([SERVER, "stop", folder], check=False)
    every_match = [delay for course in matched.values() for delay in course]
    every_guide = [delay for course in guided.values() for delay in course]
    print(f"{'':14} {'matched':>8} {'median':>8} {'90 %':>8} {'worst':>8}  |"
          f" {'guided':>8} {'median':>8} {'90 %':>8} {'worst':>8}   (ms from the pluck's onset)")
    for name, match_delays, guide_delays in ([(recording, matched[recording], guided[recording])
                                              for recording, _, _ in NOTES] + [("all", every_match, every_guide)]):
        left, right = summary_rows(name, match_delays), summary_rows(name, guide_delays)[1:]
        print(f"{left[0]:14} " + " ".join(f"{cell:>8}" for cell in left[1:]) + "  | " +
              " ".join(f"{cell:>8}" for cell in right))
    print(f"{len(every_match)} of {PLUCKS} plucks matched (budget {1000 * BUDGET_SECONDS:.0f} ms), "
          f"{len(every_guide)} named by the guide (budget {1000 * GUIDE_BUDGET_SECONDS:.0f} ms)")
    return 0 if (len(every_match) == PLUCKS and max(every_match) <= BUDGET_SECONDS and len(every_guide) == PLUCKS
                 and max(every_guide) <= GUIDE_BUDGET_SECONDS) else 1


if __name__ == "__main__":
    sys.exit(main())
