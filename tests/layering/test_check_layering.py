"""The layering check on tiny source trees: it passes a tree whose includes
all point downwards and names each bad include of one that does not."""

import contextlib
import io
import sys
import tempfile
import unittest
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent))
import check_layering  # noqa: E402

# A tree as the real one is laid out, every include allowed.
GOOD_TREE = {
    "platform/core/Log.h": "#include <string>\n",
    "platform/ui/View.h": '#include "platform/core/Log.h"\n',
    "platform/net/StoreKit.h": '#include "platform/ui/View.h"\n',
    "platform/audio/desktop/PortAudioPlayer.cpp": (
        "#include <portaudio.h>\n#include <sndfile.h>\n#include <samplerate.h>\n"
        '#include "platform/audio/AudioPlayer.h"\n#include "platform/launch/ApplicationMain.h"\n'
    ),
    "platform/ui/qt/Widgets.cpp": '#include <QWidget>\n#include <QtCore/QTimer>\n#include "platform/ui/View.h"\n',
    "pitch/RealFft.h": "#include <kissfft/kiss_fftr.h>\n",
    "sound/Beep.cpp": '#include "platform/audio/AudioPlayer.h"\n',
    "tuner/Screen.cpp": '#include "pitch/RealFft.h"\n#include "sound/Beep.h"\n#include "rating/Prompt.h"\n',
    "app/main.cpp": '#include "tuner/Screen.h"\n#include "platform/ui/qt/QtFrontend.h"\n'
                    '#include "platform/audio/desktop/DesktopAudio.h"\n',
    "app/Commands.cpp": '#include "chords/Table.h"\n// #include "platform/ui/qt/QtFrontend.h" is not an include\n',
}


def write(root, files):
    for name, text in files.items():
        path = root / name
        path.parent.mkdir(parents=True, exist_ok=True)
        path.write_text(text)


class LayeringCheck(unittest.TestCase):
    def problems(self, extra, known=frozenset()):
        with tempfile.TemporaryDirectory() as folder:
            root = Path(folder)
            write(root, {**GOOD_TREE, **extra})
            return check_layering.check(root, known)

    def test_a_tree_whose_includes_point_downwards_passes(self):
        self.assertEqual(self.problems({}), [])

    def test_each_bad_include_is_named_with_its_file_and_line(self):
        cases = [
            # (file, text, what the report says)
            ("pitch/Estimator.cpp", '#include <string>\n#include "tuner/Screen.h"\n',
             "pitch/Estimator.cpp:2: includes tuner/Screen.h: tuner is not below pitch"),
            ("platform/core/RunLoop.cpp", '#include "platform/store/UserDefaults.h"\n',
             "platform/core/RunLoop.cpp:1: includes platform/store/UserDefaults.h: "
             "platform/store is not below platform/core"),
            ("platform/store/UserDefaults.cpp", '#include "platform/ui/View.h"\n',
             "platform/store/UserDefaults.cpp:1: includes platform/ui/View.h: "
             "platform/ui is not below platform/store"),
            ("platform/launch/Main.cpp", '#include "pitch/RealFft.h"\n',
             "platform/launch/Main.cpp:1: includes pitch/RealFft.h: pitch is not below platform/launch"),
            ("sound/Fork.cpp", '#include "pitch/RealFft.h"\n',
             "sound/Fork.cpp:1: includes pitch/RealFft.h: sound has no arrow to pitch"),
            ("tuner/Window.cpp", "#include <QWidget>\n",
             "tuner/Window.cpp:1: includes a Qt header (QWidget) outside the platform's desktop folders"),
            ("platform/ui/Image.cpp", "#include <QtGui/QImage>\n",
             "platform/ui/Image.cpp:1: includes a Qt header (QtGui/QImage) outside the platform's desktop folders"),
            ("sound/Player.cpp", "#include <portaudio.h>\n",
             "sound/Player.cpp:1: includes a PortAudio header (portaudio.h) outside the platform's desktop folders"),
            ("app/Analyze.cpp", '#include "sndfile.h"\n',
             "app/Analyze.cpp:1: includes a libsndfile header (sndfile.h) outside the platform's desktop folders"),
            ("rating/Net.cpp", "#include <curl/curl.h>\n",
             "rating/Net.cpp:1: includes a libcurl header (curl/curl.h) outside the platform's desktop folders"),
            ("sound/Convert.cpp", "#include <soxr.h>\n",
             "sound/Convert.cpp:1: includes a sample-rate conversion header (soxr.h) "
             "outside the platform's desktop folders"),
            ("tuner/Spectrum.cpp", "#include <kissfft/kiss_fft.h>\n",
             "tuner/Spectrum.cpp:1: includes KISS FFT (kissfft/kiss_fft.h) outside pitch/"),
            ("app/ToneCommand.cpp", '#include "platform/audio/desktop/DesktopAudio.h"\n',
             "app/ToneCommand.cpp:1: includes the desktop folder platform/audio/desktop: "
             "only app/main.cpp picks desktop implementations"),
            ("platform/audio/desktop/Input.cpp", '#include "pitch/RealFft.h"\n',
             "platform/audio/desktop/Input.cpp:1: includes pitch/RealFft.h: "
             "a desktop folder sees only the plain platform rooms"),
            ("platform/audio/desktop/Window.cpp", '#include "platform/ui/qt/Widgets.h"\n',
             "platform/audio/desktop/Window.cpp:1: includes platform/ui/qt/Widgets.h: "
             "a desktop folder sees only the plain platform rooms"),
            ("guide/Guide.cpp", '#include "pitch/RealFft.h"\n',
             None),  # outside the layering's folders: not looked at
            ("platform/video/Camera.cpp", "#include <string>\n",
             "platform/video/Camera.cpp: platform/video is not in the layering; give it a tier and its arrows"),
        ]
        for name, text, report in cases:
            with self.subTest(name):
                self.assertEqual(self.problems({name: text}), [report] if report else [])

    def test_a_known_desktop_include_is_let_through_until_it_is_gone(self):
        desktop = {"app/ToneCommand.cpp": '#include "platform/audio/desktop/DesktopAudio.h"\n'}
        self.assertEqual(self.problems(desktop, known={"app/ToneCommand.cpp"}), [])
        self.assertEqual(
            self.problems({"app/ToneCommand.cpp": '#include "tuner/Screen.h"\n'}, known={"app/ToneCommand.cpp"}),
            ["app/ToneCommand.cpp: listed as still including a desktop folder, but it does not: "
             "take it off KNOWN_DESKTOP_INCLUDES"])

    def test_the_command_fails_on_a_bad_tree_and_passes_a_good_one(self):
        with tempfile.TemporaryDirectory() as folder:
            root = Path(folder)
            write(root, GOOD_TREE)
            # The command holds the real tree's known list to its word.
            write(root, {name: '#include "platform/audio/desktop/DesktopAudio.h"\n'
                         for name in check_layering.KNOWN_DESKTOP_INCLUDES})
            self.assertEqual(check_layering.main(["check_layering.py", str(root)]), 0)
            write(root, {"pitch/Bad.h": '#include "app/main.h"\n'})
            printed = io.StringIO()
            with contextlib.redirect_stdout(printed), contextlib.redirect_stderr(io.StringIO()):
                self.assertEqual(check_layering.main(["check_layering.py", str(root)]), 1)
            self.assertEqual(printed.getvalue(), "pitch/Bad.h:1: includes app/main.h: app is not below pitch\n")


if __name__ == "__main__":
    unittest.main()
