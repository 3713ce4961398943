#!/usr/bin/python3
"""Draws the program icon: a camera glyph in the app's pink on white.

Writes resources/app.ico with the sizes Windows asks for (16 to 256 px).
Run with Debian's python3 (python3-pil)."""
import os
import sys

from PIL import Image, ImageDraw

PINK = (231, 89, 137, 255)
WHITE = (255, 255, 255, 255)


def draw(size: int) -> Image.Image:
    s = 8  # supersample, then reduce for smooth edges
    n = size * s
    img = Image.new("RGBA", (n, n), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    r = n * 0.2
    d.rounded_rectangle([0, 0, n - 1, n - 1], radius=r, fill=WHITE, outline=PINK, width=max(s, n // 32))
    # body
    bx0, by0, bx1, by1 = n * 0.16, n * 0.32, n * 0.84, n * 0.78
    d.rounded_rectangle([bx0, by0, bx1, by1], radius=n * 0.08, fill=PINK)
    # viewfinder bump
    d.rounded_rectangle([n * 0.34, n * 0.22, n * 0.58, n * 0.36], radius=n * 0.04, fill=PINK)
    # lens: white ring with pink centre
    cx, cy, lr = n * 0.5, n * 0.55, n * 0.17
    d.ellipse([cx - lr, cy - lr, cx + lr, cy + lr], fill=WHITE)
    ir = lr * 0.62
    d.ellipse([cx - ir, cy - ir, cx + ir, cy + ir], fill=PINK)
    # flash dot
    fr = n * 0.035
    d.ellipse([n * 0.72 - fr, n * 0.41 - fr, n * 0.72 + fr, n * 0.41 + fr], fill=WHITE)
    return img.resize((size, size), Image.LANCZOS)


def main() -> int:
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "resources", "app.ico")
    sizes = [16, 24, 32, 48, 64, 128, 256]
    big = draw(256)
    # BMP entries below 256 px: older loaders (and Wine) read PNG-compressed entries poorly.
    big.save(out, format="ICO", sizes=[(x, x) for x in sizes], append_images=[draw(x) for x in sizes[:-1]], bitmap_format="bmp")
    return 0


if __name__ == "__main__":
    sys.exit(main())
