#!/usr/bin/python3
"""Draws the level lamps "green64.png", "yellow64.png", "green128.png" and "yellow128.png".

A round LED in a dark metal bezel, lit from inside, with a soft halo on a
transparent background. Green means a string is in tune; yellow is the idle lamp.
"""

import sys

from output_dir import out_dir_from_args
from paint import Canvas, rgba

# colour name -> (halo, lens centre, lens body, lens edge)
COLOURS = {
    "green": (rgba("#35e08a"), rgba("#eafff2"), rgba("#2fdc7f"), rgba("#0b6d37")),
    "yellow": (rgba("#ffc83a"), rgba("#fff8d8"), rgba("#ffc62b"), rgba("#a86a00")),
}
SIZES = (64, 128)

BEZEL_TOP, BEZEL_BOTTOM = rgba("#5a6376"), rgba("#171c25")
BEZEL_INNER = rgba("#0b0f15")


def with_alpha(colour, alpha):
    return colour[:3] + (round(alpha * 255),)


def draw_lamp(size, colour):
    halo, centre, body, edge = COLOURS[colour]
    canvas = Canvas(size, size)
    c = size / 2
    bezel_r, lens_r = 0.36 * size, 0.285 * size

    canvas.radial(c, c, 0.5 * size, [(0.0, with_alpha(halo, 0.55)), (bezel_r / (0.5 * size), with_alpha(halo, 0.4)),
                                      (1.0, with_alpha(halo, 0.0))])

    bezel = canvas.layer()
    bezel.circle(c, c, bezel_r, fill=(255, 255, 255, 255))
    canvas.gradient(BEZEL_TOP, BEZEL_BOTTOM, bezel, c - bezel_r, c + bezel_r)
    canvas.circle(c, c, lens_r + 0.025 * size, fill=BEZEL_INNER)

    lens = canvas.layer()
    lens.circle(c, c, lens_r, fill=(255, 255, 255, 255))
    canvas.radial(c, c - 0.06 * size, lens_r * 1.1, [(0.0, centre), (0.35, body), (1.0, edge)], mask=lens)

    # Specular highlight: an ellipse across the upper lens, fading downwards.
    shine = canvas.layer()
    shine.ellipse((c - 0.6 * lens_r, c - 0.88 * lens_r, c + 0.6 * lens_r, c - 0.12 * lens_r),
                  fill=(255, 255, 255, 255))
    canvas.gradient(rgba("#ffffff", 0.75), rgba("#ffffff", 0.0), shine, c - 0.88 * lens_r, c - 0.12 * lens_r)
    return canvas


def main():
    out_dir = out_dir_from_args(sys.argv)
    for colour in COLOURS:
        for size in SIZES:
            draw_lamp(size, colour).save(f"{colour}{size}.png", out_dir)


if __name__ == "__main__":
    main()
