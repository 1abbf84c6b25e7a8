#!/usr/bin/python3
"""Draws the editor's four bitmaps (resources 101 to 104) into resources/.

Run with Debian's Python and Pillow (python3-pil) and the DejaVu fonts (fonts-dejavu-core):

    /usr/bin/python3 tools/artwork/make_artwork.py [--preview DIR]

101 knob_mask.bmp    26 x 26, 8-bit palette: the knob's disc black (index 0) on white
102 background.bmp   785 x 82, 24-bit: three captioned panels, knob seats, switch frames, logo
103 switch.bmp       25 x 34, 24-bit: lit lamp (rows 0-16), grey lamp (rows 17-33)
104 knob_strip.bmp   26 x 1664, 24-bit: 64 frames of the knob on black, seven to five o'clock

Shapes are drawn four times larger and reduced, which smooths their edges; text is set at
its final size, where the font's own hinting keeps it sharp. The knob frames and the
background's seats are cut to the mask afterwards, so the mask is black exactly where a
frame can carry the knob. --preview also writes PNG views (enlarged, and the whole editor
with knobs and switches composited as the editor draws them) for looking at the result.
"""
import argparse
import math
import os
import random

from PIL import Image, ImageChops, ImageDraw, ImageFilter, ImageFont

import layout

FONT_DIR = "/usr/share/fonts/truetype/dejavu"
SCALE = 4  # supersampling factor for shapes


def font(name, size):
    return ImageFont.truetype(os.path.join(FONT_DIR, name + ".ttf"), size)


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


def vertical_gradient(size, top, bottom):
    w, h = size
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    for y in range(h):
        draw.line([(0, y), (w, y)], fill=mix(top, bottom, y / max(1, h - 1)))
    return image


def reduce(image):
    return image.resize((image.width // SCALE, image.height // SCALE), Image.LANCZOS)


# ---------------------------------------------------------------- knob mask (101)

def knob_mask_pixels():
    """True where the knob sits: pixel centres within MASK_RADIUS of the knob's centre."""
    c = layout.KNOB_SIZE / 2.0
    return [[math.hypot(x + 0.5 - c, y + 0.5 - c) <= layout.MASK_RADIUS for x in range(layout.KNOB_SIZE)]
            for y in range(layout.KNOB_SIZE)]


def make_knob_mask():
    inside = knob_mask_pixels()
    image = Image.new("P", (layout.KNOB_SIZE, layout.KNOB_SIZE), 1)
    image.putpalette([0, 0, 0, 255, 255, 255] + [255, 255, 255] * 254)
    for y, row in enumerate(inside):
        for x, black in enumerate(row):
            if black:
                image.putpixel((x, y), 0)
    return image


# ---------------------------------------------------------------- knob strip (104)

def knob_angle(frame):
    """Clockwise from straight up, in degrees; frame 31 points straight up."""
    return (frame - layout.KNOB_UP_FRAME) * layout.KNOB_DEGREES_PER_FRAME


def draw_knob_frame(frame):
    size = layout.KNOB_SIZE * SCALE
    c = size / 2.0
    r = layout.KNOB_RADIUS * SCALE
    image = Image.new("RGB", (size, size), (0, 0, 0))
    draw = ImageDraw.Draw(image)
    # Skirt: dark anodised ring with fine knurling that turns with the knob.
    draw.ellipse([c - r, c - r, c + r, c + r], fill=(44, 46, 52))
    angle0 = math.radians(knob_angle(frame))
    for i in range(36):
        a = angle0 + i * 2 * math.pi / 36
        x0, y0 = c + math.sin(a) * r * 0.80, c - math.cos(a) * r * 0.80
        x1, y1 = c + math.sin(a) * r * 0.98, c - math.cos(a) * r * 0.98
        draw.line([(x0, y0), (x1, y1)], fill=(62, 65, 72), width=SCALE // 2 + 1)
    # Cap: brushed aluminium, lit from the top left; the light does not turn.
    cap_r = r * 0.74
    cap = vertical_gradient((size, size), (214, 217, 222), (112, 116, 124))
    cap_mask = Image.new("L", (size, size), 0)
    ImageDraw.Draw(cap_mask).ellipse([c - cap_r, c - cap_r, c + cap_r, c + cap_r], fill=255)
    rim = Image.new("L", (size, size), 0)
    ImageDraw.Draw(rim).ellipse([c - cap_r - SCALE, c - cap_r - SCALE, c + cap_r + SCALE, c + cap_r + SCALE],
                                fill=255)
    image.paste((24, 25, 28), (0, 0), rim)
    image.paste(cap, (0, 0), cap_mask)
    shine = Image.new("L", (size, size), 0)
    ImageDraw.Draw(shine).ellipse([c - cap_r * 0.75, c - cap_r * 0.92, c + cap_r * 0.35, c - cap_r * 0.05],
                                  fill=70)
    shine = shine.filter(ImageFilter.GaussianBlur(SCALE * 1.5))
    image.paste((255, 255, 255), (0, 0), ImageChops.multiply(shine, cap_mask))
    # Pointer: an amber line from the cap's middle out across the skirt.
    a = math.radians(knob_angle(frame))
    inner, outer = r * 0.22, r * 0.96
    p0 = (c + math.sin(a) * inner, c - math.cos(a) * inner)
    p1 = (c + math.sin(a) * outer, c - math.cos(a) * outer)
    draw = ImageDraw.Draw(image)
    draw.line([p0, p1], fill=(40, 24, 0), width=int(SCALE * 2.4))
    draw.line([p0, p1], fill=layout.AMBER, width=int(SCALE * 1.5))
    return reduce(image)


def make_knob_strip():
    inside = knob_mask_pixels()
    strip = Image.new("RGB", (layout.KNOB_SIZE, layout.KNOB_SIZE * layout.KNOB_FRAMES), (0, 0, 0))
    for frame in range(layout.KNOB_FRAMES):
        image = draw_knob_frame(frame)
        for y in range(layout.KNOB_SIZE):
            for x in range(layout.KNOB_SIZE):
                if not inside[y][x]:
                    image.putpixel((x, y), (0, 0, 0))
        strip.paste(image, (0, frame * layout.KNOB_SIZE))
    return strip


# ---------------------------------------------------------------- switch (103)

def draw_switch_state(lit):
    w, h = layout.SWITCH_WIDTH * SCALE, layout.SWITCH_HEIGHT * SCALE
    image = switch_frame(w, h)
    draw = ImageDraw.Draw(image)
    # Lamp window, lit amber-yellow with a hot centre, or a dark grey lens.
    lx0, ly0, lx1, ly1 = 5 * SCALE, 5 * SCALE, w - 5 * SCALE, h - 5 * SCALE
    if lit:
        glow = Image.new("RGB", (w, h), (0, 0, 0))
        ImageDraw.Draw(glow).rounded_rectangle([lx0 - SCALE, ly0 - SCALE, lx1 + SCALE, ly1 + SCALE],
                                               radius=3 * SCALE, fill=(140, 100, 0))
        glow = glow.filter(ImageFilter.GaussianBlur(SCALE * 1.2))
        image = ImageChops.add(image, glow)
        lens = vertical_gradient((w, h), (255, 246, 170), (236, 170, 20))
    else:
        lens = vertical_gradient((w, h), (128, 130, 134), (82, 84, 88))
    lens_mask = Image.new("L", (w, h), 0)
    ImageDraw.Draw(lens_mask).rounded_rectangle([lx0, ly0, lx1, ly1], radius=2 * SCALE, fill=255)
    image.paste(lens, (0, 0), lens_mask)
    hot = Image.new("L", (w, h), 0)
    ImageDraw.Draw(hot).rounded_rectangle([lx0 + SCALE, ly0 + SCALE // 2, lx1 - SCALE, ly0 + 3 * SCALE],
                                          radius=SCALE, fill=150 if lit else 60)
    hot = hot.filter(ImageFilter.GaussianBlur(SCALE * 0.6))
    image.paste((255, 255, 255), (0, 0), ImageChops.multiply(hot, lens_mask))
    draw = ImageDraw.Draw(image)
    draw.rounded_rectangle([lx0, ly0, lx1, ly1], radius=2 * SCALE, outline=(30, 30, 30), width=SCALE // 2)
    return reduce(image)


def switch_frame(w, h):
    """The light bezel of a switch, at the scale it is given; also printed in the background."""
    image = vertical_gradient((w, h), (236, 236, 230), (168, 170, 168))
    draw = ImageDraw.Draw(image)
    draw.rectangle([0, 0, w - 1, h - 1], outline=(20, 21, 24), width=SCALE // 2 + 1)
    draw.line([(SCALE, SCALE), (w - SCALE, SCALE)], fill=(255, 255, 255), width=SCALE // 2)
    draw.rectangle([3 * SCALE, 3 * SCALE, w - 3 * SCALE - 1, h - 3 * SCALE - 1], fill=(40, 41, 45))
    return image


def make_switch():
    image = Image.new("RGB", (layout.SWITCH_WIDTH, 2 * layout.SWITCH_HEIGHT))
    image.paste(draw_switch_state(True), (0, 0))
    image.paste(draw_switch_state(False), (0, layout.SWITCH_HEIGHT))
    return image


# ---------------------------------------------------------------- background (102)

def draw_panel(canvas, panel):
    x0, x1 = panel["left"] * SCALE, panel["right"] * SCALE
    y0, y1 = layout.PANEL_TOP * SCALE, layout.PANEL_BOTTOM * SCALE
    radius = 4 * SCALE
    shadow = Image.new("L", canvas.size, 0)
    ImageDraw.Draw(shadow).rounded_rectangle([x0, y0 + SCALE, x1, y1 + SCALE], radius=radius, fill=150)
    shadow = shadow.filter(ImageFilter.GaussianBlur(SCALE * 1.5))
    canvas.paste((8, 9, 11), (0, 0), shadow)
    face = Image.new("RGB", canvas.size)
    face.paste(vertical_gradient((x1 - x0, y1 - y0), (70, 74, 82), (44, 47, 53)), (x0, y0))
    face_mask = Image.new("L", canvas.size, 0)
    ImageDraw.Draw(face_mask).rounded_rectangle([x0, y0, x1, y1], radius=radius, fill=255)
    canvas.paste(face, (0, 0), face_mask)
    draw = ImageDraw.Draw(canvas)
    draw.rounded_rectangle([x0, y0, x1, y1], radius=radius, outline=(22, 23, 27), width=SCALE // 2)
    draw.arc([x0 + SCALE // 2, y0 + SCALE // 2, x0 + 2 * radius, y0 + 2 * radius], 180, 270,
             fill=(112, 117, 128), width=SCALE // 2)
    draw.arc([x1 - 2 * radius, y0 + SCALE // 2, x1 - SCALE // 2, y0 + 2 * radius], 270, 360,
             fill=(112, 117, 128), width=SCALE // 2)
    draw.line([(x0 + radius, y0 + SCALE // 2), (x1 - radius, y0 + SCALE // 2)], fill=(112, 117, 128),
              width=SCALE // 2)


def draw_knob_seat(canvas, left, top):
    """A recessed ring around a knob, with its scale of dots from minimum to maximum."""
    cx, cy = (left + layout.KNOB_SIZE / 2.0) * SCALE, (top + layout.KNOB_SIZE / 2.0) * SCALE
    draw = ImageDraw.Draw(canvas)
    r = (layout.MASK_RADIUS + 1.6) * SCALE
    draw.ellipse([cx - r, cy - r, cx + r, cy + r], fill=(26, 27, 31))
    draw.arc([cx - r, cy - r, cx + r, cy + r], 20, 160, fill=(98, 103, 113), width=SCALE // 2)
    for i in range(layout.SCALE_DOTS):
        frame = i * (layout.KNOB_FRAMES - 1) / (layout.SCALE_DOTS - 1)
        a = math.radians(knob_angle(frame))
        d = layout.SCALE_RADIUS * SCALE
        px, py = cx + math.sin(a) * d, cy - math.cos(a) * d
        dot = (0.9 if i in (0, layout.SCALE_DOTS - 1) else 0.6) * SCALE
        colour = layout.AMBER if i in (0, layout.SCALE_DOTS - 1) else (150, 155, 165)
        draw.ellipse([px - dot, py - dot, px + dot, py + dot], fill=colour)


def draw_centred(draw, text, cx, y, typeface, fill, spacing=0):
    widths = [draw.textlength(ch, font=typeface) for ch in text]
    total = sum(widths) + spacing * (len(text) - 1)
    x = cx - total / 2.0
    for ch, w in zip(text, widths):
        draw.text((round(x), y), ch, font=typeface, fill=fill)
        x += w + spacing
    return cx - total / 2.0, cx + total / 2.0


def make_background():
    w, h = layout.WIDTH * SCALE, layout.HEIGHT * SCALE
    canvas = vertical_gradient((w, h), (38, 40, 45), (22, 23, 26))
    # Fine horizontal brushing over the body, from a fixed seed so every run gives the same file.
    rng = random.Random(layout.BRUSHING_SEED)
    streaks = Image.new("L", (w // (4 * SCALE), h // SCALE))
    streaks.putdata([rng.randrange(256) for _ in range(streaks.width * streaks.height)])
    brushing = streaks.resize((w, h), Image.BILINEAR)
    canvas = Image.blend(canvas, Image.merge("RGB", [brushing] * 3), 0.035)
    for panel in layout.PANELS:
        draw_panel(canvas, panel)
    for control in layout.CONTROLS:
        if control["kind"] == "knob":
            draw_knob_seat(canvas, control["left"], control["top"])
        else:
            frame = switch_frame(layout.SWITCH_WIDTH * SCALE, layout.SWITCH_HEIGHT * SCALE)
            canvas.paste(frame, (control["left"] * SCALE, control["top"] * SCALE))
    image = reduce(canvas)
    draw = ImageDraw.Draw(image)

    title_font = font("DejaVuSansCondensed-Bold", 9)
    caption_font = font("DejaVuSansCondensed-Bold", 8)
    for panel in layout.PANELS:
        cx = (panel["left"] + panel["right"]) / 2.0
        x0, x1 = draw_centred(draw, panel["title"], cx, layout.TITLE_Y, title_font, layout.AMBER, spacing=2)
        rule_y = layout.TITLE_Y + 7
        draw.line([(panel["left"] + 8, rule_y), (x0 - 6, rule_y)], fill=(104, 92, 64))
        draw.line([(x1 + 6, rule_y), (panel["right"] - 8, rule_y)], fill=(104, 92, 64))
    for control in layout.CONTROLS:
        width = layout.KNOB_SIZE if control["kind"] == "knob" else layout.SWITCH_WIDTH
        cx = control["left"] + width / 2.0
        draw_centred(draw, control["caption"], cx, layout.CAPTION_Y, caption_font, (206, 210, 218))

    # Product name at the right, with the maker's name above it.
    name_font = font("DejaVuSerif-BoldItalic", layout.PRODUCT_FONT_SIZE)
    maker_font = font("DejaVuSansCondensed-Bold", 8)
    cx = (layout.LOGO_LEFT + layout.WIDTH) / 2.0
    draw_centred(draw, "VELKOR", cx, 14, maker_font, (150, 155, 165), spacing=3)
    name_width = draw.textlength(layout.PRODUCT, font=name_font)
    nx, ny = round(cx - name_width / 2.0), 26
    draw.text((nx + 1, ny + 1), layout.PRODUCT, font=name_font, fill=(8, 8, 10))
    draw.text((nx, ny), layout.PRODUCT, font=name_font, fill=(232, 226, 210))
    draw_centred(draw, "PHASE SYNTHESIS", cx, 60, caption_font, layout.AMBER, spacing=1)

    # The seats are black exactly where the knobs' mask is.
    inside = knob_mask_pixels()
    for control in layout.CONTROLS:
        if control["kind"] != "knob":
            continue
        for y in range(layout.KNOB_SIZE):
            for x in range(layout.KNOB_SIZE):
                if inside[y][x]:
                    image.putpixel((control["left"] + x, control["top"] + y), (0, 0, 0))
    return image


# ---------------------------------------------------------------- previews

def composite_editor(background, strip, switch, values):
    """The editor as it draws itself: mask AND, frame OR for knobs; switches copied."""
    image = background.copy()
    inside = knob_mask_pixels()
    for control in layout.CONTROLS:
        value = values[control["parameter"]]
        if control["kind"] == "knob":
            frame = int((layout.KNOB_FRAMES - 1) * value)
            for y in range(layout.KNOB_SIZE):
                for x in range(layout.KNOB_SIZE):
                    if inside[y][x]:
                        pixel = strip.getpixel((x, frame * layout.KNOB_SIZE + y))
                        image.putpixel((control["left"] + x, control["top"] + y), pixel)
        else:
            row = layout.SWITCH_HEIGHT if value > 0.5 else 0
            image.paste(switch.crop((0, row, layout.SWITCH_WIDTH, row + layout.SWITCH_HEIGHT)),
                        (control["left"], control["top"]))
    return image


def write_previews(directory, background, strip, switch, mask):
    os.makedirs(directory, exist_ok=True)
    program0 = [1, 0, 0.01, 0.01, 0.01, 0.375, 0.485, 0, 0.14, 0.835, 0.035, 0.69, 0.27]
    editor = composite_editor(background, strip, switch, program0)
    editor.save(os.path.join(directory, "editor.png"))
    editor.resize((editor.width * 2, editor.height * 2), Image.NEAREST).save(os.path.join(directory, "editor_x2.png"))
    background.resize((background.width * 2, background.height * 2), Image.NEAREST).save(
        os.path.join(directory, "background_x2.png"))
    frames = [strip.crop((0, f * 26, 26, f * 26 + 26)) for f in (0, 15, 31, 47, 63)]
    sheet = Image.new("RGB", (len(frames) * 30 + 30 + 30, 30), (60, 60, 60))
    for i, f in enumerate(frames):
        sheet.paste(f, (2 + i * 30, 2))
    sheet.paste(switch.crop((0, 0, 25, 17)), (2 + len(frames) * 30, 2))
    sheet.paste(switch.crop((0, 17, 25, 34)), (2 + len(frames) * 30 + 30, 2))
    sheet.resize((sheet.width * 8, sheet.height * 8), Image.NEAREST).save(os.path.join(directory, "parts_x8.png"))
    mask.convert("RGB").resize((26 * 8, 26 * 8), Image.NEAREST).save(os.path.join(directory, "mask_x8.png"))


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    here = os.path.dirname(os.path.abspath(__file__))
    parser.add_argument("--out", default=os.path.join(here, "..", "..", "resources"))
    parser.add_argument("--preview", help="also write PNG previews into this folder")
    args = parser.parse_args()
    mask = make_knob_mask()
    strip = make_knob_strip()
    switch = make_switch()
    background = make_background()
    for image, name in ((mask, layout.MASK_FILE), (background, layout.BACKGROUND_FILE),
                        (switch, layout.SWITCH_FILE), (strip, layout.STRIP_FILE)):
        image.save(os.path.join(args.out, name), format="BMP")
    if args.preview:
        write_previews(args.preview, background, strip, switch, mask)


if __name__ == "__main__":
    main()
