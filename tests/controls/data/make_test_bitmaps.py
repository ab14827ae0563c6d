#!/usr/bin/python3
"""Writes the control tests' button faces (24-bit BMP) next to itself. Run it from any folder.

Plain Python, no imaging library. The colours and the pattern formula are repeated in
MyCoolButtonTest.cpp, which checks drawn pixels against them.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 40, 20


def write_bmp(name, width, height, pixel):
    """pixel(x, y) -> (r, g, b); rows are stored bottom-up, each padded to 4 bytes."""
    row_size = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        rows.append(bytes(row))
    image = b"".join(rows)
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(image), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(image), 2835, 2835, 0, 0)
    with open(os.path.join(HERE, name), "wb") as out:
        out.write(header + info + image)


def pattern(x, y):
    # Every pixel tells where it lies in the bitmap.
    return (10 + x * 5, 20 + y * 10, 200)


def emboss(x, y):
    # White with a black 20 x 10 block at (10, 5).
    return (0, 0, 0) if 10 <= x < 30 and 5 <= y < 15 else (255, 255, 255)


def main():
    write_bmp("face_normal.bmp", W, H, lambda x, y: (200, 40, 40))
    write_bmp("face_hover.bmp", W, H, lambda x, y: (40, 200, 40))
    write_bmp("face_pressed.bmp", W, H, lambda x, y: (40, 40, 200))
    write_bmp("face_disabled.bmp", W, H, lambda x, y: (120, 120, 120))
    write_bmp("face_pattern.bmp", W, H, pattern)
    write_bmp("face_emboss.bmp", W, H, emboss)


if __name__ == "__main__":
    main()
