#!/usr/bin/python3
"""The window's idle cost against a bare 10 ms Qt timer.

Runs the program's window (Qt's offscreen platform) on a silent recording and
the bare timer side by side, interleaved over several rounds, and prints the
share of one core each used and their ratio, each measured from three
seconds after its start (the window's start-up left out) by the time its
threads spent on a CPU. A quiet tuner screen changes nothing on screen, so
its cost is the tick and the event loop.

    bench/window_idle.py BUILD_DIR [SECONDS_PER_ROUND] [ROUNDS]
"""

import os
import subprocess
import sys
import tempfile
import time
import wave

from live_cpu import cpu_seconds  # the same count of every thread's time

SETTLE_SECONDS = 3.0


def share_of_a_core(command, seconds, env):
    """Lets the program start and settle, then measures `seconds` of it."""
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        time.sleep(SETTLE_SECONDS)
        start_cpu, start = cpu_seconds(process.pid), time.monotonic()
        time.sleep(seconds)
        return (cpu_seconds(process.pid) - start_cpu) / (time.monotonic() - start)
    finally:
        process.kill()
        process.wait()


def silent_recording(folder, seconds):
    path = os.path.join(folder, "silence.wav")
    with wave.open(path, "wb") as out:
        out.setnchannels(1)
        out.setsampwidth(2)
        out.setframerate(14039)
        out.writeframes(bytes(2 * 14039 * seconds))
    return path


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    build = sys.argv[1]
    seconds = float(sys.argv[2]) if len(sys.argv) > 2 else 20.0
    rounds = int(sys.argv[3]) if len(sys.argv) > 3 else 3
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.TemporaryDirectory() as folder:
        env["XDG_CONFIG_HOME"] = folder
        env["XDG_STATE_HOME"] = folder
        recording = silent_recording(folder, int(seconds * rounds + 30))
        window = [os.path.join(build, "app", "pallqa-tuner"), "--input", recording]
        bare = [os.path.join(build, "bench", "qt_bare_timer")]
        totals = {"window": 0.0, "bare timer": 0.0}
        for _ in range(rounds):
            totals["window"] += share_of_a_core(window, seconds, env)
            totals["bare timer"] += share_of_a_core(bare, seconds, env)
    print(f"load average: {' '.join(f'{load:.2f}' for load in os.getloadavg())} on {os.cpu_count()} cores")
    for name, total in totals.items():
        print(f"{name:>10}: {100 * total / rounds:.2f} % of a core")
    print(f"     ratio: {totals['window'] / totals['bare timer']:.2f}")


if __name__ == "__main__":
    main()
