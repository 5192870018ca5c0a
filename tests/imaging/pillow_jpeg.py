"""Encodes an image as baseline JPEG with Pillow (on the same libjpeg-turbo), the
reference the banded encoder must match pixel for pixel.

usage: pillow_jpeg.py IN OUT QUALITY
"""
import sys

from PIL import Image

with Image.open(sys.argv[1]) as image:
    image.convert("RGB").save(sys.argv[2], quality=int(sys.argv[3]))
