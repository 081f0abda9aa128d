#!/usr/bin/env python3
"""Checks the skin images in res/skin and the icon in res/icon against the
sizes and frame layouts the windows draw them with.

Standard library only: the PNG header and pixels are read with struct/zlib,
so the check runs on a machine without ImageMagick.

    python3 tools/check_skin.py            # checks res/ next to tools/
    python3 tools/check_skin.py RES_DIR
"""

import os
import struct
import sys
import zlib

# id: (width, height, frame count, "v" vertical / "h" horizontal, role)
SKIN = {
    109: (1100, 600, 1, "v", "launcher background"),
    104: (29, 87, 3, "v", "launcher close"),
    112: (26, 78, 3, "v", "launcher minimize"),
    124: (162, 70, 2, "v", "launcher tab: official site"),
    121: (162, 70, 2, "v", "launcher tab: forum"),
    123: (162, 70, 2, "v", "launcher tab: customer service"),
    122: (162, 70, 2, "v", "launcher tab: pay"),
    141: (340, 188, 1, "v", "settings frame"),
    139: (10, 30, 3, "v", "settings close"),
    138: (24, 12, 2, "h", "settings option mark"),
    129: (60, 42, 2, "v", "OK button"),
    137: (70, 48, 2, "v", "settings Cancel button"),
    130: (355, 169, 1, "v", "boss-key dialog background"),
    127: (11, 33, 3, "v", "boss-key close"),
    107: (800, 500, 1, "v", "game window background"),
    108: (48, 29, 1, "v", "game window logo"),
    113: (65, 44, 2, "v", "game: exit game"),
    160: (75, 44, 2, "v", "game: pay"),
    101: (75, 44, 2, "v", "game: clear cache"),
    102: (75, 44, 2, "v", "game: clear cache, clearing"),
    115: (128, 16, 8, "h", "game: clearing spinner"),
    106: (65, 44, 2, "v", "game: boss key"),
    111: (75, 25, 3, "h", "game: minimize"),
    110: (75, 25, 3, "h", "game: maximize"),
    114: (75, 25, 3, "h", "game: restore"),
    103: (75, 25, 3, "h", "game: close"),
    151: (75, 22, 1, "v", "game: customer service, hover"),
    152: (75, 22, 1, "v", "game: customer service, normal"),
    128: (136, 198, 9, "v", "game: account-binding banner"),
    154: (818, 47, 1, "v", "chat popup title band"),
    156: (39, 47, 1, "v", "chat popup logo"),
    155: (40, 60, 3, "v", "chat popup close"),
}

ICON_ID = 5
ICON_SIZES = (16, 32, 48, 256)

# Images drawn again and again onto the window without erasing (the banner
# and spinner threads) must cover their rectangle completely, or the frames
# pile up on each other.
MUST_BE_OPAQUE = (115, 128)

PNG_SIGNATURE = b"\x89PNG\r\n\x1a\n"


def frame_rect(image_id, n):
    """Source rectangle (x, y, w, h) of frame n of a skin image."""
    w, h, count, layout, _ = SKIN[image_id]
    if layout == "h":
        fw = w // count
        return (n * fw, 0, fw, h)
    fh = h // count
    return (0, n * fh, w, fh)


def read_chunks(data):
    if data[:8] != PNG_SIGNATURE:
        raise ValueError("not a PNG file")
    pos = 8
    while pos < len(data):
        (length,) = struct.unpack(">I", data[pos : pos + 4])
        kind = data[pos + 4 : pos + 8]
        body = data[pos + 8 : pos + 8 + length]
        (crc,) = struct.unpack(">I", data[pos + 8 + length : pos + 12 + length])
        if zlib.crc32(kind + body) != crc:
            raise ValueError("bad CRC in chunk %r" % kind)
        yield kind, body
        pos += 12 + length


def read_header(data):
    """(width, height, bit depth, colour type, interlace) from IHDR."""
    kind, body = next(read_chunks(data))
    if kind != b"IHDR":
        raise ValueError("first chunk is not IHDR")
    w, h, depth, ctype, _, _, interlace = struct.unpack(">IIBBBBB", body)
    return w, h, depth, ctype, interlace


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def decode_rgba(data):
    """Decodes an 8-bit RGB or RGBA non-interlaced PNG into rows of RGBA tuples
    (as one flat bytearray per row, 4 bytes a pixel)."""
    w, h, depth, ctype, interlace = read_header(data)
    if depth != 8 or ctype not in (2, 6) or interlace:
        raise ValueError("only 8-bit non-interlaced RGB/RGBA is decoded here")
    channels = 4 if ctype == 6 else 3
    raw = zlib.decompress(b"".join(b for k, b in read_chunks(data) if k == b"IDAT"))
    stride = w * channels
    rows = []
    prev = bytearray(stride)
    pos = 0
    for _ in range(h):
        ftype = raw[pos]
        line = bytearray(raw[pos + 1 : pos + 1 + stride])
        pos += 1 + stride
        if ftype == 1:
            for i in range(channels, stride):
                line[i] = (line[i] + line[i - channels]) & 0xFF
        elif ftype == 2:
            for i in range(stride):
                line[i] = (line[i] + prev[i]) & 0xFF
        elif ftype == 3:
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                line[i] = (line[i] + ((left + prev[i]) >> 1)) & 0xFF
        elif ftype == 4:
            for i in range(stride):
                left = line[i - channels] if i >= channels else 0
                upleft = prev[i - channels] if i >= channels else 0
                line[i] = (line[i] + _paeth(left, prev[i], upleft)) & 0xFF
        elif ftype != 0:
            raise ValueError("bad filter type %d" % ftype)
        prev = line
        if channels == 3:
            rgba = bytearray(w * 4)
            rgba[0::4], rgba[1::4], rgba[2::4] = line[0::3], line[1::3], line[2::3]
            rgba[3::4] = b"\xff" * w
            rows.append(rgba)
        else:
            rows.append(line)
    return w, h, rows


def alpha_in(rows, x, y, w, h):
    return [rows[j][4 * i + 3] for j in range(y, y + h) for i in range(x, x + w)]


def check_ico(path, problems):
    with open(path, "rb") as f:
        data = f.read()
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    if reserved != 0 or kind != 1:
        problems.append("%s: not an icon file" % path)
        return
    sizes = []
    for i in range(count):
        w, h, _, _, _, bpp, size, offset = struct.unpack("<BBBBHHII", data[6 + 16 * i : 22 + 16 * i])
        w, h = w or 256, h or 256
        if w != h:
            problems.append("%s: entry %d is %dx%d" % (path, i, w, h))
        if offset + size > len(data):
            problems.append("%s: entry %d runs past the end" % (path, i))
        body = data[offset : offset + size]
        if body[:8] == PNG_SIGNATURE:
            pw, ph, depth, _, _ = read_header(body)
            if (pw, ph) != (w, h) or depth != 8:
                problems.append("%s: PNG entry %d is %dx%d depth %d" % (path, i, pw, ph, depth))
        else:
            (hdr, bw, bh, _, bits) = struct.unpack("<IiiHH", body[:16])
            if hdr != 40 or bw != w or bh != 2 * h or bits != 32:
                problems.append("%s: BMP entry %d has an unexpected header" % (path, i))
        sizes.append(w)
    if sorted(sizes) != sorted(ICON_SIZES):
        problems.append("%s: sizes %s, want %s" % (path, sorted(sizes), list(ICON_SIZES)))


def check(res_dir, deep=True):
    problems = []
    total = 0
    for image_id, (w, h, count, layout, role) in sorted(SKIN.items()):
        path = os.path.join(res_dir, "skin", "%d.png" % image_id)
        if not os.path.exists(path):
            problems.append("%d (%s): missing %s" % (image_id, role, path))
            continue
        with open(path, "rb") as f:
            data = f.read()
        total += len(data)
        try:
            pw, ph, depth, ctype, _ = read_header(data)
        except ValueError as e:
            problems.append("%d: %s" % (image_id, e))
            continue
        if (pw, ph) != (w, h):
            problems.append("%d (%s): %dx%d, want %dx%d" % (image_id, role, pw, ph, w, h))
        if depth != 8:
            problems.append("%d (%s): bit depth %d, want 8" % (image_id, role, depth))
        if ctype not in (2, 6):
            problems.append("%d (%s): colour type %d, want RGB or RGBA" % (image_id, role, ctype))
        if (w % count if layout == "h" else h % count) != 0:
            problems.append("%d: size does not split into %d frames" % (image_id, count))
        if not deep or depth != 8 or ctype not in (2, 6):
            continue
        _, _, rows = decode_rgba(data)
        if image_id in MUST_BE_OPAQUE and min(alpha_in(rows, 0, 0, w, h)) != 255:
            problems.append("%d (%s): has transparent pixels" % (image_id, role))
        if image_id == 138:
            x, y, fw, fh = frame_rect(138, 0)
            if max(alpha_in(rows, x, y, fw, fh)) != 0:
                problems.append("138: frame 0 must be fully transparent")
            x, y, fw, fh = frame_rect(138, 1)
            if max(alpha_in(rows, x, y, fw, fh)) == 0:
                problems.append("138: frame 1 is empty")
        if image_id == 109:
            corners = [rows[y][4 * x + 3] for x in (0, w - 1) for y in (0, h - 1)]
            if max(corners) != 0:
                problems.append("109: corners must be fully transparent, alpha %s" % corners)
            alphas = alpha_in(rows, 0, 0, w, h)
            partial = sum(1 for a in alphas if 0 < a < 255)
            if partial < 2000:
                problems.append("109: only %d soft-edge pixels" % partial)
            # The login dialog covers this area: it must be solid behind it.
            if min(alpha_in(rows, 376, 204, 625, 297)) != 255:
                problems.append("109: login area is not opaque")
    ico = os.path.join(res_dir, "icon", "veskplay.ico")
    if os.path.exists(ico):
        check_ico(ico, problems)
    else:
        problems.append("missing %s" % ico)
    return problems, total


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    res_dir = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "res")
    problems, total = check(res_dir)
    for p in problems:
        print("FAIL:", p)
    print("%d skin images, %d bytes in all" % (len(SKIN), total))
    if total > 1500000:
        print("FAIL: skin images exceed 1.5 MB")
        return 1
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
