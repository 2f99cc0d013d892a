# The Debian packages Pallqa Tuner needs, in one place.
# Sourced by ./run, ./test and .ci/run; tools/generate_resources.sh uses TOOL_PACKAGES.

# Building and running the program, and its manual pages (help2man, and the
# locales' sources for the Spanish page).
BUILD_PACKAGES="cmake make g++ pkg-config nlohmann-json3-dev libcli11-dev
  libkissfft-dev libsndfile1-dev libsoxr-dev portaudio19-dev
  libcurl4-openssl-dev qt6-base-dev libgl-dev fonts-dejavu-core libcairo2-dev
  libasound2-plugins help2man locales"

# Building everything (tests, benchmarks) and running the tests, on top of
# BUILD_PACKAGES; the live audio tests run a private PulseAudio server, the
# formatting tests a locale with a decimal comma.
TEST_PACKAGES="libgtest-dev libgmock-dev libbenchmark-dev appstream bash-completion
  pulseaudio pulseaudio-utils python3"

# Only for bench/: peer_compare.py runs aubiopitch beside analyze, and it and
# startup_compare.py read the peak memory of each run from GNU time.
BENCH_PACKAGES="python3 aubio-tools time"

# Only for fuzzing in CI (.ci/run): clang's libFuzzer and sanitizers.
FUZZ_PACKAGES="clang libclang-rt-14-dev"

# Only for regenerating the pictures and sounds under resources/.
TOOL_PACKAGES="python3 python3-pil python3-numpy sox libsox-fmt-mp3 lame fonts-dejavu-core"
