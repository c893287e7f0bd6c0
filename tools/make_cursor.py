#!/usr/bin/env python3
"""Turns a 32 x 32 cursor drawn as text into a monochrome .cur file.

The picture: '#' black, 'o' white, '.' transparent; lines starting with ';' are
comments. The hot spot is the top-left corner. Usage: make_cursor.py picture.txt out.cur
"""
import struct
import sys

SIZE = 32


def read_picture(path):
    rows = [line.rstrip("\n") for line in open(path, encoding="ascii") if not line.startswith(";")]
    rows = [r for r in rows if r]
    if len(rows) != SIZE or any(len(r) != SIZE for r in rows):
        sys.exit(f"{path}: expected {SIZE} rows of {SIZE} characters")
    bad = {c for r in rows for c in r} - set("#o.")
    if bad:
        sys.exit(f"{path}: unknown characters {sorted(bad)}")
    return rows


def masks(rows):
    # Per pixel (AND, XOR): black (0, 0), white (0, 1), transparent (1, 0). The
    # inverting combination (1, 1) is never produced. Rows are stored bottom-up.
    and_mask, xor_mask = bytearray(), bytearray()
    for row in reversed(rows):
        a = x = 0
        for c in row:
            a = (a << 1) | (c == ".")
            x = (x << 1) | (c == "o")
        and_mask += struct.pack(">I", a)
        xor_mask += struct.pack(">I", x)
    return and_mask, xor_mask


def cursor_file(rows, hot_x=0, hot_y=0):
    and_mask, xor_mask = masks(rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 1, 0, len(and_mask) + len(xor_mask), 0, 0, 2, 0)
    colours = struct.pack("<4B4B", 0, 0, 0, 0, 255, 255, 255, 0)
    image = header + colours + xor_mask + and_mask
    directory = struct.pack("<HHH", 0, 2, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 2, 0, hot_x, hot_y, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    data = cursor_file(read_picture(sys.argv[1]))
    with open(sys.argv[2], "wb") as out:
        out.write(data)


if __name__ == "__main__":
    main()
