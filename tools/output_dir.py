"""Where the generators write: the repository's resources/ folder, or a folder given on the command line."""

import os

RESOURCES_DIR = os.path.normpath(os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources"))


def out_dir_from_args(argv):
    """The output folder: the first command-line argument, or the repository's resources/. Created if missing."""
    out_dir = argv[1] if len(argv) > 1 else RESOURCES_DIR
    os.makedirs(out_dir, exist_ok=True)
    return out_dir
