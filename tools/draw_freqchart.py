#!/usr/bin/python3
"""Draws "freqchart.png": the five courses with their strings, notes and open-string frequencies,
in English, and its Spanish copy "localized/es/freqchart.png"."""

import os
import sys

from output_dir import out_dir_from_args
from paint import Canvas, font, rgba

WIDTH, HEIGHT = 600, 300

# course, strings, note(s), frequency text
ROWS = [
    ("1", "1 · 2", "E5", "659.3 Hz"),
    ("2", "3 · 4", "A4", "440 Hz"),
    ("3", "5 · 6", "E4 + E5", "329.6 Hz + 659.3 Hz"),
    ("4", "7 · 8", "C5", "523.2 Hz"),
    ("5", "9 · 10", "G4", "392 Hz"),
]
# The chart's words by language: (title, column headings).
WORDS = {
    "en": ("Open strings", ("COURSE", "STRINGS", "NOTE", "FREQUENCY")),
    "es": ("Cuerdas al aire", ("ORDEN", "CUERDAS", "NOTA", "FRECUENCIA")),
}
COLUMN_CENTRES = (78, 178, 292, 470)

PANEL_TOP, PANEL_BOTTOM = rgba("#222b3b"), rgba("#131924")
PANEL_EDGE = rgba("#3a4660", 0.8)
TITLE = rgba("#f1f4f9")
SUBTITLE = rgba("#8d98ab")
HEADER = rgba("#7f8ba0")
RULE = rgba("#3a4660")
STRIPE = rgba("#ffffff", 0.035)
TEXT = rgba("#dfe5ee")
NUMBER_RING = rgba("#35e08a")
NOTE_FILL = rgba("#11241a")
NOTE_TEXT = rgba("#ffd75e")

TITLE_Y, HEADER_Y, RULE_Y = 34, 74, 90
ROW_TOP, ROW_HEIGHT = 92, 40


def draw_freqchart(language):
    title, headers = WORDS[language]
    canvas = Canvas(WIDTH, HEIGHT)
    panel = canvas.layer()
    panel.rounded_rect((0, 0, WIDTH, HEIGHT), 18, fill=(255, 255, 255, 255))
    canvas.gradient(PANEL_TOP, PANEL_BOTTOM, panel)
    canvas.rounded_rect((0.5, 0.5, WIDTH - 0.5, HEIGHT - 0.5), 17.5, outline=PANEL_EDGE, width=1)

    canvas.text((28, TITLE_Y), title, font(21, bold=True), TITLE, anchor="lm")
    canvas.text((WIDTH - 28, TITLE_Y), "A4 = 440 Hz", font(14), SUBTITLE, anchor="rm")
    for centre, header in zip(COLUMN_CENTRES, headers):
        canvas.text((centre, HEADER_Y), header, font(11.5, bold=True), HEADER)
    canvas.line([(24, RULE_Y), (WIDTH - 24, RULE_Y)], RULE, 1)

    for i, (course, strings, note, frequency) in enumerate(ROWS):
        top = ROW_TOP + i * ROW_HEIGHT
        y = top + ROW_HEIGHT / 2
        if i % 2 == 1:
            canvas.rounded_rect((16, top + 2, WIDTH - 16, top + ROW_HEIGHT - 2), 8, fill=STRIPE)
        canvas.circle(COLUMN_CENTRES[0], y, 13, outline=NUMBER_RING, width=1.8)
        canvas.text((COLUMN_CENTRES[0], y), course, font(15, bold=True), TEXT)
        canvas.text((COLUMN_CENTRES[1], y), strings, font(16), TEXT)
        note_font = font(16, bold=True)
        half = max(canvas.text_width(note, note_font) / 2 + 12, 25)
        canvas.rounded_rect((COLUMN_CENTRES[2] - half, y - 13, COLUMN_CENTRES[2] + half, y + 13), 13,
                            fill=NOTE_FILL, outline=NUMBER_RING, width=1.4)
        canvas.text((COLUMN_CENTRES[2], y), note, note_font, NOTE_TEXT)
        canvas.text((COLUMN_CENTRES[3], y), frequency, font(17), TEXT)
    return canvas


def main():
    out = out_dir_from_args(sys.argv)
    draw_freqchart("en").save("freqchart.png", out)
    for language in WORDS:
        if language != "en":
            folder = os.path.join(out, "localized", language)
            os.makedirs(folder, exist_ok=True)
            draw_freqchart(language).save("freqchart.png", folder)


if __name__ == "__main__":
    main()
