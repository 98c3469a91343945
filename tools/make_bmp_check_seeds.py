#!/usr/bin/env python3
"""Writes the seed files of the BMP header check into fuzz/corpus/bmp_check/.

ok-*.bmp are ImageMagick's own BMPs of every kind (and a few derived from
them: top-down rows, 16-bit pixels without bit fields); the check must take
every one. bad-*.bmp are damaged copies it must refuse. The native tests
replay the whole folder, and the fuzzer starts from it.

    tools/make_bmp_check_seeds.py      (needs ImageMagick's convert)
"""
import os
import struct
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUT = os.path.join(ROOT, "fuzz", "corpus", "bmp_check")
CONVERT = "/usr/bin/convert" if os.path.exists("/usr/bin/convert") else "convert"

PLASMA = ["-size", "20x15", "plasma:fractal", "-seed", "3"]
GRADIENT = ["-size", "7x5", "gradient:red-blue"]
CHECKER = ["-size", "9x5", "pattern:checkerboard", "-monochrome", "-type", "bilevel"]
ALPHA = ["-alpha", "set", "-channel", "A", "-evaluate", "set", "50%", "+channel"]

MAGICK = {
    "ok-1.bmp": CHECKER + ["BMP3:"],
    "ok-4.bmp": PLASMA + ["-colors", "12", "-type", "palette", "BMP3:"],
    "ok-8.bmp": PLASMA + ["-colors", "100", "-type", "palette", "-compress", "none", "BMP3:"],
    "ok-rle8.bmp": PLASMA + ["-colors", "100", "-type", "palette", "-compress", "RLE", "BMP3:"],
    "ok-rle8-v5.bmp": PLASMA + ["-colors", "40", "-type", "palette", "-compress", "RLE", "BMP:"],
    "ok-16-fields565.bmp": GRADIENT + ["-define", "bmp:subtype=RGB565", "BMP:"],
    "ok-16-fields555.bmp": GRADIENT + ["-define", "bmp:subtype=RGB555", "BMP:"],
    "ok-24.bmp": GRADIENT + ["-type", "truecolor", "BMP3:"],
    "ok-24-v5.bmp": GRADIENT + ["-type", "truecolor", "BMP:"],
    "ok-32.bmp": GRADIENT + ALPHA + ["-define", "bmp3:alpha=true", "BMP3:"],
    "ok-32-fields.bmp": GRADIENT + ALPHA + ["BMP:"],
    "ok-os2-1.bmp": CHECKER + ["BMP2:"],
    "ok-os2-4.bmp": PLASMA + ["-colors", "12", "-type", "palette", "BMP2:"],
    "ok-os2-8.bmp": PLASMA + ["-colors", "100", "-type", "palette", "BMP2:"],
    "ok-os2-24.bmp": GRADIENT + ["-type", "truecolor", "BMP2:"],
}


def magick(args, name):
    path = os.path.join(OUT, name)
    *source, fmt = args
    subprocess.run([CONVERT] + source + [fmt + path], check=True)
    with open(path, "rb") as f:
        return bytearray(f.read())


def put32(data, at, value):
    struct.pack_into("<I", data, at, value & 0xFFFFFFFF)


def top_down(data):
    """The same picture with its rows stored top first (negative height)."""
    offset, _, width, height, _, bits = struct.unpack_from("<IIiiHH", data, 10)
    stride = (width * bits + 31) // 32 * 4
    rows = [data[offset + r * stride: offset + (r + 1) * stride] for r in range(height)]
    out = data[:offset] + b"".join(reversed(rows))
    put32(out, 22, -height)
    return out


def sixteen_rgb(data):
    """A 24-bit file's pixels as 5-5-5 words without bit fields."""
    offset, _, width, height = struct.unpack_from("<IIii", data, 10)
    stride24 = (width * 3 + 3) & ~3
    stride16 = (width * 2 + 3) & ~3
    pixels = bytearray()
    for r in range(height):
        row = bytearray()
        for x in range(width):
            b, g, red = data[offset + r * stride24 + 3 * x: offset + r * stride24 + 3 * x + 3]
            row += struct.pack("<H", ((red >> 3) << 10) | ((g >> 3) << 5) | (b >> 3))
        pixels += row + b"\0" * (stride16 - len(row))
    out = data[:54] + pixels
    put32(out, 2, len(out))
    struct.pack_into("<H", out, 28, 16)
    put32(out, 34, len(pixels))
    return out


def main():
    os.makedirs(OUT, exist_ok=True)
    for old in os.listdir(OUT):
        os.remove(os.path.join(OUT, old))
    files = {name: magick(args, name) for name, args in MAGICK.items()}
    derived = {
        "ok-24-topdown.bmp": top_down(files["ok-24.bmp"]),
        "ok-8-topdown.bmp": top_down(files["ok-8.bmp"]),
        "ok-16.bmp": sixteen_rgb(files["ok-24.bmp"]),
    }
    b24, os2 = files["ok-24.bmp"], files["ok-os2-24.bmp"]
    bad = {
        "bad-offset-7fffffff.bmp": (b24, lambda d: put32(d, 10, 0x7FFFFFFF)),
        "bad-offset-80000000.bmp": (files["ok-rle8.bmp"], lambda d: put32(d, 10, 0x80000000)),
        "bad-offset-1.bmp": (files["ok-1.bmp"], lambda d: put32(d, 10, 1)),
        "bad-offset-in-info.bmp": (os2, lambda d: put32(d, 10, 14 + 11)),
        "bad-height-x64.bmp": (b24, lambda d: put32(d, 22, 64 * 5)),
        "bad-4096-square.bmp": (files["ok-32.bmp"], lambda d: (put32(d, 18, 4096), put32(d, 22, 4096))),
        "bad-info-says-core.bmp": (b24, lambda d: put32(d, 14, 12)),
        "bad-os2-bits-ffff.bmp": (os2, lambda d: struct.pack_into("<H", d, 24, 0xFFFF)),
        "bad-palette-huge.bmp": (files["ok-8.bmp"], lambda d: put32(d, 46, 0x7FFFFFFF)),
    }
    for name, (source, damage) in bad.items():
        copy = bytearray(source)
        damage(copy)
        derived[name] = copy
    derived["bad-os2-cut-22.bmp"] = os2[:22]
    for name, data in derived.items():
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
    print(f"{len(files) + len(derived)} seeds in {os.path.relpath(OUT, ROOT)}")


if __name__ == "__main__":
    sys.exit(main())
