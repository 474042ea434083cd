#!/usr/bin/python3
"""Makes the game's bitmap fonts and the rolling score digits.

Writes, from the repository root:
  media/images/font14.png  font 1, glyphs 23 pixels high
  media/images/font16.png  font 3, glyphs 26 pixels high
  media/images/font20.png  font 2, glyphs 34 pixels high
  media/images/fontcnt.png the digit wheel of the score counter
  text/fontmetrics.cpp     CharList1 and the box and advance tables of the three fonts

Every glyph is Averia Serif GWF Bold (Debian package fonts-averia-serif-gwf,
SIL Open Font License): a bold serif with worn, slightly irregular edges that
suits carved desert stone, and lining figures for the scores. The letters are
filled with a warm ivory-to-gold gradient, ringed with a dark brown outline and
given a soft drop shadow, so the same glyph reads on bright sand and on dark stone.

Each glyph is drawn four times larger than it is kept and scaled down, which
gives smooth outlines. The output depends only on the font file and Pillow, so
running the tool again gives byte-identical files.

Usage (Debian packages python3-pil and fonts-averia-serif-gwf):
    /usr/bin/python3 tools/gen/gen_fonts.py
"""

import math
import os
import sys

from PIL import Image, ImageChops, ImageDraw, ImageFont

FONT_FILE = "/usr/share/fonts/truetype/averia-gwf/AveriaSerifGWF-Bold.ttf"
FONT_NAME = "Averia Serif GWF Bold (Debian package fonts-averia-serif-gwf)"
SCALE = 4  # glyphs are drawn this many times larger, then scaled down

FILL_TOP = (255, 247, 222)     # ivory at the cap line
FILL_BOTTOM = (238, 184, 82)   # sun-baked gold at the baseline
OUTLINE = (48, 27, 12)         # dark brown ring around every glyph
SHADOW = (0, 0, 0)
SHADOW_ALPHA = 0.55

GLYPHS = 161
CHARLIST_SIZE = 223
SPACE = 160


def char_list():
    """The characters in glyph order: a character's glyph index is its position."""
    codes = list(range(0x41, 0x5B)) + list(range(0x61, 0x7B)) + list(range(0x30, 0x3A))
    codes += [0x7E, 0x60, 0x21, 0x40, 0x23, 0x24, 0x25, 0x5E, 0x26, 0x2A, 0x28, 0x29, 0x2D, 0x5F, 0x3D,
              0x2B, 0x5B, 0x7B, 0x5D, 0x7D, 0x3B, 0x3A, 0x27, 0x22, 0x2C, 0x3C, 0x2E, 0x3E, 0x2F, 0x3F]
    codes += [0xA1, 0xA2, 0xA3, 0xA5, 0xA7, 0xA9, 0xAE, 0xBF]
    codes += list(range(0xC0, 0xD7)) + list(range(0xD8, 0xDE)) + list(range(0xDF, 0xE6))
    codes += list(range(0xE6, 0xF7)) + list(range(0xF8, 0xFE)) + [0xFF, 0x20]
    assert len(codes) == GLYPHS and len(set(codes)) == GLYPHS and codes[SPACE] == 0x20
    return codes


class Style:
    def __init__(self, image, table, height, outline, shadow, space):
        self.image = image        # file under media/images
        self.table = table        # suffix of RectListN / WidthListN
        self.height = height      # glyph box height in pixels
        self.outline = outline    # outline radius in pixels
        self.shadow = shadow      # drop shadow offset in pixels, right and down
        self.space = space        # advance of the space; the pen moves this plus 1


# The space advances keep word gaps as wide as the game's layouts expect.
FONTS = [
    Style("font20.png", 1, 34, 2.0, 2.0, 20),
    Style("font14.png", 2, 23, 1.25, 1.0, 12),
    Style("font16.png", 3, 26, 1.5, 1.5, 16),
]


def disc_offsets(radius):
    r = int(math.floor(radius))
    return [(dx, dy) for dy in range(-r, r + 1) for dx in range(-r, r + 1) if dx * dx + dy * dy <= radius * radius]


def shifted(mask, dx, dy):
    out = Image.new("L", mask.size, 0)
    out.paste(mask, (dx, dy))
    return out


def dilate(mask, radius):
    out = mask
    for dx, dy in disc_offsets(radius):
        if dx or dy:
            out = ImageChops.lighter(out, shifted(mask, dx, dy))
    return out


def gradient(width, height, top, bottom):
    """Fill colour: FILL_TOP at row top, FILL_BOTTOM at row bottom, held beyond."""
    img = Image.new("RGBA", (width, height))
    for y in range(height):
        t = min(1.0, max(0.0, (y - top) / float(max(1, bottom - top))))
        c = tuple(int(round(a + (b - a) * t)) for a, b in zip(FILL_TOP, FILL_BOTTOM))
        img.paste(c + (255,), (0, y, width, y + 1))
    return img


def colour_layer(size, colour, alpha_mask, factor=1.0):
    layer = Image.new("RGBA", size, colour + (0,))
    if factor != 1.0:
        alpha_mask = alpha_mask.point(lambda v: int(v * factor + 0.5))
    layer.putalpha(alpha_mask)
    return layer


def styled(mask_big, outline, shadow, fill):
    """Shadow, outline and fill of one drawn mask, scaled down to final size."""
    ring = dilate(mask_big, outline * SCALE)
    off = int(round(shadow * SCALE))
    shade = shifted(ring, off, off)
    size = (mask_big.size[0] // SCALE, mask_big.size[1] // SCALE)
    f, r, s = (m.reduce(SCALE) for m in (mask_big, ring, shade))
    out = Image.new("RGBA", size, (0, 0, 0, 0))
    out = Image.alpha_composite(out, colour_layer(size, SHADOW, s, SHADOW_ALPHA))
    out = Image.alpha_composite(out, colour_layer(size, OUTLINE, r))
    fill_layer = fill.copy()
    fill_layer.putalpha(f)
    out = Image.alpha_composite(out, fill_layer)
    return clean(out)


def clean(img):
    """Zero the colour of fully transparent pixels, so they pack small and the same every run."""
    blank = Image.new("RGBA", img.size, (0, 0, 0, 0))
    return Image.composite(img, blank, img.getchannel("A").point(lambda v: 255 if v else 0))


def ink_box(font, ch):
    """Ink bounds (left, top, right, bottom) of ch in drawn pixels, relative to its origin on the baseline."""
    size = font.size
    canvas = Image.new("L", (size * 4, size * 3), 0)
    ImageDraw.Draw(canvas).text((size, size * 2), ch, font=font, fill=255, anchor="ls")
    box = canvas.getbbox()
    return (box[0] - size, box[1] - size * 2, box[2] - size, box[3] - size * 2)


def fitted_font(style, chars):
    """The largest size at which every glyph, with outline and shadow, fits the box height
    when the baseline lies on a whole pixel (so the flat feet of the letters end sharp)."""
    size = style.height * SCALE
    while True:
        font = ImageFont.truetype(FONT_FILE, size)
        boxes = [ink_box(font, ch) for ch in chars]
        top = -min(b[1] for b in boxes)
        bottom = max(b[3] for b in boxes)
        baseline = int(math.ceil(top / SCALE + style.outline))
        if (baseline + style.outline + style.shadow) * SCALE + bottom <= style.height * SCALE:
            return font, boxes, baseline
        size -= 1


def make_font(style, codes):
    chars = [chr(c) for c in codes[:SPACE]]
    font, boxes, baseline = fitted_font(style, chars)
    # The pen stands this far into every box, so that outlines left of the pen fit.
    lead = int(math.ceil(max(0.0, max((style.outline * SCALE - b[0]) / SCALE for b in boxes))))
    cap = -ink_box(font, "H")[1] / SCALE
    rects, advances, images = [], [], []
    x = 0
    for ch, b in zip(chars, boxes):
        # The type's own advance widened by the outline, so a glyph's outline never covers the
        # fill of the one before; less 1, which the game adds back after every glyph.
        advance = int(round(font.getlength(ch) / SCALE + style.outline)) - 1
        width = int(math.ceil((lead * SCALE + b[2]) / SCALE + style.outline + style.shadow))
        width = max(width, advance + 1)  # a box always reaches past the next pen position
        big = Image.new("L", (width * SCALE, style.height * SCALE), 0)
        ImageDraw.Draw(big).text((lead * SCALE, baseline * SCALE), ch, font=font, fill=255, anchor="ls")
        fill = gradient(width, style.height, baseline - cap, baseline)
        images.append(styled(big, style.outline, style.shadow, fill))
        rects.append((x, 0, width, style.height))
        advances.append(advance)
        x += width + 1
    strip = Image.new("RGBA", (x - 1, style.height), (0, 0, 0, 0))
    for (bx, _, _, _), img in zip(rects, images):
        strip.paste(img, (bx, 0))
    rects.append((0, 0, 0, 0))
    advances.append(style.space)
    return strip, rects, advances, font.size / SCALE


def make_counter():
    """The score counter's digit wheel: a 60-pixel-wide strip, digit d in the 60 x 60 cell at
    y = 60 (d + 1). A 9 stands above the 0 and a 0 and a 1 below the 9, so any 60-pixel
    window at y = 6n (n = 0..119) shows the wheel turning, also from 9 round to 0."""
    cell = 60
    order = [9] + list(range(10)) + [0, 1]
    outline, shadow = 2.5, 2.5
    font = ImageFont.truetype(FONT_FILE, 64 * SCALE)
    boxes = [ink_box(font, str(d)) for d in range(10)]
    top = -min(b[1] for b in boxes)
    bottom = max(b[3] for b in boxes)
    # Digits stand on one baseline, centred in the cell with the shadow counted in.
    baseline = int(round((cell * SCALE - (top + bottom) - shadow * SCALE) / 2.0)) + top
    cap = top / SCALE
    fill = gradient(cell, cell, baseline / SCALE - cap, baseline / SCALE)
    digits = []
    for d in range(10):
        b = boxes[d]
        ink_w = b[2] - b[0]
        left = int(round((cell * SCALE - ink_w - shadow * SCALE) / 2.0)) - b[0]
        big = Image.new("L", (cell * SCALE, cell * SCALE), 0)
        ImageDraw.Draw(big).text((left, baseline), str(d), font=font, fill=255, anchor="ls")
        digits.append(styled(big, outline, shadow, fill))
    strip = Image.new("RGBA", (cell, cell * len(order)), (0, 0, 0, 0))
    for i, d in enumerate(order):
        strip.paste(digits[d], (0, i * cell))
    return strip


def save_png(img, path):
    """Saved with a palette of 256 colour and alpha pairs: a fifth of the size, and no
    difference to see on a glyph this small. SDL_image expands it back to RGBA."""
    img.quantize(256, method=Image.Quantize.FASTOCTREE, dither=Image.Dither.NONE).save(path, optimize=True)


def c_char_comment(code):
    return "space" if code == 0x20 else chr(code)


def metrics_source(codes, fonts):
    out = []
    out.append("// Generated by tools/gen/gen_fonts.py from %s." % FONT_NAME)
    out.append("// Do not edit: change the tool and run it again; it rewrites this file and the")
    out.append("// font images media/images/font14.png, font16.png and font20.png together.")
    out.append("#include \"text/text.h\"")
    out.append("")
    out.append("// Glyph order of all three fonts (ISO 8859-1); the bytes after the space are zero.")
    out.append("const unsigned char CharList1[CHARLIST_SIZE] = {")
    for i in range(0, GLYPHS, 8):
        row = codes[i:i + 8]
        text = " ".join(c_char_comment(c) for c in row)
        out.append("    " + " ".join("0x%02X," % c for c in row) + "  // %d: %s" % (i, text))
    out.append("};")
    for style, (size, rects, advances) in fonts:
        out.append("")
        out.append("// %s: %g-pixel type, glyph boxes %d high, outline %g, shadow %g" %
                   (style.image, size, style.height, style.outline, style.shadow))
        out.append("const int RectList%d[GLYPHS][4] = {" % style.table)
        for i, r in enumerate(rects):
            out.append("    {%d, %d, %d, %d},  // %d %s" % (r + (i, c_char_comment(codes[i]))))
        out.append("};")
        out.append("const int WidthList%d[GLYPHS] = {" % style.table)
        for i in range(0, GLYPHS, 10):
            out.append("    " + " ".join("%d," % a for a in advances[i:i + 10]) + "  // %d" % i)
        out.append("};")
    return "\n".join(out) + "\n"


def main():
    root = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
    if not os.path.exists(FONT_FILE):
        sys.exit("missing %s: apt-get install fonts-averia-serif-gwf" % FONT_FILE)
    codes = char_list()
    tables = []
    for style in FONTS:
        strip, rects, advances, size = make_font(style, codes)
        save_png(strip, os.path.join(root, "media", "images", style.image))
        tables.append((style, (size, rects, advances)))
    save_png(make_counter(), os.path.join(root, "media", "images", "fontcnt.png"))
    with open(os.path.join(root, "text", "fontmetrics.cpp"), "w", encoding="utf-8", newline="\n") as f:
        f.write(metrics_source(codes, tables))


if __name__ == "__main__":
    main()
