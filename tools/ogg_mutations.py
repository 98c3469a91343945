"""Broken Ogg Vorbis files made from a valid one: pages cut, checksums wrong,
identification headers claiming absurd channel counts and rates, a comment
header claiming gigabytes. Shared by the fuzz seeds (make_fuzz_seeds.py) and
the hostile-file corpus (make_hostile_files.py)."""
import struct


def _crc_table():
    table = []
    for i in range(256):
        r = i << 24
        for _ in range(8):
            r = ((r << 1) ^ 0x04C11DB7) if r & 0x80000000 else (r << 1)
        table.append(r & 0xFFFFFFFF)
    return table


_TABLE = _crc_table()


def crc(data):
    c = 0
    for b in data:
        c = ((c << 8) & 0xFFFFFFFF) ^ _TABLE[(c >> 24) ^ b]
    return c


def pages(ogg):
    """The file split into its pages (header + segment table + body)."""
    out, at = [], 0
    while at < len(ogg):
        n = ogg[at + 26]
        body = sum(ogg[at + 27:at + 27 + n])
        size = 27 + n + body
        out.append(bytearray(ogg[at:at + size]))
        at += size
    return out


def sealed(page):
    """The page with its checksum computed again."""
    page = bytearray(page)
    page[22:26] = b"\0\0\0\0"
    page[22:26] = struct.pack("<I", crc(page))
    return bytes(page)


def join(ps):
    return b"".join(bytes(p) for p in ps)


def with_identification(ogg, channels=None, rate=None):
    ps = pages(ogg)
    first = ps[0]
    body = 27 + first[26]
    if channels is not None:
        first[body + 11] = channels
    if rate is not None:
        first[body + 12:body + 16] = struct.pack("<I", rate)
    ps[0] = sealed(first)
    return join(ps)


def with_huge_comment(ogg):
    """The comment header's vendor string claims 0x7FFFFFF0 bytes."""
    ps = pages(ogg)
    for i, p in enumerate(ps[1:], 1):
        body = 27 + p[26]
        if p[body:body + 7] == b"\x03vorbis":
            p[body + 7:body + 11] = struct.pack("<I", 0x7FFFFFF0)
            ps[i] = sealed(p)
            break
    return join(ps)


def with_huge_codebooks(ogg):
    """The setup header claims 255 codebooks of 65535 entries each."""
    ps = pages(ogg)
    for i, p in enumerate(ps[1:], 1):
        body = 27 + p[26]
        at = bytes(p).find(b"\x05vorbis", body)
        if at >= 0:
            p[at + 7] = 0xFF
            p[at + 8:at + 11] = b"BCV"
            p[at + 11:at + 13] = struct.pack("<H", 0xFFFF)
            p[at + 13:at + 16] = b"\xff\xff\xff"
            ps[i] = sealed(p)
            break
    return join(ps)


def variants(ogg):
    """name -> bytes of every broken file made from ogg."""
    ps = pages(ogg)
    wrong_crc = [bytearray(p) for p in ps]
    wrong_crc[-1][22] ^= 0x55
    flipped = bytearray(ogg)
    flipped[len(flipped) * 2 // 3] ^= 0x20  # a bit of sound data: the page checksum catches it
    no_end = [bytearray(p) for p in ps[:-1]]
    return {
        "cut-mid-page": ogg[:len(ogg) - len(ps[-1]) // 2],
        "cut-at-page": join(ps[:-1]),
        "cut-header": ogg[:20],
        "wrong-crc": join(wrong_crc),
        "flipped-bit": bytes(flipped),
        "no-end-page": join(no_end),
        "channels-0": with_identification(ogg, channels=0),
        "channels-3": with_identification(ogg, channels=3),
        "channels-255": with_identification(ogg, channels=255),
        "rate-0": with_identification(ogg, rate=0),
        "rate-99": with_identification(ogg, rate=99),
        "rate-100001": with_identification(ogg, rate=100001),
        "rate-ffffffff": with_identification(ogg, rate=0xFFFFFFFF),
        "huge-comment": with_huge_comment(ogg),
        "huge-codebooks": with_huge_codebooks(ogg),
        "two-streams": ogg + ogg,
        "garbage-after": ogg + b"\0" * 64,
    }


def resealed_flips(ogg, rng, count):
    """Copies with a few bits of the sound flipped and every checksum made
    right again, so that the decoder itself meets the damage."""
    out = []
    for _ in range(count):
        ps = pages(ogg)
        for _ in range(rng.randint(1, 6)):
            p = ps[rng.randrange(len(ps))]
            i = rng.randrange(27 + p[26], len(p)) if len(p) > 27 + p[26] else 0
            p[i] ^= 1 << rng.randrange(8)
        out.append(join(sealed(p) for p in ps))
    return out
