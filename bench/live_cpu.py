#!/usr/bin/env python3
"""What listening costs: the CPU of the window, of the console and of the
sound server while Pallqa Tuner listens to a microphone, against a plain
recorder (parec) listening to the same microphone, and, when asked, against
another build of the program and another tuner.

Starts a private sound server (build-support/sound-server.sh), plays plucked
strings into its microphone for the whole run, and measures in rounds, the
order of the listeners turning from round to round so that a machine's
changing load falls on all alike:

  feed alone      nobody listens: what the server spends on the feed
  plain recorder  parec at the capture rate (14039 Hz mono 16-bit)
  console         pallqa-tuner --headless
  window          pallqa-tuner on Qt's offscreen platform
  with --baseline PROGRAM, "console (baseline)" and "window (baseline)":
                  the same two of another build, e.g. main's
  with --peer COMMAND, the peer: another tuner (e.g. --peer lingot) on a
                  private X display (Xvfb) with a home folder of its own; it
                  reaches the private server the way any program does, an ALSA
                  one through ALSA's pulse plugin

Each listener is measured from a second after it starts recording: its CPU
and the server's are read from /proc over --seconds. Prints each one's share
of one core and the server's (min / median / max over the rounds), the
server's share against the plain recorder's in the same round, the same-round
ratios of the listeners' own CPU (the window against the baseline's window
and against the peer, and so on), and with --streams the server's list of
streams while each listens (pactl list short sink-inputs, source-outputs).

Not part of the test suite or CI: its figures depend on the machine. Say how
loaded the machine was (the load average is printed) with the figures.

    bench/live_cpu.py [--program build/release/app/pallqa-tuner] [--baseline OTHER/pallqa-tuner]
                      [--peer 'lingot'] [--rounds 5] [--seconds 10] [--streams]
"""

import argparse
import contextlib
import math
import os
import pathlib
import shlex
import statistics
import subprocess
import sys
import tempfile
import time
import wave

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parent))
from peer_compare import cycle_frames  # noqa: E402  (the same plucked strings)

ROOT = pathlib.Path(__file__).resolve().parent.parent
SOUND_SERVER = ROOT / "build-support" / "sound-server.sh"
CAPTURE_RATE = 14039


def cpu_seconds(pid):
    """Time on a CPU of every thread of the process, to the nanosecond."""
    total = 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as schedstat:
                total += int(schedstat.read().split()[0])
        except FileNotFoundError:
            pass  # a thread that ended meanwhile
    return total / 1e9


def start_sound_server(folder):
    """Starts the private sound server kept in `folder`: its variables (for a
    client's environment) and its process id. Stop it with stop_sound_server."""
    exports = subprocess.run([str(SOUND_SERVER), "start", folder], check=True, capture_output=True, text=True).stdout
    variables = {}
    for assignment in exports.replace("export ", "").split():
        name, value = assignment.split("=", 1)
        variables[name] = value.strip("'")
    with open(os.path.join(folder, "server.pid")) as pid_file:
        return variables, int(pid_file.read())


def stop_sound_server(folder):
    subprocess.run([str(SOUND_SERVER), "stop", folder], check=False)


def streams(env):
    lines = []
    for kind in ("sink-inputs", "source-outputs"):
        listing = subprocess.run(["pactl", "list", "short", kind], env=env, capture_output=True, text=True).stdout
        lines += [f"    {kind}: {line}" for line in listing.splitlines()]
    return "\n".join(lines) or "    (no streams)"


def wait_for_capture(env, timeout=20.0):
    """Until a client records from the server (a loaded machine starts slowly)."""
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        listing = subprocess.run(["pactl", "list", "short", "source-outputs"], env=env, capture_output=True,
                                 text=True).stdout
        if "protocol-native.c" in listing:
            return
        time.sleep(0.1)
    sys.exit("the listener never started recording")


def measure(command, server_pid, seconds, env, show_streams):
    """Shares of a core of the listener (None when there is none) and the server."""
    process = subprocess.Popen(command, env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL) if command else None
    try:
        if process:
            wait_for_capture(env)
        time.sleep(1.0)
        listing = streams(env) if show_streams else ""
        start = time.monotonic()
        listener_start = cpu_seconds(process.pid) if process else 0.0
        server_start = cpu_seconds(server_pid)
        time.sleep(seconds)
        elapsed = time.monotonic() - start
        listener = (cpu_seconds(process.pid) - listener_start) / elapsed if process else None
        server = (cpu_seconds(server_pid) - server_start) / elapsed
        return listener, server, listing
    finally:
        if process:
            process.terminate()
            process.wait()


@contextlib.contextmanager
def private_display():
    """A display of its own (Xvfb) for the peer; its name, e.g. ":5"."""
    read, write = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write), "-nolisten", "tcp"], pass_fds=(write,),
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write)
    with os.fdopen(read) as pipe:
        number = pipe.readline().strip()
    try:
        if not number:
            sys.exit("Xvfb did not start: the peer needs a display")
        yield f":{number}"
    finally:
        server.terminate()
        server.wait()


def listeners_of(options, env, peer_env):
    """Each listener's name, command (None for nobody) and environment, in the
    order of the first round."""
    listeners = {
        "feed alone": (None, env),
        "plain recorder": (["parec", "-d", "microphone", f"--rate={CAPTURE_RATE}", "--channels=1",
                            "--format=s16le", "/dev/null"], env),
        "console": ([options.program, "--headless"], env),
        "window": ([options.program], env),
    }
    if options.baseline:
        listeners["console (baseline)"] = ([options.baseline, "--headless"], env)
        listeners["window (baseline)"] = ([options.baseline], env)
    if options.peer:
        command = shlex.split(options.peer)
        listeners[f"peer: {pathlib.Path(command[0]).name}"] = (command, peer_env)
    return listeners


# Same-round ratios of the listeners' own CPU, where both were measured.
RATIOS = (("window", "window (baseline)"), ("console", "console (baseline)"))
PEER_RATIOS = ("window", "window (baseline)", "console")


def spread(values, scale=1.0):
    return f"{scale * min(values):.2f} / {scale * statistics.median(values):.2f} / {scale * max(values):.2f}"


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("--program", default=str(ROOT / "build/release/app/pallqa-tuner"))
    parser.add_argument("--baseline", help="another build of the program, measured in the same rounds")
    parser.add_argument("--peer", help="another tuner's command line, measured in the same rounds on a private display")
    parser.add_argument("--rounds", type=int, default=5)
    parser.add_argument("--seconds", type=float, default=10.0)
    parser.add_argument("--streams", action="store_true", help="print the server's streams while each listens")
    options = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="pallqa-live-cpu-") as folder, contextlib.ExitStack() as stack:
        server_folder = os.path.join(folder, "server")
        variables, server_pid = start_sound_server(server_folder)
        env = dict(os.environ, **variables)
        env.update(XDG_CONFIG_HOME=os.path.join(folder, "config"), XDG_STATE_HOME=os.path.join(folder, "state"),
                   QT_QPA_PLATFORM="offscreen")
        peer_env = dict(env, HOME=os.path.join(folder, "peer"),
                        DISPLAY=stack.enter_context(private_display()) if options.peer else "")
        os.makedirs(peer_env["HOME"])
        listeners = listeners_of(options, env, peer_env)
        names = list(listeners)
        try:
            feed_path = os.path.join(folder, "feed.wav")
            feed_seconds = math.ceil(options.rounds * len(names) * (options.seconds + 2) + 30)
            with wave.open(feed_path, "wb") as feed:
                feed.setnchannels(1)
                feed.setsampwidth(2)
                feed.setframerate(44100)
                cycle = cycle_frames(44100, 1)
                for _ in range(feed_seconds // 5 + 1):
                    feed.writeframes(cycle)
            feeder = subprocess.Popen(["paplay", "-d", "microphone_feed", feed_path], env=env)
            results = {name: {"listener": [], "server": [], "versus recorder": []} for name in names}
            rounds = []  # each round's listeners' own CPU, by name
            print(f"load average at the start: {' '.join(f'{load:.2f}' for load in os.getloadavg())}"
                  f" on {os.cpu_count()} cores; {options.rounds} rounds of {options.seconds:g} s")
            for round_ in range(options.rounds):
                order = names[round_ % len(names):] + names[:round_ % len(names)]
                servers = {}
                own = {}
                for name in order:
                    command, environment = listeners[name]
                    listener, server, listing = measure(command, server_pid, options.seconds, environment,
                                                        options.streams and round_ == 0)
                    if listing:
                        print(f"  streams while {name} listens:\n{listing}")
                    if listener is not None:
                        results[name]["listener"].append(listener)
                        own[name] = listener
                    results[name]["server"].append(server)
                    servers[name] = server
                for name in names:
                    results[name]["versus recorder"].append(servers[name] / max(servers["plain recorder"], 1e-9))
                rounds.append(own)
                print(".", end="", file=sys.stderr, flush=True)
            feeder.terminate()
            feeder.wait()
        finally:
            stop_sound_server(server_folder)
    print(f"\r{'listener':<20} {'its CPU % (min / median / max)':>31} {'server CPU %':>22}"
          f" {'server ÷ recorder round':>24}")
    for name in names:
        listener = results[name]["listener"]
        print(f"{name:<20} {spread(listener, 100) if listener else '-':>31}"
              f" {spread(results[name]['server'], 100):>22} {spread(results[name]['versus recorder']):>24}")
    peer = next((name for name in names if name.startswith("peer: ")), None)
    pairs = list(RATIOS) + [(name, peer) for name in PEER_RATIOS if peer]
    pairs = [(a, b) for a, b in pairs if a in names and b in names]
    if pairs:
        print("same-round ratios of the listeners' own CPU (min / median / max)")
    for a, b in pairs:
        print(f"  {a} ÷ {b}: {spread([own[a] / own[b] for own in rounds])}")
    print(f"load average at the end: {' '.join(f'{load:.2f}' for load in os.getloadavg())}")


if __name__ == "__main__":
    main()
