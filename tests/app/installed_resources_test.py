"""Where the program finds its resources: an installed copy (cmake --install
into a temporary prefix) reads its own and never the tree it was built from;
the program in the build tree finds the source tree's through the link
beside it.

Usage: installed_resources_test.py CMAKE BUILD_DIR PROGRAM
"""

import json
import os
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

CMAKE, BUILD_DIR, PROGRAM = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, None)

# A label the first screen shows, and the text table it comes from.
LABEL = "micSensitivityLabel"
KEY = "MicSensitivityTitle"
SOURCE_TEXT = "Microphone sensitivity"
INSTALLED_TEXT = "Sensitivity, as installed"


def first_screen(program, resources, cwd):
    """The console's first line of a short headless run, with nothing in the
    environment pointing at a resources folder."""
    environment = {k: v for k, v in os.environ.items() if k != "PALLQA_RESOURCES"}
    environment.update(LANG="C", LC_ALL="C")
    run = subprocess.run(
        [str(program), "--headless", "--fast", "--input", str(resources / "demo-tuning.wav"), "--seconds", "0.05"],
        cwd=cwd, env=environment, capture_output=True, text=True, timeout=60)
    lines = run.stdout.splitlines()
    return lines[0] if lines else ""


class Resources(unittest.TestCase):
    def test_an_installed_copy_reads_its_own_resources_and_never_the_source_tree(self):
        with tempfile.TemporaryDirectory() as folder:
            prefix = Path(folder)
            subprocess.run([CMAKE, "--install", BUILD_DIR, "--prefix", str(prefix)], check=True,
                           stdout=subprocess.DEVNULL)
            program = prefix / "bin" / "pallqa-tuner"
            resources = prefix / "share" / "pallqa-tuner" / "resources"
            texts = resources / "strings" / "en" / "Localizable.json"
            table = json.loads(texts.read_text(encoding="utf-8"))
            self.assertEqual(table[KEY], SOURCE_TEXT)
            table[KEY] = INSTALLED_TEXT
            texts.write_text(json.dumps(table, ensure_ascii=False), encoding="utf-8")

            self.assertIn(f'{LABEL}="{INSTALLED_TEXT}"', first_screen(program, resources, prefix))

            # Without its own copy it has none: the source tree is not a fallback.
            (resources / "Info.json").unlink()
            self.assertNotIn(SOURCE_TEXT, first_screen(program, resources, prefix))

    def test_the_program_in_the_build_tree_finds_the_resources_beside_it(self):
        beside = Path(PROGRAM).parent / "resources"
        self.assertTrue(beside.is_symlink() or beside.is_dir())
        with tempfile.TemporaryDirectory() as elsewhere:
            self.assertIn(f'{LABEL}="{SOURCE_TEXT}"', first_screen(PROGRAM, beside, elsewhere))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
