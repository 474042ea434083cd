"""The one look of the game, shared by every art script.

Light comes from the top left; shadows fall to the bottom right, about 3 px at
sprite size. Sprites carry a 1 px outline in dark warm brown, never pure black.
Chapters shift this palette; they do not replace it.
"""

import os

from PIL import Image, ImageChops, ImageFilter

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
IMAGES = os.path.join(ROOT, "media", "images")

# ---- the core palette (RGB) ---------------------------------------------------
SAND = (0xE8, 0xC2, 0x7A)
SANDSTONE = (0xC8, 0x95, 0x5A)
UMBER = (0x6B, 0x42, 0x26)
SHADOW = (0x3A, 0x24, 0x14)
GOLD = (0xF2, 0xC1, 0x4E)
LAPIS = (0x1E, 0x4F, 0xA0)
TURQUOISE = (0x2A, 0xA7, 0xA0)
TERRACOTTA = (0xB5, 0x52, 0x2E)
REED = (0x5E, 0x8C, 0x3A)
NIGHT = (0x1B, 0x15, 0x30)
IVORY = (0xF4, 0xE9, 0xD0)
OUTLINE = (0x2B, 0x1A, 0x0E)   # the 1 px line around every sprite

LIGHT_DIR = (-1, -1)           # light from the top left
SHADOW_OFFSET = (3, 3)         # drop shadow at sprite size, to the bottom right
SHADOW_ALPHA = 0.45

# The game's text face (Debian fonts-averia-serif-gwf, SIL Open Font License);
# the bitmap fonts are rendered from it too, so painted captions match them.
FONT_BOLD = "/usr/share/fonts/truetype/averia-gwf/AveriaSerifGWF-Bold.ttf"
FONT_REGULAR = "/usr/share/fonts/truetype/averia-gwf/AveriaSerifGWF-Regular.ttf"

# Chapter moods: (base tint, shadow tint) applied over the core palette.
CHAPTER_LIGHT = {
    1: {"name": "dunes at noon", "key": SAND, "accent": (0x7F, 0xB8, 0xE0), "dark": UMBER},
    2: {"name": "tombs by torchlight", "key": (0xD9, 0x8A, 0x3A), "accent": GOLD, "dark": SHADOW},
    3: {"name": "the river city at dusk", "key": TERRACOTTA, "accent": TURQUOISE, "dark": (0x4A, 0x2A, 0x22)},
    4: {"name": "the jackal god's temple at night", "key": (0x3C, 0x3A, 0x48), "accent": LAPIS, "dark": NIGHT},
}


def out_path(name):
    """The path of a file under media/images/, its folders made."""
    path = os.path.join(IMAGES, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    return path


def save(img, name):
    """Saves a PNG without time stamps, so a second run gives the same bytes."""
    img.save(out_path(name), "PNG", optimize=True)


def outline(img, color=OUTLINE, width=1):
    """Rings the opaque part of an RGBA sprite with the house outline."""
    alpha = img.getchannel("A")
    grown = alpha.filter(ImageFilter.MaxFilter(2 * width + 1))
    ring = ImageChops.subtract(grown, alpha)
    line = Image.new("RGBA", img.size, color + (0,))
    line.putalpha(ring)
    return Image.alpha_composite(line, img)


def drop_shadow(img, offset=SHADOW_OFFSET, alpha=SHADOW_ALPHA, blur=1.5):
    """Adds the soft bottom-right shadow under an RGBA sprite (same size)."""
    a = img.getchannel("A").point(lambda v: int(v * alpha))
    shadow = Image.new("RGBA", img.size, SHADOW + (0,))
    shifted = Image.new("L", img.size, 0)
    shifted.paste(a, offset)
    shadow.putalpha(shifted.filter(ImageFilter.GaussianBlur(blur)))
    return Image.alpha_composite(shadow, img)
