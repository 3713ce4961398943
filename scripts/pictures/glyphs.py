"""Glyphs of the icons, drawn as coverage into a Mask in picture pixels."""
import math

from draw import Mask, polar
from look import GLYPH_STROKE, ICON_STROKE, OVERLAY_STROKE


def glyph_close(m, c=17.0, half=4.6, stroke=GLYPH_STROKE):
    m.line([(c - half, c - half), (c + half, c + half)], stroke)
    m.line([(c + half, c - half), (c - half, c + half)], stroke)


def glyph_minimize(m, c=17.0, half=5.2, stroke=GLYPH_STROKE):
    m.line([(c - half, c + 0.2), (c + half, c + 0.2)], stroke)


def glyph_gear(m, c=17.0):
    """A toothed ring around a small ring: light enough to sit beside the X and the dash."""
    for k in range(8):
        a = k * 45 + 22.5
        ux, uy = math.cos(math.radians(a)), math.sin(math.radians(a))
        vx, vy = -uy, ux
        r0, r1, w0, w1 = 4.8, 7.7, 1.6, 1.2
        m.polygon([(c + ux * r0 + vx * w0, c + uy * r0 + vy * w0),
                   (c + ux * r1 + vx * w1, c + uy * r1 + vy * w1),
                   (c + ux * r1 - vx * w1, c + uy * r1 - vy * w1),
                   (c + ux * r0 - vx * w0, c + uy * r0 - vy * w0)])
    m.circle(c, c, 5.9)
    m.circle(c, c, 4.3, ink=0)
    m.ring(c, c, 1.8, 1.4)


def arrowhead(m, cx, cy, r, a, size=2.4, clockwise=True):
    """A filled arrow tip at angle a on the circle (cx, cy, r), pointing along it."""
    x, y = polar(cx, cy, r, a)
    s = 1 if clockwise else -1
    tx, ty = -math.sin(math.radians(a)) * s, math.cos(math.radians(a)) * s
    nx, ny = math.cos(math.radians(a)), math.sin(math.radians(a))
    m.polygon([(x + tx * size * 1.05, y + ty * size * 1.05),
               (x - tx * size * 0.35 + nx * size, y - ty * size * 0.35 + ny * size),
               (x - tx * size * 0.35 - nx * size, y - ty * size * 0.35 - ny * size)])


def glyph_refresh(m):
    m.arc(8, 8.3, 5.3, 30, 288, ICON_STROKE)
    arrowhead(m, 8, 8.3, 5.3, 292, size=2.9)


def glyph_reset(m):
    m.arc(8, 8, 5.4, 195, 300, ICON_STROKE)
    arrowhead(m, 8, 8, 5.4, 306, size=2.7)
    m.arc(8, 8, 5.4, 15, 120, ICON_STROKE)
    arrowhead(m, 8, 8, 5.4, 126, size=2.7)


def glyph_back(m):
    m.line([(10.0, 3.5), (5.5, 8.0), (10.0, 12.5)], 1.7)


def glyph_chevron_down(m):
    m.line([(4.0, 6.0), (8.0, 10.0), (12.0, 6.0)], ICON_STROKE)


def glyph_chevron_up(m):
    m.line([(4.0, 10.0), (8.0, 6.0), (12.0, 10.0)], ICON_STROKE)


def glyph_flip_vertical(m):
    # A dashed mirror axis with an outlined shape above and its filled image below.
    x = 2.0
    while x < 20.0:
        m.line([(x, 11.0), (min(x + 2.2, 20.0), 11.0)], 1.2, caps=False)
        x += 3.6
    m.line([(11.0, 2.6), (17.0, 8.4), (5.0, 8.4), (11.0, 2.6)], 1.5)
    m.polygon([(11.0, 19.6), (17.6, 13.4), (4.4, 13.4)])


def glyph_flip_horizontal(m):
    tmp = Mask(m.w, m.h)
    glyph_flip_vertical(tmp)
    m.paste(tmp.rotated(90))


def glyph_phone_portrait(m):
    m.rrect_outline(6.2, 1.8, 15.8, 20.2, 2.4, OVERLAY_STROKE)
    m.line([(9.8, 4.6), (12.2, 4.6)], 1.1)
    m.circle(11.0, 17.2, 1.0)


def glyph_phone_landscape(m):
    tmp = Mask(m.w, m.h)
    glyph_phone_portrait(tmp)
    m.paste(tmp.rotated(90))


def glyph_link(m, w=18, h=18, apart=0.0):
    """Two chain links at 45 degrees; apart > 0 pulls them away from each other."""
    tmp = Mask(w, h)
    cy = h / 2
    for x0 in (2.2 - apart, 7.8 + apart):
        tmp.rrect_outline(x0, cy - 2.9, x0 + 8.0, cy + 2.9, 2.9, 1.6)
    m.paste(tmp.rotated(45))


def glyph_power(m):
    m.arc(9, 9.6, 5.9, -52, 232, 1.7)
    m.line([(9.0, 2.2), (9.0, 8.6)], 1.7)


def glyph_check(m):
    m.line([(9.0, 18.6), (15.2, 24.8), (27.2, 12.2)], 3.2)


def glyph_adjust(m):
    m.line([(5.5, 18.0), (30.5, 18.0)], 2.2)
    m.circle(21.5, 18.0, 5.2)
    m.circle(21.5, 18.0, 2.8, ink=0)


def glyph_pencil(m):
    tmp = Mask(m.w, m.h)
    y0, y1 = 14.8, 21.2
    tmp.rect(11.0, y0, 23.4, y1)
    tmp.polygon([(11.2, y0), (11.2, y1), (5.0, 18.0)])
    tmp.polygon([(7.2, 16.85), (7.2, 19.15), (5.0, 18.0)], ink=0)
    tmp.polygon([(6.6, 16.4), (6.6, 19.6), (3.6, 18.0)])
    tmp.rrect(25.0, y0, 30.4, y1, 1.6)
    tmp.rect(25.0, y0, 27.0, y1)
    m.paste(tmp.rotated(45))


def camera_glyph(m, x, y, s, cut=True):
    """A camera body in the box (x, y, s): body, viewfinder bump, lens ring."""
    m.rrect(x + s * 0.16, y + s * 0.32, x + s * 0.84, y + s * 0.78, s * 0.08)
    m.rrect(x + s * 0.34, y + s * 0.22, x + s * 0.58, y + s * 0.36, s * 0.04)
    if cut:
        cx, cy, lr = x + s * 0.5, y + s * 0.55, s * 0.17
        m.circle(cx, cy, lr, ink=0)
        m.circle(cx, cy, lr * 0.62)
        m.circle(x + s * 0.72, y + s * 0.41, s * 0.035, ink=0)
