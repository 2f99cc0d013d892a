# Shared by ./run, ./test and .ci/run: package installation and the CMake build.
# shellcheck shell=bash

REPO_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
# shellcheck source=packages.sh
. "$REPO_ROOT/build-support/packages.sh"

missing_packages() {
  local pkg missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$pkg")
  done
  echo "${missing[@]}"
}

# Installs whichever of the given packages are missing, as root or through sudo.
ensure_packages() {
  local missing
  missing="$(missing_packages "$@")"
  [ -z "$missing" ] && return 0
  echo "Installing missing Debian packages: $missing" >&2
  local apt=(env DEBIAN_FRONTEND=noninteractive apt-get)
  if [ "$(id -u)" -ne 0 ]; then
    if command -v sudo >/dev/null 2>&1; then
      apt=(sudo env DEBIAN_FRONTEND=noninteractive apt-get)
    else
      echo "error: these Debian packages are missing: $missing" >&2
      echo "       run as root, or install sudo, or install them yourself:" >&2
      echo "       apt-get install $missing" >&2
      return 1
    fi
  fi
  # shellcheck disable=SC2086
  "${apt[@]}" update -q >&2 && "${apt[@]}" install -y -q --no-install-recommends $missing >&2 || {
    echo "error: could not install: $missing" >&2
    return 1
  }
}

# configure_and_build BUILD_DIR BUILD_TYPE [--target T]... [extra cmake args...]
# Builds the targets named, or everything when none is.
configure_and_build() {
  local dir="$1" type="$2" targets=()
  shift 2
  while [ "${1:-}" = --target ]; do
    targets+=(--target "$2")
    shift 2
  done
  cmake -S "$REPO_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE="$type" "$@" >/dev/null \
    && cmake --build "$dir" -j"${PALLQA_JOBS:-2}" "${targets[@]}"
}
