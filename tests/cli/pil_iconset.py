"""Every entry of an icon or cursor file as Pillow reads it.

  pil_iconset.py FILE DIR   a line "WIDTHxHEIGHT FORMAT BPP MODE" per entry on standard output,
                            in Pillow's order (FORMAT is PNG or DIB, as the entry's data
                            starts; BPP the directory's bit count), and the i-th as 8-bit RGBA,
                            rows from the top, in DIR/i.rgba
"""
import os
import sys

from PIL import Image


def main():
    icon = Image.open(sys.argv[1])
    for i, entry in enumerate(icon.ico.entry):
        field = (lambda name: entry[name]) if isinstance(entry, dict) else (lambda name: getattr(entry, name))
        with open(sys.argv[1], "rb") as raw:
            raw.seek(field("offset"))
            kind = "PNG" if raw.read(8) == b"\x89PNG\r\n\x1a\n" else "DIB"
        frame = icon.ico.frame(i)
        print("%dx%d %s %d %s" % (frame.size[0], frame.size[1], kind, field("bpp"), frame.mode))
        with open(os.path.join(sys.argv[2], "%d.rgba" % i), "wb") as out:
            out.write(frame.convert("RGBA").tobytes())


main()
