"""Lit, shaded sprites from height fields, shared by the art scripts.

A sprite is painted at SS times its size: a coverage mask, a height field (in
sprite pixels) and an albedo. light() turns the height field into normals and
lights them from the top left, as every image of the game is lit; finish()
shrinks the result to sprite size and adds the house outline and drop shadow.
"""

import numpy as np
from PIL import Image, ImageDraw, ImageFilter
from scipy import ndimage

from style import OUTLINE, drop_shadow, outline

SS = 4  # supersampling factor

# Light from the top left and a little in front; the viewer looks straight on.
_L = np.array([-1.0, -1.0, 1.25])
LIGHT = _L / np.linalg.norm(_L)
_H = LIGHT + np.array([0.0, 0.0, 1.0])
HALF = _H / np.linalg.norm(_H)


def layer(size):
    """A blank coverage layer of size (w, h) sprite pixels, painted at SS."""
    return Image.new("L", (size[0] * SS, size[1] * SS), 0)


def pen(img):
    """An ImageDraw whose coordinates are in sprite pixels."""
    d = ImageDraw.Draw(img)
    return _ScaledDraw(d)


class _ScaledDraw:
    def __init__(self, d):
        self.d = d

    @staticmethod
    def _s(xy):
        return [v * SS for v in xy]

    def ellipse(self, box, fill=255):
        self.d.ellipse(self._s(box), fill=fill)

    def rect(self, box, fill=255):
        self.d.rectangle(self._s(box), fill=fill)

    def rrect(self, box, r, fill=255):
        self.d.rounded_rectangle(self._s(box), radius=r * SS, fill=fill)

    def poly(self, pts, fill=255):
        self.d.polygon([(x * SS, y * SS) for x, y in pts], fill=fill)

    def line(self, pts, width, fill=255):
        self.d.line([(x * SS, y * SS) for x, y in pts], fill=fill, width=max(1, int(width * SS)), joint="curve")
        for x, y in (pts[0], pts[-1]):
            r = width * SS / 2
            self.d.ellipse([x * SS - r, y * SS - r, x * SS + r, y * SS + r], fill=fill)

    def arc(self, box, start, end, width, fill=255):
        self.d.arc(self._s(box), start, end, fill=fill, width=max(1, int(width * SS)))

    def pie(self, box, start, end, fill=255):
        self.d.pieslice(self._s(box), start, end, fill=fill)


def arr(img):
    """A layer as floats 0..1."""
    return np.asarray(img, dtype=np.float64) / 255.0


def dome(mask, radius, flat=0.0):
    """Height rising from the mask's edge over radius pixels (a rounded bevel).
    flat > 0 keeps a flat top that high; 0 lets the dome keep rising."""
    inside = mask > 0.5
    d = ndimage.distance_transform_edt(inside) / SS
    t = np.clip(d / radius, 0.0, 1.0)
    h = radius * np.sqrt(1.0 - (1.0 - t) ** 2)
    if flat <= 0:
        h = h + np.maximum(d - radius, 0.0) * 0.35
    return ndimage.gaussian_filter(h * inside, SS * 0.5)


def ball(mask, height):
    """A rounded, pillow-like height over the whole mask."""
    inside = mask > 0.5
    d = ndimage.distance_transform_edt(inside) / SS
    m = max(d.max(), 1e-6)
    h = height * np.sqrt(np.clip(d / m, 0, 1) * (2 - np.clip(d / m, 0, 1)))
    return ndimage.gaussian_filter(h, SS * 0.5)


def periodic_noise(n, beta, seed, shape=None):
    """Smooth noise 0..1 that tiles seamlessly; beta sets how coarse it is."""
    shape = shape or (n, n)
    rng = np.random.default_rng(seed)
    white = rng.standard_normal(shape)
    fy = np.fft.fftfreq(shape[0])[:, None]
    fx = np.fft.fftfreq(shape[1])[None, :]
    f = np.sqrt(fx * fx + fy * fy)
    f[0, 0] = 1.0
    spectrum = np.fft.fft2(white) / f ** beta
    spectrum[0, 0] = 0
    out = np.real(np.fft.ifft2(spectrum))
    out -= out.min()
    return out / max(out.max(), 1e-9)


def light(h, albedo, ambient=0.42, diffuse=0.78, gloss=0.0, shine=24.0, relief=1.0):
    """Lights a height field: returns RGB floats 0..1 (h x w x 3)."""
    gy, gx = np.gradient(h * relief * SS)
    n = np.dstack([-gx, -gy, np.ones_like(h)])
    n /= np.linalg.norm(n, axis=2, keepdims=True)
    ndl = np.clip(n @ LIGHT, 0.0, 1.0)
    ndh = np.clip(n @ HALF, 0.0, 1.0)
    rgb = albedo * (ambient + diffuse * ndl)[..., None]
    if np.ndim(gloss) == 0:
        gloss = np.full(h.shape, float(gloss))
    rgb += (gloss * ndh ** shine)[..., None]
    return np.clip(rgb, 0.0, 1.0)


def fill(shape, color):
    """An albedo of one colour (RGB 0..255)."""
    a = np.empty(shape + (3,))
    a[:] = np.array(color) / 255.0
    return a


def paint(albedo, mask, color, amount=1.0):
    """Paints color over albedo where mask is set (in place) and returns it."""
    m = (mask * amount)[..., None]
    albedo[:] = albedo * (1 - m) + (np.array(color) / 255.0) * m
    return albedo


def to_image(rgb, mask):
    """RGB floats and a coverage mask at SS size to an RGBA image at SS size."""
    a = np.dstack([rgb, mask[..., None]])
    return Image.fromarray((np.clip(a, 0, 1) * 255 + 0.5).astype(np.uint8), "RGBA")


def shrink(img, size=None):
    """Down to sprite size, averaging with the alpha premultiplied."""
    w, h = img.size
    size = size or (w // SS, h // SS)
    a = np.asarray(img, dtype=np.float64) / 255.0
    rgb = a[..., :3] * a[..., 3:4]
    pre = np.dstack([rgb, a[..., 3:4]])
    # Box-filter each channel separately in float, then un-premultiply.
    chans = []
    for c in range(4):
        ch = Image.fromarray(pre[..., c].astype(np.float32), "F")
        chans.append(np.asarray(ch.resize(size, Image.BOX), dtype=np.float64))
    rgbp = np.dstack(chans[:3])
    al = chans[3]
    rgb = np.where(al[..., None] > 1e-6, rgbp / np.maximum(al[..., None], 1e-6), 0)
    out = np.dstack([rgb, al[..., None]])
    return Image.fromarray((np.clip(out, 0, 1) * 255 + 0.5).astype(np.uint8), "RGBA")


def finish(rgb, mask, shadow=True, line=True):
    """A sprite at sprite size from its SS-size light and mask."""
    img = shrink(to_image(rgb, mask))
    if line:
        img = outline(img, OUTLINE)
    if shadow:
        img = drop_shadow(img)
    return img


def glow(size, center, radius, color, strength=1.0):
    """A soft round glow as an RGBA image (sprite size)."""
    w, h = size
    yy, xx = np.mgrid[0:h, 0:w]
    d = np.hypot(xx - center[0], yy - center[1]) / radius
    a = np.clip(1 - d, 0, 1) ** 2 * strength
    out = np.zeros((h, w, 4))
    out[..., :3] = np.array(color) / 255.0
    out[..., 3] = np.clip(a, 0, 1)
    return Image.fromarray((out * 255 + 0.5).astype(np.uint8), "RGBA")


def blur(img, r):
    return img.filter(ImageFilter.GaussianBlur(r))
