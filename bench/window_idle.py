#!/usr/bin/python3
"""The window's idle cost against a bare 10 ms Qt timer.

Runs the program's window (Qt's offscreen platform) on a silent recording, or
with --microphone on the silent microphone of a private sound server
(build-support/sound-server.sh), and the bare timer side by side, in paired
rounds (the window, then the timer), and prints the share of one core each
used and their ratio, each measured from three seconds after its start (the
window's start-up left out) by the time its threads spent on a CPU. A quiet
tuner screen changes nothing on screen, so its cost is the tick, the event
loop and the capture.

    bench/window_idle.py BUILD_DIR [SECONDS_PER_ROUND] [ROUNDS] [--microphone]
"""

import argparse
import os
import statistics
import subprocess
import tempfile
import time
import wave

from live_cpu import cpu_seconds, start_sound_server, stop_sound_server

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


def measure(build, seconds, rounds, env, window):
    bare = [os.path.join(build, "bench", "qt_bare_timer")]
    shares = {"window": [], "bare timer": []}
    for _ in range(rounds):
        shares["window"].append(share_of_a_core(window, seconds, env))
        shares["bare timer"].append(share_of_a_core(bare, seconds, env))
    return shares


def main():
    parser = argparse.ArgumentParser(usage=__doc__)
    parser.add_argument("build")
    parser.add_argument("seconds", nargs="?", type=float, default=20.0)
    parser.add_argument("rounds", nargs="?", type=int, default=3)
    parser.add_argument("--microphone", action="store_true", help="listen to a silent microphone")
    options = parser.parse_args()
    program = os.path.join(options.build, "app", "pallqa-tuner")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    with tempfile.TemporaryDirectory() as folder:
        env["XDG_CONFIG_HOME"] = folder
        env["XDG_STATE_HOME"] = folder
        if options.microphone:
            server_folder = os.path.join(folder, "server")
            variables, _ = start_sound_server(server_folder)
            try:
                shares = measure(options.build, options.seconds, options.rounds, dict(env, **variables), [program])
            finally:
                stop_sound_server(server_folder)
        else:
            recording = silent_recording(folder, int(options.seconds * options.rounds + 30))
            shares = measure(options.build, options.seconds, options.rounds, env, [program, "--input", recording])
    print(f"load average: {' '.join(f'{load:.2f}' for load in os.getloadavg())} on {os.cpu_count()} cores")
    print(f"{options.rounds} rounds of {options.seconds:g} s, the window "
          f"{'on a silent microphone' if options.microphone else 'on a silent recording'}")
    for name, values in shares.items():
        print(f"{name:>10}: {100 * statistics.mean(values):.2f} % of a core")
    ratios = sorted(window / bare for window, bare in zip(shares["window"], shares["bare timer"]))
    print(f"     ratio: {statistics.mean(shares['window']) / statistics.mean(shares['bare timer']):.2f}"
          f" (rounds min / median / max: {ratios[0]:.2f} / {statistics.median(ratios):.2f} / {ratios[-1]:.2f})")


if __name__ == "__main__":
    main()
