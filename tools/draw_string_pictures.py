#!/usr/bin/python3
"""Draws the 36 tuned-string pictures "<ordinal>_string<suffix>.png".

Each picture shows the neck of the five-course, ten-string instrument lying
horizontally, nut on the left, course 1 at the top. The strings of the matched
string index glow; the others stay dim, and a badge by the nut names the note.
One drawing function serves every screen size.
"""

import sys

from output_dir import out_dir_from_args
from paint import Canvas, font, rgba

# The ten strings from the top of the picture: (course, relative gauge).
# Lower pitches are drawn thicker, as on the instrument.
STRINGS = [
    (1, 1.0), (1, 1.0),      # 1, 2: E5
    (2, 1.35), (2, 1.35),    # 3, 4: A4
    (3, 1.9), (3, 1.0),      # 5: E4, 6: E5 (octave pair)
    (4, 1.15), (4, 1.15),    # 7, 8: C5
    (5, 1.55), (5, 1.55),    # 9, 10: G4
]

# String index (1..6) -> (ordinal, lit strings numbered 1..10, note name).
STRING_INDEXES = {
    1: ("1st", (1, 2), "E5"),
    2: ("2nd", (3, 4), "A4"),
    3: ("3rd", (5,), "E4"),
    4: ("4th", (6,), "E5"),
    5: ("5th", (7, 8), "C5"),
    6: ("6th", (9, 10), "G4"),
}

# Picture-name suffix -> size in pixels (width, height), one per screen class.
SIZES = {
    "": (300, 120),
    "_5": (300, 140),
    "_6": (340, 160),
    "_6plus": (380, 180),
    "_iPad": (640, 260),
    "_iPad_Pro": (760, 300),
}

PANEL_TOP, PANEL_BOTTOM = rgba("#222b3b"), rgba("#131924")
PANEL_EDGE = rgba("#3a4660", 0.8)
WOOD_TOP, WOOD_BOTTOM = rgba("#3d2b21"), rgba("#2a1d16")
NUT = rgba("#e9e1cc")
FRET = rgba("#aab3bd", 0.6)
INLAY = rgba("#d8d2c4", 0.3)
DIM_STRING = rgba("#a3adbb", 0.8)
STRING_SHADOW = rgba("#000000", 0.45)
GLOW_GREEN = rgba("#35e08a")
GOLD = rgba("#ffc93c")
CORE = rgba("#fff6cc")
BADGE_FILL = rgba("#11241a", 0.95)
BADGE_TEXT = rgba("#ffd75e")


def string_y(number, top, bottom):
    """Vertical centre of string 1..10: courses evenly spaced, the two strings of a course close together."""
    pitch = (bottom - top) / 5
    course = STRINGS[number - 1][0]
    centre = top + (course - 0.5) * pitch
    first_of_course = number == 1 or STRINGS[number - 2][0] != course
    return centre + (-0.14 if first_of_course else 0.14) * pitch


def draw_string_picture(width, height, lit, note):
    canvas = Canvas(width, height)
    unit = height / 120  # stroke widths follow the height, which sets the string spacing

    # Panel: the whole picture, rounded, with a faint edge.
    panel = canvas.layer()
    panel.rounded_rect((0, 0, width, height), 0.14 * height, fill=(255, 255, 255, 255))
    canvas.gradient(PANEL_TOP, PANEL_BOTTOM, panel)
    canvas.rounded_rect((0.5, 0.5, width - 0.5, height - 0.5), 0.14 * height - 0.5,
                        outline=PANEL_EDGE, width=unit)

    # Neck: runs from the nut off the right edge, clipped by the panel's corner.
    badge_column = 0.25 * width
    nut_x = badge_column + 0.02 * width
    top, bottom = 0.12 * height, 0.88 * height
    neck = canvas.layer()
    neck.rounded_rect((nut_x, top, width + 40, bottom), 0.03 * height, fill=(255, 255, 255, 255))
    neck = neck.masked(panel)
    canvas.gradient(WOOD_TOP, WOOD_BOTTOM, neck, top, bottom)

    # Frets at equal-tempered spacing, about seven of them in view, and inlays at 3, 5 and 7.
    scale_length = (width - nut_x) / (1 - 2 ** (-7.4 / 12))
    def fret_x(n):
        return nut_x + scale_length * (1 - 2 ** (-n / 12))
    for n in (3, 5, 7):
        mid = (fret_x(n - 1) + fret_x(n)) / 2
        canvas.circle(mid, (top + bottom) / 2, 0.05 * height, fill=INLAY)
    for n in range(1, 8):
        x = fret_x(n)
        if x < width - 2 * unit:
            canvas.line([(x, top + unit), (x, bottom - unit)], FRET, 1.4 * unit)
    canvas.rounded_rect((nut_x - 3.2 * unit, top - 0.5 * unit, nut_x + 1.2 * unit, bottom + 0.5 * unit),
                        1.2 * unit, fill=NUT)

    # A soft band of light behind the lit strings.
    lit_ys = [string_y(n, top, bottom) for n in lit]
    band = canvas.layer()
    for y in lit_ys:
        band.line([(nut_x + 4 * unit, y), (width - 4 * unit, y)], GLOW_GREEN, 9 * unit)
    canvas.paste(band.blurred(7 * unit).masked(neck), opacity=0.35)

    # Strings: a shadow under each, dim ones in grey, lit ones glowing.
    start, end = nut_x + 1.2 * unit, width
    for number, (_, gauge) in enumerate(STRINGS, start=1):
        y = string_y(number, top, bottom)
        thickness = 1.25 * gauge * unit
        canvas.line([(start, y + 0.9 * unit), (end, y + 0.9 * unit)], STRING_SHADOW, thickness)
        if number not in lit:
            canvas.line([(start, y), (end, y)], DIM_STRING, thickness)
    glow = canvas.layer()
    for y, number in zip(lit_ys, lit):
        glow.line([(start, y), (end, y)], GLOW_GREEN, 5 * max(STRINGS[number - 1][1], 1.4) * unit)
    canvas.paste(glow.blurred(3 * unit), opacity=1.0)
    canvas.paste(glow.blurred(1.2 * unit), opacity=0.8)
    for y, number in zip(lit_ys, lit):
        thickness = 1.25 * STRINGS[number - 1][1] * unit
        canvas.line([(start, y), (end, y)], GOLD, 2.0 * thickness)
        canvas.line([(start, y), (end, y)], CORE, 0.9 * thickness)

    # Badge: the note name, level with the lit strings, joined to the nut by a short lead.
    badge_y = min(max(sum(lit_ys) / len(lit_ys), 0.15 * height), 0.85 * height)
    badge_h = 0.23 * height
    badge_w = min(0.8 * badge_column, 1.9 * badge_h)
    badge_x = 0.05 * width + (badge_column - 0.05 * width - badge_w) / 2
    badge_box = (badge_x, badge_y - badge_h / 2, badge_x + badge_w, badge_y + badge_h / 2)
    halo = canvas.layer()
    halo.rounded_rect(badge_box, badge_h / 2, fill=GLOW_GREEN)
    halo.line([(badge_box[2], badge_y), (nut_x - 3.2 * unit, badge_y)], GOLD, 2 * unit)
    canvas.paste(halo.blurred(3.5 * unit), opacity=0.7)
    canvas.line([(badge_box[2], badge_y), (nut_x - 3.2 * unit, badge_y)], GOLD, 1.3 * unit)
    canvas.rounded_rect(badge_box, badge_h / 2, fill=BADGE_FILL, outline=GLOW_GREEN, width=1.6 * unit)
    canvas.text((badge_x + badge_w / 2, badge_y), note, font(0.155 * height, bold=True), BADGE_TEXT)
    return canvas


def main():
    out_dir = out_dir_from_args(sys.argv)
    for ordinal, lit, note in STRING_INDEXES.values():
        for suffix, (width, height) in SIZES.items():
            draw_string_picture(width, height, lit, note).save(f"{ordinal}_string{suffix}.png", out_dir)


if __name__ == "__main__":
    main()
