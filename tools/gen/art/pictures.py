"""The story, chapter, relic, map and ending pictures.

Every picture is put together from the same layers as the menu scene (sky,
dunes, ruins, the camel from scene.py, the hero from hero.py) plus the places
of the later chapters made here: the torchlit tomb, the river city at dusk and
the jackal god's temple at night. So the ten pictures are one world seen in
four lights, with one hero in it.

Each picture keeps its bottom right calm, where the forward button sits at
(660, 500), 113 x 75; captions and titles sit on papyrus strips at the top.

Makes kadar1..10.png, ashcrystal_0..5.png and map_background.png.
"""

import math
import random

import numpy as np
from PIL import Image, ImageDraw, ImageFilter

import hero
import scene
import style
from ui import BIG_DOT, SMALL_DOT
from scene import H, LINE, W, lin, paint_dune, paste, ridge, sky, svg_layer, to_img
from style import hexc, mix

GOLD = style.GOLD
BASALT = (0x2E, 0x2C, 0x36)
MOON = (0xF2, 0xF0, 0xE0)
TORCH = (0xFF, 0xA8, 0x3C)
TEAL = (0x1F, 0x7E, 0x84)
BRICK = (0xA8, 0x6E, 0x48)

FORWARD_BOX = (650, 490, 790, 590)   # kept calm in every picture


# ---- shared pieces ------------------------------------------------------------------


def put_hero(img, p, foot_x, foot_y, height, view=None, tint=None):
    """Stands the hero in pose p with his boots at (foot_x, foot_y), `height` px tall."""
    vx, vy, vw, vh = view or (0, 0) + hero.FRAME
    scale = height / 400.0
    size = (int(round(vw * scale)), int(round(vh * scale)))
    fig = style.outline(hero.render_hero(p, size, (vx, vy, vw, vh)))
    if tint:
        fig = tinted(fig, tint[0], tint[1])
    # his feet are at x 125, y 395 of the model's frame
    x = int(round(foot_x - (125 - vx) * scale))
    y = int(round(foot_y - (395 - vy) * scale))
    img.alpha_composite(fig, (x, y))


def put_camel(img, x, y, scale=1.0, phase=None, tint=None):
    body, defs = scene.camel_svg(phase)
    fw, fh = scene.CAMEL_FRAME
    size = (int(fw * scale), int(fh * scale))
    c = style.outline(svg_layer(f'<g transform="scale({scale})">{body}</g>', size, defs, supersample=2))
    if tint:
        c = tinted(c, tint[0], tint[1])
    img.alpha_composite(c, (int(x), int(y)))


def tinted(layer, color, amount):
    """The layer washed towards `color` (for night or dusk light), alpha kept."""
    a = np.asarray(layer).astype(np.float32)
    a[..., :3] = a[..., :3] * (1 - amount) + np.asarray(color, np.float32) * amount
    return Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), "RGBA")


def light_pool(img, centre, radius, color, strength=0.5):
    """Adds warm light around a torch or the relic (screen blend)."""
    a = np.asarray(img.convert("RGB")).astype(np.float32)
    yy, xx = np.mgrid[0:img.height, 0:img.width].astype(np.float32)
    d = np.sqrt((xx - centre[0]) ** 2 + (yy - centre[1]) ** 2) / radius
    g = np.clip(1 - d, 0, 1) ** 2 * strength
    c = np.asarray(color, np.float32)
    a = 255 - (255 - a) * (1 - g[..., None] * c / 255.0)
    out = Image.fromarray(np.clip(a, 0, 255).astype(np.uint8)).convert("RGBA")
    img.paste(out, (0, 0))


def vignette(img, strength=0.45, color=(0, 0, 0)):
    a = np.asarray(img.convert("RGB")).astype(np.float32)
    yy, xx = np.mgrid[0:img.height, 0:img.width].astype(np.float32)
    d = np.sqrt(((xx - img.width / 2) / (img.width / 2)) ** 2 + ((yy - img.height / 2) / (img.height / 2)) ** 2)
    k = np.clip((d - 0.55) / 0.9, 0, 1) ** 1.5 * strength
    a = a * (1 - k[..., None]) + np.asarray(color, np.float32) * k[..., None]
    img.paste(Image.fromarray(np.clip(a, 0, 255).astype(np.uint8)).convert("RGBA"), (0, 0))


def papyrus_strip(size, seed=1):
    """A strip of papyrus with rolled ends, lit from the top left."""
    w, h = size
    paper = mix(style.IVORY, style.SAND, 0.35)
    defs = (lin("pap", mix(paper, style.IVORY, 0.5), mix(paper, style.SANDSTONE, 0.35), 0.3, 1.0, paper)
            + lin("roll", mix(paper, style.IVORY, 0.4), mix(paper, style.UMBER, 0.5), 1.0, 0.0))
    body = (f'<path d="M14 6 Q{w / 2} 0 {w - 14} 6 L{w - 14} {h - 6} Q{w / 2} {h} 14 {h - 6} Z" fill="url(#pap)" stroke="{LINE}" stroke-width="2"/>'
            f'<rect x="2" y="2" width="16" height="{h - 4}" rx="7" fill="url(#roll)" stroke="{LINE}" stroke-width="2"/>'
            f'<rect x="{w - 18}" y="2" width="16" height="{h - 4}" rx="7" fill="url(#roll)" stroke="{LINE}" stroke-width="2"/>')
    img = svg_layer(body, size, defs)
    # papyrus fibres: faint crossing strands
    a = np.asarray(img).astype(np.float32)
    rng = np.random.RandomState(seed)
    fib = (rng.rand(h, 1) * 0.6 + rng.rand(1, w) * 0.4)
    fib = np.asarray(Image.fromarray((fib * 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(0.6)), np.float32) / 255.0
    a[..., :3] *= (0.93 + 0.07 * fib)[..., None]
    img = Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), "RGBA")
    return scene.grain(img, 4, seed)


def text_on(img, xy, text, size, color, bold=True, shadow=None, anchor="la", spacing=4):
    d = ImageDraw.Draw(img)
    f = scene.font(size, bold)
    if shadow:
        d.multiline_text((xy[0] + 2, xy[1] + 2), text, font=f, fill=shadow, anchor=anchor, spacing=spacing, align="center")
    d.multiline_text(xy, text, font=f, fill=color, anchor=anchor, spacing=spacing, align="center")


def caption(img, text, y=22, width=640, size=21):
    """A story caption on a papyrus strip across the top, centred."""
    lines = text.count("\n") + 1
    h = 26 + lines * (size + 6)
    strip = papyrus_strip((width, h), seed=len(text))
    x = (W - width) // 2
    style.lay(img, strip, (x, y))
    text_on(img, (W // 2, y + h // 2), text, size, style.UMBER + (255,), anchor="mm", spacing=6)


def title(img, chapter, name, y=26):
    """A chapter title: the number small, the name large, on papyrus."""
    width, h = 520, 92
    strip = papyrus_strip((width, h), seed=chapter)
    x = (W - width) // 2
    style.lay(img, strip, (x, y))
    text_on(img, (W // 2, y + 26), "Chapter %d" % chapter, 20, style.TERRACOTTA + (255,), anchor="mm")
    text_on(img, (W // 2, y + 60), name, 34, style.UMBER + (255,), anchor="mm", shadow=mix(style.SAND, style.IVORY, 0.3) + (255,))


def rgba(a):
    return to_img(a).convert("RGBA")


# ---- the world's places ------------------------------------------------------------


def dunes_at(sky_top, sky_low, sand, sun, horizon=300, seed=0, pyramids=True):
    """Open desert: a sky, far pyramids and three bands of dunes."""
    a = sky(W, H, sky_top, sky_low, horizon + 10, sun=sun)
    if pyramids:
        paste(a, scene.pyramids(horizon + 4, mix(style.SANDSTONE, sky_low, 0.45), sky_low,
                                [(560 - seed * 40, 46, 52), (628 - seed * 40, 30, 34), (500 - seed * 40, 22, 24)]))
    paint_dune(a, ridge(W, 5 + seed, horizon, 10, 3), mix(sand, sky_low, 0.35), 0.2, 0.1, 40)
    paint_dune(a, ridge(W, 8 + seed, horizon + 40, 16, 3), mix(sand, sky_low, 0.15), 0.3, 0.15, 50)
    paint_dune(a, ridge(W, 9 + seed, horizon + 100, 22, 2), sand, 0.32, 0.2, 70, 0.04, 4 + seed)
    paint_dune(a, ridge(W, 12 + seed, horizon + 190, 18, 2), mix(sand, style.IVORY, 0.06), 0.32, 0.22, 90, 0.05, 5 + seed)
    return a


def stars(a, seed, count=160, top=0, bottom=320):
    rng = random.Random(seed)
    for _ in range(count):
        x, y = rng.randrange(W), rng.randrange(top, bottom)
        b = rng.uniform(0.35, 1.0)
        a[y, x] = a[y, x] * (1 - b) + np.asarray(MOON, np.float32) * b
        if rng.random() < 0.12 and 0 < x < W - 1 and 0 < y < H - 1:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                a[y + dy, x + dx] = a[y + dy, x + dx] * 0.6 + np.asarray(MOON, np.float32) * 0.4


def tomb_hall(torches=((150, 190), (650, 190)), seed=2):
    """A torchlit burial hall: carved limestone walls, a painted frieze, a sarcophagus."""
    stone = (0xB8, 0x8A, 0x58)
    a = np.zeros((H, W, 3), np.float32) + np.asarray(mix(stone, style.SHADOW, 0.45), np.float32)
    n = scene.smooth_noise(W, H, 60, seed)
    a *= (0.85 + 0.3 * n)[..., None]
    body = []
    # back wall of blocks
    for row, y in enumerate(range(40, 420, 38)):
        body.append(f'<path d="M0 {y} H{W}" stroke="{hexc(style.SHADOW)}" stroke-width="2" opacity="0.6"/>')
        body.append(f'<path d="M0 {y + 2} H{W}" stroke="{hexc(mix(stone, style.IVORY, 0.2))}" stroke-width="1" opacity="0.35"/>')
        for x in range(-40 + (row % 2) * 45, W, 90):
            body.append(f'<path d="M{x} {y} V{y + 38}" stroke="{hexc(style.SHADOW)}" stroke-width="2" opacity="0.5"/>')
    # the painted frieze: a band of figures and glyphs
    body.append(f'<rect x="0" y="118" width="{W}" height="56" fill="{hexc(mix(stone, style.IVORY, 0.15))}" opacity="0.55"/>')
    body.append(f'<path d="M0 118 H{W} M0 174 H{W}" stroke="{hexc(style.LAPIS)}" stroke-width="5"/>')
    rng = random.Random(seed)
    for x in range(20, W, 54):
        k = rng.randint(0, 3)
        c = [style.TERRACOTTA, style.LAPIS, style.TURQUOISE, style.UMBER][k]
        if k == 0:   # a walking figure
            body.append(f'<circle cx="{x + 12}" cy="130" r="5" fill="{hexc(c)}"/><path d="M{x + 12} 136 L{x + 8} 156 L{x + 4} 170 M{x + 12} 136 L{x + 16} 156 L{x + 22} 170 M{x + 4} 144 L{x + 22} 142" stroke="{hexc(c)}" stroke-width="3.5" fill="none"/>')
        elif k == 1:  # an eye
            body.append(f'<path d="M{x} 146 Q{x + 14} 132 {x + 28} 146 Q{x + 14} 156 {x} 146 Z" fill="none" stroke="{hexc(c)}" stroke-width="3"/><circle cx="{x + 14}" cy="145" r="4" fill="{hexc(c)}"/>')
        elif k == 2:  # an ankh
            body.append(f'<ellipse cx="{x + 14}" cy="134" rx="6" ry="8" fill="none" stroke="{hexc(c)}" stroke-width="3.5"/><path d="M{x + 14} 142 V168 M{x + 4} 148 H{x + 24}" stroke="{hexc(c)}" stroke-width="3.5"/>')
        else:        # a bird
            body.append(f'<path d="M{x + 2} 160 Q{x + 14} 130 {x + 26} 150 L{x + 30} 146 L{x + 28} 156 Q{x + 16} 166 {x + 2} 160 Z" fill="{hexc(c)}"/>')
    # floor
    body.append(f'<path d="M0 420 H{W} V{H} H0 Z" fill="url(#floor)"/>')
    body.append(f'<path d="M0 420 H{W}" stroke="{hexc(style.SHADOW)}" stroke-width="3"/>')
    # pillars at the sides
    for px in (30, 690):
        body.append(f'<rect x="{px}" y="0" width="80" height="440" fill="url(#pil)" stroke="{LINE}" stroke-width="2"/>')
        for gy in range(60, 420, 44):
            body.append(f'<path d="M{px + 14} {gy} h52" stroke="{hexc(mix(stone, style.SHADOW, 0.4))}" stroke-width="2.5"/>')
            body.append(f'<circle cx="{px + 40}" cy="{gy + 18}" r="6" fill="none" stroke="{hexc(mix(stone, style.SHADOW, 0.4))}" stroke-width="2.5"/>')
    # torches in wall brackets
    for tx, ty in torches:
        body.append(f'<path d="M{tx - 8} {ty + 40} L{tx + 8} {ty + 40} L{tx + 4} {ty} L{tx - 4} {ty} Z" fill="{hexc(style.UMBER)}" stroke="{LINE}" stroke-width="1.6"/>'
                    f'<path d="M{tx - 12} {ty + 2} h24 l-4 -8 h-16 z" fill="{hexc((0x9A, 0x70, 0x40))}" stroke="{LINE}" stroke-width="1.5"/>'
                    + style.flame_svg(tx, ty - 6))
    defs = (lin("floor", mix(stone, style.SHADOW, 0.25), mix(stone, style.SHADOW, 0.7), 0, 1)
            + lin("pil", mix(stone, style.IVORY, 0.1), mix(stone, style.SHADOW, 0.5), 1.0, 0.0, stone))
    paste(a, svg_layer("".join(body), defs=defs))
    img = rgba(a)
    for tx, ty in torches:
        light_pool(img, (tx, ty - 20), 330, TORCH, 0.55)
    return img


def sarcophagus(img, x, y, scale=1.0):
    gold = GOLD
    body = (f'<g transform="translate({x} {y}) scale({scale})">'
            f'<path d="M-90 60 L90 60 L100 110 L-100 110 Z" fill="url(#sarcb)" stroke="{LINE}" stroke-width="2"/>'
            f'<path d="M-92 60 Q-96 10 -60 0 L60 0 Q96 10 92 60 Z" fill="url(#sarct)" stroke="{LINE}" stroke-width="2"/>'
            f'<ellipse cx="-62" cy="30" rx="18" ry="22" fill="{hexc(mix(gold, style.IVORY, 0.2))}" stroke="{LINE}" stroke-width="1.8"/>'
            f'<path d="M-80 18 Q-62 -2 -44 18 L-40 50 L-84 50 Z" fill="{hexc(style.LAPIS)}" stroke="{LINE}" stroke-width="1.6" opacity="0.9"/>'
            f'<ellipse cx="-62" cy="30" rx="12" ry="15" fill="{hexc(mix(gold, style.IVORY, 0.3))}" stroke="{LINE}" stroke-width="1.4"/>'
            f'<path d="M-68 27 h5 M-59 27 h5 M-64 36 q2 2 4 0" stroke="{LINE}" stroke-width="1.5" fill="none"/>'
            + "".join(f'<path d="M{-36 + k * 16} 8 V54" stroke="{hexc(style.LAPIS if k % 2 else style.TURQUOISE)}" stroke-width="5"/>' for k in range(7)) +
            f'<path d="M-100 110 L100 110" stroke="{hexc(style.SHADOW)}" stroke-width="3"/>'
            "</g>")
    defs = (lin("sarct", mix(gold, style.IVORY, 0.35), mix(gold, style.UMBER, 0.45), 0.7, 1.0, gold)
            + lin("sarcb", mix(gold, style.UMBER, 0.2), mix(gold, style.SHADOW, 0.55), 0.7, 1.0))
    img.alpha_composite(svg_layer(body, defs=defs))


def river_city(seed=3):
    """The city on the river at dusk: mud-brick walls and a pylon gate across the water."""
    top, low = (0x3A, 0x2C, 0x5C), (0xF0, 0x9A, 0x58)
    a = sky(W, H, top, low, 300, sun=(560, 268, 30), sun_color=(255, 220, 150), glow=0.7)
    body = []
    far = mix(BRICK, top, 0.35)
    # the city skyline on the far bank
    rng = random.Random(seed)
    x = 0
    while x < W:
        bw = rng.randint(40, 80)
        bh = rng.randint(30, 80)
        c = mix(far, low, rng.uniform(0.0, 0.2))
        body.append(f'<rect x="{x}" y="{300 - bh}" width="{bw}" height="{bh + 10}" fill="{hexc(c)}" stroke="{hexc(mix(far, style.SHADOW, 0.4))}" stroke-width="1.5"/>')
        for wx in range(x + 8, x + bw - 8, 14):
            if rng.random() < 0.5:
                body.append(f'<rect x="{wx}" y="{300 - bh + 10}" width="5" height="8" fill="#ffd38a" opacity="0.9"/>')
        x += bw - 4
    # the pylon gate with its flags
    body.append(f'<path d="M300 300 L312 176 L372 176 L384 300 Z M416 300 L428 176 L488 176 L500 300 Z" fill="url(#pylon)" stroke="{LINE}" stroke-width="2"/>'
                f'<rect x="378" y="214" width="44" height="86" fill="{hexc(mix(far, style.SHADOW, 0.3))}" stroke="{LINE}" stroke-width="2"/>'
                f'<path d="M378 222 h44" stroke="{hexc(GOLD)}" stroke-width="4"/>')
    for fx in (318, 366, 434, 482):
        body.append(f'<path d="M{fx} 176 V122" stroke="{LINE}" stroke-width="3"/><path d="M{fx} 124 q14 4 22 12 q-10 0 -22 -2 z" fill="{hexc(style.TERRACOTTA)}"/>')
    # an obelisk and palms
    body.append(f'<path d="M230 300 L236 150 L242 142 L248 150 L254 300 Z" fill="url(#pylon)" stroke="{LINE}" stroke-width="1.8"/>')
    for px, ph in ((120, 70), (170, 56), (610, 64), (700, 80)):
        body.append(_palm(px, 300, ph, mix(style.REED, top, 0.35)))
    body.append(f'<rect x="0" y="296" width="{W}" height="12" fill="{hexc(mix(BRICK, style.SHADOW, 0.4))}"/>')
    defs = lin("pylon", mix(BRICK, low, 0.35), mix(BRICK, style.SHADOW, 0.35), 1.0, 0.3, mix(BRICK, top, 0.1))
    paste(a, svg_layer("".join(body), defs=defs))
    # the river: the sky mirrored, darkened and rippled
    water = np.flipud(a[140:300]).copy()
    water = np.asarray(to_img(water).filter(ImageFilter.BoxBlur(3)).resize((W, 160)), np.float32)
    water = np.asarray(Image.fromarray(np.clip(water, 0, 255).astype(np.uint8)).filter(ImageFilter.GaussianBlur(2)), np.float32)
    water = water * 0.55 + np.asarray(TEAL, np.float32) * 0.45
    rows = water.shape[0]
    yy = np.arange(rows, dtype=np.float32)[:, None]
    xx = np.arange(W, dtype=np.float32)[None, :]
    shift = (np.sin(xx * 0.03 + yy * 0.7) * (0.5 + yy * 0.02)).astype(np.int32)
    idx = np.clip(np.arange(W)[None, :] + shift, 0, W - 1)
    water = np.take_along_axis(water, np.repeat(idx[..., None], 3, axis=2), axis=1)
    streak = (np.sin(yy * 1.7 + np.sin(xx * 0.02) * 3) > 0.85) * np.clip(1 - np.abs(xx - 560) / 90, 0, 1) * 0.5
    water = water * (1 - streak[..., None]) + np.asarray((255, 210, 140), np.float32) * streak[..., None]
    a[308:308 + rows] = water
    # the near bank
    paint_dune(a, ridge(W, 40 + seed, 470, 12, 2), mix(style.SANDSTONE, BRICK, 0.3), 0.3, 0.15, 60, 0.0)
    img = rgba(a)
    return img


def _palm(x, base, h, color):
    trunk = hexc(mix(color, style.UMBER, 0.6))
    s = f'<path d="M{x} {base} Q{x + 6} {base - h / 2} {x + 2} {base - h}" stroke="{trunk}" stroke-width="5" fill="none"/>'
    for a in (-150, -115, -65, -30, -90):
        r = math.radians(a)
        ex, ey = x + 2 + math.cos(r) * h * 0.45, base - h - math.sin(-r) * h * 0.25 * -1
        s += (f'<path d="M{x + 2} {base - h} Q{(x + 2 + ex) / 2} {base - h - 14} {ex:.1f} {ey + 12:.1f}" '
              f'stroke="{hexc(color)}" stroke-width="6" fill="none" stroke-linecap="round"/>')
    return s


def reeds(x0, x1, base, height, color, seed):
    rng = random.Random(seed)
    s = []
    for _ in range(int((x1 - x0) / 4)):
        x = rng.uniform(x0, x1)
        h = rng.uniform(0.5, 1.0) * height
        lean = rng.uniform(-10, 10)
        c = mix(color, style.SHADOW, rng.uniform(0, 0.4))
        s.append(f'<path d="M{x:.1f} {base} Q{x + lean / 2:.1f} {base - h / 2:.1f} {x + lean:.1f} {base - h:.1f}" stroke="{hexc(c)}" stroke-width="2.4" fill="none" stroke-linecap="round"/>')
        if rng.random() < 0.3:
            s.append(f'<ellipse cx="{x + lean:.1f}" cy="{base - h - 4:.1f}" rx="3" ry="7" fill="{hexc(mix(style.UMBER, color, 0.3))}"/>')
    return "".join(s)


def felucca(x, y, scale=1.0, color=(0x5A, 0x3A, 0x28)):
    return (f'<g transform="translate({x} {y}) scale({scale})">'
            f'<path d="M-60 0 Q0 22 60 0 L48 -6 L-50 -6 Z" fill="{hexc(color)}" stroke="{LINE}" stroke-width="2"/>'
            f'<path d="M0 -6 L0 -120" stroke="{LINE}" stroke-width="3"/>'
            f'<path d="M2 -118 Q50 -60 40 -10 L2 -10 Z" fill="{hexc(mix(style.IVORY, (0xF0, 0x9A, 0x58), 0.3))}" stroke="{LINE}" stroke-width="2"/>'
            "</g>")


def night_sky(seed=4, moon=(742, 64, 30)):
    top, low = (0x0E, 0x0C, 0x22), (0x2E, 0x3A, 0x6E)
    a = sky(W, H, top, low, 330, sun=moon, sun_color=MOON, glow=0.3)
    stars(a, seed)
    # the moon's shaded side
    mx, my, r = moon
    yy, xx = np.mgrid[0:H, 0:W].astype(np.float32)
    d = np.sqrt((xx - mx - r * 0.45) ** 2 + (yy - my - r * 0.35) ** 2)
    shade = np.clip((r * 0.95 - d) / 3, 0, 1) * (np.sqrt((xx - mx) ** 2 + (yy - my) ** 2) < r) * 0.22
    a *= (1 - shade[..., None])
    return a


def jackal_statue(x, y, scale=1.0):
    """The jackal-headed god seated on his throne, black basalt inlaid with gold."""
    b, g = BASALT, GOLD
    return (f'<g transform="translate({x} {y}) scale({scale})">'
            # throne
            f'<path d="M-70 0 L70 0 L70 -150 L40 -150 L40 -60 L-70 -60 Z" fill="url(#bas)" stroke="{LINE}" stroke-width="2"/>'
            f'<path d="M-66 -8 H66 M-66 -52 H36" stroke="{hexc(g)}" stroke-width="3"/>'
            # legs and lap
            f'<path d="M-40 -60 L20 -60 L22 0 L4 0 L2 -40 L-22 -40 L-20 0 L-38 0 Z" fill="url(#bas)" stroke="{LINE}" stroke-width="2"/>'
            f'<path d="M-44 -100 L30 -100 L30 -60 L-44 -60 Z" fill="url(#bas)" stroke="{LINE}" stroke-width="2"/>'
            f'<path d="M-44 -72 H30" stroke="{hexc(g)}" stroke-width="4"/>'
            # torso and arms
            f'<path d="M-30 -100 L-36 -190 Q-8 -204 20 -190 L24 -100 Z" fill="url(#bas)" stroke="{LINE}" stroke-width="2"/>'
            f'<path d="M-36 -186 Q-8 -168 20 -186 L20 -176 Q-8 -156 -36 -176 Z" fill="{hexc(g)}" stroke="{LINE}" stroke-width="1.5"/>'
            f'<path d="M-36 -180 L-50 -120 L-30 -98" fill="none" stroke="{LINE}" stroke-width="16" stroke-linecap="round"/>'
            f'<path d="M-36 -180 L-50 -120 L-30 -98" fill="none" stroke="{hexc(b)}" stroke-width="13" stroke-linecap="round"/>'
            f'<path d="M20 -180 L30 -124 L12 -102" fill="none" stroke="{LINE}" stroke-width="16" stroke-linecap="round"/>'
            f'<path d="M20 -180 L30 -124 L12 -102" fill="none" stroke="{hexc(b)}" stroke-width="13" stroke-linecap="round"/>'
            f'<path d="M-50 -128 h8 M24 -130 h8" stroke="{hexc(g)}" stroke-width="4"/>'
            # the crook and flail held to the chest
            f'<path d="M-26 -96 L-6 -160 Q-2 -172 8 -168" fill="none" stroke="{hexc(g)}" stroke-width="5" stroke-linecap="round"/>'
            # the head: long snout, tall ears
            f'<path d="M-22 -196 L-24 -236 L-36 -282 L-16 -246 L-4 -250 L2 -290 L8 -244 Q16 -232 14 -222 L-42 -214 Q-46 -206 -40 -204 L-8 -200 Z" fill="url(#bas)" stroke="{LINE}" stroke-width="2" stroke-linejoin="round"/>'
            f'<path d="M-30 -262 L-20 -246 M0 -276 L2 -250" stroke="{hexc(g)}" stroke-width="3"/>'
            f'<path d="M-10 -230 q6 -4 10 0" stroke="{hexc(g)}" stroke-width="3" fill="none"/>'
            f'<path d="M-22 -200 L-22 -186 M14 -198 L16 -186" stroke="{hexc(g)}" stroke-width="3"/>'
            "</g>")


def temple_night(seed=5):
    """The jackal god's temple: basalt columns and the god's statue under the moon."""
    a = night_sky(seed)
    paint_dune(a, ridge(W, 50, 360, 8, 2), mix(style.SANDSTONE, (0x2E, 0x3A, 0x6E), 0.7), 0.25, 0.1, 50)
    body = []
    # the temple front: a platform, columns and a lintel
    body.append(f'<path d="M60 420 L740 420 L760 460 L40 460 Z" fill="url(#bas)" stroke="{LINE}" stroke-width="2"/>')
    body.append(f'<path d="M44 456 H756" stroke="{hexc(GOLD)}" stroke-width="3"/>')
    for cx in (110, 210, 590, 690):
        body.append(f'<rect x="{cx - 26}" y="150" width="52" height="270" fill="url(#col)" stroke="{LINE}" stroke-width="2"/>'
                    f'<path d="M{cx - 34} 150 Q{cx} 120 {cx + 34} 150 Z" fill="url(#bas)" stroke="{LINE}" stroke-width="2"/>'
                    f'<path d="M{cx - 26} 200 H{cx + 26} M{cx - 26} 380 H{cx + 26}" stroke="{hexc(GOLD)}" stroke-width="4"/>'
                    f'<path d="M{cx - 10} 230 V350 M{cx + 10} 230 V350" stroke="{hexc(mix(BASALT, style.LAPIS, 0.5))}" stroke-width="3"/>')
    body.append(f'<rect x="60" y="108" width="680" height="30" fill="url(#bas)" stroke="{LINE}" stroke-width="2"/>'
                f'<path d="M60 122 H740" stroke="{hexc(GOLD)}" stroke-width="3"/>'
                f'<path d="M380 112 q20 -14 40 0 q-20 16 -40 0 Z" fill="{hexc(GOLD)}"/>'
                f'<path d="M340 116 L300 104 M460 116 L500 104" stroke="{hexc(GOLD)}" stroke-width="5" stroke-linecap="round"/>')
    body.append(jackal_statue(410, 420, 1.12))
    # braziers
    for bx in (290, 510):
        body.append(f'<path d="M{bx - 18} 380 L{bx + 18} 380 L{bx + 8} 420 L{bx - 8} 420 Z" fill="{hexc(mix(GOLD, style.UMBER, 0.4))}" stroke="{LINE}" stroke-width="1.8"/>'
                    + style.flame_svg(bx, 378, 1.2))
    defs = (lin("bas", mix(BASALT, style.LAPIS, 0.35), mix(BASALT, style.SHADOW, 0.5), 0.7, 1.0, BASALT)
            + lin("col", mix(BASALT, (0x8A, 0x90, 0xB8), 0.3), mix(BASALT, style.SHADOW, 0.5), 1.0, 0.0, BASALT))
    paste(a, svg_layer("".join(body), defs=defs))
    a[460:] = a[460:] * 0.0 + np.asarray(mix(BASALT, style.SHADOW, 0.3), np.float32)
    img = rgba(a)
    for bx in (290, 510):
        light_pool(img, (bx, 340), 240, TORCH, 0.5)
    light_pool(img, (742, 64), 400, (0x9A, 0xB0, 0xE8), 0.18)
    return img


# ---- the pictures ------------------------------------------------------------------------


def noon_site():
    """The dig site at noon, as on the menu, seen a little closer."""
    img = rgba(scene.menu_back())
    img.alpha_composite(scene.menu_front())
    return img


def kadar5():
    img = noon_site()
    put_camel(img, 190, 262)
    img.alpha_composite(scene.menu_front().crop((0, 380, W, H)), (0, 380))
    put_hero(img, hero.pose(arm="point", look=-1.0, mouth="open", brow=0.6), 560, 560, 360)
    title(img, 1, "The Dig Site")
    return img


def kadar6():
    img = tomb_hall()
    sarcophagus(img, 360, 340, 1.0)
    light_pool(img, (360, 380), 260, TORCH, 0.2)
    p = hero.pose(arm="raise", prop="torch", look=-1.0, brow=0.7, mouth="o")
    put_hero(img, p, 580, 585, 330, view=(-20, -80, 280, 480), tint=(TORCH, 0.12))
    light_pool(img, (585, 200), 200, TORCH, 0.45)
    vignette(img, 0.55)
    title(img, 2, "The Tombs")
    return img


def kadar7():
    img = river_city()
    boat = svg_layer(felucca(200, 380, 0.9) + reeds(0, 300, 486, 70, style.REED, 7) + reeds(420, 800, 490, 60, style.REED, 8),
                     defs="")
    img.alpha_composite(boat)
    put_hero(img, hero.pose(arm="wave", mouth="grin", look=-0.6), 470, 560, 330, tint=((0xF0, 0x80, 0x50), 0.12))
    vignette(img, 0.35, (0x30, 0x10, 0x20))
    title(img, 3, "The River City")
    return img


def kadar8():
    img = temple_night()
    put_hero(img, hero.pose(arm="raise", prop="torch", look=0.0, eyes="open", brow=1.0, mouth="o"), 570, 580, 250,
             view=(-20, -80, 280, 480), tint=((0x30, 0x38, 0x70), 0.3))
    light_pool(img, (560, 340), 160, TORCH, 0.4)
    vignette(img, 0.5)
    title(img, 4, "The Jackal's Temple")
    return img


# ---- the opening story ---------------------------------------------------------------


def outback_dusk():
    """Tovi's home: red earth under an evening sky, a gum tree and his tin shack."""
    a = dunes_at((0x4A, 0x3A, 0x78), (0xF4, 0xA8, 0x60), (0xC0, 0x62, 0x38), (620, 300, 28), horizon=330, seed=3, pyramids=False)
    body = []
    # the shack, a water tank and the gum tree
    body.append(f'<path d="M470 300 L610 300 L610 392 L470 392 Z" fill="url(#tin)" stroke="{LINE}" stroke-width="2"/>'
                f'<path d="M458 304 L540 262 L622 304 Z" fill="{hexc(mix((0x9A, 0x9A, 0x98), style.TERRACOTTA, 0.35))}" stroke="{LINE}" stroke-width="2"/>'
                + "".join(f'<path d="M{x} 304 V390" stroke="{hexc((0x70, 0x6A, 0x66))}" stroke-width="1.5"/>' for x in range(480, 606, 12)) +
                f'<rect x="500" y="330" width="34" height="62" fill="{hexc(style.UMBER)}" stroke="{LINE}" stroke-width="2"/>'
                f'<rect x="556" y="322" width="34" height="26" fill="#ffd38a" stroke="{LINE}" stroke-width="2"/>')
    body.append(f'<rect x="620" y="320" width="40" height="72" rx="6" fill="url(#tin)" stroke="{LINE}" stroke-width="2"/>')
    body.append(f'<path d="M190 430 Q196 360 180 300 Q176 280 150 250 M184 320 Q214 290 236 270 M182 300 Q190 262 204 236" '
                f'stroke="{LINE}" stroke-width="14" fill="none" stroke-linecap="round"/>'
                f'<path d="M190 430 Q196 360 180 300 Q176 280 150 250 M184 320 Q214 290 236 270 M182 300 Q190 262 204 236" '
                f'stroke="{hexc((0xE8, 0xDC, 0xC8))}" stroke-width="10" fill="none" stroke-linecap="round"/>')
    for cx, cy, r in ((150, 236, 46), (210, 220, 52), (250, 262, 40), (120, 270, 34), (186, 252, 40)):
        body.append(f'<circle cx="{cx}" cy="{cy}" r="{r}" fill="{hexc(mix(style.REED, (0x4A, 0x3A, 0x78), 0.25))}" stroke="{LINE}" stroke-width="2"/>')
        body.append(f'<circle cx="{cx - r * 0.3}" cy="{cy - r * 0.3}" r="{r * 0.45}" fill="{hexc(mix(style.REED, style.GOLD, 0.3))}" opacity="0.5"/>')
    # the camp fire
    body.append(f'<path d="M330 452 l40 -8 M332 444 l38 10" stroke="{hexc(style.UMBER)}" stroke-width="7" stroke-linecap="round"/>'
                + style.flame_svg(350, 446, 1.35))
    defs = lin("tin", (0xC8, 0xC4, 0xBC), (0x7A, 0x72, 0x6C), 1.0, 0.4)
    paste(a, svg_layer("".join(body), defs=defs))
    img = rgba(a)
    light_pool(img, (350, 420), 220, TORCH, 0.5)
    return img


def kadar1():
    img = outback_dusk()
    put_hero(img, hero.pose(arm="hold", prop="scroll", look=-1.0, brow=0.9, mouth="o", shovel=False), 470, 560, 300,
             tint=((0xF0, 0x90, 0x50), 0.1))
    caption(img, "Deep in the outback, a parcel finds Tovi Mudgrove:\nan old scroll that tells of the Ashcrystal.")
    return img


def table_top(seed):
    """The dark wooden table a scroll or map is spread on."""
    wood = scene.smooth_noise(W, H, 30, seed)
    return rgba(np.asarray((0x4A, 0x30, 0x1C), np.float32)[None, None, :] * (0.8 + 0.4 * wood)[..., None])


def old_scroll():
    """The scroll itself, close up: the Ashcrystal broken in four, and where the parts went."""
    img = table_top(9)
    # the sheet stops short of the forward button's corner
    style.lay(img, papyrus_strip((620, 440), seed=21), (30, 110), margin=8, blur=4)
    ink = hexc(mix(style.UMBER, style.SHADOW, 0.3))
    cx, cy = 340, 330
    # the crystal painted in a pale wash over its ink lines
    body = [f'<g opacity="0.5">{crystal_svg((cx, cy), 0.55, parts=4, apart=26)}</g>',
            crystal_svg((cx, cy), 0.55, parts=4, apart=26, ink=True)]
    places = [((130, 210), "dunes"), ((550, 210), "tomb"), ((130, 450), "river"), ((550, 450), "temple")]
    for (x, y), kind in places:
        body.append(place_icon(x, y, kind, ink))
    for (x, y), _ in places:
        body.append(f'<path d="M{x + (cx - x) * 0.22:.0f} {y + (cy - y) * 0.22:.0f} L{x + (cx - x) * 0.6:.0f} {y + (cy - y) * 0.6:.0f}" '
                    f'stroke="{ink}" stroke-width="2.5" stroke-dasharray="6 6" fill="none"/>')
    img.alpha_composite(svg_layer("".join(body)))
    # Tovi's hat and a reading glass on the table beside the scroll
    # (his hat cut from the model: the brim's front edge hides the face under it)
    hat_img = style.render_svg(hero.hero_svg(hero.pose(), view=(40, 10, 170, 90), ground_shadow=False), (150, 80))
    hat_only = Image.new("RGBA", hat_img.size)
    hat_only.paste(hat_img.crop((0, 0, 150, 66)), (0, 0))
    img.alpha_composite(style.drop_shadow(style.outline(hat_only), blur=2), (648, 150))
    glass = (f'<g transform="translate(720 330) rotate(30)">'
             f'<rect x="-6" y="34" width="12" height="70" rx="5" fill="{hexc(style.UMBER)}" stroke="{LINE}" stroke-width="2"/>'
             f'<circle r="40" fill="#dff2f4" opacity="0.35" stroke="{hexc(GOLD)}" stroke-width="9"/>'
             f'<circle r="40" fill="none" stroke="{LINE}" stroke-width="1.5"/>'
             f'<path d="M-22 -18 q10 -12 24 -14" stroke="#ffffff" stroke-width="4" fill="none" opacity="0.7"/></g>')
    img.alpha_composite(style.drop_shadow(svg_layer(glass), offset=(5, 5), blur=3))
    caption(img, "Long ago the Ashcrystal was broken in four,\nand its parts were hidden across the desert.", y=16)
    return img


def place_icon(x, y, kind, ink):
    """A small map picture of one chapter's place, drawn in ink."""
    s = f'<g transform="translate({x} {y})" fill="none" stroke="{ink}" stroke-width="2.5" stroke-linejoin="round" stroke-linecap="round">'
    if kind == "dunes":
        s += '<path d="M-44 18 Q-22 -6 0 18 Q20 -2 44 18"/><path d="M-20 -6 L-6 -30 L8 -6 Z"/><circle cx="28" cy="-26" r="8"/>'
    elif kind == "tomb":
        s += '<path d="M-36 20 L-36 -12 L0 -34 L36 -12 L36 20 Z"/><path d="M-10 20 V0 H10 V20"/><path d="M-26 -8 H26"/>'
    elif kind == "river":
        s += '<path d="M-44 16 Q-20 4 0 16 T44 16"/><path d="M-30 4 V-22 H-10 V4 M-6 4 V-30 H14 V4 M18 4 V-16 H34 V4"/>'
    else:
        s += '<path d="M-36 20 V-14 M-18 20 V-14 M18 20 V-14 M36 20 V-14 M-42 -14 H42 M-42 -22 H42"/><path d="M-4 -22 L-8 -40 L0 -30 L8 -40 L4 -22"/>'
    return s + "</g>"


def kadar2():
    return old_scroll()


def kadar3():
    img = rgba(dunes_at((0x56, 0x8E, 0xD0), (0xF6, 0xD8, 0xB0), style.SAND, (660, 250, 24), horizon=300, seed=1))
    put_camel(img, 236, 330, 1.4, phase=0.25)
    put_hero(img, hero.pose(arm="wave", look=-1.0, mouth="grin", brow=0.4), 440, 556, 260)
    # their footprints across the sand behind them
    steps = "".join(f'<ellipse cx="{470 + k * 30 + (k % 2) * 6}" cy="{556 - k * 3 + (k % 2) * 6}" rx="6" ry="2.5" fill="{hexc(mix(style.SAND, style.UMBER, 0.35))}" opacity="0.6"/>'
                    for k in range(7))
    img.alpha_composite(svg_layer(steps))
    caption(img, "With his hat, his shovel and a patient camel,\nTovi sets out across the dunes.")
    return img


def kadar4():
    img = noon_site()
    wall = scene.ruin(120, 150, stone=mix(style.SANDSTONE, style.SAND, 0.25), seed=8, width=480, height=290, column=False)
    img.alpha_composite(scene.grain(wall, 5, 8))
    # a carved crystal on the wall, which the hero has just brushed clean
    img.alpha_composite(svg_layer(crystal_svg((300, 300), 0.34, parts=4, apart=0, ink=True, stone=True)))
    img.alpha_composite(scene.menu_front().crop((0, 440, W, H)), (0, 440))
    put_hero(img, hero.pose(arm="point", look=-1.0, mouth="open", brow=0.8), 500, 560, 320)
    caption(img, "A carving on an old wall shows the Ashcrystal.\nThe first part lies under this sand. Time to dig!")
    return img


# ---- the Ashcrystal -------------------------------------------------------------------
RELIC_CENTRE = (345, 290)
RELIC_RADIUS = (125, 140)         # half width and half height of the whole crystal
RELIC_AT = (178, 113)             # where the parts images are drawn
RELIC_SIZE = (310, 335)
WHOLE_AT = (49, 85)               # where the glowing whole relic fades in
WHOLE_SIZE = (592, 410)
ASH = ((0xEE, 0xE8, 0xF4), (0xA8, 0x98, 0xC4), (0x56, 0x46, 0x7A))   # light, body, shade

# The four parts, in the order the chapters give them: each is a quarter of
# the crystal (from the centre towards two of its tips). The dust of the relic
# screen bursts where each lands: the first at the bottom right, the second at
# the top right, the third at the top left, the last at the bottom left.
PART_TIPS = [(1, 2), (0, 1), (3, 0), (2, 3)]   # tips: 0 top, 1 right, 2 bottom, 3 left


def _tips(c, r):
    return [(c[0], c[1] - r[1]), (c[0] + r[0], c[1]), (c[0], c[1] + r[1]), (c[0] - r[0], c[1])]


def crystal_svg(c, scale=1.0, parts=4, apart=0, ink=False, stone=False, glow=False):
    """The Ashcrystal at centre c: its first `parts` quarters, set `apart` px from the middle."""
    r = (RELIC_RADIUS[0] * scale, RELIC_RADIUS[1] * scale)
    tips = _tips(c, r)
    s = []
    light, body, shade = ASH
    tones = {0: light, 1: mix(light, body, 0.5), 2: mix(body, shade, 0.6), 3: body}   # lit from the top left
    for k in range(parts):
        a, b = PART_TIPS[k]
        mx = (tips[a][0] + tips[b][0]) / 2 - c[0]
        my = (tips[a][1] + tips[b][1]) / 2 - c[1]
        n = math.hypot(mx, my) or 1
        ox, oy = mx / n * apart, my / n * apart
        pts = [(c[0] + ox, c[1] + oy), (tips[a][0] + ox, tips[a][1] + oy), (tips[b][0] + ox, tips[b][1] + oy)]
        d = "M" + " L".join("%.1f %.1f" % p for p in pts) + " Z"
        quarter = {(1, 2): 2, (0, 1): 1, (3, 0): 0, (2, 3): 3}[(a, b)]
        if ink:
            fill = "none" if not stone else hexc(mix(style.SANDSTONE, style.SHADOW, 0.15 + quarter * 0.08))
            col = hexc(mix(style.UMBER, style.SHADOW, 0.3)) if not stone else hexc(mix(style.SANDSTONE, style.SHADOW, 0.55))
            s.append(f'<path d="{d}" fill="{fill}" stroke="{col}" stroke-width="3" stroke-linejoin="round"/>')
            continue
        t = tones[quarter]
        if glow:
            t = mix(t, style.IVORY, 0.35)
        mid = ((pts[1][0] + pts[2][0]) / 2, (pts[1][1] + pts[2][1]) / 2)
        inner = (pts[0][0] * 0.45 + mid[0] * 0.55, pts[0][1] * 0.45 + mid[1] * 0.55)
        s.append(f'<path d="{d}" fill="{hexc(t)}" stroke="{LINE}" stroke-width="2.5" stroke-linejoin="round"/>')
        # facets: a lighter and a darker face inside each quarter
        s.append(f'<path d="M{pts[1][0]:.1f} {pts[1][1]:.1f} L{inner[0]:.1f} {inner[1]:.1f} L{pts[0][0]:.1f} {pts[0][1]:.1f} Z" fill="{hexc(mix(t, style.IVORY, 0.35))}" opacity="0.7"/>')
        s.append(f'<path d="M{pts[2][0]:.1f} {pts[2][1]:.1f} L{inner[0]:.1f} {inner[1]:.1f} L{pts[0][0]:.1f} {pts[0][1]:.1f} Z" fill="{hexc(mix(t, shade, 0.35))}" opacity="0.6"/>')
        s.append(f'<path d="M{inner[0]:.1f} {inner[1]:.1f} L{mid[0]:.1f} {mid[1]:.1f}" stroke="{hexc(mix(t, style.IVORY, 0.6))}" stroke-width="1.5" opacity="0.8"/>')
        # the ember that smoulders inside the crystal
        s.append(f'<circle cx="{inner[0]:.1f}" cy="{inner[1]:.1f}" r="{9 * scale:.1f}" fill="{hexc(GOLD)}" opacity="0.45"/>')
    if not ink and parts:
        hl = tips[0]
        s.append(f'<path d="M{hl[0] - 6 * scale:.1f} {hl[1] + 26 * scale:.1f} l{-14 * scale:.1f} {22 * scale:.1f}" stroke="#ffffff" stroke-width="{4 * scale:.1f}" stroke-linecap="round" opacity="0.8"/>')
    return "".join(s)


def cradle_svg(c):
    """The gold setting the crystal rests in, with empty quarters engraved in it."""
    r = RELIC_RADIUS
    tips = _tips(c, (r[0] + 10, r[1] + 12))
    d = "M" + " L".join("%.1f %.1f" % p for p in tips) + " Z"
    g = GOLD
    return (f'<path d="{d}" fill="{hexc(mix(style.UMBER, style.SHADOW, 0.35))}" stroke="url(#gold)" stroke-width="9" stroke-linejoin="round"/>'
            f'<path d="{d}" fill="none" stroke="{LINE}" stroke-width="1.5" stroke-linejoin="round"/>'
            + crystal_svg(c, 1.0, 4, 0, ink=True) +
            f'<path d="M{c[0] - 70} {c[1] + r[1] + 8} L{c[0] + 70} {c[1] + r[1] + 8} L{c[0] + 50} {c[1] + r[1] + 34} L{c[0] - 50} {c[1] + r[1] + 34} Z" fill="url(#gold)" stroke="{LINE}" stroke-width="2"/>'
            f'<circle cx="{c[0]}" cy="{c[1] + r[1] + 20}" r="6" fill="{hexc(style.LAPIS)}" stroke="{LINE}" stroke-width="1.5"/>'
            f'<path d="M{c[0] - 120} {c[1] + r[1] + 34} H{c[0] + 120} V{c[1] + r[1] + 60} H{c[0] - 120} Z" fill="url(#altar)" stroke="{LINE}" stroke-width="2"/>'
            f'<path d="M{c[0] - 120} {c[1] + r[1] + 40} H{c[0] + 120}" stroke="{hexc(mix(g, style.IVORY, 0.3))}" stroke-width="2" opacity="0.6"/>')


def relic_defs():
    return (lin("gold", mix(GOLD, style.IVORY, 0.45), mix(GOLD, style.UMBER, 0.5), 0.7, 1.0, GOLD)
            + lin("altar", mix(style.SANDSTONE, style.IVORY, 0.2), mix(style.SANDSTONE, style.SHADOW, 0.5), 0.3, 1.0))


def relic_background():
    img = tomb_hall(torches=((150, 190), (560, 190)), seed=6)
    # a shaft of daylight falling on the altar
    shaft = svg_layer('<path d="M270 0 L420 0 L470 460 L220 460 Z" fill="url(#shaft)"/>',
                      defs='<linearGradient id="shaft" x1="0" y1="0" x2="0" y2="1"><stop offset="0" stop-color="#fff4d0" stop-opacity="0.45"/>'
                           '<stop offset="1" stop-color="#fff4d0" stop-opacity="0.05"/></linearGradient>')
    img.alpha_composite(shaft)
    img.alpha_composite(svg_layer(cradle_svg(RELIC_CENTRE), defs=relic_defs()))
    vignette(img, 0.5)
    put_hero(img, hero.pose(look=-1.0, brow=1.0, mouth="o", arm="hip"), 590, 468, 290, tint=(TORCH, 0.1))
    # the dark stone band where the message is written (from x 30, font 3): wide
    # enough for the longest one, dense enough that the altar's foot stays out of it
    band = svg_layer(f'<rect x="18" y="470" width="606" height="36" rx="6" fill="{hexc(style.SHADOW)}" opacity="0.9" stroke="{hexc(mix(GOLD, style.UMBER, 0.5))}" stroke-width="2"/>')
    img.alpha_composite(band)
    return img


def relic_parts(background):
    """ashcrystal_1..4: the relic with 1..4 parts, opaque, cut at RELIC_AT."""
    out = []
    x, y = RELIC_AT
    w, h = RELIC_SIZE
    for n in range(1, 5):
        img = background.copy()
        img.alpha_composite(svg_layer(crystal_svg(RELIC_CENTRE, 1.0, n)))
        out.append(img.crop((x, y, x + w, y + h)).convert("RGB"))
    return out


def relic_whole():
    """ashcrystal_5: the whole relic blazing, with its halo; alpha."""
    w, h = WHOLE_SIZE
    c = (RELIC_CENTRE[0] - WHOLE_AT[0], RELIC_CENTRE[1] - WHOLE_AT[1])
    rays = "".join(f'<path d="M{c[0]} {c[1]} L{c[0] + math.cos(math.radians(a - 4)) * 400:.0f} {c[1] + math.sin(math.radians(a - 4)) * 400:.0f} '
                   f'L{c[0] + math.cos(math.radians(a + 4)) * 400:.0f} {c[1] + math.sin(math.radians(a + 4)) * 400:.0f} Z" fill="url(#ray)"/>'
                   for a in range(0, 360, 24))
    defs = ('<radialGradient id="halo" cx="0.5" cy="0.5" r="0.5"><stop offset="0" stop-color="#fff8e0" stop-opacity="0.9"/>'
            '<stop offset="0.45" stop-color="#f2c14e" stop-opacity="0.45"/><stop offset="1" stop-color="#f2c14e" stop-opacity="0"/></radialGradient>'
            f'<radialGradient id="ray" gradientUnits="userSpaceOnUse" cx="{c[0]}" cy="{c[1]}" r="290"><stop offset="0.2" stop-color="#fff4c0" stop-opacity="0.55"/>'
            '<stop offset="1" stop-color="#fff4c0" stop-opacity="0"/></radialGradient>')
    body = (rays + f'<ellipse cx="{c[0]}" cy="{c[1]}" rx="250" ry="200" fill="url(#halo)"/>'
            + crystal_svg(c, 1.06, 4, glow=True))
    return svg_layer(body, WHOLE_SIZE, defs)


# ---- the endings --------------------------------------------------------------------------


def kadar9():
    img = temple_night(seed=9)
    # the crystal held high in his raised hand
    cx, cy = 537, 236
    glow = svg_layer(f'<circle cx="{cx}" cy="{cy}" r="220" fill="url(#g)"/>',
                     defs='<radialGradient id="g" cx="0.5" cy="0.5" r="0.5"><stop offset="0" stop-color="#fff4c0" stop-opacity="0.8"/>'
                          '<stop offset="1" stop-color="#f2c14e" stop-opacity="0"/></radialGradient>')
    img.alpha_composite(glow)
    put_hero(img, hero.pose(arm="raise", look=0.0, eyes="closed", mouth="open", brow=1.0), 480, 588, 330,
             view=(-20, -80, 280, 480), tint=((0xFF, 0xE0, 0x90), 0.12))
    img.alpha_composite(svg_layer(crystal_svg((cx, cy), 0.36, 4, glow=True)))
    light_pool(img, (cx, cy), 420, (0xFF, 0xE8, 0xA0), 0.55)
    caption(img, "The four parts are one again.\nThe Ashcrystal shines over the desert!", y=14)
    return img


def kadar10():
    a = dunes_at((0x5A, 0x3C, 0x7A), (0xF8, 0xB0, 0x5C), mix(style.SAND, style.TERRACOTTA, 0.3), (400, 300, 40), horizon=310, seed=2)
    img = rgba(a)
    put_camel(img, 300, 352, 1.0, phase=0.5, tint=((0x60, 0x30, 0x40), 0.25))
    put_hero(img, hero.pose(arm="wave", mouth="grin", look=0.6, prop=None), 260, 520, 170, tint=((0x60, 0x30, 0x40), 0.25))
    caption(img, "Home again, with a story no one will believe...\nuntil the next adventure. The End")
    return img


# ---- the chapter map ---------------------------------------------------------------------
MAPCORD = [(505, 447), (491, 441), (474, 432), (464, 413), (445, 441), (427, 416), (426, 399),
           (406, 405), (397, 432), (372, 422), (353, 435), (339, 449), (324, 436), (326, 413),
           (316, 392), (333, 379), (367, 382), (364, 361), (373, 339), (396, 330), (417, 330)]
MAP_BLOCK = 5    # every fifth dot after the camp is a big one: a chapter's end


def map_dot_centre(k):
    """The middle of dot k as the map draws it: a dot's top-left corner is on its
    point, and the big dots of the chapter ends sit 2 px further left."""
    x, y = MAPCORD[k]
    if k == 0:
        return x + BIG_DOT / 2, y + BIG_DOT / 2
    if k % MAP_BLOCK == 0:
        return x - 2 + BIG_DOT / 2, y + BIG_DOT / 2
    return x + SMALL_DOT / 2, y + SMALL_DOT / 2


def map_background():
    img = table_top(31)
    # the sheet's right roll lies just past the forward button
    style.lay(img, papyrus_strip((786, 580), seed=33), (8, 10), blur=3)
    ink = hexc(mix(style.UMBER, style.SHADOW, 0.2))
    pale = hexc(mix(style.UMBER, style.SAND, 0.45))
    body = []
    # the river winding down the west of the land, with the sea to the north
    body.append(f'<path d="M40 40 Q200 70 330 46 Q520 20 760 50 L760 30 L40 30 Z" fill="{hexc(mix(style.TURQUOISE, style.SAND, 0.55))}"/>')
    for x in range(70, 740, 60):
        body.append(f'<path d="M{x} 42 q10 -6 20 0 t20 0" stroke="{ink}" stroke-width="1.6" fill="none" opacity="0.6"/>')
    body.append(f'<path d="M250 48 Q220 160 270 240 Q310 300 280 380 Q256 450 290 520 Q300 560 280 590" stroke="{hexc(mix(style.TURQUOISE, style.SAND, 0.35))}" stroke-width="16" fill="none"/>')
    body.append(f'<path d="M250 48 Q220 160 270 240 Q310 300 280 380 Q256 450 290 520 Q300 560 280 590" stroke="{ink}" stroke-width="1.5" fill="none" opacity="0.7"/>')
    # the places of the four chapters, around the trail
    body.append(place_icon(560, 470, "dunes", ink))
    body.append(place_icon(400, 490, "tomb", ink))
    body.append(place_icon(228, 420, "river", ink))
    body.append(place_icon(420, 276, "temple", ink))
    # the rest of the land: dunes, palms and hills in pale ink
    rng = random.Random(35)
    for _ in range(46):
        x, y = rng.randint(40, 760), rng.randint(120, 570)
        if 190 < x < 620 and 230 < y < 540:
            continue                     # keep the trail's country clear
        if x > 640 and y > 480:
            continue                     # the forward button's corner
        if 300 < x < 500 and y < 110:
            continue                     # the label
        k = rng.randint(0, 2)
        if k == 0:
            body.append(f'<path d="M{x - 16} {y} Q{x} {y - 12} {x + 16} {y}" stroke="{pale}" stroke-width="2" fill="none"/>')
        elif k == 1:
            body.append(f'<path d="M{x} {y} V{y - 16} M{x} {y - 16} q-8 -2 -12 4 M{x} {y - 16} q8 -2 12 4 M{x} {y - 16} q-2 -8 -8 -10 M{x} {y - 16} q4 -8 10 -8" stroke="{pale}" stroke-width="2" fill="none"/>')
        else:
            body.append(f'<path d="M{x - 14} {y} L{x} {y - 18} L{x + 14} {y} Z" stroke="{pale}" stroke-width="2" fill="none"/>')
    # a compass rose in the south-west
    body.append(f'<g transform="translate(110 500)" stroke="{ink}" stroke-width="2" fill="none">'
                f'<circle r="34"/><circle r="28" opacity="0.5"/><path d="M0 -44 L8 0 L0 44 L-8 0 Z M-44 0 L0 8 L44 0 L0 -8 Z" fill="{pale}"/>'
                f'<path d="M0 -44 L8 0 L-8 0 Z" fill="{hexc(style.TERRACOTTA)}"/></g>')
    # the faint trail through the middle of every dot
    d = "M" + " L".join("%g %g" % map_dot_centre(k) for k in range(len(MAPCORD)))
    body.append(f'<path d="{d}" stroke="{hexc(mix(style.TERRACOTTA, style.SAND, 0.3))}" stroke-width="3" fill="none" stroke-dasharray="5 5" stroke-linejoin="round" opacity="0.75"/>')
    # a pale cartouche behind the label, which the map writes from (330, 70) in
    # font 3: "LEVEL: 5" to "LEVEL: 100" sit in its middle
    body.append(f'<rect x="306" y="62" width="170" height="40" rx="18" fill="{hexc(mix(style.IVORY, style.SAND, 0.2))}" stroke="{ink}" stroke-width="2"/>')
    img.alpha_composite(svg_layer("".join(body)))
    return img


def build():
    for n, fn in ((1, kadar1), (2, kadar2), (3, kadar3), (4, kadar4), (5, kadar5), (6, kadar6),
                  (7, kadar7), (8, kadar8), (9, kadar9), (10, kadar10)):
        style.save(fn().convert("RGB"), "kadar%d.png" % n)
    back = relic_background()
    style.save(back.convert("RGB"), "ashcrystal_0.png")
    for n, img in enumerate(relic_parts(back), start=1):
        style.save(img, "ashcrystal_%d.png" % n)
    style.save(relic_whole(), "ashcrystal_5.png")
    style.save(map_background().convert("RGB"), "map_background.png")


if __name__ == "__main__":
    build()
