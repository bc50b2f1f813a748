#!/usr/bin/env python3
"""Draws the application icon: a 32 x 32, 24-bit image with a transparency
mask, in .ico format. A blue disc with a white upward arrow: "update".
Deterministic, so that builds are reproducible.

    make_icon.py OUTPUT.ico
"""
import struct
import sys

SIZE = 32


def pixel(x, y):
    """(blue, green, red) of the pixel, or None where the icon is see-through."""
    cx = cy = (SIZE - 1) / 2
    d2 = (x - cx) ** 2 + (y - cy) ** 2
    if d2 > 15.5**2:
        return None
    if d2 > 14**2:
        return (0x60, 0x30, 0x10)  # dark rim
    # Arrow: a triangle head and a shaft, pointing up.
    head = 6 <= y <= 15 and abs(x - cx) <= (y - 5)
    shaft = 15 <= y <= 25 and abs(x - cx) <= 3
    if head or shaft:
        return (0xFF, 0xFF, 0xFF)
    shade = int(0xC0 - y * 2)
    return (shade, int(shade * 0.55), 0x18)


def main():
    rows = []
    mask_rows = []
    for y in reversed(range(SIZE)):  # bottom-up, as in a BMP
        row = bytearray()
        mask_bits = 0
        for x in range(SIZE):
            colour = pixel(x, y)
            if colour is None:
                row += b"\0\0\0"
                mask_bits |= 1 << (SIZE - 1 - x)
            else:
                row += bytes(colour)
        rows.append(bytes(row))  # 96 bytes: already a multiple of 4
        mask_rows.append(struct.pack(">I", mask_bits))
    image = b"".join(rows) + b"".join(mask_rows)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 24, 0, len(image), 0, 0, 0, 0)
    data = header + image
    icon = struct.pack("<HHH", 0, 1, 1) + struct.pack("<BBBBHHII", SIZE, SIZE, 0, 0, 1, 24, len(data), 6 + 16) + data
    with open(sys.argv[1], "wb") as out:
        out.write(icon)


if __name__ == "__main__":
    main()
