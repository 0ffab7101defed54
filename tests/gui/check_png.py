#!/usr/bin/env python3
"""Checks an 8-bit RGB or RGBA PNG: its size, colours it must hold, and how many colours it has.

usage: check_png.py FILE WIDTH HEIGHT [--has RRGGBB ...] [--min-colours N]
Prints the number of distinct colours; exits 1 with the reason when a check fails.
"""
import struct
import sys
import zlib


def read_png(path):
    with open(path, "rb") as f:
        data = f.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("not a PNG file")
    pos, idat, header = 8, b"", None
    while pos < len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]:
            raise ValueError("bad checksum in chunk " + kind.decode("latin-1"))
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        elif kind == b"IEND":
            break
        pos += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace != 0:
        raise ValueError("only 8-bit RGB or RGBA, not interlaced")
    channels = 3 if colour_type == 2 else 4
    raw = zlib.decompress(idat)
    stride = width * channels
    rows, previous, pos = [], bytearray(stride), 0
    for _ in range(height):
        kind, line = raw[pos], bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        for i in range(stride):
            left = line[i - channels] if i >= channels else 0
            up = previous[i]
            up_left = previous[i - channels] if i >= channels else 0
            if kind == 1:
                line[i] = (line[i] + left) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + up) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (left + up) // 2) & 0xFF
            elif kind == 4:
                p = left + up - up_left
                pa, pb, pc = abs(p - left), abs(p - up), abs(p - up_left)
                predictor = left if pa <= pb and pa <= pc else (up if pb <= pc else up_left)
                line[i] = (line[i] + predictor) & 0xFF
        rows.append(bytes(line))
        previous = line
    return width, height, channels, rows


def main(argv):
    path, width, height = argv[1], int(argv[2]), int(argv[3])
    wanted, min_colours, i = [], 1, 4
    while i < len(argv):
        if argv[i] == "--has":
            wanted.append(int(argv[i + 1], 16))
        elif argv[i] == "--min-colours":
            min_colours = int(argv[i + 1])
        i += 2
    w, h, channels, rows = read_png(path)
    if (w, h) != (width, height):
        print(f"{path}: {w} x {h}, expected {width} x {height}")
        return 1
    colours = set()
    for row in rows:
        for x in range(0, len(row), channels):
            colours.add((row[x] << 16) | (row[x + 1] << 8) | row[x + 2])
    print(len(colours))
    for colour in wanted:
        if colour not in colours:
            print(f"{path}: no pixel of colour {colour:06X}")
            return 1
    if len(colours) < min_colours:
        print(f"{path}: {len(colours)} colours, expected at least {min_colours}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
