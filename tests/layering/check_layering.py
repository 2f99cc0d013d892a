#!/usr/bin/env python3
"""The layering of Pallqa Tuner's folders, checked include by include.

Arrows point only downwards: a folder includes its own headers and those of
the folders below it that it has an arrow to, never one above it. The desktop
libraries' headers (Qt, PortAudio, libsndfile, sample-rate conversion, libcurl,
cairo) appear only in the platform's desktop folders (platform/<room>/<folder>), KISS
FFT only in pitch/. The desktop folders see the plain platform and nothing of
the system; of the system's files only app/main.cpp includes them, since the
program's main is where the desktop implementations are chosen.

Usage: check_layering.py SOURCE_ROOT
Prints each bad include as FILE:LINE: reason, and exits 1 when there is one.
"""

import re
import sys
from pathlib import Path

# Lowest first; folders in one tier do not include each other.
TIERS = [
    ["platform/core"],
    ["platform/store", "platform/ui", "platform/audio"],
    ["platform/net"],
    ["platform/launch"],
    ["pitch"],
    ["guide"],
    ["sound"],
    ["rating"],
    ["chords"],
    ["tuner"],
    ["app"],
]
PLAIN_ROOMS = [folder for tier in TIERS for folder in tier if folder.startswith("platform/")]

# The arrows: what each folder may include besides itself. Every arrow points
# to a lower tier (checked below); a new arrow is a design decision.
MAY_INCLUDE = {
    "platform/core": [],
    "platform/store": ["platform/core"],
    "platform/ui": ["platform/core"],
    "platform/audio": ["platform/core"],
    "platform/net": ["platform/core", "platform/store", "platform/ui", "platform/audio"],
    "platform/launch": ["platform/core", "platform/store", "platform/ui", "platform/audio", "platform/net"],
    "pitch": PLAIN_ROOMS,
    "guide": PLAIN_ROOMS + ["pitch"],
    "sound": PLAIN_ROOMS,
    "rating": PLAIN_ROOMS,
    "chords": PLAIN_ROOMS + ["rating"],
    "tuner": PLAIN_ROOMS + ["pitch", "guide", "sound", "rating"],
    "app": PLAIN_ROOMS + ["pitch", "guide", "sound", "rating", "chords", "tuner"],
}

# The one system file that picks the desktop implementations.
PROGRAM_MAIN = "app/main.cpp"

# System files that still include a desktop folder, until they take the
# desktop through the seam. Keep it empty: a file listed here that no longer
# needs to be is reported too.
KNOWN_DESKTOP_INCLUDES = set()

# Headers of the desktop libraries, by the path an include names.
DESKTOP_HEADERS = [
    ("Qt", re.compile(r"^Q[A-Za-z]")),
    ("PortAudio", re.compile(r"^(portaudio\.h$|pa_\w+\.h$)")),
    ("libsndfile", re.compile(r"^sndfile\.hh?$")),
    ("sample-rate conversion", re.compile(r"^(samplerate\.h|soxr(-lsr)?\.h)$")),
    ("libcurl", re.compile(r"^curl/")),
    ("cairo", re.compile(r"^cairo")),
]
KISS_FFT = re.compile(r"^(kissfft/|kiss_fft)")
KISS_FFT_FOLDER = "pitch"

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc"}
INCLUDE = re.compile(r'^\s*#\s*include\s*([<"])([^>"]+)[>"]')
TOP_FOLDERS = sorted({folder.split("/")[0] for folder in MAY_INCLUDE})


def tier_of(folder):
    return next(i for i, tier in enumerate(TIERS) if folder in tier)


def _check_arrows():
    for folder, targets in MAY_INCLUDE.items():
        for target in targets:
            if tier_of(target) >= tier_of(folder):
                raise SystemExit(f"check_layering.py: the arrow {folder} -> {target} does not point downwards")


_check_arrows()


def folder_of(path):
    """The folder a file or an include path belongs to: a top folder of the
    system, a platform room, or a desktop folder below a room."""
    parts = path.split("/")
    if parts[0] != "platform":
        return parts[0]
    if len(parts) <= 2:
        return "platform"
    return "/".join(parts[:2]) if len(parts) == 3 else "/".join(parts[:3])


def is_desktop_folder(folder):
    return folder.startswith("platform/") and folder.count("/") == 2


def desktop_library(included):
    for name, pattern in DESKTOP_HEADERS:
        if pattern.search(included):
            return name
    return None


def check_include(source, folder, included, quoted, known):
    """The reason an include is bad, or None."""
    target = folder_of(included) if quoted and included.split("/")[0] in TOP_FOLDERS else None
    if target is None:
        if KISS_FFT.search(included) and folder != KISS_FFT_FOLDER:
            return f"includes KISS FFT ({included}) outside {KISS_FFT_FOLDER}/"
        library = desktop_library(included)
        if library and not is_desktop_folder(folder):
            return f"includes a {library} header ({included}) outside the platform's desktop folders"
        return None
    if target == folder:
        return None
    if is_desktop_folder(folder):
        if target in PLAIN_ROOMS:
            return None
        return f"includes {included}: a desktop folder sees only the plain platform rooms"
    if is_desktop_folder(target):
        if source == PROGRAM_MAIN or source in known:
            return None
        return f"includes the desktop folder {target}: only {PROGRAM_MAIN} picks desktop implementations"
    if target not in MAY_INCLUDE:
        return f"includes {included}, from {target}, which is not in the layering"
    if target in MAY_INCLUDE[folder]:
        return None
    if tier_of(target) >= tier_of(folder):
        return f"includes {included}: {target} is not below {folder}"
    return f"includes {included}: {folder} has no arrow to {target}"


def sources(root):
    for top in TOP_FOLDERS:
        base = root / top
        if not base.is_dir():
            continue
        for path in sorted(base.rglob("*")):
            if path.suffix in SOURCE_SUFFIXES and path.is_file():
                yield path.relative_to(root).as_posix()


def check(root, known=frozenset(KNOWN_DESKTOP_INCLUDES)):
    """Every bad include under `root`, as 'file:line: reason' lines."""
    root = Path(root)
    problems = []
    still_needed = set()
    for source in sources(root):
        folder = folder_of(source)
        if folder not in MAY_INCLUDE and not is_desktop_folder(folder):
            problems.append(f"{source}: {folder} is not in the layering; give it a tier and its arrows")
            continue
        text = (root / source).read_text(encoding="utf-8", errors="replace")
        for number, line in enumerate(text.splitlines(), start=1):
            match = INCLUDE.match(line)
            if not match:
                continue
            quoted, included = match.group(1) == '"', match.group(2)
            if source in known and quoted and is_desktop_folder(folder_of(included)):
                still_needed.add(source)
            reason = check_include(source, folder, included, quoted, known)
            if reason:
                problems.append(f"{source}:{number}: {reason}")
    for source in sorted(set(known) - still_needed):
        problems.append(f"{source}: listed as still including a desktop folder, but it does not: "
                        "take it off KNOWN_DESKTOP_INCLUDES")
    return problems


def main(argv):
    if len(argv) != 2:
        print("usage: check_layering.py SOURCE_ROOT", file=sys.stderr)
        return 2
    problems = check(argv[1])
    for problem in problems:
        print(problem)
    if problems:
        print(f"{len(problems)} include(s) break the layering", file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
