#!/usr/bin/python3
"""The splash: the dig site at noon, the camera easing in while the hero walks
into the picture and the game's title rises in gold. Writes 800 x 600 raw RGB
frames (25 a second of the splash's time) to the standard output, for
tools/gen/gen_videos.sh to encode. Made only from the game's own art."""
import os
import sys

from PIL import Image, ImageDraw, ImageFilter, ImageFont

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, ".."))
from art import style  # noqa: E402

W, H = 800, 600
FRAMES = 100          # 4 s at 40 ms a frame
TITLE = "Tovi Mudgrove"


def ease(t):
    t = max(0.0, min(1.0, t))
    return t * t * (3 - 2 * t)


def title_layer():
    font = ImageFont.truetype(style.FONT_BOLD, 84)
    layer = Image.new("RGBA", (W, 160), (0, 0, 0, 0))
    draw = ImageDraw.Draw(layer)
    box = draw.textbbox((0, 0), TITLE, font=font)
    x = (W - (box[2] - box[0])) // 2 - box[0]
    y = (160 - (box[3] - box[1])) // 2 - box[1]
    shadow = Image.new("RGBA", layer.size, (0, 0, 0, 0))
    ImageDraw.Draw(shadow).text((x + 4, y + 5), TITLE, font=font, fill=style.SHADOW + (170,))
    shadow = shadow.filter(ImageFilter.GaussianBlur(3))
    layer = Image.alpha_composite(layer, shadow)
    draw = ImageDraw.Draw(layer)
    draw.text((x, y), TITLE, font=font, fill=style.GOLD + (255,),
              stroke_width=3, stroke_fill=style.OUTLINE + (255,))
    return layer


def main():
    scene = Image.open(os.path.join(style.IMAGES, "chapter0.png")).convert("RGB")
    scene = scene.crop((0, 0, 720, 540))  # the desert without the player's plaque
    hero = Image.open(os.path.join(style.IMAGES, "tovi_anim1.png")).convert("RGBA")
    title = title_layer()
    out = sys.stdout.buffer
    for f in range(FRAMES):
        t = f / (FRAMES - 1)
        # The camera eases in a little towards the ruin.
        z = 1.0 + 0.08 * ease(t)
        cw, ch = 720 / z, 540 / z
        cx, cy = 0.58 * (720 - cw), 0.5 * (540 - ch)
        frame = scene.resize((W, H), Image.BICUBIC, box=(cx, cy, cx + cw, cy + ch)).convert("RGBA")
        # Tovi walks in from the right and stops by the pit.
        walk = ease((t - 0.05) / 0.55)
        hx = int(W + 20 - (W + 20 - 470) * walk)
        frame.alpha_composite(hero, (hx, 170))
        # The title rises and brightens once he has arrived.
        rise = ease((t - 0.45) / 0.4)
        if rise > 0:
            t_layer = title.copy()
            t_layer.putalpha(t_layer.getchannel("A").point(lambda a: int(a * rise)))
            frame.alpha_composite(t_layer, (0, int(70 - 30 * rise)))
        # Out of black at the start; the loading screen fades over the end.
        light = ease(t / 0.2)
        rgb = frame.convert("RGB")
        if light < 1:
            rgb = Image.blend(Image.new("RGB", (W, H)), rgb, light)
        out.write(rgb.tobytes())


if __name__ == "__main__":
    main()
