#!/usr/bin/python3
"""Decodes an image with Pillow and compares it with the pixels the test expected. Netpbm does
what this Pillow cannot: WBMP (wbmptopbm), and BMP with a 56-byte header (bmptopnm, which
ignores the alpha bytes).

usage: pil_compare.py IMAGE EXPECTED.rgba WIDTH HEIGHT
EXPECTED.rgba holds WIDTH*HEIGHT pixels of red, green, blue, opacity. Prints the facts the decoder
reports (format, mode, version, palette size, transparency) on one line, then "match" or the
first differing pixel. Exits 0 only on a match."""
import io
import subprocess
import sys

from PIL import Image


def through_netpbm(program, path):
    pnm = subprocess.run([program, path], check=True, capture_output=True).stdout
    return Image.open(io.BytesIO(pnm))


def open_image(path):
    if path.endswith(".wbmp"):
        return through_netpbm("wbmptopbm", path)
    try:
        return Image.open(path)
    except OSError:
        if path.endswith(".bmp"):
            return through_netpbm("bmptopnm", path)
        raise


def main():
    path, expected_path, width, height = sys.argv[1], sys.argv[2], int(sys.argv[3]), int(sys.argv[4])
    image = open_image(path)
    image.load()
    facts = ["format=%s" % image.format, "mode=%s" % image.mode, "size=%dx%d" % image.size]
    if "version" in image.info:
        facts.append("version=%s" % image.info["version"].decode())
    if "transparency" in image.info:
        facts.append("transparency=%s" % image.info["transparency"])
    if image.mode == "P":
        facts.append("palette=%d" % (len(image.getpalette()) // 3))
    print(" ".join(facts))
    if image.size != (width, height):
        print("size differs")
        return 1
    actual = image.convert("RGBA").tobytes()
    with open(expected_path, "rb") as f:
        expected = f.read()
    for i in range(0, len(expected), 4):
        if actual[i:i + 4] != expected[i:i + 4]:
            p = i // 4
            print("pixel %d,%d is %s, expected %s" % (p % width, p // width, list(actual[i:i + 4]), list(expected[i:i + 4])))
            return 1
    print("match")
    return 0


if __name__ == "__main__":
    sys.exit(main())
