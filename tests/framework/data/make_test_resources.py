#!/usr/bin/python3
"""Writes the framework tests' resource images next to itself. Needs Pillow (python3-pil)."""
import os

from PIL import Image

HERE = os.path.dirname(os.path.abspath(__file__))


def main():
    # Icon group with the sizes the product's icon has.
    icon = Image.new("RGBA", (48, 48), (76, 157, 254, 255))
    icon.save(os.path.join(HERE, "app.ico"), sizes=[(16, 16), (32, 32), (48, 48)])
    # A 24-bit bitmap of one colour, RGB(12, 34, 56), 20 x 10 pixels.
    Image.new("RGB", (20, 10), (12, 34, 56)).save(os.path.join(HERE, "plain_20x10.bmp"))


if __name__ == "__main__":
    main()
