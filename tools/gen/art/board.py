"""The board's art: wall tiles, elements, spikes, chapter backgrounds with the
HUD, the HUD button highlight, the board animations and the cursors.

Everything is painted with numpy and PIL: each sprite is a coverage mask, a
height field and an albedo at four times its size, lit from the top left
(shade.py), shrunk, outlined and shadowed. Noise is seeded, so a second run
gives the same files.
"""

import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter, ImageFont
from scipy import ndimage

from geometry import HUD_HINT, HUD_MENU, HUD_PORTRAIT, HUD_UNDO
import shade
from shade import SS, arr, dome, fill, finish, layer, light, paint, pen, periodic_noise
from style import (FONT_BOLD, GOLD, IVORY, LAPIS, OUTLINE, REED, SAND, SANDSTONE, TERRACOTTA, TURQUOISE,
                   drop_shadow, save)

CELL = 40
N = CELL * SS
BRONZE = (0xB0, 0x74, 0x38)
SILVER = (0xC8, 0xCC, 0xD4)
RUBY = (0xC0, 0x1C, 0x30)
IRON = (0x7A, 0x7E, 0x86)
ROSE = (0xE8, 0x84, 0xA8)
AMBER = (0xE8, 0x98, 0x20)
EMERALD = (0x20, 0xA0, 0x50)
CREAM = (0xF0, 0xE2, 0xB8)
ALABASTER = (0xEC, 0xE4, 0xD6)
RED_ORANGE = (0xE8, 0x50, 0x20)
BLACK_CAT = (0x2E, 0x2A, 0x30)
WHITE = (0xF8, 0xF6, 0xF0)
DEEP_RED = (0xB0, 0x20, 0x20)


def grid():
    yy, xx = np.mgrid[0:N, 0:N]
    return (xx + 0.5) / SS, (yy + 0.5) / SS


# ---- elements ------------------------------------------------------------------
# Each painter returns (mask, height, albedo, gloss) at SS size; mask 0..1.

def _base(draw_shape, radius, color, flat=0.0):
    m = layer((CELL, CELL))
    draw_shape(pen(m))
    mask = arr(m)
    h = dome(mask, radius, flat)
    return mask, h, fill(mask.shape, color)


def _symbol(draw_fn):
    m = layer((CELL, CELL))
    draw_fn(pen(m))
    return ndimage.gaussian_filter(arr(m), SS * 0.3)


def el_scarab():
    mask, h, alb = _base(lambda p: p.ellipse((6, 3, 33, 35)), 6, LAPIS)
    beetle = _symbol(lambda p: (p.ellipse((13, 14, 26, 30)), p.ellipse((15, 8, 24, 15)),
                                p.line([(13, 18), (9, 14)], 1.6), p.line([(26, 18), (30, 14)], 1.6),
                                p.line([(13, 24), (9, 28)], 1.6), p.line([(26, 24), (30, 28)], 1.6)))
    split = _symbol(lambda p: p.line([(19.5, 16), (19.5, 29)], 0.8))
    h = h + beetle * 1.6 - split * 0.8
    paint(alb, beetle, GOLD)
    gloss = 0.25 + beetle * 0.5
    return mask, h, alb, gloss


def el_ankh():
    def shape(p):
        p.ellipse((11, 2, 28, 19))
        p.rect((17, 14, 22, 36))
        p.rect((7, 16, 32, 21))
    mask, h, alb = _base(shape, 2.5, GOLD)
    hole = layer((CELL, CELL))
    pen(hole).ellipse((15.5, 6, 23.5, 15))
    hole = arr(hole)
    mask = mask * (1 - hole)
    h = dome(mask, 2.5)
    return mask, h, alb, 0.55


def el_helm():
    def shape(p):
        p.pie((6, 4, 34, 34), 180, 360)
        p.rect((6, 18, 34, 25))
        p.poly([(6, 24), (14, 24), (13, 35), (8, 35)])
        p.poly([(26, 24), (34, 24), (32, 35), (27, 35)])
    mask, h, alb = _base(shape, 5, BRONZE)
    crest = _symbol(lambda p: p.rrect((17.5, 1.5, 22.5, 19), 2))
    band = _symbol(lambda p: p.rect((6, 19, 34, 21)))
    mask = np.maximum(mask, crest)
    h = dome(mask, 5) + crest * 2.5 - band * 0.8
    paint(alb, crest, (0xD8, 0x3A, 0x2A))
    return mask, h, alb, 0.45


def el_cup():
    def shape(p):
        p.pie((6, -6, 34, 22), 0, 180)
        p.rect((18, 20, 22, 29))
        p.ellipse((10, 28, 30, 35))
    mask, h, alb = _base(shape, 3.5, SILVER)
    dots = _symbol(lambda p: [p.ellipse((x - 1.3, 11.5 - 1.3, x + 1.3, 11.5 + 1.3)) for x in (11, 15.5, 20, 24.5, 29)])
    rim = _symbol(lambda p: p.rect((6, 7.5, 34, 8.8)))
    h = h + dots * 1.2 - rim * 0.6
    paint(alb, dots, LAPIS)
    return mask, h, alb, 0.7


def el_eye():
    def shape(p):
        p.poly([(3, 19)] + [(20 + 17 * math.cos(t), 19 - 11 * math.sin(t) * (1 if t < math.pi else 1))
                             for t in np.linspace(0, math.pi, 18)])
        p.poly([(3, 19)] + [(20 + 17 * math.cos(t), 19 + 11 * math.sin(t)) for t in np.linspace(0, math.pi, 18)])
    mask, h, alb = _base(shape, 4, TURQUOISE)
    white = _symbol(lambda p: p.ellipse((10, 13, 30, 25)))
    pupil = _symbol(lambda p: p.ellipse((16, 13.5, 24, 24.5)))
    tail = _symbol(lambda p: (p.line([(14, 26), (12, 33), (17, 33)], 1.6), p.arc((8, 4, 32, 16), 200, 340, 1.6)))
    mask = np.maximum(mask, tail)
    h = dome(mask, 4) + tail * 1.0 - white * 0.8
    paint(alb, white, IVORY)
    paint(alb, pupil, (0x1A, 0x14, 0x10))
    paint(alb, tail, (0x1A, 0x14, 0x10))
    return mask, h, alb, 0.4 + pupil * 0.6


def el_ring():
    def shape(p):
        p.ellipse((5, 9, 35, 37))
    mask, h, alb = _base(shape, 4, GOLD)
    hole = arr(_ring_hole())
    mask = mask * (1 - hole)
    gem = _symbol(lambda p: p.poly([(20, 1), (28, 8), (20, 15), (12, 8)]))
    setting = _symbol(lambda p: p.ellipse((13, 5, 27, 15)))
    mask = np.maximum(mask, np.maximum(setting, gem))
    h = dome(mask, 4) + setting * 1.5 + gem * 2.0
    paint(alb, gem, RUBY)
    return mask, h, alb, 0.7


def _ring_hole():
    m = layer((CELL, CELL))
    pen(m).ellipse((11.5, 15.5, 28.5, 31))
    return m


def el_canopic():
    def shape(p):
        p.rrect((9, 17, 31, 36), 7)
        p.ellipse((11, 8, 29, 21))
        p.poly([(12, 12), (13, 1), (18, 9)])
        p.poly([(28, 12), (27, 1), (22, 9)])
        p.poly([(16, 16), (20, 24), (24, 16)])
    mask, h, alb = _base(shape, 4, ALABASTER)
    face = _symbol(lambda p: (p.ellipse((14, 12, 17, 15)), p.ellipse((23, 12, 26, 15)), p.rect((12, 21, 28, 22.5))))
    snout = _symbol(lambda p: p.poly([(17, 15), (23, 15), (20, 22)]))
    h = h - face * 1.0 + snout * 1.2
    paint(alb, face, (0x2A, 0x20, 0x18))
    paint(alb, snout, (0x8A, 0x6A, 0x40), 0.6)
    return mask, h, alb, 0.3


def el_feather():
    pts_l = [(22 + 9 * math.sin(t * math.pi) - 5 * t, 2 + 33 * t) for t in np.linspace(0, 1, 20)]
    pts_r = [(22 - 9 * math.sin(t * math.pi) * 0.9 - 5 * t + 1, 2 + 33 * t) for t in np.linspace(0, 1, 20)]
    mask, h, alb = _base(lambda p: p.poly(pts_l + pts_r[::-1]), 3, WHITE)
    quill = _symbol(lambda p: p.line([(22.5 - 5 * t, 3 + 34 * t) for t in np.linspace(0, 1, 8)], 1.4))
    barbs = _symbol(lambda p: [p.line([(22.5 - 5 * t, 5 + 30 * t), (22.5 - 5 * t + s * 7, 5 + 30 * t - 4)], 0.7)
                               for t in np.linspace(0.1, 0.85, 7) for s in (-1, 1)])
    tip = _symbol(lambda p: p.ellipse((16, 2, 28, 14)))
    mask = np.maximum(mask, quill)
    h = dome(mask, 3) + quill * 1.0 - barbs * 0.5
    paint(alb, tip * (mask > 0.5), LAPIS, 0.85)
    paint(alb, quill, (0x50, 0x40, 0x30))
    return mask, h, alb, 0.2


def el_lotus():
    def shape(p):
        for ang in (-60, -30, 0, 30, 60):
            a = math.radians(ang)
            cx, cy = 20 + 11 * math.sin(a), 24 - 11 * math.cos(a)
            pts = []
            for t in np.linspace(0, 2 * math.pi, 20):
                u, v = 4.5 * math.cos(t), 10 * math.sin(t)
                pts.append((cx + u * math.cos(a) - v * math.sin(a), cy + u * math.sin(a) + v * math.cos(a)))
            p.poly(pts)
        p.ellipse((11, 24, 29, 33))
        p.rect((18.5, 30, 21.5, 36))
    mask, h, alb = _base(shape, 3.5, ROSE)
    veins = _symbol(lambda p: [p.line([(20, 28), (20 + 16 * math.sin(math.radians(a)), 28 - 16 * math.cos(math.radians(a)))], 0.7)
                               for a in (-60, -30, 0, 30, 60)])
    cup = _symbol(lambda p: p.ellipse((13, 25, 27, 32)))
    h = h - veins * 0.7
    paint(alb, cup, (0xF4, 0xC0, 0x40), 0.9)
    paint(alb, _symbol(lambda p: p.rect((18.5, 31, 21.5, 36))), REED)
    return mask, h, alb, 0.15


def el_coin():
    mask, h, alb = _base(lambda p: p.ellipse((4, 3, 36, 35)), 3, GOLD, flat=3)
    rim = _symbol(lambda p: p.ellipse((8, 7, 32, 31)))
    head = _symbol(lambda p: (p.ellipse((14, 10, 25, 22)), p.poly([(14, 16), (10, 19), (14, 20)]),
                              p.rect((17, 20, 23, 26)), p.pie((11, 23, 29, 35), 180, 360)))
    h = h - rim * 0.9 + head * rim * 1.3
    alb = alb * (1 - 0.12 * rim[..., None] * (1 - head[..., None]))
    return mask, h, alb, 0.75


def el_pyramid():
    mask, h, alb = _base(lambda p: p.poly([(20, 2), (37, 34), (3, 34)]), 2, AMBER)
    x, y = grid()
    # Two facets: the left one faces the light.
    facet = np.where(x < 20 + (y - 2) * 0.05, -(x - 20) * 0.4, (x - 20) * 0.1)
    h = h + np.clip(facet, -5, 8) * (mask > 0.5) + (34 - y) * 0.15 * (mask > 0.5)
    sun = _symbol(lambda p: (p.ellipse((16, 16, 24, 24)), p.line([(8, 29), (32, 29)], 1.3)))
    h = ndimage.gaussian_filter(h, SS * 0.4) - sun * 0.9
    paint(alb, sun, (0xFF, 0xF0, 0xB0))
    return mask, h, alb, 0.8


def el_crook():
    def shape(p):
        p.line([(12, 36), (20, 14)], 4.5)
        p.arc((17, 2, 33, 18), 150, 390, 4.5)
        p.arc((17, 2, 33, 18), 0, 40, 4.5)
    mask, h, alb = _base(shape, 2.2, LAPIS)
    x, y = grid()
    stripes = ((np.floor((x + y) / 4.0) % 2) == 0).astype(float)
    stripes = ndimage.gaussian_filter(stripes, SS * 0.3)
    paint(alb, stripes * mask, GOLD)
    return mask, h + stripes * 0.4, alb, 0.55


def el_cat():
    def shape(p):
        p.ellipse((9, 16, 31, 37))
        p.ellipse((13, 4, 27, 18))
        p.poly([(13, 9), (14, 0), (19, 6)])
        p.poly([(27, 9), (26, 0), (21, 6)])
        p.line([(30, 33), (35, 30), (34, 23)], 2.4)
    mask, h, alb = _base(shape, 4, BLACK_CAT)
    collar = _symbol(lambda p: p.rrect((12, 16.5, 28, 19.5), 1.5))
    eyes = _symbol(lambda p: (p.ellipse((15, 9, 18, 12)), p.ellipse((22, 9, 25, 12))))
    amulet = _symbol(lambda p: p.ellipse((18, 19, 22, 23)))
    h = h + collar * 1.0 + amulet * 1.0
    paint(alb, collar, GOLD)
    paint(alb, amulet, GOLD)
    paint(alb, eyes, (0x9C, 0xD0, 0x50))
    return mask, h, alb, 0.35 + collar * 0.4


def el_emerald():
    pts = [(20 + 16 * math.cos(math.radians(a)), 19 + 16 * math.sin(math.radians(a))) for a in range(0, 360, 60)]
    mask, h, alb = _base(lambda p: p.poly(pts), 1.5, EMERALD)
    x, y = grid()
    # A flat table in the middle and six sloping facets around it.
    ang = np.arctan2(y - 19, x - 20)
    sector = np.floor((ang + math.pi / 6) / (math.pi / 3))
    mid = sector * math.pi / 3
    r = (x - 20) * np.cos(mid) + (y - 19) * np.sin(mid)
    h = h + np.clip(13.86 - r, 0, 6.5) * 0.9 * (mask > 0.5)
    h = ndimage.gaussian_filter(h, SS * 0.25)
    return mask, h, alb, 0.9


def el_scroll():
    def shape(p):
        p.rect((6, 9, 34, 29))
        p.ellipse((2, 7, 10, 31))
        p.ellipse((30, 7, 38, 31))
    mask, h, alb = _base(shape, 3, CREAM)
    x, y = grid()
    ends = np.clip(1 - np.abs(x - 6) / 4, 0, 1) + np.clip(1 - np.abs(x - 34) / 4, 0, 1)
    h = h + ends * 3 * (mask > 0.5)
    glyphs = _symbol(lambda p: (p.ellipse((11, 16, 15, 20)), p.line([(17, 15), (17, 22)], 1.2),
                                p.poly([(20, 22), (23, 15), (26, 22)]), p.line([(28, 18), (31, 16), (31, 21)], 1.2),
                                p.line([(11, 25), (29, 25)], 0.9)))
    cores = _symbol(lambda p: (p.ellipse((4.5, 16, 7.5, 22)), p.ellipse((32.5, 16, 35.5, 22))))
    h = h - glyphs * 0.6 - cores * 1.5
    paint(alb, glyphs, (0x5A, 0x3A, 0x20))
    paint(alb, cores, (0x8A, 0x6A, 0x40))
    return mask, h, alb, 0.1


def el_sun():
    def shape(p):
        p.ellipse((10, 9, 30, 29))
        for k in range(12):
            a = math.radians(k * 30)
            ca, sa = math.cos(a), math.sin(a)
            p.poly([(20 + 9 * math.cos(a - 0.22), 19 + 9 * math.sin(a - 0.22)), (20 + 17 * ca, 19 + 17 * sa),
                    (20 + 9 * math.cos(a + 0.22), 19 + 9 * math.sin(a + 0.22))])
    mask, h, alb = _base(shape, 2.5, RED_ORANGE)
    disc = _symbol(lambda p: p.ellipse((11, 10, 29, 28)))
    inner = _symbol(lambda p: p.ellipse((15, 14, 25, 24)))
    h = h + disc * 2.5 + inner * 1.0
    paint(alb, inner, (0xF8, 0xB0, 0x30))
    return mask, h, alb, 0.5


def el_vase():
    def shape(p):
        p.ellipse((10, 12, 30, 33))
        p.rect((15, 4, 25, 16))
        p.rrect((12, 2, 28, 6), 1.5)
        p.poly([(17, 34), (23, 34), (25, 37), (15, 37)])
        p.arc((5, 6, 17, 22), 90, 280, 2.2)
        p.arc((23, 6, 35, 22), 260, 450, 2.2)
    mask, h, alb = _base(shape, 4, TERRACOTTA)
    zig = _symbol(lambda p: p.line([(11 + 3 * k, 21 + (3 if k % 2 else 0)) for k in range(7)], 1.4))
    band = _symbol(lambda p: (p.rect((10.5, 18, 29.5, 19)), p.rect((10.5, 26, 29.5, 27))))
    h = h - zig * 0.6 - band * 0.4
    paint(alb, zig, (0x22, 0x16, 0x10))
    paint(alb, band, (0x22, 0x16, 0x10), 0.8)
    return mask, h, alb, 0.25


def el_key():
    def shape(p):
        p.ellipse((2, 10, 18, 26))
        p.rect((15, 15.5, 36, 20.5))
        p.rect((26, 20, 29, 28))
        p.rect((31, 20, 35, 30))
    mask, h, alb = _base(shape, 2.5, IRON)
    hole = arr(_layer_with(lambda p: p.ellipse((6.5, 14.5, 13.5, 21.5))))
    mask = mask * (1 - hole)
    h = dome(mask, 2.5)
    return mask, h, alb, 0.8


def _layer_with(fn):
    m = layer((CELL, CELL))
    fn(pen(m))
    return m


def el_crown():
    """The double crown: a tall white bulb rising out of a red crown whose back
    stands up high at one side, with the curl in front."""
    def red(p):
        p.poly([(5, 36), (6, 20), (27, 20), (28, 6), (34, 6), (35, 36)])
    def white(p):
        p.poly([(9, 24), (12, 10), (16, 3), (20, 3), (24, 10), (26, 24)])
        p.ellipse((14.5, 0, 21.5, 6))
    r = arr(_layer_with(red))
    wht = arr(_layer_with(white))
    curl = _symbol(lambda p: p.arc((4, 10, 16, 24), 150, 300, 1.6))
    mask = np.clip(np.maximum(np.maximum(r, wht), curl), 0, 1)
    h = dome(mask, 3) + dome(wht, 4) * 0.8 * (1 - r) + dome(r, 2.5) * 0.4
    alb = fill(mask.shape, DEEP_RED)
    paint(alb, wht * (1 - r), WHITE)
    band = _symbol(lambda p: p.rect((5.5, 31, 34.5, 33.5)))
    paint(alb, band, GOLD)
    paint(alb, curl, GOLD)
    return mask, h - band * 0.5 + curl * 0.5, alb, 0.3


def el_obelisk():
    mask, h, alb = _base(lambda p: p.poly([(16, 6), (20, 1), (24, 6), (27, 36), (13, 36)]), 2, (0xC0, 0x80, 0x80))
    x, y = grid()
    h = h + np.where(x < 20, 20 - x, 0) * 0.0 - (x - 20) * 0.25 * (mask > 0.5)
    cap = _symbol(lambda p: p.poly([(16, 6), (20, 1), (24, 6)]))
    glyph = _symbol(lambda p: (p.ellipse((18, 10, 22, 14)), p.line([(20, 17), (20, 24)], 1), p.rect((18, 27, 22, 29))))
    paint(alb, cap, GOLD)
    h = h - glyph * 0.6
    return mask, h, alb, 0.3


# ---- special objects -----------------------------------------------------------

def el_block():
    mask, h, alb = _base(lambda p: p.rrect((1, 1, 39, 39), 3), 3, (0x9A, 0x70, 0x48), flat=3)
    x, y = grid()
    hatch = ((np.abs(((x + y) % 8) - 4) < 0.8) | (np.abs(((x - y) % 8) - 4) < 0.8)).astype(float)
    face = arr(_layer_with(lambda p: p.rect((7, 7, 33, 33))))
    frame = arr(_layer_with(lambda p: p.rect((5, 5, 35, 35)))) - face
    h = h - hatch * face * 0.8 - frame * 0.6
    alb = alb * (1 - 0.3 * (hatch * face)[..., None])
    alb *= (0.9 + 0.2 * periodic_noise(N, 1.6, 121))[..., None]
    return mask, h, alb, 0.1


def _arrows(p, horizontal, x0, y0, x1, y1):
    if horizontal:
        cy = (y0 + y1) / 2
        p.poly([(x0, cy), (x0 + 5, y0), (x0 + 5, y1)])
        p.poly([(x1, cy), (x1 - 5, y0), (x1 - 5, y1)])
        p.rect((x0 + 4, cy - 1, x1 - 4, cy + 1))
    else:
        cx = (x0 + x1) / 2
        p.poly([(cx, y0), (x0, y0 + 5), (x1, y0 + 5)])
        p.poly([(cx, y1), (x0, y1 - 5), (x1, y1 - 5)])
        p.rect((cx - 1, y0 + 4, cx + 1, y1 - 4))


def el_lift_h():
    plank = arr(_layer_with(lambda p: p.rrect((0, 0, 40, 15), 2)))
    rollers = arr(_layer_with(lambda p: [p.ellipse((cx - 6.5, 14, cx + 6.5, 27)) for cx in (9, 31)]))
    rail = arr(_layer_with(lambda p: p.rect((3, 18, 37, 22))))
    mask = np.maximum(np.maximum(plank, rollers), rail)
    h = dome(plank, 3, 3) * plank + (dome(rollers, 6) + 1) * rollers * (1 - plank) + rail * (1 - rollers) * 1.5 * (1 - plank)
    alb = fill(mask.shape, (0x9A, 0x64, 0x34))
    x, y = grid()
    grain = periodic_noise(N, 1.2, 122, (N, N))
    grain = np.sin(y * 2.2 + grain * 9) * 0.5 + 0.5
    alb *= (0.82 + 0.25 * grain * plank)[..., None]
    paint(alb, rollers * (1 - plank), BRONZE)
    paint(alb, rail * (1 - rollers) * (1 - plank), (0x50, 0x38, 0x24))
    arrows = _symbol(lambda p: _arrows(p, True, 9, 4, 31, 11))
    hubs = _symbol(lambda p: [p.ellipse((cx - 2, 18.5, cx + 2, 22.5)) for cx in (9, 31)])
    h = h - arrows * 0.8 + hubs * 1.0
    paint(alb, arrows, GOLD)
    paint(alb, hubs, (0x40, 0x2A, 0x18))
    return mask, h, alb, 0.2 + 0.5 * rollers


def el_lift_v():
    slab = arr(_layer_with(lambda p: p.rrect((4, 0, 36, 20), 2)))
    chains = arr(_layer_with(lambda p: [p.ellipse((cx - 2.2, y0, cx + 2.2, y0 + 6)) for cx in (8, 32) for y0 in range(19, 40, 5)]))
    links = arr(_layer_with(lambda p: [p.ellipse((cx - 0.9, y0 + 1.6, cx + 0.9, y0 + 4.4)) for cx in (8, 32) for y0 in range(19, 40, 5)]))
    chains = chains * (1 - links)
    mask = np.maximum(slab, chains)
    h = dome(slab, 3, 3) * slab + (dome(chains, 1.2) + 0.5) * chains * (1 - slab)
    alb = fill(mask.shape, (0x8C, 0x86, 0x7A))
    alb *= (0.85 + 0.25 * periodic_noise(N, 1.5, 123))[..., None]
    paint(alb, chains * (1 - slab), IRON)
    arrows = _symbol(lambda p: _arrows(p, False, 15, 2, 25, 18))
    h = h - arrows * 0.8
    paint(alb, arrows, GOLD)
    rings = _symbol(lambda p: [p.ellipse((cx - 2, 15, cx + 2, 19)) for cx in (8, 32)])
    paint(alb, rings, BRONZE)
    return mask, h + rings, alb, 0.15 + 0.5 * chains


def el_mud():
    x, y = grid()
    surface = 7 + 1.3 * np.sin(x * 0.45) + 0.6 * np.sin(x * 1.1 + 1)
    body = ndimage.gaussian_filter(((y >= surface) & (y < 40)).astype(float), SS * 0.3)
    bubbles = _symbol(lambda p: (p.ellipse((7, 3.5, 15, 10.5)), p.ellipse((24, 5, 29.5, 10)), p.ellipse((14, 20, 19, 25)),
                                 p.ellipse((27, 28, 31, 32))))
    rings = _symbol(lambda p: (p.arc((3, 11, 21, 19), 0, 180, 0.8), p.arc((20, 14, 36, 21), 0, 180, 0.8)))
    mask = np.maximum(body, bubbles * (y < 13))
    n = periodic_noise(N, 3.0, 124)
    # Thick mud: a wavy, sagging surface, bubbles swelling out of it, the odd ripple.
    h = dome(body, 3, 3) * 1.2 + n * 2.5 + ndimage.gaussian_filter(bubbles, SS * 0.6) * 3.0 - rings * 0.6
    alb = fill(mask.shape, (0x4A, 0x30, 0x1A))
    depth = np.clip((y - surface) / 30, 0, 1)
    alb *= (1.05 - 0.35 * depth)[..., None] * (0.9 + 0.2 * n)[..., None]
    return mask, h, alb, 0.55


def el_tele_in():
    def shape(p):
        p.rect((3, 6, 37, 40))
        p.pie((3, 0, 37, 20), 180, 360)
    mask, h, alb = _base(shape, 3, (0xA8, 0x90, 0x70), flat=3)
    inner = arr(_layer_with(lambda p: (p.rect((9, 12, 31, 40)), p.pie((9, 6, 31, 24), 180, 360))))
    x, y = grid()
    r = np.hypot(x - 20, y - 23)
    a = np.arctan2(y - 23, x - 20)
    swirl = 0.5 + 0.5 * np.sin(a * 3 + r * 0.7)
    glowc = np.clip(1 - r / 14, 0, 1)
    alb *= (0.85 + 0.2 * periodic_noise(N, 1.5, 125))[..., None]
    blue = np.dstack([0.10 + 0.4 * swirl * glowc + 0.5 * glowc ** 3,
                      0.30 + 0.45 * swirl + 0.3 * glowc ** 2,
                      0.55 + 0.45 * swirl])
    alb = alb * (1 - inner[..., None]) + np.clip(blue, 0, 1) * inner[..., None]
    h = h - inner * 3
    keystone = _symbol(lambda p: p.poly([(17, 1), (23, 1), (22, 6), (18, 6)]))
    paint(alb, keystone, GOLD)
    gloss = 0.1 + inner * 0.0
    return mask, h + keystone, alb, gloss


def el_tele_out():
    x, y = grid()
    ring = arr(_layer_with(lambda p: p.ellipse((3, 26, 37, 40))))
    hole = arr(_layer_with(lambda p: p.ellipse((9, 29, 31, 37))))
    mask = ring
    h = dome(ring, 3) - hole * 2.5
    alb = fill(mask.shape, BRONZE)
    r = np.hypot((x - 20) / 11, (y - 33) / 4)
    glowc = np.clip(1 - r, 0, 1)
    paint(alb, hole, (0x60, 0xC8, 0xF0))
    alb += (glowc[..., None] * np.array([0.5, 0.8, 0.9])) * hole[..., None]
    # A glow rises over the pad, brightest at the ring.
    rays = np.clip(1 - np.abs(x - 20) / 15, 0, 1) * np.clip((y - 4) / 26, 0, 1) * (y < 33) * 0.45
    rays = ndimage.gaussian_filter(rays, SS * 1.5)
    mask = np.maximum(mask, rays)
    alb = alb * (1 - (rays * (1 - ring))[..., None]) + np.array([0.55, 0.85, 1.0]) * (rays * (1 - ring))[..., None]
    return mask, h, np.clip(alb, 0, 1), 0.6 * ring


def el_button():
    base = arr(_layer_with(lambda p: p.rrect((2, 8, 38, 40), 2)))
    plate = arr(_layer_with(lambda p: p.rrect((6, 0, 34, 10), 2.5)))
    mask = np.maximum(base, plate)
    h = dome(base, 3, 3) * base * (1 - plate) + (dome(plate, 2.5) + 4) * plate
    alb = fill(mask.shape, (0x8E, 0x80, 0x70))
    alb *= (0.85 + 0.25 * periodic_noise(N, 1.5, 127))[..., None]
    paint(alb, plate, BRONZE)
    mark = _symbol(lambda p: (p.poly([(20, 33), (13, 22), (27, 22)]),))
    groove = _symbol(lambda p: p.rect((9, 12, 31, 13.5)))
    h = h - mark * 0.8 - groove * 1.0
    paint(alb, mark, BRONZE)
    return mask, h, alb, 0.55 * plate + 0.3 * mark


def el_magnet():
    def shape(p):
        p.arc((5, 2, 35, 32), 0, 180, 8)
        p.rect((5, 0, 13, 17))
        p.rect((27, 0, 35, 17))
    m = _layer_with(shape)
    mask = ndimage.gaussian_filter(arr(m), SS * 0.2)
    # The horseshoe opens downward: flip the painted U upside down.
    mask = mask[::-1, :].copy()
    mask = np.roll(mask, -2 * SS, axis=0)
    mask[-2 * SS:, :] = 0
    h = dome(mask, 3)
    alb = fill(mask.shape, BRONZE)
    x, y = grid()
    tips = (y > 26) & (mask > 0.5)
    paint(alb, tips.astype(float), (0xD8, 0xD8, 0xE0))
    stone = _symbol(lambda p: p.ellipse((13, 2, 27, 18)))
    mask = np.maximum(mask, stone)
    h = h + stone * 3 + ndimage.gaussian_filter(stone * periodic_noise(N, 1.8, 128), SS) * 3
    paint(alb, stone, (0x3A, 0x34, 0x40))
    lines = _symbol(lambda p: [p.arc((9 - k, 33 - k, 31 + k, 39 + k), 20, 160, 0.9) for k in (0, 4)])
    paint(alb, lines * (mask < 0.5), (0x70, 0xC8, 0xF0))
    mask = np.maximum(mask, lines * 0.8)
    return mask, h, alb, 0.5 + 0.3 * stone


def el_crumble():
    mask, h, alb = _base(lambda p: p.rrect((1, 1, 39, 39), 2), 2.5, SANDSTONE, flat=2.5)
    n = periodic_noise(N, 1.6, 129)
    cracks = _symbol(lambda p: (p.line([(4, 12), (13, 17), (20, 14), (26, 22), (37, 20)], 1.2),
                                p.line([(14, 2), (16, 9), (13, 17)], 1.0), p.line([(20, 14), (22, 26), (18, 38)], 1.0),
                                p.line([(26, 22), (30, 31), (36, 38)], 0.9)))
    chips = _symbol(lambda p: (p.poly([(1, 30), (6, 33), (1, 39)]), p.poly([(33, 1), (39, 1), (39, 6)])))
    mask = mask * (1 - chips)
    grit = (periodic_noise(N, 0.4, 1290) > 0.72).astype(float) * (mask > 0.5)
    h = dome(mask, 2.5, 2.5) + n * 2 - cracks * 2.0 + grit * 0.5
    alb *= (0.8 + 0.35 * n)[..., None]
    paint(alb, cracks, (0x4A, 0x30, 0x1C))
    paint(alb, grit, (0xE8, 0xD0, 0xA0), 0.5)
    return mask, h, alb, 0.05


ELEMENTS = [el_scarab, el_ankh, el_helm, el_cup, el_eye, el_ring, el_canopic, el_feather, el_lotus, el_coin,
            el_pyramid, el_crook, el_cat, el_emerald, el_scroll, el_sun, el_vase, el_key, el_crown, el_obelisk,
            el_block, el_lift_h, el_lift_v, el_mud, el_tele_in, el_tele_out, el_button, el_magnet, el_crumble]
# Objects that fill their cell to its edges cast no shadow inside the frame.
FULL_CELL = {el_block, el_lift_h, el_lift_v, el_mud, el_tele_in, el_tele_out, el_button, el_crumble}


def element_sprite(fn):
    mask, h, alb, gloss = fn()
    shine = 30.0
    rgb = light(h, alb, gloss=gloss, shine=shine)
    return finish(rgb, mask, shadow=fn not in FULL_CELL)


def build_elements():
    sheet = Image.new("RGBA", (CELL * len(ELEMENTS), CELL), (0, 0, 0, 0))
    for i, fn in enumerate(ELEMENTS):
        sheet.alpha_composite(element_sprite(fn), (i * CELL, 0))
    save(sheet, "blokel.png")
    return sheet



# ---- wall tiles ----------------------------------------------------------------
# Frame 16(c-1)+m of tile.png is chapter c's wall whose neighbour mask is m:
# 1 wall above, 2 wall right, 4 wall below, 8 wall left. Faces without a wall
# neighbour get a bevel and the outline; faces against a wall run on unbroken,
# and every texture repeats every 40 px, so joined walls look like one mass.
UP, RIGHT, DOWN, LEFT = 1, 2, 4, 8
BEVEL = 5.0
CORNER = 3.5


def _wall_distance(m):
    """Distance (sprite px) from each point of the cell to the nearest open face,
    and the cell's coverage (convex corners rounded)."""
    big = np.zeros((3 * N, 3 * N), bool)
    big[N:2 * N, N:2 * N] = True
    if m & UP:
        big[0:N, N:2 * N] = True
    if m & DOWN:
        big[2 * N:, N:2 * N] = True
    if m & LEFT:
        big[N:2 * N, 0:N] = True
    if m & RIGHT:
        big[N:2 * N, 2 * N:] = True
    # A wall mass is solid: the diagonal cell counts as wall when both sides are.
    for v, hside, ys, xs in ((UP, LEFT, slice(0, N), slice(0, N)), (UP, RIGHT, slice(0, N), slice(2 * N, None)),
                             (DOWN, LEFT, slice(2 * N, None), slice(0, N)),
                             (DOWN, RIGHT, slice(2 * N, None), slice(2 * N, None))):
        if m & v and m & hside:
            big[ys, xs] = True
    cell = np.ones((N, N))
    x, y = grid()
    r = CORNER
    for v, hside, cx, cy in ((UP, LEFT, r, r), (UP, RIGHT, 40 - r, r), (DOWN, LEFT, r, 40 - r),
                             (DOWN, RIGHT, 40 - r, 40 - r)):
        if not m & v and not m & hside:
            zone = (np.abs(x - cx) <= r + 1e-9) & (np.abs(y - cy) <= r + 1e-9) & \
                   ((x - cx) * (1 if cx > 20 else -1) > 0) & ((y - cy) * (1 if cy > 20 else -1) > 0)
            out = zone & (np.hypot(x - cx, y - cy) > r)
            cell[out] = 0
    big[N:2 * N, N:2 * N] = cell > 0.5
    d = ndimage.distance_transform_edt(big)[N:2 * N, N:2 * N] / SS
    return d, ndimage.gaussian_filter(cell, SS * 0.3)


def _bevel(d):
    t = np.clip(d / BEVEL, 0, 1)
    return BEVEL * np.sqrt(1 - (1 - t) ** 2) * 0.9


def _joints(x, y, course, brick, offset):
    """Recessed mortar lines of a brick bond that repeats every 40 px."""
    row = np.floor(y / course)
    yj = np.minimum(y % course, course - (y % course))
    xs = (x + (row % 2) * offset) % brick
    xj = np.minimum(xs, brick - xs)
    return np.clip(1.2 - np.minimum(yj, xj), 0, 1)


def _glyph_band(p, m):
    """Small carved signs between two band lines; which signs depends on the cell."""
    signs = [
        lambda x: p.ellipse((x + 1, 16, x + 7, 22)),
        lambda x: (p.line([(x + 4, 15.5), (x + 4, 24.5)], 1.2), p.ellipse((x + 1.5, 15, x + 6.5, 19))),
        lambda x: p.line([(x, 22), (x + 2, 17), (x + 4, 22), (x + 6, 17), (x + 8, 22)], 1.1),
        lambda x: (p.poly([(x + 1, 24), (x + 4, 15.5), (x + 7, 24)]),),
        lambda x: (p.ellipse((x + 1, 17, x + 8, 23)), p.line([(x + 6, 17), (x + 8, 15)], 1)),
        lambda x: (p.rect((x + 1, 16, x + 7, 17.5)), p.rect((x + 3.3, 16, x + 4.7, 24))),
    ]
    for k, xs in enumerate((4, 16, 28)):
        signs[(m * 3 + k * 5) % len(signs)](xs)


def _noise(c, beta, seed):
    return periodic_noise(N, beta, 1000 * c + seed)


def wall_tile(c, m, decor=0):
    x, y = grid()
    d, cov = _wall_distance(m)
    h = _bevel(d)
    open_top = not m & UP
    gloss = np.zeros_like(h)
    n1 = _noise(c, 1.8, 1)
    n2 = _noise(c, 0.9, 2)
    if c == 1:
        # Weathered sandstone in courses, with a wooden scaffold plank on open tops.
        alb = fill(h.shape, SANDSTONE)
        alb = alb * (1 - n1[..., None] * 0.35) + np.array(SAND) / 255.0 * (n1[..., None] * 0.35)
        j = _joints(x, y, 20, 40, 20)
        pits = np.clip((n2 - 0.7) * 5, 0, 1)
        h = h - j * 1.0 - pits * 0.8 + n1 * 1.2
        alb *= (1 - 0.35 * j - 0.25 * pits)[..., None]
        if open_top:
            plank = ((y < 7) & (d > -1)).astype(float)
            grain = 0.5 + 0.5 * np.sin(y * 3.1 + _noise(c, 1.4, 3) * 10)
            h = h * (1 - plank) + plank * (_bevel(np.minimum(d, 7 - y + 0.5)) * 0.6 + 6 + grain * 0.3)
            wood = np.dstack([0.55 + 0.12 * grain, 0.36 + 0.08 * grain, 0.20 + 0.04 * grain])
            alb = alb * (1 - plank[..., None]) + wood * plank[..., None]
            nails = ((np.hypot(x - 7, y - 3.5) < 1.1) | (np.hypot(x - 33, y - 3.5) < 1.1)).astype(float)
            paint(alb, nails, (0x30, 0x28, 0x24))
            gloss += nails * 0.6
            under = np.clip(1 - np.abs(y - 7.5) / 1.5, 0, 1)
            alb *= (1 - 0.4 * under)[..., None]
        tint = (1.0, 0.98, 0.94)
    elif c == 2:
        # Carved limestone under torchlight: a band of signs runs through every block.
        alb = fill(h.shape, (0xD6, 0xC4, 0x9C))
        alb *= (0.9 + 0.15 * n1)[..., None]
        j = _joints(x, y, 40, 40, 0)
        band = ((y > 13) & (y < 27)).astype(float)
        lines = (np.abs(y - 13.5) < 0.8) | (np.abs(y - 26.5) < 0.8)
        g = _layer_with(lambda p: _glyph_band(p, m))
        glyphs = ndimage.gaussian_filter(arr(g), SS * 0.3)
        h = h - j * 1.0 - band * 0.8 - lines * 0.6 - glyphs * 0.9 + n1 * 0.6
        alb *= (1 - 0.25 * j - 0.1 * band - 0.25 * lines)[..., None]
        paint(alb, glyphs, (0x8A, 0x3A, 0x20), 0.75)
        if open_top:
            cornice = np.clip(1 - np.abs(y - 3) / 2.5, 0, 1) * (d > 0)
            h = h + cornice * 1.6 - (np.abs(y - 7) < 0.7) * 0.8
        tint = (1.08, 0.9, 0.68)
    elif c == 3:
        # Mud brick with straw, palm-wood beams over open tops, reed bundles down open sides.
        alb = fill(h.shape, (0x9A, 0x64, 0x40))
        alb *= (0.85 + 0.25 * n1)[..., None]
        j = _joints(x, y, 10, 20, 10)
        straw = (_noise(c, 0.2, 4) > 0.78).astype(float) * (1 - j)
        h = h - j * 1.1 + n1 * 0.8 + straw * 0.3
        alb *= (1 - 0.35 * j)[..., None]
        paint(alb, straw, (0xD8, 0xB8, 0x70), 0.6)
        tint = (1.02, 0.9, 0.84)
        for side, far in ((LEFT, x), (RIGHT, 40 - x)):
            if not m & side:
                reed = ((far < 5.5) & (d > 0)).astype(float)
                stalks = 0.5 + 0.5 * np.cos(far * 2.4)
                ties = (np.abs((y % 13) - 6.5) < 1.2).astype(float) * reed
                h = h * (1 - reed) + reed * (_bevel(d) * 0.5 + 2.5 + stalks * 0.8 + ties * 0.8)
                col = np.dstack([0.55 + 0.15 * stalks, 0.58 + 0.15 * stalks, 0.28 + 0.05 * stalks])
                alb = alb * (1 - reed[..., None]) + col * reed[..., None]
                paint(alb, ties, (0x6A, 0x48, 0x28))
        if open_top:
            beam = (y < 8).astype(float)
            fib = 0.5 + 0.5 * np.sin((x + y) * 1.6) * np.sin((x - y) * 1.6)
            h = h * (1 - beam) + beam * (_bevel(np.minimum(d, 8 - y + 0.5)) * 0.7 + 6 + fib * 0.5)
            wood = np.dstack([0.45 + 0.1 * fib, 0.30 + 0.07 * fib, 0.18 + 0.04 * fib])
            alb = alb * (1 - beam[..., None]) + wood * beam[..., None]
    else:
        # Black basalt, polished, with a gold inlay that follows the open faces.
        alb = fill(h.shape, (0x34, 0x32, 0x3C))
        alb *= (0.85 + 0.3 * n1)[..., None]
        j = _joints(x, y, 40, 40, 0)
        h = h - j * 0.7 + n1 * 0.3
        alb *= (1 - 0.3 * j)[..., None]
        inlay = np.clip(1 - np.abs(d - 6.5) / 0.9, 0, 1) * (d < 40)
        diamond = np.clip(3.2 - (np.abs(x - 20) + np.abs(y - 20)), 0, 1)
        ring = np.clip(1 - np.abs(np.abs(x - 20) + np.abs(y - 20) - 6) / 0.7, 0, 1)
        goldm = np.clip(inlay + diamond + ring, 0, 1)
        h = h + goldm * 0.6
        paint(alb, goldm, GOLD)
        gloss = 0.35 + goldm * 0.6
        tint = (0.85, 0.9, 1.08)
    if decor:
        h, alb, gloss = _decorate(c, decor, x, y, h, alb, gloss)
    edge = np.clip(1.0 - d, 0, 1)
    # Basalt is lit harder, so its moonlit edges part it from the night behind.
    amb, dif = (0.32, 1.15) if c == 4 else (0.5, 0.7)
    rgb = light(h, alb, ambient=amb, diffuse=dif, gloss=gloss, shine=28)
    rgb = rgb * (1 - edge[..., None]) + np.array(OUTLINE) / 255.0 * edge[..., None]
    rgb = np.clip(rgb * np.array(tint), 0, 1)
    return shade.shrink(shade.to_image(rgb, cov))


def _decorate(c, k, x, y, h, alb, gloss):
    """The extra tiles: a wall block carrying a carved emblem."""
    emblems = [
        lambda p: (p.ellipse((12, 12, 28, 28)), p.ellipse((15, 8, 25, 14))),        # scarab
        lambda p: (p.ellipse((9, 13, 31, 27)),),                                     # eye
        lambda p: [p.line([(20, 20), (20 + 11 * math.cos(a), 20 + 11 * math.sin(a))], 1.4)
                   for a in np.linspace(0, 2 * math.pi, 9)[:-1]] + [p.ellipse((15, 15, 25, 25))],  # sun
        lambda p: (p.ellipse((15, 7, 25, 18)), p.rect((18.5, 16, 21.5, 33)), p.rect((12, 18, 28, 21))),  # ankh
    ]
    sign = ndimage.gaussian_filter(arr(_layer_with(emblems[(k - 1) % 4])), SS * 0.4)
    sign *= (np.hypot(x - 20, y - 20) < 17)
    h = h - sign * 1.6
    if c == 4:
        paint(alb, sign, GOLD)
        gloss = gloss + sign * 0.5
    else:
        alb *= (1 - 0.3 * sign)[..., None]
    return h, alb, gloss


def build_tiles():
    sheet = Image.new("RGBA", (CELL * 80, CELL), (0, 0, 0, 0))
    for c in range(1, 5):
        for m in range(16):
            sheet.paste(wall_tile(c, m), ((16 * (c - 1) + m) * CELL, 0))
    # Codes 65..80: four decorated wall blocks per chapter (all neighbours wall).
    for c in range(1, 5):
        for k in range(1, 5):
            sheet.paste(wall_tile(c, 15, decor=k), ((64 + 4 * (c - 1) + k - 1) * CELL, 0))
    save(sheet, "tile.png")


# ---- spikes --------------------------------------------------------------------
# 18 frames: 1..4 rising, 5..13 up (deadly), 14..17 sinking, 18 at rest.
SPIKE_RISE = [0.22, 0.45, 0.68, 0.88] + [1.0] * 9 + [0.88, 0.68, 0.45, 0.22] + [0.06]
SPIKE_X = (6.5, 15.5, 24.5, 33.5)


def spike_frame(k):
    f = SPIKE_RISE[k - 1]
    x, y = grid()
    top = 34 - 30 * f
    spikes = np.zeros((N, N))
    h = np.zeros((N, N))
    for cx in SPIKE_X:
        half = 3.4 * np.clip((y - top) / 30, 0, 1) + 0.3
        inside = (np.abs(x - cx) < half) & (y > top) & (y < 34)
        spikes = np.maximum(spikes, inside.astype(float))
        h = np.maximum(h, np.where(inside, np.sqrt(np.maximum(half ** 2 - (x - cx) ** 2, 0)) * 2.2 + 3, 0))
    spikes = ndimage.gaussian_filter(spikes, SS * 0.25)
    alb = fill((N, N), BRONZE)
    alb *= (0.9 + 0.2 * np.clip((34 - y) / 30, 0, 1))[..., None]
    gloss = np.full((N, N), 0.7)
    # The pit: a dark slot set in a stone rim at the floor.
    rim = ((y > 33) & (y < 40)).astype(float)
    slot = ((y > 31.5) & (y < 35) & (x > 2) & (x < 38)).astype(float)
    mask = np.maximum(spikes, rim)
    mask = np.maximum(mask, slot)
    rimh = dome(rim, 2.5, 2.5)
    h = h * (1 - rim) + rimh * rim
    stone = fill((N, N), (0x80, 0x70, 0x5C)) * (0.85 + 0.3 * periodic_noise(N, 1.6, 130))[..., None]
    alb = alb * (1 - rim[..., None]) + stone * rim[..., None]
    paint(alb, slot * (1 - spikes), (0x20, 0x14, 0x0C))
    gloss = gloss * (1 - rim)
    rgb = light(h, alb, gloss=gloss, shine=30)
    img = finish(rgb, mask, shadow=False)
    if 5 <= k <= 13:
        # A glint travels along the tips while they are up.
        g = shade.glow((CELL, CELL), (SPIKE_X[(k - 5) % 4], top + 2.5), 4.5, (255, 250, 220), 1.0)
        img.alpha_composite(g)
    return img


def build_spikes():
    sheet = Image.new("RGBA", (CELL * 18, CELL), (0, 0, 0, 0))
    for k in range(1, 19):
        sheet.alpha_composite(spike_frame(k), ((k - 1) * CELL, 0))
    save(sheet, "spikes.png")



# ---- chapter backgrounds and the HUD -------------------------------------------
W, H = 800, 600
BOARD_H = 480
HS = 2  # the backgrounds are painted at twice their size


def _fbm(shape, beta, seed):
    return periodic_noise(max(shape), beta, seed, shape)


def _ridge(xs, base, amp, seed, beta=2.2):
    n = periodic_noise(len(xs), beta, seed, (1, len(xs)))[0]
    return base + (n - 0.5) * 2 * amp


def _vgrad(h, top, bottom, w=W * HS):
    t = np.linspace(0, 1, h)[:, None, None]
    return np.array(top)[None, None, :] / 255.0 * (1 - t) + np.array(bottom)[None, None, :] / 255.0 * t \
        + np.zeros((h, w, 3))


def _layer_fill(img, cond, color, alpha=1.0):
    m = cond.astype(float)
    m = ndimage.gaussian_filter(m, 1.0) * alpha
    img[:] = img * (1 - m[..., None]) + np.array(color) / 255.0 * m[..., None]


def _poly_mask(shape, pts_list):
    m = Image.new("L", (shape[1], shape[0]), 0)
    d = ImageDraw.Draw(m)
    for pts in pts_list:
        d.polygon([(x * HS, y * HS) for x, y in pts], fill=255)
    return np.asarray(m) > 127


def _ellipse_mask(shape, boxes):
    m = Image.new("L", (shape[1], shape[0]), 0)
    d = ImageDraw.Draw(m)
    for b in boxes:
        d.ellipse([v * HS for v in b], fill=255)
    return np.asarray(m) > 127


def _sky(top, bottom, centre, reach, glow_rgb, disc_r=0, disc_color=None):
    """A sky graded from top to bottom, brightened round the sun or moon at centre."""
    h, w = BOARD_H * HS, W * HS
    yy, xx = np.mgrid[0:h, 0:w] / HS
    img = _vgrad(h, top, bottom)
    g = np.clip(1 - np.hypot(xx - centre[0], yy - centre[1]) / reach, 0, 1) ** 2
    img += g[..., None] * np.array(glow_rgb)
    if disc_r:
        cx, cy = centre
        _layer_fill(img, _ellipse_mask((h, w), [(cx - disc_r, cy - disc_r, cx + disc_r, cy + disc_r)]), disc_color,
                    0.92)
    return img


def scene1():
    """Dunes at noon and an open dig site."""
    h, w = BOARD_H * HS, W * HS
    img = _sky((0x8C, 0xBC, 0xE0), (0xF0, 0xDC, 0xB0), (90, 60), 260, (0.35, 0.3, 0.15))
    yy, xx = np.mgrid[0:h, 0:w] / HS
    xs = np.arange(w) / HS
    # A pyramid far away, then dunes layer over layer, each nearer one warmer.
    _layer_fill(img, _poly_mask((h, w), [[(560, 250), (640, 185), (720, 250)], [(690, 252), (730, 222), (770, 252)]]),
                (0xD8, 0xC0, 0x98))
    for k, (base, amp, col) in enumerate(((250, 16, (0xE6, 0xCC, 0x98)), (300, 22, (0xE4, 0xC0, 0x84)),
                                          (360, 26, (0xDC, 0xB0, 0x72)), (420, 22, (0xD2, 0xA2, 0x64)))):
        ridge = _ridge(xs, base, amp, 11 + k)
        below = yy > ridge[None, :]
        shade_ = np.clip((yy - ridge[None, :]) / 60, 0, 1)
        _layer_fill(img, below, col)
        img *= (1 - 0.08 * shade_ * below)[..., None]
    # The dig site: a wooden scaffold and a tent on the middle dune.
    posts = []
    for x0 in (150, 190, 230):
        posts.append([(x0, 250), (x0 + 4, 250), (x0 + 4, 330), (x0, 330)])
    posts.append([(146, 256), (238, 256), (238, 261), (146, 261)])
    posts.append([(146, 290), (238, 290), (238, 295), (146, 295)])
    posts.append([(150, 295), (154, 291), (232, 326), (228, 330)])
    _layer_fill(img, _poly_mask((h, w), posts), (0x9A, 0x74, 0x50), 0.8)
    _layer_fill(img, _poly_mask((h, w), [[(470, 318), (505, 282), (540, 318)]]), (0xF0, 0xE4, 0xCC), 0.85)
    _layer_fill(img, _poly_mask((h, w), [[(503, 318), (505, 292), (509, 318)]]), (0x8A, 0x6A, 0x48), 0.7)
    grain = _fbm((h, w), 0.6, 101)
    img *= (0.97 + 0.06 * grain)[..., None]
    return img


def scene2():
    """Inside the tombs by torchlight."""
    h, w = BOARD_H * HS, W * HS
    yy, xx = np.mgrid[0:h, 0:w] / HS
    img = np.zeros((h, w, 3)) + np.array([0x5A, 0x3C, 0x24]) / 255.0
    n = _fbm((h, w), 1.8, 201)
    img *= (0.8 + 0.35 * n)[..., None]
    # Big wall blocks.
    rowj = np.abs(((yy + 10) % 80) - 40) > 38.5
    colj = np.abs(((xx + np.floor((yy + 10) / 80) * 60) % 120) - 60) > 58.5
    img *= (1 - 0.25 * (rowj | colj))[..., None]
    # A painted frieze of walking figures, faded.
    figs = []
    for k in range(9):
        x0 = 40 + k * 90
        figs.append([(x0, 250), (x0 + 8, 200), (x0 + 16, 250)])
        figs.append([(x0 + 3, 200), (x0 + 13, 200), (x0 + 12, 170), (x0 + 4, 170)])
    _layer_fill(img, _poly_mask((h, w), figs) | _ellipse_mask((h, w), [(40 + k * 90, 152, 56 + k * 90, 170) for k in range(9)]),
                (0x9A, 0x5A, 0x2C), 0.45)
    band = (np.abs(yy - 140) < 3) | (np.abs(yy - 262) < 3)
    _layer_fill(img, band, (0xB0, 0x7A, 0x38), 0.5)
    # Torchlight from two sconces, the left one brighter (light from the top left).
    for tx, ty, s in ((110, 90, 1.0), (690, 110, 0.7)):
        g = np.clip(1 - np.hypot(xx - tx, (yy - ty) * 1.2) / 380, 0, 1) ** 2 * s
        img = img * (0.55 + 0.9 * g[..., None]) + g[..., None] * np.array([0.25, 0.13, 0.02])
        _layer_fill(img, _ellipse_mask((h, w), [(tx - 7, ty - 22, tx + 7, ty + 4)]), (0xF8, 0xC0, 0x50), 0.9)
        _layer_fill(img, _poly_mask((h, w), [[(tx - 8, ty + 2), (tx + 8, ty + 2), (tx + 3, ty + 26), (tx - 3, ty + 26)]]),
                    (0x40, 0x28, 0x18), 0.9)
    return np.clip(img, 0, 1)


def scene3():
    """The river city at dusk."""
    h, w = BOARD_H * HS, W * HS
    yy, xx = np.mgrid[0:h, 0:w] / HS
    img = _sky((0x9A, 0x6C, 0x90), (0xF4, 0xB0, 0x78), (560, 255), 240, (0.3, 0.2, 0.05), 25, (0xFC, 0xD8, 0x98))
    # The far bank: flat roofs, a pylon gate, an obelisk and palms.
    roofs = []
    x = 0
    rng = np.random.default_rng(301)
    while x < 800:
        bw = rng.integers(30, 70)
        bh = rng.integers(20, 55)
        roofs.append([(x, 290), (x, 290 - bh), (x + bw, 290 - bh), (x + bw, 290)])
        x += bw + rng.integers(0, 12)
    roofs.append([(300, 290), (306, 200), (346, 200), (352, 290)])
    roofs.append([(360, 290), (366, 200), (406, 200), (412, 290)])
    roofs.append([(440, 290), (444, 170), (448, 160), (452, 170), (456, 290)])
    _layer_fill(img, _poly_mask((h, w), roofs), (0xA8, 0x6A, 0x5C), 0.9)
    for px in (60, 120, 640, 720, 770):
        trunk = [(px - 2, 290), (px + 2, 290), (px + 4, 225), (px, 225)]
        fronds = [[(px + 2, 225), (px + 2 + 28 * math.cos(a), 225 + 18 * math.sin(a)),
                   (px + 2 + 24 * math.cos(a + 0.15), 229 + 18 * math.sin(a + 0.15))]
                  for a in np.linspace(math.pi * 1.05, math.pi * 1.95, 5)]
        _layer_fill(img, _poly_mask((h, w), [trunk] + fronds), (0x7A, 0x54, 0x50), 0.9)
    # The river with the sun's reflection, and the near bank with reeds.
    river = (yy > 290) & (yy < 390)
    t = np.clip((yy - 290) / 100, 0, 1)
    water = np.dstack([0.22 + 0.1 * t, 0.5 + 0.05 * t, 0.55 + 0.0 * t])
    ripple = 0.5 + 0.5 * np.sin(xx * 0.15 + np.sin(yy * 0.9) * 3 + yy * 0.5)
    refl = np.clip(1 - np.abs(xx - 560) / 60, 0, 1) * ripple * (yy < 390)
    water = water + refl[..., None] * np.array([0.5, 0.35, 0.15])
    img = np.where(river[..., None], water, img)
    bank = yy >= 388 + 6 * np.sin(xx / 37.0)
    _layer_fill(img, bank, (0x8E, 0x70, 0x4C))
    reeds = []
    for k in range(60):
        x0 = (k * 137) % 800
        hgt = 30 + (k * 53) % 40
        reeds.append([(x0, 440), (x0 + 2, 440), (x0 + 4 + (k % 5) - 2, 440 - hgt)])
    _layer_fill(img, _poly_mask((h, w), reeds), (0x6A, 0x86, 0x48), 0.8)
    img *= (0.97 + 0.06 * _fbm((h, w), 0.6, 302))[..., None]
    return np.clip(img, 0, 1)


def scene4():
    """The jackal god's temple at night."""
    h, w = BOARD_H * HS, W * HS
    yy, xx = np.mgrid[0:h, 0:w] / HS
    img = _sky((0x24, 0x2E, 0x5A), (0x58, 0x64, 0x98), (110, 80), 230, (0.18, 0.2, 0.28), 24, (0xF0, 0xEC, 0xD8))
    rng = np.random.default_rng(401)
    stars = np.zeros((h, w))
    for _ in range(160):
        sx, sy = rng.integers(0, w), rng.integers(0, h // 2)
        stars[sy, sx] = rng.uniform(0.4, 1.0)
    stars = ndimage.gaussian_filter(stars, 1.0) * 4
    img += np.clip(stars, 0, 1)[..., None] * np.array([0.9, 0.9, 1.0])
    # The colonnade and, between its columns, the seated jackal of the temple.
    cols = []
    for cx in (60, 170, 630, 740):
        cols.append([(cx - 22, 480), (cx - 22, 120), (cx + 22, 120), (cx + 22, 480)])
        cols.append([(cx - 30, 120), (cx - 30, 100), (cx + 30, 100), (cx + 30, 120)])
    cols.append([(0, 100), (800, 100), (800, 80), (0, 80)])
    colm = _poly_mask((h, w), cols)
    _layer_fill(img, colm, (0x3A, 0x3E, 0x5E), 0.95)
    lit = colm & (((xx + 22) % 110) < 12)
    _layer_fill(img, lit, (0x5A, 0x60, 0x86), 0.5)
    jackal = [[(330, 420), (330, 330), (350, 290), (380, 280), (392, 240), (388, 205), (398, 180), (404, 205),
               (414, 205), (420, 180), (428, 210), (440, 222), (470, 232), (470, 240), (430, 244), (424, 290),
               (450, 330), (470, 420)],
              [(300, 420), (500, 420), (500, 450), (300, 450)]]
    _layer_fill(img, _poly_mask((h, w), jackal), (0x30, 0x32, 0x4C), 0.95)
    _layer_fill(img, _poly_mask((h, w), [[(392, 262), (430, 256), (432, 262), (394, 268)]]), (0xB0, 0x90, 0x40), 0.8)
    _layer_fill(img, yy > 450, (0x36, 0x3A, 0x56))
    return np.clip(img, 0, 1)


SCENES = {1: scene1, 2: scene2, 3: scene3, 4: scene4}


def calm(img, amount):
    """Softens and flattens the scenery so the board's sprites stand out."""
    soft = ndimage.gaussian_filter(img, (HS * 1.2, HS * 1.2, 0))
    mean = img.mean(axis=(0, 1), keepdims=True)
    return np.clip(mean + (soft - mean) * amount, 0, 1)


# The HUD material of each chapter: (stone colour, field colour, trim colour).
HUD_STONE = {
    1: ((0xC4, 0x92, 0x58), (0x3A, 0x24, 0x14), GOLD),
    2: ((0xA0, 0x80, 0x5C), (0x2A, 0x1A, 0x0E), GOLD),
    3: ((0x9A, 0x62, 0x42), (0x2E, 0x1C, 0x16), TURQUOISE),
    4: ((0x3A, 0x38, 0x46), (0x14, 0x12, 0x20), GOLD),
}
# The HUD's places (screen pixels), as the level screen draws into them.
SCORE_FIELD = (120, 511, 228, 548)
TIME_FIELD = (560, 511, 674, 551)
LEVEL_FIELD = (706, 549, 780, 589)
PORTRAIT = HUD_PORTRAIT
MENU_TABLET = HUD_MENU


def _hud_text(draw, xy, text, size, fill_, anchor="mm"):
    font = ImageFont.truetype(FONT_BOLD, size * HS)
    draw.text((xy[0] * HS, xy[1] * HS), text, font=font, fill=fill_, anchor=anchor)


def hud(c):
    """The HUD strip (y 480..599) of chapter c as RGB floats at HS size."""
    h, w = (H - BOARD_H) * HS, W * HS
    stone, field, trim = HUD_STONE[c]
    yy, xx = np.mgrid[0:h, 0:w] / HS
    yy = yy + BOARD_H
    n = _fbm((h, w), 1.7, 500 + c)
    alb = np.zeros((h, w, 3)) + np.array(stone) / 255.0
    alb *= (0.85 + 0.3 * n)[..., None]
    height = n * 1.5
    # A rounded moulding along the board's lower edge.
    moulding = np.clip(1 - np.abs(yy - 485) / 5, 0, 1)
    height += np.sqrt(moulding) * 4
    groove = np.abs(yy - 492) < 1.0
    height -= groove * 1.5

    def rect_mask(box, r):
        m = Image.new("L", (w, h), 0)
        ImageDraw.Draw(m).rounded_rectangle([box[0] * HS, (box[1] - BOARD_H) * HS, box[2] * HS,
                                             (box[3] - BOARD_H) * HS], radius=r * HS, fill=255)
        return np.asarray(m) / 255.0

    def bevel(mask, r):
        d = ndimage.distance_transform_edt(mask > 0.5) / HS
        t = np.clip(d / r, 0, 1)
        return r * np.sqrt(1 - (1 - t) ** 2)

    # Sunken fields for the score, time and level number, ringed by a trim line.
    for box in (SCORE_FIELD, TIME_FIELD, LEVEL_FIELD):
        m = rect_mask(box, 18)
        ring = rect_mask((box[0] - 4, box[1] - 4, box[2] + 4, box[3] + 4), 22) - m
        height -= bevel(m, 3)
        height += bevel(ring, 2) * 0.8
        alb = alb * (1 - m[..., None]) + np.array(field) / 255.0 * m[..., None] * (0.9 + 0.2 * n[..., None])
        alb = alb * (1 - ring[..., None] * 0.7) + np.array(trim) / 255.0 * ring[..., None] * 0.7
    # The portrait's frame.
    px, py, pw, ph = PORTRAIT
    inner = rect_mask((px, py, px + pw, py + ph), 3)
    frame = rect_mask((px - 8, py - 8, px + pw + 8, py + ph + 8), 6) - inner
    height += bevel(frame, 4) * 1.2
    alb = alb * (1 - inner[..., None]) + np.array(field) / 255.0 * inner[..., None]
    alb = alb * (1 - frame[..., None] * 0.5) + np.array(trim) / 255.0 * frame[..., None] * 0.5
    # Carved sun roundels fill the stone either side of the portrait.
    carve = Image.new("L", (w, h), 0)
    cd = ImageDraw.Draw(carve)
    for cx in (300, 500):
        cy = 548 - BOARD_H
        cd.ellipse([(cx - 13) * HS, (cy - 13) * HS, (cx + 13) * HS, (cy + 13) * HS], outline=255, width=2 * HS)
        cd.ellipse([(cx - 6) * HS, (cy - 6) * HS, (cx + 6) * HS, (cy + 6) * HS], fill=255)
        for k in range(12):
            a = 2 * math.pi * k / 12
            cd.line([((cx + 16 * math.cos(a)) * HS, (cy + 16 * math.sin(a)) * HS),
                     ((cx + 24 * math.cos(a)) * HS, (cy + 24 * math.sin(a)) * HS)], fill=255, width=2 * HS)
        for side in (-1, 1):
            x0 = cx + side * 30
            cd.line([(x0 * HS, (cy - 14) * HS), (x0 * HS, (cy + 14) * HS)], fill=255, width=HS)
    cm = ndimage.gaussian_filter(np.asarray(carve) / 255.0, HS * 0.6)
    height -= cm * 1.6
    alb = alb * (1 - 0.25 * cm[..., None]) + np.array(trim) / 255.0 * (0.12 * cm[..., None])
    rgb = light(height, alb, ambient=0.5, diffuse=0.65, gloss=0.15, shine=20, relief=HS / SS)
    img = Image.fromarray((rgb * 255 + 0.5).astype(np.uint8), "RGB")
    d = ImageDraw.Draw(img)
    label = tuple(int(v * 0.55) for v in stone) if c != 4 else (0xC8, 0xA8, 0x50)
    for text, cx, cy in (("SCORE", 173, 500), ("TIME", 617, 500), ("LEVEL", 743, 537)):
        _hud_text(d, (cx + 0.5, cy - BOARD_H + 0.5), text, 13, (0xF4, 0xE0, 0xB0) if c != 4 else (0x10, 0x0C, 0x18))
        _hud_text(d, (cx, cy - BOARD_H), text, 13, label)
    return img


def menu_tablet(lit):
    """The HUD's menu button: a carved sandstone tablet with the word MENU.
    The highlight is the same tablet lit warmer."""
    return hud_tablet("MENU", MENU_TABLET[2], MENU_TABLET[3], lit, 600, 19)


# The level's own buttons beside the portrait, over the carved sun roundels:
# undo on the left, hint on the right. The game draws them (resting or lit).
UNDO_TABLET = HUD_UNDO
HINT_TABLET = HUD_HINT


def hud_tablet(word, w, h, lit, seed, size):
    """A carved sandstone HUD tablet with one word; lit, the same tablet lit warmer."""
    m = layer((w, h))
    pen(m).rrect((1, 1, w - 1, h - 1), 6)
    mask = arr(m)
    hgt = dome(mask, 4, 4)
    inner = arr(_layer_sized((w, h), lambda p: p.rrect((6, 6, w - 6, h - 6), 4)))
    frame_line = arr(_layer_sized((w, h), lambda p: p.rrect((5, 5, w - 5, h - 5), 4))) - inner
    hgt -= frame_line * 1.2
    n = periodic_noise(max(w, h) * SS, 1.6, seed, (h * SS, w * SS))
    base = (0xE0, 0xAC, 0x64) if lit else (0xB8, 0x88, 0x52)
    alb = fill(mask.shape, base) * (0.88 + 0.24 * n)[..., None]
    text = Image.new("L", (w * SS, h * SS), 0)
    ImageDraw.Draw(text).text((w * SS / 2, h * SS / 2 + SS), word, font=ImageFont.truetype(FONT_BOLD, size * SS),
                              fill=255, anchor="mm")
    tm = ndimage.gaussian_filter(np.asarray(text) / 255.0, SS * 0.3)
    hgt -= tm * 1.3
    paint(alb, tm, (0x5A, 0x2E, 0x12) if lit else (0x4A, 0x2A, 0x14))
    rgb = light(hgt, alb, ambient=0.55 if lit else 0.45, diffuse=0.7, gloss=0.1)
    if lit:
        yy, xx = np.mgrid[0:h * SS, 0:w * SS] / SS
        g = np.clip(1 - np.hypot((xx - w / 2) / (w / 2), (yy - h / 2) / (h / 2)), 0, 1)
        rgb = np.clip(rgb * (1 + 0.25 * g[..., None]) + g[..., None] * np.array([0.08, 0.05, 0.0]), 0, 1)
    img = shade.shrink(shade.to_image(rgb, mask))
    return outline_inside(img)


def build_hud_buttons():
    for word, box, seed, name in (("UNDO", UNDO_TABLET, 610, "hud_undo"), ("HINT", HINT_TABLET, 620, "hud_hint")):
        save(hud_tablet(word, box[2], box[3], False, seed, 20), name + ".png")
        save(hud_tablet(word, box[2], box[3], True, seed, 20), name + "_hover.png")


def outline_inside(img):
    """The house outline drawn on the sprite's own edge (for images that must keep their size)."""
    a = img.getchannel("A")
    inner = a.filter(ImageFilter.MinFilter(3))
    ring = ImageChops_subtract(a, inner)
    line = Image.new("RGBA", img.size, OUTLINE + (255,))
    out = img.copy()
    out.paste(line, (0, 0), ring)
    return out


def ImageChops_subtract(a, b):
    from PIL import ImageChops
    return ImageChops.subtract(a, b)


def _layer_sized(size, fn):
    m = layer(size)
    fn(pen(m))
    return m


def build_chapters():
    calm_amount = {1: 0.72, 2: 0.8, 3: 0.72, 4: 0.85}
    tablet = menu_tablet(False)
    for c in range(1, 5):
        board = calm(SCENES[c](), calm_amount[c])
        top = Image.fromarray((board * 255 + 0.5).astype(np.uint8), "RGB")
        full = Image.new("RGB", (W * HS, H * HS))
        full.paste(top, (0, 0))
        full.paste(hud(c), (0, BOARD_H * HS))
        full = full.resize((W, H), Image.LANCZOS).convert("RGBA")
        full.alpha_composite(tablet, MENU_TABLET[:2])
        save(full.convert("RGB"), "chapter%d.png" % c)
    save(menu_tablet(True), "hud_button_hoveron.png")
    build_hud_buttons()


# ---- cursors -------------------------------------------------------------------
# 40 x 40 gloved hands: the pointing fingertip at the top-left corner, the palm
# over the centre, so the level (which centres them on the pointer) and the
# menus (which put their corner on it) both read right.
_C45 = math.cos(math.radians(45))


def _hand_pts(pts, tip=(1.6, 1.6)):
    return [(tip[0] + _C45 * x + _C45 * y, tip[1] - _C45 * x + _C45 * y) for x, y in pts]


def _rr_pts(x0, y0, x1, y1, r, n=6):
    pts = []
    for cx, cy, a0 in ((x1 - r, y0 + r, -90), (x1 - r, y1 - r, 0), (x0 + r, y1 - r, 90), (x0 + r, y0 + r, 180)):
        for k in range(n + 1):
            a = math.radians(a0 + 90 * k / n)
            pts.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    return pts


def _circle_pts(cx, cy, r, n=20):
    return [(cx + r * math.cos(2 * math.pi * k / n), cy + r * math.sin(2 * math.pi * k / n)) for k in range(n)]


def _part_layer(pts_list, color, radius=2.5):
    """One piece of the hand at SS size: lit, with its own outline, as RGBA floats."""
    m = layer((CELL, CELL))
    d = ImageDraw.Draw(m)
    for pts in pts_list:
        d.polygon([(x * SS, y * SS) for x, y in _hand_pts(pts)], fill=255)
    mask = ndimage.gaussian_filter(arr(m), SS * 0.2)
    hgt = dome(mask, radius)
    rgb = light(hgt, fill(mask.shape, color), ambient=0.58, diffuse=0.55, gloss=0.12)
    ring = np.clip(ndimage.grey_dilation(mask, size=(int(SS * 1.6), int(SS * 1.6))) - mask, 0, 1)
    full = np.clip(mask + ring, 0, 1)
    col = (rgb * mask[..., None] + np.array(OUTLINE) / 255.0 * ring[..., None]) / np.maximum(full, 1e-6)[..., None]
    return np.dstack([col, full])


def _over(dst, src):
    a = src[..., 3:4]
    out_a = a + dst[..., 3:4] * (1 - a)
    rgb = (src[..., :3] * a + dst[..., :3] * dst[..., 3:4] * (1 - a)) / np.maximum(out_a, 1e-6)
    return np.dstack([rgb, out_a])


def hand(kind):
    """kind: 'point' (open hand), 'press' (pressed), 'grab' (closed, holding).
    Drawn in the hand's own frame: the fingertip at the origin, the arm along +y;
    then turned so the finger points to the top-left corner."""
    glove = (0xF8, 0xF2, 0xE4) if kind != "press" else (0xEC, 0xDC, 0xBC)
    cuff = (0xC8, 0x8A, 0x40)
    pieces = [([_rr_pts(-7.5, 31, 10.5, 37.5, 2)], cuff)]
    pieces.append(([_rr_pts(-7, 13, 10, 33, 6)], glove))
    if kind == "grab":
        # A fist: four curled fingers across the top, the thumb folded over them.
        for k in range(4):
            x0 = -7 + k * 4.3
            pieces.append(([_rr_pts(x0, 9 + abs(k - 1.5) * 0.8, x0 + 4.6, 19, 2.2)], glove))
        pieces.append(([_rr_pts(-10.5, 16, -3, 24, 3.5)], glove))
    else:
        tip = 0.0 if kind == "point" else 2.0
        # Three curled fingers on the right of the palm, then the thumb, then the pointing finger.
        for k in range(3):
            pieces.append(([_rr_pts(3, 13 + k * 4.6, 11.5, 18 + k * 4.6, 2.4)], glove))
        pieces.append(([_rr_pts(-11.5, 15.5, -4.5, 25, 3.2)], glove))
        pieces.append(([_rr_pts(-3.2, tip, 3.4, 22, 3.2)], glove))
    acc = np.zeros((N, N, 4))
    for pts, color in pieces:
        acc = _over(acc, _part_layer(pts, color))
    img = shade.shrink(shade.to_image(acc[..., :3], acc[..., 3]))
    if kind == "press":
        # A small ring where the fingertip presses.
        d = ImageDraw.Draw(img)
        d.arc((0, 0, 9, 9), 180, 270, fill=GOLD + (255,), width=1)
    return drop_shadow(img, offset=(2, 2), alpha=0.5)


def build_cursors():
    save(hand("point"), "kursorb.png")
    save(hand("grab"), "kursorbh.png")
    save(hand("press"), "kursorp.png")



# ---- board animations ----------------------------------------------------------
AS = 2  # animation frames are painted at twice their size


def _rgba(a):
    return Image.fromarray((np.clip(a, 0, 1) * 255 + 0.5).astype(np.uint8), "RGBA")


def _down(img, size):
    return shade.shrink(img, (size, size)) if False else img.resize((size, size), Image.LANCZOS)


def teleport_frame(k):
    """tele0 .. tele9: the portal's swirl from a spark (0) to wide open (9).
    The exit plays them upwards (it opens), the entrance downwards (it closes)."""
    size = 150
    n = size * AS
    yy, xx = (np.mgrid[0:n, 0:n] + 0.5) / AS
    dx, dy = xx - 75, yy - 75
    r = np.hypot(dx, dy)
    th = np.arctan2(dy, dx)
    open_ = (k + 1) / 10.0
    R = 10 + 58 * open_
    env = np.clip(1 - r / R, 0, 1)
    arms = 0.5 + 0.5 * np.sin(3 * th + r * 0.22 - k * 0.7)
    core = np.clip(1 - r / (6 + 10 * open_), 0, 1) ** 1.5
    a = env ** 0.8 * (0.25 + 0.75 * arms) * (0.55 + 0.45 * open_) + core
    col = np.dstack([0.12 + 0.5 * arms * env + 0.88 * core,
                     0.35 + 0.45 * arms * env + 0.65 * core,
                     0.75 + 0.25 * env + 0.25 * core])
    out = np.dstack([np.clip(col, 0, 1), np.clip(a, 0, 0.95)])
    img = _rgba(out)
    d = ImageDraw.Draw(img)
    rng = np.random.default_rng(700 + k)
    for _ in range(6 + k * 2):
        ang = rng.uniform(0, 2 * math.pi)
        rad = rng.uniform(0.3, 1.0) * R
        x, y = 75 + rad * math.cos(ang), 75 + rad * math.sin(ang)
        s = rng.uniform(1.0, 2.2)
        d.ellipse([(x - s) * AS, (y - s) * AS, (x + s) * AS, (y + s) * AS], fill=(235, 250, 255, 230))
    return img.resize((size, size), Image.LANCZOS)


def _burst(seed, count, speed, up, spread):
    rng = np.random.default_rng(seed)
    parts = []
    for _ in range(count):
        ang = rng.uniform(-math.pi, 0) if up else rng.uniform(0, 2 * math.pi)
        v = rng.uniform(0.35, 1.0) * speed
        parts.append({
            "x": 100 + rng.uniform(-spread, spread), "y": 100 + rng.uniform(-spread, spread),
            "vx": v * math.cos(ang) * 0.7, "vy": v * math.sin(ang) - rng.uniform(0, speed * 0.4),
            "rot": rng.uniform(0, 2 * math.pi), "spin": rng.uniform(-9, 9), "size": rng.uniform(0.6, 1.0),
            "floor": 120 + rng.uniform(-2, 3), "tone": rng.uniform(0, 1),
        })
    return parts


def _fly(p, t):
    """Position of a piece t seconds after the break: thrown, slowed by the air,
    dropped by gravity, resting once it reaches the floor."""
    g, drag = 900.0, 2.2
    steps = max(1, int(t / 0.005))
    x, y, vx, vy, rot = p["x"], p["y"], p["vx"], p["vy"], p["rot"]
    dt = t / steps
    landed = False
    for _ in range(steps):
        if landed:
            break
        vx -= vx * drag * dt
        vy += g * dt
        x += vx * dt
        y += vy * dt
        rot += p["spin"] * dt
        if y >= p["floor"] and vy > 0:
            if abs(vy) > 160:
                vy = -vy * 0.3
                vx *= 0.5
                y = p["floor"]
            else:
                y, landed = p["floor"], True
    return x, y, rot, landed


SHARDS = _burst(801, 16, 330, True, 12)
GRIT = _burst(802, 70, 260, True, 16)
STEP_S = 0.06  # the break steps every 50 ms and more; at 50 frames a second, 60 ms


def spike_destroy_frame(k):
    """spike001 .. spike0034: a piece shatters, shards and grit burst out and settle."""
    size = 200
    img = Image.new("RGBA", (size * AS, size * AS), (0, 0, 0, 0))
    t = (k - 1) * STEP_S
    fade = min(1.0, (35 - k) / 22.0)
    # A puff of dust at the moment of the break.
    if k <= 12:
        puff = shade.glow((size * AS, size * AS), (100 * AS, 104 * AS), (14 + k * 4) * AS, (0xE0, 0xC8, 0x98),
                          0.75 * (1 - k / 12.0))
        img.alpha_composite(puff)
    d = ImageDraw.Draw(img)
    for p in GRIT:
        x, y, _, _ = _fly(p, t)
        s = 0.9 + p["size"]
        c = tuple(int(v) for v in np.array(SANDSTONE) * (0.7 + 0.5 * p["tone"]))
        d.ellipse([(x - s) * AS, (y - s) * AS, (x + s) * AS, (y + s) * AS], fill=c + (int(230 * fade),))
    for p in SHARDS:
        x, y, rot, landed = _fly(p, t)
        s = 6.5 * p["size"]
        pts = [(x + s * math.cos(rot + a) * f, y + s * math.sin(rot + a) * f)
               for a, f in ((0, 1.0), (2.1, 0.7), (3.6, 0.9), (5.0, 0.6))]
        base = BRONZE if p["tone"] > 0.6 else SANDSTONE
        lit = 1.15 if math.cos(rot) > 0 else 0.8
        c = tuple(int(min(255, v * lit)) for v in base)
        d.polygon([(px * AS, py * AS) for px, py in pts], fill=c + (int(255 * fade),), outline=OUTLINE + (int(255 * fade),))
    return img.resize((size, size), Image.LANCZOS)


SPARKS = [(2 * math.pi * i / 12 + (0.26 if i % 2 else 0), 1.0 if i % 2 else 0.7) for i in range(12)]


def _star(d, x, y, r, alpha, color):
    pts = []
    for i in range(8):
        a = math.pi / 4 * i
        rr = r if i % 2 == 0 else r * 0.28
        pts.append(((x + rr * math.cos(a)) * AS, (y + rr * math.sin(a)) * AS))
    d.polygon(pts, fill=color + (alpha,))


def particle_frame(k):
    """a001 .. a0060: a burst of golden sparkles that flies out and fades."""
    size = 220
    img = Image.new("RGBA", (size * AS, size * AS), (0, 0, 0, 0))
    t = (k - 1) / 59.0
    ease = 1 - (1 - t) ** 2.2
    fade = min(1.0, (1 - t) ** 0.8 * 1.15)
    if k <= 20:
        img.alpha_composite(shade.glow((size * AS, size * AS), (110 * AS, 110 * AS), (18 + 30 * t) * AS,
                                       (0xFF, 0xE8, 0xA0), 0.8 * (1 - k / 20.0)))
    d = ImageDraw.Draw(img)
    for i, (ang, reach) in enumerate(SPARKS):
        rad = 8 + 62 * reach * ease
        a = ang + t * 0.8
        x, y = 110 + rad * math.cos(a), 110 + rad * math.sin(a) + 14 * t * t
        twinkle = 0.75 + 0.25 * math.sin(k * 0.9 + i * 1.7)
        r = (9.5 - 4.5 * t) * twinkle
        _star(d, x, y, r + 1.2, int(160 * fade), (0xC0, 0x70, 0x10))
        _star(d, x, y, r, int(255 * fade), (0xFF, 0xE4, 0x80) if i % 3 else (0xFF, 0xFF, 0xF0))
        # A trail of fainter glints behind each spark.
        for j in (1, 2):
            tr = rad - j * 9 * ease
            if tr > 6:
                tx, ty = 110 + tr * math.cos(a - 0.05 * j), 110 + tr * math.sin(a - 0.05 * j)
                s = 1.6 - 0.4 * j
                d.ellipse([(tx - s) * AS, (ty - s) * AS, (tx + s) * AS, (ty + s) * AS],
                          fill=(0xFF, 0xF0, 0xC0, int(200 * fade / j)))
    return img.resize((size, size), Image.LANCZOS)


def build_animations():
    for k in range(10):
        save(teleport_frame(k), "teleport/tele%d.png" % k)
    for k in range(1, 35):
        save(spike_destroy_frame(k), "spike_destroy/spike00%d.png" % k)
    for k in range(1, 61):
        save(particle_frame(k), "particles/a00%d.png" % k)


def build():
    build_elements()
    build_chapters()
    build_cursors()
    build_animations()
    build_tiles()
    build_spikes()


if __name__ == "__main__":
    build()
