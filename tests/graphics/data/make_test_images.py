#!/usr/bin/python3
"""Writes the graphics tests' images. Run it from any folder; it writes next to itself.

The pixel formulas are repeated in ImageExTest.cpp, which checks every drawn pixel against them.
Needs Pillow (Debian: python3-pil).
"""
import os

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))
W, H = 700, 500


def opaque_pixel(x, y):
    return ((x * 7 + y * 3) & 0xFF, (x ^ y) & 0xFF, ((x // 10) * 37 + (y // 10) * 91) & 0xFF)


def alpha_of(x, y):
    # Bands across the width: fully transparent, half, fully opaque, and a ramp.
    if x < 100:
        return 0
    if x < 200:
        return 128
    if x < 300:
        return 255
    return (x + y) & 0xFF


def main():
    opaque = Image.new("RGB", (W, H))
    opaque.putdata([opaque_pixel(x, y) for y in range(H) for x in range(W)])
    opaque.save(os.path.join(HERE, "opaque_700x500.png"), optimize=True)

    rgba = Image.new("RGBA", (W, H))
    rgba.putdata([opaque_pixel(x, y) + (alpha_of(x, y),) for y in range(H) for x in range(W)])
    rgba.save(os.path.join(HERE, "alpha_700x500.png"), optimize=True)

    with open(os.path.join(HERE, "not_an_image.png"), "wb") as out:
        out.write(b"These bytes are stored as a png resource but are no image at all.\n")

    # A bitmap resource only (no png of the same id).
    Image.new("RGB", (16, 16), (12, 34, 56)).save(os.path.join(HERE, "plain_16x16.bmp"))


if __name__ == "__main__":
    main()
