#!/usr/bin/env python3
"""Draws the demo's two bitmaps: bmp/back.bmp (640 x 480 background) and
bmp/block.bmp (30 x 30 block tiles side by side).

Both are drawn with the black colour key in mind: pure black (and anything
that a 5-6-5 display would round to black) appears only where a pixel is
meant to be transparent, that is only in the rounded corners of the blocks.
"""
import math
import os
import random
import struct
import sys


def write_bmp(path, width, height, pixel):
    """24-bit bottom-up BMP; pixel(x, y) gives (r, g, b)."""
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 54 + len(data), 0, 0, 54)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def clamp(v):
    return max(0, min(255, int(v)))


def visible(c):
    # Keep at least one channel bright enough that 5-6-5 does not round it to black.
    r, g, b = c
    if max(r, g, b) < 16:
        b = 16
    return (clamp(r), clamp(g), clamp(b))


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


def background():
    rng = random.Random(7)
    stars = {(rng.randrange(640), rng.randrange(300)): rng.random() for _ in range(220)}
    top, middle, low = (18, 20, 64), (92, 52, 120), (236, 132, 84)

    def ridge(x, base, amp, f1, f2, phase):
        return base + amp * (0.6 * math.sin(x * f1 + phase) + 0.4 * math.sin(x * f2 + 2 * phase))

    def pixel(x, y):
        t = y / 479.0
        sky = mix(top, middle, t / 0.55) if t < 0.55 else mix(middle, low, (t - 0.55) / 0.45)
        # A low sun glow on the right.
        d = math.hypot(x - 470, y - 330) / 260.0
        if d < 1.0:
            sky = mix(sky, (255, 214, 150), (1.0 - d) ** 2 * 0.6)
        s = stars.get((x, y))
        if s is not None and y < 300:
            sky = mix(sky, (255, 255, 240), 0.4 + 0.6 * s)
        if y > ridge(x, 330, 28, 0.011, 0.029, 0.5):
            sky = mix((70, 40, 96), sky, 0.25)
        if y > ridge(x, 380, 22, 0.017, 0.041, 1.7):
            sky = (44, 28, 70)
        if y > ridge(x, 425, 14, 0.023, 0.067, 2.9):
            sky = (26, 22, 48)
        # A faint grid over the ground gives the falling blocks a scale.
        if y > 440 and (x % 30 == 0 or (y - 440) % 10 == 0):
            sky = mix(sky, (120, 90, 160), 0.35)
        return visible(sky)

    return pixel


def blocks(count):
    colours = [(64, 132, 236), (72, 200, 112), (240, 176, 48), (220, 72, 96)]

    def pixel(x, y):
        tile, u = divmod(x, 30)
        v = y
        base = colours[tile % len(colours)]
        # Rounded corners stay black: the colour key makes them transparent.
        corner = min(u, 29 - u) + min(v, 29 - v)
        if corner < 2:
            return (0, 0, 0)
        edge = min(u, v, 29 - u, 29 - v)
        if edge < 3:
            lit = (u + v) < 29
            c = mix(base, (255, 255, 255), 0.45) if lit else mix(base, (0, 0, 0), 0.45)
        else:
            # A soft diagonal sheen across the face.
            t = (u + v - 6) / 46.0
            c = mix(mix(base, (255, 255, 255), 0.25), mix(base, (0, 0, 0), 0.2), t)
            if 7 <= u <= 10 and 7 <= v <= 10:
                c = mix(c, (255, 255, 255), 0.5)
        return visible(c)

    return pixel


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "bmp")
    os.makedirs(out, exist_ok=True)
    write_bmp(os.path.join(out, "back.bmp"), 640, 480, background())
    write_bmp(os.path.join(out, "block.bmp"), 120, 30, blocks(4))


if __name__ == "__main__":
    main()
