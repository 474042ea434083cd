"""The one look of the game, shared by every art script.

Light comes from the top left; shadows fall to the bottom right, about 3 px at
sprite size. Sprites carry a 1 px outline in dark warm brown, never pure black.
Chapters shift this palette; they do not replace it.
"""

import os

from PIL import Image, ImageChops, ImageFilter

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", "..", ".."))
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


# ---- tablets, relief and painted captions ------------------------------------
# Every panel and button of the game is a tablet of sandstone or papyrus, lit
# from the top left. These helpers work on numpy float arrays (height x width x 3,
# values 0..255) and are shared by the menus, the dialogs and the menu scene.

import numpy as np
from PIL import ImageDraw, ImageFont
from scipy import ndimage

LIGHT = np.array([-1.0, -1.0, 1.4]) / np.linalg.norm([-1.0, -1.0, 1.4])

# The fill and ring of the bitmap fonts (tools/gen/gen_fonts.py), for painted captions.
CAPTION_TOP = (255, 247, 222)
CAPTION_BOTTOM = (238, 184, 82)
CAPTION_RING = (48, 27, 12)


def smooth_noise(w, h, sigma, seed):
    """Smooth noise in -1..1, the same for the same arguments."""
    rng = np.random.RandomState(seed)
    pad = int(3 * max(sigma if np.isscalar(sigma) else max(sigma), 1))
    n = ndimage.gaussian_filter(rng.rand(h + 2 * pad, w + 2 * pad), sigma, mode="wrap")
    n = n[pad:pad + h, pad:pad + w]
    n -= n.mean()
    m = np.abs(n).max()
    return n / m if m > 0 else n


def stone_texture(w, h, base=SANDSTONE, seed=1, grain=1.0):
    """Weathered sandstone: broad blotches, finer grain and a few dark pits."""
    col = np.empty((h, w, 3))
    col[:] = base
    f = (0.07 * smooth_noise(w, h, 18, seed) + 0.05 * smooth_noise(w, h, 5, seed + 1)
         + 0.035 * grain * smooth_noise(w, h, 0.8, seed + 2))
    rng = np.random.RandomState(seed + 3)
    pits = ndimage.gaussian_filter((rng.rand(h, w) > 0.999).astype(float), 1.1) * 2.0
    f -= np.clip(pits, 0, 0.12)
    return col * (1.0 + f)[..., None]


def papyrus_texture(w, h, base=IVORY, seed=7):
    """Papyrus: crossed layers of reed fibres over a warm, uneven sheet."""
    col = np.empty((h, w, 3))
    col[:] = base
    f = (0.045 * smooth_noise(w, h, (0.6, 14), seed) + 0.035 * smooth_noise(w, h, (14, 0.6), seed + 1)
         + 0.05 * smooth_noise(w, h, 25, seed + 2))
    col = col * (1.0 + f)[..., None]
    # Warmer, darker towards the edges, as old sheets are.
    yy, xx = np.mgrid[0:h, 0:w]
    e = np.minimum(np.minimum(xx, w - 1 - xx), np.minimum(yy, h - 1 - yy)).astype(float)
    edge = np.clip(1.0 - e / 40.0, 0, 1) ** 2
    tint = np.array(SANDSTONE, float)
    return col * (1 - 0.35 * edge[..., None]) + tint * (0.35 * edge[..., None]) * 0.9


def rounded_mask(w, h, rect, radius):
    """A boolean mask of size (h, w) holding a rounded rectangle (x0, y0, x1, y1), ends exclusive."""
    img = Image.new("L", (w, h), 0)
    x0, y0, x1, y1 = rect
    ImageDraw.Draw(img).rounded_rectangle((x0, y0, x1 - 1, y1 - 1), radius=radius, fill=255)
    return np.asarray(img) > 127


def relief(mask, bevel, height=1.0):
    """Light (-1..1, 0 on flat ground) of a shape raised (height > 0) or sunk (< 0) by its bevel."""
    d = ndimage.distance_transform_edt(mask)
    t = np.clip(d / float(bevel), 0, 1)
    hmap = (t * t * (3 - 2 * t)) * height * bevel
    hmap = ndimage.gaussian_filter(hmap, 0.7)
    gy, gx = np.gradient(hmap)
    n = np.dstack([-gx, -gy, np.ones_like(gx)])
    n /= np.linalg.norm(n, axis=2, keepdims=True)
    return (n @ LIGHT - LIGHT[2]) * mask


def shade(col, light, strength=0.9):
    """Brightens lit slopes and darkens the others."""
    k = np.where(light > 0, 1.0 + strength * light, 1.0 + strength * 1.2 * light)
    return col * k[..., None]


def cast_shadow(mask, offset=3, blur=1.5):
    """Inside a sunk shape, the shade its top-left rim throws to the bottom right (0..1)."""
    shifted = np.zeros_like(mask)
    shifted[offset:, offset:] = mask[:-offset, :-offset]
    s = ndimage.gaussian_filter((mask & ~shifted).astype(float), blur)
    return np.clip(s * 1.6, 0, 1) * mask


def blend(col, colour, amount):
    """Mixes a colour into col by a per-pixel amount (0..1)."""
    a = amount[..., None] if np.ndim(amount) == 2 else amount
    return col * (1 - a) + np.array(colour, float) * a


def warm_light(col, mask, amount=1.0):
    """The lit look of a tablet: the same stone, brighter and warmer, glowing from inside."""
    m = mask.astype(float)
    glow = ndimage.gaussian_filter(m, 8) * m
    out = col * (1 + 0.22 * amount * m)[..., None]
    out = blend(out, (255, 200, 90), 0.42 * amount * glow)
    # A bright rim just inside the edge, as if the tablet caught the sun.
    rim = m - ndimage.binary_erosion(mask, iterations=3)
    out = blend(out, (255, 236, 170), 0.5 * amount * ndimage.gaussian_filter(rim, 1.0) * m)
    return out


def to_image(col, alpha=None):
    """An RGBA image from a float colour array and an optional alpha (0..1 or bool)."""
    rgb = np.clip(col + 0.5, 0, 255).astype(np.uint8)
    h, w = rgb.shape[:2]
    if alpha is None:
        a = np.full((h, w), 255, np.uint8)
    else:
        a = np.clip(np.asarray(alpha, float) * 255 + 0.5, 0, 255).astype(np.uint8)
    return Image.fromarray(np.dstack([rgb, a]), "RGBA")


def from_image(img):
    """Float colour and alpha (0..1) arrays of an RGBA image."""
    a = np.asarray(img.convert("RGBA"), float)
    return a[..., :3].copy(), a[..., 3] / 255.0


def paint_ring(col, mask, colour=OUTLINE, width=1):
    """The house outline along the inside of a shape's edge."""
    inner = ndimage.binary_erosion(mask, iterations=width)
    ring = mask & ~inner
    col[ring] = colour
    return col


def tablet(w, h, radius=8, bevel=5, material="stone", seed=11, lit=0.0, base=None):
    """A raised tablet of w x h pixels, outlined, opaque inside its rounded shape.

    Returns (colour array, mask). lit 0..1 gives the hover look: the same shape and
    stone, lit warmer."""
    mask = rounded_mask(w, h, (0, 0, w, h), radius)
    if material == "papyrus":
        col = papyrus_texture(w, h, base or IVORY, seed)
    else:
        col = stone_texture(w, h, base or SANDSTONE, seed)
    col = shade(col, relief(mask, bevel), 0.8)
    if lit:
        col = warm_light(col, mask, lit)
    col = paint_ring(col, mask)
    return col, mask


def caption(text, size, fill_top=CAPTION_TOP, fill_bottom=CAPTION_BOTTOM, ring=CAPTION_RING,
            ring_width=None, shadow=None, font=FONT_BOLD, tracking=0):
    """Text painted like the bitmap fonts: ivory to gold, ringed in dark brown, a soft shadow."""
    scale = 4
    f = ImageFont.truetype(font, size * scale)
    ring_width = ring_width if ring_width is not None else max(1.0, size / 14.0)
    shadow = shadow if shadow is not None else max(1.0, size / 16.0)
    # Lay the letters out one by one so tracking can open up engraved titles.
    widths = [f.getlength(ch) + tracking * scale for ch in text]
    asc, desc = f.getmetrics()
    pad = int((ring_width + shadow) * scale) + 2 * scale
    W = int(sum(widths)) + 2 * pad
    H = asc + desc + 2 * pad
    m = Image.new("L", (W, H), 0)
    d = ImageDraw.Draw(m)
    x = pad
    for ch, cw in zip(text, widths):
        d.text((x, pad), ch, font=f, fill=255)
        x += cw
    mask = np.asarray(m, float) / 255.0
    rw = ring_width * scale
    yy, xx = np.mgrid[-int(rw) - 1:int(rw) + 2, -int(rw) - 1:int(rw) + 2]
    disc = (xx * xx + yy * yy) <= rw * rw
    ringm = ndimage.grey_dilation(mask, footprint=disc)
    off = int(round(shadow * scale))
    shade_m = np.zeros_like(ringm)
    if off > 0:
        shade_m[off:, off:] = ringm[:-off, :-off]
    # Fill gradient from cap line to baseline.
    top, bottom = pad + int(asc * 0.25), pad + asc
    t = np.clip((np.arange(H) - top) / float(max(1, bottom - top)), 0, 1)[:, None]
    fill = np.array(fill_top, float) * (1 - t[..., None]) + np.array(fill_bottom, float) * t[..., None]
    fill = np.broadcast_to(fill, (H, W, 3))
    col = np.zeros((H, W, 3))
    alpha = shade_m * 0.55
    col[:] = (0, 0, 0)
    col = blend(col, ring, ringm)
    alpha = ringm + alpha * (1 - ringm)
    col = col * (1 - mask[..., None]) + fill * mask[..., None]
    img = to_image(col, alpha)
    img = img.resize((W // scale, H // scale), Image.LANCZOS)
    return img.crop(img.getbbox())


def paste_centred(img, sprite, cx, cy):
    """Alpha-composites a sprite with its centre at (cx, cy)."""
    img.alpha_composite(sprite, (int(round(cx - sprite.width / 2.0)), int(round(cy - sprite.height / 2.0))))


def rim_light(img, depth=3, light=0.16, shade=0.26, blur=1.5):
    """Gives a flat sprite its volume: edges facing the top-left light are lit,
    edges facing away fall into shade. Works on the whole silhouette, so the
    figure reads round while each part keeps its own shading."""
    import numpy as np
    a = np.asarray(img).astype(np.float32)
    alpha = a[..., 3] / 255.0
    h, w = alpha.shape

    def shifted(dx, dy):
        out = np.zeros_like(alpha)
        xs, xd = (slice(dx, w), slice(0, w - dx)) if dx >= 0 else (slice(0, w + dx), slice(-dx, w))
        ys, yd = (slice(dy, h), slice(0, h - dy)) if dy >= 0 else (slice(0, h + dy), slice(-dy, h))
        out[yd, xd] = alpha[ys, xs]
        return out

    def soft(m):
        im = Image.fromarray(np.clip(m * 255, 0, 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(blur))
        return np.asarray(im, np.float32) / 255.0

    dark = soft(alpha * (1 - shifted(depth, depth))) * alpha
    lit = soft(alpha * (1 - shifted(-depth, -depth))) * alpha
    rgb = a[..., :3]
    rgb = rgb * (1 - dark[..., None] * shade)
    rgb = rgb + (255 - rgb) * (lit[..., None] * light)
    a[..., :3] = rgb
    return Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), "RGBA")


def pad(img, n):
    """The RGBA image with n clear pixels added round it (room for a shadow)."""
    out = Image.new("RGBA", (img.width + 2 * n, img.height + 2 * n), (0, 0, 0, 0))
    out.alpha_composite(img, (n, n))
    return out


def lay(base, layer, xy, margin=6, blur=2.5):
    """Lays an RGBA layer on `base` at xy with its soft bottom-right shadow."""
    base.alpha_composite(drop_shadow(pad(layer, margin), blur=blur), (xy[0] - margin, xy[1] - margin))
    base.alpha_composite(layer, xy)


def flame_svg(x, y, scale=1.0):
    """A torch or fire flame, its foot at (x, y), 44 * scale px tall, as SVG."""
    return (f'<g transform="translate({x:.1f} {y:.1f}) scale({scale:.2f})">'
            '<path d="M0 0 q-18 -20 -2 -44 q2 16 10 10 q6 20 -8 34 z" fill="#f7a032" stroke="#c0501e" stroke-width="1.5"/>'
            '<path d="M0 -2 q-8 -10 0 -24 q6 12 2 24 z" fill="#fff0a0"/></g>')
