"""Small drawing kit for the program's pictures.

Shapes are given in target-pixel units (floats; the picture spans [0, w] x [0, h])
and drawn into a supersampled 8-bit coverage mask; reducing the mask with a box
filter gives exact anti-aliased coverage without ringing. Masks are then turned
into coloured RGBA layers and stacked with source-over compositing."""
import math

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

SUPERSAMPLE = 8
FONT_PATH = "/usr/share/fonts/truetype/wqy/wqy-microhei.ttc"


class Mask:
    """Coverage mask of a w x h picture, drawn at SUPERSAMPLE times the size."""

    def __init__(self, w, h, ss=SUPERSAMPLE):
        self.w, self.h, self.ss = w, h, ss
        self.img = Image.new("L", (w * ss, h * ss), 0)
        self.d = ImageDraw.Draw(self.img)

    # --- coordinates -------------------------------------------------------
    def _pt(self, x, y):
        return (x * self.ss, y * self.ss)

    def _box(self, x0, y0, x1, y1):
        s = self.ss
        return [x0 * s, y0 * s, x1 * s - 1, y1 * s - 1]

    # --- shapes (ink 255 draws, ink 0 erases) --------------------------------
    def circle(self, cx, cy, r, ink=255):
        self.d.ellipse(self._box(cx - r, cy - r, cx + r, cy + r), fill=ink)

    def ring(self, cx, cy, r, width, ink=255):
        """Circle outline of radius r (centre of the stroke) and stroke width."""
        ro = r + width / 2
        self.d.ellipse(self._box(cx - ro, cy - ro, cx + ro, cy + ro), outline=ink,
                       width=max(1, round(width * self.ss)))

    def rect(self, x0, y0, x1, y1, ink=255):
        self.d.rectangle(self._box(x0, y0, x1, y1), fill=ink)

    def rrect(self, x0, y0, x1, y1, r, ink=255):
        self.d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=r * self.ss, fill=ink)

    def rrect_outline(self, x0, y0, x1, y1, r, width, ink=255):
        """Rounded-rectangle outline whose stroke lies inside (x0, y0, x1, y1)."""
        self.d.rounded_rectangle(self._box(x0, y0, x1, y1), radius=r * self.ss, outline=ink,
                                 width=max(1, round(width * self.ss)))

    def polygon(self, pts, ink=255):
        self.d.polygon([self._pt(x, y) for x, y in pts], fill=ink)

    def line(self, pts, width, ink=255, caps=True):
        """Polyline with round joints and (optionally) round caps."""
        scaled = [self._pt(x, y) for x, y in pts]
        self.d.line(scaled, fill=ink, width=max(1, round(width * self.ss)), joint="curve")
        if caps:
            for x, y in (pts[0], pts[-1]):
                self.circle(x, y, width / 2, ink)
        for x, y in pts[1:-1]:
            self.circle(x, y, width / 2, ink)

    def arc(self, cx, cy, r, start, end, width, ink=255, caps=True):
        """Arc of the circle (cx, cy, r) from start to end degrees, clockwise from
        3 o'clock (y grows downwards), stroke centred on the circle."""
        ro = r + width / 2
        self.d.arc(self._box(cx - ro, cy - ro, cx + ro, cy + ro), start, end, fill=ink,
                   width=max(1, round(width * self.ss)))
        if caps:
            for a in (start, end):
                x, y = polar(cx, cy, r, a)
                self.circle(x, y, width / 2, ink)

    def text(self, x, y, txt, size, anchor="la", ink=255, bold=0.0):
        """Text at (x, y) with a PIL anchor; bold thickens strokes by that many px."""
        font = ImageFont.truetype(FONT_PATH, round(size * self.ss))
        self.d.text(self._pt(x, y), txt, font=font, fill=ink, anchor=anchor,
                    stroke_width=round(bold * self.ss), stroke_fill=ink)

    def paste(self, other, x=0, y=0):
        """Adds (lighter-of) another supersampled mask at an offset in pixels."""
        region = Image.new("L", self.img.size, 0)
        region.paste(other.img, (round(x * self.ss), round(y * self.ss)))
        self.img = ImageChops.lighter(self.img, region)
        self.d = ImageDraw.Draw(self.img)

    def rotated(self, degrees, cx=None, cy=None):
        """A copy turned counter-clockwise by degrees about (cx, cy)."""
        cx = self.w / 2 if cx is None else cx
        cy = self.h / 2 if cy is None else cy
        out = Mask(self.w, self.h, self.ss)
        out.img = self.img.rotate(degrees, resample=Image.BICUBIC,
                                  center=(cx * self.ss, cy * self.ss))
        out.d = ImageDraw.Draw(out.img)
        return out

    def invert(self):
        self.img = ImageChops.invert(self.img)
        self.d = ImageDraw.Draw(self.img)
        return self

    def reduce(self):
        """The coverage at the target size (box filter: exact area average)."""
        return self.img.resize((self.w, self.h), Image.BOX)


def polar(cx, cy, r, degrees):
    a = math.radians(degrees)
    return cx + r * math.cos(a), cy + r * math.sin(a)


# --- colours -----------------------------------------------------------------
def mix(a, b, t):
    """Linear mix of two RGB colours, t = 0 gives a, 1 gives b."""
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def lighten(c, t):
    return mix(c, (255, 255, 255), t)


def darken(c, t):
    return mix(c, (0, 0, 0), t)


# --- layers ------------------------------------------------------------------
def layer(cover, rgb, alpha=1.0):
    """A solid-colour RGBA layer whose alpha is the coverage (times alpha)."""
    if isinstance(cover, Mask):
        cover = cover.reduce()
    img = Image.new("RGBA", cover.size, tuple(rgb) + (0,))
    a = cover if alpha >= 1.0 else cover.point(lambda v: round(v * alpha))
    img.putalpha(a)
    return img


def gradient(size, c0, c1, horizontal=True, diagonal=False):
    """An opaque RGB gradient picture from c0 to c1 (left to right, top to bottom,
    or top-left to bottom-right when diagonal)."""
    w, h = size

    def ramp(n):
        return [round(255 * i / max(1, n - 1)) for i in range(n)]

    tx = Image.new("L", (w, 1))
    tx.putdata(ramp(w))
    tx = tx.resize((w, h), Image.NEAREST)
    ty = Image.new("L", (1, h))
    ty.putdata(ramp(h))
    ty = ty.resize((w, h), Image.NEAREST)
    if diagonal:
        t = ImageChops.add(tx, ty, scale=2.0)
    else:
        t = tx if horizontal else ty
    return Image.composite(Image.new("RGB", size, tuple(c1)), Image.new("RGB", size, tuple(c0)), t)


def gradient_layer(cover, c0, c1, horizontal=True, diagonal=False):
    if isinstance(cover, Mask):
        cover = cover.reduce()
    img = gradient(cover.size, c0, c1, horizontal, diagonal).convert("RGBA")
    img.putalpha(cover)
    return img


def shadow(cover, blur=1.0, dx=0.0, dy=0.5, alpha=0.4, rgb=(0, 0, 0)):
    """A soft drop shadow of a coverage mask (offset in pixels)."""
    if isinstance(cover, Mask):
        cover = cover.reduce()
    big = cover.resize((cover.width * 4, cover.height * 4), Image.BILINEAR)
    moved = Image.new("L", big.size, 0)
    moved.paste(big, (round(dx * 4), round(dy * 4)))
    big = moved
    big = big.filter(ImageFilter.GaussianBlur(blur * 4))
    return layer(big.resize(cover.size, Image.BOX), rgb, alpha)


def stack(size, *layers):
    """Source-over composition of the layers, bottom first, on transparency."""
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    for lay in layers:
        if lay is not None:
            out = Image.alpha_composite(out, lay)
    return out
