"""Decodes an image with Pillow, the independent reader of the imaging tests.

usage: pillow_decode.py IN RAW
Writes the pixels converted to RGB (3 bytes each, top row first) to RAW and prints
key=value lines: format, mode, width, height, palette_size and every simple entry of
the image's info dictionary as info.KEY.
"""
import sys

from PIL import Image


def main():
    source, raw = sys.argv[1], sys.argv[2]
    with Image.open(source) as image:
        image.load()
        print(f"format={image.format}")
        print(f"mode={image.mode}")
        print(f"width={image.width}")
        print(f"height={image.height}")
        if image.mode == "P":
            print(f"palette_size={len(image.getpalette()) // 3}")
        for key, value in image.info.items():
            if isinstance(value, (int, float, str)):
                print(f"info.{key}={value}")
            elif isinstance(value, tuple):
                print(f"info.{key}={','.join(str(v) for v in value)}")
        with open(raw, "wb") as out:
            out.write(image.convert("RGB").tobytes())


main()
