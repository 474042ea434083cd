#!/usr/bin/python3
"""Makes the desktop icons: the hero's head on a sky tile, at 16, 32, 48, 64,
128 and 256 pixels, in dist/icons/NxN/APP_ID.png, named after the
application id the desktop entry and the metainfo use.

The head is drawn from the same model as the game's window icon and HUD
portrait (tools/gen/art/hero.py), each size rendered on its own so that small
icons stay sharp. A second run gives byte-identical files.

Usage (Debian packages python3-pil, python3-cairosvg):
    /usr/bin/python3 tools/gen/gen_icons.py
"""

import os
import sys

from PIL import Image, ImageDraw

HERE = os.path.dirname(os.path.abspath(__file__))
APP_ID = "io.github.tovi_mudgrove.tovi_mudgrove"
sys.path.insert(0, os.path.join(HERE, "art"))

import hero  # noqa: E402
import style  # noqa: E402

SIZES = (16, 32, 48, 64, 128, 256)
OUT = os.path.join(HERE, "..", "..", "dist", "icons")

SKY = (0x7F, 0xB8, 0xE0)
# The part of the hero's frame the icon shows: hat brim to chin, a little more
# at large sizes, where there is room for the bandana.
HEAD_VIEW_SMALL = (62, 16, 126, 126)
HEAD_VIEW_LARGE = (54, 8, 142, 142)


def tile(size):
    """The rounded sky tile under the head: noon sky fading to sand, ringed in
    sandstone and the house outline."""
    ss = 4
    big = size * ss
    grad = Image.new("RGBA", (big, big))
    top = style.mix(SKY, style.IVORY, 0.15)
    for y in range(big):
        c = style.mix(top, style.SAND, (y / (big - 1)) ** 1.6)
        grad.paste(c + (255,), (0, y, big, y + 1))
    radius = big * 0.2
    ring = max(ss, int(round(big * 0.035)))
    mask = Image.new("L", (big, big), 0)
    ImageDraw.Draw(mask).rounded_rectangle((0, 0, big - 1, big - 1), radius, fill=255)
    edge = Image.new("RGBA", (big, big), style.OUTLINE + (0,))
    edge.putalpha(mask)
    inner = Image.new("L", (big, big), 0)
    ImageDraw.Draw(inner).rounded_rectangle((ring, ring, big - 1 - ring, big - 1 - ring),
                                            radius - ring, fill=255)
    stone = Image.new("RGBA", (big, big), style.SANDSTONE + (0,))
    stone.putalpha(inner)
    face = Image.new("L", (big, big), 0)
    r2 = 2 * ring
    ImageDraw.Draw(face).rounded_rectangle((r2, r2, big - 1 - r2, big - 1 - r2), radius - r2, fill=255)
    grad.putalpha(face)
    img = Image.alpha_composite(Image.alpha_composite(edge, stone), grad)
    return img.resize((size, size), Image.LANCZOS)


def icon(size):
    view = HEAD_VIEW_SMALL if size <= 32 else HEAD_VIEW_LARGE
    img = tile(size)
    inset = max(1, size // 16)
    inner = size - 2 * inset
    fig = hero.render_hero(hero.pose(), (inner, inner), view, ground_shadow=False,
                           supersample=max(2, 512 // size))
    fig = style.outline(fig, width=max(1, size // 64))
    # The head sits inside the tile; what reaches past its rounded face is cut.
    layer = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    layer.paste(fig, (inset, inset))
    alpha = Image.eval(img.getchannel("A"), lambda a: 255 if a > 250 else a)
    cut = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    cut.paste(layer, (0, 0), alpha)
    return Image.alpha_composite(img, Image.composite(layer, cut, alpha.point(lambda a: 255 if a == 255 else 0)))


def main():
    for size in SIZES:
        folder = os.path.join(OUT, "%dx%d" % (size, size))
        os.makedirs(folder, exist_ok=True)
        icon(size).save(os.path.join(folder, APP_ID + ".png"), "PNG", optimize=True)


if __name__ == "__main__":
    main()
