#!/usr/bin/env bash
# Regenerates every picture, sound and layout document under resources/ (or under the folder given
# as the first argument), then prints the measurements of the sounds.
set -euo pipefail
TOOLS="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=../build-support/common.sh
. "$TOOLS/../build-support/common.sh"

ensure_packages $TOOL_PACKAGES
# Debian's own interpreter, which is the one that sees python3-pil and python3-numpy.
PYTHON=/usr/bin/python3
OUT="${1:-$REPO_ROOT/resources}"

for tool in draw_string_pictures draw_lamps draw_freqchart draw_chord_pictures draw_icon synth_strings; do
  echo "== $tool" >&2
  "$PYTHON" "$TOOLS/$tool.py" "$OUT"
done
echo "== make_layouts" >&2
"$PYTHON" "$TOOLS/make_layouts.py" "$OUT/layouts"
echo "== measure_sounds" >&2
"$PYTHON" "$TOOLS/measure_sounds.py" "$OUT"
