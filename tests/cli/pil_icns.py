"""macOS icons read and written with Pillow, the oracle of the .icns tests.

  pil_icns.py read FILE DIR    every size Pillow reads from FILE as DIR/P.rgba (8-bit RGBA,
                               rows from the top), P its side in pixels, and a line "P" per
                               size on standard output; of a 1x and a 2x entry of the same
                               pixels, the 1x one
  pil_icns.py picture OUT SIZE a soft-edged RGBA picture of SIZE x SIZE as a PNG
  pil_icns.py jp2 OUT          an .icns file whose 256 and 512 pixel entries (ic08, ic09) are
                               lossless JPEG 2000 with alpha and whose 32 pixel one (icp5) PNG
"""
import io
import math
import os
import struct
import sys

from PIL import Image


def soft_picture(size):
    """A disc with a soft rim and a half transparent square on transparent black."""
    picture = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    pixels = picture.load()
    centre = (size - 1) / 2
    radius = size * 0.4
    for y in range(size):
        for x in range(size):
            distance = math.hypot(x - centre, y - centre)
            alpha = max(0, min(255, round((radius - distance) * 96 / max(1, size / 64))))
            if alpha:
                pixels[x, y] = (40 + x * 200 // size, 200 - y * 150 // size, 90, alpha)
            elif x < size // 4 and y < size // 4:
                pixels[x, y] = (250, 250, 250, 100)
    return picture


def read(path, directory):
    icon = Image.open(path)
    chosen = {}
    for size in icon.info["sizes"]:
        side = size[0] * size[2]
        if side not in chosen or size[2] == 1:
            chosen[side] = size
    for side, size in sorted(chosen.items()):
        # Opened afresh for each size: a loaded file keeps the picture it loaded first.
        icon = Image.open(path)
        icon.size = size
        icon.load()
        with open(os.path.join(directory, "%d.rgba" % side), "wb") as out:
            out.write(icon.convert("RGBA").tobytes())
        print(side)


def entry(kind, data):
    return kind + struct.pack(">I", len(data) + 8) + data


def jp2(path):
    entries = b""
    for kind, side in ((b"ic08", 256), (b"ic09", 512)):
        out = io.BytesIO()
        soft_picture(side).save(out, "JPEG2000", irreversible=False, no_jp2=False)
        entries += entry(kind, out.getvalue())
    out = io.BytesIO()
    soft_picture(32).save(out, "PNG")
    entries += entry(b"icp5", out.getvalue())
    with open(path, "wb") as icns:
        icns.write(b"icns" + struct.pack(">I", len(entries) + 8) + entries)


def main():
    command = sys.argv[1]
    if command == "read":
        read(sys.argv[2], sys.argv[3])
    elif command == "picture":
        soft_picture(int(sys.argv[3])).save(sys.argv[2])
    elif command == "jp2":
        jp2(sys.argv[2])
    else:
        sys.exit("unknown command " + command)


main()
