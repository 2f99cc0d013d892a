"""Small drawing kit shared by the picture generators.

Every picture is drawn on a canvas four times its final size and reduced with
a box filter at the end, which gives clean anti-aliased edges without relying
on the anti-aliasing of any single drawing call. Callers work in final-pixel
coordinates; the canvas scales them.
"""

import os
from contextlib import contextmanager

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont

SUPERSAMPLE = 4
FONT_DIR = "/usr/share/fonts/truetype/dejavu"


def rgba(hex_colour, alpha=1.0):
    """'#rrggbb' and an opacity 0..1 as an RGBA tuple."""
    value = hex_colour.lstrip("#")
    return (int(value[0:2], 16), int(value[2:4], 16), int(value[4:6], 16), round(alpha * 255))


def font(size, bold=False):
    """DejaVu Sans at a size in final pixels, for drawing on a canvas."""
    name = "DejaVuSans-Bold.ttf" if bold else "DejaVuSans.ttf"
    return ImageFont.truetype(os.path.join(FONT_DIR, name), round(size * SUPERSAMPLE))


class Canvas:
    """A transparent supersampled RGBA layer addressed in final pixels."""

    def __init__(self, width, height):
        self.width = width
        self.height = height
        self.image = Image.new("RGBA", (width * SUPERSAMPLE, height * SUPERSAMPLE), (0, 0, 0, 0))
        self.draw = ImageDraw.Draw(self.image)

    def layer(self):
        """A new empty canvas of the same size, to be composited back with paste()."""
        return Canvas(self.width, self.height)

    @staticmethod
    def _scale(values):
        return [v * SUPERSAMPLE for v in values]

    @contextmanager
    def _pen(self, *colours):
        """The draw object to use for these colours.

        PIL replaces the pixels of an RGBA image instead of blending, so a
        translucent colour is drawn on a scratch layer and composited.
        """
        if all(c is None or len(c) < 4 or c[3] == 255 for c in colours):
            yield self.draw
            return
        scratch = Image.new("RGBA", self.image.size, (0, 0, 0, 0))
        yield ImageDraw.Draw(scratch)
        self.image.alpha_composite(scratch)

    def rounded_rect(self, box, radius, fill=None, outline=None, width=1.0):
        with self._pen(fill, outline) as pen:
            pen.rounded_rectangle(self._scale(box), radius * SUPERSAMPLE, fill=fill,
                                  outline=outline, width=max(1, round(width * SUPERSAMPLE)))

    def ellipse(self, box, fill=None, outline=None, width=1.0):
        with self._pen(fill, outline) as pen:
            pen.ellipse(self._scale(box), fill=fill, outline=outline,
                        width=max(1, round(width * SUPERSAMPLE)))

    def circle(self, cx, cy, r, **style):
        self.ellipse((cx - r, cy - r, cx + r, cy + r), **style)

    def line(self, points, fill, width):
        """A line with round caps, so thick strokes end cleanly."""
        pts = [(x * SUPERSAMPLE, y * SUPERSAMPLE) for x, y in points]
        w = width * SUPERSAMPLE
        with self._pen(fill) as pen:
            pen.line(pts, fill=fill, width=max(1, round(w)))
            for x, y in (pts[0], pts[-1]):
                pen.ellipse((x - w / 2, y - w / 2, x + w / 2, y + w / 2), fill=fill)

    def polygon(self, points, fill):
        with self._pen(fill) as pen:
            pen.polygon([(x * SUPERSAMPLE, y * SUPERSAMPLE) for x, y in points], fill=fill)

    def text(self, xy, content, text_font, fill, anchor="mm"):
        x, y = xy
        with self._pen(fill) as pen:
            pen.text((x * SUPERSAMPLE, y * SUPERSAMPLE), content, font=text_font,
                     fill=fill, anchor=anchor)

    def text_on_ink(self, centre, content, text_font, fill, stroke=0.0):
        """Draws text so that the ink itself, not the line box, is centred on a point.

        Musical signs such as the sharp and the flat sit off-centre in their
        line box; buttons want them optically centred. A stroke (final pixels)
        thickens thin glyphs.
        """
        scratch = Image.new("RGBA", self.image.size, (0, 0, 0, 0))
        ImageDraw.Draw(scratch).text((0, 0), content, font=text_font, fill=fill, anchor="lt",
                                     stroke_width=round(stroke * SUPERSAMPLE), stroke_fill=fill)
        left, top, right, bottom = scratch.getchannel("A").getbbox()
        cx, cy = centre[0] * SUPERSAMPLE, centre[1] * SUPERSAMPLE
        offset = (round(cx - (left + right) / 2), round(cy - (top + bottom) / 2))
        placed = Image.new("RGBA", self.image.size, (0, 0, 0, 0))
        placed.paste(scratch, offset)
        self.image.alpha_composite(placed)

    def text_width(self, content, text_font):
        left, _, right, _ = self.draw.textbbox((0, 0), content, font=text_font)
        return (right - left) / SUPERSAMPLE

    def paste(self, other, opacity=1.0):
        """Composites another canvas of the same size on top of this one."""
        top = other.image
        if opacity != 1.0:
            top = top.copy()
            alpha = np.asarray(top.getchannel("A"), dtype=np.float32) * opacity
            top.putalpha(Image.fromarray(np.clip(alpha, 0, 255).astype(np.uint8)))
        self.image.alpha_composite(top)

    def blurred(self, radius):
        """A copy of this canvas blurred by a radius in final pixels, for glows and shadows."""
        out = self.layer()
        out.image = self.image.filter(ImageFilter.GaussianBlur(radius * SUPERSAMPLE))
        out.draw = ImageDraw.Draw(out.image)
        return out

    def masked(self, mask):
        """A copy of this canvas whose alpha is multiplied by another canvas's alpha."""
        out = self.layer()
        own = np.asarray(self.image, dtype=np.float32)
        cover = np.asarray(mask.image.getchannel("A"), dtype=np.float32) / 255.0
        own[..., 3] *= cover
        out.image = Image.fromarray(own.round().astype(np.uint8), "RGBA")
        out.draw = ImageDraw.Draw(out.image)
        return out

    def gradient(self, top_colour, bottom_colour, mask, y_from=0.0, y_to=None, x_axis=False):
        """Fills the shape of `mask` (a canvas) with a linear gradient between two RGBA colours.

        The gradient runs from y_from to y_to (final pixels) down the canvas, or
        across it when x_axis is true; outside that span the end colours hold.
        """
        size = self.width if x_axis else self.height
        span_end = size if y_to is None else y_to
        n = size * SUPERSAMPLE
        pos = (np.arange(n, dtype=np.float32) / SUPERSAMPLE - y_from) / max(span_end - y_from, 1e-6)
        t = np.clip(pos, 0.0, 1.0)[:, None]
        ramp = (1 - t) * np.array(top_colour, np.float32) + t * np.array(bottom_colour, np.float32)
        h, w = self.height * SUPERSAMPLE, self.width * SUPERSAMPLE
        pixels = np.broadcast_to(ramp[None, :, :], (h, w, 4)) if x_axis else \
            np.broadcast_to(ramp[:, None, :], (h, w, 4))
        fill = Canvas(self.width, self.height)
        fill.image = Image.fromarray(pixels.round().astype(np.uint8), "RGBA")
        fill.draw = ImageDraw.Draw(fill.image)
        self.paste(fill.masked(mask))

    def radial(self, cx, cy, radius, stops, mask=None):
        """Fills with a radial gradient around (cx, cy); stops are (distance 0..1, RGBA) pairs."""
        h, w = self.height * SUPERSAMPLE, self.width * SUPERSAMPLE
        ys, xs = np.mgrid[0:h, 0:w].astype(np.float32)
        d = np.hypot(xs / SUPERSAMPLE + 0.5 / SUPERSAMPLE - cx,
                     ys / SUPERSAMPLE + 0.5 / SUPERSAMPLE - cy) / radius
        positions = [p for p, _ in stops]
        pixels = np.stack([np.interp(d, positions, [c[i] for _, c in stops]) for i in range(4)], -1)
        fill = Canvas(self.width, self.height)
        fill.image = Image.fromarray(pixels.round().astype(np.uint8), "RGBA")
        fill.draw = ImageDraw.Draw(fill.image)
        self.paste(fill.masked(mask) if mask is not None else fill)

    def save(self, name, out_dir):
        """Reduces to the final size (on premultiplied alpha, so edges keep their colour) and writes an optimised PNG."""
        final = self.image.convert("RGBa").reduce(SUPERSAMPLE).convert("RGBA")
        path = os.path.join(out_dir, name)
        final.save(path, optimize=True)
        return path
