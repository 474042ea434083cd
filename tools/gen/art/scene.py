"""The main menu's scene: the open dig site in the dunes at noon.

The world is painted in layers that the story and chapter pictures reuse: a
sky, bands of dunes shaded from the top left, sandstone ruins, the camel and
the scarab. The menu is laid out around what the code draws over it:

- the five menu tablets in the column at (24, 225), 300 x 400: plain sand there;
- the camel's strip at (500 - 2 s, 250) walking left behind the mask: the ruin
  it steps out from and the dune crest that hides its hooves are the mask;
- the scarab's little scene at (509, 161), on the broken column of the ruin;
- the hero at (530, 130), his boots on the sand at y 525;
- the balloon at (425, 429) and the player plaque at (425, 539).

Makes chapter0.png, mask.png, kamila_anim_final.png, buba/buba01..buba047.png,
dust/dust01..dust040.png and baloon.png.
"""

import math
import random

import numpy as np
from PIL import Image, ImageDraw, ImageFont

import style
from style import OUTLINE, hexc, mix

W, H = 800, 600
LINE = hexc(OUTLINE)

NOON_SKY = ((0x3E, 0x82, 0xC8), (0xD4, 0xE6, 0xEC))

# ---- painting helpers -------------------------------------------------------------


def to_img(a):
    return Image.fromarray(np.clip(a, 0, 255).astype(np.uint8))


def smooth_noise(w, h, scale, seed, octaves=4):
    """Value noise in 0..1, the same for the same seed."""
    rng = np.random.RandomState(seed)
    out = np.zeros((h, w), np.float32)
    amp, total = 1.0, 0.0
    for o in range(octaves):
        s = max(1, int(scale / (2 ** o)))
        gw, gh = w // s + 2, h // s + 2
        grid = rng.rand(gh, gw).astype(np.float32)
        img = Image.fromarray((grid * 255).astype(np.uint8)).resize((gw * s, gh * s), Image.BICUBIC)
        out += amp * (np.asarray(img, np.float32)[:h, :w] / 255.0)
        total += amp
        amp *= 0.5
    return out / total


def grain(img, amount=10, seed=1):
    """Sand grain: fine noise over an RGB or RGBA image, keeping its alpha."""
    a = np.asarray(img).astype(np.float32)
    rng = np.random.RandomState(seed)
    n = rng.normal(0, amount, a.shape[:2]).astype(np.float32)
    a[..., :3] += n[..., None]
    return Image.fromarray(np.clip(a, 0, 255).astype(np.uint8), img.mode)


def gradient(w, h, top, bottom, y0=0, y1=None):
    y1 = h if y1 is None else y1
    t = np.clip((np.arange(h, dtype=np.float32) - y0) / max(1, (y1 - y0)), 0, 1)[:, None, None]
    a = np.asarray(top, np.float32)[None, None, :] * (1 - t) + np.asarray(bottom, np.float32)[None, None, :] * t
    return np.repeat(a, w, axis=1)


def sky(w, h, top, horizon, horizon_y, sun=None, sun_color=(255, 250, 230), glow=0.55):
    """A sky from `top` to `horizon` at horizon_y, with a sun glow at `sun` (x, y, r)."""
    a = gradient(w, h, top, horizon, 0, horizon_y)
    if sun:
        sx, sy, r = sun
        yy, xx = np.mgrid[0:h, 0:w].astype(np.float32)
        d = np.sqrt((xx - sx) ** 2 + (yy - sy) ** 2)
        g = np.clip(1 - d / (r * 9), 0, 1) ** 2 * glow
        disc = np.clip((r - d) / 2.0 + 0.5, 0, 1)
        c = np.asarray(sun_color, np.float32)
        a = a * (1 - g[..., None]) + c * g[..., None]
        a = a * (1 - disc[..., None]) + c * disc[..., None]
    return a


def ridge(w, seed, base, amp, waves=3, sharp=0.0):
    """A dune crest: y of the ridge for every column."""
    rng = random.Random(seed)
    x = np.arange(w, dtype=np.float32)
    y = np.full(w, base, np.float32)
    for k in range(waves):
        f = rng.uniform(0.6, 1.6) * (k + 1) * 2 * math.pi / w
        ph = rng.uniform(0, 2 * math.pi)
        y += amp / (k + 1) * np.sin(f * x + ph)
    if sharp:
        # sharpen the crests: dunes have a soft windward side and a crisp top
        y = base + (y - base) - sharp * np.abs(np.sin(x * 2 * math.pi / w * 1.3 + seed))
    return y


def paint_dune(a, crest, color, shade=0.35, light=0.25, fade=70.0, ripples=0.0, seed=0):
    """Paints a band of dune below `crest` into the float image `a`.

    Slopes that face the top-left light are lit, slopes that turn away are in
    shade; the effect is strongest just under the crest and fades with depth.
    """
    h, w = a.shape[:2]
    yy = np.arange(h, dtype=np.float32)[:, None]
    depth = yy - crest[None, :]
    inside = np.clip(depth + 0.5, 0, 1)           # antialiased top edge
    slope = np.gradient(crest)
    slope = np.convolve(slope, np.ones(9) / 9, mode="same")
    facing = np.clip(-slope * 2.5, -1, 1)[None, :]   # >0 faces the light
    falloff = np.exp(-np.maximum(depth, 0) / fade)
    k = 1 + facing * np.where(facing > 0, light, shade) * falloff
    k = k - 0.10 * (1 - falloff)                    # lower slopes a little darker
    col = np.asarray(color, np.float32)[None, None, :] * k[..., None]
    if ripples:
        n = smooth_noise(w, h, 40, seed, 2)
        rp = np.sin(yy * 0.45 + n * 9 + np.arange(w)[None, :] * 0.04) * ripples
        col = col * (1 + rp[..., None] * np.clip(depth / 40, 0, 1)[..., None])
    m = inside[..., None]
    a[:] = a * (1 - m) + col * m
    return inside


def svg_layer(body, size=(W, H), defs="", supersample=2):
    w, h = size
    svg = (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">'
           f"<defs>{defs}</defs>{body}</svg>")
    return style.render_svg(svg, size, supersample)


def lin(gid, c0, c1, x2=0.6, y2=1.0, mid=None):
    stops = f'<stop offset="0" stop-color="{hexc(c0)}"/>'
    if mid:
        stops += f'<stop offset="0.5" stop-color="{hexc(mid)}"/>'
    stops += f'<stop offset="1" stop-color="{hexc(c1)}"/>'
    return f'<linearGradient id="{gid}" x1="0" y1="0" x2="{x2}" y2="{y2}">{stops}</linearGradient>'


def paste(a, layer, xy=(0, 0)):
    """Composites an RGBA layer onto the float RGB image `a`."""
    base = to_img(a).convert("RGBA")
    base.alpha_composite(layer, xy)
    a[:] = np.asarray(base.convert("RGB"), np.float32)


# ---- things in the world ------------------------------------------------------------


def pyramids(horizon, color, sky_color, items):
    """Far pyramids on the horizon, hazy: items are (x, half width, height)."""
    lit = mix(color, style.IVORY, 0.2)
    dark = mix(color, sky_color, 0.25)
    body = ""
    for x, hw, ht in items:
        body += (f'<path d="M{x - hw} {horizon} L{x} {horizon - ht} L{x + hw} {horizon} Z" fill="{hexc(dark)}"/>'
                 f'<path d="M{x - hw} {horizon} L{x} {horizon - ht} L{x - hw * 0.15} {horizon} Z" fill="{hexc(lit)}"/>')
    return svg_layer(body)


def ruin(x0, y0, stone=style.SANDSTONE, seed=3, glyphs=True, column=True, width=210, height=180):
    """A broken sandstone temple wall with one standing column.

    (x0, y0) is the wall's top-left; the column rises from its left end.
    """
    rng = random.Random(seed)
    lit = mix(stone, style.IVORY, 0.35)
    dark = mix(stone, style.SHADOW, 0.45)
    defs = lin("rst", lit, dark, 0.8, 1.0, stone) + lin("rcol", lit, dark, 1.0, 0.0, stone)
    body = []
    # the wall's broken top edge
    top = [(x0, y0 + 14)]
    x = x0
    while x < x0 + width:
        x += rng.randint(14, 30)
        top.append((min(x, x0 + width), y0 + rng.randint(0, 26)))
    path = "M%d %d " % (x0, y0 + height) + " ".join("L%d %d" % p for p in top) + " L%d %d Z" % (x0 + width, y0 + height)
    body.append(f'<path d="{path}" fill="url(#rst)" stroke="{LINE}" stroke-width="2" stroke-linejoin="round"/>')
    # block courses
    clip = f'<clipPath id="rcl"><path d="{path}"/></clipPath>'
    lines = []
    for row, yy in enumerate(range(y0 + 30, y0 + height, 26)):
        lines.append(f'<path d="M{x0} {yy} H{x0 + width}" stroke="{hexc(dark)}" stroke-width="1.6" opacity="0.8"/>')
        lines.append(f'<path d="M{x0} {yy + 1.6} H{x0 + width}" stroke="{hexc(lit)}" stroke-width="1" opacity="0.6"/>')
        off = 0 if row % 2 else 24
        for xx in range(x0 + off, x0 + width, 48):
            lines.append(f'<path d="M{xx} {yy} V{yy + 26}" stroke="{hexc(dark)}" stroke-width="1.4" opacity="0.7"/>')
    if glyphs:
        gy = y0 + 60
        lines.append(f'<rect x="{x0 + 40}" y="{gy}" width="{width - 80}" height="22" fill="{hexc(mix(stone, style.SHADOW, 0.2))}" opacity="0.5"/>')
        gx = x0 + 48
        while gx < x0 + width - 52:
            kind = rng.randint(0, 3)
            c = hexc(mix(stone, style.SHADOW, 0.55))
            if kind == 0:
                lines.append(f'<circle cx="{gx + 6}" cy="{gy + 11}" r="5" fill="none" stroke="{c}" stroke-width="2"/>')
            elif kind == 1:
                lines.append(f'<path d="M{gx} {gy + 18} L{gx + 6} {gy + 4} L{gx + 12} {gy + 18}" fill="none" stroke="{c}" stroke-width="2"/>')
            elif kind == 2:
                lines.append(f'<path d="M{gx + 2} {gy + 4} V{gy + 18} M{gx + 2} {gy + 11} H{gx + 11}" fill="none" stroke="{c}" stroke-width="2"/>')
            else:
                lines.append(f'<path d="M{gx} {gy + 14} Q{gx + 6} {gy + 2} {gx + 12} {gy + 14}" fill="none" stroke="{c}" stroke-width="2"/>')
            gx += 18
    body.append('<g clip-path="url(#rcl)">' + "".join(lines) + "</g>")
    if column:
        cx, ctop = x0 + 12, y0 - 50
        cw = 46
        body.append(f'<path d="M{cx} {y0 + height} L{cx} {ctop + 8} L{cx + 10} {ctop} L{cx + 22} {ctop + 6} L{cx + 34} {ctop - 2} L{cx + cw} {ctop + 7} L{cx + cw} {y0 + height} Z" '
                    f'fill="url(#rcol)" stroke="{LINE}" stroke-width="2" stroke-linejoin="round"/>')
        for fx in range(cx + 8, cx + cw - 4, 9):
            body.append(f'<path d="M{fx} {ctop + 12} V{y0 + height - 4}" stroke="{hexc(dark)}" stroke-width="1.5" opacity="0.55"/>')
            body.append(f'<path d="M{fx + 2} {ctop + 12} V{y0 + height - 4}" stroke="{hexc(lit)}" stroke-width="1" opacity="0.5"/>')
        # the top face where the scarab walks
        body.append(f'<path d="M{cx} {ctop + 8} L{cx + 10} {ctop} L{cx + 22} {ctop + 6} L{cx + 34} {ctop - 2} L{cx + cw} {ctop + 7}" '
                    f'fill="none" stroke="{hexc(mix(lit, style.IVORY, 0.5))}" stroke-width="2.5"/>')
    return svg_layer(clip + "".join(body), defs=defs)


# ---- the camel ------------------------------------------------------------------------
CAMEL_FRAME = (150, 157)
CAMEL_HIDE = (0xB5, 0x85, 0x50)
LEG = (31, 32)


def _leg(hip, phase, length=(30, 30), far=False, front=True):
    """One camel leg from the hip, swinging with `phase` (radians)."""
    swing = math.sin(phase) * 0.42
    lift = max(0.0, math.cos(phase)) * 0.55       # the knee bends while the foot travels forward
    a1 = swing + (0.1 if front else -0.1)
    kx = hip[0] + math.sin(a1) * length[0]
    ky = hip[1] + math.cos(a1) * length[0]
    a2 = a1 - lift * (1 if front else -1) * 0.9
    fx = kx + math.sin(a2) * length[1]
    fy = ky + math.cos(a2) * length[1]
    col = hexc(mix(CAMEL_HIDE, style.SHADOW, 0.35 if far else 0.0))
    up = f"M{hip[0]:.1f} {hip[1] - 6:.1f} L{kx:.1f} {ky:.1f}"
    low = f"M{kx:.1f} {ky:.1f} L{fx:.1f} {fy:.1f}"
    # a thick thigh, a knobbly knee and a thin shank
    return (f'<path d="{up}" fill="none" stroke="{LINE}" stroke-width="14" stroke-linecap="round"/>'
            f'<path d="{low}" fill="none" stroke="{LINE}" stroke-width="8.5" stroke-linecap="round"/>'
            f'<path d="{up}" fill="none" stroke="{col}" stroke-width="11.5" stroke-linecap="round"/>'
            f'<path d="{low}" fill="none" stroke="{col}" stroke-width="6" stroke-linecap="round"/>'
            f'<circle cx="{kx:.1f}" cy="{ky:.1f}" r="3.6" fill="{col}"/>'
            f'<ellipse cx="{fx - 1:.1f}" cy="{fy + 1:.1f}" rx="6" ry="3" fill="{hexc(mix(CAMEL_HIDE, style.SHADOW, 0.5))}" stroke="{LINE}" stroke-width="1.5"/>')


def camel_svg(phase=None, scale=1.0):
    """The camel facing left; `phase` 0..1 of its walk, None standing."""
    lit = mix(CAMEL_HIDE, style.IVORY, 0.35)
    dark = mix(CAMEL_HIDE, style.SHADOW, 0.4)
    defs = lin("chide", lit, dark, 0.7, 1.0, CAMEL_HIDE) + lin("cblank", mix(style.TERRACOTTA, style.IVORY, 0.2), mix(style.TERRACOTTA, style.SHADOW, 0.35))
    t = 0.0 if phase is None else phase * 2 * math.pi
    bob = 0.0 if phase is None else -abs(math.sin(t)) * 2.0
    amp = 0.0 if phase is None else 1.0
    # long legs under a body drawn at 0.85 of its path size: hooves at y 150
    legs_far = _leg((56, 86), t * amp + math.pi, LEG, far=True) + _leg((104, 84), t * amp + math.pi, LEG, far=True, front=False)
    legs_near = _leg((63, 88), t * amp, LEG) + _leg((111, 86), t * amp, LEG, front=False)
    if phase is None:
        legs_far = _leg((56, 86), 0.25, LEG, far=True) + _leg((104, 84), -0.25, LEG, far=True, front=False)
        legs_near = _leg((63, 88), -0.15, LEG) + _leg((111, 86), 0.2, LEG, front=False)
    body = (
        f'<g transform="translate(10 {bob:.1f}) scale(0.85)">'
        # tail
        f'<path d="M132 70 Q142 84 138 100" fill="none" stroke="{LINE}" stroke-width="5" stroke-linecap="round"/>'
        f'<path d="M132 70 Q142 84 138 100" fill="none" stroke="{hexc(dark)}" stroke-width="3" stroke-linecap="round"/>'
        # body with its hump
        f'<path d="M40 84 Q40 62 58 58 Q70 22 92 24 Q112 26 118 52 Q136 56 136 78 Q134 104 116 110 L58 112 Q42 108 40 84 Z" '
        f'fill="url(#chide)" stroke="{LINE}" stroke-width="2.2" stroke-linejoin="round"/>'
        # saddle blanket and bags
        f'<path d="M66 50 Q92 40 116 52 L118 84 Q92 92 64 84 Z" fill="url(#cblank)" stroke="{LINE}" stroke-width="1.8"/>'
        f'<path d="M66 78 Q92 86 118 78" fill="none" stroke="{hexc(style.GOLD)}" stroke-width="3"/>'
        + "".join(f'<path d="M{x} {83 + (x % 3)} l-2 8 l4 0 z" fill="{hexc(style.GOLD)}" stroke="{LINE}" stroke-width="0.8"/>' for x in range(70, 118, 8)) +
        f'<rect x="84" y="66" width="20" height="26" rx="4" fill="{hexc(style.UMBER)}" stroke="{LINE}" stroke-width="1.6"/>'
        # neck and head
        f'<path d="M56 62 Q42 60 36 44 Q32 30 22 26 Q10 22 6 30 Q2 38 10 42 Q18 44 22 42 Q26 58 34 74 Q40 86 50 88 Z" '
        f'fill="url(#chide)" stroke="{LINE}" stroke-width="2.2" stroke-linejoin="round"/>'
        f'<path d="M18 24 Q20 16 26 20" fill="{hexc(CAMEL_HIDE)}" stroke="{LINE}" stroke-width="1.6"/>'
        f'<circle cx="17" cy="30" r="2.2" fill="{LINE}"/><path d="M13 27 q4 -3 8 0" fill="none" stroke="{LINE}" stroke-width="1.3"/>'
        f'<path d="M6 36 q3 2 6 1" fill="none" stroke="{LINE}" stroke-width="1.3"/>'
        # bridle with a tassel
        f'<path d="M10 42 Q22 38 30 30 M24 40 L30 52" fill="none" stroke="{hexc(style.TERRACOTTA)}" stroke-width="2.5"/>'
        f'<circle cx="30" cy="54" r="3" fill="{hexc(style.GOLD)}" stroke="{LINE}" stroke-width="1"/>'
        "</g>"
    )
    # the body hides the tops of the legs, so each thigh grows out of it
    return f'<g transform="scale({scale})">' + legs_far + legs_near + body + "</g>", defs


def camel_image(phase=None):
    body, defs = camel_svg(phase)
    img = svg_layer(body, CAMEL_FRAME, defs, supersample=3)
    return style.outline(style.rim_light(img, 3))


# ---- the scarab ----------------------------------------------------------------------
BUG_POS = (509, 161)
BUG_FRAME = (110, 80)
BUG_PERCH = (24, 19)             # on the column top, inside the bug's frame
BUG_FRAMES = 47


def scarab_svg(x, y, angle=0.0, wings=0.0, flap=0.0, scale=1.0, walk=0.0):
    """A scarab seen from above at (x, y), head towards `angle` (0 = left)."""
    shell = (0x24, 0x3C, 0x6A)
    lit = mix(shell, (0x8F, 0xD0, 0xC8), 0.6)
    legs = ""
    for i, (lx, ly) in enumerate(((-4, -7), (2, -8), (8, -7))):
        sw = math.sin(walk + i * 2.1) * 2.5
        for s in (-1, 1):
            legs += (f'<path d="M{lx} {ly * s * 0.5} l{-3 + sw * s} {ly * s * 0.8} l{-3} {ly * s * 0.35}" fill="none" '
                     f'stroke="{LINE}" stroke-width="1.6" stroke-linecap="round"/>')
    elytra = ""
    if wings > 0:
        open_a = 35 * wings
        membrane = 0.6 + 0.4 * math.sin(flap)
        for s in (-1, 1):
            elytra += (f'<g transform="rotate({s * (open_a + 10):.1f} -2 0)">'
                       f'<ellipse cx="10" cy="{s * 9 * membrane:.1f}" rx="14" ry="{5 * membrane + 1:.1f}" fill="#e8f4f4" opacity="0.6" stroke="{LINE}" stroke-width="0.8"/></g>')
        shells = "".join(f'<g transform="rotate({s * open_a:.1f} -4 0)"><path d="M-4 0 Q0 {s * 8} 10 {s * 7} Q16 {s * 3} 14 0 Z" fill="{hexc(shell)}" stroke="{LINE}" stroke-width="1.2"/></g>'
                         for s in (-1, 1))
    else:
        shells = (f'<ellipse cx="5" cy="0" rx="10" ry="7.5" fill="{hexc(shell)}" stroke="{LINE}" stroke-width="1.4"/>'
                  f'<path d="M-4 0 H15" stroke="{LINE}" stroke-width="0.9"/>'
                  f'<ellipse cx="2" cy="-3.5" rx="4.5" ry="1.8" fill="{hexc(lit)}" opacity="0.8"/>')
    head = (f'<ellipse cx="-7" cy="0" rx="4.5" ry="5.5" fill="{hexc(mix(shell, style.SHADOW, 0.2))}" stroke="{LINE}" stroke-width="1.2"/>'
            f'<path d="M-11 -4 l-3 -1 l1 2.5 l-2.5 1 l2.5 1 l-1 2.5 l3 -1" fill="{hexc(shell)}" stroke="{LINE}" stroke-width="0.9"/>')
    return (f'<g transform="translate({x:.1f} {y:.1f}) rotate({angle:.1f}) scale({scale * 0.8:.2f})">'
            + legs + elytra + shells + head + "</g>")


def bug_frames():
    """The scarab flies in, lands on the column, walks, rests, and flies off."""
    frames = []
    px, py = BUG_PERCH
    for f in range(BUG_FRAMES):
        opacity = 1.0
        if f < 12:                                  # dropping in out of the sky
            t = f / 12.0
            e = 1 - (1 - t) ** 2
            x = 46 + (px + 6 - 46) * e
            y = 4 + (py - 6 - 4) * e
            body = scarab_svg(x, y, angle=-60 + 60 * t, wings=1.0, flap=f * 2.3, scale=0.4 + 0.6 * e)
            opacity = min(1.0, (f + 1) / 4.0)
        elif f < 16:                                # landing
            t = (f - 12) / 4.0
            body = scarab_svg(px + 6 - 4 * t, py - 6 + 6 * t, wings=1 - t, flap=f * 2.3)
        elif f < 32:                                # walking across the top and back
            t = (f - 16) / 16.0
            x = px + 2 + math.sin(t * math.pi) * 12
            ang = 180 if t < 0.5 else 0
            body = scarab_svg(x, py + (1 if f % 2 else 0) * 0.5, angle=ang, walk=f * 1.6)
        elif f < 36:                                # wing cases open
            t = (f - 32) / 4.0
            body = scarab_svg(px + 2, py - 2 * t, angle=-20 * t, wings=t, flap=f * 2.3)
        else:                                       # away into the sky, growing small
            t = (f - 36) / 10.0
            x = px + 2 + (60 - px) * t
            y = py - 2 - (py - 4) * t ** 0.7
            body = scarab_svg(x, y, angle=-20 - 100 * t, wings=1.0, flap=f * 2.3, scale=1 - 0.6 * t)
            opacity = 1 - max(0.0, (t - 0.5) / 0.5)
        img = svg_layer(f'<g opacity="{opacity:.2f}">{body}</g>', BUG_FRAME, supersample=3)
        frames.append(img)
    return frames


# ---- dust ------------------------------------------------------------------------------
DUST_FRAME = (240, 160)
DUST_CENTRE = (120, 122)        # where the puff bursts from, inside the frame: under a menu item
DUST_FRAMES = 40


def dust_frames():
    """A puff of sand: billows burst out low and wide, swell and thin away."""
    rng = random.Random(11)
    blobs = []
    for i in range(56):
        a = rng.uniform(math.pi * 0.97, math.pi * 2.03)     # sideways and up, hugging the ground
        reach = rng.uniform(0.25, 1.0) ** 0.7
        blobs.append((math.cos(a) * reach * 100, math.sin(a) * reach * 22, rng.uniform(6, 11), rng.uniform(0.0, 0.2)))
    grit = [(rng.uniform(-1, 1) * 100, -rng.uniform(0.2, 1) * 70, rng.uniform(0.0, 0.3)) for _ in range(24)]
    frames = []
    cx, cy = DUST_CENTRE
    for f in range(DUST_FRAMES):
        t = (f + 1) / DUST_FRAMES
        body = ""
        for dx, dy, r0, delay in blobs:
            tt = max(0.0, t - delay) / (1 - delay)
            if tt <= 0:
                continue
            ease = 1 - (1 - tt) ** 2.5
            x = cx + dx * ease
            y = cy + dy * ease - 8 * tt
            r = r0 * (0.6 + 1.5 * ease)
            alpha = 0.5 * (1 - tt) ** 1.2 * min(1.0, tt * 8)
            body += f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r:.1f}" fill="url(#dp)" opacity="{alpha:.3f}"/>'
        for gx, gy, delay in grit:               # single grains thrown further, falling back
            tt = max(0.0, t - delay) / (1 - delay)
            if tt <= 0 or tt >= 1:
                continue
            x = cx + gx * tt
            y = cy + gy * tt * (1.6 - tt * 1.2)
            body += f'<circle cx="{x:.1f}" cy="{y:.1f}" r="1.3" fill="{hexc(style.SANDSTONE)}" opacity="{0.9 * (1 - tt):.2f}"/>'
        defs = ('<radialGradient id="dp" cx="0.4" cy="0.35" r="0.6">'
                f'<stop offset="0" stop-color="{hexc(mix(style.SAND, style.IVORY, 0.45))}"/>'
                f'<stop offset="0.6" stop-color="{hexc(style.SAND)}" stop-opacity="0.8"/>'
                f'<stop offset="1" stop-color="{hexc(style.SANDSTONE)}" stop-opacity="0"/></radialGradient>')
        frames.append(svg_layer(body, DUST_FRAME, defs, supersample=2))
    return frames


# ---- the balloon -----------------------------------------------------------------------
BALLOON_POS = (425, 429)
BALLOON_SIZE = (160, 90)
BALLOON_LINES = ("G'day, mate!", "Let's go digging!")


def font(size, bold=True):
    return ImageFont.truetype(style.FONT_BOLD if bold else style.FONT_REGULAR, size)


def balloon():
    """A speech balloon from the hero, its tail reaching up to his right."""
    w, h = BALLOON_SIZE
    body = (f'<path d="M14 8 H124 Q138 8 138 22 V58 Q138 72 124 72 H40 L22 86 L26 72 H14 Q2 72 2 58 V22 Q2 8 14 8 Z" '
            f'transform="translate(0 0)" fill="url(#bal)" stroke="{LINE}" stroke-width="2.2" stroke-linejoin="round"/>'
            f'<path d="M138 26 L158 4 L136 44 Z" fill="{hexc(style.IVORY)}" stroke="{LINE}" stroke-width="2.2" stroke-linejoin="round"/>'
            f'<path d="M136.5 27 L136.5 43" stroke="{hexc(style.IVORY)}" stroke-width="3"/>')
    defs = lin("bal", (0xFF, 0xFB, 0xF0), mix(style.IVORY, style.SAND, 0.35))
    img = svg_layer(body, BALLOON_SIZE, defs)
    d = ImageDraw.Draw(img)
    f = font(15)
    for i, line in enumerate(BALLOON_LINES):
        tw = d.textlength(line, font=f)
        d.text((70 - tw / 2, 17 + i * 24), line, font=f, fill=style.UMBER + (255,))
    return img


# ---- the menu background and its mask -------------------------------------------------
HORIZON = 300
CREST = 392                      # the dune crest that hides the camel's hooves
RUIN_AT = (498, 236)


def menu_back():
    """Everything behind the camel: sky, far pyramids, far dunes."""
    a = sky(W, H, NOON_SKY[0], NOON_SKY[1], HORIZON + 10, sun=(150, 58, 26))
    paste(a, pyramids(HORIZON + 4, mix(style.SANDSTONE, NOON_SKY[1], 0.45), NOON_SKY[1],
                      [(360, 40, 46), (418, 28, 32), (306, 20, 22)]))
    far = mix(style.SAND, NOON_SKY[1], 0.35)
    paint_dune(a, ridge(W, 5, HORIZON, 10, 3), far, 0.2, 0.1, 40)
    paint_dune(a, ridge(W, 8, HORIZON + 30, 16, 3), mix(style.SAND, NOON_SKY[1], 0.15), 0.3, 0.15, 50)
    paint_dune(a, ridge(W, 9, 362, 14, 2), style.SAND, 0.3, 0.2, 60, 0.03, 4)
    return a


def menu_front():
    """Everything in front of the camel, as an RGBA layer: the ruin and the near sand."""
    layer = np.zeros((H, W, 3), np.float32)
    alpha = np.zeros((H, W), np.float32)
    # near dunes: the crest that hides the camel's hooves, then the dig site's floor
    crest = ridge(W, 21, CREST, 8, 3)
    inside = paint_dune(layer, crest, mix(style.SAND, style.IVORY, 0.08), 0.35, 0.2, 70, 0.05, 6)
    alpha = np.maximum(alpha, inside)
    floor = ridge(W, 23, 470, 10, 2)
    floor[:330] += np.linspace(40, 0, 330)          # the tablets' column stays plain and low
    inside = paint_dune(layer, floor, style.SAND, 0.3, 0.22, 90, 0.06, 7)
    img = Image.fromarray(np.dstack([np.clip(layer, 0, 255), alpha * 255]).astype(np.uint8), "RGBA")
    img = grain(img, 6, 2)
    rl = ruin(*RUIN_AT, stone=mix(style.SANDSTONE, style.SAND, 0.2), width=214, height=176)
    img.alpha_composite(grain(rl, 5, 3))
    img.alpha_composite(dig_site())
    return img


def dig_site():
    """The dig: a pit shored with planks, a ladder, a crate and a basket of finds."""
    board = (0x9A, 0x6A, 0x3A)
    body = []
    # the pit
    body.append(f'<path d="M336 466 Q420 452 506 468 L496 512 Q420 526 346 512 Z" fill="url(#pit)" stroke="{LINE}" stroke-width="2"/>')
    for x in range(352, 500, 26):
        body.append(f'<path d="M{x} 462 L{x - 2} 514" stroke="{hexc(mix(board, style.SHADOW, 0.3))}" stroke-width="6"/>')
        body.append(f'<path d="M{x - 2} 462 L{x - 4} 514" stroke="{hexc(mix(board, style.IVORY, 0.25))}" stroke-width="1.5"/>')
    body.append(f'<path d="M336 466 Q420 452 506 468" fill="none" stroke="{hexc(board)}" stroke-width="7"/>')
    body.append(f'<path d="M336 466 Q420 452 506 468" fill="none" stroke="{LINE}" stroke-width="1.5" transform="translate(0 4)"/>')
    # the ladder poking out of it
    for lx in (388, 408):
        body.append(f'<path d="M{lx} 504 L{lx + 10} 420" stroke="{LINE}" stroke-width="6" stroke-linecap="round"/>'
                    f'<path d="M{lx} 504 L{lx + 10} 420" stroke="{hexc(board)}" stroke-width="4" stroke-linecap="round"/>')
    for k in range(5):
        y = 496 - k * 18
        body.append(f'<path d="M{389 + k * 2.1:.1f} {y} L{409 + k * 2.1:.1f} {y}" stroke="{LINE}" stroke-width="4.5"/>'
                    f'<path d="M{389 + k * 2.1:.1f} {y} L{409 + k * 2.1:.1f} {y}" stroke="{hexc(board)}" stroke-width="2.5"/>')
    # a crate and a basket of finds
    body.append(f'<rect x="460" y="420" width="44" height="38" fill="url(#crate)" stroke="{LINE}" stroke-width="2"/>'
                f'<path d="M460 420 L504 458 M504 420 L460 458" stroke="{hexc(mix(board, style.SHADOW, 0.35))}" stroke-width="3"/>'
                f'<rect x="460" y="420" width="44" height="38" fill="none" stroke="{hexc(mix(board, style.SHADOW, 0.35))}" stroke-width="4"/>')
    body.append(f'<path d="M344 432 L376 432 L372 458 L348 458 Z" fill="{hexc((0xB8, 0x92, 0x50))}" stroke="{LINE}" stroke-width="1.8"/>'
                f'<path d="M346 440 H374 M347 448 H373" stroke="{hexc((0x8A, 0x66, 0x30))}" stroke-width="1.5"/>'
                f'<circle cx="356" cy="430" r="5" fill="{hexc(style.GOLD)}" stroke="{LINE}" stroke-width="1.2"/>'
                f'<circle cx="366" cy="431" r="4" fill="{hexc(style.TURQUOISE)}" stroke="{LINE}" stroke-width="1.2"/>')
    # a pick stuck in the spoil heap
    body.append(f'<path d="M520 452 L540 404" stroke="{LINE}" stroke-width="6" stroke-linecap="round"/>'
                f'<path d="M520 452 L540 404" stroke="{hexc(board)}" stroke-width="4" stroke-linecap="round"/>'
                f'<path d="M522 408 Q540 396 560 410 Q540 402 524 414 Z" fill="{hexc((0x80, 0x7E, 0x7A))}" stroke="{LINE}" stroke-width="1.6"/>')
    # stakes and a rope round the pit, and the surveyor's flag
    stakes = [(338, 500), (360, 448), (430, 444), (500, 450), (512, 500)]
    rope = "M%d %d " % (stakes[0][0], stakes[0][1] - 14) + " ".join(
        "Q%d %d %d %d" % ((x0 + x1) / 2, max(y0, y1) - 6, x1, y1 - 14) for (x0, y0), (x1, y1) in zip(stakes, stakes[1:]))
    body.append(f'<path d="{rope}" fill="none" stroke="{LINE}" stroke-width="3"/>'
                f'<path d="{rope}" fill="none" stroke="{hexc((0xD8, 0xC0, 0x8A))}" stroke-width="1.6"/>')
    for x, y in stakes:
        body.append(f'<path d="M{x} {y} V{y - 20}" stroke="{LINE}" stroke-width="5.5" stroke-linecap="round"/>'
                    f'<path d="M{x} {y} V{y - 20}" stroke="{hexc(board)}" stroke-width="3.5" stroke-linecap="round"/>')
    body.append(f'<path d="M322 470 V404" stroke="{LINE}" stroke-width="4"/><path d="M322 470 V404" stroke="{hexc(board)}" stroke-width="2.4"/>'
                f'<path d="M323 405 L346 412 L323 420 Z" fill="{hexc(style.TERRACOTTA)}" stroke="{LINE}" stroke-width="1.4"/>')
    # stones and potsherds turned up by the dig
    for x, y, r in ((530, 478, 7), (544, 484, 4), (352, 528, 5), (478, 530, 6), (500, 536, 3.5)):
        body.append(f'<ellipse cx="{x}" cy="{y}" rx="{r * 1.4}" ry="{r}" fill="url(#rock)" stroke="{LINE}" stroke-width="1.4"/>')
    body.append(f'<path d="M452 524 l10 -6 l8 4 l-4 7 z" fill="{hexc(style.TERRACOTTA)}" stroke="{LINE}" stroke-width="1.3"/>'
                f'<path d="M372 540 l9 -3 l4 6 l-9 3 z" fill="{hexc(mix(style.TERRACOTTA, style.SAND, 0.3))}" stroke="{LINE}" stroke-width="1.3"/>')
    defs = (lin("pit", mix(style.UMBER, style.SHADOW, 0.3), mix(style.SANDSTONE, style.UMBER, 0.4), 0, 1)
            + lin("rock", mix(style.SANDSTONE, style.IVORY, 0.3), mix(style.SANDSTONE, style.SHADOW, 0.45))
            + lin("crate", mix(board, style.IVORY, 0.3), mix(board, style.SHADOW, 0.3)))
    # shadows of the props on the sand, to the bottom right
    shadows = (f'<ellipse cx="488" cy="462" rx="30" ry="6" fill="{hexc(style.SHADOW)}" opacity="0.3"/>'
               f'<ellipse cx="366" cy="461" rx="20" ry="4" fill="{hexc(style.SHADOW)}" opacity="0.3"/>')
    return svg_layer(shadows + "".join(body), defs=defs)


def menu_images():
    back = menu_back()
    front = menu_front()
    base = to_img(back).convert("RGBA")
    base.alpha_composite(front)
    plaque = style.player_plaque(lit=False)
    style.lay(base, plaque, style.PLAYER_PLAQUE_POS, margin=4, blur=2)
    chapter0 = base.convert("RGB")
    # the mask is the front layer where the camel walks; below the crest rows it
    # stays clear, so the plaque and the dig site are never drawn twice
    mask = front.copy()
    a = np.asarray(mask).copy()
    a[CAMEL_BOTTOM + 12:, :, 3] = 0
    mask = Image.fromarray(a, "RGBA")
    return chapter0, mask


CAMEL_BOTTOM = 250 + 157


def camel_strip():
    strip = Image.new("RGBA", (CAMEL_FRAME[0] * 5, CAMEL_FRAME[1]), (0, 0, 0, 0))
    for k in range(4):
        strip.alpha_composite(camel_image(k / 4.0), (k * CAMEL_FRAME[0], 0))
    strip.alpha_composite(camel_image(None), (4 * CAMEL_FRAME[0], 0))
    return strip


def build():
    chapter0, mask = menu_images()
    style.save(chapter0, "chapter0.png")
    style.save(mask, "mask.png")
    style.save(camel_strip(), "kamila_anim_final.png")
    for i, img in enumerate(bug_frames(), start=1):
        style.save(img, "buba/buba0%d.png" % i)
    for i, img in enumerate(dust_frames(), start=1):
        style.save(img, "dust/dust0%d.png" % i)
    style.save(balloon(), "baloon.png")


if __name__ == "__main__":
    build()
