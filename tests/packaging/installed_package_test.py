"""What the Debian package carries, as `cmake --install` lays it out under
/usr: the manual pages in English and Spanish, the bash completion, the menu
entry and the metainfo (each in Spanish too) and a copyright file in Debian's
machine-readable format whose every Files pattern names files of the package
and whose every license has its text.

Usage: installed_package_test.py CMAKE BUILD_DIR
"""

import configparser
import fnmatch
import re
import xml.etree.ElementTree as ElementTree
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

CMAKE, BUILD_DIR = sys.argv[1:3] if len(sys.argv) >= 3 else (None, None)
FORMAT = "https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/"
LANG = "{http://www.w3.org/XML/1998/namespace}lang"


def paragraphs(text):
    """The copyright file's paragraphs, each a dict of field to value (the
    continuation lines joined to the first with newlines)."""
    result = []
    for block in re.split(r"\n\s*\n", text.strip()):
        fields, name = {}, None
        for line in block.splitlines():
            if line.startswith((" ", "\t")):
                fields[name] += "\n" + line.strip()
            else:
                name, _, value = line.partition(":")
                fields[name] = value.strip()
        result.append(fields)
    return result


def license_names(expression):
    return [name.strip() for name in re.split(r"\s+(?:and|or)\s+", expression)]


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.folder = tempfile.TemporaryDirectory()
        cls.root = Path(cls.folder.name)
        subprocess.run([CMAKE, "--install", BUILD_DIR, "--prefix", str(cls.root / "usr")], check=True,
                       stdout=subprocess.DEVNULL)
        cls.files = sorted(str(path.relative_to(cls.root)) for path in cls.root.rglob("*") if path.is_file())

    @classmethod
    def tearDownClass(cls):
        cls.folder.cleanup()

    def test_the_package_carries_the_program_its_modules_manual_page_completion_menu_entry_and_metainfo(self):
        for path in ["usr/bin/pallqa-tuner",
                     "usr/lib/pallqa-tuner/qt-window.so",
                     "usr/lib/pallqa-tuner/curl-transport.so",
                     "usr/lib/pallqa-tuner/cairo-pictures.so",
                     "usr/share/man/man1/pallqa-tuner.1",
                     "usr/share/man/es/man1/pallqa-tuner.1",
                     "usr/share/bash-completion/completions/pallqa-tuner",
                     "usr/share/applications/pallqa-tuner.desktop",
                     "usr/share/metainfo/com.tarvelolabs.pallqatuner.metainfo.xml",
                     "usr/share/doc/pallqa-tuner/copyright"]:
            self.assertIn(path, self.files)

    def test_the_menu_entry_speaks_spanish(self):
        entry = configparser.RawConfigParser(delimiters=("=",))
        entry.optionxform = str
        entry.read(self.root / "usr/share/applications/pallqa-tuner.desktop", encoding="utf-8")
        fields = entry["Desktop Entry"]
        for key in ["Name", "GenericName", "Comment", "Keywords"]:
            self.assertIn(f"{key}[es]", fields, key)
        for key in ["GenericName", "Comment", "Keywords"]:
            self.assertNotEqual(fields[f"{key}[es]"], fields[key], key)

    def test_the_metainfo_speaks_spanish_wherever_it_speaks_english(self):
        component = ElementTree.parse(self.root / "usr/share/metainfo/com.tarvelolabs.pallqatuner.metainfo.xml").getroot()
        for path in ["name", "summary", "description/p", "description/ul/li", "keywords/keyword"]:
            elements = component.findall(path)
            english = [e for e in elements if LANG not in e.attrib]
            spanish = [e for e in elements if e.attrib.get(LANG) == "es"]
            self.assertTrue(english, path)
            self.assertEqual(len(spanish), len(english), path)

    def test_the_copyright_file_is_machine_readable_and_covers_the_package(self):
        text = (self.root / "usr/share/doc/pallqa-tuner/copyright").read_text(encoding="utf-8")
        header, *rest = paragraphs(text)
        self.assertEqual(header.get("Format"), FORMAT)
        self.assertIn("Upstream-Name", header)
        files = [p for p in rest if "Files" in p]
        standalone = {p["License"].split("\n")[0]: p["License"] for p in rest if "Files" not in p}
        self.assertTrue(files)
        self.assertEqual(files[0]["Files"], "*", "the first Files paragraph covers everything")
        for paragraph in files:
            self.assertIn("Copyright", paragraph, paragraph["Files"])
            self.assertIn("License", paragraph, paragraph["Files"])
            for pattern in paragraph["Files"].split():
                self.assertTrue(fnmatch.filter(self.files, pattern), f"{pattern} names no file of the package")
            expression, _, own_text = paragraph["License"].partition("\n")
            for name in license_names(expression):
                self.assertTrue(own_text or "\n" in standalone.get(name, ""), f"the license {name} has no text")


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
