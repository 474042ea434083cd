"""Tovi himself: one model of the hero, drawn in every pose the game needs.

The model is an SVG figure in a 240 x 400 frame (feet on the bottom edge),
built from a pose: where his free arm is, what his eyes and mouth do, whether
his hat is lifted, what he holds. Every image of him (the menu animations, the
level portrait, the window icon and the story pictures) is cut from this one
figure, so he is the same man everywhere.

Makes tovi_anim1..12.png (the menu), tovilevel/tovilevel1..4.png (the HUD
portrait) and tovi_icon.bmp (the window icon).
"""

import math
import random

from PIL import Image

import style
from style import OUTLINE, hexc, mix

# ---- the hero's colours ---------------------------------------------------------
SKIN = (0xE0, 0x96, 0x66)        # sunburnt
SKIN_DARK = (0xB0, 0x62, 0x3E)
BURN = (0xD8, 0x5E, 0x44)        # nose and cheeks
HAT = (0x8A, 0x5A, 0x30)         # weathered felt
HAT_BAND = (0x4A, 0x2C, 0x18)
SHIRT = (0xC2, 0xAC, 0x72)       # khaki
SHIRT_DARK = (0x8E, 0x7A, 0x48)
TROUSERS = (0x6E, 0x66, 0x44)
BOOTS = (0x5A, 0x36, 0x1E)
BANDANA = style.TERRACOTTA
STUBBLE = (0x6A, 0x40, 0x28)
HAIR = (0x7A, 0x48, 0x22)
TEETH = (0xF8, 0xF0, 0xDC)
IRON = (0x7C, 0x7A, 0x78)
HANDLE = (0xA0, 0x70, 0x3C)

FRAME = (240, 400)               # the model's own frame, feet at the bottom

REST = {
    "arm": "hip",        # the free arm: hip, wave, point, tip, hat, hold
    "eyes": "open",      # open, half, closed
    "look": 0.0,         # pupils, -1 left .. 1 right
    "mouth": "grin",     # grin (closed), open, mid, o
    "brow": 0.0,         # eyebrows raised, 0 .. 1
    "hat_lift": 0.0,     # pixels the hat rides above his head
    "hat_tilt": 0.0,     # degrees, positive tips it to his left (our right)
    "shovel": True,      # the shovel planted at his right hand
    "lean": 0.0,         # degrees the upper body sways
    "prop": None,        # what the free hand holds: None, torch, scroll, crystal
}


def pose(**changes):
    p = dict(REST)
    p.update(changes)
    return p


def _grad(gid, base, light=0.35, dark=0.35, x2=0.6, y2=1.0):
    """A top-left lit gradient on one colour."""
    return (f'<linearGradient id="{gid}" x1="0" y1="0" x2="{x2}" y2="{y2}">'
            f'<stop offset="0" stop-color="{hexc(mix(base, style.IVORY, light))}"/>'
            f'<stop offset="0.5" stop-color="{hexc(base)}"/>'
            f'<stop offset="1" stop-color="{hexc(mix(base, style.SHADOW, dark))}"/>'
            f'</linearGradient>')


def _defs():
    return ("<defs>" + "".join([
        _grad("gskin", SKIN, 0.25, 0.3),
        _grad("ghat", HAT, 0.3, 0.45),
        _grad("gbrim", HAT, 0.35, 0.5, 1.0, 0.3),
        _grad("gshirt", SHIRT, 0.35, 0.4, 0.8, 1.0),
        _grad("gtrou", TROUSERS, 0.25, 0.45, 0.8, 1.0),
        _grad("gboot", BOOTS, 0.3, 0.4),
        _grad("giron", IRON, 0.45, 0.4),
        _grad("gband", BANDANA, 0.3, 0.35),
        '<radialGradient id="gshade" cx="0.5" cy="0.5" r="0.5">'
        f'<stop offset="0" stop-color="{hexc(style.SHADOW)}" stop-opacity="0.45"/>'
        f'<stop offset="1" stop-color="{hexc(style.SHADOW)}" stop-opacity="0"/>'
        '</radialGradient>',
        '<linearGradient id="gbrimshade" x1="0" y1="0" x2="0" y2="1">'
        f'<stop offset="0" stop-color="{hexc(style.SHADOW)}" stop-opacity="0.45"/>'
        f'<stop offset="1" stop-color="{hexc(style.SHADOW)}" stop-opacity="0"/>'
        '</linearGradient>',
    ]) + "</defs>")


LINE = hexc(OUTLINE)


def _limb(points, width, fill, line_w=2.2):
    """A rounded limb along the points: a dark stroke under a coloured one."""
    d = "M" + " L".join("%.1f %.1f" % pt for pt in points)
    return (f'<path d="{d}" fill="none" stroke="{LINE}" stroke-width="{width + line_w}" '
            f'stroke-linecap="round" stroke-linejoin="round"/>'
            f'<path d="{d}" fill="none" stroke="{fill}" stroke-width="{width}" '
            f'stroke-linecap="round" stroke-linejoin="round"/>')


def _hand(x, y, r=8.5, open_palm=False):
    s = (f'<circle cx="{x:.1f}" cy="{y:.1f}" r="{r}" fill="url(#gskin)" stroke="{LINE}" stroke-width="1.6"/>')
    if open_palm:
        for i, a in enumerate((-60, -30, 0, 30)):
            ex = x + math.sin(math.radians(a)) * (r + 6)
            ey = y - math.cos(math.radians(a)) * (r + 6)
            s += _limb([(x + math.sin(math.radians(a)) * r * 0.5, y - math.cos(math.radians(a)) * r * 0.5), (ex, ey)],
                       3.6, hexc(SKIN), 1.4)
    else:
        s += (f'<path d="M{x - r * 0.6:.1f} {y - r * 0.2:.1f} q{r * 0.6:.1f} {r * 0.5:.1f} {r * 1.2:.1f} 0" '
              f'fill="none" stroke="{hexc(SKIN_DARK)}" stroke-width="1.2"/>')
    return s


# Where the free arm (his left, our right) goes: shoulder, elbow, hand, and
# whether the palm is open.
ARMS = {
    "hip": [(166, 150), (194, 196), (166, 234), False],
    "wave": [(166, 150), (196, 176), (204, 128), True],
    "point": [(166, 150), (200, 170), (226, 150), False],
    "tip": [(166, 150), (200, 150), (186, 96), False],
    "hat": [(166, 150), (200, 128), (190, 62), False],
    "hold": [(166, 150), (182, 196), (150, 212), False],
    "raise": [(166, 150), (194, 104), (194, 40), False],
}


def _stubble(rng):
    dots = []
    for _ in range(150):
        a = rng.uniform(0.15, math.pi - 0.15)
        r = rng.uniform(0.55, 1.0)
        x = 125 + math.cos(a) * 27 * r
        y = 104 + math.sin(a) * 24 * r
        if abs(x - 125) < 12 and y < 116:
            continue            # keep the mouth clear
        dots.append(f'<circle cx="{x:.1f}" cy="{y:.1f}" r="0.75"/>')
    return f'<g fill="{hexc(STUBBLE)}" opacity="0.55">' + "".join(dots) + "</g>"


def _eyes(p):
    out = []
    dx = p["look"] * 2.2
    for cx in (112, 139):
        cy = 93
        if p["eyes"] == "closed":
            out.append(f'<path d="M{cx - 6} {cy} q6 4 12 0" fill="none" stroke="{LINE}" stroke-width="2" stroke-linecap="round"/>')
            continue
        ry = 4.6 if p["eyes"] == "open" else 2.4
        out.append(f'<ellipse cx="{cx}" cy="{cy}" rx="6" ry="{ry}" fill="{hexc(TEETH)}" stroke="{LINE}" stroke-width="1.3"/>')
        py = cy + (0.8 if p["eyes"] == "half" else 0)
        pr = 2.9 if p["eyes"] == "open" else 2.2
        out.append(f'<circle cx="{cx + dx:.1f}" cy="{py:.1f}" r="{pr}" fill="#3a6a8a"/>')
        out.append(f'<circle cx="{cx + dx:.1f}" cy="{py:.1f}" r="1.5" fill="{LINE}"/>')
        if p["eyes"] == "open":
            out.append(f'<circle cx="{cx + dx - 1.2:.1f}" cy="{py - 1.3:.1f}" r="0.9" fill="#ffffff"/>')
        else:
            # the upper lid, drooping over half the eye
            out.append(f'<path d="M{cx - 6.5} {cy - 0.5} q6.5 -5 13 0 v-4 h-13 z" fill="url(#gskin)" stroke="{LINE}" stroke-width="1.3"/>')
    lift = -p["brow"] * 4
    for cx, tilt in ((112, 2), (139, -2)):
        out.append(f'<path d="M{cx - 8} {85 + lift + tilt} Q{cx} {80 + lift} {cx + 8} {85 + lift - tilt}" '
                   f'fill="none" stroke="{hexc(HAIR)}" stroke-width="3.6" stroke-linecap="round"/>')
    return "".join(out)


def _mouth(p):
    m = p["mouth"]
    if m == "grin":        # closed, a wide sunburnt grin with the teeth showing
        return (f'<path d="M108 110 Q125 124 144 108 Q126 116 108 110 Z" fill="{hexc(TEETH)}" stroke="{LINE}" stroke-width="1.6" stroke-linejoin="round"/>'
                f'<path d="M105 108 q2 3 4 2 M143 106 q2 1 3 -2" fill="none" stroke="{LINE}" stroke-width="1.3"/>')
    if m == "open":        # talking, wide open
        return (f'<path d="M109 108 Q125 104 143 107 Q140 128 126 129 Q112 128 109 108 Z" fill="#5a1e16" stroke="{LINE}" stroke-width="1.6"/>'
                f'<path d="M111 109 Q126 106 141 108 L140 112 Q126 110 112 113 Z" fill="{hexc(TEETH)}"/>'
                f'<ellipse cx="126" cy="124" rx="8" ry="3.5" fill="#c0504a"/>')
    if m == "mid":
        return (f'<path d="M109 109 Q126 106 143 108 Q138 120 126 120 Q113 120 109 109 Z" fill="#5a1e16" stroke="{LINE}" stroke-width="1.6"/>'
                f'<path d="M111 110 Q126 107 141 109 L140 112 Q126 111 112 113 Z" fill="{hexc(TEETH)}"/>')
    # "o": a round "oh"
    return f'<ellipse cx="126" cy="114" rx="6" ry="7" fill="#5a1e16" stroke="{LINE}" stroke-width="1.6"/>'


def _hat(p):
    lift, tilt = p["hat_lift"], p["hat_tilt"]
    return (f'<g transform="translate(0 {-lift:.1f}) rotate({tilt:.1f} 125 66)">'
            # brim, back half
            f'<ellipse cx="125" cy="68" rx="74" ry="15" fill="url(#gbrim)" stroke="{LINE}" stroke-width="2"/>'
            # crown with its dented top
            f'<path d="M88 66 C86 44 90 30 100 24 Q112 30 125 22 Q138 30 150 24 C160 30 164 44 162 66 Z" '
            f'fill="url(#ghat)" stroke="{LINE}" stroke-width="2" stroke-linejoin="round"/>'
            f'<path d="M125 24 Q123 38 126 50" fill="none" stroke="{hexc(mix(HAT, style.SHADOW, 0.5))}" stroke-width="2"/>'
            f'<path d="M96 30 Q100 44 98 58" fill="none" stroke="{hexc(mix(HAT, style.IVORY, 0.4))}" stroke-width="2.5" opacity="0.6"/>'
            # band with a croc tooth tucked in
            f'<path d="M88.5 56 Q125 62 161.5 56 L162 65 Q125 71 88 65 Z" fill="{hexc(HAT_BAND)}" stroke="{LINE}" stroke-width="1.5"/>'
            f'<path d="M150 56 l4 -14 l3 14 z" fill="{hexc(style.IVORY)}" stroke="{LINE}" stroke-width="1.2"/>'
            # front of the brim, curled up at the sides
            f'<path d="M51 66 Q60 80 125 84 Q190 80 199 66 Q190 74 125 76 Q62 74 51 66 Z" '
            f'fill="{hexc(mix(HAT, style.SHADOW, 0.25))}" stroke="{LINE}" stroke-width="1.8" stroke-linejoin="round"/>'
            "</g>")


def _head(p, rng):
    return (
        # hair on his crown, seen when the hat comes off
        f'<path d="M97 80 Q94 56 125 54 Q156 56 154 80 Q140 66 125 68 Q110 66 97 80 Z" fill="{hexc(HAIR)}" stroke="{LINE}" stroke-width="1.6"/>'
        # ears
        f'<ellipse cx="95" cy="98" rx="6" ry="9" fill="url(#gskin)" stroke="{LINE}" stroke-width="1.6"/>'
        f'<ellipse cx="156" cy="98" rx="6" ry="9" fill="url(#gskin)" stroke="{LINE}" stroke-width="1.6"/>'
        # neck
        f'<path d="M110 118 L110 140 L141 140 L141 118 Z" fill="{hexc(SKIN_DARK)}" stroke="{LINE}" stroke-width="1.6"/>'
        # face: broad cheeks, square stubbled jaw
        f'<path d="M97 78 Q96 60 125 60 Q155 60 154 78 L155 104 Q152 126 126 130 Q99 126 96 104 Z" '
        f'fill="url(#gskin)" stroke="{LINE}" stroke-width="2"/>'
        f'<path d="M100 96 Q101 124 126 128 Q150 124 151 96 Q146 118 126 121 Q105 118 100 96 Z" fill="{hexc(STUBBLE)}" opacity="0.22"/>'
        + _stubble(rng) +
        # hair showing at the temples
        f'<path d="M97 76 Q98 66 106 64 L102 82 Z M154 76 Q153 66 145 64 L149 82 Z" fill="{hexc(HAIR)}" stroke="{LINE}" stroke-width="1.2"/>'
        # sunburn
        f'<ellipse cx="106" cy="104" rx="6" ry="4" fill="{hexc(BURN)}" opacity="0.45"/>'
        f'<ellipse cx="146" cy="104" rx="6" ry="4" fill="{hexc(BURN)}" opacity="0.45"/>'
        + _eyes(p) +
        # nose, big and red from the sun
        f'<path d="M124 92 Q118 104 119 106 Q126 111 133 105 Q131 98 128 92" fill="{hexc(mix(SKIN, BURN, 0.5))}" stroke="{LINE}" stroke-width="1.5" stroke-linejoin="round"/>'
        f'<ellipse cx="123" cy="101" rx="2" ry="1.4" fill="#ffffff" opacity="0.45"/>'
        + _mouth(p) +
        # the hat's shadow on his brow
        '<path d="M96 72 Q125 80 155 72 L155 90 Q125 96 96 90 Z" fill="url(#gbrimshade)"/>'
    )


def _body(p):
    s = []
    # legs: trousers tucked into boots
    s.append(f'<path d="M90 238 L88 370 L121 370 L124 262 L129 262 L131 370 L164 370 L162 238 Z" '
             f'fill="url(#gtrou)" stroke="{LINE}" stroke-width="2" stroke-linejoin="round"/>')
    s.append(f'<path d="M126 262 L126 368" stroke="{hexc(mix(TROUSERS, style.SHADOW, 0.5))}" stroke-width="1.5"/>')
    s.append(f'<path d="M96 300 Q104 296 108 304 M140 300 Q150 296 154 306" fill="none" stroke="{hexc(mix(TROUSERS, style.SHADOW, 0.4))}" stroke-width="1.5"/>')
    for x0 in (84, 128):
        s.append(f'<path d="M{x0 + 2} 356 L{x0 + 38} 356 L{x0 + 40} 380 Q{x0 + 48} 384 {x0 + 46} 394 L{x0 - 4} 394 Q{x0 - 6} 384 {x0} 380 Z" '
                 f'fill="url(#gboot)" stroke="{LINE}" stroke-width="2" stroke-linejoin="round"/>')
        s.append(f'<path d="M{x0 + 2} 362 L{x0 + 38} 362" stroke="{hexc(mix(BOOTS, style.IVORY, 0.3))}" stroke-width="1.5" opacity="0.7"/>')
    # shirt: broad shoulders, rolled sleeves, two pockets
    s.append(f'<g transform="rotate({p["lean"]:.1f} 126 238)">')
    s.append(f'<path d="M110 136 Q90 138 82 148 Q76 190 88 242 L164 242 Q176 190 170 148 Q162 138 141 136 Z" '
             f'fill="url(#gshirt)" stroke="{LINE}" stroke-width="2" stroke-linejoin="round"/>')
    s.append(f'<path d="M126 148 L126 240" stroke="{hexc(SHIRT_DARK)}" stroke-width="1.5"/>')
    for by in (160, 180, 200, 220):
        s.append(f'<circle cx="129" cy="{by}" r="1.8" fill="{hexc(mix(SHIRT_DARK, style.SHADOW, 0.3))}"/>')
    for px in (96, 136):
        s.append(f'<path d="M{px} 164 h20 v20 q-10 4 -20 0 z" fill="{hexc(mix(SHIRT, SHIRT_DARK, 0.35))}" stroke="{LINE}" stroke-width="1.3"/>')
        s.append(f'<path d="M{px - 1} 164 h22 v6 h-22 z" fill="{hexc(mix(SHIRT, SHIRT_DARK, 0.6))}" stroke="{LINE}" stroke-width="1.2"/>')
    # open collar and the bandana
    s.append(f'<path d="M108 134 L126 160 L144 134 Q126 146 108 134 Z" fill="{hexc(SKIN_DARK)}" stroke="{LINE}" stroke-width="1.4"/>')
    s.append(f'<path d="M106 132 Q126 144 146 132 L140 142 L126 158 L112 142 Z" fill="url(#gband)" stroke="{LINE}" stroke-width="1.6" stroke-linejoin="round"/>')
    s.append(f'<path d="M104 134 L112 150 L100 148 Z M148 134 L140 150 L152 148 Z" fill="{hexc(mix(SHIRT, style.IVORY, 0.2))}" stroke="{LINE}" stroke-width="1.3"/>')
    # belt and buckle
    s.append(f'<path d="M87 230 L165 230 L165 244 L87 244 Z" fill="{hexc(HAT_BAND)}" stroke="{LINE}" stroke-width="1.6"/>')
    s.append(f'<rect x="118" y="229" width="16" height="16" rx="2" fill="none" stroke="{hexc(style.GOLD)}" stroke-width="3"/>')
    s.append("</g>")
    return "".join(s)


def _shovel_arm(p):
    """His right arm (our left) resting on the shovel planted in the sand."""
    s = []
    if p["shovel"]:
        s.append(f'<path d="M62 336 L54 394 Q70 400 86 394 L78 336 Z" fill="url(#giron)" stroke="{LINE}" stroke-width="2" stroke-linejoin="round"/>')
        s.append('<path d="M63 340 L60 388" stroke="#ffffff" stroke-width="1.5" opacity="0.5"/>')
        s.append(_limb([(70, 228), (70, 340)], 6, hexc(HANDLE), 2))
        s.append(_limb([(60, 226), (80, 226)], 6, hexc(HANDLE), 2))
    s.append(_limb([(88, 150), (74, 192)], 20, hexc(SHIRT)))          # upper arm, in the sleeve
    s.append(f'<path d="M62 184 L86 192 L84 200 L60 192 Z" fill="{hexc(mix(SHIRT, SHIRT_DARK, 0.5))}" stroke="{LINE}" stroke-width="1.4"/>')
    s.append(_limb([(74, 196), (70, 226)], 13, hexc(SKIN)))           # forearm, sleeve rolled
    s.append(_hand(70, 228))
    return "".join(s)


def _free_arm(p):
    sh, el, ha, palm = ARMS[p["arm"]]
    s = [_limb([sh, el], 20, hexc(SHIRT))]
    # the rolled cuff just below the elbow
    ang = math.atan2(ha[1] - el[1], ha[0] - el[0])
    cx, cy = el[0] + math.cos(ang) * 4, el[1] + math.sin(ang) * 4
    nx, ny = -math.sin(ang) * 12, math.cos(ang) * 12
    s.append(f'<path d="M{cx + nx:.1f} {cy + ny:.1f} L{cx - nx:.1f} {cy - ny:.1f}" stroke="{LINE}" stroke-width="9.5" stroke-linecap="round"/>'
             f'<path d="M{cx + nx * 0.9:.1f} {cy + ny * 0.9:.1f} L{cx - nx * 0.9:.1f} {cy - ny * 0.9:.1f}" stroke="{hexc(mix(SHIRT, SHIRT_DARK, 0.5))}" stroke-width="7" stroke-linecap="round"/>')
    s.append(_limb([(cx, cy), ha], 13, hexc(SKIN)))
    s.append(_hand(ha[0], ha[1], open_palm=palm))
    return "".join(s)


def _prop(p):
    """What he holds in his free hand."""
    hx, hy = ARMS[p["arm"]][2]
    if p["prop"] == "torch":
        return (f'<path d="M{hx + 2} {hy + 16} L{hx - 4} {hy - 40}" stroke="{LINE}" stroke-width="8" stroke-linecap="round"/>'
                f'<path d="M{hx + 2} {hy + 16} L{hx - 4} {hy - 40}" stroke="{hexc(HANDLE)}" stroke-width="5.5" stroke-linecap="round"/>'
                f'<path d="M{hx - 9} {hy - 38} h11 v-6 h-11 z" fill="{hexc(HAT_BAND)}" stroke="{LINE}" stroke-width="1.2"/>'
                + style.flame_svg(hx - 4, hy - 44, 0.8))
    if p["prop"] == "scroll":
        return (f'<path d="M{hx - 56} {hy - 30} L{hx + 4} {hy - 30} L{hx + 4} {hy + 14} L{hx - 56} {hy + 14} Z" fill="{hexc(style.IVORY)}" stroke="{LINE}" stroke-width="1.6"/>'
                + "".join(f'<path d="M{hx - 50} {hy - 22 + k * 7} h{40 - (k % 3) * 8}" stroke="{hexc(style.UMBER)}" stroke-width="1.6" opacity="0.7"/>' for k in range(5)) +
                f'<rect x="{hx - 62}" y="{hy - 34}" width="9" height="52" rx="4" fill="{hexc(mix(style.IVORY, style.SANDSTONE, 0.5))}" stroke="{LINE}" stroke-width="1.5"/>'
                f'<rect x="{hx + 1}" y="{hy - 34}" width="9" height="52" rx="4" fill="{hexc(mix(style.IVORY, style.SANDSTONE, 0.5))}" stroke="{LINE}" stroke-width="1.5"/>')
    if p["prop"] == "crystal":
        cx, cy = hx - 2, hy - 30
        return (f'<circle cx="{cx}" cy="{cy}" r="34" fill="#bff6ff" opacity="0.35"/>'
                f'<path d="M{cx} {cy - 26} L{cx + 16} {cy} L{cx} {cy + 26} L{cx - 16} {cy} Z" fill="#7fe3f0" stroke="{LINE}" stroke-width="1.6"/>'
                f'<path d="M{cx} {cy - 26} L{cx + 16} {cy} L{cx} {cy} Z" fill="#d8fbff"/>'
                f'<path d="M{cx - 16} {cy} L{cx} {cy + 26} L{cx} {cy} Z" fill="#3fb0c8"/>')
    return ""


def hero_svg(p, view=(0, 0) + FRAME, ground_shadow=True):
    """The hero in pose `p` as SVG, showing the `view` box of his frame."""
    rng = random.Random(7)           # the same stubble in every picture
    vx, vy, vw, vh = view
    arm_behind_hat = p["arm"] in ("tip", "hat", "raise")
    parts = [_defs()]
    if ground_shadow:
        parts.append('<ellipse cx="122" cy="393" rx="92" ry="9" fill="url(#gshade)"/>')
    parts.append(_body(p))
    parts.append(_shovel_arm(p))
    parts.append(f'<g transform="rotate({p["lean"]:.1f} 126 238)">')
    parts.append(_head(p, rng))
    if arm_behind_hat:
        parts.append(_hat(p))
        parts.append(_free_arm(p))
    else:
        parts.append(_free_arm(p))
        parts.append(_hat(p))
    parts.append(_prop(p))
    parts.append("</g>")
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{vw}" height="{vh}" '
            f'viewBox="{vx} {vy} {vw} {vh}">' + "".join(parts) + "</svg>")


def render_hero(p, size, view=(0, 0) + FRAME, ground_shadow=True, supersample=2):
    """The hero as an RGBA image of `size`, with the house outline."""
    img = style.render_svg(hero_svg(p, view, ground_shadow), size, supersample)
    depth = max(1, int(round(size[1] / view[3] * 5)))
    return style.rim_light(img, depth, blur=max(0.8, depth / 2.5))


# ---- the menu animations ------------------------------------------------------------
# Drawn at (530, 130): 1..4 the first idle (1 the resting pose), 5..8 talking,
# 9..12 tipping his hat. Each frame is shown for 20 steps of 20 ms.
MENU_POSES = [
    pose(),
    pose(look=-1.0, brow=0.4),
    pose(look=-1.0, eyes="closed"),
    pose(look=0.6, brow=0.8, mouth="mid"),
    pose(mouth="open", arm="wave", brow=0.6),
    pose(mouth="mid", arm="wave", look=-0.5),
    pose(mouth="o", arm="point", brow=0.9, look=-1.0),
    pose(mouth="open", arm="point", look=-1.0),
    pose(arm="tip", brow=0.3),
    pose(arm="hat", hat_lift=4, hat_tilt=-4),
    pose(arm="raise", hat_lift=16, hat_tilt=-14, eyes="closed", brow=1.0),
    pose(arm="tip", hat_lift=1, brow=0.3, look=-0.6),
]
MENU_SIZE = FRAME              # 240 x 400: his boots at y 530 on the menu

# The portrait: head and shoulders in the HUD frame, 76 x 92.
PORTRAIT_SIZE = (76, 92)
PORTRAIT_VIEW = (60, 18, 132, 160)
PORTRAIT_POSES = [
    pose(),
    pose(eyes="half"),
    pose(eyes="closed"),
    pose(mouth="open"),
]


def portrait(p):
    """One portrait frame: the hero's head before a warm sky, opaque."""
    w, h = PORTRAIT_SIZE
    bg = Image.new("RGBA", (w, h))
    sky = style.mix((0x7F, 0xB8, 0xE0), style.IVORY, 0.25)
    for y in range(h):
        c = style.mix(sky, style.SAND, y / (h - 1))
        bg.paste(c + (255,), (0, y, w, y + 1))
    fig = render_hero(p, PORTRAIT_SIZE, PORTRAIT_VIEW, ground_shadow=False, supersample=4)
    fig = style.outline(fig)
    return Image.alpha_composite(bg, fig)


def icon():
    """The 32 x 32 window icon: hat and grin against the noon sky."""
    size = 32
    bg = Image.new("RGBA", (size, size), (0x7F, 0xB8, 0xE0, 255))
    fig = render_hero(pose(), (size, size), (62, 16, 126, 126), ground_shadow=False, supersample=8)
    fig = style.outline(fig)
    return Image.alpha_composite(bg, fig).convert("RGB")


def menu_frame(p):
    return style.outline(render_hero(p, MENU_SIZE))


def build():
    for i, p in enumerate(MENU_POSES, start=1):
        style.save(menu_frame(p), "tovi_anim%d.png" % i)
    for i, p in enumerate(PORTRAIT_POSES, start=1):
        style.save(portrait(p), "tovilevel/tovilevel%d.png" % i)
    icon().save(style.out_path("tovi_icon.bmp"), "BMP")


if __name__ == "__main__":
    build()
