#!/usr/bin/env python3
"""Converts an uncompressed 24-bit BMP (as dialog_screenshot writes) to a PNG file.
Usage: bmp_to_png.py in.bmp out.png"""
import struct
import sys
import zlib

data = open(sys.argv[1], "rb").read()
offset = struct.unpack_from("<I", data, 10)[0]
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
if bits != 24:
    sys.exit("only 24-bit BMP files")
stride = (width * 3 + 3) & ~3
rows = []
for y in range(abs(height)):
    src = y if height < 0 else abs(height) - 1 - y
    row = data[offset + src * stride: offset + src * stride + width * 3]
    rows.append(b"\0" + bytes(v for i in range(0, len(row), 3) for v in (row[i + 2], row[i + 1], row[i])))


def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))


png = b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
