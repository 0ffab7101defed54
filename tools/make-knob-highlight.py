#!/usr/bin/env python3
"""Writes resources/artwork/knob-pointer-detail.svg: the fixed lighting drawn over every knob.

The knob itself ("knob-pointer") turns and is drawn flat and rotationally even; this overlay never
turns, so it carries everything that depends on where the light comes from (the top left): a soft
sheen and specular spot on the domed cap, a lit and a shaded side of the skirt, a bevel round the
cap's edge and a short drop shadow toward the bottom right. It is a 241 x 240 PNG, mostly
transparent, embedded as base 64 and stretched over the 100 x 100 document.

Only the standard library is used, so it runs anywhere:  python3 tools/make-knob-highlight.py
(--png FILE also writes the bare bitmap, to look at it on its own).
"""

import argparse
import base64
import math
import os
import struct
import zlib

WIDTH, HEIGHT = 241, 240  # pixels, fitted into the 100 x 100 viewBox
# The bitmap is fitted keeping its aspect ratio and centred, as an SVG renderer places it.
UNITS_PER_PIXEL = 100.0 / max(WIDTH, HEIGHT)
OFFSET_X = (100.0 - WIDTH * UNITS_PER_PIXEL) / 2.0
OFFSET_Y = (100.0 - HEIGHT * UNITS_PER_PIXEL) / 2.0
CENTRE = 50.0
SKIRT_RADIUS = 36.0  # must match the skirt of knob-pointer.svg
CAP_RADIUS = 27.0  # must match the cap of knob-pointer.svg
SHADOW_REACH = 4.0  # the drop shadow ends 40 units from the centre, inside the scale labels
SUPERSAMPLING = 3

# Light from the top left and a little from the front; image y grows downwards.
_lx, _ly, _lz = -1.0, -1.1, 1.5
_ln = math.sqrt(_lx * _lx + _ly * _ly + _lz * _lz)
LIGHT = (_lx / _ln, _ly / _ln, _lz / _ln)


def smoothstep(e0, e1, x):
    t = min(1.0, max(0.0, (x - e0) / (e1 - e0)))
    return t * t * (3.0 - 2.0 * t)


def shade(normal, strength):
    """Light minus the light a flat face gets: > 0 lightens, < 0 darkens."""
    nx, ny, nz = normal
    return (nx * LIGHT[0] + ny * LIGHT[1] + nz * LIGHT[2] - LIGHT[2]) * strength


def sample(x, y):
    """Premultiplied (white amount, black amount) in 0..1 at a point in viewBox units."""
    dx, dy = x - CENTRE, y - CENTRE
    r = math.hypot(dx, dy)
    ux, uy = (dx / r, dy / r) if r > 1e-6 else (0.0, 0.0)
    light = 0.0
    dark = 0.0

    if r <= CAP_RADIUS:
        # A shallow dome: the normal tilts toward the rim.
        t = r / CAP_RADIUS
        tilt = 0.28 * t
        n = (ux * tilt, uy * tilt, math.sqrt(1.0 - tilt * tilt))
        s = shade(n, 1.6)
        # A rounded bevel on the last unit and a half of the cap.
        bevel = smoothstep(CAP_RADIUS - 1.8, CAP_RADIUS, r)
        if bevel > 0.0:
            tilt = 0.85 * bevel
            nb = (ux * tilt, uy * tilt, math.sqrt(1.0 - tilt * tilt))
            s = s * (1.0 - bevel) + shade(nb, 1.3) * bevel
        # Specular spot up and to the left of the centre, soft and elongated along the rim.
        hx, hy = x - (CENTRE - 9.5), y - (CENTRE - 10.5)
        spot = math.exp(-(hx * hx + hy * hy) / (2.0 * 6.5 * 6.5))
        light += 0.30 * spot
        # A broad sheen across the upper left half of the cap.
        sheen = smoothstep(-0.2, 0.9, -(ux * 0.7 + uy * 0.72) * t)
        light += 0.10 * sheen
        if s > 0.0:
            light += s
        else:
            dark += -s
    elif r <= SKIRT_RADIUS:
        # The skirt slopes outward like a cone; its outer edge is rounded over.
        t = (r - CAP_RADIUS) / (SKIRT_RADIUS - CAP_RADIUS)
        tilt = 0.45 + 0.4 * smoothstep(0.75, 1.0, t)
        n = (ux * tilt, uy * tilt, math.sqrt(1.0 - tilt * tilt))
        s = shade(n, 1.15)
        # The cap throws a thin shadow onto the skirt just outside it, stronger to the bottom right.
        contact = 1.0 - smoothstep(0.0, 0.22, t)
        dark += contact * (0.30 + 0.25 * max(0.0, ux * 0.7 + uy * 0.7))
        if s > 0.0:
            light += s
        else:
            dark += -s
    else:
        # Drop shadow from a circle moved toward the bottom right, seen only outside the knob.
        sx, sy = x - (CENTRE + 1.4), y - (CENTRE + 1.8)
        d = math.hypot(sx, sy) - SKIRT_RADIUS
        reach = SHADOW_REACH - 1.2
        fade = 1.0 - smoothstep(-0.5, reach, d)
        fade *= 1.0 - smoothstep(SKIRT_RADIUS + SHADOW_REACH - 1.0, SKIRT_RADIUS + SHADOW_REACH, r)
        dark += 0.55 * fade

    return min(light, 0.9), min(dark, 0.9)


def pixel(i, j):
    """Straight-alpha RGBA of pixel (i, j), averaged over SUPERSAMPLING^2 points."""
    light = dark = 0.0
    n = SUPERSAMPLING
    for sj in range(n):
        for si in range(n):
            x = OFFSET_X + (i + (si + 0.5) / n) * UNITS_PER_PIXEL
            y = OFFSET_Y + (j + (sj + 0.5) / n) * UNITS_PER_PIXEL
            l, d = sample(x, y)
            light += l
            dark += d
    light /= n * n
    dark /= n * n
    # White over black, premultiplied: colour = light, alpha = light + dark.
    alpha = min(1.0, light + dark)
    if alpha <= 0.0:
        return (0, 0, 0, 0)
    grey = light / alpha
    # A slightly warm white for the light, to sit with the warm background.
    return (round(255 * grey), round(252 * grey), round(246 * grey), round(255 * alpha))


def png_bytes():
    rows = bytearray()
    for j in range(HEIGHT):
        rows.append(0)  # filter: none
        for i in range(WIDTH):
            rows.extend(pixel(i, j))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    header = struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 6, 0, 0, 0)  # 8-bit RGBA
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 9))
            + chunk(b"IEND", b""))


def svg_text(png):
    encoded = base64.b64encode(png).decode("ascii")
    lines = [encoded[k:k + 100] for k in range(0, len(encoded), 100)]
    return ('<?xml version="1.0" encoding="UTF-8"?>\n'
            '<!-- Written by tools/make-knob-highlight.py: change the script, not this file. -->\n'
            '<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" '
            'width="100" height="100" viewBox="0 0 100 100">\n'
            '<title>knob-pointer-detail</title>\n'
            '<rect x="0" y="0" width="100" height="100" fill="none"/>\n'
            '<image x="0" y="0" width="100" height="100" xlink:href="data:image/png;base64,'
            + "\n".join(lines) + '"/>\n'
            '</svg>\n')


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--svg", default=os.path.join(root, "resources", "artwork", "knob-pointer-detail.svg"))
    parser.add_argument("--png", help="also write the bare bitmap here")
    args = parser.parse_args()

    png = png_bytes()
    if args.png:
        with open(args.png, "wb") as f:
            f.write(png)
    temporary = args.svg + ".tmp"
    with open(temporary, "w", encoding="utf-8") as f:
        f.write(svg_text(png))
    os.replace(temporary, args.svg)


if __name__ == "__main__":
    main()
