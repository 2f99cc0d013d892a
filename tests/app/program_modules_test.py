"""The program starts only what a run uses: it links neither Qt, libcurl nor
cairo, its commands and console load none of them, and the window and the
pictures come from modules beside the program in the build tree or under its
prefix once installed. A missing module is said plainly, and the console
runs without it.

Usage: program_modules_test.py CMAKE BUILD_DIR PROGRAM
"""

import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

CMAKE, BUILD_DIR, PROGRAM = sys.argv[1:4] if len(sys.argv) >= 4 else (None, None, "")
PROGRAM = str(Path(PROGRAM).resolve())
HEAVY = ("libQt6", "libcurl", "libcairo")


def run(program, arguments, display, cwd):
    """Runs the program with the dynamic loader naming every library it loads
    on stderr; with `display`, on Qt's offscreen display."""
    environment = {k: v for k, v in os.environ.items()
                   if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "PALLQA_RESOURCES")}
    environment.update(LANG="C", LC_ALL="C", LD_DEBUG="files", XDG_CONFIG_HOME=str(cwd), XDG_STATE_HOME=str(cwd))
    if display:
        environment["QT_QPA_PLATFORM"] = "offscreen"
    return subprocess.run([str(program), *arguments], cwd=cwd, env=environment, capture_output=True, text=True,
                          timeout=120)


def loaded(completed):
    """The libraries the run loaded, as the dynamic loader named them."""
    return {line.split("file=")[1].split()[0] for line in completed.stderr.splitlines() if "file=" in line}


def said(completed):
    """What the program itself wrote on stderr, the loader's lines left out."""
    return "\n".join(line for line in completed.stderr.splitlines() if "file=" not in line and "\t" not in line)


def short_run(resources):
    return ["--input", str(resources / "demo-tuning.wav"), "--seconds", "0.3"]


class Modules(unittest.TestCase):
    def test_the_program_links_neither_qt_libcurl_nor_cairo(self):
        dynamic = subprocess.run(["readelf", "-d", PROGRAM], capture_output=True, text=True, check=True).stdout
        needed = [line for line in dynamic.splitlines() if "(NEEDED)" in line]
        self.assertTrue(needed)
        for library in HEAVY:
            self.assertFalse([line for line in needed if library in line], library)

    def test_commands_and_the_console_load_none_of_them(self):
        resources = Path(PROGRAM).parent / "resources"
        with tempfile.TemporaryDirectory() as folder:
            for arguments in (["--version"], ["--help"], ["chord", "A", "m"],
                              ["--headless", "--fast", *short_run(resources)]):
                completed = run(PROGRAM, arguments, display=False, cwd=folder)
                self.assertEqual(completed.returncode, 0, arguments)
                heavy = [name for name in loaded(completed) if name.startswith(HEAVY)]
                self.assertEqual(heavy, [], arguments)

    def test_the_window_loads_its_module_beside_the_program_in_the_build_tree(self):
        resources = Path(PROGRAM).parent / "resources"
        with tempfile.TemporaryDirectory() as folder:
            completed = run(PROGRAM, short_run(resources), display=True, cwd=folder)
            self.assertEqual(completed.returncode, 0, said(completed))
            self.assertTrue([name for name in loaded(completed) if name.startswith("libQt6Widgets")])

    def test_a_plot_loads_the_picture_module(self):
        resources = Path(PROGRAM).parent / "resources"
        with tempfile.TemporaryDirectory() as folder:
            plot = Path(folder) / "plot.png"
            completed = run(PROGRAM, ["analyze", str(resources / "demo-tuning.wav"), "--plot", str(plot)],
                            display=False, cwd=folder)
            self.assertEqual(completed.returncode, 0, said(completed))
            self.assertEqual(plot.read_bytes()[:4], b"\x89PNG")
            self.assertTrue([name for name in loaded(completed) if name.endswith("/cairo-pictures.so")])

    def test_an_installed_program_loads_the_window_module_under_its_prefix(self):
        with tempfile.TemporaryDirectory() as folder:
            prefix = Path(folder)
            subprocess.run([CMAKE, "--install", BUILD_DIR, "--prefix", str(prefix)], check=True,
                           stdout=subprocess.DEVNULL)
            program = prefix / "bin" / "pallqa-tuner"
            resources = prefix / "share" / "pallqa-tuner" / "resources"
            completed = run(program, short_run(resources), display=True, cwd=folder)
            self.assertEqual(completed.returncode, 0, said(completed))
            self.assertIn(str(prefix / "lib" / "pallqa-tuner" / "qt-window.so"), loaded(completed))

    def test_missing_modules_are_said_and_the_console_still_runs(self):
        with tempfile.TemporaryDirectory() as folder:
            alone = Path(folder) / "bin"
            alone.mkdir()
            shutil.copy2(PROGRAM, alone)
            resources = alone / "resources"
            resources.symlink_to(Path(PROGRAM).parent / "resources")
            program = alone / "pallqa-tuner"

            window = run(program, short_run(resources), display=True, cwd=folder)
            self.assertEqual(window.returncode, 1)
            self.assertIn("pallqa-tuner: the window module qt-window.so is missing: ", said(window))
            self.assertIn(str(Path(folder) / "lib" / "pallqa-tuner" / "qt-window.so"), said(window))

            plot = Path(folder) / "plot.png"
            drawing = run(program, ["analyze", str(resources / "demo-tuning.wav"), "--plot", str(plot)],
                          display=False, cwd=folder)
            self.assertEqual(drawing.returncode, 1)
            self.assertIn("the picture module cairo-pictures.so cannot be used: ", said(drawing))
            self.assertFalse(plot.exists())

            console = run(program, ["--headless", "--fast", *short_run(resources)], display=True, cwd=folder)
            self.assertEqual(console.returncode, 0, said(console))
            self.assertIn("micSensitivityLabel=", console.stdout)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
