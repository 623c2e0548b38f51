#!/usr/bin/env python3
"""Builds a 16-colour .ico file from the text drawing of resources/A_MAIN.icon.txt.

Usage: make-icon.py SOURCE.txt OUTPUT.ico
"""
import struct
import sys

# The standard 16-colour Windows palette, as (blue, green, red, 0) for the bitmap.
PALETTE = [
    (0x00, 0x00, 0x00), (0x80, 0x00, 0x00), (0x00, 0x80, 0x00), (0x80, 0x80, 0x00),
    (0x00, 0x00, 0x80), (0x80, 0x00, 0x80), (0x00, 0x80, 0x80), (0xC0, 0xC0, 0xC0),
    (0x80, 0x80, 0x80), (0xFF, 0x00, 0x00), (0x00, 0xFF, 0x00), (0xFF, 0xFF, 0x00),
    (0x00, 0x00, 0xFF), (0xFF, 0x00, 0xFF), (0x00, 0xFF, 0xFF), (0xFF, 0xFF, 0xFF),
]


def read_images(path):
    images, rows = [], None
    for line in open(path, encoding="ascii"):
        line = line.strip()
        if not line or line.startswith("#"):
            continue
        if line.startswith("image "):
            width, height = (int(n) for n in line.split()[1].split("x"))
            rows = []
            images.append((width, height, rows))
            continue
        if rows is None or len(line) != images[-1][0]:
            sys.exit(f"{path}: row of the wrong width or outside an image: {line!r}")
        rows.append(line)
    for width, height, rows in images:
        if len(rows) != height:
            sys.exit(f"{path}: a {width}x{height} image has {len(rows)} rows")
    return images


def row_bytes(bits_per_pixel, width):
    return (bits_per_pixel * width + 31) // 32 * 4


def encode(width, height, rows):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0, 0, 0, 0, 16, 0)
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in PALETTE)
    colour, mask = bytearray(), bytearray()
    for row in reversed(rows):  # bitmaps are stored bottom-up
        line = bytearray(row_bytes(4, width))
        mask_line = bytearray(row_bytes(1, width))
        for x, cell in enumerate(row):
            index = 0 if cell == "." else int(cell, 16)
            line[x // 2] |= index << (4 if x % 2 == 0 else 0)
            if cell == ".":
                mask_line[x // 8] |= 0x80 >> (x % 8)
        colour += line
        mask += mask_line
    return header + palette + bytes(colour) + bytes(mask)


def main():
    source, output = sys.argv[1:3]
    images = read_images(source)
    entries = [encode(*image) for image in images]
    data = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for (width, height, _), entry in zip(images, entries):
        data += struct.pack("<BBBBHHII", width % 256, height % 256, 16, 0, 1, 4, len(entry), offset)
        offset += len(entry)
    data += b"".join(entries)
    with open(output, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
