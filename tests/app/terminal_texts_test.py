"""Every text the program writes on the terminal has its Spanish: the English
texts handed to terminalText() in the sources are the keys of the Spanish
table resources/strings/es/Terminal.json, which holds no other key, and each
translation keeps its English's conversions (%@, %g ...) in their order.

Usage: terminal_texts_test.py SOURCE_DIR
"""

import json
import re
import sys
import unittest
from pathlib import Path

SOURCE_DIR = Path(sys.argv[1]) if len(sys.argv) >= 2 else Path(".")
FOLDERS = ["app", "platform", "pitch", "tuner", "sound", "chords", "rating"]
CALL = re.compile(r"\b(?:terminalText|NSLogAndTellUser)\(")
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')
CONVERSION = re.compile(r"%[-+ #0-9.]*[a-zA-Z@]")


def first_argument(text, start):
    """The source of the call's first argument, from just after its "("."""
    depth, i, quoted = 0, start, False
    while i < len(text):
        c = text[i]
        if quoted:
            if c == "\\":
                i += 1
            elif c == '"':
                quoted = False
        elif c == '"':
            quoted = True
        elif c in "([{":
            depth += 1
        elif c in ")]}":
            if depth == 0:
                return text[start:i]
            depth -= 1
        elif c == "," and depth == 0:
            return text[start:i]
        i += 1
    return text[start:]


def english_texts(argument):
    """The texts an argument can be: each run of adjacent literals, one text
    (a conditional gives one per branch)."""
    texts, current, last_end = [], None, None
    for match in LITERAL.finditer(argument):
        adjacent = current is not None and argument[last_end:match.start()].strip() == ""
        value = match.group(1).encode().decode("unicode_escape").encode("latin-1").decode("utf-8")
        if adjacent:
            current += value
        else:
            if current is not None:
                texts.append(current)
            current = value
        last_end = match.end()
    if current is not None:
        texts.append(current)
    return texts


def source_texts():
    found = {}
    for folder in FOLDERS:
        for path in sorted((SOURCE_DIR / folder).rglob("*")):
            # TerminalText.* and Log.* pass the texts they are handed on.
            if path.suffix not in (".cpp", ".h") or path.stem in ("TerminalText", "Log"):
                continue
            source = path.read_text(encoding="utf-8")
            for call in CALL.finditer(source):
                argument = first_argument(source, call.end())
                texts = english_texts(argument)
                if not texts:
                    raise AssertionError(f"{path}: terminalText() is handed no literal text: {argument.strip()}")
                for text in texts:
                    found.setdefault(text, str(path.relative_to(SOURCE_DIR)))
    return found


class TerminalTexts(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.english = source_texts()
        table = SOURCE_DIR / "resources" / "strings" / "es" / "Terminal.json"
        cls.spanish = json.loads(table.read_text(encoding="utf-8"))

    def test_the_sources_hand_over_texts(self):
        self.assertGreater(len(self.english), 50)

    def test_every_text_has_its_spanish(self):
        missing = sorted(f"{where}: {text!r}" for text, where in self.english.items() if text not in self.spanish)
        self.assertEqual(missing, [])

    def test_the_spanish_table_holds_only_texts_of_the_program(self):
        self.assertEqual(sorted(set(self.spanish) - set(self.english)), [])

    def test_each_translation_keeps_the_conversions_of_its_english(self):
        for english, spanish in self.spanish.items():
            self.assertEqual(CONVERSION.findall(spanish), CONVERSION.findall(english), english)


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1])
