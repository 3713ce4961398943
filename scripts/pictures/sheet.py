"""A contact sheet of the pictures for judging them by eye: every PNG resource at
1:1 and magnified, the large pictures, and a mock of the main window put
together from the pictures as the program lays them out."""
import os

from PIL import Image, ImageDraw, ImageFont

from draw import FONT_PATH
from look import (BLACK, DISCONNECT_GLYPH, LINE, PAGE_GREY, PINK, PINK_HOT, REFRESH_GREY, REFRESH_HOT, WHITE)


def contact_sheet(root, pictures, out_path):
    """Every PNG resource at 1:1 and magnified (on white, on a checkerboard, or on
    dark grey for the pictures drawn over video or on the accent), then the three
    large pictures at 1:1."""
    font = ImageFont.truetype(FONT_PATH, 12)
    png_dir = os.path.join(root, "resources", "png")
    sheet_w, pad = 1480, 10
    placed, x, y, row_h = [], pad, pad, 0
    for p in pictures:
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
    mock = window_mock(root, pictures)
    full = Image.new("RGB", (sheet.width, sheet.height + mock.height + pad), (246, 246, 246))
    full.paste(sheet, (0, 0))
    full.paste(mock, (pad, sheet.height))
    sheet = full
    os.makedirs(os.path.dirname(out_path), exist_ok=True)
    sheet.save(out_path)


def window_mock(root, pictures):
    """The main window at rest, put together from the pictures as the program
    lays them out, to judge them in place (text drawn roughly as GDI would)."""
    png = os.path.join(root, "resources", "png")

    def pic(i):
        name = next(p.file for p in pictures if p.id == i)
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
