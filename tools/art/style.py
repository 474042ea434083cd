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


# ---- shared drawing helpers ------------------------------------------------------

def render_svg(svg, size, supersample=2):
    """Renders SVG text to an RGBA image of `size` (w, h) pixels.

    The SVG is drawn at `supersample` times the size and scaled down, which
    gives smoother edges than the renderer's own antialiasing at small sizes.
    """
    import io

    import cairosvg
    w, h = size
    png = cairosvg.svg2png(bytestring=svg.encode("utf-8"),
                           output_width=w * supersample, output_height=h * supersample)
    img = Image.open(io.BytesIO(png)).convert("RGBA")
    if supersample != 1:
        img = img.resize((w, h), Image.LANCZOS)
    return img


def hexc(rgb):
    """#rrggbb of an RGB tuple, for SVG sources."""
    return "#%02x%02x%02x" % tuple(int(max(0, min(255, c))) for c in rgb[:3])


def mix(a, b, t):
    """The colour t of the way from a to b."""
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# The player area of the main menu: the plaque at the bottom right that names the
# current player and opens the profiles when clicked. The menu background carries
# it in its normal look; the hover image is the same plaque lit (drawn at the same
# corner), so both come from this one function.
PLAYER_PLAQUE_POS = (425, 539)
PLAYER_PLAQUE_SIZE = (375, 61)


def player_plaque(lit=False):
    """The player-area plaque, RGBA, PLAYER_PLAQUE_SIZE; `lit` gives the hover look."""
    w, h = PLAYER_PLAQUE_SIZE
    stone = mix(SANDSTONE, GOLD, 0.35) if lit else SANDSTONE
    top = mix(stone, IVORY, 0.45)
    low = mix(stone, UMBER, 0.45)
    inset = mix(UMBER, SHADOW, 0.35) if not lit else mix(UMBER, TERRACOTTA, 0.35)
    glow = ('<rect x="64" y="13" width="300" height="36" rx="5" fill="none" '
            'stroke="%s" stroke-width="3" opacity="0.8"/>' % hexc(GOLD)) if lit else ""
    svg = f'''<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">
  <defs>
    <linearGradient id="st" x1="0" y1="0" x2="0.35" y2="1">
      <stop offset="0" stop-color="{hexc(top)}"/><stop offset="0.55" stop-color="{hexc(stone)}"/>
      <stop offset="1" stop-color="{hexc(low)}"/></linearGradient>
    <linearGradient id="in" x1="0" y1="0" x2="0" y2="1">
      <stop offset="0" stop-color="{hexc(mix(inset, SHADOW, 0.5))}"/>
      <stop offset="1" stop-color="{hexc(inset)}"/></linearGradient>
  </defs>
  <path d="M8 4 H{w - 2} V{h} H2 V10 Z" fill="url(#st)" stroke="{hexc(OUTLINE)}" stroke-width="2"/>
  <path d="M10 8 H{w - 4}" stroke="{hexc(mix(top, IVORY, 0.5))}" stroke-width="2" opacity="0.7"/>
  <rect x="64" y="13" width="300" height="36" rx="5" fill="url(#in)"
        stroke="{hexc(OUTLINE)}" stroke-width="1.5"/>
  <path d="M66 47 H362" stroke="{hexc(top)}" stroke-width="1.5" opacity="0.6"/>
  {glow}
  <g transform="translate(34 31)" fill="{hexc(mix(low, SHADOW, 0.3))}">
    <circle cx="0" cy="-9" r="6" fill="none" stroke="{hexc(mix(low, SHADOW, 0.3))}" stroke-width="3.2"/>
    <rect x="-1.8" y="-3" width="3.6" height="17" rx="1"/>
    <rect x="-9" y="0" width="18" height="3.6" rx="1"/>
  </g>
  <g transform="translate(33 30)" fill="{hexc(GOLD if lit else mix(top, GOLD, 0.4))}">
    <circle cx="0" cy="-9" r="6" fill="none" stroke="{hexc(GOLD if lit else mix(top, GOLD, 0.4))}" stroke-width="3.2"/>
    <rect x="-1.8" y="-3" width="3.6" height="17" rx="1"/>
    <rect x="-9" y="0" width="18" height="3.6" rx="1"/>
  </g>
</svg>'''
    return render_svg(svg, (w, h))
