"""Pictures, PNG files and icons made with Pillow for the alpha and PNG tests.

  pil_alpha.py pngs DIR        PNGs of every colour type in DIR: NAME.png and NAME.rgba, the
                               8-bit RGBA (rows from the top) a reader must decode it to
  pil_alpha.py ico OUT FORMAT  a 256, 48, 32 and 16 pixel icon of a soft-edged picture, its
                               entries stored as FORMAT ("png" or "bmp")
  pil_alpha.py frames ICO DIR  every entry of ICO as Pillow decodes it: DIR/i.rgba, and a line
                               "WIDTHxHEIGHT" per entry on standard output
"""
import math
import os
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
            alpha = max(0, min(255, round((radius - distance) * 96)))
            if alpha:
                pixels[x, y] = (40 + x * 200 // size, 200 - y * 150 // size, 90, alpha)
            elif x < size // 4 and y < size // 4:
                pixels[x, y] = (250, 250, 250, 100)
    return picture


def write(directory, name, image, expected):
    image.save(os.path.join(directory, name + ".png"))
    with open(os.path.join(directory, name + ".rgba"), "wb") as out:
        out.write(expected.tobytes())


def pngs(directory):
    picture = soft_picture(12)
    write(directory, "rgba8", picture, picture)
    write(directory, "rgb8", picture.convert("RGB"), picture.convert("RGB").convert("RGBA"))

    grey = Image.new("L", (7, 5))
    grey.putdata([(i * 37) % 256 for i in range(35)])
    write(directory, "grey8", grey, grey.convert("RGBA"))
    grey_alpha = Image.merge("LA", (grey, grey.point(lambda v: 255 - v)))
    write(directory, "grey_alpha8", grey_alpha, grey_alpha.convert("RGBA"))
    mono = Image.new("1", (9, 3))
    mono.putdata([(i % 3 == 0) * 255 for i in range(27)])
    write(directory, "grey1", mono, mono.convert("RGBA"))
    # 16-bit samples of v * 257: every way of taking them to 8 bits gives v.
    deep = Image.new("I;16", (7, 5))
    deep.putdata([v * 257 for v in grey.getdata()])
    write(directory, "grey16", deep, grey.convert("RGBA"))

    # A palette with a transparency entry for each colour, some partly transparent.
    palette = Image.new("P", (6, 4))
    palette.putpalette([0, 0, 0, 255, 0, 0, 0, 255, 0, 20, 40, 250, 255, 255, 255] + [0] * (256 * 3 - 15))
    palette.putdata([i % 5 for i in range(24)])
    alphas = bytes([0, 255, 128, 30, 255])
    palette.save(os.path.join(directory, "palette.png"), transparency=alphas)
    expected = palette.convert("RGB").convert("RGBA")
    expected.putdata([rgb[:3] + (alphas[i % 5],) for i, rgb in enumerate(expected.getdata())])
    with open(os.path.join(directory, "palette.rgba"), "wb") as out:
        out.write(expected.tobytes())


def main():
    command = sys.argv[1]
    if command == "pngs":
        pngs(sys.argv[2])
    elif command == "ico":
        sizes = [(256, 256), (48, 48), (32, 32), (16, 16)]
        soft_picture(256).save(sys.argv[2], sizes=sizes, bitmap_format=sys.argv[3])
    elif command == "frames":
        icon = Image.open(sys.argv[2])
        for i in range(len(icon.ico.entry)):
            frame = icon.ico.frame(i).convert("RGBA")
            with open(os.path.join(sys.argv[3], "%d.rgba" % i), "wb") as out:
                out.write(frame.tobytes())
            print("%dx%d" % frame.size)
    else:
        sys.exit("unknown command " + command)


main()
