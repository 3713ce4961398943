"""The look of the program's pictures: every colour, size and shape constant
in one place. Change a value here and run make_pictures.py to rebuild them all."""
from draw import mix

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

# The idle preview: a night-dark backdrop for the video area.
NIGHT_TOP = (40, 37, 47)
NIGHT_BOTTOM = (17, 16, 21)
NIGHT_INK = (236, 236, 242)      # outlines of the phone and the computer
NIGHT_SCREEN_TOP = (58, 52, 72)
NIGHT_SCREEN_BOTTOM = (34, 31, 44)
NIGHT_TEXT = (206, 204, 214)     # step texts
NIGHT_NOTE = (150, 148, 162)     # the small note under the help link

# The camera help pictures: light, like the program's dialogs.
HELP_BOTTOM = (247, 244, 250)    # background gradient from white to this
HELP_LABEL = (120, 120, 128)
HELP_ROW_TEXT = (90, 90, 96)
HELP_ROW_CHOSEN = (253, 236, 242)
HELP_STEP_TEXT = (70, 70, 78)
HELP_CURSOR = (30, 30, 34)

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

# The looks of a button picture (the disabled look reuses the normal one).
NORMAL, HOT, PRESSED = "normal", "hot", "pressed"
