#!/usr/bin/python3
"""Draws the program icon, "pallqa-tuner.png" (256x256) and "pallqa-tuner.svg".

A tuner gauge whose needle stands in the green in-tune zone, above the five
string pairs of the instrument, the middle pair lit. Both files are drawn from
the one geometry below, so they stay alike.
"""

import math
import sys

from output_dir import out_dir_from_args
from paint import Canvas, rgba

SIZE = 256
TILE = (8, 8, 248, 248)
TILE_RADIUS = 56
TILE_TOP, TILE_BOTTOM = "#283550", "#10151f"
TILE_EDGE = "#44527a"

PIVOT = (128, 150)
ARC_RADIUS = 92
ARC_SPAN = 58            # degrees either side of straight up
IN_TUNE_SPAN = 9         # degrees either side of straight up
ARC_WIDTH = 11
TICKS = [-50, -40, -30, -20, -10, 0, 10, 20, 30, 40, 50]
TICK_INNER, TICK_OUTER = 68, 78
NEEDLE_LENGTH = 84
DIM, GREEN, GOLD, CAP_CENTRE = "#45557a", "#35e08a", "#ffc93c", "#1a2130"

STRING_PAIRS_X = (68, 98, 128, 158, 188)   # at the bottom; they narrow towards the top
PAIR_GAP = 4.5
STRINGS_TOP, STRINGS_BOTTOM = 182, 238
TOP_NARROWING = 0.72
STRING_DIM = "#8b95a5"


def strings():
    """The ten strings as (top point, bottom point, lit), fanning out downwards like a neck seen in perspective."""
    out = []
    for i, centre in enumerate(STRING_PAIRS_X):
        for side in (-PAIR_GAP, PAIR_GAP):
            bottom_x = centre + side
            top_x = PIVOT[0] + (bottom_x - PIVOT[0]) * TOP_NARROWING
            out.append(((top_x, STRINGS_TOP), (bottom_x, STRINGS_BOTTOM), i == 2))
    return out


def polar(angle, radius):
    """A point at `angle` degrees clockwise from straight up, `radius` from the pivot."""
    a = math.radians(angle)
    return PIVOT[0] + radius * math.sin(a), PIVOT[1] - radius * math.cos(a)


def draw_png():
    canvas = Canvas(SIZE, SIZE)
    tile = canvas.layer()
    tile.rounded_rect(TILE, TILE_RADIUS, fill=(255, 255, 255, 255))
    canvas.gradient(rgba(TILE_TOP), rgba(TILE_BOTTOM), tile, TILE[1], TILE[3])
    canvas.rounded_rect(TILE, TILE_RADIUS, outline=rgba(TILE_EDGE), width=2)

    def arc(canvas_, start, end, colour, width):
        steps = max(2, int(abs(end - start)))
        points = [polar(start + (end - start) * i / steps, ARC_RADIUS) for i in range(steps + 1)]
        canvas_.line(points, rgba(colour), width)

    arc(canvas, -ARC_SPAN, ARC_SPAN, DIM, ARC_WIDTH)
    for tick in TICKS:
        canvas.line([polar(tick, TICK_INNER), polar(tick, TICK_OUTER if tick else TICK_OUTER + 2)],
                    rgba(GREEN if tick == 0 else DIM), 4 if tick == 0 else 3)

    glow = canvas.layer()
    arc(glow, -IN_TUNE_SPAN, IN_TUNE_SPAN, GREEN, ARC_WIDTH + 6)
    for top, bottom, lit in strings():
        if lit:
            glow.line([top, bottom], rgba(GREEN), 7)
    canvas.paste(glow.blurred(5))
    canvas.paste(glow.blurred(2), opacity=0.6)
    arc(canvas, -IN_TUNE_SPAN, IN_TUNE_SPAN, GREEN, ARC_WIDTH)

    for top, bottom, lit in strings():
        canvas.line([top, bottom], rgba(GOLD if lit else STRING_DIM), 3)

    needle = canvas.layer()
    needle.line([PIVOT, polar(0, NEEDLE_LENGTH)], rgba(GOLD), 6)
    canvas.paste(needle.blurred(3), opacity=0.8)
    canvas.paste(needle)
    canvas.circle(*PIVOT, 12, fill=rgba(GOLD))
    canvas.circle(*PIVOT, 5, fill=rgba(CAP_CENTRE))
    return canvas


def svg_arc(start, end):
    x0, y0 = polar(start, ARC_RADIUS)
    x1, y1 = polar(end, ARC_RADIUS)
    return f"M {x0:.2f} {y0:.2f} A {ARC_RADIUS} {ARC_RADIUS} 0 0 1 {x1:.2f} {y1:.2f}"


def svg_line(p0, p1, colour, width, extra=""):
    return (f'<line x1="{p0[0]:.2f}" y1="{p0[1]:.2f}" x2="{p1[0]:.2f}" y2="{p1[1]:.2f}" '
            f'stroke="{colour}" stroke-width="{width}" stroke-linecap="round"{extra}/>')


def draw_svg():
    x0, y0, x1, y1 = TILE
    parts = [
        f'<svg xmlns="http://www.w3.org/2000/svg" width="{SIZE}" height="{SIZE}" viewBox="0 0 {SIZE} {SIZE}">',
        "<defs>",
        f'<linearGradient id="tile" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="{TILE_TOP}"/>'
        f'<stop offset="1" stop-color="{TILE_BOTTOM}"/></linearGradient>',
        '<filter id="glow" x="-50%" y="-50%" width="200%" height="200%"><feGaussianBlur stdDeviation="4"/></filter>',
        "</defs>",
        f'<rect x="{x0}" y="{y0}" width="{x1 - x0}" height="{y1 - y0}" rx="{TILE_RADIUS}" fill="url(#tile)" '
        f'stroke="{TILE_EDGE}" stroke-width="2"/>',
        f'<path d="{svg_arc(-ARC_SPAN, ARC_SPAN)}" fill="none" stroke="{DIM}" stroke-width="{ARC_WIDTH}" '
        'stroke-linecap="round"/>',
    ]
    for tick in TICKS:
        parts.append(svg_line(polar(tick, TICK_INNER), polar(tick, TICK_OUTER if tick else TICK_OUTER + 2),
                              GREEN if tick == 0 else DIM, 4 if tick == 0 else 3))
    parts.append('<g filter="url(#glow)">')
    parts.append(f'<path d="{svg_arc(-IN_TUNE_SPAN, IN_TUNE_SPAN)}" fill="none" stroke="{GREEN}" '
                 f'stroke-width="{ARC_WIDTH + 6}" stroke-linecap="round"/>')
    parts += [svg_line(top, bottom, GREEN, 7) for top, bottom, lit in strings() if lit]
    parts.append("</g>")
    parts.append(f'<path d="{svg_arc(-IN_TUNE_SPAN, IN_TUNE_SPAN)}" fill="none" stroke="{GREEN}" '
                 f'stroke-width="{ARC_WIDTH}" stroke-linecap="round"/>')
    parts += [svg_line(top, bottom, GOLD if lit else STRING_DIM, 3) for top, bottom, lit in strings()]
    needle_tip = polar(0, NEEDLE_LENGTH)
    parts.append(svg_line(PIVOT, needle_tip, GOLD, 6, ' filter="url(#glow)" opacity="0.8"'))
    parts.append(svg_line(PIVOT, needle_tip, GOLD, 6))
    parts.append(f'<circle cx="{PIVOT[0]}" cy="{PIVOT[1]}" r="12" fill="{GOLD}"/>')
    parts.append(f'<circle cx="{PIVOT[0]}" cy="{PIVOT[1]}" r="5" fill="{CAP_CENTRE}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def main():
    out_dir = out_dir_from_args(sys.argv)
    draw_png().save("pallqa-tuner.png", out_dir)
    with open(f"{out_dir}/pallqa-tuner.svg", "w", encoding="utf-8") as svg:
        svg.write(draw_svg())


if __name__ == "__main__":
    main()
