#!/usr/bin/python3
"""Draws every picture of the program from code, so a colour or a shape can be
changed (look.py holds every colour and size) and everything rebuilt in one go.

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
import os
import sys
import tempfile
from dataclasses import dataclass
from typing import Callable

from PIL import Image

sys.dont_write_bytecode = True  # keep the source tree free of __pycache__
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from draw import darken
from look import (
    ABOUT_ICON, COMBO_ARROW, CONNECT_ICON, DISCONNECT_GLYPH, HOT, NORMAL, PAGE_GREY, PINK,
    PINK_HOT, PINK_PRESSED, PRESSED, REFRESH_GREY, REFRESH_HOT, REFRESH_PRESSED, SMALL_ICON, WHITE)
from glyphs import (
    glyph_close, glyph_minimize, glyph_gear, glyph_refresh, glyph_reset, glyph_back, glyph_chevron_down,
    glyph_chevron_up, glyph_flip_vertical, glyph_flip_horizontal, glyph_phone_portrait,
    glyph_phone_landscape, glyph_link, glyph_power, glyph_check, glyph_adjust, glyph_pencil)
from ui_pictures import (
    title_button, connect_face, disconnect_face, spinner, icon, state_colour, overlay_icon, scroll_thumb,
    slider_thumb, ring_mask, selected_frame, white_mark, app_icon, logo_band, about_title, about_subtitle)
from help_pictures import camera_help, idle_preview
from sheet import contact_sheet


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
        img.save(os.path.join(png_dir, p.file), format="PNG", optimize=True)
        wanted.add(p.file)
    for f in os.listdir(png_dir):  # drop pictures that left the table
        if f.endswith(".png") and f not in wanted:
            os.remove(os.path.join(png_dir, f))

    lines = [RC_HEADER, '#include "resources/picture_ids.h"\n\n']
    lines += [f'{p.macro} PNG "png/{p.file}"\n' for p in PICTURES]
    write_text(os.path.join(res, "pictures.rc"), "".join(lines))

    # Laid out as clang-format lays out the committed header.
    defines = [f"#define {p.macro} {p.id}" for p in PICTURES]
    width = max(len(d) for d in defines)
    ids = [IDS_HEADER, "\n"]
    ids += [f"{d:<{width}}  // {p.meaning}\n" for d, p in zip(defines, PICTURES)]
    write_text(os.path.join(res, "picture_ids.h"), "".join(ids))

    rows = ["# The program's PNG pictures\n\n",
            "Drawn by `scripts/pictures/make_pictures.py`; every colour and size is in `scripts/pictures/look.py`.\n",
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

    idle_preview().save(os.path.join(res, "res", "default.png"), format="PNG", optimize=True)
    camera_help(True).save(os.path.join(res, "res", "default_v.jpg"), format="JPEG", quality=92, optimize=True)
    camera_help(False).save(os.path.join(res, "res", "default_h.jpg"), format="JPEG", quality=92, optimize=True)

    sizes = [16, 24, 32, 48, 64, 128, 256]
    icons = [app_icon(s) for s in sizes]
    icons[-1].save(os.path.join(res, "app.ico"), format="ICO", sizes=[(s, s) for s in sizes],
                   append_images=icons[:-1])


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
        contact_sheet(root, PICTURES, args.sheet)
        print("contact sheet:", args.sheet)
    return 0


if __name__ == "__main__":
    sys.exit(main())
