#!/usr/bin/python3
"""Draws every picture of the program from code, so a colour or a shape can be
changed here and everything rebuilt in one go.

Writes (paths relative to the repository root):
  resources/png/<id>_<name>.png   the PNG resources, RGBA with per-pixel alpha
  resources/pictures.rc           one `<id> PNG "png/<file>"` line per picture
  resources/picture_ids.h         the IDB_* names of the resource ids
  resources/png/README.md         the list of pictures (id, file, size, meaning)
  resources/res/default.png       idle preview picture (727 x 522)
  resources/res/default_v.jpg     help: picking the portrait virtual camera
  resources/res/default_h.jpg     help: picking the landscape virtual camera
  resources/app.ico               the program icon (16 to 256 px)

Usage (Debian's python3 with python3-pil):
  /usr/bin/python3 scripts/pictures/make_pictures.py           regenerate everything
  /usr/bin/python3 scripts/pictures/make_pictures.py --sheet   also write build/pictures-contact-sheet.png
  /usr/bin/python3 scripts/pictures/make_pictures.py --check   exit 1 if a committed file is stale
"""
import argparse
import filecmp
import math
import os
import sys
import tempfile
from dataclasses import dataclass
from typing import Callable

from PIL import Image

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from draw import Mask, darken, gradient, gradient_layer, layer, lighten, mix, polar, shadow, stack  # noqa: E402

# =============================================================================
# The look: every colour and the main shape constants in one place.
# =============================================================================
PINK = (231, 89, 137)            # the accent (selected tabs, slider fill, links)
PINK_HOT = (250, 108, 156)       # accent under the pointer (hot text colour)
PINK_PRESSED = (214, 82, 126)    # accent while pressed (pressed text colour)
PURPLE = (137, 88, 232)          # second accent: far end of the accent gradients
ACCENT_END = mix(PINK, PURPLE, 0.45)

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
TEXT_DARK = (51, 51, 51)         # titles
TEXT_SOFT = (151, 151, 153)      # secondary lines (0x979799)
LINE = (224, 224, 224)           # hairlines and outlines (0xE0E0E0)

GLYPH = (138, 138, 138)          # title-bar glyphs at rest
GLYPH_HOT = (70, 70, 70)
GLYPH_PRESSED = (40, 40, 40)
PLATE_HOT = (239, 239, 239)      # round plate behind a title glyph under the pointer
PLATE_PRESSED = (224, 224, 224)

REFRESH_GREY = (114, 114, 114)   # refresh icon, as its label 0x727272
REFRESH_HOT = (231, 89, 136)     # label 0x8859E7
REFRESH_PRESSED = (213, 82, 125)  # label 0x7D52D5
PAGE_GREY = (128, 128, 128)      # back / reset icons, as their labels

DISCONNECT_FILL = (255, 255, 255)
DISCONNECT_BORDER = (212, 212, 212)
DISCONNECT_HOT_FILL = (255, 243, 247)
DISCONNECT_PRESSED_FILL = (251, 229, 237)
DISCONNECT_GLYPH = (89, 89, 89)  # as the connected label 0x595959

COMBO_ARROW = (150, 150, 150)
SCROLL_THUMB = (210, 210, 210)
SCROLL_THUMB_HOT = (168, 168, 168)

OVERLAY_SHADOW = 0.55            # opacity of the soft shadow under icons drawn on video

TITLE_PLATE_RADIUS = 7           # rounded plate behind the title-bar glyphs
BUTTON_RADIUS = 4                # connect button faces, same as the window corners
GLYPH_STROKE = 1.6               # title-bar glyphs
ICON_STROKE = 1.5                # 16 px icons
OVERLAY_STROKE = 1.7             # 22 px icons over the video

# Sizes the program relies on (pixels).
TITLE_BUTTON = (34, 34)
CONNECT_FACE = (96, 36)
DISCONNECT_FACE = (95, 36)
CONNECT_ICON = (18, 18)
SMALL_ICON = (16, 16)
OVERLAY_ICON = (22, 22)
ITEM_TILE = (68, 68)
ITEM_MARK = (36, 36)
SLIDER_THUMB = (18, 18)
SCROLL_THUMB_SIZE = (10, 18)     # nine-grid splits (3, 3, 4, 14): rows 4..13 fixed
LOGO_BAND = (208, 68)
ABOUT_TITLE = (166, 28)
ABOUT_SUBTITLE = (132, 14)
ABOUT_ICON = (68, 68)
PREVIEW = (727, 522)
HELP_PICTURE = (727, 522)

APP_NAME = "Vela直播助手"
APP_TAGLINE = "把手机变成直播摄像头"
CAMERA_PORTRAIT = "Vela直播助手（竖屏）"
CAMERA_LANDSCAPE = "Vela直播助手（横屏）"

NORMAL, HOT, PRESSED = "normal", "hot", "pressed"


# =============================================================================
# Glyphs (drawn into a coverage mask)
# =============================================================================
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


# =============================================================================
# Pictures
# =============================================================================
def title_button(glyph, state, accent=False):
    """34 x 34 title-bar button: a glyph, with a rounded plate when hot or pressed."""
    size = TITLE_BUTTON
    plate = Mask(*size)
    plate.rrect(2.5, 2.5, 31.5, 31.5, TITLE_PLATE_RADIUS)
    g = Mask(*size)
    glyph(g)
    if state == NORMAL:
        return stack(size, layer(g, GLYPH))
    if accent:
        fill = PINK if state == HOT else PINK_PRESSED
        return stack(size, layer(plate, fill), layer(g, WHITE))
    fill, ink = (PLATE_HOT, GLYPH_HOT) if state == HOT else (PLATE_PRESSED, GLYPH_PRESSED)
    return stack(size, layer(plate, fill), layer(g, ink))


def connect_face(state):
    """96 x 36 face of the connect button: the accent gradient."""
    size = CONNECT_FACE
    m = Mask(*size)
    m.rrect(0, 0, size[0], size[1], BUTTON_RADIUS)
    c0, c1 = PINK, ACCENT_END
    if state == HOT:
        c0, c1 = lighten(c0, 0.18), lighten(c1, 0.18)
    elif state == PRESSED:
        c0, c1 = darken(c0, 0.14), darken(c1, 0.14)
    top = Mask(*size)  # a faint light edge along the top
    top.rrect(0, 0, size[0], size[1], BUTTON_RADIUS)
    top.rrect(0, 1, size[0], size[1] + 4, BUTTON_RADIUS, ink=0)
    return stack(size, gradient_layer(m, c0, c1), layer(top, WHITE, 0.18 if state != PRESSED else 0.0))


def disconnect_face(state):
    """95 x 36 face of the button while connected: white, outlined."""
    size = DISCONNECT_FACE
    outer, inner = Mask(*size), Mask(*size)
    outer.rrect(0, 0, size[0], size[1], BUTTON_RADIUS)
    inner.rrect(1, 1, size[0] - 1, size[1] - 1, BUTTON_RADIUS - 1)
    border, fill = {
        NORMAL: (DISCONNECT_BORDER, DISCONNECT_FILL),
        HOT: (PINK_HOT, DISCONNECT_HOT_FILL),
        PRESSED: (PINK_PRESSED, DISCONNECT_PRESSED_FILL),
    }[state]
    return stack(size, layer(outer, border), layer(inner, fill))


def spinner():
    """18 x 18 white ring with a fading tail; turned about its centre while connecting."""
    size = CONNECT_ICON
    m = Mask(*size)
    steps, span, start = 72, 300.0, -90.0
    for i in range(steps):
        a0 = start + span * i / steps
        a1 = start + span * (i + 1) / steps + 0.6
        ink = round(255 * ((i + 1) / steps) ** 1.4)
        m.arc(9, 9, 6.4, a0, a1, 2.0, ink=ink, caps=False)
    x, y = polar(9, 9, 6.4, start + span)
    m.circle(x, y, 1.0)
    return stack(size, layer(m, WHITE))


def icon(size, glyph, colour, shadow_alpha=0.0):
    m = Mask(*size)
    glyph(m)
    cover = m.reduce()
    under = shadow(cover, blur=0.9, dy=0.6, alpha=shadow_alpha) if shadow_alpha > 0 else None
    return stack(size, under, layer(cover, colour))


def state_colour(state, normal, hot, pressed):
    return {NORMAL: normal, HOT: hot, PRESSED: pressed}[state]


def overlay_icon(glyph, state):
    colour = state_colour(state, WHITE, PINK_HOT, PINK_PRESSED)
    return icon(OVERLAY_ICON, glyph, colour, OVERLAY_SHADOW)


def scroll_thumb(state):
    size = SCROLL_THUMB_SIZE
    m = Mask(*size)
    m.rrect(2, 0, 8, size[1], 3)
    return stack(size, layer(m, state_colour(state, SCROLL_THUMB, SCROLL_THUMB_HOT, PINK)))


def slider_thumb():
    size = SLIDER_THUMB
    disc, ring = Mask(*size), Mask(*size)
    disc.circle(9, 9, 7.0)
    ring.ring(9, 9, 6.0, 2.0)
    return stack(size, shadow(disc, blur=1.0, dy=0.7, alpha=0.30), layer(disc, WHITE), layer(ring, PINK))


def ring_mask():
    """White square with a transparent disc: turns a square tile into a round one."""
    m = Mask(*ITEM_TILE)
    m.rect(0, 0, *ITEM_TILE)
    m.circle(34, 34, 34, ink=0)
    return stack(ITEM_TILE, layer(m, WHITE))


def selected_frame():
    m = Mask(*ITEM_TILE)
    m.rrect_outline(0, 0, 68, 68, 7, 2.0)
    return stack(ITEM_TILE, layer(m, PINK))


def white_mark(glyph):
    m = Mask(*ITEM_MARK)
    glyph(m)
    cover = m.reduce()
    return stack(ITEM_MARK, shadow(cover, blur=1.2, dy=0.6, alpha=0.18), layer(cover, WHITE))


def app_icon(size):
    """The program's mark: a pink camera on a white rounded tile with a pink edge."""
    s = size
    tile, edge, cam = Mask(s, s), Mask(s, s), Mask(s, s)
    tile.rrect(0, 0, s, s, s * 0.2)
    edge.rrect_outline(0, 0, s, s, s * 0.2, max(1.0, s / 32))
    camera_glyph(cam, 0, 0, s)
    return stack((s, s), layer(tile, WHITE), layer(edge, PINK), gradient_layer(cam, PINK, ACCENT_END, diagonal=True))


def logo_band():
    """208 x 68 band at the top left of the main window: mark and name."""
    size = LOGO_BAND
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    mark = app_icon(38)
    out.alpha_composite(mark, (16, 15))
    t = Mask(*size)
    t.text(64, 34.5, APP_NAME, 18, anchor="lm", bold=0.25)
    return stack(size, out, layer(t, TEXT_DARK))


def about_title():
    t = Mask(*ABOUT_TITLE)
    t.text(ABOUT_TITLE[0] / 2, ABOUT_TITLE[1] / 2 + 0.5, APP_NAME, 22, anchor="mm", bold=0.35)
    return stack(ABOUT_TITLE, gradient_layer(t, PINK, ACCENT_END))


def about_subtitle():
    t = Mask(*ABOUT_SUBTITLE)
    t.text(ABOUT_SUBTITLE[0] / 2, ABOUT_SUBTITLE[1] / 2, APP_TAGLINE, 12, anchor="mm")
    return stack(ABOUT_SUBTITLE, layer(t, TEXT_SOFT))


# =============================================================================
# The table of PNG resources
# =============================================================================
@dataclass
class Picture:
    id: int
    name: str        # file name part and IDB_ name
    make: Callable[[], Image.Image]
    meaning: str

    @property
    def file(self):
        return f"{self.id}_{self.name}.png"

    @property
    def macro(self):
        return "IDB_" + self.name.upper()


def states(first_id_by_state, name, maker, meaning):
    return [Picture(i, f"{name}_{st}", (lambda st=st: maker(st)), f"{meaning}, {st}")
            for st, i in first_id_by_state.items()]


PICTURES = [
    Picture(207, "slider_thumb", slider_thumb, "slider thumb (panel parameter rows)"),
    Picture(210, "item_ring_mask", ring_mask, "round tile mask: white square, transparent disc"),
    Picture(211, "item_selected_frame", selected_frame, "pink rounded-square outline of a selected decoration"),
    Picture(212, "item_mark_check", lambda: white_mark(glyph_check), "white check mark on a selected filter"),
    Picture(213, "item_mark_adjust", lambda: white_mark(glyph_adjust), "white slider line and knob on a selected filter"),
    *states({NORMAL: 214, HOT: 215, PRESSED: 216}, "page_back",
            lambda st: icon(SMALL_ICON, glyph_back, state_colour(st, PAGE_GREY, PINK_HOT, PINK_PRESSED)),
            "back arrow of an adjustment page"),
    *states({NORMAL: 217, HOT: 218, PRESSED: 219}, "page_reset",
            lambda st: icon(SMALL_ICON, glyph_reset, state_colour(st, PAGE_GREY, PINK_HOT, PINK_PRESSED)),
            "circular arrows of the reset button"),
    Picture(220, "item_mark_edit", lambda: white_mark(glyph_pencil), "white pencil on a selected round tile"),
    *states({HOT: 221, PRESSED: 222, NORMAL: 223}, "scroll_thumb", scroll_thumb, "thin scroll-bar thumb (panel lists)"),
    Picture(224, "logo_band", logo_band, "logo band at the top left of the main window"),
    *states({HOT: 225, PRESSED: 226, NORMAL: 227}, "connect", connect_face, "connect button face, idle and connecting"),
    *states({HOT: 228, PRESSED: 229, NORMAL: 230}, "close",
            lambda st: title_button(glyph_close, st, accent=True), "close button (main window, settings, busy overlay)"),
    *states({NORMAL: 231, HOT: 232, PRESSED: 233}, "minimize",
            lambda st: title_button(glyph_minimize, st), "minimise button"),
    *states({HOT: 234, PRESSED: 235, NORMAL: 236}, "disconnect", disconnect_face, "connect button face while connected"),
    Picture(237, "combo_open_normal", lambda: icon(SMALL_ICON, glyph_chevron_up, PINK), "combo arrow, list open"),
    Picture(238, "combo_open_hot", lambda: icon(SMALL_ICON, glyph_chevron_up, darken(PINK, 0.2)),
            "combo arrow, list open, hot or pressed"),
    Picture(239, "combo_closed_hot", lambda: icon(SMALL_ICON, glyph_chevron_down, PINK),
            "combo arrow, list closed, hot or pressed"),
    Picture(240, "combo_closed_normal", lambda: icon(SMALL_ICON, glyph_chevron_down, COMBO_ARROW),
            "combo arrow, list closed"),
    *states({HOT: 241, PRESSED: 242, NORMAL: 243}, "refresh",
            lambda st: icon(SMALL_ICON, glyph_refresh, state_colour(st, REFRESH_GREY, REFRESH_HOT, REFRESH_PRESSED)),
            "refresh-devices icon"),
    *states({NORMAL: 244, HOT: 245, PRESSED: 246}, "flip_vertical",
            lambda st: overlay_icon(glyph_flip_vertical, st), "vertical flip icon over the video"),
    *states({HOT: 247, PRESSED: 248, NORMAL: 249}, "mode_landscape",
            lambda st: overlay_icon(glyph_phone_landscape, st), "mode icon while portrait: switch to landscape"),
    *states({NORMAL: 250, HOT: 251, PRESSED: 252}, "mode_portrait",
            lambda st: overlay_icon(glyph_phone_portrait, st), "mode icon while landscape: switch to portrait"),
    *states({NORMAL: 253, HOT: 254, PRESSED: 255}, "flip_horizontal",
            lambda st: overlay_icon(glyph_flip_horizontal, st), "horizontal mirror icon over the video"),
    Picture(256, "about_title", about_title, "program name in the settings dialog"),
    Picture(257, "about_subtitle", about_subtitle, "tagline in the settings dialog"),
    *states({HOT: 261, PRESSED: 262, NORMAL: 263}, "settings",
            lambda st: title_button(glyph_gear, st), "settings button"),
    Picture(264, "connect_spinner", spinner, "connect button icon while connecting (turns)"),
    Picture(265, "disconnect_icon", lambda: icon(CONNECT_ICON, glyph_power, DISCONNECT_GLYPH),
            "connect button icon while connected (power glyph)"),
    Picture(266, "connect_icon", lambda: icon(CONNECT_ICON, glyph_link, WHITE), "connect button icon at rest (link glyph)"),
    Picture(267, "about_icon", lambda: app_icon(ABOUT_ICON[0]), "program mark in the settings dialog"),
]


# =============================================================================
# The large pictures beside the program (res\)
# =============================================================================
def glow(size, cx, cy, r, rgb, alpha):
    m = Image.new("L", size, 0)
    from PIL import ImageDraw, ImageFilter
    ImageDraw.Draw(m).ellipse([cx - r, cy - r, cx + r, cy + r], fill=255)
    m = m.filter(ImageFilter.GaussianBlur(r * 0.6))
    return layer(m, rgb, alpha)


def bezier(p0, p1, p2, p3, n=80):
    pts = []
    for i in range(n + 1):
        t = i / n
        u = 1 - t
        pts.append((u ** 3 * p0[0] + 3 * u * u * t * p1[0] + 3 * u * t * t * p2[0] + t ** 3 * p3[0],
                    u ** 3 * p0[1] + 3 * u * u * t * p1[1] + 3 * u * t * t * p2[1] + t ** 3 * p3[1]))
    return pts


def text_width(txt, size):
    from PIL import ImageFont
    from draw import FONT_PATH
    return ImageFont.truetype(FONT_PATH, size * 4).getlength(txt) / 4


def idle_preview():
    """The preview's picture while no phone picture is shown. The link to the
    help page is the band (200, 400) - (527, 502) of this picture."""
    w, h = PREVIEW
    size = PREVIEW
    bg = gradient(size, (40, 37, 47), (17, 16, 21), horizontal=False).convert("RGBA")
    layers = [bg, glow(size, 190, 140, 210, PINK, 0.13), glow(size, 560, 360, 230, PURPLE, 0.12)]

    ink = (236, 236, 242)
    # Phone, cable, computer.
    phone, phone_screen, phone_cam = Mask(w, h), Mask(w, h), Mask(w, h)
    phone.rrect_outline(222, 64, 298, 210, 13, 3.0)
    phone.line([(252, 74), (268, 74)], 2.5)
    phone_screen.rrect(230, 84, 290, 194, 5)
    camera_glyph(phone_cam, 239, 118, 42)
    screen, monitor, live = Mask(w, h), Mask(w, h), Mask(w, h)
    monitor.rrect_outline(400, 70, 572, 184, 9, 3.0)
    monitor.line([(486, 185), (486, 204)], 3.0)
    monitor.line([(456, 206), (516, 206)], 3.0)
    screen.rrect(408, 78, 564, 176, 5)
    live.rrect(418, 88, 458, 104, 4)
    live_text = Mask(w, h)
    live_text.text(438, 96.5, "LIVE", 10, anchor="mm", bold=0.2)
    person = Mask(w, h)
    person.circle(486, 118, 13)
    person.rrect(462, 136, 510, 176, 18)
    cable = Mask(w, h)
    curve = bezier((298, 150), (346, 150), (352, 128), (400, 128))
    cable.line(curve, 3.0)
    dots = Mask(w, h)
    for t in (0.28, 0.5, 0.72):
        x, y = curve[round(t * (len(curve) - 1))]
        dots.circle(x, y, 4.2)
    drawing = stack(size,
                    gradient_layer(phone_screen, PINK, ACCENT_END, diagonal=True), layer(phone_cam, WHITE, 0.92),
                    layer(phone, ink),
                    gradient_layer(screen, (58, 52, 72), (34, 31, 44), diagonal=True),
                    gradient_layer(person, lighten(PINK, 0.2), ACCENT_END, horizontal=False),
                    layer(live, PINK), layer(live_text, WHITE),
                    layer(monitor, ink), layer(cable, PINK), layer(dots, WHITE))
    lowered = Image.new("RGBA", size, (0, 0, 0, 0))
    lowered.paste(drawing, (0, 18))
    layers.append(lowered)

    text = Mask(w, h)
    text.text(w / 2, 282, "用USB数据线连接手机和电脑", 24, anchor="mm", bold=0.3)
    layers.append(layer(text, WHITE))

    steps = ["连接USB数据线", "手机打开Vela相机，进入直播模式", "点击右下角「马上连接」"]
    chips, numbers, labels = Mask(w, h), Mask(w, h), Mask(w, h)
    widths = [22 + 8 + text_width(s, 14) for s in steps]
    gap = 34
    x = (w - sum(widths) - gap * (len(steps) - 1)) / 2
    for i, (s, sw) in enumerate(zip(steps, widths)):
        chips.circle(x + 11, 338, 11)
        numbers.text(x + 11, 338.5, str(i + 1), 13, anchor="mm", bold=0.3)
        labels.text(x + 30, 338.5, s, 14, anchor="lm")
        x += sw + gap
    layers += [layer(chips, PINK), layer(numbers, WHITE), layer(labels, (206, 204, 214))]

    # The help link: a pill inside the clickable band.
    pill, pill_text, note = Mask(w, h), Mask(w, h), Mask(w, h)
    pill.rrect_outline(w / 2 - 118, 420, w / 2 + 118, 458, 19, 1.5)
    pill_text.text(w / 2 - 6, 439.5, "连接遇到问题？查看帮助", 15, anchor="mm")
    pill_text.line([(w / 2 + 80, 434.5), (w / 2 + 85, 439.5), (w / 2 + 80, 444.5)], 1.6)
    note.text(w / 2, 482, "连接后，在直播软件中选择摄像头「" + CAMERA_LANDSCAPE + "」或「" + CAMERA_PORTRAIT + "」",
              12, anchor="mm")
    layers += [layer(pill, PINK_HOT), layer(pill_text, PINK_HOT), layer(note, (150, 148, 162))]
    return stack(size, *layers).convert("RGB")


def camera_help(portrait):
    """Help picture: how to pick the portrait or the landscape virtual camera
    in streaming software (a generic add-camera panel, not any real product)."""
    w, h = HELP_PICTURE
    size = HELP_PICTURE
    chosen = CAMERA_PORTRAIT if portrait else CAMERA_LANDSCAPE
    mode = "竖屏" if portrait else "横屏"
    layers = [gradient(size, (255, 255, 255), (247, 244, 250), horizontal=False).convert("RGBA")]

    title, bar = Mask(w, h), Mask(w, h)
    title.text(40, 46, "在直播软件中选择摄像头「" + chosen + "」", 22, anchor="lm", bold=0.3)
    bar.rrect(40, 66, 76, 70, 2)
    layers += [layer(title, TEXT_DARK), gradient_layer(bar, PINK, ACCENT_END)]

    # A generic "add camera" panel with the device list open.
    card = Mask(w, h)
    card.rrect(40, 96, 400, 392, 8)
    card_edge = Mask(w, h)
    card_edge.rrect_outline(40, 96, 400, 392, 8, 1.0)
    sep = Mask(w, h)
    sep.rect(40, 136, 400, 137)
    head, label = Mask(w, h), Mask(w, h)
    head.text(60, 117, "添加视频来源", 15, anchor="lm", bold=0.2)
    label.text(60, 162, "摄像头设备", 13, anchor="lm")
    field, field_fill = Mask(w, h), Mask(w, h)
    field.rrect(60, 176, 380, 212, 3)
    field_fill.rrect(61, 177, 379, 211, 2)
    field_text = Mask(w, h)
    field_text.text(76, 194.5, chosen, 14, anchor="lm")
    arrow = Mask(w, h)
    arrow.line([(356, 191), (361, 196), (366, 191)], 1.6)
    layers += [shadow(card, blur=6, dy=3, alpha=0.12), layer(card, WHITE), layer(card_edge, LINE),
               layer(sep, LINE), layer(head, TEXT_DARK), layer(label, (120, 120, 128)),
               layer(field, PINK), layer(field_fill, WHITE), layer(field_text, TEXT_DARK), layer(arrow, PINK)]

    rows = ["USB 摄像头", CAMERA_LANDSCAPE, CAMERA_PORTRAIT]
    pick = rows.index(chosen)
    top = 211
    lst, lst_fill, hi, row_text, row_hi_text, check = (Mask(w, h) for _ in range(6))
    lst.rrect(60, top, 380, top + 46 * len(rows) + 1, 3)
    lst_fill.rrect(61, top + 1, 379, top + 46 * len(rows), 2)
    for i, r in enumerate(rows):
        y = top + 1 + 46 * i
        if i == pick:
            hi.rect(61, y, 379, y + 46)
            row_hi_text.text(76, y + 23.5, r, 14, anchor="lm", bold=0.15)
            check.line([(348, y + 23), (353, y + 28), (362, y + 18)], 2.0)
        else:
            row_text.text(76, y + 23.5, r, 14, anchor="lm")
    cursor = Mask(w, h)
    cx, cy = 262, top + 1 + 46 * pick + 26
    arrow_pts = [(cx, cy), (cx, cy + 17), (cx + 4.5, cy + 13), (cx + 8, cy + 20.5), (cx + 10.5, cy + 19.3),
                 (cx + 7, cy + 12), (cx + 12.5, cy + 12)]
    cursor.polygon(arrow_pts)
    cursor_edge = Mask(w, h)
    cursor_edge.line(arrow_pts + [arrow_pts[0]], 1.4)
    layers += [shadow(lst, blur=4, dy=2, alpha=0.14), layer(lst, LINE), layer(lst_fill, WHITE),
               layer(hi, (253, 236, 242)), layer(row_text, (90, 90, 96)), layer(row_hi_text, PINK),
               layer(check, PINK), layer(cursor_edge, WHITE), layer(cursor, (30, 30, 34))]

    # The picture the camera delivers, in its orientation.
    if portrait:
        fw, fh = 162, 288
    else:
        fw, fh = 256, 144
    fx = 440 + (250 - fw) / 2
    fy = 96 + (288 - fh) / 2
    frame, person, badge, badge_text, caption = (Mask(w, h) for _ in range(5))
    frame.rrect(fx, fy, fx + fw, fy + fh, 8)
    pcx, head_r = fx + fw / 2, min(fw, fh) * 0.13
    pcy = fy + fh * (0.42 if portrait else 0.40)
    person.circle(pcx, pcy, head_r)
    person.rrect(pcx - head_r * 2.1, pcy + head_r * 1.35, pcx + head_r * 2.1, fy + fh + head_r * 2, head_r * 1.6)
    frame_cut = Mask(w, h)
    frame_cut.rrect(fx, fy, fx + fw, fy + fh, 8)
    person_img = person.reduce()
    from PIL import ImageChops
    person_img = ImageChops.multiply(person_img, frame_cut.reduce())
    badge.rrect(fx + 10, fy + 10, fx + 50, fy + 26, 4)
    badge_text.text(fx + 30, fy + 18.5, "LIVE", 10, anchor="mm", bold=0.2)
    caption.text(fx + fw / 2, fy + fh + 24, mode + "画面 " + ("720×1280" if portrait else "1280×720"), 13, anchor="mm")
    layers += [shadow(frame, blur=6, dy=3, alpha=0.16),
               gradient_layer(frame, lighten(PINK, 0.35), lighten(PURPLE, 0.35), diagonal=True),
               layer(person_img, WHITE, 0.9), layer(badge, PINK), layer(badge_text, WHITE),
               layer(caption, (120, 120, 128))]

    steps = [
        "在直播软件中添加「摄像头」或「视频采集设备」来源",
        "在设备列表中选择「" + chosen + "」",
        "在" + APP_NAME + "中切换到" + mode + "模式，手机画面即以" + mode + "输出",
    ]
    nums, num_text, step_text = Mask(w, h), Mask(w, h), Mask(w, h)
    for i, s in enumerate(steps):
        y = 440 + 28 * i
        nums.circle(51, y, 10)
        num_text.text(51, y + 0.5, str(i + 1), 12, anchor="mm", bold=0.3)
        step_text.text(70, y + 0.5, s, 15, anchor="lm")
    layers += [gradient_layer(nums, PINK, ACCENT_END), layer(num_text, WHITE), layer(step_text, (70, 70, 78))]
    return stack(size, *layers).convert("RGB")


# =============================================================================
# Output
# =============================================================================
RC_HEADER = """// PNG pictures of the program file. Generated by scripts/pictures/make_pictures.py;
// edit the generator, not this file.
"""

IDS_HEADER = """// Resource ids of the program's PNG pictures (resource type "PNG"), for
// LoadPngResource. Generated by scripts/pictures/make_pictures.py; edit the
// generator, not this file. Button pictures come in the looks normal, hot
// (pointer over it) and pressed; the disabled look reuses the normal picture.
#pragma once
"""


def write_text(path, text):
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)


def generate(root):
    res = os.path.join(root, "resources")
    png_dir = os.path.join(res, "png")
    os.makedirs(png_dir, exist_ok=True)
    os.makedirs(os.path.join(res, "res"), exist_ok=True)
    wanted = set()
    for p in PICTURES:
        img = p.make()
        assert img.mode == "RGBA", p.name
        img.save(os.path.join(png_dir, p.file), format="PNG")
        wanted.add(p.file)
    for f in os.listdir(png_dir):  # drop pictures that left the table
        if f.endswith(".png") and f not in wanted:
            os.remove(os.path.join(png_dir, f))

    lines = [RC_HEADER, '#include "picture_ids.h"\n\n']
    lines += [f'{p.macro} PNG "png/{p.file}"\n' for p in PICTURES]
    write_text(os.path.join(res, "pictures.rc"), "".join(lines))

    width = max(len(p.macro) for p in PICTURES) + 1
    ids = [IDS_HEADER, "\n"]
    ids += [f"#define {p.macro:<{width}} {p.id}  // {p.meaning}\n" for p in PICTURES]
    write_text(os.path.join(res, "picture_ids.h"), "".join(ids))

    rows = ["# The program's PNG pictures\n\n",
            "Drawn by `scripts/pictures/make_pictures.py` (colours and shapes at the top of that file).\n",
            "Regenerate everything, then rebuild (the resource script picks the files up):\n\n",
            "    /usr/bin/python3 scripts/pictures/make_pictures.py [--sheet]\n\n",
            "`--sheet` also writes `build/pictures-contact-sheet.png` (every picture at 1:1 and magnified,\n",
            "and a mock of the main window). The disabled look of a button reuses its normal picture.\n\n",
            "| id | name | file | size | meaning |\n|---|---|---|---|---|\n"]
    for p in PICTURES:
        w, h = Image.open(os.path.join(png_dir, p.file)).size
        rows.append(f"| {p.id} | `{p.macro}` | {p.file} | {w} x {h} | {p.meaning} |\n")
    rows.append("\nBeside the program (`res\\`, copied next to the executable by the build): "
                "`default.png` 727 x 522, the preview's idle picture (help link band (200, 400) - (527, 502)); "
                "`default_v.jpg` and `default_h.jpg` 727 x 522, how to pick the portrait and the landscape "
                "camera in streaming software.\n")
    write_text(os.path.join(png_dir, "README.md"), "".join(rows))

    idle_preview().save(os.path.join(res, "res", "default.png"), format="PNG")
    camera_help(True).save(os.path.join(res, "res", "default_v.jpg"), format="JPEG", quality=92)
    camera_help(False).save(os.path.join(res, "res", "default_h.jpg"), format="JPEG", quality=92)

    sizes = [16, 24, 32, 48, 64, 128, 256]
    icons = [app_icon(s) for s in sizes]
    icons[-1].save(os.path.join(res, "app.ico"), format="ICO", sizes=[(s, s) for s in sizes],
                   append_images=icons[:-1])


def contact_sheet(root, out_path):
    """Every PNG resource at 1:1 and magnified (on white, on a checkerboard, or on
    dark grey for the pictures drawn over video or on the accent), then the three
    large pictures at 1:1."""
    from PIL import ImageDraw, ImageFont
    from draw import FONT_PATH
    font = ImageFont.truetype(FONT_PATH, 12)
    png_dir = os.path.join(root, "resources", "png")
    sheet_w, pad = 1480, 10
    placed, x, y, row_h = [], pad, pad, 0
    for p in PICTURES:
        img = Image.open(os.path.join(png_dir, p.file)).convert("RGBA")
        zoom = 4 if img.width <= 40 else 2
        big = img.resize((img.width * zoom, img.height * zoom), Image.NEAREST)
        dark = 244 <= p.id <= 255 or p.id in (212, 213, 220, 264, 266)
        w = max(img.width + 16 + big.width, 150) + pad * 2
        h = 20 + max(img.height, big.height) + pad
        if x + w > sheet_w:
            x, y, row_h = pad, y + row_h, 0
        placed.append((p, img, big, dark, x, y))
        x += w
        row_h = max(row_h, h)
    y += row_h
    big_pics = [Image.open(os.path.join(root, "resources", "res", f)).convert("RGB")
                for f in ("default.png", "default_v.jpg", "default_h.jpg")]
    bx, by, brow, big_pos = pad, y + pad, 0, []
    for b in big_pics:
        if bx + b.width > sheet_w:
            bx, by, brow = pad, by + brow + pad, 0
        big_pos.append((b, bx, by))
        bx += b.width + pad
        brow = max(brow, b.height)
    sheet = Image.new("RGB", (sheet_w, by + brow + pad), (246, 246, 246))
    d = ImageDraw.Draw(sheet)
    for p, img, big, dark, x, y in placed:
        d.text((x, y), f"{p.id} {p.name} {img.width}x{img.height}", fill=(60, 60, 60), font=font)
        bg = (58, 60, 68) if dark else (255, 255, 255)
        one = Image.new("RGBA", img.size, bg + (255,))
        one.alpha_composite(img)
        sheet.paste(one.convert("RGB"), (x, y + 20))
        zoomed = Image.new("RGBA", big.size, bg + (255,))
        if not dark:
            cd = ImageDraw.Draw(zoomed)
            for yy in range(0, big.height, 8):
                for xx in range(0, big.width, 8):
                    if (xx // 8 + yy // 8) % 2:
                        cd.rectangle([xx, yy, xx + 7, yy + 7], fill=(222, 222, 222, 255))
        zoomed.alpha_composite(big)
        sheet.paste(zoomed.convert("RGB"), (x + img.width + 16, y + 20))
    for b, bx, by in big_pos:
        sheet.paste(b, (bx, by))
    mock = window_mock(root)
    full = Image.new("RGB", (sheet.width, sheet.height + mock.height + pad), (246, 246, 246))
    full.paste(sheet, (0, 0))
    full.paste(mock, (pad, sheet.height))
    sheet = full
    os.makedirs(os.path.dirname(out_path), exist_ok=True)
    sheet.save(out_path)


def window_mock(root):
    """The main window at rest, put together from the pictures as the program
    lays them out, to judge them in place (text drawn roughly as GDI would)."""
    from PIL import ImageDraw, ImageFont
    from draw import FONT_PATH
    png = os.path.join(root, "resources", "png")

    def pic(i):
        name = next(p.file for p in PICTURES if p.id == i)
        return Image.open(os.path.join(png, name)).convert("RGBA")

    def font(px):
        return ImageFont.truetype(FONT_PATH, px)

    win = Image.new("RGBA", (1080, 648), WHITE + (255,))
    d = ImageDraw.Draw(win)
    win.alpha_composite(pic(224), (1, 1))
    for x, i in ((685, 230), (645, 232), (605, 263)):
        win.alpha_composite(pic(i), (x, 8))
    idle = Image.open(os.path.join(root, "resources", "res", "default.png")).convert("RGBA")
    win.alpha_composite(idle, (1, 68))
    # device box, refresh, help link, connect
    d.rounded_rectangle([16, 602, 359, 637], radius=2, outline=LINE)
    d.text((32, 620), "未检测到设备", fill=BLACK, font=font(13), anchor="lm")
    win.alpha_composite(pic(240), (332 + (18 - 16) // 2, 602 + 10))
    win.alpha_composite(pic(243), (376, 612))
    d.text((376 + 16 + 6, 620), "更新设备", fill=REFRESH_GREY, font=font(12), anchor="lm")
    d.text((462, 620), "未检测到设备？", fill=REFRESH_HOT, font=font(12), anchor="lm")
    win.alpha_composite(pic(227), (622, 602))
    win.alpha_composite(pic(266), (622 + 13, 602 + 9))
    d.text((622 + 18 + 18, 620), "马上连接", fill=WHITE, font=font(12), anchor="lm")
    # connected looks to the right: face, overlay buttons on a dark strip
    win.alpha_composite(pic(236), (760, 602))
    win.alpha_composite(pic(265), (760 + 13, 602 + 9))
    d.text((760 + 36, 620), "断开连接", fill=DISCONNECT_GLYPH, font=font(12), anchor="lm")
    win.alpha_composite(pic(234), (870, 602))
    win.alpha_composite(pic(225), (970, 560))
    d.rectangle([740, 470, 1070, 540], fill=(90, 80, 70))
    for x, i, t in ((750, 244, "垂直翻转"), (850, 253, "水平翻转"), (950, 250, "竖屏模式")):
        win.alpha_composite(pic(i), (x, 484))
        d.text((x + 28, 495), t, fill=WHITE, font=font(12), anchor="lm")
    for x, i in ((750, 245), (790, 254), (830, 251)):
        win.alpha_composite(pic(i), (x, 512))
    # panel bits: tiles with marks, slider, scroll thumb
    tile = Image.new("RGBA", (68, 68), PINK + (229,))
    win.alpha_composite(tile, (760, 90))
    win.alpha_composite(pic(212), (760 + 16, 90 + 16))
    win.alpha_composite(tile, (850, 90))
    win.alpha_composite(pic(213), (850 + 16, 90 + 16))
    win.alpha_composite(pic(211), (940, 90))
    disc = Image.new("RGBA", (68, 68), (120, 160, 200, 255))
    win.alpha_composite(disc, (760, 180))
    dd = ImageDraw.Draw(win)
    dd.ellipse([760, 180, 827, 247], fill=(231, 89, 136, 204))
    win.alpha_composite(pic(220), (760 + 16, 180 + 16))
    win.alpha_composite(pic(210), (760, 180))
    d.rectangle([850, 290, 1070, 291], fill=LINE)
    d.rectangle([850, 290, 960, 291], fill=(232, 88, 137))
    win.alpha_composite(pic(207), (952, 282))
    win.alpha_composite(pic(214), (760, 300))
    d.text((780, 308), "返回", fill=PAGE_GREY, font=font(14), anchor="lm")
    win.alpha_composite(pic(218), (760, 330))
    d.text((780, 338), "重置参数", fill=PINK_HOT, font=font(12), anchor="lm")
    win.alpha_composite(pic(223), (1060, 100))
    win.alpha_composite(pic(221), (1045, 100))
    win.alpha_composite(pic(222), (1030, 100))
    d.rounded_rectangle([0, 0, 1079, 647], radius=4, outline=(173, 173, 173))
    # the settings dialog (460 x 330) over the window's lower right
    sx, sy = 610, 300
    d.rounded_rectangle([sx, sy, sx + 459, sy + 329], radius=4, fill=WHITE, outline=(224, 224, 224))
    ix = sx + (460 - 68) // 2
    win.alpha_composite(pic(267), (ix, sy + 72))
    win.alpha_composite(pic(256), (sx + (460 - 166) // 2, sy + 140 + 20))
    win.alpha_composite(pic(257), (sx + (460 - 132) // 2, sy + 140 + 58))
    win.alpha_composite(pic(230), (sx + 460 - 39, sy + 4))
    d.text((sx + 16, sy + 330 - 22), "检查更新", fill=(231, 89, 137), font=font(12), anchor="lm")
    d.text((sx + 84, sy + 330 - 22), "下载Vela相机", fill=(231, 89, 137), font=font(12), anchor="lm")
    d.text((sx + 444, sy + 330 - 22), "当前版本号：1.0.0.0", fill=(153, 151, 151), font=font(12), anchor="rm")
    return win.convert("RGB")


def check(root):
    """Regenerates into a scratch tree and compares with the committed files."""
    with tempfile.TemporaryDirectory() as tmp:
        generate(tmp)
        stale = []
        for dirpath, _, files in os.walk(os.path.join(tmp, "resources")):
            for f in files:
                new = os.path.join(dirpath, f)
                old = os.path.join(root, os.path.relpath(new, tmp))
                if not os.path.exists(old) or not filecmp.cmp(new, old, shallow=False):
                    stale.append(os.path.relpath(old, root))
        for s in stale:
            print("stale:", s)
        return 1 if stale else 0


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    root = os.path.normpath(os.path.join(here, "..", ".."))
    ap = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    ap.add_argument("--sheet", nargs="?", const=os.path.join(root, "build", "pictures-contact-sheet.png"),
                    help="also write a contact sheet (default build/pictures-contact-sheet.png)")
    ap.add_argument("--check", action="store_true", help="only compare the committed files with a fresh run")
    args = ap.parse_args()
    if args.check:
        return check(root)
    generate(root)
    if args.sheet:
        contact_sheet(root, args.sheet)
        print("contact sheet:", args.sheet)
    return 0


if __name__ == "__main__":
    sys.exit(main())
