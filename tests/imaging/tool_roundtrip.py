"""End-to-end check of the scrimble-dib tool, with Pillow as the independent reader.

usage: tool_roundtrip.py SCRIMBLE_DIB INPUT.png
Exits non-zero with a message on the first mismatch.
"""
import os
import resource
import subprocess
import sys
import tempfile

from PIL import Image

TOOL, SOURCE = sys.argv[1], sys.argv[2]


def run(*args, limit=None):
    def limited():
        resource.setrlimit(resource.RLIMIT_FSIZE, (limit, limit))
    return subprocess.run([TOOL, SOURCE, *args], capture_output=True, text=True,
                          preexec_fn=limited if limit else None).returncode


def check(condition, message):
    if not condition:
        sys.exit("tool_roundtrip: " + message)


def main():
    original = Image.open(SOURCE).convert("RGB")
    with tempfile.TemporaryDirectory() as temp:
        out = lambda name: os.path.join(temp, name)
        for name in ("same.png", "same.bmp"):
            check(run(out(name)) == 0, f"{name} failed")
            check(list(Image.open(out(name)).convert("RGB").getdata()) == list(original.getdata()), f"{name} differs")
        check(run(out("eight.png"), "--depth", "8") == 0, "8-bit failed")
        check(len(Image.open(out("eight.png")).convert("RGB").getcolors(1 << 24)) <= 256, "8-bit has over 256 colours")
        check(run(out("rle.bmp"), "--depth", "8", "--rle") == 0, "RLE failed")
        check(Image.open(out("rle.bmp")).info.get("compression") == 1, "RLE file is not BI_RLE8")
        check(run(out("half.png"), "--scale", "960x540") == 0, "scale failed")
        check(Image.open(out("half.png")).size == (960, 540), "scaled size")
        check(run(out("grey.bmp"), "--gray", "255") == 0, "grey failed")
        check(all(r == g == b for r, g, b in Image.open(out("grey.bmp")).convert("RGB").getdata()), "grey is not grey")
        check(run(out("q20.jpg"), "--jpeg-quality", "20") == 0 and run(out("q90.jpg"), "--jpeg-quality", "90") == 0, "jpeg")
        check(os.path.getsize(out("q20.jpg")) < os.path.getsize(out("q90.jpg")), "quality does not change the size")
        check(run(out("adam7.png"), "--png-record", "0x81,6,0,0") == 0, "png record failed")
        check(Image.open(out("adam7.png")).info.get("interlace") == 1, "record's interlace flag ignored")
        check(run(out("x.png"), "--depth", "12") == 2, "bad depth accepted")
        before = sorted(os.listdir(temp))
        check(run(out("x.gif")) == 2, "unknown extension accepted")
        check(run(out("limited.bmp"), limit=4096) == 1, "a file-size limit did not fail the write cleanly")
        check(sorted(os.listdir(temp)) == before, "a refused or failed write left a file")


main()
