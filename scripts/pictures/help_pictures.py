"""The large pictures beside the program (res\\): the preview's idle picture and
the two help pictures on picking the virtual cameras in streaming software."""
from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

from draw import Mask, gradient, gradient_layer, layer, lighten, shadow, stack, FONT_PATH
from look import (
    HELP_BOTTOM, HELP_CURSOR, HELP_LABEL, HELP_ROW_CHOSEN, HELP_ROW_TEXT, HELP_STEP_TEXT, NIGHT_BOTTOM,
    NIGHT_INK, NIGHT_NOTE, NIGHT_SCREEN_BOTTOM, NIGHT_SCREEN_TOP, NIGHT_TEXT, NIGHT_TOP,
    ACCENT_END, APP_NAME, CAMERA_LANDSCAPE, CAMERA_PORTRAIT, HELP_PICTURE, LINE, PINK, PINK_HOT, PREVIEW,
    PURPLE, TEXT_DARK, WHITE)
from glyphs import camera_glyph


def glow(size, cx, cy, r, rgb, alpha):
    m = Image.new("L", size, 0)
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
    return ImageFont.truetype(FONT_PATH, size * 4).getlength(txt) / 4


def idle_preview():
    """The preview's picture while no phone picture is shown. The link to the
    help page is the band (200, 400) - (527, 502) of this picture."""
    w, h = PREVIEW
    size = PREVIEW
    bg = gradient(size, NIGHT_TOP, NIGHT_BOTTOM, horizontal=False).convert("RGBA")
    layers = [bg, glow(size, 190, 140, 210, PINK, 0.13), glow(size, 560, 360, 230, PURPLE, 0.12)]

    ink = NIGHT_INK
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
                    gradient_layer(screen, NIGHT_SCREEN_TOP, NIGHT_SCREEN_BOTTOM, diagonal=True),
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
    layers += [layer(chips, PINK), layer(numbers, WHITE), layer(labels, NIGHT_TEXT)]

    # The help link: a pill inside the clickable band.
    pill, pill_text, note = Mask(w, h), Mask(w, h), Mask(w, h)
    pill.rrect_outline(w / 2 - 118, 420, w / 2 + 118, 458, 19, 1.5)
    pill_text.text(w / 2 - 6, 439.5, "连接遇到问题？查看帮助", 15, anchor="mm")
    pill_text.line([(w / 2 + 80, 434.5), (w / 2 + 85, 439.5), (w / 2 + 80, 444.5)], 1.6)
    note.text(w / 2, 482, "连接后，在直播软件中选择摄像头「" + CAMERA_LANDSCAPE + "」或「" + CAMERA_PORTRAIT + "」",
              12, anchor="mm")
    layers += [layer(pill, PINK_HOT), layer(pill_text, PINK_HOT), layer(note, NIGHT_NOTE)]
    return stack(size, *layers).convert("RGB")


def camera_help(portrait):
    """Help picture: how to pick the portrait or the landscape virtual camera
    in streaming software (a generic add-camera panel, not any real product)."""
    w, h = HELP_PICTURE
    size = HELP_PICTURE
    chosen = CAMERA_PORTRAIT if portrait else CAMERA_LANDSCAPE
    mode = "竖屏" if portrait else "横屏"
    layers = [gradient(size, WHITE, HELP_BOTTOM, horizontal=False).convert("RGBA")]

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
               layer(sep, LINE), layer(head, TEXT_DARK), layer(label, HELP_LABEL),
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
               layer(hi, HELP_ROW_CHOSEN), layer(row_text, HELP_ROW_TEXT), layer(row_hi_text, PINK),
               layer(check, PINK), layer(cursor_edge, WHITE), layer(cursor, HELP_CURSOR)]

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
    person_img = ImageChops.multiply(person_img, frame_cut.reduce())
    badge.rrect(fx + 10, fy + 10, fx + 50, fy + 26, 4)
    badge_text.text(fx + 30, fy + 18.5, "LIVE", 10, anchor="mm", bold=0.2)
    caption.text(fx + fw / 2, fy + fh + 24, mode + "画面 " + ("720×1280" if portrait else "1280×720"), 13, anchor="mm")
    layers += [shadow(frame, blur=6, dy=3, alpha=0.16),
               gradient_layer(frame, lighten(PINK, 0.35), lighten(PURPLE, 0.35), diagonal=True),
               layer(person_img, WHITE, 0.9), layer(badge, PINK), layer(badge_text, WHITE),
               layer(caption, HELP_LABEL)]

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
    layers += [gradient_layer(nums, PINK, ACCENT_END), layer(num_text, WHITE), layer(step_text, HELP_STEP_TEXT)]
    return stack(size, *layers).convert("RGB")
