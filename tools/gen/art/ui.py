#!/usr/bin/python3
"""Every dialog panel, button, hover image and caption of the game.

All panels are one kind of tablet: a sandstone frame with a sunk band of carved
notches, gold studs in the corners and a papyrus field, lit from the top left.
Buttons are smaller sandstone tablets; a button's hover look is the very same
tablet lit warmer. Each button is described once (its hot rectangle, where the
game draws its hover image, its label); the panel paints the resting tablet and
the hover file holds the lit one, both from that one description, so the two
always line up to the pixel.

Made by `/usr/bin/python3 tools/gen/gen_art.py ui` (python3-pil, python3-numpy,
python3-scipy, fonts-averia-serif-gwf).
"""

import math

import numpy as np
from PIL import Image, ImageDraw, ImageFilter
from scipy import ndimage

import style
from geometry import (CHECK_HOT, CORNER_BUTTON_SIZE, CREDITS_WINDOW, DIALOG_AT, DIALOG_CANCEL,
                      DIALOG_CANCEL_AT, DIALOG_OK, DIALOG_OK_AT, DIALOG_SIZE, GAME_CLOSE, GAME_CLOSE_AT,
                      GAME_CONTINUE, GAME_CONTINUE_AT, GAME_DIALOG_SIZE, GAME_HIGH_SCORES, GAME_HIGH_SCORES_AT,
                      GAME_NEW, GAME_NEW_AT, HELP_PAGE_SIZE, HELP_VIDEO_AT, HELP_VIDEO_SIZE,
                      KNOB_LEFT, KNOB_MUSIC_Y, KNOB_RIGHT, KNOB_SIZE, KNOB_SOUND_Y, LEVEL_CELL_SIZE,
                      LEVEL_LIST_AT, LEVEL_LIST_CLOSE, LEVEL_LIST_CLOSE_AT, LEVEL_LIST_SIZE, LEVELS_BUTTON,
                      LEVELS_BUTTON_AT, MENU_AT, MENU_FRAME_SIZE, MENU_FRAMES, MENU_ITEM, MENU_ITEM_STEP,
                      OPTIONS_OK, OPTIONS_OK_AT, OPTIONS_SIZE, PAGE_SIZE, PLAYER_DELETE, PLAYER_DELETE_AT,
                      PLAYER_EDIT, PLAYER_EDIT_AT, PLAYER_NEW, PLAYER_NEW_AT, PLAYER_ROW, PLAYER_ROWS,
                      RETRY_CANCEL, RETRY_CANCEL_AT, RETRY_MAIN_MENU, RETRY_MAIN_MENU_AT, RETRY_RETRY,
                      RETRY_RETRY_AT, TAPE_AT, TAPE_SIZE, TAPE_STEP, WINDOW_CAPTION_AT, WINDOW_SIZE_AT,
                      WINDOW_SIZE_HOT)
from style import (GOLD, LAPIS, NIGHT, OUTLINE, SANDSTONE, SHADOW, TERRACOTTA, TURQUOISE, UMBER, blend,
                   caption, cast_shadow, paint_ring, paste_centred, relief, rounded_mask, save, shade,
                   to_image)


# ---- buttons ------------------------------------------------------------------

PAD = 3


class Button:
    """One button: hot rectangle (x, y, w, h) and hover position, both in screen pixels.

    The tablet covers the hot rectangle, less what lies left of or above the
    place the hover image is drawn (the game can draw nothing there). Buttons
    stacked edge to edge take no vertical pad, so they meet without overlapping."""

    def __init__(self, hover, hot, at, label, size=24, pad=(PAD, PAD), radius=9, symbol=None):
        self.hover = hover
        self.hot = hot
        self.at = at
        self.label = label
        self.size = size
        self.pad = pad
        self.radius = radius
        self.symbol = symbol

    def face(self):
        """The tablet (x0, y0, x1, y1), ends exclusive: the hot area grown by PAD where the
        hover image's position leaves room, so its rounded corners stay outside the area."""
        x, y, w, h = self.hot
        px, py = self.pad
        return (max(x - px, self.at[0]), max(y - py, self.at[1]), x + w + px, y + h + py)

    def sprite(self, lit):
        x0, y0, x1, y1 = self.face()
        col, mask = style.tablet(x1 - x0, y1 - y0, radius=self.radius, bevel=5,
                                 seed=hash_seed(self.hover), lit=0.9 if lit else 0.0)
        img = to_image(col, mask)
        if self.symbol:
            self.symbol(img, lit)
        if self.label:
            cap = caption(self.label, self.size, fill_top=(255, 252, 236) if lit else style.CAPTION_TOP)
            paste_centred(img, cap, img.width / 2.0, img.height / 2.0 + 1)
        return img

    def hover_image(self, lit=True):
        x0, y0, x1, y1 = self.face()
        img = Image.new("RGBA", (x1 - self.at[0], y1 - self.at[1]), (0, 0, 0, 0))
        img.paste(self.sprite(lit), (x0 - self.at[0], y0 - self.at[1]))
        return img

    def check(self, img):
        """The lit tablet must cover every point of the hot area the game can draw over."""
        x, y, w, h = self.hot
        ax, ay = self.at
        a = np.asarray(img.getchannel("A"))
        x0, y0 = max(x + 1, ax), max(y + 1, ay)
        part = a[y0 - ay:y + h - ay, x0 - ax:x + w - ax]
        assert part.shape == (y + h - y0, x + w - x0), self.hover
        # Where the tablet could not grow past the hot area, its rounded corner may
        # leave the area's very corner points dark; nothing else.
        yy, xx = np.mgrid[0:part.shape[0], 0:part.shape[1]]
        hh, ww = part.shape
        r = self.radius
        near_x = (xx < r) | (xx >= ww - r)
        near_y = (yy < r) | (yy >= hh - r)
        corner = near_x & near_y
        assert (part[~corner] == 255).all(), self.hover

    def paint(self, panel, origin):
        """Paints the resting tablet, with its shadow, into a panel drawn at origin."""
        x0, y0, _, _ = self.face()
        spr = self.sprite(False)
        pos = (x0 - origin[0], y0 - origin[1])
        shadow = Image.new("RGBA", panel.size, (0, 0, 0, 0))
        a = Image.new("L", panel.size, 0)
        a.paste(spr.getchannel("A").point(lambda v: v * 0.5), (pos[0] + 3, pos[1] + 3))
        shadow.paste(Image.new("RGBA", panel.size, SHADOW + (255,)), (0, 0), a.filter(ImageFilter.GaussianBlur(2)))
        panel.alpha_composite(shadow)
        panel.alpha_composite(spr, pos)


def hash_seed(name):
    """A fixed seed from a file name, so each tablet has its own grain, the same every run."""
    return sum((i + 1) * ord(c) for i, c in enumerate(name)) % 9973


# ---- panels -------------------------------------------------------------------

PAPYRUS = (0xF0, 0xE0, 0xBC)


def panel(w, h, seed=3, band=26, radius=20, field_colour=PAPYRUS, dark_field=False):
    """The carved tablet every dialog stands on: a stone frame and a papyrus field.

    Returns an RGBA image of w x h; the tablet leaves 8 px at the right and bottom
    for its own shadow."""
    W, H = w - 8, h - 8
    outer = rounded_mask(W, H, (0, 0, W, H), radius)
    col = style.stone_texture(W, H, SANDSTONE, seed)
    col = shade(col, relief(outer, 8), 0.85)
    # Carved notches along the middle of the band.
    notches = np.zeros((H, W), bool)
    mid = band // 2
    step = 18
    for x in range(radius + 12, W - radius - 16, step):
        notches[mid - 4:mid + 4, x:x + 9] = True
        notches[H - mid - 4:H - mid + 4, x:x + 9] = True
    for y in range(radius + 12, H - radius - 16, step):
        notches[y:y + 9, mid - 4:mid + 4] = True
        notches[y:y + 9, W - mid - 4:W - mid + 4] = True
    col = shade(col, relief(notches, 3, -1.0), 1.0)
    col = blend(col, SHADOW, 0.3 * notches + 0.3 * cast_shadow(notches, 2, 0.8))
    # Gold studs in the corners.
    for cx, cy in ((mid + 2, mid + 2), (W - mid - 3, mid + 2), (mid + 2, H - mid - 3), (W - mid - 3, H - mid - 3)):
        stud = disc_mask(W, H, cx, cy, 8)
        scol = np.empty_like(col)
        scol[:] = GOLD
        scol = shade(scol, relief(stud, 5), 1.1)
        col = np.where(stud[..., None], scol, col)
        col = paint_ring(col, stud)
    # The field, sunk by a step, with a thin gold inlay around it.
    inlay = rounded_mask(W, H, (band - 4, band - 4, W - band + 4, H - band + 4), radius - 6)
    field = rounded_mask(W, H, (band, band, W - band, H - band), radius - 8)
    col = np.where((inlay & ~field)[..., None], shade(np.full_like(col, GOLD), relief(inlay & ~field, 1.5), 0.6), col)
    if dark_field:
        fcol = style.stone_texture(W, H, field_colour, seed + 5, grain=0.6)
    else:
        fcol = style.papyrus_texture(W, H, field_colour, seed + 5)
    fcol = shade(fcol, relief(field, 4, -1.0), 0.8)
    fcol = blend(fcol, SHADOW, 0.45 * cast_shadow(field, 5, 2.5))
    col = np.where(field[..., None], fcol, col)
    col = paint_ring(col, outer)
    tab = to_image(col, outer)
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    img.alpha_composite(soft_shadow(tab, 6, 4, 0.55))
    img.alpha_composite(tab)
    return img


def disc_mask(w, h, cx, cy, r):
    yy, xx = np.mgrid[0:h, 0:w]
    return (xx - cx) ** 2 + (yy - cy) ** 2 <= r * r


def soft_shadow(img, offset, blur, strength):
    """The blurred shadow of an RGBA image's shape, offset to the bottom right."""
    a = Image.new("L", img.size, 0)
    a.paste(img.getchannel("A").point(lambda v: int(v * strength)), (offset, offset))
    out = Image.new("RGBA", img.size, SHADOW + (0,))
    out.putalpha(a.filter(ImageFilter.GaussianBlur(blur)))
    return out


def title(img, text, cx, cy, size=40):
    paste_centred(img, caption(text, size, tracking=2), cx, cy)


def dark_text(text, size, colour=UMBER):
    """Smaller writing on papyrus: brown ink, no ring."""
    return caption(text, size, fill_top=colour, fill_bottom=style.SHADOW, ring=(0, 0, 0),
                   ring_width=0.01, shadow=0.01, font=style.FONT_BOLD)


def sunk_box(img, rect, colour=NIGHT, radius=6, depth=4, material="stone"):
    """A recess cut into a panel (rect x0, y0, x1, y1 in image pixels)."""
    w, h = img.size
    m = rounded_mask(w, h, rect, radius)
    col, alpha = style.from_image(img)
    if material == "papyrus":
        fill = style.papyrus_texture(w, h, colour, 78)
    else:
        fill = style.stone_texture(w, h, colour, 77, grain=0.5)
    fill = shade(fill, relief(m, depth, -1.0), 0.9)
    fill = blend(fill, (0, 0, 0), 0.5 * cast_shadow(m, depth, 2.0))
    col = np.where(m[..., None], fill, col)
    col = paint_ring(col, m)
    return to_image(col, np.maximum(alpha, m))


# ---- level screen -------------------------------------------------------------

def score_wheels(img, x, y):
    """The slot of six digit drums (60 x 60 each) at (x, y) of the panel."""
    img = sunk_box(img, (x - 6, y - 6, x + 366, y + 66), (0x1A, 0x12, 0x0C), radius=8, depth=4)
    col, alpha = style.from_image(img)
    for j in range(6):
        x0 = x + 60 * j
        # A drum is darker at its top and bottom and catches the light in the middle.
        t = np.linspace(-1, 1, 60)
        drum = 0.35 + 0.65 * np.cos(t * math.pi / 2.2) ** 2
        c = np.array((0x4A, 0x2E, 0x1A), float)[None, None, :] * drum[:, None, None]
        col[y:y + 60, x0 + 2:x0 + 58] = c
        col[y:y + 60, x0:x0 + 2] = OUTLINE
        col[y:y + 60, x0 + 58:x0 + 60] = OUTLINE
    return to_image(col, alpha)


def sun_emblem(size, seed=5):
    """A gold sun disc with rays: the emblem of a finished level."""
    S = size * 4
    img = Image.new("RGBA", (S, S), (0, 0, 0, 0))
    d = ImageDraw.Draw(img)
    c = S / 2
    for k in range(16):
        a = k * math.pi / 8
        r0, r1 = S * 0.26, S * (0.48 if k % 2 == 0 else 0.4)
        da = math.pi / 28
        pts = [(c + r0 * math.cos(a - da), c + r0 * math.sin(a - da)), (c + r1 * math.cos(a), c + r1 * math.sin(a)),
               (c + r0 * math.cos(a + da), c + r0 * math.sin(a + da))]
        d.polygon(pts, fill=(255, 255, 255, 255))
    d.ellipse((c - S * 0.28, c - S * 0.28, c + S * 0.28, c + S * 0.28), fill=(255, 255, 255, 255))
    img = img.resize((size, size), Image.LANCZOS)
    m = np.asarray(img.getchannel("A")) > 110
    col = np.empty((size, size, 3))
    col[:] = GOLD
    col = shade(col, relief(m, size / 10.0), 1.0)
    inner = disc_mask(size, size, size / 2 - 0.5, size / 2 - 0.5, size * 0.2)
    col = np.where(inner[..., None], shade(np.full_like(col, (0xE8, 0x6A, 0x2A)), relief(inner, size / 8.0), 1.0), col)
    col = paint_ring(col, m)
    col = paint_ring(col, inner, (0x8A, 0x4A, 0x10))
    return style.drop_shadow(to_image(col, m))


def leveldone():
    """The level-complete panel at (120, 50): six drums at (220 + 60j, 335) on screen."""
    img = panel(560, 440, seed=21)
    title(img, "LEVEL COMPLETE", 276, 62, 42)
    paste_centred(img, sun_emblem(110), 276, 160)
    paste_centred(img, caption("SCORE", 26), 276, 258)
    img = score_wheels(img, 100, 285)
    paste_centred(img, dark_text("click to go on", 20), 276, 390)
    return img


def cracked_jar(size):
    """A terracotta jar split by a crack: a lost level."""
    S = size * 4
    m = Image.new("L", (S, S), 0)
    d = ImageDraw.Draw(m)
    d.ellipse((S * 0.18, S * 0.28, S * 0.82, S * 0.95), fill=255)
    d.rectangle((S * 0.36, S * 0.12, S * 0.64, S * 0.4), fill=255)
    d.ellipse((S * 0.3, S * 0.06, S * 0.7, S * 0.18), fill=255)
    crack = Image.new("L", (S, S), 0)
    dc = ImageDraw.Draw(crack)
    pts = [(S * 0.46, S * 0.1), (S * 0.54, S * 0.3), (S * 0.44, S * 0.45), (S * 0.58, S * 0.62),
           (S * 0.47, S * 0.78), (S * 0.55, S * 0.96)]
    dc.line(pts, fill=255, width=int(S * 0.035))
    m = m.resize((size, size), Image.LANCZOS)
    crack = crack.resize((size, size), Image.LANCZOS)
    mask = np.asarray(m) > 110
    cr = (np.asarray(crack) > 90) & mask
    col = style.stone_texture(size, size, TERRACOTTA, 9)
    col = shade(col, relief(mask, size / 6.0), 1.0)
    # A zigzag band, as on the game's vases.
    yy, xx = np.mgrid[0:size, 0:size]
    band = (np.abs(yy - size * 0.55 - 4 * np.sin(xx * 0.45)) < 2.2) & mask
    col = np.where(band[..., None], col * 0.55, col)
    col = np.where(cr[..., None], np.array(OUTLINE, float), col)
    col = paint_ring(col, mask)
    img = to_image(col, mask)
    return style.drop_shadow(img, (4, 4), 0.5, 2)


def failed():
    """The panel shown for two seconds when a level is lost, at (200, 145)."""
    img = panel(400, 310, seed=31)
    title(img, "LEVEL FAILED", 196, 58, 38)
    paste_centred(img, cracked_jar(120), 196, 160)
    paste_centred(img, dark_text("try again", 24), 196, 244)
    return img


RETRY_BUTTONS = [
    Button("r_mainmenu.png", RETRY_MAIN_MENU, RETRY_MAIN_MENU_AT, "MAIN MENU", 26),
    Button("r_retry.png", RETRY_RETRY, RETRY_RETRY_AT, "RETRY", 26),
    Button("r_cancel.png", RETRY_CANCEL, RETRY_CANCEL_AT, "CANCEL", 26),
]
# A lost level has nothing to go back to: in the cancel button's place the game
# draws this one, which takes back the move that lost it (resting and lit, both
# drawn where the hover images go).
RETRY_UNDO = Button("r_undo.png", RETRY_CANCEL, RETRY_CANCEL_AT, "UNDO", 26)


def dialog(size, origin, buttons, seed):
    img = panel(size[0], size[1], seed=seed)
    for b in buttons:
        b.paint(img, origin)
    return img


def retry_dialog():
    img = dialog(DIALOG_SIZE, DIALOG_AT, RETRY_BUTTONS, 41)
    title(img, "LEVEL MENU", 276, 66, 40)
    return img


def lost_dialog():
    """The retry dialog after a loss: the level is lost, so there is nothing to cancel."""
    img = dialog(DIALOG_SIZE, DIALOG_AT, RETRY_BUTTONS[:2], 41)
    title(img, "LEVEL LOST", 276, 66, 40)
    return img


# ---- main menu ----------------------------------------------------------------

MENU_LABELS = ["PLAY", "OPTIONS", "CREDITS", "HELP", "QUIT"]


def menu_item_hot(i):
    """Item i's hot area inside its strip frame (on screen MENU_ITEM, moved i - 1 steps)."""
    x, y, w, h = MENU_ITEM
    return (x + MENU_ITEM_STEP[0] * (i - 1) - MENU_AT[0], y + MENU_ITEM_STEP[1] * (i - 1) - MENU_AT[1], w, h)


def menu_strip(i):
    """Frame 1 the resting tablet; frames 2..11 it lifts by up to 4 px and glows."""
    fw, fh = MENU_FRAME_SIZE
    hx, hy, hw, hh = menu_item_hot(i)
    tw, th = hw + 12, hh + 10             # the tablet overhangs its hot area, so it covers it as it lifts
    strip = Image.new("RGBA", (fw * MENU_FRAMES, fh), (0, 0, 0, 0))
    for k in range(1, MENU_FRAMES + 1):
        t = (k - 1) / float(MENU_FRAMES - 1)
        lift = int(round(3 * t))
        col, mask = style.tablet(tw, th, radius=8, bevel=6, seed=100 + i, lit=t)
        tab = to_image(col, mask)
        cap = caption(MENU_LABELS[i - 1], 28, fill_top=tuple(int(a + (255 - a) * t) for a in style.CAPTION_TOP))
        paste_centred(tab, cap, tw / 2.0, th / 2.0 + 1)
        frame = Image.new("RGBA", (fw, fh), (0, 0, 0, 0))
        x, y = hx - 6, hy - 5 - lift
        # The shadow falls further as the tablet rises; the glow grows around it.
        if t > 0:
            glow = Image.new("L", frame.size, 0)
            glow.paste(mask_image(mask), (x, y))
            glow = glow.filter(ImageFilter.GaussianBlur(7)).point(lambda v: int(v * 0.75 * t))
            g = Image.new("RGBA", frame.size, GOLD + (0,))
            g.putalpha(glow)
            frame.alpha_composite(g)
        sh = Image.new("L", frame.size, 0)
        sh.paste(mask_image(mask).point(lambda v: int(v * 0.5)), (x + 3 + lift, y + 3 + 2 * lift))
        s = Image.new("RGBA", frame.size, SHADOW + (0,))
        s.putalpha(sh.filter(ImageFilter.GaussianBlur(2 + t * 2)))
        frame.alpha_composite(s)
        frame.alpha_composite(tab, (x, y))
        strip.paste(frame, (fw * (k - 1), 0))
    return strip


def mask_image(mask):
    return Image.fromarray((mask * 255).astype(np.uint8), "L")


def welcome_pl():
    return style.player_plaque(lit=True)


# ---- loading screen -----------------------------------------------------------



def desert_scene(w, h, seed=2):
    """Dunes under a warm evening sky, pyramids on the horizon: the loading backdrop."""
    yy, xx = np.mgrid[0:h, 0:w].astype(float)
    sky_top, sky_low = np.array((0x2A, 0x3E, 0x78), float), np.array((0xF0, 0xA8, 0x5A), float)
    t = np.clip(yy / (h * 0.62), 0, 1)[..., None]
    col = sky_top * (1 - t) ** 1.3 + sky_low * (1 - (1 - t) ** 1.3)
    # The sun low over the horizon.
    sun = np.exp(-(((xx - w * 0.68) ** 2 + (yy - h * 0.5) ** 2) / (2 * 60.0 ** 2)))
    col = blend(col, (255, 232, 170), np.clip(sun * 1.2, 0, 1))
    disc = ((xx - w * 0.68) ** 2 + (yy - h * 0.5) ** 2) < 38 ** 2
    col = np.where(disc[..., None], np.array((255, 238, 190), float), col)
    horizon = h * 0.56
    # Pyramids.
    for px, pw, ph, c in ((w * 0.2, 170, 120, (0x9A, 0x5E, 0x38)), (w * 0.34, 110, 78, (0xA8, 0x6A, 0x40)),
                          (w * 0.86, 140, 96, (0x8E, 0x56, 0x34))):
        inside = (yy <= horizon + 4) & (yy >= horizon - ph + np.abs(xx - px) * ph / (pw / 2.0))
        lit = xx < px
        pc = np.where(lit[..., None], np.array(c, float) * 1.12, np.array(c, float) * 0.72)
        col = np.where(inside[..., None], pc, col)
    # Three dune ridges, nearer ones warmer and darker at their feet.
    rng = np.random.RandomState(seed)
    for k, (base, amp, c) in enumerate(((horizon, 14, (0xD8, 0x9A, 0x58)), (h * 0.66, 26, (0xC8, 0x86, 0x48)),
                                         (h * 0.8, 34, (0xB0, 0x70, 0x3C)))):
        ph1, ph2 = rng.rand() * 6, rng.rand() * 6
        ridge = base + amp * np.sin(xx[0] / (140 + 40 * k) + ph1) + amp * 0.5 * np.sin(xx[0] / (55 + 9 * k) + ph2)
        slope = np.gradient(ridge)
        below = yy >= ridge[None, :]
        depth = np.clip((yy - ridge[None, :]) / 90.0, 0, 1)
        dc = np.array(c, float) * (1.08 - 0.25 * depth[..., None])
        dc = dc * (1 + np.clip(-slope * 0.6, -0.15, 0.15))[None, :, None]
        col = np.where(below[..., None], dc, col)
    col = col * (1 + 0.03 * style.smooth_noise(w, h, 1.0, seed + 9))[..., None]
    return col


def loading_screen():
    w, h = 800, 600
    img = to_image(desert_scene(w, h))
    title(img, "TOVI MUDGROVE", 400, 150, 76)
    paste_centred(img, caption("the four parts of the Ashcrystal", 26), 400, 222)
    x, y = TAPE_AT
    tw, th = TAPE_SIZE
    # A stone bar, its empty groove exactly where the tape is revealed.
    col, mask = style.tablet(tw + 40, th + 36, radius=16, bevel=6, seed=55)
    bar = to_image(col, mask)
    bar = sunk_box(bar, (20, 18, 20 + tw, 18 + th), (0x2A, 0x1A, 0x10), radius=4, depth=4)
    img.alpha_composite(soft_shadow(bar, 5, 4, 0.6), (x - 20, y - 18))
    img.alpha_composite(bar, (x - 20, y - 18))
    paste_centred(img, caption("LOADING", 28), 400, y + th + 48)
    return img.convert("RGB")


def loading_tape():
    """The bar's fill: gold and lapis cells, one per 47-px step of the loading."""
    w, h = TAPE_SIZE
    col = np.empty((h, w, 3))
    col[:] = GOLD
    yy, xx = np.mgrid[0:h, 0:w]
    for k in range(11):
        x0 = k * TAPE_STEP
        cell = (xx >= x0 + 3) & (xx < x0 + TAPE_STEP - 3) & (yy >= 6) & (yy < h - 6)
        inner = (xx >= x0 + 12) & (xx < x0 + TAPE_STEP - 12) & (yy >= 14) & (yy < h - 14)
        c = np.full_like(col, LAPIS if k % 2 == 0 else TURQUOISE)
        col = np.where(cell[..., None], shade(c, relief(cell, 3), 0.9), col)
        col = np.where(inner[..., None], shade(np.full_like(col, GOLD), relief(inner, 3), 0.9), col)
    band = np.ones((h, w), bool)
    col = shade(col, relief(band, 5), 0.8)
    col = paint_ring(col, band)
    return to_image(col)


# ---- player profiles ----------------------------------------------------------


OK_BUTTON = Button("pl_yes.png", DIALOG_OK, DIALOG_OK_AT, "OK", 30)
CANCEL_BUTTON = Button("pl_no.png", DIALOG_CANCEL, DIALOG_CANCEL_AT, "CANCEL", 28)
PLAYER_BUTTONS = [
    Button("pl_new.png", PLAYER_NEW, PLAYER_NEW_AT, "NEW", 17, radius=6),
    Button("pl_edit.png", PLAYER_EDIT, PLAYER_EDIT_AT, "EDIT", 17, radius=6),
    Button("pl_del.png", PLAYER_DELETE, PLAYER_DELETE_AT, "DELETE", 15, radius=6),
    OK_BUTTON,
    CANCEL_BUTTON,
]


def arrow_points(direction, cx, cy, r, shaft=True):
    """An arrow of half-length r pointing up, down, left or right, as a polygon."""
    if shaft:
        hw, sw, hl = r * 0.95, r * 0.38, r * 0.9     # head half-width, shaft half-width, head length
        pts = [(r, 0), (r - hl, -hw), (r - hl, -sw), (-r, -sw), (-r, sw), (r - hl, sw), (r - hl, hw)]
    else:
        pts = [(r, 0), (-r * 0.6, -r), (-r * 0.6, r)]
    rot = {"right": (1, 0), "left": (-1, 0), "down": (0, 1), "up": (0, -1)}[direction]
    c, s_ = rot
    return [(cx + x * c - y * s_, cy + x * s_ + y * c) for x, y in pts]


def arrow_symbol(direction, shaft=False, scale=0.3):
    """Draws a gold arrow centred on a sprite."""
    def draw(img, lit):
        w, h = img.size
        S = 4
        m = Image.new("L", (w * S, h * S), 0)
        d = ImageDraw.Draw(m)
        d.polygon(arrow_points(direction, w * S / 2, h * S / 2, min(w, h) * S * scale, shaft), fill=255)
        m = m.resize((w, h), Image.LANCZOS)
        mk = np.asarray(m) > 100
        col, alpha = style.from_image(img)
        c = np.full_like(col, (255, 214, 110) if lit else GOLD)
        c = shade(c, relief(mk, 3), 1.0)
        col = np.where(mk[..., None], c, col)
        col = paint_ring(col, mk)
        img.paste(to_image(col, np.maximum(alpha, mk)))
    return draw


def page_button(direction, lit):
    b = Button("page_" + direction, (0, 0) + PAGE_SIZE, (0, 0), None, radius=10, symbol=arrow_symbol(direction))
    spr = b.sprite(lit)
    img = Image.new("RGBA", PAGE_SIZE, (0, 0, 0, 0))
    img.alpha_composite(spr)
    return img


def player_dialog():
    img = dialog(DIALOG_SIZE, DIALOG_AT, PLAYER_BUTTONS, 51)
    title(img, "PLAYERS", 276, 48, 38)
    ox, oy = DIALOG_AT
    img = sunk_box(img, (218 - ox, 201 - oy, 498 - ox, 362 - oy), (0xE6, 0xD2, 0xA8), radius=6, depth=3,
                   material="papyrus")
    # Faint ruled lines between the five rows.
    d = ImageDraw.Draw(img)
    for k in range(1, PLAYER_ROWS):
        y = PLAYER_ROW[1] + PLAYER_ROW[3] * k - oy
        d.line((226 - ox, y, 490 - ox, y), fill=(0xB8, 0x98, 0x68, 255))
    return img


def selc():
    """The highlight of the selected row: a warm translucent band, 260 x 30."""
    w, h = 260, 30
    m = rounded_mask(w, h, (0, 0, w, h), 8)
    soft = ndimage.gaussian_filter(m.astype(float), 2.0)
    col = np.empty((h, w, 3))
    col[:] = GOLD
    col = blend(col, (255, 240, 190), ndimage.gaussian_filter(rounded_mask(w, h, (6, 4, w - 6, 12), 4).astype(float), 2))
    return to_image(col, soft * 0.55)


# ---- game dialog and confirmation ----------------------------------------------

GAME_BUTTONS = [
    Button("newgame_hover.png", GAME_NEW, GAME_NEW_AT, "NEW GAME", 30, pad=(PAD, 0)),
    Button("continue_hover.png", GAME_CONTINUE, GAME_CONTINUE_AT, "CONTINUE", 30, pad=(PAD, 0)),
    Button("hiscore_hover.png", GAME_HIGH_SCORES, GAME_HIGH_SCORES_AT, "HIGH SCORES", 30, pad=(PAD, 0)),
    Button("x_hover.png", GAME_CLOSE, GAME_CLOSE_AT, "CLOSE", 26),
]


def game_dialog():
    img = dialog(GAME_DIALOG_SIZE, DIALOG_AT, GAME_BUTTONS, 61)
    title(img, "PLAY", 276, 50, 42)
    return img


# The game dialog's way to the level list, drawn by the game beside CLOSE
# (resting and lit, both where the hover image goes).
LEVELS_BUTTON = Button("levels_hover.png", LEVELS_BUTTON, LEVELS_BUTTON_AT, "LEVELS", 24)

# The level list: a panel at LEVEL_LIST_AT, the chapter's 25 levels as tablets
# in five rows of five (LEVEL_CELL_SIZE in size, LEVEL_PITCH apart, the first at
# LEVEL_GRID_AT), page buttons either side of the chapter's name, and CLOSE.
LEVEL_LIST_CLOSE_BUTTON = Button("ll_close_hover.png", LEVEL_LIST_CLOSE, LEVEL_LIST_CLOSE_AT, "CLOSE", 24)


def level_list_panel():
    return dialog(LEVEL_LIST_SIZE, LEVEL_LIST_AT, [LEVEL_LIST_CLOSE_BUTTON], 71)


def level_cell(state):
    """One level's tablet: "open" (resting), "lit" (under the pointer) or "locked" (not reached yet)."""
    w, h = LEVEL_CELL_SIZE
    col, mask = style.tablet(w, h, radius=8, bevel=4, seed=181, lit=0.9 if state == "lit" else 0.0)
    if state == "locked":
        col = col * 0.55 + np.array(SHADOW, float) * 0.25
    return to_image(col, mask)


def confirm_dialog():
    img = dialog(DIALOG_SIZE, DIALOG_AT, [OK_BUTTON, CANCEL_BUTTON], 51)
    title(img, "NEW GAME", 276, 50, 42)
    paste_centred(img, dark_text("Start again from the first level?", 24), 276, 150)
    paste_centred(img, dark_text("Your saved level and score", 22), 276, 198)
    paste_centred(img, dark_text("will be replaced.", 22), 276, 228)
    return img


# ---- forward and back buttons -------------------------------------------------

def corner_button(label, direction, lit, size=CORNER_BUTTON_SIZE, seed=71):
    """A free-standing tablet with a caption over an arrow, its shadow inside the image.

    The forward and back-to-menu buttons (CORNER_BUTTON_SIZE at CORNER_BUTTON_AT) and the help
    pages' page buttons are all this one tablet."""
    w, h = size
    tw, th = w - 5, h - 5
    col, mask = style.tablet(tw, th, radius=14, bevel=6, seed=seed, lit=0.9 if lit else 0.0)
    tab = to_image(col, mask)
    if label:
        cap = caption(label, 21, fill_top=(255, 252, 236) if lit else style.CAPTION_TOP)
        paste_centred(tab, cap, tw / 2.0, th * 0.3)
        arr = Image.new("RGBA", (tw - 20, int(th * 0.46)), (0, 0, 0, 0))
        arrow_symbol(direction, shaft=True, scale=0.42)(arr, lit)
        tab.alpha_composite(arr, (10, int(th * 0.48)))
    else:
        arrow_symbol(direction, shaft=True, scale=0.36)(tab, lit)
    sh = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    sh.paste(tab, (0, 0))
    img = soft_shadow(sh, 4, 2, 0.55)
    img.alpha_composite(tab)
    return img


# ---- options ------------------------------------------------------------------

OPTIONS_OK_BUTTON = Button("ok_hover.png", OPTIONS_OK, OPTIONS_OK_AT, "OK", 30, pad=(PAD, 0))
KNOB = KNOB_SIZE
KNOB_Y = {"music": KNOB_MUSIC_Y, "effects": KNOB_SOUND_Y}
KNOB_X = (KNOB_LEFT, KNOB_RIGHT)           # volume 0 and volume 127
# The box the check mark ticks (ends exclusive): the hot area less its top and left line.
CHECK_BOX = (CHECK_HOT[0] + 1, CHECK_HOT[1] + 1, CHECK_HOT[0] + CHECK_HOT[2], CHECK_HOT[1] + CHECK_HOT[3])
# The window's size, 1x to 3x, under the full-screen box: the chosen one is lit,
# one the desktop has no room for is dimmed (the game draws both over the panel).
WINDOW_SIZES = [Button("window%d_on.png" % k, WINDOW_SIZE_HOT[k - 1], WINDOW_SIZE_AT[k - 1],
                       "%dx" % k, 20, radius=8) for k in (1, 2, 3)]


def dimmed(b):
    """A window size the desktop has no room for: the resting tablet, sunk into shadow."""
    img = b.hover_image(False)
    a = np.asarray(img, float)
    a[..., :3] = a[..., :3] * 0.45 + np.array(SANDSTONE, float) * 0.2
    return Image.fromarray(a.clip(0, 255).astype(np.uint8), "RGBA")


def options_panel():
    img = dialog(OPTIONS_SIZE, DIALOG_AT, [OPTIONS_OK_BUTTON] + WINDOW_SIZES, 81)
    ox, oy = DIALOG_AT
    title(img, "OPTIONS", 276, 50, 42)
    for label, key in (("MUSIC", "music"), ("SOUND", "effects")):
        cy = KNOB_Y[key] + KNOB[1] // 2
        img = sunk_box(img, (KNOB_X[0] - 6 - ox, cy - 8 - oy, KNOB_X[1] + KNOB[0] + 6 - ox, cy + 8 - oy),
                       (0x3A, 0x24, 0x14), radius=7, depth=3)
        d = ImageDraw.Draw(img)
        for k in range(11):
            x = KNOB_X[0] + KNOB[0] // 2 + k * (KNOB_X[1] - KNOB_X[0]) / 10.0 - ox
            d.line((x, cy + 13 - oy, x, cy + (20 if k % 5 == 0 else 17) - oy), fill=UMBER + (255,), width=2)
        cap = caption(label, 26)
        img.alpha_composite(cap, (340 - ox - cap.width, cy - oy - cap.height // 2))
    x0, y0, x1, y1 = CHECK_BOX
    img = sunk_box(img, (x0 - 3 - ox, y0 - 3 - oy, x1 + 3 - ox, y1 + 3 - oy), (0x3A, 0x24, 0x14), radius=5, depth=4)
    cap = caption("FULL SCREEN", 26)
    img.alpha_composite(cap, (470 - ox - cap.width, (y0 + y1) // 2 - oy - cap.height // 2))
    cap = caption("WINDOW", 20)
    cx, cy = WINDOW_CAPTION_AT
    img.alpha_composite(cap, (cx - ox - cap.width // 2, cy - oy - cap.height // 2))
    return img


def knob():
    """The slider knob: a small gold-capped sandstone handle."""
    w, h = KNOB
    col, mask = style.tablet(w - 2, h - 2, radius=7, bevel=4, seed=91, base=(0xD8, 0xA0, 0x58))
    yy = np.arange(h - 2)[:, None]
    groove = (np.abs(yy - (h - 2) / 2.0) < 1.2) & mask
    col = np.where(groove[..., None], col * 0.55, col)
    tab = to_image(col, mask)
    img = Image.new("RGBA", (w, h), (0, 0, 0, 0))
    img.alpha_composite(tab)
    sh = soft_shadow(img, 2, 1, 0.5)
    sh.alpha_composite(img)
    return sh


def check_mark():
    """A gold tick that sweeps out of the box to the top right."""
    w = h = 60
    S = 4
    m = Image.new("L", (w * S, h * S), 0)
    d = ImageDraw.Draw(m)
    pts = [(13, 35), (22, 29), (28, 40), (50, 5), (57, 9), (29, 55)]
    d.polygon([(x * S, y * S) for x, y in pts], fill=255)
    m = m.resize((w, h), Image.LANCZOS)
    mk = np.asarray(m) > 100
    col = np.full((h, w, 3), GOLD, float)
    col = shade(col, relief(mk, 3), 1.1)
    col = paint_ring(col, mk)
    return style.drop_shadow(to_image(col, mk), (2, 2))


# ---- high scores ----------------------------------------------------------------

HISCORE_PANEL = (36, 92, 676, 580)     # the tablet on the full-screen picture; the back button overlaps its corner
HISCORE_ROWS = [60 * k + 200 for k in range(1, 6)]


def hiscore_screen():
    x0, y0, x1, y1 = HISCORE_PANEL
    tab = panel(x1 - x0, y1 - y0, seed=101)
    img = Image.new("RGBA", (800, 600), (0, 0, 0, 0))
    img.alpha_composite(tab, (x0, y0))
    title(img, "HIGH SCORES", (x0 + x1 - 8) // 2, y0 + 52, 44)
    d = ImageDraw.Draw(img)
    for k, y in enumerate(HISCORE_ROWS, 1):
        band = (0xE2, 0xCC, 0x9C, 255) if k % 2 else (0xEA, 0xD8, 0xB0, 255)
        d.rounded_rectangle((x0 + 34, y - 6, x1 - 42, y + 38), radius=8, fill=band)
        num = caption("%d" % k, 28)
        img.alpha_composite(num, (x0 + 54 - num.width // 2, y + 17 - num.height // 2))
    head = dark_text("PLAYER", 18)
    img.alpha_composite(head, (136, 226))
    head = dark_text("SCORE", 18)
    img.alpha_composite(head, (622 - head.width, 226))
    return img


# ---- chapter map ----------------------------------------------------------------
# The game draws a small dot with its top-left at the path point and the small
# glow at (x - 11, y - 11); a big dot at the point (2 px to the left at the end
# of a chapter) and the big glow at (x - 14, y - 12). So the glows are the dots'
# sizes plus 22 and 24 pixels, and each glow is centred on its dot.
SMALL_DOT, BIG_DOT = 10, 16
SMALL_GLOW, BIG_GLOW = SMALL_DOT + 22, BIG_DOT + 24


def bead(size, colour, core):
    S = size * 4
    yy, xx = np.mgrid[0:S, 0:S]
    c = (S - 1) / 2.0
    m = ((xx - c) ** 2 + (yy - c) ** 2) <= (S / 2.0 - 1) ** 2
    img = to_image(np.zeros((S, S, 3)), m).resize((size, size), Image.LANCZOS)
    mk = np.asarray(img.getchannel("A")) > 100
    col = np.full((size, size, 3), colour, float)
    col = shade(col, relief(mk, size / 3.0), 1.2)
    if core:
        inner = disc_mask(size, size, (size - 1) / 2.0, (size - 1) / 2.0, size * 0.22)
        col = np.where(inner[..., None], np.array(core, float), col)
    col = paint_ring(col, mk)
    return to_image(col, mk)


def glow(size, dot):
    """A warm halo, brightest over its dot and fading out to the edge."""
    yy, xx = np.mgrid[0:size, 0:size]
    c = (size - 1) / 2.0
    r = np.sqrt((xx - c) ** 2 + (yy - c) ** 2)
    a = np.clip(1 - r / (size / 2.0), 0, 1) ** 1.2
    col = blend(np.full((size, size, 3), (255, 196, 70), float), (255, 252, 232), np.clip(1 - r / (dot * 0.8), 0, 1))
    return to_image(col, np.clip(a * 1.6, 0, 1))


# ---- credits --------------------------------------------------------------------


CREDITS = [
    ("title", "TOVI MUDGROVE"),
    ("line", "and the four parts of the Ashcrystal"),
    ("gap", 60),
    ("head", "The Tovi Mudgrove team"),
    ("gap", 14),
    ("role", "Game design"), ("name", "The Tovi Mudgrove team"),
    ("role", "Programming"), ("name", "The Tovi Mudgrove team"),
    ("role", "Art"), ("name", "The Tovi Mudgrove team"),
    ("role", "Music and sound"), ("name", "The Tovi Mudgrove team"),
    ("role", "Levels"), ("name", "The Tovi Mudgrove team"),
    ("gap", 50),
    ("head", "Made with free software"),
    ("gap", 14),
    ("role", "SDL 1.2"), ("name", "GNU LGPL 2.1 or later"),
    ("role", "SDL_image and SDL_mixer"), ("name", "zlib licence"),
    ("role", "libogg, libvorbis and libtheora"), ("name", "BSD licence (3 clauses)"),
    ("role", "Averia Serif GWF, the game's letters"), ("name", "SIL Open Font License 1.1"),
    ("role", "FluidR3_GM soundfont"), ("name", "MIT licence"),
    ("role", "FluidSynth"), ("name", "GNU LGPL 2.1 or later"),
    ("role", "eSpeak NG, the voices"), ("name", "GNU GPL 3 or later"),
    ("role", "SoX and FFmpeg"), ("name", "GNU GPL 2 / LGPL 2.1 or later"),
    ("role", "Vorbis tools"), ("name", "GNU GPL 2 or later"),
    ("role", "Pillow"), ("name", "the PIL licence (HPND)"),
    ("role", "NumPy and SciPy"), ("name", "BSD licence (3 clauses)"),
    ("role", "CairoSVG"), ("name", "GNU LGPL 3 or later"),
    ("role", "Mido"), ("name", "MIT licence"),
    ("role", "GoogleTest and CMake"), ("name", "BSD licence (3 clauses)"),
    ("gap", 60),
    ("head", "Thank you for playing!"),
    ("gap", 40),
]


def credits_text():
    w = CREDITS_WINDOW[2]
    pieces = []
    for kind, value in CREDITS:
        if kind == "gap":
            pieces.append(value)
            continue
        if kind == "title":
            img = caption(value, 60, tracking=3)
        elif kind == "head":
            img = caption(value, 34)
        elif kind == "role":
            img = caption(value, 22, fill_top=(0xE8, 0xD6, 0xB0), fill_bottom=(0xC8, 0xA8, 0x78))
        elif kind == "name":
            img = caption(value, 26)
        else:
            img = caption(value, 26)
        pieces.append(img)
    height = sum(p if isinstance(p, int) else p.height + 6 for p in pieces)
    out = Image.new("RGBA", (w, height), (0, 0, 0, 0))
    y = 0
    for p in pieces:
        if isinstance(p, int):
            y += p
            continue
        out.alpha_composite(p, ((w - p.width) // 2, y))
        y += p.height + 6
    return out


def credits_back():
    """A night wall of the jackal god's temple, the text window cut into it."""
    w, h = 800, 600
    col = style.stone_texture(w, h, (0x3C, 0x3A, 0x48), 121)
    # Courses of basalt blocks.
    yy, xx = np.mgrid[0:h, 0:w]
    joints = ((yy % 50) < 2) | ((((xx + (yy // 50) * 60) % 120) < 2))
    col = np.where(joints[..., None], col * 0.6, col)
    x, y, ww, hh = CREDITS_WINDOW
    frame = rounded_mask(w, h, (x - 16, y - 16, x + ww + 16, y + hh + 16), 14)
    fcol = style.stone_texture(w, h, (0x6A, 0x62, 0x70), 122)
    fcol = shade(fcol, relief(frame, 7), 0.9)
    col = np.where(frame[..., None], fcol, col)
    col = paint_ring(col, frame)
    inlay = rounded_mask(w, h, (x - 6, y - 6, x + ww + 6, y + hh + 6), 8)
    col = np.where(inlay[..., None], shade(np.full_like(col, GOLD), relief(inlay, 2), 0.7), col)
    win = rounded_mask(w, h, (x, y, x + ww, y + hh), 4)
    wcol = style.stone_texture(w, h, (0x1B, 0x18, 0x2E), 123, grain=0.5)
    t = np.clip((yy - y) / float(hh), 0, 1)[..., None]
    wcol = wcol * (1.15 - 0.3 * np.abs(t - 0.5))
    wcol = blend(wcol, (0, 0, 0), 0.6 * cast_shadow(win, 6, 3))
    col = np.where(win[..., None], wcol, col)
    img = to_image(col)
    title(img, "CREDITS", 400, 34, 40)
    return img.convert("RGB")


# ---- help -----------------------------------------------------------------------

HELP_SLOTS = dict(zip(("tl", "tr", "bl", "br"), HELP_VIDEO_AT))
VIDEO = HELP_VIDEO_SIZE
PAGE_BUTTON = HELP_PAGE_SIZE
HELP_CAPTIONS = [
    ["Drag a treasure sideways:", "two equal ones that touch vanish"],
    ["Nothing under it?", "Then it falls"],
    ["Platforms carry what", "stands on them"],
    ["A whole stack rides", "a platform together"],
    ["Mud holds a treasure fast,", "yet it still matches"],
    ["A teleport sends it", "to the exit pad"],
    ["Spikes destroy treasures;", "a block jams the pit"],
    ["A crumbling block breaks", "once it has been used"],
    ["The button turns on the magnet,", "which lifts a treasure"],
    ["One treasure left without", "a partner: the level fails"],
    ["Clear every pair", "to finish the level"],
]
HELP_WELCOME = ["HOW TO PLAY", "Slide the treasures left and", "right with the mouse. Two",
                "equal ones that touch vanish", "and score. Clear them all!"]


# The scene each help video shows, drawn with the board's own art as a still in
# its slot until the video plays: 6 columns and 4.5 rows of cells (the top row is
# half hidden), in the legend of the level sources. Arrows mark the motion.
HELP_SCENES = [
    (["......", "......", "......", "..a.a.", "######"], [("right", 1.6, 3.5)]),
    (["....b.", "......", "......", ".b....", "######"], [("down", 4.5, 2.0)]),
    (["......", "......", ".c..c.", ".H....", "######"], [("right", 1.5, 1.55)]),
    (["......", "......", ".d....", ".e..e.", ".H..d.", "######"][1:], [("right", 2.5, 2.5)]),
    (["......", "......", "......", ".fM.f.", "######"], [("right", 1.4, 2.5)]),
    (["......", "......", "......", ".gT.O.", "######"], [("right", 1.6, 2.5)]),
    (["......", ".h..B.", "......", ".S..S.", "######"], [("down", 1.5, 2.5), ("down", 4.5, 2.5)]),
    (["......", "......", "..i...", "..C.i.", "######"], []),
    (["......", "..G...", "......", ".Pj.j.", "######"], [("up", 2.5, 2.55)]),
    (["......", "......", "......", ".k..l.", "######"], []),
    (["......", "......", "......", "......", "######"], []),
]
LEGEND = {"B": 121, "H": 122, "V": 123, "M": 124, "T": 125, "O": 126, "P": 127, "G": 128, "C": 129, "S": 130}


def help_scene(v):
    """The still of help video v (1..11), 240 x 180, from tile.png, blokel.png and spikes.png."""
    rows, arrows = HELP_SCENES[v - 1]
    w, h = VIDEO
    out = Image.new("RGBA", (w, h), (0, 0, 0, 255))
    try:
        tiles = Image.open(style.out_path("tile.png")).convert("RGBA")
        elems = Image.open(style.out_path("blokel.png")).convert("RGBA")
        spikes = Image.open(style.out_path("spikes.png")).convert("RGBA")
        back = Image.open(style.out_path("chapter1.png")).convert("RGBA")
    except OSError:
        return out
    out.paste(back.crop((300, 200, 300 + w, 200 + h)), (0, 0))
    top = h - 40 * len(rows)          # the top row is cut by the slot's edge

    def wall(r, c):
        return r < 0 or r >= len(rows) or c < 0 or c >= 6 or rows[r][c] == "#"

    for r, line in enumerate(rows):
        for c, ch in enumerate(line):
            x, y = 40 * c, top + 40 * r
            if ch == "#":
                m = (1 if wall(r - 1, c) else 0) + (2 if wall(r, c + 1) else 0) + \
                    (4 if wall(r + 1, c) else 0) + (8 if wall(r, c - 1) else 0)
                out.alpha_composite(tiles.crop((40 * m, 0, 40 * m + 40, 40)), (x, y))
            elif ch == "S":
                out.alpha_composite(spikes.crop((40 * 8, 0, 40 * 9, 40)), (x, y))
            elif ch in LEGEND or "a" <= ch <= "s":
                code = LEGEND.get(ch) or 101 + ord(ch) - ord("a")
                f = code - 101
                out.alpha_composite(elems.crop((40 * f, 0, 40 * f + 40, 40)), (x, y))
    for direction, cx, cy in arrows:
        a = Image.new("RGBA", (w, h), (0, 0, 0, 0))
        d = ImageDraw.Draw(a)
        d.polygon(arrow_points(direction, cx * 40, top + cy * 40, 22), fill=(255, 246, 214, 190),
                  outline=OUTLINE + (255,))
        out.alpha_composite(a)
    if v == 11:
        paste_centred(out, sun_emblem(90), w / 2, h / 2 - 20)
    # Dimmed, so the play button stands out; the video brings the full light.
    col, _ = style.from_image(out)
    return to_image(col * 0.72)


def book_page(page):
    w, h = 800, 600
    col = style.stone_texture(w, h, (0x4A, 0x30, 0x1E), 131 + page)
    yy, xx = np.mgrid[0:h, 0:w]
    book = rounded_mask(w, h, (14, 18, 786, 594), 16)
    cover = style.stone_texture(w, h, (0x7A, 0x2E, 0x1E), 141, grain=0.4)
    cover = shade(cover, relief(book, 6), 0.8)
    col = np.where(book[..., None], cover, col)
    col = paint_ring(col, book)
    for x0, x1 in ((28, 398), (402, 772)):
        pg = rounded_mask(w, h, (x0, 30, x1, 584), 10)
        pcol = style.papyrus_texture(w, h, PAPYRUS, 150 + page + x0)
        # The pages curve into the spine.
        near = np.clip(1 - np.abs(xx - 400) / 60.0, 0, 1) ** 2
        pcol = pcol * (1 - 0.35 * near)[..., None]
        col = np.where(pg[..., None], pcol, col)
        col = paint_ring(col, pg, (0x8A, 0x6A, 0x40))
    img = to_image(col)
    for key, (x, y) in HELP_SLOTS.items():
        if page == 1 and key == "tl":
            continue
        vw, vh = VIDEO
        img = sunk_box(img, (x - 10, y - 10, x + vw + 10, y + vh + 10), SANDSTONE, radius=8, depth=5)
        img = sunk_box(img, (x, y, x + vw, y + vh), (0x24, 0x18, 0x10), radius=2, depth=3)
        v = 4 * (page - 1) + ["tl", "tr", "bl", "br"].index(key)
        img.paste(help_scene(v), (x, y))
    order = ["tl", "tr", "bl", "br"]
    for j, key in enumerate(order):
        v = 4 * (page - 1) + j       # 0 is the welcome text on page 1
        x, y = HELP_SLOTS[key]
        if v == 0:
            paste_centred(img, caption(HELP_WELCOME[0], 34), x + VIDEO[0] / 2, y + 28)
            for k, line in enumerate(HELP_WELCOME[1:]):
                paste_centred(img, dark_text(line, 21), x + VIDEO[0] / 2, y + 80 + 28 * k)
            continue
        lines = HELP_CAPTIONS[v - 1]
        for k, line in enumerate(lines):
            paste_centred(img, dark_text(line, 18), x + VIDEO[0] / 2, y + VIDEO[1] + 24 + 21 * k)
    paste_centred(img, dark_text("page %d of 3" % page, 16), 587, 50)
    return img.convert("RGB")


def play_button(lit):
    size = 40
    S = size * 4
    yy, xx = np.mgrid[0:S, 0:S]
    c = (S - 1) / 2.0
    m = ((xx - c) ** 2 + (yy - c) ** 2) <= (S / 2.0 - 8) ** 2
    mk = np.asarray(to_image(np.zeros((S, S, 3)), m).resize((size, size), Image.LANCZOS).getchannel("A")) > 100
    col = style.stone_texture(size, size, SANDSTONE, 161)
    col = shade(col, relief(mk, 6), 0.9)
    if lit:
        col = style.warm_light(col, mk, 1.0)
    col = paint_ring(col, mk)
    img = to_image(col, mk)
    tri = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    arrow_symbol("right", shaft=False, scale=0.3)(tri, lit)
    img.alpha_composite(tri, (2, 0))
    return style.drop_shadow(img, (2, 2))


# ---- the whole family ---------------------------------------------------------

def save_hovers(buttons):
    for b in buttons:
        img = b.hover_image()
        b.check(img)
        save(img, b.hover)


def build():
    save(leveldone(), "leveldone.png")
    save(failed(), "failed.png")
    save(retry_dialog(), "dialog_retry.png")
    save(lost_dialog(), "dialog_lost.png")
    save_hovers(RETRY_BUTTONS)
    save_hovers([RETRY_UNDO])
    save(RETRY_UNDO.hover_image(False), "r_undo_off.png")
    for i in range(1, 6):
        save(menu_strip(i), "level0%d.png" % i)
    save(welcome_pl(), "welcome_pl.png")
    save(loading_screen(), "loading_screen.png")
    save(loading_tape(), "loading_screen_tape.png")
    save(player_dialog(), "playeredit.png")
    save_hovers(PLAYER_BUTTONS)
    save(page_button("up", False), "up_edit.png")
    save(page_button("up", True), "up_edit_hover.png")
    save(page_button("down", False), "down_edit.png")
    save(page_button("down", True), "down_edit_hover.png")
    save(selc(), "selc.png")
    save(game_dialog(), "new_game.png")
    save_hovers(GAME_BUTTONS)
    save_hovers([LEVELS_BUTTON])
    save(LEVELS_BUTTON.hover_image(False), "levels_rest.png")
    save(level_list_panel(), "levellist.png")
    save_hovers([LEVEL_LIST_CLOSE_BUTTON])
    for state in ("open", "lit", "locked"):
        save(level_cell(state), "level_cell_%s.png" % state)
    save(page_button("left", False), "left_edit.png")
    save(page_button("left", True), "left_edit_hover.png")
    save(page_button("right", False), "right_edit.png")
    save(page_button("right", True), "right_edit_hover.png")
    save(confirm_dialog(), "dialog_new_areusure.png")
    save(options_panel(), "options.png")
    save_hovers([OPTIONS_OK_BUTTON])
    save_hovers(WINDOW_SIZES)
    for k, b in enumerate(WINDOW_SIZES[1:], 2):  # 1x always fits
        save(dimmed(b), "window%d_off.png" % k)
    save(knob(), "slid.png")
    save(check_mark(), "check.png")
    save(hiscore_screen(), "hiscore_screen.png")
    save(bead(SMALL_DOT, TERRACOTTA, None), "map_smalldot.png")
    save(bead(BIG_DOT, GOLD, TERRACOTTA), "map_bigdot.png")
    save(glow(SMALL_GLOW, SMALL_DOT), "map_small_glow.png")
    save(glow(BIG_GLOW, BIG_DOT), "map_big_glow.png")
    save(credits_back(), "credits_back.png")
    save(credits_text(), "credits_text.png")
    for page in (1, 2, 3):
        save(book_page(page), "help_screen%d.png" % page)
    save(play_button(False), "helpplaybutton_hoveroff.png")
    save(play_button(True), "helpplaybutton_hoveron.png")
    for side, direction, label in (("left", "left", None), ("right", "right", None), ("back", "left", "MENU")):
        for lit, state in ((False, "hoveroff"), (True, "hoveron")):
            save(corner_button(label, direction, lit, PAGE_BUTTON, seed=170), "helpbutton_%s_%s.png" % (state, side))
    save(corner_button("GO ON", "right", False), "intro_forward_hoveroff.png")
    save(corner_button("GO ON", "right", True), "intro_forward_hoveron.png")
    save(corner_button("MENU", "left", False), "backtomenu_hoveroff.png")
    save(corner_button("MENU", "left", True), "backtomenu_hoveron.png")
