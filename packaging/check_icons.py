#!/usr/bin/env python3
"""Checks the painted icons: the SVG is well formed and draws a log end, and
each PNG has its size, a transparent corner and an opaque middle.

    check_icons.py <icon folder> <size>...
"""
import struct
import sys
import xml.etree.ElementTree as ET
import zlib

SVG_NS = "{http://www.w3.org/2000/svg}"


def png_rows(path):
    """Decodes an 8-bit RGBA or RGB PNG into (width, height, channels, rows)."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + length
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in (2, 6) or interlace:
        raise ValueError(f"{path}: unexpected PNG layout {header}")
    channels = 4 if colour == 6 else 3
    return width, height, channels, unfilter(zlib.decompress(idat), width * channels, height, channels)


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, stride, height, bpp):
    rows, prev = [], bytearray(stride)
    for y in range(height):
        kind = raw[y * (stride + 1)]
        line = bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            left = line[i - bpp] if i >= bpp else 0
            up = prev[i]
            corner = prev[i - bpp] if i >= bpp else 0
            add = (0, left, up, (left + up) // 2, paeth(left, up, corner))[kind]
            line[i] = (line[i] + add) & 0xFF
        rows.append(line)
        prev = line
    return rows


def pixel(rows, channels, x, y):
    return tuple(rows[y][x * channels:(x + 1) * channels])


def check_png(path, size):
    try:
        width, height, channels, rows = png_rows(path)
    except (OSError, ValueError, zlib.error) as e:
        return [f"{path}: {e}"]
    problems = []
    if (width, height) != (size, size):
        problems.append(f"{path}: {width}x{height}, wanted {size}x{size}")
        return problems
    if channels != 4 or pixel(rows, channels, 0, 0)[3] != 0:
        problems.append(f"{path}: the corner is not transparent")
    middle = pixel(rows, channels, size // 2, size // 2)
    if channels == 4 and middle[3] != 255:
        problems.append(f"{path}: the middle is not opaque {middle}")
    # Wood is warm: more red than blue in the middle of the log end.
    if middle[0] <= middle[2]:
        problems.append(f"{path}: the middle is not wood coloured {middle}")
    return problems


def check_svg(path):
    try:
        root = ET.parse(path).getroot()
    except (OSError, ET.ParseError) as e:
        return [f"{path}: {e}"]
    circles = root.findall(SVG_NS + "circle")
    if root.tag != SVG_NS + "svg" or root.get("viewBox") != "0 0 256 256":
        return [f"{path}: not a 256 by 256 SVG"]
    if len(circles) < 3:
        return [f"{path}: {len(circles)} circles, a log end needs bark, wood and rings"]
    return []


def main(argv):
    folder, sizes = argv[1], [int(s) for s in argv[2:]]
    problems = check_svg(f"{folder}/brimlo.svg")
    for size in sizes:
        problems += check_png(f"{folder}/brimlo-{size}.png", size)
    for p in problems:
        print(p, file=sys.stderr)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
