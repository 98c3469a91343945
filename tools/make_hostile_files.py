#!/usr/bin/env python3
"""Writes the hostile-file corpus of the Windows test hostile_files_test into
a folder (the build/win tree's hostile/, beside the test), with a list of
what to load from it, one load per line:

    bmp <file>                     zoDraw::LoadObject
    wav <file>                     zoSound::LoadObject
    imagepack <pack> <entry>       zoDraw::SetPackFile + zoDraw::LoadPack
    soundpack <pack> <entry>       zoSound::SetPackFile + zoSound::LoadPack
    stream <pack> <entry> <loop>   zoSound::SetPackFile + zoSound::LoadStream
    picture <file>                 zoDraw::LoadObject of a .png, .jpg or .gif file
    ogg <file>                     zoSound::LoadObject of a .ogg file
    oggstream <file> <loop>        zoSound::LoadStreamFile of a .ogg file

A line may end in the word "refused": that load must fail with its report.

Each good file is damaged the same ways: cut at every header boundary, every
header field set to 0, 1, 0x7FFFFFFF and 0xFFFFFFFF (0x7FFF and 0xFFFF for
16-bit fields), offsets and sizes pointing past the end, and random bit
flips from a fixed seed, so the corpus is the same on every build.

    tools/make_hostile_files.py <folder>
"""
import os
import random
import struct
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
GOOD_BMPS = ["ok-1.bmp", "ok-4.bmp", "ok-rle8.bmp", "ok-16-fields565.bmp", "ok-24.bmp",
             "ok-32-fields.bmp", "ok-os2-8.bmp"]
SEED = 0x20C0FFEE
FLIPS = 12  # bit-flipped copies of each good file


def extremes(size):
    return (0, 1, 0x7FFF, 0xFFFF) if size == 2 else (0, 1, 0x7FFFFFFF, 0xFFFFFFFF)


def put(data, at, size, value):
    b = bytearray(data)
    if at + size <= len(b):
        b[at:at + size] = value.to_bytes(size, "little")
    return bytes(b)


def damage(good, fields, cuts, rng, extra=()):
    """Every damaged copy of good: fields are (offset, size) pairs."""
    out = [good[:n] for n in sorted(set(cuts)) if n < len(good)]
    for at, size in fields:
        out += [put(good, at, size, v) for v in extremes(size)]
    out += list(extra)
    for _ in range(FLIPS):
        b = bytearray(good)
        for _ in range(rng.randint(1, 4)):
            # Headers first: that is where one bit changes the most.
            i = rng.randrange(min(len(b), 96)) if rng.random() < 0.8 else rng.randrange(len(b))
            b[i] ^= 1 << rng.randrange(8)
        out.append(bytes(b))
    return out


# ---- BMP files ----

def bmp_fields(data):
    fields = [(2, 4), (10, 4), (14, 4)]
    if struct.unpack_from("<I", data, 14)[0] == 12:
        return fields + [(18, 2), (20, 2), (22, 2), (24, 2)]
    return fields + [(18, 4), (22, 4), (26, 2), (28, 2), (30, 4), (34, 4), (46, 4), (50, 4)]


def bmp_damage(good, rng):
    info = struct.unpack_from("<I", good, 14)[0]
    offset = struct.unpack_from("<I", good, 10)[0]
    cuts = [0, 1, 2, 6, 10, 14, 18, 22, 26, 30, 34, 46, 14 + info, 14 + info + 12, offset, offset + 1,
            len(good) - 1]
    past = [put(good, 10, 4, len(good)), put(good, 10, 4, len(good) + 100000)]
    return damage(good, bmp_fields(good), cuts, rng, past)


# ---- RLE bitmaps claiming huge sizes (a small file, any size it likes) ----

RLE_SIZES = [(30000, 30000), (65536, 1), (1, 65536), (65535, 65535), (4097, 4096), (100000, 200)]


def rle_claiming(width, height, compression=1):
    """About 1 KB of RLE data, two palette colours, claiming width x height."""
    data = bytes([255, 1]) * 480 + bytes([0, 1])
    offset = 14 + 40 + 8
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8 if compression == 1 else 4,
                       compression, len(data), 2835, 2835, 2, 0)
    head = b"BM" + struct.pack("<IHHI", offset + len(data), 0, 0, offset)
    return head + info + bytes([0, 0, 0, 0, 255, 255, 255, 0]) + data


def rle_sizes():
    return [rle_claiming(w, h, c) for w, h in RLE_SIZES for c in (1, 2)]


# ---- WAV files ----

def riff(chunks):
    body = b"WAVE" + b"".join(cid + struct.pack("<I", len(c)) + c + (b"\0" if len(c) & 1 else b"")
                              for cid, c in chunks)
    return b"RIFF" + struct.pack("<I", len(body)) + body


def pcm(channels, rate, bits, cb=None):
    align = channels * bits // 8
    f = struct.pack("<HHIIHH", 1, channels, rate, rate * align, align, bits)
    return f if cb is None else f + struct.pack("<H", cb)


def samples(count, bits, seed):
    r = random.Random(seed)
    return bytes(r.randrange(256) for _ in range(count * bits // 8))


def wav_goods():
    return [
        riff([(b"fmt ", pcm(1, 8000, 8)), (b"data", samples(801, 8, 1))]),
        riff([(b"fmt ", pcm(2, 22050, 16, 0)), (b"data", samples(400, 16, 2))]),
        riff([(b"fmt ", pcm(1, 11025, 16)), (b"LIST", b"INFOISFT\x05\0\0\0zo\0\0\0"),
              (b"data", samples(300, 16, 3))]),
    ]


def wav_damage(good, rng):
    fmt_size = struct.unpack_from("<I", good, 16)[0]
    data_at = 20 + fmt_size + (fmt_size & 1)
    fields = [(4, 4), (16, 4), (20, 2), (22, 2), (24, 4), (28, 4), (32, 2), (34, 2)]
    # The chunk after the format, whatever it is: its size.
    fields.append((data_at + 4, 4))
    cuts = [0, 4, 8, 12, 16, 20, 22, 24, 28, 32, 34, 36, data_at, data_at + 4, data_at + 8,
            len(good) - 1]
    past = [put(good, 16, 4, len(good)), put(good, data_at + 4, 4, len(good))]
    return damage(good, fields, cuts, rng, past)


# ---- image packs ----

def image_entry(width, height, name, seed):
    r = random.Random(seed)
    return struct.pack("<HH", width, height) + name + b"\0" + bytes(r.randrange(256) for _ in range(2 * width * height))


IMAGE_NAMES = [b"A.BMP", b"HERO.BMP", b"Z.BMP"]


def image_pack():
    return b"".join(image_entry(w, h, n, i) for i, (w, h, n) in
                    enumerate([(4, 3, IMAGE_NAMES[0]), (7, 5, IMAGE_NAMES[1]), (1, 1, IMAGE_NAMES[2])]))


def image_pack_damage(good, rng):
    fields, cuts, at = [], [], 0
    while at < len(good):
        w, h = struct.unpack_from("<HH", good, at)
        end_name = good.index(b"\0", at + 4)
        fields += [(at, 2), (at + 2, 2)]
        cuts += [at, at + 2, at + 4, end_name, end_name + 1, end_name + 2]
        at = end_name + 1 + 2 * w * h
    unended = good[:4] + b"N" * 300
    return damage(good, fields, cuts, rng, [unended])


# ---- sound packs and streams ----

def sound_entry(name, fmt, data):
    return struct.pack("<I", len(data)) + name + b"\0" + struct.pack("<I", len(fmt)) + fmt + data


SOUND_NAMES = [b"BEEP.WAV", b"SE\\HIT.WAV"]
STREAM_NAMES = [b"MUSIC.WAV", b"SHORT.WAV"]


def sound_pack(names, seconds):
    return (sound_entry(names[0], pcm(1, 8000, 8, 0), samples(int(8000 * seconds), 8, 4)) +
            sound_entry(names[1], pcm(2, 11025, 16, 0), samples(2000, 16, 5)))


def sound_pack_damage(good, rng):
    fields, cuts, at = [], [], 0
    while at < len(good):
        data_size = struct.unpack_from("<I", good, at)[0]
        end_name = good.index(b"\0", at + 4)
        fmt_at = end_name + 5
        fmt_size = struct.unpack_from("<I", good, end_name + 1)[0]
        fields += [(at, 4), (end_name + 1, 4), (fmt_at, 2), (fmt_at + 2, 2), (fmt_at + 4, 4),
                   (fmt_at + 8, 4), (fmt_at + 12, 2), (fmt_at + 14, 2), (fmt_at + 16, 2)]
        cuts += [at, at + 4, end_name, end_name + 1, fmt_at, fmt_at + 8, fmt_at + fmt_size,
                 fmt_at + fmt_size + 1]
        at = fmt_at + fmt_size + data_size
    return damage(good, fields, cuts, rng)


# ---- sound formats and chunk walks that must be refused ----
# Rates outside 100..100000 Hz crash DirectSound's mixer once played; chunk
# sizes near 4 GiB sent the old chunk search round for ever.

BAD_RATES = [0, 99, 100001, 6000000, 0x7FFFFFFF]
EDGE_RATES = [100, 100000]  # the limits themselves still load


def rate_wav(rate):
    return riff([(b"fmt ", pcm(1, rate, 8)), (b"data", samples(64, 8, 6))])


def wrapping_wavs():
    out = []
    for size in (0xFFFFFFF7, 0xFFFFFFF8):
        junk = b"JUNK" + struct.pack("<I", size) + b"\0" * 4
        fmt = b"fmt " + struct.pack("<I", 16) + pcm(1, 8000, 8)
        data = b"data" + struct.pack("<I", 8) + samples(8, 8, 7)
        for body in (junk + fmt + data, fmt + junk + data):  # before "fmt ", before "data"
            out.append(b"RIFF" + struct.pack("<I", 4 + len(body)) + b"WAVE" + body)
    return out


def rate_pack(rate, seconds=0):
    """One entry of 64 sample bytes, or of that many seconds (to be streamed)."""
    return sound_entry(b"RATE.WAV", pcm(1, rate, 8, 0), samples(max(64, int(rate * seconds)), 8, 8))


def format_lines(save):
    lines = []
    for rate in BAD_RATES + EDGE_RATES:
        verdict = " refused" if rate in BAD_RATES else ""
        lines.append("wav %s%s" % (save("fr-w%d" % rate, rate_wav(rate)), verdict))
        lines.append("soundpack %s RATE.WAV%s" % (save("fr-s%d" % rate, rate_pack(rate)), verdict))
        if rate <= 100:  # five seconds and more stream: kept small
            lines.append("stream %s RATE.WAV 0%s" % (save("fr-m%d" % rate, rate_pack(rate, 5)), verdict))
    for n, data in enumerate(wrapping_wavs()):
        lines.append("wav %s refused" % save("fr-wrap%d" % n, data))
    return lines


# ---- pictures and OGG files: the fuzz seeds, damaged ----

PICTURE_EXTENSIONS = [".png", ".jpg", ".gif"]  # the seeds' first byte: 0, 1, 2
GOOD_OGGS = ["ok-mono-22050.ogg", "ok-stereo-44100.ogg", "ok-mono-8000-noise.ogg"]


def picture_lines(save_as):
    """Every PNG and JPEG header seed of the picture check as the file a
    loader reads; the bad ones must be refused (the good ones are mostly
    headers only, so the decoder may refuse them too). GIF files are left
    out: Wine's GIF decoder keeps about 50 KB of every file it decodes, which
    the rounds of the test would count as the library's leak."""
    lines = []
    folder = os.path.join(ROOT, "fuzz", "corpus", "image_header")
    for name in sorted(os.listdir(folder)):
        with open(os.path.join(folder, name), "rb") as f:
            data = f.read()
        if data[0] % 3 == 2:
            continue
        stem = "p-" + name[:-4]
        path = save_as(stem, PICTURE_EXTENSIONS[data[0] % 3], data[1:])
        lines.append("picture %s%s" % (path, " refused" if name.startswith("bad-") else ""))
    return lines


def ogg_lines(save_as, rng):
    import ogg_mutations
    lines = []
    loops = [0, 1, -1, 0x7FFFFFFF, 4410]
    for g, good_name in enumerate(GOOD_OGGS):
        with open(os.path.join(ROOT, "fuzz", "corpus", "ogg_decode", good_name), "rb") as f:
            good = f.read()
        lines.append("ogg " + save_as("o%d-good" % g, ".ogg", good))
        lines.append("oggstream %s %d" % (save_as("o%d-good-s" % g, ".ogg", good), loops[g % len(loops)]))
        for name, data in sorted(ogg_mutations.variants(good).items()):
            verdict = "" if name == "huge-codebooks" else " refused"
            lines.append("ogg %s%s" % (save_as("o%d-%s" % (g, name), ".ogg", data), verdict))
            lines.append("oggstream %s 0%s" % (save_as("o%d-%s-s" % (g, name), ".ogg", data), verdict))
        for d, data in enumerate(ogg_mutations.resealed_flips(good, rng, 8)):
            lines.append("ogg " + save_as("o%d-flip%d" % (g, d), ".ogg", data))
            lines.append("oggstream %s %d" % (save_as("o%d-flip%d-s" % (g, d), ".ogg", data), loops[d % len(loops)]))
    return lines


def main(folder):
    rng = random.Random(SEED)
    os.makedirs(folder, exist_ok=True)
    for old in os.listdir(folder):
        os.remove(os.path.join(folder, old))
    lines = []

    def save(stem, data):
        name = "%s.bin" % stem
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        return "hostile\\" + name

    for g, good_name in enumerate(GOOD_BMPS):
        with open(os.path.join(ROOT, "fuzz", "corpus", "bmp_check", good_name), "rb") as f:
            good = f.read()
        for d, data in enumerate([good] + bmp_damage(good, rng)):
            lines.append("bmp " + save("b%d-%d" % (g, d), data))
    for d, data in enumerate(rle_sizes()):
        lines.append("bmp " + save("rle-size-%d" % d, data))
    for g, good in enumerate(wav_goods()):
        for d, data in enumerate([good] + wav_damage(good, rng)):
            lines.append("wav " + save("w%d-%d" % (g, d), data))
    good = image_pack()
    for d, data in enumerate([good] + image_pack_damage(good, rng)):
        path = save("i%d" % d, data)
        for entry in IMAGE_NAMES + [b"NONE.BMP"]:
            lines.append("imagepack %s %s" % (path, entry.decode()))
    good = sound_pack(SOUND_NAMES, 0.25)
    for d, data in enumerate([good] + sound_pack_damage(good, rng)):
        path = save("s%d" % d, data)
        for entry in SOUND_NAMES + [b"NONE.WAV"]:
            lines.append("soundpack %s %s" % (path, entry.decode()))
    good = sound_pack(STREAM_NAMES, 6)
    loops = [0, 1, -1, 0x7FFFFFFF, 47999, 48000]
    for d, data in enumerate([good] + sound_pack_damage(good, rng)):
        path = save("m%d" % d, data)
        lines.append("stream %s %s %d" % (path, STREAM_NAMES[0].decode(), loops[d % len(loops)]))
        lines.append("stream %s %s 0" % (path, STREAM_NAMES[1].decode()))
    lines += format_lines(save)

    def save_as(stem, extension, data):
        name = stem + extension
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
        return "hostile\\" + name

    lines += picture_lines(save_as)
    lines += ogg_lines(save_as, rng)
    with open(os.path.join(folder, "list.txt"), "w", newline="\n") as f:
        f.write("\n".join(lines) + "\n")
    print("%d loads over %d files in %s" % (len(lines), len(os.listdir(folder)) - 1, folder))


if __name__ == "__main__":
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    main(sys.argv[1])
