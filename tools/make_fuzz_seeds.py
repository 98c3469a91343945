#!/usr/bin/env python3
"""Writes the seed files of the image pack, sound pack, stream, data file and
sprite text fuzz targets into fuzz/corpus/<target>/: small valid inputs and
broken ones (cut, oversized, lying). Each file is laid out as its target
reads it (fuzz/<target>_fuzz.cpp: settings first, then the data). The
native tests replay every file; the fuzzers start from them.

    tools/make_fuzz_seeds.py
"""
import os
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CORPUS = os.path.join(ROOT, "fuzz", "corpus")


def write(target, name, data):
    folder = os.path.join(CORPUS, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(bytes(data))


# ---- image packs: name length, name, capacity, 4 settings, pack ----

def image_entry(width, height, name, pixels=None):
    if pixels is None:
        pixels = [(i * 0x1234) & 0x7FFF for i in range(width * height)]
    return struct.pack("<HH", width, height) + name + b"\0" + b"".join(struct.pack("<H", p) for p in pixels)


def image_seed(key, pack, capacity=127, settings=(10, 5, 0, 0)):
    return bytes([len(key)]) + key + bytes([capacity - 1]) + bytes(settings) + pack


def image_seeds():
    two = image_entry(3, 2, b"A") + image_entry(4, 3, b"HERO")
    seeds = {
        "ok-first.bin": image_seed(b"A", two),
        "ok-second.bin": image_seed(b"hero", two, settings=(11, 5, 0, 3)),
        "ok-sjis-name.bin": image_seed(b"\x83\x65a", image_entry(2, 2, b"\x83\x65A")),
        "ok-empty-entry.bin": image_seed(b"E", image_entry(0, 5, b"E") + image_entry(7, 0, b"Z")),
        "bad-missing.bin": image_seed(b"NONE", two),
        "bad-cut-pixels.bin": image_seed(b"HERO", two[:-5]),
        "bad-cut-header.bin": image_seed(b"A", two[:3]),
        "bad-name-unended.bin": image_seed(b"A", struct.pack("<HH", 1, 1) + b"N" * 200),
        "bad-huge-entry.bin": image_seed(b"B", struct.pack("<HH", 0xFFFF, 0xFFFF) + b"A\0" + b"\1\2" * 8
                                         + image_entry(1, 1, b"B")),
        "bad-huge-found.bin": image_seed(b"W", struct.pack("<HH", 0xFFFF, 0xFFFF) + b"W\0" + b"\1\2\3"),
        "bad-name-too-long.bin": image_seed(b"L" * 39, two, capacity=20),
        "bad-odd-tail.bin": image_seed(b"A", image_entry(5, 5, b"A")[:-3], settings=(0, 0, 0, 1)),
    }
    for name, data in seeds.items():
        write("image_pack", name, data)


# ---- sound packs: key length, key, pack ----

def pcm_format(channels=1, rate=8000, bits=8, extra=b""):
    align = channels * bits // 8
    return struct.pack("<HHIIHHH", 1, channels, rate, rate * align, align, bits, len(extra)) + extra


def sound_entry(name, fmt, samples, data_size=None, format_size=None):
    ds = len(samples) if data_size is None else data_size
    fs = len(fmt) if format_size is None else format_size
    return struct.pack("<I", ds) + name + b"\0" + struct.pack("<I", fs) + fmt + samples


def sound_seed(key, pack):
    return bytes([len(key)]) + key + pack


def sound_seeds():
    tone = bytes((128 + (i * 37) % 64) for i in range(40))
    two = sound_entry(b"BEEP.WAV", pcm_format(), tone) + sound_entry(b"SE\\HIT.WAV", pcm_format(2, 11025, 16), tone)
    seeds = {
        "ok-first.bin": sound_seed(b"BEEP.WAV", two),
        "ok-second.bin": sound_seed(b"SE\\HIT.WAV", two),
        "ok-extra-bytes.bin": sound_seed(b"X", sound_entry(b"X", pcm_format(extra=b"\1\2\3\4"), tone)),
        "ok-sjis.bin": sound_seed(b"\x83\x5c.WAV", sound_entry(b"\x83\x5c.WAV", pcm_format(), tone)),
        "bad-missing.bin": sound_seed(b"NONE", two),
        "bad-cut-head.bin": sound_seed(b"BEEP.WAV", two[:6]),
        "bad-cut-samples.bin": sound_seed(b"HIT", two[:-1]),
        "bad-size-7fffffff.bin": sound_seed(b"BEEP.WAV", sound_entry(b"BEEP.WAV", pcm_format(), tone, 0x7FFFFFFF)),
        "bad-size-ffffffff.bin": sound_seed(b"BEEP.WAV", sound_entry(b"BEEP.WAV", pcm_format(), tone, 0xFFFFFFFF)),
        "bad-format-ffffffff.bin": sound_seed(b"B", sound_entry(b"B", pcm_format(), tone, None, 0xFFFFFFFF)),
        "bad-format-short.bin": sound_seed(b"B", sound_entry(b"B", pcm_format()[:16], tone)),
        "bad-cbsize-lies.bin": sound_seed(b"B", sound_entry(b"B", pcm_format(extra=b"\1\2")[:-2] + b"\0\0", tone)),
        "bad-rate-zero.bin": sound_seed(b"B", sound_entry(b"B", struct.pack("<HHIIHHH", 1, 1, 8000, 0, 1, 8, 0), tone)),
        "bad-align-zero.bin": sound_seed(b"B", sound_entry(b"B", struct.pack("<HHIIHHH", 1, 1, 8000, 8000, 0, 8, 0), tone)),
        "bad-name-unended.bin": sound_seed(b"B", struct.pack("<I", 4) + b"N" * 300),
        "bad-lead-at-end.bin": sound_seed(b"\x83", b"\x83"),
    }
    for name, data in seeds.items():
        write("sound_pack", name, data)


# ---- streams: entry, then refills ----

def stream_seed(start, size, rate, align, bits, loop, ops, sign=0, tail=0):
    head = struct.pack("<IIIHHBIH", start, size, rate, align, bits, sign, loop, tail)
    return head + bytes(ops)


# An op's low bits choose the cursor (0 any, 1 forward, 2 on the chunk, 3 as
# it was), bits 2-4 a fault (1 no pack, 2 cannot seek, 3 write fails, 4 short
# read, 5 rewind instead), bit 7 looping.
ANY, FORWARD, ON_CHUNK, SAME = 0, 1, 2, 3
NO_PACK, NO_SEEK, NO_WRITE, SHORT, REWIND = 1 << 2, 2 << 2, 3 << 2, 4 << 2, 5 << 2
LOOP = 0x80


def cursor(op, value=None):
    if op & 3 == ANY or op & 3 == FORWARD:
        return [op] + list(struct.pack("<I", value or 0))
    if op >> 2 & 7 == 4:
        return [op] + list(struct.pack("<H", value or 0))
    return [op]


def stream_seeds():
    play_through = []
    for k in range(24):
        play_through += cursor(FORWARD, 3000 + 997 * k)
    looping = []
    for k in range(24):
        looping += cursor(FORWARD | LOOP, 3000 + 997 * k)
    faults = (cursor(ON_CHUNK) + cursor(ON_CHUNK | NO_PACK) + cursor(ON_CHUNK | NO_SEEK) +
              cursor(ON_CHUNK | NO_WRITE) + cursor(ON_CHUNK | SHORT, 999) + cursor(ON_CHUNK) +
              cursor(SAME | REWIND) + cursor(ON_CHUNK | SHORT, 0xFFFF) + cursor(ON_CHUNK | NO_WRITE))
    seeds = {
        "ok-eight-bit.bin": stream_seed(100, 8000 * 6, 8000, 1, 8, 0, play_through),
        "ok-looping.bin": stream_seed(58, 4 * 11025 * 7, 4 * 11025, 4, 16, 4 * 1000 + 3, looping),
        "ok-short-file.bin": stream_seed(0, 5 * 1000 + 17, 1000, 2, 16, 0, play_through, tail=0),
        "ok-to-the-end.bin": stream_seed(7, 5 * 800 + 1, 800, 1, 8, 0, cursor(ON_CHUNK) * 12),
        "ok-loop-to-the-end.bin": stream_seed(7, 5 * 800 + 1, 800, 1, 8, 799, cursor(ON_CHUNK | LOOP) * 12),
        "ok-rewind.bin": stream_seed(44, 20000, 4000, 2, 16, 6001,
                                     cursor(ON_CHUNK) + cursor(SAME | REWIND) + cursor(ON_CHUNK) + cursor(ANY, 0xFFFFFFFF)),
        "bad-faults.bin": stream_seed(0, 60000, 10000, 1, 8, 0, faults),
        "bad-faults-at-the-end.bin": stream_seed(3, 5 * 900, 900, 1, 8, 0, cursor(ON_CHUNK) * 3 + faults),
        "bad-huge-sizes.bin": stream_seed(0x7FFFFFFF - 0x7FFFFF00, 0x7FFFFF00, 0x19999980, 0xFFFF, 0xFFFF, 0xFFFFFFFF,
                                          cursor(ANY, 0xFFFFFFFF), sign=0xE0),
        "bad-loop-negative.bin": stream_seed(10, 50000, 10000, 3, 8, 5, looping, sign=1),
        "bad-loop-past-end.bin": stream_seed(10, 50000, 10000, 3, 8, 0x7FFFFFFF, looping, sign=0xE0),
        "bad-cursors.bin": stream_seed(1, 40000, 8000, 2, 16, 0,
                                       sum((cursor(ANY, v) for v in (0, 1, 0xFFFFFFFF, 0x7FFFFFFF, 16000, 31999, 32000)), [])),
        "bad-too-short.bin": stream_seed(0, 4 * 8000, 8000, 1, 8, 0, play_through),
    }
    for name, data in seeds.items():
        write("stream", name, data)


# ---- data files: the file as it is ----

def data_file_seeds():
    seeds = {
        "ok-folder.txt": b"D:\\Data\\\n",
        "ok-two-backslashes.txt": b"D:\\Data\\\\\nmore\n",
        "ok-number.txt": b"1",
        "ok-negative.txt": b"  -42\n",
        "ok-255.txt": b"f" * 255 + b"\n",
        "bad-256.txt": b"f" * 256,
        "bad-zero-inside.txt": b"D:\\Da\0ta\n",
        "bad-overflow.txt": b"99999999999999999999",
        "bad-int-min-1.txt": b"-2147483649",
        "bad-sign-only.txt": b"-",
        "bad-empty.txt": b"",
        "bad-spaces.txt": b" \t\r\n\v\f" * 50,
    }
    for name, data in seeds.items():
        write("data_file", name, data)


# ---- sprite text: box, flags, font, glyph sizes, text ----

def text_seed(text, smooth, flags=0, right=400, bottom=300, font=16, buffer=640, widths=17, heights=16, x=10, y=10):
    head = struct.pack("<hhHHHBHBBB", x, y, right, bottom, flags, font, buffer - 1, widths, heights, smooth)
    return head + text


def sprite_text_seeds():
    jp = "今日は、いい天気です。".encode("cp932")
    long_line = ("あいうえおかきくけこ".encode("cp932") + b"abc ") * 200
    seeds = {
        "ok-plain.bin": text_seed(b"Hello, world\nsecond line", 0),
        "ok-smooth.bin": text_seed(jp + b"\n" + jp, 1, flags=0x0300),
        "ok-hanging.bin": text_seed(jp * 3, 0, right=120),
        "ok-bold-shadow.bin": text_seed(jp, 1, flags=0xFFFF),
        "bad-lead-at-end.bin": text_seed(b"abc\x83", 0),
        "bad-lead-at-end-smooth.bin": text_seed(b"abc\x83", 1),
        "bad-lone-trail.bin": text_seed(b"\x40\x7e\xa1\xfc\x80\xff\x81", 1),
        "bad-zero-inside.bin": text_seed(b"ab\0cd", 0),
        "bad-long-line.bin": text_seed(long_line, 0, right=300, bottom=30000),
        "bad-long-line-smooth.bin": text_seed(long_line, 1, right=300, bottom=30000, buffer=200),
        "bad-too-many-cells.bin": text_seed(b"x" * 4000, 0, right=2000, bottom=30000, widths=1),
        "bad-wider-than-box.bin": text_seed(jp, 1, right=2, widths=63, buffer=3),
        "bad-zero-width.bin": text_seed(b"\n\n" + jp, 0, widths=0, heights=0, font=0),
    }
    for name, data in seeds.items():
        write("sprite_text", name, data)


# ---- picture headers: kind (0 PNG, 1 JPEG, 2 GIF), then the file ----

def png(width, height, chunk_length=13):
    import zlib
    ihdr = struct.pack(">II", width, height) + bytes([8, 6, 0, 0, 0])
    def chunk(kind, body, length=None):
        return struct.pack(">I", len(body) if length is None else length) + kind + body + \
            struct.pack(">I", zlib.crc32(kind + body))
    pixels = zlib.compress(b"".join(b"\0" + b"\x10\x20\x30\xff" * width for _ in range(min(height, 4))))
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr, chunk_length) + chunk(b"IDAT", pixels) + chunk(b"IEND", b"")


def jpeg(width, height, app=b"JFIF\0\1\1\0\0\1\0\1\0\0", marker=0xC0, fill=0):
    app0 = b"\xff\xe0" + struct.pack(">H", len(app) + 2) + app
    sof = bytes([0xFF] * (1 + fill)) + bytes([marker]) + struct.pack(">HBHHB", 11, 8, height, width, 1) + b"\x01\x11\x00"
    return b"\xff\xd8" + app0 + sof + b"\xff\xda\x00\x08\x01\x01\x00\x00\x3f\x00" + b"\x00" * 16 + b"\xff\xd9"


def gif(screen, image, extension=True, table=True):
    head = b"GIF89a" + struct.pack("<HH", *screen) + bytes([0x80 if table else 0, 0, 0])
    colours = b"\0\0\0\xff\xff\xff" if table else b""
    ext = b"\x21\xf9\x04\x01\x00\x00\x00\x00" if extension else b""
    desc = b"\x2c" + struct.pack("<HHHH", 0, 0, *image) + b"\x00"
    return head + colours + ext + desc + b"\x02\x02\x44\x01\x00\x3b"


def image_header_seeds():
    seeds = {
        "ok-png-4x3.bin": b"\0" + png(4, 3),
        "ok-png-65535x256.bin": b"\0" + png(65535, 256),
        "ok-jpeg-8x8.bin": b"\1" + jpeg(8, 8),
        "ok-jpeg-progressive-fill.bin": b"\1" + jpeg(640, 480, marker=0xC2, fill=3),
        "ok-jpeg-exif.bin": b"\1" + jpeg(16, 9, app=b"Exif\0\0" + b"\x11" * 3000),
        "ok-gif-2x2.bin": b"\2" + gif((2, 2), (2, 2)),
        "ok-gif-no-table.bin": b"\2" + gif((10, 10), (3, 4), extension=False, table=False),
        "bad-png-30000-square.bin": b"\0" + png(30000, 30000),
        "bad-png-65536-wide.bin": b"\0" + png(65536, 1),
        "bad-png-zero.bin": b"\0" + png(0, 5),
        "bad-png-ihdr-length.bin": b"\0" + png(4, 3, chunk_length=12),
        "bad-png-cut.bin": b"\0" + png(4, 3)[:20],
        "bad-jpeg-30000-square.bin": b"\1" + jpeg(30000, 30000),
        "bad-jpeg-dnl-height.bin": b"\1" + jpeg(100, 0),
        "bad-jpeg-app-past-end.bin": b"\1" + jpeg(8, 8)[:6] + b"\xff\xff",
        "bad-jpeg-scan-first.bin": b"\1\xff\xd8\xff\xda\x00\x08" + b"\0" * 20,
        "bad-gif-screen-huge.bin": b"\2" + gif((65535, 65535), (2, 2)),
        "bad-gif-image-huge.bin": b"\2" + gif((2, 2), (40000, 40000)),
        "bad-gif-table-cut.bin": b"\2" + gif((2, 2), (2, 2))[:15],
        "bad-gif-extension-unended.bin": b"\2" + gif((2, 2), (2, 2))[:19] + b"\x21\xfe\x7f" + b"a" * 20,
        "bad-wrong-kind.bin": b"\0" + gif((2, 2), (2, 2)),
    }
    for name, data in seeds.items():
        write("image_header", name, data)


def ogg_seeds():
    """Broken files made from the committed sox seed (ok-mono-22050.ogg)."""
    import ogg_mutations
    with open(os.path.join(CORPUS, "ogg_decode", "ok-mono-22050.ogg"), "rb") as f:
        good = f.read()
    for name, data in ogg_mutations.variants(good).items():
        write("ogg_decode", "bad-" + name + ".ogg", data)


# ---- RIFF chunk walk: a whole WAV file ----

def riff_file(chunks, riff_size=None):
    body = b"WAVE"
    for cid, data, claimed in chunks:
        body += cid + struct.pack("<I", len(data) if claimed is None else claimed) + data
        body += b"\0" if len(data) & 1 else b""
    return b"RIFF" + struct.pack("<I", len(body) if riff_size is None else riff_size) + body


def riff_walk_seeds():
    fmt = pcm_format(2, 22050, 16)
    seeds = {
        "ok-plain.wav": riff_file([(b"fmt ", fmt, None), (b"data", bytes(40), None)]),
        "ok-data-first.wav": riff_file([(b"data", bytes(7), None), (b"LIST", b"INFO", None), (b"fmt ", fmt, None)]),
        "ok-riff-size-ffffffff.wav": riff_file([(b"fmt ", fmt, None), (b"data", bytes(4), None)], 0xFFFFFFFF),
        "bad-wrap-fff7-before-fmt.wav": riff_file([(b"JUNK", bytes(4), 0xFFFFFFF7), (b"fmt ", fmt, None),
                                                   (b"data", bytes(4), None)]),
        "bad-wrap-fff8-before-data.wav": riff_file([(b"fmt ", fmt, None), (b"JUNK", bytes(4), 0xFFFFFFF8),
                                                    (b"data", bytes(4), None)]),
        "bad-data-past-end.wav": riff_file([(b"fmt ", fmt, None), (b"data", bytes(4), 400)]),
        "bad-past-riff-size.wav": riff_file([(b"fmt ", fmt, None), (b"data", bytes(40), None)], 30),
        "bad-not-wave.wav": b"RIFF\4\0\0\0AVI ",
    }
    for name, data in seeds.items():
        write("riff_walk", name, data)


if __name__ == "__main__":
    image_seeds()
    sound_seeds()
    stream_seeds()
    data_file_seeds()
    sprite_text_seeds()
    riff_walk_seeds()
    ogg_seeds()
    image_header_seeds()
