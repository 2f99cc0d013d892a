#!/usr/bin/python3
"""Draws the chord-chart pictures.

"fretboard.png" is the neck seen from the front, nut at the top, five strings
(string 1 on the left) and four frets. The overlays "circle.png" (open string),
"x.png" (muted string), "dot.png" (finger) and "bar.png" (barre) sit on it at the
positions written in tools/README.md. "sharp.png", "flat.png", "sharppro.png" and
"flatpro.png" are the buttons that switch the chord names between sharps and flats.
"""

import sys

from output_dir import out_dir_from_args
from paint import Canvas, font, rgba

# Geometry of fretboard.png, in its pixels; README.md gives the same numbers.
BOARD_W, BOARD_H = 300, 400
STRING_X = (50, 100, 150, 200, 250)       # strings 1..5
STRING_GAUGE = (2.0, 2.6, 3.3, 2.3, 3.0)  # E5, A4, E4, C5, G4: lower pitches thicker
NUT_Y = 40
FRET_Y = (120, 200, 280, 360)
NECK_LEFT, NECK_RIGHT = 22, 278

WOOD_EDGE, WOOD_MIDDLE = rgba("#2a1d16"), rgba("#45322a")
NUT_TOP, NUT_BOTTOM = rgba("#f4eee0"), rgba("#cfc5ad")
FRET_LIGHT, FRET_DARK = rgba("#dfe4ea"), rgba("#8a939e")
STRING_COLOUR = rgba("#d2d8e0")
SHADOW = rgba("#000000", 0.5)

MARK_SIZE = 36
RING = rgba("#eef2f7")
RING_EDGE = rgba("#1b2230", 0.85)
CROSS = rgba("#ff6b6b")
FINGER_LIGHT, FINGER_MIDDLE, FINGER_EDGE = rgba("#fff1b8"), rgba("#ffc93c"), rgba("#d48c00")
BAR_W, BAR_H = 240, 28

BUTTON_TOP, BUTTON_BOTTOM = rgba("#3a4961"), rgba("#1f2735")
BUTTON_EDGE = rgba("#5b6b88", 0.9)
GLYPH = rgba("#ffffff")
SHARP, FLAT = "\u266f", "\u266d"


def draw_fretboard():
    canvas = Canvas(BOARD_W, BOARD_H)
    # Wood, darker towards both edges so the neck looks rounded, fading out at the bottom.
    neck = canvas.layer()
    neck.rounded_rect((NECK_LEFT, NUT_Y, NECK_RIGHT, BOARD_H + 20), 6, fill=(255, 255, 255, 255))
    middle = (NECK_LEFT + NECK_RIGHT) / 2
    left_half, right_half = canvas.layer(), canvas.layer()
    left_half.polygon([(NECK_LEFT, 0), (middle, 0), (middle, BOARD_H), (NECK_LEFT, BOARD_H)], (255, 255, 255, 255))
    right_half.polygon([(middle, 0), (NECK_RIGHT, 0), (NECK_RIGHT, BOARD_H), (middle, BOARD_H)], (255, 255, 255, 255))
    wood = canvas.layer()
    wood.gradient(WOOD_EDGE, WOOD_MIDDLE, neck.masked(left_half), NECK_LEFT, middle, x_axis=True)
    wood.gradient(WOOD_MIDDLE, WOOD_EDGE, neck.masked(right_half), middle, NECK_RIGHT, x_axis=True)
    fade = canvas.layer()
    fade.gradient((255, 255, 255, 255), (255, 255, 255, 0), wood, 372, BOARD_H)
    canvas.paste(wood.masked(fade))

    for y in FRET_Y:
        fret = canvas.layer()
        fret.rounded_rect((NECK_LEFT, y - 2.5, NECK_RIGHT, y + 2.5), 2.5, fill=(255, 255, 255, 255))
        canvas.rounded_rect((NECK_LEFT, y - 1, NECK_RIGHT, y + 4.5), 2.5, fill=SHADOW)
        canvas.gradient(FRET_LIGHT, FRET_DARK, fret, y - 2.5, y + 2.5)

    nut = canvas.layer()
    nut.rounded_rect((NECK_LEFT - 2, NUT_Y - 6, NECK_RIGHT + 2, NUT_Y + 6), 4, fill=(255, 255, 255, 255))
    canvas.rounded_rect((NECK_LEFT - 2, NUT_Y - 4, NECK_RIGHT + 2, NUT_Y + 9), 4, fill=SHADOW)
    canvas.gradient(NUT_TOP, NUT_BOTTOM, nut, NUT_Y - 6, NUT_Y + 6)

    strings = canvas.layer()
    for x, gauge in zip(STRING_X, STRING_GAUGE):
        strings.line([(x + 1.6, NUT_Y + 6), (x + 1.6, BOARD_H)], SHADOW, gauge)
        strings.line([(x, NUT_Y + 1), (x, BOARD_H)], STRING_COLOUR, gauge)
    canvas.paste(strings.masked(fade))
    return canvas


def with_shadow(draw_shape, size):
    """Draws a shape over its own soft dark shadow, so it reads on light and dark backgrounds."""
    width, height = size
    canvas = Canvas(width, height)
    shape = canvas.layer()
    draw_shape(shape)
    silhouette = shape.layer()
    silhouette.gradient(SHADOW, SHADOW, shape)
    canvas.paste(silhouette.blurred(1.6), opacity=1.6)
    canvas.paste(shape)
    return canvas


def draw_circle():
    c = MARK_SIZE / 2
    def shape(s):
        # A dark rim on both sides of the white ring keeps it visible on a light background too.
        s.circle(c, c, 13.2, outline=RING_EDGE, width=5.8)
        s.circle(c, c, 12.4, outline=RING, width=3.4)
    return with_shadow(shape, (MARK_SIZE, MARK_SIZE))


def draw_cross():
    c, arm = MARK_SIZE / 2, 8.5
    def shape(s):
        s.line([(c - arm, c - arm), (c + arm, c + arm)], CROSS, 3.8)
        s.line([(c - arm, c + arm), (c + arm, c - arm)], CROSS, 3.8)
    return with_shadow(shape, (MARK_SIZE, MARK_SIZE))


def finger_fill(canvas, box, radius):
    """Fills a rounded box with the finger colour: warm gold, lighter at the top."""
    left, top, right, bottom = box
    body = canvas.layer()
    body.rounded_rect(box, radius, fill=(255, 255, 255, 255))
    canvas.gradient(FINGER_MIDDLE, FINGER_EDGE, body, top, bottom)
    shine = canvas.layer()
    shine.rounded_rect((left + 0.22 * (bottom - top), top + 0.12 * (bottom - top),
                        right - 0.22 * (bottom - top), top + 0.5 * (bottom - top)), radius, fill=(255, 255, 255, 255))
    canvas.gradient(FINGER_LIGHT[:3] + (200,), FINGER_LIGHT[:3] + (0,), shine, top + 0.12 * (bottom - top),
                    top + 0.5 * (bottom - top))


def draw_dot():
    c, r = MARK_SIZE / 2, 13.5
    return with_shadow(lambda s: finger_fill(s, (c - r, c - r, c + r, c + r), r), (MARK_SIZE, MARK_SIZE))


def draw_bar():
    box = (3, 3, BAR_W - 3, BAR_H - 3)
    return with_shadow(lambda s: finger_fill(s, box, (BAR_H - 6) / 2), (BAR_W, BAR_H))


def draw_button(size, glyph):
    canvas = Canvas(size, size)
    inset, radius = 0.06 * size, 0.24 * size
    box = (inset, inset, size - inset, size - inset)
    shadow = canvas.layer()
    shadow.rounded_rect((box[0], box[1] + 0.03 * size, box[2], box[3] + 0.03 * size), radius, fill=SHADOW)
    canvas.paste(shadow.blurred(0.03 * size))
    face = canvas.layer()
    face.rounded_rect(box, radius, fill=(255, 255, 255, 255))
    canvas.gradient(BUTTON_TOP, BUTTON_BOTTOM, face, box[1], box[3])
    canvas.rounded_rect(box, radius, outline=BUTTON_EDGE, width=max(1.0, 0.02 * size))
    canvas.text_on_ink((size / 2, size / 2), glyph, font(0.7 * size), GLYPH, stroke=0.011 * size)
    return canvas


def main():
    out_dir = out_dir_from_args(sys.argv)
    draw_fretboard().save("fretboard.png", out_dir)
    draw_circle().save("circle.png", out_dir)
    draw_cross().save("x.png", out_dir)
    draw_dot().save("dot.png", out_dir)
    draw_bar().save("bar.png", out_dir)
    for name, glyph in (("sharp", SHARP), ("flat", FLAT)):
        draw_button(64, glyph).save(f"{name}.png", out_dir)
        draw_button(96, glyph).save(f"{name}pro.png", out_dir)


if __name__ == "__main__":
    main()
