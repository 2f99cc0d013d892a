# The Debian packages Pallqa Tuner needs, in one place.
# Sourced by ./run, ./test and .ci/run; tools/generate_resources.sh uses TOOL_PACKAGES.

# Building, running and testing the program.
BUILD_PACKAGES="cmake make g++ pkg-config python3
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libcli11-dev
  libkissfft-dev libsndfile1-dev libsoxr-dev portaudio19-dev
  qt6-base-dev libgl-dev
  pulseaudio pulseaudio-utils libasound2-plugins"

# Only for bench/peer_compare.py, which runs aubiopitch beside analyze.
BENCH_PACKAGES="python3 aubio-tools"

# Only for regenerating the pictures and sounds under resources/.
TOOL_PACKAGES="python3 python3-pil python3-numpy sox libsox-fmt-mp3 lame fonts-dejavu-core"
