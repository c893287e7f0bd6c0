#!/usr/bin/env python3
"""Writes samples/gradient.png, the picture the demo runs the filters on: hues from
left to right, white at the top through full colour to black at the bottom, and an
alpha that falls off towards the corners. Standard library only."""
import colorsys
import math
import struct
import sys
import zlib

WIDTH, HEIGHT = 192, 128


def pixel(x, y):
    hue = x / WIDTH
    v = y / (HEIGHT - 1)
    if v < 0.5:  # white to full colour
        saturation, value = v * 2, 1.0
    else:  # full colour to black
        saturation, value = 1.0, 1.0 - (v - 0.5) * 2
    r, g, b = colorsys.hsv_to_rgb(hue, saturation, value)
    # Opaque in an ellipse around the centre, fading out towards the corners.
    dx = (x + 0.5 - WIDTH / 2) / (WIDTH / 2)
    dy = (y + 0.5 - HEIGHT / 2) / (HEIGHT / 2)
    distance = math.hypot(dx, dy)
    alpha = 1.0 if distance < 0.8 else max(0.0, 1.0 - (distance - 0.8) / 0.6)
    return bytes(round(c * 255) for c in (r, g, b, alpha))


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))


def main(path):
    rows = b"".join(b"\0" + b"".join(pixel(x, y) for x in range(WIDTH)) for y in range(HEIGHT))
    png = (b"\x89PNG\r\n\x1a\n"
           + chunk(b"IHDR", struct.pack(">IIBBBBB", WIDTH, HEIGHT, 8, 6, 0, 0, 0))
           + chunk(b"IDAT", zlib.compress(rows, 9))
           + chunk(b"IEND", b""))
    with open(path, "wb") as f:
        f.write(png)


if __name__ == "__main__":
    main(sys.argv[1] if len(sys.argv) > 1 else "samples/gradient.png")
