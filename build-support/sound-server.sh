#!/usr/bin/env bash
# A private PulseAudio server with a virtual speaker and a virtual microphone,
# for hearing and testing Pallqa Tuner on a machine without a sound card.
#
#   build-support/sound-server.sh start DIR [RATE]   starts a server kept in DIR
#   build-support/sound-server.sh stop DIR           ends it
#   build-support/sound-server.sh env DIR            prints the variables to export
#
# The server listens only on a socket in DIR. Its speaker is a null sink
# ("speaker"; record it from "speaker.monitor"); its microphone ("microphone")
# hears whatever is played into the sink "microphone_feed". RATE (default
# 44100) is the microphone's sample rate. A program reaches the server
# through PortAudio's ALSA host and ALSA's pulse plugin once the variables
# that `env` prints are exported, e.g.
#
#   eval "$(build-support/sound-server.sh start /tmp/sound)"
#   paplay -d microphone_feed resources/3_4_A4.mp3 & ./run
#   parec -d speaker.monitor --latency-msec=20 --file-format=wav heard.wav
#   build-support/sound-server.sh stop /tmp/sound
set -euo pipefail

usage() {
  echo "usage: $0 start DIR [RATE] | stop DIR | env DIR" >&2
  exit 2
}

[ $# -ge 2 ] || usage
command="$1"
dir="$2"

print_env() {
  # autospawn off: a client must never start a server of the user's own when
  # this one is gone.
  echo "export PULSE_SERVER='unix:$dir/native' PULSE_CLIENTCONFIG='$dir/client.conf'" \
    "PULSE_COOKIE='$dir/cookie'"
}

case "$command" in
start)
  rate="${3:-44100}"
  mkdir -p "$dir/runtime" "$dir/home"
  chmod 700 "$dir/runtime"
  dir="$(cd "$dir" && pwd)"
  echo "autospawn = no" >"$dir/client.conf"
  # The whole set-up, defaults included, is in place before the server takes
  # its first client, so no program opens some other source by chance.
  {
    echo "load-module module-native-protocol-unix socket=$dir/native auth-anonymous=1"
    echo "load-module module-null-sink sink_name=speaker"
    echo "load-module module-null-sink sink_name=microphone_feed rate=$rate"
    echo "load-module module-remap-source master=microphone_feed.monitor source_name=microphone rate=$rate"
    echo "set-default-sink speaker"
    echo "set-default-source microphone"
  } >"$dir/server.pa"
  # -n: no default configuration, only the script above; the server's own
  # state (cookie, device database) stays in DIR, never in the user's home.
  HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/home" PULSE_COOKIE="$dir/cookie" \
    pulseaudio -n -F "$dir/server.pa" --daemonize=no --exit-idle-time=-1 --use-pid-file=no \
    --log-target=file:"$dir/server.log" </dev/null >/dev/null 2>>"$dir/server.log" &
  echo $! >"$dir/server.pid"
  eval "$(print_env)"
  for _ in $(seq 100); do
    if pactl info >/dev/null 2>&1; then
      print_env
      exit 0
    fi
    kill -0 "$(cat "$dir/server.pid")" 2>/dev/null || break
    sleep 0.05
  done
  echo "$0: the sound server did not start; see $dir/server.log" >&2
  kill "$(cat "$dir/server.pid")" 2>/dev/null || true
  exit 1
  ;;
stop)
  [ -f "$dir/server.pid" ] || exit 0
  pid="$(cat "$dir/server.pid")"
  kill "$pid" 2>/dev/null || true
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.05
  done
  rm -f "$dir/server.pid"
  ;;
env)
  dir="$(cd "$dir" && pwd)"
  print_env
  ;;
*) usage ;;
esac
