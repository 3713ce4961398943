"""The small pictures of the windows: title-bar buttons, connect faces and icons,
list and panel decorations, scroll and slider thumbs, logo and settings images."""
from PIL import Image

from draw import Mask, darken, gradient_layer, layer, lighten, polar, shadow, stack
from look import (
    ABOUT_SUBTITLE, ABOUT_TITLE, ACCENT_END, APP_NAME, APP_TAGLINE, BUTTON_RADIUS, CONNECT_FACE,
    CONNECT_ICON, DISCONNECT_BORDER, DISCONNECT_FACE, DISCONNECT_FILL, DISCONNECT_HOT_FILL,
    DISCONNECT_PRESSED_FILL, GLYPH, GLYPH_HOT, GLYPH_PRESSED, HOT, ITEM_MARK, ITEM_TILE, LOGO_BAND,
    NORMAL, OVERLAY_ICON, OVERLAY_SHADOW, PINK, PINK_HOT, PINK_PRESSED, PLATE_HOT, PLATE_PRESSED, PRESSED,
    SCROLL_THUMB, SCROLL_THUMB_HOT, SCROLL_THUMB_SIZE, SLIDER_THUMB, TEXT_DARK, TEXT_SOFT, TITLE_BUTTON,
    TITLE_PLATE_RADIUS, WHITE)
from glyphs import camera_glyph


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
    # The disc fills the picture: the slider's filled band runs under the
    # thumb to the picture's right edge and must not show beside it.
    disc.circle(9, 9, 8.8)
    ring.ring(9, 9, 7.8, 2.0)
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
