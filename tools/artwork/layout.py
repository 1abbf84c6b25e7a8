"""Sizes and places of the editor's artwork: the control positions are the ones the
editor uses (editor/editor_layout.h); panels, captions and the logo are fitted around them."""

WIDTH, HEIGHT = 785, 82

MASK_FILE = "knob_mask.bmp"          # resource 101
BACKGROUND_FILE = "background.bmp"   # resource 102
SWITCH_FILE = "switch.bmp"           # resource 103
STRIP_FILE = "knob_strip.bmp"        # resource 104

KNOB_SIZE = 26
KNOB_FRAMES = 64
KNOB_UP_FRAME = 31                   # the frame whose pointer is straight up
KNOB_DEGREES_PER_FRAME = 300.0 / 63  # frame 0 about seven o'clock, frame 63 about five
KNOB_RADIUS = 11.4                   # the knob's drawn radius, in pixels
MASK_RADIUS = 12.3                   # pixel centres this close to the knob's centre are in the mask
SCALE_DOTS = 11
SCALE_RADIUS = 16.2

SWITCH_WIDTH, SWITCH_HEIGHT = 25, 17

PANEL_TOP, PANEL_BOTTOM = 3, 78
TITLE_Y = 4
CAPTION_Y = 63
LOGO_LEFT = 674
PRODUCT_FONT_SIZE = 22
PRODUCT = "Quindle"
AMBER = (236, 178, 60)

PANELS = [
    {"title": "ATTACK", "left": 8, "right": 202},
    {"title": "BODY", "left": 207, "right": 346},
    {"title": "MASTER", "left": 351, "right": 670},
]

CONTROLS = [
    # kind      left  top  parameter  caption
    {"kind": "switch", "left": 32,  "top": 36, "parameter": 0,  "caption": "BRIGHT"},
    {"kind": "switch", "left": 223, "top": 36, "parameter": 4,  "caption": "BRIGHT"},
    {"kind": "knob",   "left": 68,  "top": 32, "parameter": 1,  "caption": "LEVEL"},
    {"kind": "knob",   "left": 116, "top": 32, "parameter": 2,  "caption": "DECAY"},
    {"kind": "knob",   "left": 163, "top": 32, "parameter": 3,  "caption": "VELOCITY"},
    {"kind": "knob",   "left": 258, "top": 32, "parameter": 5,  "caption": "TONE"},
    {"kind": "knob",   "left": 306, "top": 32, "parameter": 6,  "caption": "VELOCITY"},
    {"kind": "knob",   "left": 379, "top": 32, "parameter": 7,  "caption": "ATTACK"},
    {"kind": "knob",   "left": 427, "top": 32, "parameter": 8,  "caption": "DECAY"},
    {"kind": "knob",   "left": 474, "top": 32, "parameter": 9,  "caption": "SUSTAIN"},
    {"kind": "knob",   "left": 523, "top": 32, "parameter": 10, "caption": "RELEASE"},
    {"kind": "knob",   "left": 571, "top": 32, "parameter": 11, "caption": "VELOCITY"},
    {"kind": "knob",   "left": 618, "top": 32, "parameter": 12, "caption": "VOLUME"},
]
BRUSHING_SEED = 1709
